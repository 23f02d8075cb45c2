#pragma once

// Calls posted from any thread and run on the thread that waits on the queue: the headless
// stand-in for the GUI's event loop (the probe and the tests run the run driver on it).

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zov::execution {

class CallQueue {
public:
    void Post(std::function<void()> call)
    {
        {
            std::lock_guard lock(mutex_);
            calls_.push_back(std::move(call));
        }
        wake_.notify_one();
    }

    // Runs posted calls until `done` holds after one of them, or until `limit` passes without
    // it. Returns whether `done` held.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(60))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            std::function<void()> call;
            {
                std::unique_lock lock(mutex_);
                if (!wake_.wait_until(lock, deadline, [this] { return !calls_.empty(); }))
                    return done();
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            call();
        }
        return true;
    }

    // Runs what is posted now, without waiting.
    void RunPending()
    {
        while (true) {
            std::function<void()> call;
            {
                std::lock_guard lock(mutex_);
                if (calls_.empty())
                    return;
                call = std::move(calls_.front());
                calls_.pop_front();
            }
            call();
        }
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> calls_;
};

}  // namespace zov::execution
