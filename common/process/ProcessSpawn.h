#pragma once

// Starting child programs without a shell: the command line (written the Windows way, with
// double-quote rules) is split into arguments, the program is looked up in the current folder
// and then in PATH, and the child gets its standard streams from pipes or /dev/null.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace zov {

// Owns one file descriptor; closes it on destruction.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : Fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : Fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return Fd; }
    bool IsOpen() const { return Fd >= 0; }
    int Release();
    void Reset(int fd = -1);

private:
    int Fd = -1;
};

using Clock = std::chrono::steady_clock;

// Milliseconds left before `deadline` for poll(): 0 once it has passed, never negative.
int MillisecondsLeft(Clock::time_point deadline);

// Splits a command line as Windows programs split theirs: blanks and tabs separate arguments
// outside double quotes; 2n backslashes before a quote give n backslashes and the quote opens or
// closes a quoted part, 2n+1 give n backslashes and a literal quote; "" inside a quoted part is
// a literal quote. The program name (first word) takes quotes literally, without escapes.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The path of the program named `name`, or nothing. A name with a '/' is taken as it is; a bare
// name is looked up in the current folder first, then in each PATH folder, then in the folder
// of the running program (where the CLI tools are installed). Names written for
// Windows are accepted too: '\' as separator, and a trailing ".exe" that the program lacks.
std::optional<std::string> FindProgram(std::string_view name);

// What the child's standard streams are connected to.
enum class ChildStreams {
    CliPipes,    // stdin, stdout and stderr are pipes held by the engine
    OutputPipe,  // stdout is a pipe; stdin and stderr are /dev/null
    Detached,    // all three are /dev/null
    // stdin is a pipe; stdout and stderr are one pipe, so that what the child writes on either
    // arrives in the order written (the IDE's engine runner)
    MergedOutput,
};

struct SpawnedChild {
    pid_t Pid = -1;
    UniqueFd Stdin;   // parent's write end, CliPipes and MergedOutput
    UniqueFd Stdout;  // parent's read end, CliPipes, OutputPipe and MergedOutput (both streams)
    UniqueFd Stderr;  // engine's read end, CliPipes only
};

// Starts the program of `commandLine`. The engine's pipe ends are close-on-exec and the read
// ends non-blocking; the child starts with default signal actions, an empty signal mask, and
// as the leader of a new process group.
// Nothing when the line is empty, the program is not found or cannot be run. The caller must
// reap the child (waitpid).
// A non-empty `workingFolder` is the child's current folder (the parent's never changes); a
// folder that cannot be entered fails the start.
std::optional<SpawnedChild> SpawnChild(std::string_view commandLine, ChildStreams streams,
                                       const std::string& workingFolder = {});

// As SpawnChild, with the arguments given one by one (args[0] is the program, looked up as
// FindProgram does): no splitting, so blanks and quotes inside an argument stay as they are.
std::optional<SpawnedChild> SpawnProgram(std::vector<std::string> args, ChildStreams streams,
                                         const std::string& workingFolder = {});

// SIGPIPE is ignored process-wide: a command written to a CLI that has ended must fail with
// EPIPE, not end the engine. Idempotent.
void IgnoreBrokenPipes();

// Opens a descriptor of a Linux process (pidfd) that polls readable once the process has ended;
// an unset descriptor where the kernel has none.
UniqueFd OpenProcessFd(pid_t pid);
// Waits up to `milliseconds` for the process behind a process descriptor to end; false when it
// has not ended by then or the descriptor is not open.
bool WaitForProcessEnd(const UniqueFd& processFd, int milliseconds);

// Kills the child and every program of its process group with SIGKILL. Only while the child
// is not reaped: until then its pid, and so its group's id, cannot name anything else.
void KillProcessGroup(pid_t pid);

// Kills the child and its process group with SIGKILL and reaps it. Only for a child that no
// other thread waits for.
void KillAndReap(pid_t pid);

}  // namespace zov
