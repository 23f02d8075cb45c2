#pragma once

// One engine process per run: started without a shell in the engine's folder, its standard
// input fed from Send, its standard output and standard error read on one pipe (so that both
// come in the order written) by one worker thread into a byte queue. The owner hears of new
// bytes and of the end through two notifications called on the worker thread; it takes the
// bytes on its own thread. The queue stops reading at its high-water mark, so that a fast engine
// waits on its own full pipe instead of filling the IDE's memory.

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "common/process/ProcessSpawn.h"

namespace zov::execution {

struct EngineLaunch {
    std::vector<std::string> args;  // args[0]: the program
    std::string workingFolder;      // the child's current folder
};

class EngineProcess {
public:
    using Notify = std::function<void()>;

    static constexpr std::size_t kHighWater = 1 << 20;
    static constexpr std::size_t kReadSize = 64 * 1024;

    // `outputReady` is called once per batch of bytes that the owner has not yet taken (a later
    // batch is announced only after TakeOutput); `ended` once, after the last output
    // notification. Both run on the worker thread: they must only post to the owner.
    EngineProcess(Notify outputReady, Notify ended);
    // No notification after this point; kills a child that still runs.
    ~EngineProcess();
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts the child and the worker. A child that cannot be started ends at once: exit code
    // -1 and the ended notification only. Returns whether the child started.
    bool Start(const EngineLaunch& launch);

    // Writes the text and one more "\n"; never blocks: what the pipe cannot take now is written
    // by the worker when it can. Ignored before the start and after the end.
    void Send(std::string_view text);

    // Appends every queued byte to `into`; returns how many.
    std::size_t TakeOutput(std::string& into);
    std::size_t QueuedBytes() const;

    // Ends the child: its input closed, SIGTERM (the engine stops its CLI programs), SIGKILL of
    // its group when it is still there after two seconds; always reaped. No notification
    // follows. Nothing for a runner that never started.
    void Kill();

    // 0 before the end; -1 when the child could not be started; its exit status, or 128 + the
    // signal that ended it.
    int ExitCode() const { return exitCode_.load(); }
    bool Running() const { return running_.load(); }
    pid_t Pid() const { return pid_; }

private:
    void Watch();
    void WakeWorker();
    void WritePendingInput();  // under inputMutex_
    enum class ReadResult { Data, Again, End };
    ReadResult ReadChunk();
    void Reap(bool forced);
    void NotifyOutput();

    Notify outputReady_;
    Notify ended_;
    pid_t pid_ = -1;
    UniqueFd output_;
    UniqueFd processFd_;
    UniqueFd wakeFd_;
    std::thread worker_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    std::atomic<bool> silent_{false};
    std::atomic<bool> wakePending_{false};
    std::atomic<int> exitCode_{0};

    mutable std::mutex outputMutex_;
    std::string queue_;

    std::mutex inputMutex_;
    UniqueFd input_;
    std::string inputQueue_;
    bool inputClosed_ = false;
};

}  // namespace zov::execution
