// Runs a program with its three standard streams on pipes, for byte-exact tests of what it
// writes. Waits are polls with a deadline, never fixed sleeps.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace zov::test {

struct ProcessResult {
    std::string out;        // standard output
    std::string err;        // standard error
    int exitCode = -1;      // when the program exited
    int signal = 0;         // when a signal killed it
    bool timedOut = false;  // still running at the deadline: killed

    bool Exited() const { return exitCode >= 0; }
};

class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds Deadline{60};

    // With stdoutTerminal, standard output is a pseudo-terminal (as when a person runs the tool);
    // its output then has the terminal's line ends (CR LF).
    explicit ChildProcess(const std::string& program, const std::vector<std::string>& args = {},
                          const std::string& workDir = "", bool stdoutTerminal = false)
    {
        // A test must fail, not die, when it writes to a program that has ended.
        signal(SIGPIPE, SIG_IGN);
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        if (stdoutTerminal ? !OpenTerminal(out) : pipe2(out, O_CLOEXEC) != 0)
            throw std::runtime_error("stdout");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        if (!workDir.empty())
            posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int rc = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        close(err[1]);
        m_in = in[1];
        m_out = out[0];
        m_err = err[0];
        if (rc != 0) {
            m_pid = -1;
            throw std::runtime_error("cannot start " + program);
        }
    }

    ~ChildProcess()
    {
        CloseInput();
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
        CloseFd(m_out);
        CloseFd(m_err);
    }

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }

    void Send(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t n = m_in < 0 ? -1 : write(m_in, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw std::runtime_error("write to the program failed");
            bytes.remove_prefix(static_cast<size_t>(n));
        }
    }

    void CloseInput() { CloseFd(m_in); }

    // The parent goes away: nothing writes to the program, nothing reads what it writes.
    void Vanish()
    {
        CloseFd(m_in);
        CloseFd(m_out);
        CloseFd(m_err);
    }

    // Reads until standard output holds `text`; false when the deadline passed or both streams ended.
    bool WaitForOutput(std::string_view text, Clock::duration timeout = Deadline)
    {
        const auto deadline = Clock::now() + timeout;
        while (m_result.out.find(text) == std::string::npos) {
            if (!Pump(deadline))
                return m_result.out.find(text) != std::string::npos;
        }
        return true;
    }

    // Reads until standard error holds `count` markers in all (since the start), or both streams end.
    // Returns false when the deadline passed.
    bool WaitForMarkers(size_t count)
    {
        const auto deadline = Clock::now() + Deadline;
        while (CountMarkers() < count) {
            if (!Pump(deadline))
                return false;
        }
        DrainAvailable();
        return true;
    }

    // Writes all of input while reading both streams, so that a program answering a long input
    // never blocks on a full pipe while the test is still writing. Returns false at the deadline.
    bool SendAll(const std::string& input)
    {
        if (m_in < 0)
            return false;
        fcntl(m_in, F_SETFL, fcntl(m_in, F_GETFL) | O_NONBLOCK);
        const auto deadline = Clock::now() + Deadline;
        std::string_view pending = input;
        while (!pending.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0 || PollOnce(static_cast<int>(left), &pending) < 0)
                return false;
        }
        return true;
    }

    // Reads both streams to their end and reaps the process. With closeInput false, standard input
    // stays open until the program has ended by itself (after a signal or exit). A program still
    // running at the deadline is killed and reported as timed out.
    ProcessResult Finish(bool closeInput = true)
    {
        if (closeInput)
            CloseInput();
        const auto deadline = Clock::now() + Deadline;
        while (m_out >= 0 || m_err >= 0) {
            if (!Pump(deadline)) {
                if (Clock::now() >= deadline) {
                    m_result.timedOut = true;
                    Signal(SIGKILL);
                }
                break;
            }
        }
        CloseInput();
        int status = 0;
        if (m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid)
            Reaped(status);
        return m_result;
    }

    // Waits for the end of the process itself (reading standard output while it is open), even
    // when children it left behind still hold its streams; false when it still runs at the deadline.
    bool WaitForEnd(Clock::duration timeout)
    {
        if (m_pid <= 0)
            return false;
        const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, m_pid, 0));
        if (pidFd < 0)
            return false;
        const auto deadline = Clock::now() + timeout;
        bool ended = false;
        for (;;) {
            pollfd fds[2] = {{pidFd, POLLIN, 0}, {m_out, POLLIN, 0}};
            const nfds_t n = m_out >= 0 ? 2 : 1;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            const int rc = poll(fds, n, left < 0 ? 0 : static_cast<int>(left));
            if (rc < 0 && errno == EINTR)
                continue;
            if (rc <= 0)
                break;
            if (n == 2 && fds[1].revents)
                ReadFrom(m_out);
            if (fds[0].revents & POLLIN) {
                ended = true;
                break;
            }
        }
        close(pidFd);
        int status = 0;
        if (!ended || waitpid(m_pid, &status, 0) != m_pid)
            return false;
        Reaped(status);
        return true;
    }

    void Signal(int signal)
    {
        if (m_pid > 0)
            kill(m_pid, signal);
    }

    const std::string& Out() const { return m_result.out; }
    const std::string& Err() const { return m_result.err; }
    const ProcessResult& Result() const { return m_result; }

private:
    static void CloseFd(int& fd)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

    // out[0] = the master side (read by the test), out[1] = the terminal given to the program.
    static bool OpenTerminal(int out[2])
    {
        const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
            return false;
        const char* name = ptsname(master);
        const int slave = name == nullptr ? -1 : open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave < 0)
            return false;
        out[0] = master;
        out[1] = slave;
        return true;
    }

    void Reaped(int status)
    {
        m_pid = -1;
        if (WIFEXITED(status))
            m_result.exitCode = WEXITSTATUS(status);
        else if (WIFSIGNALED(status))
            m_result.signal = WTERMSIG(status);
    }

    size_t CountMarkers() const
    {
        size_t count = 0;
        for (size_t p = m_result.err.find(">>"); p != std::string::npos; p = m_result.err.find(">>", p + 2))
            ++count;
        return count;
    }

    // One poll round: reads what the open streams hold and, while pending holds bytes, writes them
    // to standard input (all of them are dropped once the program no longer reads). Returns poll's
    // count (an interrupted poll counts as 1), 0 when timeoutMs passed, -1 when nothing is left to
    // watch or poll failed.
    int PollOnce(int timeoutMs, std::string_view* pending = nullptr)
    {
        pollfd fds[3];
        int n = 0;
        if (pending != nullptr && !pending->empty() && m_in >= 0)
            fds[n++] = {m_in, POLLOUT, 0};
        if (m_out >= 0)
            fds[n++] = {m_out, POLLIN, 0};
        if (m_err >= 0)
            fds[n++] = {m_err, POLLIN, 0};
        if (n == 0)
            return -1;
        const int ready = poll(fds, static_cast<nfds_t>(n), timeoutMs);
        if (ready < 0)
            return errno == EINTR ? 1 : -1;
        for (int i = 0; i < n; ++i) {
            if (fds[i].revents == 0)
                continue;
            if (fds[i].fd == m_in) {
                const ssize_t written = write(m_in, pending->data(), pending->size());
                if (written > 0)
                    pending->remove_prefix(static_cast<size_t>(written));
                else if (written < 0 && errno != EAGAIN && errno != EINTR)
                    *pending = {};
            } else {
                ReadFrom(fds[i].fd == m_out ? m_out : m_err);
            }
        }
        return ready;
    }

    // One poll round over the open streams; false at the deadline or when nothing is left to read.
    bool Pump(Clock::time_point deadline)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return left > 0 && PollOnce(static_cast<int>(left)) > 0;
    }

    void ReadFrom(int& fd)
    {
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) {
            (fd == m_out ? m_result.out : m_result.err).append(buffer, static_cast<size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            CloseFd(fd);
        }
    }

    void DrainAvailable()
    {
        while (PollOnce(0) > 0) {
        }
    }

    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    int m_err = -1;
    ProcessResult m_result;
};

}  // namespace zov::test
