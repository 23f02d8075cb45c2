#pragma once

// Runs the real zovrun with pipes on its three standard streams.

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zov::test {

struct ProcessResult {
    bool exited = false;   // ended by exit, with `status`
    int status = -1;
    int signal = 0;        // ended by this signal
    bool timedOut = false; // did not end before the deadline (then killed)
    std::string out;
    std::string err;
};

class EngineProcess {
public:
    explicit EngineProcess(const std::vector<std::string>& args,
                           const std::string& program = std::string(ZOV_BIN_DIR) + "/zovrun")
    {
        int in[2], out[2], err[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        close(err[1]);
        in_ = in[1];
        out_ = out[0];
        err_ = err[0];
    }

    ~EngineProcess()
    {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        for (int fd : {in_, out_, err_})
            if (fd >= 0)
                close(fd);
    }

    bool Started() const { return pid_ > 0; }

    void Send(std::string_view text)
    {
        while (!text.empty() && in_ >= 0) {
            const ssize_t n = write(in_, text.data(), text.size());
            if (n <= 0)
                return;
            text.remove_prefix(static_cast<std::size_t>(n));
        }
    }

    void CloseInput()
    {
        if (in_ >= 0)
            close(in_);
        in_ = -1;
    }

    void Signal(int signal) { kill(pid_, signal); }

    // Reads until standard output holds `text` or the deadline passes.
    bool WaitForOutput(std::string_view text, std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (result_.out.find(text) == std::string::npos) {
            if (!Pump(deadline))
                return result_.out.find(text) != std::string::npos;
        }
        return true;
    }

    // Reads both streams to their end, then reaps the process. A process still running at
    // the deadline is killed and reported as timed out.
    ProcessResult Finish(std::chrono::milliseconds timeout = std::chrono::seconds(20))
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (out_ >= 0 || err_ >= 0) {
            if (!Pump(deadline)) {
                if (out_ >= 0 || err_ >= 0) {
                    result_.timedOut = true;
                    kill(pid_, SIGKILL);
                }
                break;
            }
        }
        int status = 0;
        if (pid_ > 0 && waitpid(pid_, &status, 0) == pid_) {
            reaped_ = true;
            if (WIFEXITED(status)) {
                result_.exited = true;
                result_.status = WEXITSTATUS(status);
            } else if (WIFSIGNALED(status)) {
                result_.signal = WTERMSIG(status);
            }
        }
        return result_;
    }

private:
    // One poll round; false when the deadline passed or both streams are closed.
    bool Pump(std::chrono::steady_clock::time_point deadline)
    {
        if (out_ < 0 && err_ < 0)
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        const int n = poll(fds, 2, static_cast<int>(left.count()));
        if (n < 0)
            return errno == EINTR;
        if (n == 0)
            return false;
        ReadFrom(fds[0], out_, result_.out);
        ReadFrom(fds[1], err_, result_.err);
        return true;
    }

    static void ReadFrom(const pollfd& p, int& fd, std::string& into)
    {
        if (fd < 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR)))
            return;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<std::size_t>(n));
        } else {
            close(fd);
            fd = -1;
        }
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    ProcessResult result_;
};

inline std::string ReadGolden(const std::string& name)
{
    const std::string path = std::string(ZOV_SOURCE_DIR) + "/tests/engine/golden/" + name;
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

}  // namespace zov::test
