// The engine runner against small shell children: input bytes, one merged output stream, a
// start that fails, the high-water mark, and ending a child that will not end.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <sys/wait.h>
#include <thread>

#include "ide/execution/model/EngineRunner.h"

namespace zov::execution {
namespace {

// Counts the runner's notifications and wakes the test thread on each.
struct Notifications {
    std::mutex mutex;
    std::condition_variable wake;
    int outputs = 0;
    int ended = 0;

    EngineProcess::Notify Output()
    {
        return [this] {
            std::lock_guard lock(mutex);
            ++outputs;
            wake.notify_all();
        };
    }
    EngineProcess::Notify Ended()
    {
        return [this] {
            std::lock_guard lock(mutex);
            ++ended;
            wake.notify_all();
        };
    }
    // Takes output as it is announced until the end; returns everything taken.
    std::string TakeUntilEnded(EngineProcess& runner)
    {
        std::string all;
        std::unique_lock lock(mutex);
        while (true) {
            lock.unlock();
            runner.TakeOutput(all);
            lock.lock();
            if (ended > 0)
                break;
            wake.wait_for(lock, std::chrono::seconds(30));
        }
        lock.unlock();
        runner.TakeOutput(all);
        return all;
    }
};

EngineLaunch Shell(const std::string& script)
{
    return {{"/bin/sh", "-c", script}, {}};
}

TEST(EngineRunner, SendAddsOneLineFeed)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell(R"(IFS= read -r a; IFS= read -r b; printf '[%s][%s]' "$a" "$b")")));
    runner.Send("next\n");
    EXPECT_EQ(n.TakeUntilEnded(runner), "[next][]");
    EXPECT_EQ(n.ended, 1);
    EXPECT_EQ(runner.ExitCode(), 0);
}

TEST(EngineRunner, StandardErrorArrivesInTheOrderWritten)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell("echo 1; echo 2 >&2; echo 3; echo 4 >&2; exit 5")));
    EXPECT_EQ(n.TakeUntilEnded(runner), "1\n2\n3\n4\n");
    EXPECT_EQ(runner.ExitCode(), 5);
}

TEST(EngineRunner, MissingProgramEndsOnceWithMinusOne)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    EXPECT_FALSE(runner.Start({{"/no/such/folder/zovrun"}, {}}));
    EXPECT_EQ(n.TakeUntilEnded(runner), "");
    EXPECT_EQ(n.ended, 1);
    EXPECT_EQ(n.outputs, 0);
    EXPECT_EQ(runner.ExitCode(), -1);
    runner.Send("exit\n");  // ignored
}

TEST(EngineRunner, SilentChildEndsWithoutOutputNotification)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell("exit 0")));
    EXPECT_EQ(n.TakeUntilEnded(runner), "");
    EXPECT_EQ(n.outputs, 0);
}

TEST(EngineRunner, QueueStopsAtItsHighWaterMarkAndLosesNothing)
{
    constexpr std::size_t kTotal = 3'000'000;
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell("head -c " + std::to_string(kTotal) + " /dev/zero | tr '\\0' 'a'")));
    // Nothing is taken: the worker must stop at the mark and the child must wait on its pipe.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (runner.QueuedBytes() < EngineProcess::kHighWater && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    EXPECT_GE(runner.QueuedBytes(), EngineProcess::kHighWater);
    EXPECT_LE(runner.QueuedBytes(), EngineProcess::kHighWater + EngineProcess::kReadSize);
    {
        std::lock_guard lock(n.mutex);
        EXPECT_EQ(n.ended, 0);
        EXPECT_EQ(n.outputs, 1);  // one announcement until the owner takes
    }
    const std::string all = n.TakeUntilEnded(runner);
    EXPECT_EQ(all.size(), kTotal);
    EXPECT_EQ(all.find_first_not_of('a'), std::string::npos);
}

TEST(EngineRunner, KillEndsAChildThatIgnoresTermination)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell("trap '' TERM; echo ready; exec sleep 100")));
    {
        std::unique_lock lock(n.mutex);
        n.wake.wait_for(lock, std::chrono::seconds(30), [&] { return n.outputs > 0; });
    }
    const pid_t pid = runner.Pid();
    runner.Kill();
    EXPECT_EQ(runner.ExitCode(), 128 + SIGKILL);
    EXPECT_FALSE(runner.Running());
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1);  // already reaped
    EXPECT_EQ(errno, ECHILD);
    EXPECT_EQ(n.ended, 0);  // no notification after Kill
}

TEST(EngineRunner, KillStopsAnOrdinaryChildWithTermination)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell("exec sleep 100")));
    const auto before = std::chrono::steady_clock::now();
    runner.Kill();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_EQ(runner.ExitCode(), 128 + SIGTERM);
}

TEST(EngineRunner, LargeInputIsWrittenWithoutBlockingTheCaller)
{
    Notifications n;
    EngineProcess runner(n.Output(), n.Ended());
    ASSERT_TRUE(runner.Start(Shell("head -c 1000002 | wc -c")));
    // More than a pipe holds: Send returns at once and the worker writes the rest when it can.
    runner.Send(std::string(1'000'000, 'x'));
    runner.Send("");
    std::string count = n.TakeUntilEnded(runner);
    count.erase(0, count.find_first_not_of(' '));
    EXPECT_EQ(count, "1000002\n");
}

}  // namespace
}  // namespace zov::execution
