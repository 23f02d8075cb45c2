// CLIs driven end to end: start, commands filled from templates, replies in both sync modes,
// time-outs, misbehaving CLIs, stopping. The CLI is tests/engine/testcli/TestCli.cpp.
#include "engine/runtime/CliCalls.h"
#include "engine/processes/CliProcess.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"

#include "process_checks.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zov {
namespace {

const std::string kCli = std::string(ZOV_BIN_DIR) + "/zovtestcli";

class CliProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine().Reset();
        previousSink_ = SetLineSink([this](Stream stream, std::string_view text) {
            std::lock_guard<std::mutex> hold(lock_);
            (stream == Stream::Out ? out_ : err_).append(text);
        });
        descriptorsBefore_ = test::OpenDescriptorCount();
    }

    void TearDown() override
    {
        StopAllCliProcesses();
        SetLineSink(std::move(previousSink_));
        // Every CLI ended is reaped, and its pipes are closed.
        test::ExpectNoChildLeft();
        EXPECT_EQ(test::OpenDescriptorCount(), descriptorsBefore_);
    }

    static CliSettings Settings(unsigned syncMode)
    {
        CliSettings settings;
        settings.Terminator = ">>";
        settings.SyncMode = syncMode;
        settings.ExitCommand = "exit";
        return settings;
    }

    int Start(const std::string& options, const CliSettings& settings)
    {
        const int index = StartCLI(kCli + " --sync " + std::to_string(settings.SyncMode) + " " + options, settings);
        EXPECT_GT(index, 0);
        ClearLines();
        return index;
    }

    std::string Out()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return out_;
    }
    std::string Err()
    {
        std::lock_guard<std::mutex> hold(lock_);
        return err_;
    }
    void ClearLines()
    {
        std::lock_guard<std::mutex> hold(lock_);
        out_.clear();
        err_.clear();
    }

    static std::string Call(int index, const std::string& tmpl, std::vector<std::string> args = {})
    {
        return CmdFunction1(tmpl, index, args);
    }

private:
    LineSink previousSink_;
    std::mutex lock_;
    std::string out_;
    std::string err_;
    int descriptorsBefore_ = 0;
};

TEST_F(CliProcessTest, MissingProgramGivesZeroAndTheErrorLine)
{
    const int sizeBefore = CliTable.Size();
    EXPECT_EQ(StartCLI("/no/such/cli -x", Settings(1)), 0);
    EXPECT_EQ(Err(), "Erreur: Impossible d'executer le CLI ou le CLI est inexistant\n");
    EXPECT_EQ(CliTable.Size(), sizeBefore + 1);  // the slot stays
}

// A CLI that did not start keeps its slot, but no descriptor: a script that retries a missing
// CLI must not use up the descriptors that the CLIs started later need.
TEST_F(CliProcessTest, ACliThatDidNotStartHoldsNoDescriptor)
{
    const int before = test::OpenDescriptorCount();
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(StartCLI("/no/such/cli", Settings(1)), 0);
    EXPECT_EQ(test::OpenDescriptorCount(), before);
    // Nor does a CLI once it is stopped.
    const int index = Start("", Settings(1));
    StopCli(index - 1);
    EXPECT_EQ(test::OpenDescriptorCount(), before);
}

TEST_F(CliProcessTest, StartUpOutputIsReadAndDropped)
{
    for (unsigned mode : {0u, 1u}) {
        const int index = Start("", Settings(mode));
        EXPECT_EQ(Call(index, "echo %s", {"hello"}), "hello") << mode;
        EXPECT_FALSE(Engine().TimedOut);
    }
    EXPECT_EQ(Out(), "");
}

TEST_F(CliProcessTest, TemplateWithTwoArgumentsSendsTheLineAndAnEmptyLine)
{
    char path[] = "/tmp/zov-record-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const int index = Start(std::string("--record ") + path, Settings(1));
    Call(index, "w %s %s", {"a", "b"});
    Call(index, "ver");  // its reply proves that everything before it was read
    std::ifstream in(path, std::ios::binary);
    std::stringstream recorded;
    recorded << in.rdbuf();
    EXPECT_EQ(recorded.str(), "w a b\n\nver\n");
    // The start-up reply came first, so no time-out was reported.
    EXPECT_EQ(Out(), "");
    std::remove(path);
}

TEST_F(CliProcessTest, SyncModeOneEchoesTheErrorStreamAndReturnsStandardOutput)
{
    const int index = Start("", Settings(1));
    EXPECT_EQ(Call(index, "err %s", {"Wrong parameters!"}), "");
    EXPECT_EQ(Out(), "out: Wrong parameters!\n");
    ClearLines();
    EXPECT_EQ(Call(index, "echo %s", {"42"}), "42");
    EXPECT_EQ(Out(), "");  // nothing on stderr, no echo line
    CliTable.At(index)->SetName("quarnel");
    Call(index, "err %s", {"oops"});
    EXPECT_EQ(Out(), "out:[quarnel] oops\n");
}

TEST_F(CliProcessTest, OnlyTheTerminatorGivesAnEmptyResultInEverySyncMode)
{
    for (unsigned mode : {0u, 1u, 2u}) {
        const int index = Start("", Settings(mode));
        EXPECT_EQ(CmdFunction1_0("err", index), "") << mode;
        EXPECT_FALSE(Engine().TimedOut) << mode;
        // Mode 2 reads the reply from stderr too, but returns it instead of standard output.
        EXPECT_EQ(CmdFunction3_0("notifyline", index), mode == 2 ? 0 : 1) << mode;
    }
}

TEST_F(CliProcessTest, LineBreakFlagZeroKeepsThemEscaped)
{
    CliSettings keep = Settings(0);
    keep.DropLineBreaks = false;
    const int index = Start("", keep);
    const std::string reply = CmdFunction1_0("crlf", index);
    EXPECT_EQ(reply, "a\\r\\nb");
    EXPECT_EQ(reply.size(), 6u);
    const int dropping = Start("", Settings(0));
    EXPECT_EQ(CmdFunction1_0("crlf", dropping), "ab");
}

TEST_F(CliProcessTest, TypedResultsConvertTheReply)
{
    const int index = Start("", Settings(1));
    const std::vector<std::string> seven{"7"};
    EXPECT_EQ(CmdFunction3("echo %s", index, seven), 7);
    EXPECT_TRUE(CmdFunction2("echo %s", index, seven));
    EXPECT_FALSE(CmdFunction2("echo %s", index, std::vector<std::string>{"0"}));
    EXPECT_DOUBLE_EQ(CmdFunction4("echo %s", index, std::vector<std::string>{"2.5"}), 2.5);
    CmdFunction0("echo %s", index, seven);
    EXPECT_EQ(Call(index, "echo %s", {"after"}), "after");
}

TEST_F(CliProcessTest, TimeOutSetsTheFlagAndWritesTheEchoLine)
{
    Engine().CallTimeout = 1;
    const int index = Start("", Settings(1));
    EXPECT_EQ(CmdFunction1_0("hang", index), "");
    EXPECT_TRUE(Engine().TimedOut);
    EXPECT_EQ(Out(), "out: (timeout)\n");
    ClearLines();
    // Without parameters: no empty line follows, whose answer would end this reply.
    EXPECT_EQ(CmdFunction1_0("part half an answer", index), "");
    EXPECT_EQ(Out(), "out: (timeout) half an answer\n");
    CliTable.At(index)->SetName("dovrel");
    ClearLines();
    CmdFunction1_0("hang", index);
    EXPECT_EQ(Out(), "out:[dovrel] (timeout)\n");

    // In sync mode 0 the partial reply is the result.
    const int zero = Start("", Settings(0));
    EXPECT_EQ(CmdFunction1_0("part so far", zero), "so far");
    EXPECT_TRUE(Engine().TimedOut);
    EXPECT_EQ(Out(), "out: (timeout) so far\n");
}

TEST_F(CliProcessTest, TimeOutZeroReadsOnceAndNegativeReadsNothing)
{
    const int index = Start("", Settings(0));
    auto cli = CliTable.At(index);
    SendCliCommand(index, "echo ready");
    // Wait until the whole answer is queued, so that one round of reading finds it.
    while (cli->StdoutSize() < std::string("ready>>").size())
        cli->ReadPipes();
    Engine().CallTimeout = -5;
    EXPECT_EQ(ReadCliReply(index), "");
    EXPECT_TRUE(Engine().TimedOut);
    EXPECT_EQ(Out(), "out: (timeout)\n");
    Engine().CallTimeout = 0;
    EXPECT_EQ(ReadCliReply(index), "ready");
    EXPECT_FALSE(Engine().TimedOut);
    SendCliCommand(index, "hang");
    EXPECT_EQ(ReadCliReply(index), "");
    EXPECT_TRUE(Engine().TimedOut);
}

// A reply that comes after its call has stopped waiting (a time-out, a `within 0`) is queued
// when the next command goes out: it is no part of that command's reply, in either sync mode.
TEST_F(CliProcessTest, AReplyThatCameAfterItsWaitEndedIsNotTakenForTheNextOne)
{
    for (unsigned mode : {0u, 1u}) {
        SCOPED_TRACE(mode);
        const int index = Start("", Settings(mode));
        auto cli = CliTable.At(index);
        // The command goes out and nobody reads its reply, as after a time-out.
        SendCliCommand(index, "echo late");
        // The late answer is complete in the queues before the next command is sent: in sync
        // mode 0 all of it on standard output; in mode 1 its terminator (taken here, as the next
        // command drops it) comes after its text.
        if (mode == 0) {
            while (cli->StdoutSize() < std::string("late>>").size())
                cli->ReadPipes();
        } else {
            std::string sync;
            while (sync.find(">>") == std::string::npos) {
                cli->ReadPipes();
                cli->PopStderr(sync, sync.max_size());
            }
            cli->ReadPipes();
            ASSERT_EQ(cli->StdoutSize(), std::string("late").size());
        }
        EXPECT_EQ(Call(index, "echo %s", {"next"}), "next");
        EXPECT_FALSE(Engine().TimedOut);
        EXPECT_EQ(CmdFunction1_0("echo after", index), "after");
    }
    EXPECT_EQ(Out(), "");
}

// An answer that comes after its call timed out, whether before or after the next command goes
// out, is skipped by the next reply: every command gets exactly one terminated answer, so the
// replies never shift, in either sync mode.
TEST_F(CliProcessTest, AnAnswerThatComesAfterItsTimeOutNeverBecomesALaterReply)
{
    for (unsigned mode : {0u, 1u}) {
        for (bool arrivesFirst : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (arrivesFirst ? " before" : " after"));
            const int index = Start("", Settings(mode));
            Engine().CallTimeout = 1;
            EXPECT_EQ(CmdFunction1_0("delay 1300 slow", index), "");
            EXPECT_TRUE(Engine().TimedOut);
            if (arrivesFirst) {
                // The late answer's text is in before the next command goes out.
                auto cli = CliTable.At(index);
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (cli->StdoutSize() < 4 && std::chrono::steady_clock::now() < deadline)
                    cli->ReadPipes();
            }
            EXPECT_EQ(CmdFunction1_0("echo fast", index), "fast");
            EXPECT_FALSE(Engine().TimedOut);
            EXPECT_EQ(Call(index, "echo %s", {"next"}), "next");
            EXPECT_EQ(CmdFunction1_0("echo after", index), "after");
            EXPECT_FALSE(Engine().TimedOut);
            StopCli(index - 1);
        }
    }
}

// Two calls time out in a row; both late answers are skipped, and the third call gets its own.
TEST_F(CliProcessTest, SeveralLateAnswersAreAllSkipped)
{
    const int index = Start("", Settings(1));
    Engine().CallTimeout = 1;
    // The first answer comes at 1.5 s, the second 1.5 s after it: past the second call's time.
    EXPECT_EQ(CmdFunction1_0("delay 1500 one", index), "");
    EXPECT_TRUE(Engine().TimedOut);
    EXPECT_EQ(CmdFunction1_0("delay 1500 two", index), "");
    EXPECT_TRUE(Engine().TimedOut);
    Engine().CallTimeout = 10;
    EXPECT_EQ(CmdFunction1_0("echo three", index), "three");
    EXPECT_FALSE(Engine().TimedOut);
    EXPECT_EQ(CmdFunction1_0("echo four", index), "four");
}

// A CLI that never answers keeps timing out, and costs each call its own time-out only.
TEST_F(CliProcessTest, ACliThatNeverAnswersKeepsTimingOut)
{
    const int index = Start("", Settings(1));
    Engine().CallTimeout = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CmdFunction1_0("hang", index), "");
        EXPECT_TRUE(Engine().TimedOut);
    }
}

// Each call to a CLI that has stopped answering waits for the answers still late before its
// command goes out; that wait is part of the call's time, never a second time-out on top of it.
TEST_F(CliProcessTest, ASilentCliCostsEachCallOneTimeOut)
{
    const int index = Start("", Settings(0));
    Engine().CallTimeout = 1;
    constexpr int kCalls = 4;
    const auto begin = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        EXPECT_EQ(CmdFunction1_0("hang", index), "");
        EXPECT_TRUE(Engine().TimedOut);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // Two time-outs per call after the first would take 7 s here.
    EXPECT_LT(seconds, 1.5 * kCalls);
    EXPECT_GE(seconds, 0.9 * kCalls);
}

// A reply past the longest text is flagged, in either sync mode, never handed on cut as if whole;
// the reply after it is whole again.
TEST_F(CliProcessTest, AReplyPastTheLongestTextIsFlagged)
{
    for (unsigned mode : {0u, 1u}) {
        SCOPED_TRACE(mode);
        const int index = Start("", Settings(mode));
        auto cli = CliTable.At(index);
        cli->Write("flood 70000000", 60);
        const CliReply huge = cli->ReadReply(60);
        EXPECT_TRUE(huge.TooLong);
        EXPECT_FALSE(huge.TimedOut);
        cli->Write("flood 1000", 60);
        const CliReply fits = cli->ReadReply(60);
        EXPECT_FALSE(fits.TooLong);
        EXPECT_EQ(fits.Text, std::string(1000, 'x'));
        StopCli(index - 1);
    }
}

// A CLI that ended by itself (here: it crashed) gives its pipes and its watch back by the next
// start, not at the end of the run; its slot stays and its exit code is still known.
TEST_F(CliProcessTest, ACliThatEndedByItselfKeepsNoDescriptors)
{
    Engine().CallTimeout = 10;
    const int before = test::OpenDescriptorCount();
    std::vector<std::shared_ptr<CCliProcess>> ended;
    for (int i = 0; i < 30; ++i) {
        const int index = Start("", Settings(1));
        CmdFunction1_0("crash", index);
        auto cli = CliTable.At(index);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (cli->Running() && std::chrono::steady_clock::now() < deadline) {
        }
        ASSERT_FALSE(cli->Running());
        ended.push_back(cli);
    }
    EXPECT_LE(test::OpenDescriptorCount(), before + 5);
    EXPECT_NE(ended.front()->ExitCode(), 259);
}

// A CLI that floods its sync stream without a terminator: the script gets what came, the echo
// line shows its start and says how much it leaves out.
TEST_F(CliProcessTest, TheEchoOfAFloodIsCutAndSaysSo)
{
    Engine().CallTimeout = 1;
    const int index = Start("", Settings(0));
    const std::string reply = CmdFunction1_0("spew", index);
    EXPECT_TRUE(Engine().TimedOut);
    ASSERT_GT(reply.size(), 4096u);
    const std::string expected = "out: (timeout) " + reply.substr(0, 4096) + " [... " +
                                 std::to_string(reply.size() - 4096) + " octets non affiches]\n";
    EXPECT_EQ(Out(), expected);
    ClearLines();
    StopCli(index - 1);
}

TEST_F(CliProcessTest, ExitCommandStopsTheCliAndLaterCallsFindNoCli)
{
    const int index = Start("", Settings(1));
    const pid_t pid = CliTable.At(index)->ProcessId();
    CmdFunction0_0("exit", index);
    EXPECT_EQ(CliTable.At(index), nullptr);
    EXPECT_EQ(::kill(pid, 0), -1);  // ended and reaped
    ClearLines();
    EXPECT_EQ(Call(index, "echo %s", {"x"}), "");
    EXPECT_EQ(Err(), "Erreur: CLI inexistant\n");
    EXPECT_EQ(Out(), "");
}

TEST_F(CliProcessTest, UnknownIndexesAreReported)
{
    SendCliCommand(0, "x");
    EXPECT_EQ(ReadCliReply(0), "");
    EXPECT_EQ(ReadCliReply(9999), "");
    StopCli(-1);
    StopCli(9999);  // nothing
    EXPECT_EQ(Err(),
              "Erreur: CLI inexistant\nErreur: CLI inexistant\nErreur: CLI inexistant\n"
              "Erreur: Impossible d'arreter le CLI ou le CLI est inexistant\n");
}

// The answer to the empty line after a command with parameters comes late; it must never end
// the next reply.
TEST_F(CliProcessTest, LateAnswerToTheEmptyLineNeverEndsTheNextReply)
{
    for (unsigned mode : {0u, 1u}) {
        const int index = Start("--delay-empty 200", Settings(mode));
        EXPECT_EQ(Call(index, "echo %s", {"one"}), "one") << mode;
        EXPECT_EQ(Call(index, "echo %s", {"two"}), "two") << mode;
        EXPECT_EQ(CmdFunction1_0("echo three", index), "three") << mode;
        EXPECT_EQ(Call(index, "echo %s", {"four"}), "four") << mode;
        EXPECT_FALSE(Engine().TimedOut);
        EXPECT_EQ(CliTable.At(index)->ExtraLines(), ExtraLineAnswers::Answered);
    }
}

TEST_F(CliProcessTest, CliThatIgnoresEmptyLinesIsLearnedOnce)
{
    Engine().CliTimeoutSec = 1;
    const int index = Start("--silent-empty", Settings(1));
    for (const char* word : {"a", "b", "c", "d"}) {
        EXPECT_EQ(Call(index, "echo %s", {word}), word);
        EXPECT_FALSE(Engine().TimedOut);
    }
    EXPECT_EQ(CliTable.At(index)->ExtraLines(), ExtraLineAnswers::Silent);
    EXPECT_EQ(Out(), "");
}

TEST_F(CliProcessTest, CrashInTheMiddleOfAReplyGivesThePartialReply)
{
    Engine().CallTimeout = 30;
    const int index = Start("", Settings(1));
    EXPECT_EQ(CmdFunction1_0("crash", index), "partial");
    EXPECT_TRUE(Engine().TimedOut);
    EXPECT_EQ(Out(), "out: (timeout) half\n");
    const int zero = Start("", Settings(0));
    EXPECT_EQ(CmdFunction1_0("crash", zero), "partialhalf");
    // The ended CLI keeps its slot; its replies time out.
    EXPECT_NE(CliTable.At(zero), nullptr);
    EXPECT_EQ(Call(zero, "echo %s", {"x"}), "");
    EXPECT_TRUE(Engine().TimedOut);
}

TEST_F(CliProcessTest, TenMegabytesBeforeTheMarkerAreKept)
{
    const std::size_t size = 10 * 1024 * 1024;
    for (unsigned mode : {0u, 1u}) {
        const int index = Start("", Settings(mode));
        const std::string reply = Call(index, "flood %s", {std::to_string(size)});
        EXPECT_EQ(reply.size(), size) << mode;
        EXPECT_EQ(reply.find_first_not_of('x'), std::string::npos) << mode;
        EXPECT_FALSE(Engine().TimedOut);
        EXPECT_EQ(Call(index, "echo %s", {"next"}), "next");
    }
}

TEST_F(CliProcessTest, BothPipesWrittenAtOnceAreBothDrained)
{
    const std::size_t size = 1024 * 1024;
    for (unsigned mode : {0u, 1u}) {
        const int index = Start("", Settings(mode));
        const std::string reply = Call(index, "both %s", {std::to_string(size)});
        EXPECT_EQ(reply, std::string(size, 'o')) << mode;
        // Only sync mode 1 echoes the error stream; mode 0 drains it and lets it go.
        EXPECT_EQ(Out(), mode == 1 ? "out: " + std::string(size, 'e') + "\n" : "") << mode;
        EXPECT_FALSE(Engine().TimedOut);
        ClearLines();
    }
}

TEST_F(CliProcessTest, CliThatStopsReadingCannotBlockTheEngine)
{
    Engine().CliTimeoutSec = 1;
    const int index = Start("", Settings(1));
    SendCliCommand(index, "deaf");
    // Far more than a pipe holds: the write gives up at the time-out instead of blocking.
    EXPECT_EQ(Call(index, "echo %s", {std::string(1 << 20, 'z')}), "");
    EXPECT_TRUE(Engine().TimedOut);
    ClearLines();
    StopCli(index - 1);
    EXPECT_EQ(Err(), "[] Terminaison forcee du CLI !\n");
}

TEST_F(CliProcessTest, CliThatWritesWithoutEndStillTimesOut)
{
    Engine().CliTimeoutSec = 1;
    const int index = Start("", Settings(1));
    const std::string reply = CmdFunction1_0("spew", index);
    EXPECT_TRUE(Engine().TimedOut);
    EXPECT_LE(reply.size(), CliByteQueue::kMaxBytes);
    EXPECT_EQ(reply.find_first_not_of('y'), std::string::npos);
    ClearLines();
    StopCli(index - 1);  // it never reads its exit command
    EXPECT_EQ(Err(), "[] Terminaison forcee du CLI !\n");
}

TEST_F(CliProcessTest, CliIgnoringItsExitCommandIsKilled)
{
    Engine().CliTimeoutSec = 1;
    const int index = Start("--ignore-exit", Settings(1));
    const pid_t pid = CliTable.At(index)->ProcessId();
    StopCli(index - 1);
    EXPECT_EQ(Err(), "[] Terminaison forcee du CLI !\n");
    EXPECT_EQ(::kill(pid, 0), -1);
    EXPECT_EQ(CliTable.At(index), nullptr);
}

TEST_F(CliProcessTest, VerboseStopAndTraceLines)
{
    Engine().Verbose = true;
    Engine().CliTrace = true;
    const std::string line = kCli + " --sync 1";
    const int index = StartCLI(line, Settings(1));
    EXPECT_EQ(Out(), "eng: DEBUG CLI cmd:" + line + "\neng: DEBUG CLI: out:TestCli 1.0for the engine tests\n");
    ClearLines();
    Call(index, "echo %s", {"x"});
    EXPECT_EQ(Out(), "eng: DEBUG CLI: in:echo x\n\neng: DEBUG CLI: out:x\n");
    ClearLines();
    StopCli(index - 1);
    EXPECT_EQ(Out(), "eng:Arret du CLI: en cours...\neng: -> Succes\n");
}

TEST_F(CliProcessTest, StripQuotesTurnsQuotesIntoBlanks)
{
    CliSettings settings = Settings(1);
    settings.StripQuotes = true;
    const int index = Start("", settings);
    EXPECT_EQ(Call(index, "echo %s", {"\"a b\""}), " a b ");
}

TEST_F(CliProcessTest, StopAllClisFromAnotherThreadWakesAWaitingReader)
{
    Engine().CallTimeout = 600;
    const int index = Start("", Settings(1));
    std::thread reader([index] { CmdFunction1_0("hang", index); });
    // Whether the reader waits already or comes after: it must not wait out its time-out.
    // StartCLI registered the hook with the engine's StopAllClis.
    StopAllClis();
    reader.join();
    EXPECT_EQ(CliTable.At(index), nullptr);
}

}  // namespace
}  // namespace zov
