#include "ide/execution/model/EngineRunner.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zov::execution {

namespace {

constexpr int kTermGraceMs = 2000;

void DrainEventFd(int fd)
{
    std::uint64_t count = 0;
    while (::read(fd, &count, sizeof count) > 0) {
    }
}

}  // namespace

EngineProcess::EngineProcess(Notify outputReady, Notify ended)
    : outputReady_(std::move(outputReady)), ended_(std::move(ended))
{}

EngineProcess::~EngineProcess()
{
    silent_ = true;
    Kill();
}

bool EngineProcess::Start(const EngineLaunch& launch)
{
    if (worker_.joinable())
        return false;
    exitCode_ = 0;
    stop_ = false;
    wakeFd_.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    std::optional<SpawnedChild> child;
    if (wakeFd_.IsOpen())
        child = SpawnProgram(launch.args, ChildStreams::MergedOutput, launch.workingFolder);
    if (!child) {
        exitCode_ = -1;
        // The owner learns of the failure as of any end: through the notification, on the worker.
        worker_ = std::thread([this] {
            if (!silent_ && ended_)
                ended_();
        });
        return false;
    }
    pid_ = child->Pid;
    output_ = std::move(child->Stdout);
    processFd_ = OpenProcessFd(pid_);
    {
        std::lock_guard lock(inputMutex_);
        input_ = std::move(child->Stdin);
        inputQueue_.clear();
        inputClosed_ = false;
    }
    running_ = true;
    worker_ = std::thread([this] { Watch(); });
    return true;
}

void EngineProcess::WakeWorker()
{
    if (wakeFd_.IsOpen()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_.Get(), &one, sizeof one);
    }
}

void EngineProcess::WritePendingInput()
{
    while (!inputQueue_.empty() && input_.IsOpen()) {
        const ssize_t n = ::write(input_.Get(), inputQueue_.data(), inputQueue_.size());
        if (n > 0) {
            inputQueue_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        // The engine no longer reads (it has ended): what is left cannot arrive.
        inputQueue_.clear();
        input_.Reset();
        inputClosed_ = true;
    }
}

void EngineProcess::Send(std::string_view text)
{
    bool wake = false;
    {
        std::lock_guard lock(inputMutex_);
        if (!input_.IsOpen() || inputClosed_)
            return;
        const bool waiting = !inputQueue_.empty();
        inputQueue_.append(text);
        inputQueue_ += '\n';
        if (!waiting)
            WritePendingInput();
        wake = !inputQueue_.empty();
    }
    if (wake)
        WakeWorker();
}

std::size_t EngineProcess::TakeOutput(std::string& into)
{
    std::size_t taken = 0;
    bool wasFull = false;
    {
        std::lock_guard lock(outputMutex_);
        wakePending_ = false;
        taken = queue_.size();
        wasFull = taken >= kHighWater;
        into.append(queue_);
        queue_.clear();
        if (queue_.capacity() > 4 * kReadSize)
            queue_.shrink_to_fit();
    }
    if (wasFull)
        WakeWorker();  // the worker stopped reading at the high-water mark
    return taken;
}

std::size_t EngineProcess::QueuedBytes() const
{
    std::lock_guard lock(outputMutex_);
    return queue_.size();
}

void EngineProcess::NotifyOutput()
{
    if (!wakePending_.exchange(true) && !silent_ && outputReady_)
        outputReady_();
}

EngineProcess::ReadResult EngineProcess::ReadChunk()
{
    char buffer[kReadSize];
    while (true) {
        const ssize_t n = ::read(output_.Get(), buffer, sizeof buffer);
        if (n > 0) {
            {
                std::lock_guard lock(outputMutex_);
                queue_.append(buffer, static_cast<std::size_t>(n));
            }
            NotifyOutput();
            return ReadResult::Data;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && errno == EAGAIN ? ReadResult::Again : ReadResult::End;
    }
}

void EngineProcess::Reap(bool forced)
{
    if (forced) {
        {
            std::lock_guard lock(inputMutex_);
            input_.Reset();
            inputClosed_ = true;
        }
        ::kill(pid_, SIGTERM);
        if (!WaitForProcessEnd(processFd_, kTermGraceMs))
            KillProcessGroup(pid_);
    }
    int status = 0;
    pid_t rc;
    while ((rc = ::waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
    }
    if (rc == pid_)
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
    running_ = false;
}

void EngineProcess::Watch()
{
    bool outputOpen = true;
    bool exited = false;
    while (!exited && !stop_) {
        pollfd fds[4];
        int count = 0;
        fds[count++] = {wakeFd_.Get(), POLLIN, 0};
        const int processIndex = processFd_.IsOpen() ? count : -1;
        if (processIndex >= 0)
            fds[count++] = {processFd_.Get(), POLLIN, 0};
        int outputIndex = -1;
        if (outputOpen && QueuedBytes() < kHighWater) {
            outputIndex = count;
            fds[count++] = {output_.Get(), POLLIN, 0};
        }
        int inputIndex = -1;
        {
            std::lock_guard lock(inputMutex_);
            if (input_.IsOpen() && !inputQueue_.empty()) {
                inputIndex = count;
                fds[count++] = {input_.Get(), POLLOUT, 0};
            }
        }
        if (::poll(fds, static_cast<nfds_t>(count), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[0].revents)
            DrainEventFd(wakeFd_.Get());
        if (stop_)
            break;
        if (inputIndex >= 0 && fds[inputIndex].revents) {
            std::lock_guard lock(inputMutex_);
            WritePendingInput();
            if (fds[inputIndex].revents & (POLLERR | POLLHUP)) {
                inputQueue_.clear();
                input_.Reset();
                inputClosed_ = true;
            }
        }
        if (outputIndex >= 0 && fds[outputIndex].revents && ReadChunk() == ReadResult::End)
            outputOpen = false;
        if (processIndex >= 0 && fds[processIndex].revents)
            exited = true;
        // Without a process descriptor the end of the output stands for the end of the child.
        if (processIndex < 0 && !outputOpen)
            exited = true;
    }
    if (exited && !stop_) {
        // Everything the engine wrote before it ended is in the pipe: take it to its end (or to
        // EAGAIN, when a program it started still holds the pipe), minding the high-water mark.
        while (outputOpen && !stop_) {
            if (QueuedBytes() >= kHighWater) {
                pollfd p{wakeFd_.Get(), POLLIN, 0};
                if (::poll(&p, 1, -1) > 0)
                    DrainEventFd(wakeFd_.Get());
                continue;
            }
            if (ReadChunk() != ReadResult::Data)
                break;
        }
    }
    output_.Reset();
    Reap(stop_);
    if (!silent_ && ended_)
        ended_();
}

void EngineProcess::Kill()
{
    silent_ = true;
    stop_ = true;
    WakeWorker();
    if (worker_.joinable())
        worker_.join();
    {
        std::lock_guard lock(inputMutex_);
        input_.Reset();
        inputClosed_ = true;
    }
    output_.Reset();
    processFd_.Reset();
}

}  // namespace zov::execution
