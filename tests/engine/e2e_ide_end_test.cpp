// The real zovrun when its IDE goes away: standard input closed (the commands are over) or the
// whole parent gone (input closed and nobody reading the output), and when it is ended by a
// signal or `exit` while a script waits for a CLI. The engine must end within a bounded time
// and take its CLIs with it. Fixtures: tests/engine/e2e/ide_end*.

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zov {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/e2e";
const std::string kBin = ZOV_BIN_DIR;

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

// The direct children of a process (its CLIs, for the engine), whichever thread started them.
std::vector<pid_t> ChildrenOf(pid_t pid)
{
    std::vector<pid_t> children;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "children");
        pid_t child = 0;
        while (in >> child)
            children.push_back(child);
    }
    return children;
}

bool ProcessExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// One engine in the folder of the programs, with its three standard streams on pipes; unlike
// the shared helper, it can close its end of the output too, as a parent that dies does.
class Engine {
public:
    Engine()
    {
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        posix_spawn_file_actions_addchdir_np(&actions, kBin.c_str());
        const std::string program = kBin + "/zovrun";
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
        pidFd_ = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    }

    ~Engine()
    {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (int fd : {in_, out_, err_, pidFd_})
            if (fd >= 0)
                close(fd);
    }

    pid_t Pid() const { return pid_; }
    const std::string& Out() const { return output_; }

    void Send(const std::string& text) { ASSERT_EQ(write(in_, text.data(), text.size()), ssize_t(text.size())); }

    void Run(const std::string& script, const std::string& before = "")
    {
        Send("notifyline -val 0\ntimeout -val 600\n" + before + "interpret -dicofn \"" + kFixtures
             + "/ide_end.qzi\" -scriptfn \"" + kFixtures + "/" + script + "\" -params {}\n");
    }

    // Reads standard output until it holds `text` (standard error is drained meanwhile).
    bool WaitForOutput(const std::string& text, std::chrono::seconds timeout = 20s)
    {
        const auto deadline = Clock::now() + timeout;
        while (output_.find(text) == std::string::npos) {
            pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
            if (out_ < 0 || poll(fds, 2, MillisecondsUntil(deadline)) <= 0)
                return false;
            char buffer[4096];
            if (fds[1].revents) {
                const ssize_t n = read(err_, buffer, sizeof buffer);
                if (n <= 0)
                    return false;
            }
            if (fds[0].revents) {
                const ssize_t n = read(out_, buffer, sizeof buffer);
                if (n <= 0)
                    return false;
                output_.append(buffer, static_cast<std::size_t>(n));
            }
        }
        return true;
    }

    void CloseInput() { CloseFd(in_); }

    // The IDE dies: nothing writes commands, nothing reads the lines.
    void Vanish()
    {
        CloseFd(in_);
        CloseFd(out_);
        CloseFd(err_);
    }

    // Waits for the end of the engine (reading its output while it is open); false when it
    // is still running at the deadline.
    bool WaitForEnd(std::chrono::seconds timeout, int& status)
    {
        const auto deadline = Clock::now() + timeout;
        for (;;) {
            pollfd fds[2] = {{pidFd_, POLLIN, 0}, {out_, POLLIN, 0}};
            const nfds_t n = out_ >= 0 ? 2 : 1;
            const int rc = poll(fds, n, MillisecondsUntil(deadline));
            if (rc < 0 && errno == EINTR)
                continue;
            if (rc <= 0)
                return false;
            if (n == 2 && fds[1].revents) {
                char buffer[4096];
                const ssize_t got = read(out_, buffer, sizeof buffer);
                if (got > 0)
                    output_.append(buffer, static_cast<std::size_t>(got));
                else
                    CloseFd(out_);
            }
            if (fds[0].revents & POLLIN)
                break;
        }
        int raw = 0;
        if (waitpid(pid_, &raw, 0) != pid_)
            return false;
        reaped_ = true;
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return true;
    }

private:
    static void CloseFd(int& fd)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    int pidFd_ = -1;
    std::string output_;
};

// Where the IDE goes away, and the line that shows the script has got there.
struct Moment {
    const char* name;
    const char* script;
    const char* before;  // console lines before `interpret`
    const char* reached;
};

const Moment kMoments[] = {
    {"StoppedAtABreakpoint", "ide_end_stop.qzs", "setbkp -line 3 -state on\nnotifyline -val 1\n", "cmd: bk : 3\n"},
    // The deaf CLI neither answers nor obeys its exit command: it has to be ended by force.
    {"WaitingForACli", "ide_end_wait.qzs", "", "trc: 3:waiting\n"},
    {"Running", "ide_end_spin.qzs", "", "trc: 4:spinning\n"},
};

class IdeGone : public testing::TestWithParam<Moment> {};

// The reply time-out is 600 s: an engine that waited for it, or for a `continue`, would still
// run at the deadline.
TEST_P(IdeGone, TheEngineEndsAndTakesItsClisWithIt)
{
    Engine engine;
    ASSERT_GT(engine.Pid(), 0);
    engine.Run(GetParam().script, GetParam().before);
    ASSERT_TRUE(engine.WaitForOutput(GetParam().reached)) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    EXPECT_FALSE(clis.empty());
    engine.Vanish();
    int status = -1;
    ASSERT_TRUE(engine.WaitForEnd(60s, status)) << "the engine outlived its IDE";
    EXPECT_EQ(status, 1);
    for (pid_t cli : clis)
        EXPECT_FALSE(ProcessExists(cli)) << "CLI " << cli << " outlived the engine";
}

INSTANTIATE_TEST_SUITE_P(Moments, IdeGone, testing::ValuesIn(kMoments),
                         [](const testing::TestParamInfo<Moment>& info) { return info.param.name; });

// Commands fed by a pipe that closes after `interpret` (a shell running a script): the run
// goes on to its end, since its output is still read.
TEST(IdeInputClosed, ARunWithoutStopsGoesOnToItsEnd)
{
    Engine engine;
    engine.Run("ide_end_stop.qzs");
    engine.CloseInput();
    int status = -1;
    ASSERT_TRUE(engine.WaitForEnd(60s, status));
    EXPECT_EQ(status, 1);
    EXPECT_NE(engine.Out().find("trc: 2:one\ntrc: 3:two\ntrc: 4:three\neng:*** Fin execution\n"), std::string::npos)
        << engine.Out();
}

// No `continue` can come once the input is closed: the stop ends the run instead of waiting
// for ever, and the CLI is stopped with it.
TEST(IdeInputClosed, AStopEndsTheRunWithItsClis)
{
    Engine engine;
    engine.Run("ide_end_stop.qzs", "setbkp -line 3 -state on\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd: bk : 3\n")) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    ASSERT_EQ(clis.size(), 1u);
    engine.CloseInput();
    int status = -1;
    ASSERT_TRUE(engine.WaitForEnd(60s, status));
    EXPECT_EQ(status, 1);
    EXPECT_NE(engine.Out().find("cmd: bk : 3\neng:*** Fin execution\n"), std::string::npos) << engine.Out();
    EXPECT_EQ(engine.Out().find("three"), std::string::npos);
    EXPECT_FALSE(ProcessExists(clis[0]));
}

// A signal or `exit` while the script waits for a CLI reply with a time-out of 600 s. Either
// gives a CLI that ignores its exit command a short grace, not the reply time-out.
struct Ending {
    const char* name;
    int signal;
    int status;
};

const Ending kEndings[] = {
    {"Sigterm", SIGTERM, SIGTERM},
    {"Sigint", SIGINT, SIGINT},
    {"Sighup", SIGHUP, SIGHUP},
};

class EndDuringCliWait : public testing::TestWithParam<Ending> {};

TEST_P(EndDuringCliWait, EndsPromptlyWithoutLeavingTheCli)
{
    Engine engine;
    engine.Run("ide_end_wait.qzs");
    ASSERT_TRUE(engine.WaitForOutput("trc: 3:waiting\n")) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    ASSERT_EQ(clis.size(), 2u);
    ::kill(engine.Pid(), GetParam().signal);
    int status = -1;
    ASSERT_TRUE(engine.WaitForEnd(60s, status)) << "still waiting for the CLI";
    EXPECT_EQ(status, GetParam().status);
    EXPECT_EQ(engine.Out().find("after"), std::string::npos);
    for (pid_t cli : clis)
        EXPECT_FALSE(ProcessExists(cli));
}

INSTANTIATE_TEST_SUITE_P(Endings, EndDuringCliWait, testing::ValuesIn(kEndings),
                         [](const testing::TestParamInfo<Ending>& info) { return info.param.name; });

TEST(EndDuringCliWait, ExitEndsWithStatusZeroWithoutLeavingTheCli)
{
    Engine engine;
    engine.Run("ide_end_wait.qzs");
    ASSERT_TRUE(engine.WaitForOutput("trc: 3:waiting\n")) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    ASSERT_EQ(clis.size(), 2u);
    engine.Send("exit\n");
    int status = -1;
    ASSERT_TRUE(engine.WaitForEnd(60s, status)) << "still waiting for the CLI";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(engine.Out().find("after"), std::string::npos);
    for (pid_t cli : clis)
        EXPECT_FALSE(ProcessExists(cli));
}

}  // namespace
}  // namespace zov
