#include "common/process/ProcessSpawn.h"


#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <filesystem>
#include <mutex>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zov {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release()
{
    const int fd = Fd;
    Fd = -1;
    return fd;
}

void UniqueFd::Reset(int fd)
{
    if (Fd >= 0)
        ::close(Fd);
    Fd = fd;
}

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    // Round up, so that a wait never ends a fraction of a millisecond before its deadline.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(ms);
}

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The argument after the program name, from `pos`; leaves `pos` after it.
std::string ReadArgument(std::string_view line, std::size_t& pos)
{
    std::string arg;
    bool quoted = false;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == '\\') {
            std::size_t backslashes = 0;
            while (pos < line.size() && line[pos] == '\\') {
                ++backslashes;
                ++pos;
            }
            if (pos < line.size() && line[pos] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    arg += '"';
                    ++pos;
                }
                // An even run leaves the quote to the next round, where it opens or closes.
            } else {
                arg.append(backslashes, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && pos + 1 < line.size() && line[pos + 1] == '"') {
                arg += '"';
                pos += 2;
                continue;
            }
            quoted = !quoted;
            ++pos;
            continue;
        }
        if (!quoted && IsBlank(c))
            break;
        arg += c;
        ++pos;
    }
    return arg;
}

bool IsExecutableFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool EndsWithExe(std::string_view name)
{
    if (name.size() <= 4)
        return false;
    const std::string_view tail = name.substr(name.size() - 4);
    return tail[0] == '.' && (tail[1] | 0x20) == 'e' && (tail[2] | 0x20) == 'x' && (tail[3] | 0x20) == 'e';
}

std::optional<std::string> FindExactly(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? std::optional<std::string>(name) : std::nullopt;
    // The current folder comes first, as it does for programs started on Windows.
    if (IsExecutableFile("./" + name))
        return "./" + name;
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::string candidate = folder.empty() ? "./" + name : std::string(folder) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        if (colon == std::string_view::npos)
            break;
        folders.remove_prefix(colon + 1);
    }
    // Last, the engine's own folder, where the CLI tools are installed beside it (Windows
    // searched there even first).
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::string candidate = (self.parent_path() / name).string();
        if (IsExecutableFile(candidate))
            return candidate;
    }
    return std::nullopt;
}

// Moves a child's end of a pipe above the three standard numbers, so that the dup2 calls that
// install the child's streams can never overwrite one another (the engine may run with a
// standard stream closed).
bool KeepAboveStandardStreams(UniqueFd& fd)
{
    if (fd.Get() > 2)
        return true;
    const int moved = ::fcntl(fd.Get(), F_DUPFD_CLOEXEC, 3);
    if (moved < 0)
        return false;
    fd.Reset(moved);
    return true;
}

struct Pipe {
    UniqueFd Read;
    UniqueFd Write;
};

bool MakePipe(Pipe& pipe)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    pipe.Read.Reset(fds[0]);
    pipe.Write.Reset(fds[1]);
    return KeepAboveStandardStreams(pipe.Read) && KeepAboveStandardStreams(pipe.Write);
}

void SetNonBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// posix_spawn's attributes and file actions, released on every path.
struct SpawnSetup {
    posix_spawnattr_t Attributes;
    posix_spawn_file_actions_t Actions;
    SpawnSetup()
    {
        posix_spawnattr_init(&Attributes);
        posix_spawn_file_actions_init(&Actions);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&Actions);
        posix_spawnattr_destroy(&Attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line)
{
    std::vector<std::string> args;
    std::size_t pos = 0;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos == line.size())
        return args;
    std::string program;
    if (line[pos] == '"') {
        const std::size_t close = line.find('"', pos + 1);
        const std::size_t end = close == std::string_view::npos ? line.size() : close;
        program.assign(line.substr(pos + 1, end - pos - 1));
        pos = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (pos < line.size() && !IsBlank(line[pos]))
            program += line[pos++];
    }
    args.push_back(std::move(program));
    while (true) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size())
            break;
        args.push_back(ReadArgument(line, pos));
    }
    return args;
}

std::optional<std::string> FindProgram(std::string_view name)
{
    if (name.empty())
        return std::nullopt;
    std::vector<std::string> candidates{std::string(name)};
    if (name.find('\\') != std::string_view::npos) {
        std::string slashed(name);
        std::replace(slashed.begin(), slashed.end(), '\\', '/');
        candidates.push_back(std::move(slashed));
    }
    for (std::size_t i = 0, n = candidates.size(); i < n; ++i)
        if (EndsWithExe(candidates[i]))
            candidates.push_back(candidates[i].substr(0, candidates[i].size() - 4));
    for (const std::string& candidate : candidates)
        if (auto found = FindExactly(candidate))
            return found;
    return std::nullopt;
}

std::optional<SpawnedChild> SpawnChild(std::string_view commandLine, ChildStreams streams,
                                       const std::string& workingFolder)
{
    return SpawnProgram(SplitCommandLine(commandLine), streams, workingFolder);
}

std::optional<SpawnedChild> SpawnProgram(std::vector<std::string> args, ChildStreams streams,
                                         const std::string& workingFolder)
{
    IgnoreBrokenPipes();
    if (args.empty())
        return std::nullopt;
    std::optional<std::string> program = FindProgram(args[0]);
    if (!program)
        return std::nullopt;
    if (!workingFolder.empty() && !program->empty() && (*program)[0] != '/') {
        // Found from the parent's folder: the child starts in another one.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(*program, error);
        if (error)
            return std::nullopt;
        *program = absolute.string();
    }

    Pipe in, out, err;
    const bool stdinPipe = streams == ChildStreams::CliPipes || streams == ChildStreams::MergedOutput;
    if (stdinPipe && !MakePipe(in))
        return std::nullopt;
    if (streams == ChildStreams::CliPipes && !MakePipe(err))
        return std::nullopt;
    if (streams != ChildStreams::Detached && !MakePipe(out))
        return std::nullopt;

    SpawnSetup setup;
    // The engine ignores SIGPIPE and may block signals for its signal thread; neither must reach
    // the child, since ignored signals and the mask survive exec.
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&setup.Attributes, &all);
    posix_spawnattr_setsigmask(&setup.Attributes, &none);
    // Each child leads a process group of its own, so that a forced end reaches the programs it
    // started too (KillProcessGroup).
    posix_spawnattr_setpgroup(&setup.Attributes, 0);
    posix_spawnattr_setflags(&setup.Attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);

    posix_spawn_file_actions_t* actions = &setup.Actions;
    if (stdinPipe)
        posix_spawn_file_actions_adddup2(actions, in.Read.Get(), STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (streams == ChildStreams::Detached)
        posix_spawn_file_actions_addopen(actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(actions, out.Write.Get(), STDOUT_FILENO);
    if (streams == ChildStreams::CliPipes)
        posix_spawn_file_actions_adddup2(actions, err.Write.Get(), STDERR_FILENO);
    else if (streams == ChildStreams::MergedOutput)
        posix_spawn_file_actions_adddup2(actions, out.Write.Get(), STDERR_FILENO);
    else
        posix_spawn_file_actions_addopen(actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(actions, workingFolder.c_str());

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    // Descriptors the engine itself inherited without close-on-exec (from the IDE, a shell)
    // stop here too: a child holding a copy of some other pipe could keep its reader waiting.
    posix_spawn_file_actions_addclosefrom_np(actions, 3);
#endif

    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, program->c_str(), actions, &setup.Attributes, argv.data(), environ);
    if (rc != 0) {
        errno = rc;
        return std::nullopt;
    }
    // The child's ends close here, so that end of file reaches the engine when the child ends.
    SpawnedChild child;
    child.Pid = pid;
    if (stdinPipe) {
        child.Stdin = std::move(in.Write);
        SetNonBlocking(child.Stdin.Get());
    }
    if (streams == ChildStreams::CliPipes) {
        child.Stderr = std::move(err.Read);
        SetNonBlocking(child.Stderr.Get());
    }
    if (streams != ChildStreams::Detached) {
        child.Stdout = std::move(out.Read);
        SetNonBlocking(child.Stdout.Get());
    }
    return child;
}

void IgnoreBrokenPipes()
{
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}

UniqueFd OpenProcessFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return UniqueFd(static_cast<int>(fd));
    }
#else
    (void)pid;
#endif
    return UniqueFd();
}

bool WaitForProcessEnd(const UniqueFd& processFd, int milliseconds)
{
    if (!processFd.IsOpen())
        return false;
    pollfd wait{processFd.Get(), POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&wait, 1, milliseconds);
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

void KillProcessGroup(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
}

void KillAndReap(pid_t pid)
{
    if (pid <= 0)
        return;
    KillProcessGroup(pid);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace zov
