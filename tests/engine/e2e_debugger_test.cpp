// The debugger as the IDE drives it: the real zovrun runs a script from tests/engine/e2e/ and
// is steered through its standard input with setbkp, continue, next, break, getval, setval and
// exit, or ended by a signal while the script is stopped.

#include "EngineProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

namespace zov {
namespace {

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/e2e";
const std::string kBin = ZOV_BIN_DIR;
const std::string kRunStart = "ZOV Engine - Initialisation\neng:*** Analyse...\neng:*** Execution...\n";

// zovrun in the folder of the grammar tables, as the IDE starts it.
test::EngineProcess StartEngine()
{
    return test::EngineProcess({"-C", kBin, kBin + "/zovrun"}, "/usr/bin/env");
}

std::string Interpret(const std::string& script)
{
    return "interpret -dicofn \"" + kFixtures + "/basic.qzi\" -scriptfn \"" + kFixtures + "/" + script +
           "\" -params {}\n";
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Each answer is awaited before the next command goes out, as the IDE waits for what it shows.
TEST(EngineDebugger, BreakpointsStepsAndValuesThroughTheConsole)
{
    test::EngineProcess engine = StartEngine();
    engine.Send("notifyline -val 0\nsetbkp -line 4 -state on\n" + Interpret("debugger_steps.qzs"));
    ASSERT_TRUE(engine.WaitForOutput(kRunStart + "cmd: bk : 4\n"));
    engine.Send("getval -name n\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd: bk : 4\ncmd:val:n:0:0\n"));
    // continue: the loop comes back to line 4, a line entered afresh, and stops there again.
    engine.Send("continue\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd:val:n:0:0\ncmd: bk : 4\n"));
    engine.Send("getval -name n\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd:val:n:0:1\n"));
    // next without the breakpoint: line 4 runs, the loop's next pass stops on line 3.
    engine.Send("setbkp -line 4 -state off\nnext\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd: bk : 3\n"));
    engine.Send("getval -name i\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd:val:i:0:3\n"));
    engine.Send("continue\n");
    const test::ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.Exited());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, kRunStart +
                         "cmd: bk : 4\ncmd:val:n:0:0\ncmd: bk : 4\ncmd:val:n:0:1\ncmd: bk : 3\ncmd:val:i:0:3\n"
                         "trc: 7:n=6\neng:*** Fin execution\n");
    EXPECT_EQ(r.err, "");
}

// A script that would run for ever: break stops it, setval changes its loop condition, and
// continue lets it finish.
TEST(EngineDebugger, BreakStopsARunningScriptThatSetvalThenLetsEnd)
{
    test::EngineProcess engine = StartEngine();
    // The break goes out once the loop runs: sent on the Execution line, it could stop the
    // script before `go` is set.
    engine.Send("notifyline -val 1\n" + Interpret("debugger_spin.qzs"));
    ASSERT_TRUE(engine.WaitForOutput("cmd: run : 5\n"));
    engine.Send("notifyline -val 0\nbreak\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd: bk : "));
    engine.Send("getval -name go\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd:val:go:6:true\n")) << engine.Out();
    engine.Send("setval -name go -val false\ncontinue\n");
    const test::ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(Count(r.out, "cmd: bk : "), 1u) << r.out;
    const std::string end = "cmd:val:go:6:true\ntrc: 7:done\neng:*** Fin execution\n";
    ASSERT_GE(r.out.size(), end.size());
    EXPECT_EQ(r.out.substr(r.out.size() - end.size()), end) << r.out;
}

// A stopped script does not hold the process: exit ends it with status 0 and a signal with the
// signal's number, and nothing more of the run is written.
struct EndWhileStopped {
    const char* label;
    const char* command;  // sent at the stop, or null
    int signal;           // sent at the stop when no command is
    int status;
};

class EngineDebuggerEnd : public ::testing::TestWithParam<EndWhileStopped> {};

TEST_P(EngineDebuggerEnd, EndsTheProcessAtOnce)
{
    test::EngineProcess engine = StartEngine();
    engine.Send("notifyline -val 0\nsetbkp -line 4 -state on\n" + Interpret("debugger_steps.qzs"));
    ASSERT_TRUE(engine.WaitForOutput("cmd: bk : 4\n"));
    if (GetParam().command)
        engine.Send(GetParam().command);
    else
        engine.Signal(GetParam().signal);
    const test::ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.Exited());
    EXPECT_EQ(r.exitCode, GetParam().status);
    EXPECT_EQ(r.out, kRunStart + "cmd: bk : 4\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, EngineDebuggerEnd,
                         ::testing::Values(EndWhileStopped{"exit", "exit\n", 0, 0},
                                           EndWhileStopped{"sigterm", nullptr, SIGTERM, SIGTERM},
                                           EndWhileStopped{"sigint", nullptr, SIGINT, SIGINT},
                                           EndWhileStopped{"sighup", nullptr, SIGHUP, SIGHUP}),
                         [](const auto& param) { return std::string(param.param.label); });

}  // namespace
}  // namespace zov
