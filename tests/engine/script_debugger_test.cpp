// The debugger driven by real scripts: the statements report their lines, stop at
// breakpoints and in step mode, and the values read at a stop are the script's own.

#include "ScriptRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace zov {
namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 10s;  // upper bound only: every wait ends on a wake-up

// A script analysed on the test thread and run on a thread of its own.
class RunningScript {
public:
    explicit RunningScript(test::ScriptRunner& runner) : runner_(runner) {}
    ~RunningScript() { Join(); }
    void Start()
    {
        thread_ = std::thread([this] { runner_.Run(); });
    }
    void Join()
    {
        if (thread_.joinable())
            thread_.join();
    }

private:
    test::ScriptRunner& runner_;
    std::thread thread_;
};

class ScriptDebugger : public ::testing::Test {
protected:
    // Analyses the text and starts it; the breakpoints must be set before.
    void Start(const std::string& text)
    {
        ASSERT_TRUE(script.Analyse(text)) << script.SyntaxError() << script.FirstError();
        running.Start();
    }
    // Waits for the stop number `count` and checks the lines written so far.
    void ExpectStop(std::uint64_t count, const std::string& out)
    {
        ASSERT_TRUE(script.Debugger().WaitForStop(count, kPatience)) << "stop " << count;
        EXPECT_EQ(script.Out(), out);
    }

    test::ScriptRunner script;
    RunningScript running{script};
};

TEST_F(ScriptDebugger, ABreakpointOnALineWithTwoStatementsStopsOnce)
{
    script.Debugger().SetBreakpoint(2, kBreakpointOn);
    Start("a = 1\nb = 2 & c = 3\nd = 4\n");
    ExpectStop(1, "cmd: bk : 2\n");
    EXPECT_EQ(script.Word("b"), 0);  // the stop comes before the line's first statement
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Out(), "cmd: bk : 2\n");
    EXPECT_EQ(script.Word("d"), 4);
}

TEST_F(ScriptDebugger, ABreakpointOnALineWithACallAndAnotherStatementStopsOnce)
{
    // Back from the procedure the caller's line is current again: the second statement of the
    // line does not enter it afresh.
    script.Debugger().SetBreakpoint(4, kBreakpointOn);
    Start("proc p()\n  r = 1\nend\nx = call p() & y = 2\nz = 3\n");
    ExpectStop(1, "cmd: bk : 4\n");
    script.Debugger().Next();
    ExpectStop(2, "cmd: bk : 4\ncmd: bk : 1\n");
    script.Debugger().Next();
    ExpectStop(3, "cmd: bk : 4\ncmd: bk : 1\ncmd: bk : 2\n");
    script.Debugger().Next();
    ExpectStop(4, "cmd: bk : 4\ncmd: bk : 1\ncmd: bk : 2\ncmd: bk : 5\n");
    EXPECT_EQ(script.Word("y"), 2);
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Word("z"), 3);
}

// Back from a call the caller's line is current again; a loop must still stop on it each pass.
TEST_F(ScriptDebugger, ABreakpointOnACallInALoopStopsAtEveryPass)
{
    const struct {
        const char* head;
        const char* tail;
    } loops[] = {{"for i = 1 to 2 do", "end"}, {"while x < 2 do", "end"}, {"repeat", "until x >= 2"}};
    for (const auto& loop : loops) {
        test::ScriptRunner runner;
        RunningScript thread{runner};
        runner.Debugger().SetBreakpoint(6, kBreakpointOn);
        ASSERT_TRUE(runner.Analyse(std::string("x = 0\nproc p()\n  x = x + 1\nend\n") + loop.head + "\n  call p()\n" +
                                   loop.tail + "\n"))
            << loop.head;
        thread.Start();
        ASSERT_TRUE(runner.Debugger().WaitForStop(1, kPatience)) << loop.head;
        runner.Debugger().Continue();
        ASSERT_TRUE(runner.Debugger().WaitForStop(2, kPatience)) << loop.head;
        runner.Debugger().Continue();
        thread.Join();
        EXPECT_EQ(runner.Out(), "cmd: bk : 6\ncmd: bk : 6\n") << loop.head;
        EXPECT_EQ(runner.Word("x"), 2) << loop.head;
    }
}

TEST_F(ScriptDebugger, ABreakpointInALoopBodyStopsAtEveryPass)
{
    script.Debugger().SetBreakpoint(3, kBreakpointOn);
    Start("x = 0\nfor i = 1 to 3 do\n  x = x + 1\nend\n");
    ExpectStop(1, "cmd: bk : 3\n");
    script.Debugger().Continue();
    ExpectStop(2, "cmd: bk : 3\ncmd: bk : 3\n");
    script.Debugger().Continue();
    ExpectStop(3, "cmd: bk : 3\ncmd: bk : 3\ncmd: bk : 3\n");
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Word("x"), 3);
}

TEST_F(ScriptDebugger, Line10000StopsAndLine10001IsIgnored)
{
    script.Debugger().SetBreakpoint(10000, kBreakpointOn);
    script.Debugger().SetBreakpoint(10001, kBreakpointOn);
    std::string text(9999, '\n');
    text += "x = 1\ny = 2\n";
    Start(text);
    ExpectStop(1, "cmd: bk : 10000\n");
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Debugger().StopCount(), 1u);
    EXPECT_EQ(script.Word("y"), 2);
}

TEST_F(ScriptDebugger, NextStopsAtEachNewLineAndLetsTheLastOneEnd)
{
    script.Debugger().SetBreakpoint(1, kBreakpointOn);
    Start("a = 1\nb = 2 & c = 3\nd = 4\n");
    ExpectStop(1, "cmd: bk : 1\n");
    script.Debugger().Next();
    ExpectStop(2, "cmd: bk : 1\ncmd: bk : 2\n");
    EXPECT_EQ(script.Word("a"), 1);
    EXPECT_EQ(script.Word("b"), 0);
    script.Debugger().Next();
    ExpectStop(3, "cmd: bk : 1\ncmd: bk : 2\ncmd: bk : 3\n");
    EXPECT_EQ(script.Word("c"), 3);
    script.Debugger().Next();  // on the last line: the script ends
    running.Join();
    EXPECT_EQ(script.Word("d"), 4);
    EXPECT_EQ(script.Debugger().StopCount(), 3u);
}

TEST_F(ScriptDebugger, ContinueRunsToTheNextBreakpoint)
{
    script.Debugger().SetBreakpoint(1, kBreakpointOn);
    script.Debugger().SetBreakpoint(4, kBreakpointOn);
    Start("a = 1\nb = 2\nc = 3\nd = 4\ne = 5\n");
    ExpectStop(1, "cmd: bk : 1\n");
    script.Debugger().Continue();
    ExpectStop(2, "cmd: bk : 1\ncmd: bk : 4\n");
    EXPECT_EQ(script.Word("c"), 3);
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Word("e"), 5);
}

// Step mode shows a loop's end line when the loop is left, and a goto's target line.
TEST_F(ScriptDebugger, NextShowsTheEndOfALoopAndTheLabelOfAJump)
{
    script.Debugger().SetBreakpoint(1, kBreakpointOn);
    Start("n = 0\nwhile n < 1 do\n  n = n + 1\nend\ngoto :L\nn = 9\n:L\n");
    ExpectStop(1, "cmd: bk : 1\n");
    std::string expected = "cmd: bk : 1\n";
    std::uint64_t stops = 1;
    for (int line : {2, 3, 4, 5, 7}) {
        script.Debugger().Next();
        expected += "cmd: bk : " + std::to_string(line) + "\n";
        ExpectStop(++stops, expected);
    }
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Word("n"), 1);
}

// A repeat loop shows its first line before each pass and its until line after it; a case
// shows the line of each case label it tries.
TEST_F(ScriptDebugger, NextWalksARepeatLoopAndACase)
{
    script.Debugger().SetBreakpoint(1, kBreakpointOn);
    Start("r = 0\nrepeat\n  r = r + 1\n  s = r\nuntil r == 2\ncase r of\n  1: s = 10\n  2: s = 20\nend\n");
    ExpectStop(1, "cmd: bk : 1\n");
    std::string expected = "cmd: bk : 1\n";
    std::uint64_t stops = 1;
    for (int line : {2, 3, 4, 5, 2, 3, 4, 5, 6, 7, 8}) {
        script.Debugger().Next();
        expected += "cmd: bk : " + std::to_string(line) + "\n";
        ExpectStop(++stops, expected);
    }
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Word("s"), 20);
}

// A script longer than 65535 lines: its line 65537 is a new line after line 1.
TEST_F(ScriptDebugger, StepModeStopsOnALineBeyond65535)
{
    script.Debugger().SetBreakpoint(1, kBreakpointOn);
    std::string text = "a = 1\n";
    text.append(65535, '\n');
    text += "b = 2\n";  // line 65537
    Start(text);
    ExpectStop(1, "cmd: bk : 1\n");
    script.Debugger().Next();
    ExpectStop(2, "cmd: bk : 1\ncmd: bk : 65537\n");
    script.Debugger().Continue();
    running.Join();
    EXPECT_EQ(script.Word("b"), 2);
}

TEST_F(ScriptDebugger, GetvalAtAStopReadsTheScriptsValues)
{
    script.Debugger().SetBreakpoint(4, kBreakpointOn);
    Start("x = 41\nx = x + 1\ns = \"a:b\" & b = false & h = 0xFF\nr = 1.5\ny = x\n");
    ExpectStop(1, "cmd: bk : 4\n");
    for (const char* name : {"x", "s", "b", "h"})
        script.Debugger().GetValue(name);
    script.Debugger().SetValue("x", "7");
    script.Debugger().SetValue("b", "TRUE");  // only "true" and "false" change a boolean
    script.Debugger().GetValue("x");
    script.Debugger().GetValue("b");
    EXPECT_EQ(script.Out(),
              "cmd: bk : 4\ncmd:val:x:0:42\ncmd:val:s:7:a:b\ncmd:val:b:6:false\ncmd:val:h:2:0xFF\n"
              "cmd:val:x:0:7\ncmd:val:b:6:false\n");
    script.Debugger().Continue();
    running.Join();
    EXPECT_DOUBLE_EQ(script.Real("r"), 1.5);
    EXPECT_EQ(script.Word("y"), 7);  // the script goes on with the value set at the stop
}

// "p|x" reads the x of procedure p's own scope; a path whose procedure does not exist reads
// the global x.
TEST_F(ScriptDebugger, GetvalReachesAProceduresScope)
{
    script.Debugger().SetBreakpoint(7, kBreakpointOn);
    Start("proc p(a = 1)\n  x = a + 1\nend\nx = 5\ncall p(2)\ny = 0\nz = 0\n");
    ExpectStop(1, "cmd: bk : 7\n");
    script.Debugger().GetValue("p|x");
    script.Debugger().GetValue("x");
    script.Debugger().GetValue("q|x");
    EXPECT_EQ(script.Out(), "cmd: bk : 7\ncmd:val:p|x:0:3\ncmd:val:x:0:5\ncmd:val:q|x:0:5\n");
    script.Debugger().Continue();
    running.Join();
}

}  // namespace
}  // namespace zov
