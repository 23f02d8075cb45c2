// Line reports, breakpoints, step mode and the commands that resume a stopped script. A thread
// plays the running script: it reports its statements' lines as the statement nodes do.

#include "engine/console/Console.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "LineCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zov {
namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 10s;  // upper bound only: every wait ends on a wake-up

// One statement per entry, in the order the script runs them.
class Script {
public:
    Script(CDebugger& debugger, std::vector<std::uint32_t> lines)
        : debugger_(debugger), lines_(std::move(lines)), thread_([this] { Run(); })
    {}
    ~Script() { Join(); }

    void Join()
    {
        if (thread_.joinable())
            thread_.join();
    }
    // Lines of the statements that ran (the protocol let them run).
    std::vector<std::uint32_t> Ran() const
    {
        std::lock_guard<std::mutex> hold(lock_);
        return ran_;
    }

private:
    void Run()
    {
        for (std::uint32_t line : lines_) {
            if (!debugger_.ReportLine(line))
                return;  // the run is ending: the statement does nothing, the script unwinds
            std::lock_guard<std::mutex> hold(lock_);
            ran_.push_back(line);
        }
    }

    CDebugger& debugger_;
    std::vector<std::uint32_t> lines_;
    mutable std::mutex lock_;
    std::vector<std::uint32_t> ran_;
    std::thread thread_;
};

class DebuggerStops : public ::testing::Test {
protected:
    DebuggerStops() { engine.NotifyLines = false; }

    test::LineCapture lines;
    EngineState engine;
    CDebugger debugger{engine};
};

TEST_F(DebuggerStops, LineReportsFollowNotifyLine)
{
    engine.NotifyLines = true;
    Script(debugger, {1, 1, 2}).Join();
    EXPECT_EQ(lines.Out(), "cmd: run : 1\ncmd: run : 1\ncmd: run : 2\n");
}

TEST_F(DebuggerStops, WithoutNotifyLineAStatementWritesNothing)
{
    int writes = 0;
    const LineSink previous = SetLineSink([&](Stream, std::string_view) { ++writes; });
    for (std::uint32_t line = 1; line <= 1000; ++line)
        EXPECT_TRUE(debugger.ReportLine(line));
    SetLineSink(previous);
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(debugger.CurrentLine(), 1000u);
    EXPECT_EQ(debugger.PreviousLine(), 999u);
}

TEST_F(DebuggerStops, ABreakpointOnALineWithTwoStatementsStopsOnceBeforeTheFirst)
{
    debugger.SetBreakpoint(2, kBreakpointOn);
    Script script(debugger, {1, 2, 2, 3});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    EXPECT_EQ(lines.Out(), "cmd: bk : 2\n");
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1}));
    debugger.Continue();
    script.Join();
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2, 2, 3}));
    EXPECT_EQ(lines.Out(), "cmd: bk : 2\n");
}

TEST_F(DebuggerStops, TheRunLineComesBeforeTheStop)
{
    engine.NotifyLines = true;
    debugger.SetBreakpoint(1, kBreakpointOn);
    Script script(debugger, {1, 2});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    EXPECT_EQ(lines.Out(), "cmd: run : 1\ncmd: bk : 1\n");
    debugger.Continue();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: run : 1\ncmd: bk : 1\ncmd: run : 2\n");
}

TEST_F(DebuggerStops, Line10000StopsAndLine10001IsIgnored)
{
    debugger.SetBreakpoint(10000, kBreakpointOn);
    debugger.SetBreakpoint(10001, kBreakpointOn);
    debugger.SetBreakpoint(0, kBreakpointOn);
    EXPECT_EQ(debugger.Breakpoint(10001), 0);
    EXPECT_EQ(debugger.Breakpoint(0), 0);
    Script script(debugger, {0, 10000, 10001, 10002});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    debugger.Continue();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: bk : 10000\n");
    EXPECT_EQ(debugger.StopCount(), 1u);
}

// Lines beyond 65535 keep their own number: line 65537 is not line 1.
TEST_F(DebuggerStops, LinesAreNotCutTo16Bits)
{
    debugger.SetBreakpoint(1, kBreakpointOn);
    Script script(debugger, {65537, 1, 131073});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{65537}));
    debugger.Continue();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: bk : 1\n");
    EXPECT_EQ(debugger.CurrentLine(), 131073u);
}

TEST_F(DebuggerStops, NextRunsTheLineAndStopsAtTheNextNewLine)
{
    debugger.SetBreakpoint(1, kBreakpointOn);
    Script script(debugger, {1, 2, 2, 3, 4});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    debugger.Next();
    ASSERT_TRUE(debugger.WaitForStop(2, kPatience));
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1}));
    debugger.Next();
    ASSERT_TRUE(debugger.WaitForStop(3, kPatience));
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2, 2}));
    debugger.Continue();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: bk : 1\ncmd: bk : 2\ncmd: bk : 3\n");
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2, 2, 3, 4}));
}

TEST_F(DebuggerStops, ContinueRunsToTheNextBreakpoint)
{
    debugger.SetBreakpoint(2, kBreakpointOn);
    debugger.SetBreakpoint(5, 1);  // any non-zero state stops
    Script script(debugger, {1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    debugger.Continue();
    ASSERT_TRUE(debugger.WaitForStop(2, kPatience));
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    debugger.Continue();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: bk : 2\ncmd: bk : 5\n");
}

TEST_F(DebuggerStops, NextOnTheLastLineLetsTheScriptEnd)
{
    debugger.SetBreakpoint(2, kBreakpointOn);
    Script script(debugger, {1, 2});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    debugger.Next();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: bk : 2\n");
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2}));
}

// A resume sent while the script runs is not kept for the next stop.
TEST_F(DebuggerStops, AContinueReceivedWhileRunningDoesNotReleaseTheNextStop)
{
    debugger.Continue();
    debugger.SetBreakpoint(2, kBreakpointOn);
    Script script(debugger, {1, 2, 3});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    EXPECT_TRUE(debugger.Stopped());
    EXPECT_TRUE(debugger.Waiting());
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1}));
    debugger.Continue();
    script.Join();
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST_F(DebuggerStops, ANextReceivedWhileRunningStopsAtTheNextNewLineAndWaits)
{
    debugger.Next();
    Script script(debugger, {1, 2});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    EXPECT_TRUE(debugger.Waiting());
    EXPECT_TRUE(script.Ran().empty());
    debugger.Continue();
    script.Join();
    EXPECT_EQ(lines.Out(), "cmd: bk : 1\n");
}

// The script runs lines 1, 2, 3 over and over until the run ends.
TEST_F(DebuggerStops, BreakStopsARunningScriptAndWaits)
{
    std::atomic<std::uint64_t> statements{0};
    std::thread script([&] {
        for (std::uint32_t line = 1;; line = line % 3 + 1) {
            if (!debugger.ReportLine(line))
                return;
            ++statements;
        }
    });
    debugger.Break();
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    const std::uint64_t atStop = statements.load();
    EXPECT_TRUE(debugger.Stopped());
    EXPECT_TRUE(debugger.Waiting());

    // A second break at a stop does not resume.
    debugger.Break();
    EXPECT_TRUE(debugger.Stopped());
    EXPECT_TRUE(debugger.Waiting());
    EXPECT_EQ(statements.load(), atStop);

    debugger.Next();
    ASSERT_TRUE(debugger.WaitForStop(2, kPatience));
    EXPECT_EQ(statements.load(), atStop + 1);

    debugger.SetAbort(true);
    script.join();
    EXPECT_EQ(statements.load(), atStop + 1);
    const std::string out = lines.Out();
    ASSERT_EQ(out.rfind("cmd: bk : ", 0), 0u);
    EXPECT_EQ(debugger.StopCount(), 2u);
}

TEST_F(DebuggerStops, AbortReleasesAStopAndSilencesEveryLaterLine)
{
    engine.NotifyLines = true;
    debugger.SetBreakpoint(2, kBreakpointOn);
    Script script(debugger, {1, 2, 3, 4});
    ASSERT_TRUE(debugger.WaitForStop(1, kPatience));
    debugger.SetAbort(true);
    script.Join();
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1}));
    EXPECT_FALSE(debugger.ReportLine(3));
    EXPECT_EQ(lines.Out(), "cmd: run : 1\ncmd: run : 2\ncmd: bk : 2\n");
}

TEST_F(DebuggerStops, AbortEndsTheLineDelayAtOnce)
{
    engine.NotifyLines = true;
    engine.LineDelayMs = 3600 * 1000;
    Script script(debugger, {1, 2});
    debugger.SetAbort(true);
    script.Join();
    EXPECT_TRUE(script.Ran().empty());
    EXPECT_EQ(lines.Out(), "");
}

// A `speed` of 0 received during an hour-long pause ends it: the lines run at once.
TEST_F(DebuggerStops, ANewSpeedTakesEffectDuringThePause)
{
    engine.NotifyLines = true;
    engine.LineDelayMs = 3600 * 1000;
    Script script(debugger, {1, 2});
    // The pause begins within moments; only then does the new speed have something to end.
    for (const auto give_up = std::chrono::steady_clock::now() + kPatience;
         !debugger.Parked() && std::chrono::steady_clock::now() < give_up;)
        std::this_thread::yield();
    ASSERT_TRUE(debugger.Parked());
    engine.LineDelayMs = 0;
    debugger.DelayChanged();
    script.Join();
    EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2}));
    EXPECT_EQ(lines.Out(), "cmd: run : 1\ncmd: run : 2\n");
}

TEST_F(DebuggerStops, ResetClearsBreakpointsAndFlags)
{
    debugger.SetBreakpoint(7, kBreakpointOn);
    debugger.Break();
    debugger.SetAbort(true);
    debugger.Reset();
    EXPECT_EQ(debugger.Breakpoint(7), 0);
    EXPECT_FALSE(debugger.Stepping());
    EXPECT_FALSE(debugger.Aborting());
    EXPECT_TRUE(debugger.Waiting());
    EXPECT_EQ(debugger.CurrentLine(), 0u);
}

// The console's commands reach the one debugger: setbkp before the run, then break, next and
// continue while the script runs.
TEST(DebuggerConsole, StopsAreSteeredByTheConsoleCommands)
{
    Engine().Reset();
    Debugger().Reset();
    test::LineCapture lines;
    DispatchCommand("notifyline -val 0");
    DispatchCommand("setbkp -line 3 -state on");
    DispatchCommand("next");  // no script running yet: ignored
    Engine().ScriptRunning = 1;
    {
        Script script(Debugger(), {1, 2, 3, 4, 5, 6});
        ASSERT_TRUE(Debugger().WaitForStop(1, kPatience));
        DispatchCommand("break");  // already stopped: stays stopped
        EXPECT_TRUE(Debugger().Waiting());
        DispatchCommand("next");
        ASSERT_TRUE(Debugger().WaitForStop(2, kPatience));
        DispatchCommand("continue");
        script.Join();
        EXPECT_EQ(script.Ran(), (std::vector<std::uint32_t>{1, 2, 3, 4, 5, 6}));
    }
    EXPECT_EQ(lines.Out(), "cmd: bk : 3\ncmd: bk : 4\n");
    Debugger().Reset();
    Engine().Reset();
}

}  // namespace
}  // namespace zov
