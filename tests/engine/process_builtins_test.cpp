// exec, kill, killall and run, against tests/engine/testcli/TestProgram.cpp.
#include "engine/processes/CliProcess.h"
#include "engine/base/Output.h"
#include "engine/runtime/ProcessBuiltins.h"
#include "engine/processes/ProcessRegistry.h"

#include "process_checks.h"

#include <gtest/gtest.h>

#include <chrono>

#include <cerrno>
#include <dirent.h>
#include <poll.h>
#include <sys/syscall.h>
#include <csignal>
#include <mutex>
#include <thread>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zov {
namespace {

const std::string kProgram = std::string(ZOV_BIN_DIR) + "/zovtestprog";

class ProcessBuiltinsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousSink_ = SetLineSink([this](Stream stream, std::string_view text) {
            std::lock_guard<std::mutex> hold(lock_);
            (stream == Stream::Out ? out_ : err_).append(text);
        });
        descriptorsBefore_ = test::OpenDescriptorCount();
    }
    void TearDown() override
    {
        BuiltinKillAll();
        SetLineSink(std::move(previousSink_));
        test::ExpectNoChildLeft();
        EXPECT_EQ(test::OpenDescriptorCount(), descriptorsBefore_);
    }
    std::string Err()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return err_;
    }

private:
    LineSink previousSink_;
    std::mutex lock_;
    std::string out_;
    std::string err_;
    int descriptorsBefore_ = 0;
};

// A program that has ended gives its descriptors back by the next start, not at the end of the
// run: a script that starts hundreds of short programs must not run out of them.
TEST_F(ProcessBuiltinsTest, EndedProgramsKeepNoDescriptors)
{
    const int before = test::OpenDescriptorCount();
    for (int i = 0; i < 60; ++i) {
        const int position = BuiltinExec(kProgram + " text x");
        ASSERT_GT(position, 0);
        auto process = ExecTable.At(position);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (process->Running() && std::chrono::steady_clock::now() < deadline) {
        }
        ASSERT_FALSE(process->Running());
    }
    // The last one is released by the next start; every earlier one already is.
    EXPECT_LE(test::OpenDescriptorCount(), before + 2);
    EXPECT_EQ(ExecTable.Size(), 60);
}

TEST_F(ProcessBuiltinsTest, KillMovesLaterProgramsDown)
{
    const int first = BuiltinExec(kProgram + " forever");
    const int second = BuiltinExec(kProgram + " forever");
    ASSERT_EQ(first, 1);
    ASSERT_EQ(second, 2);
    const pid_t secondPid = ExecTable.At(2)->ProcessId();
    BuiltinKill(1);
    EXPECT_EQ(ExecTable.Size(), 1);
    EXPECT_EQ(ExecTable.At(1)->ProcessId(), secondPid);
    EXPECT_EQ(Err(), "");
    BuiltinKill(2);
    BuiltinKill(0);
    EXPECT_EQ(Err(), std::string(lines::ErrProcessCannotEnd) + lines::ErrProcessCannotEnd);
}

TEST_F(ProcessBuiltinsTest, ExecOfAMissingProgramGivesZeroAndKeepsTheEntry)
{
    const int descriptors = test::OpenDescriptorCount();
    EXPECT_EQ(BuiltinExec("/no/such/program"), 0);
    EXPECT_EQ(ExecTable.Size(), 1);
    // The entry stays, without a descriptor of its own.
    EXPECT_EQ(test::OpenDescriptorCount(), descriptors);
}

TEST_F(ProcessBuiltinsTest, KillAllEndsEveryProgramThroughTheEngineHook)
{
    ASSERT_EQ(BuiltinExec(kProgram + " forever"), 1);
    ASSERT_EQ(BuiltinExec(kProgram + " sleep 5"), 2);
    const pid_t pid = ExecTable.At(1)->ProcessId();
    KillAllExecs();  // registered by the first exec
    EXPECT_EQ(ExecTable.Size(), 0);
    EXPECT_EQ(::kill(pid, 0), -1);
}

TEST_F(ProcessBuiltinsTest, ProgramThatEndsByItselfIsReaped)
{
    ASSERT_EQ(BuiltinExec(kProgram + " text ignored"), 1);
    auto process = ExecTable.At(1);
    // The watch thread reaps it without anyone asking.
    while (process->Running()) {
        std::this_thread::yield();
    }
    EXPECT_EQ(process->ExitCode(), 0);
    test::ExpectNoChildLeft();
}

TEST_F(ProcessBuiltinsTest, RunReturnsWhatTheProgramWrites)
{
    EXPECT_EQ(BuiltinRun(kProgram + " text hello", 0), "hello");
    EXPECT_EQ(BuiltinRun(kProgram + " stdin", 5), "eof");  // input is /dev/null
    EXPECT_EQ(BuiltinRun(kProgram, 0), "");
    EXPECT_EQ(BuiltinRun(std::nullopt, 0), std::nullopt);
    EXPECT_EQ(BuiltinRun("/no/such/program", 0), std::nullopt);
}

TEST_F(ProcessBuiltinsTest, RunKeepsOnlyTheChunksBelowTheLimit)
{
    const auto output = BuiltinRun(kProgram + " out 250000", 0);
    ASSERT_TRUE(output);
    EXPECT_LT(output->size(), kRunOutputLimit);
    EXPECT_GT(output->size(), kRunOutputLimit - 256);
    EXPECT_EQ(output->find_first_not_of('x'), std::string::npos);
}

TEST_F(ProcessBuiltinsTest, RunHonoursItsTimeLimitWhenNothingIsWritten)
{
    EXPECT_EQ(BuiltinRun(kProgram + " text before forever", 1), "before");
}

TEST_F(ProcessBuiltinsTest, RunEndsWithTheProgramEvenWhenADescendantHoldsThePipe)
{
    // The program ends at once, its child keeps the output pipe open for a while: what the
    // program wrote is returned when it ends, not when the pipe closes.
    const auto output = BuiltinRun(kProgram + " text done: spawn", 0);
    ASSERT_TRUE(output);
    ASSERT_EQ(output->rfind("done:", 0), 0u);
    const pid_t descendant = std::stoi(output->substr(5));
    EXPECT_EQ(::kill(descendant, 0), 0);  // still there, holding the pipe
    ::kill(descendant, SIGKILL);
}

// Whether the process has ended (or is gone) within the time, woken by its pidfd.
bool EndsWithin(pid_t pid, int timeoutMs)
{
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd < 0)
        return errno == ESRCH;
    pollfd ended{static_cast<int>(fd), POLLIN, 0};
    int rc = 0;
    do {
        rc = ::poll(&ended, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    ::close(static_cast<int>(fd));
    return rc == 1;
}

// A program stopped at its time limit takes along the programs it started, which would
// otherwise run on after the test that started them.
TEST_F(ProcessBuiltinsTest, RunsTimeLimitAlsoEndsWhatTheProgramStarted)
{
    const auto output = BuiltinRun(kProgram + " text pid: spawn forever", 1);
    ASSERT_TRUE(output);
    ASSERT_EQ(output->rfind("pid:", 0), 0u);
    const pid_t descendant = std::stoi(output->substr(4));
    EXPECT_TRUE(EndsWithin(descendant, 10000));
    ::kill(descendant, SIGKILL);
}

}  // namespace
}  // namespace zov
