#include "engine/runtime/ProcessBuiltins.h"

#include "engine/processes/CliProcess.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "common/process/ProcessSpawn.h"

#include <cerrno>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace zov {

namespace {

// The size of one read of `run`: a read whose bytes would bring the output to the limit is
// dropped whole, and reading goes on to the end.
constexpr std::size_t kRunChunk = 128;

void RegisterKillHook()
{
    static std::once_flag once;
    std::call_once(once, [] { AddKillAllExecsHook(&BuiltinKillAll); });
}

}  // namespace

int BuiltinExec(std::string_view commandLine)
{
    RegisterKillHook();
    if (NewProcessesRefused())
        return 0;
    ReleaseEndedProcesses();
    auto process = std::make_shared<CCliProcess>(std::string(commandLine), /*detached=*/true);
    const int position = ExecTable.Add(process);
    // The start is synchronous: once Start returns the program runs, so no settling delay.
    process->Start();
    return process->Started() ? position : 0;
}

void BuiltinKill(int index)
{
    std::shared_ptr<CCliProcess> process = ExecTable.Remove(index);
    if (!process) {
        WriteErr(lines::ErrProcessCannotEnd);
        return;
    }
    process->Terminate();
}

void BuiltinKillAll()
{
    for (const std::shared_ptr<CCliProcess>& process : ExecTable.RemoveAll())
        if (process)
            process->Terminate();
}

std::optional<std::string> BuiltinRun(std::optional<std::string_view> program, int timeLimitSec)
{
    if (!program)
        return std::nullopt;
    if (NewProcessesRefused())
        return std::nullopt;
    ReleaseEndedProcesses();
    // Registered, so that the end of the engine ends it too while the script waits for it.
    std::optional<SpawnedChild> child = SpawnRunningProgram(*program);
    if (!child)
        return std::nullopt;
    const UniqueFd processFd = OpenProcessFd(child->Pid);
    const bool limited = timeLimitSec >= 1;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(limited ? timeLimitSec : 0);
    std::string output;
    bool childEnded = false;
    char chunk[kRunChunk];
    while (true) {
        const ssize_t got = ::read(child->Stdout.Get(), chunk, sizeof chunk);
        if (got > 0) {
            if (output.size() + static_cast<std::size_t>(got) < kRunOutputLimit)
                output.append(chunk, static_cast<std::size_t>(got));
            if (limited && Clock::now() >= deadline)
                break;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0 || errno != EAGAIN || childEnded)
            break;
        // Nothing to read yet: wait for output, for the end of the program or for the time
        // limit, whichever comes first. A program that writes nothing cannot hold the engine.
        pollfd fds[2] = {{child->Stdout.Get(), POLLIN, 0}, {processFd.Get(), POLLIN, 0}};
        const nfds_t n = processFd.IsOpen() ? 2 : 1;
        const int rc = ::poll(fds, n, limited ? MillisecondsLeft(deadline) : -1);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0)
            break;
        // Ended: what it wrote is still read; a descendant that keeps the pipe open does not
        // hold the engine past that.
        if (n == 2 && (fds[1].revents & POLLIN))
            childEnded = true;
    }
    ReleaseRunningProgram(child->Pid);
    return output;
}

}  // namespace zov
