// The real zovrun running scripts that call procedures, built-ins and the functions of a test
// CLI (tests/engine/e2e/calls_*). Standard output is compared line for line with the golden
// files there. The engine runs in the folder of the programs, where it finds its grammar tables
// and the test CLI by its bare name.

#include "EngineProcess.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <string>

namespace zov {
namespace {

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/e2e";
const std::string kBin = ZOV_BIN_DIR;

using zov::test::ReadFile;

test::ProcessResult RunScript(const std::string& script)
{
    test::EngineProcess engine({"-C", kBin, kBin + "/zovrun"}, "/usr/bin/env");
    EXPECT_TRUE(engine.Started());
    engine.Send("notifyline -val 0\ninterpret -dicofn \"" + kFixtures + "/calls_cli.qzi\" -scriptfn \"" + kFixtures +
                "/" + script + ".qzs\" -params {}\n");
    return engine.Finish();
}

class CallsEndToEnd : public testing::TestWithParam<const char*> {};

TEST_P(CallsEndToEnd, WritesExactlyTheGoldenLines)
{
    const std::string name = GetParam();
    const test::ProcessResult result = RunScript(name);
    EXPECT_FALSE(result.timedOut);
    EXPECT_TRUE(result.Exited());
    EXPECT_EQ(result.exitCode, 1);
    const std::string golden = ReadFile(kFixtures + "/" + name + ".out");
    ASSERT_FALSE(golden.empty()) << name;
    EXPECT_EQ(result.out, golden) << name;
}

// calls_cli: a CLI started from its declaration; functions of every return type with and
// without parameters; argument texts; echo lines named after the handle variable; `with`; a
// time-out that jumps to :TIMEOUT; ok, nok and warning with the condition form.
// calls_procedures: defaults, recursion, call as a statement and as a value, trace of mixed
// values, the built-ins of the call node. calls_no_cli: a call on a CLI that did not start.
// calls_errors, calls_type_errors: the analysis messages of calls. calls_quote: an argument
// with a double quote stops the run.
INSTANTIATE_TEST_SUITE_P(Scripts, CallsEndToEnd,
                         testing::Values("calls_cli", "calls_procedures", "calls_no_cli", "calls_errors",
                                         "calls_type_errors", "calls_quote"));

TEST(CallsEndToEnd, ACliThatDoesNotStartIsReportedOnStandardError)
{
    const test::ProcessResult result = RunScript("calls_no_cli");
    EXPECT_NE(result.err.find("Erreur: Impossible d'executer le CLI ou le CLI est inexistant\n"), std::string::npos);
}

// While the script waits (a sync value, imported data, a CLI reply), the IDE's setval and
// getval are answered at once: each wait here ends only when the test has seen the answer.
TEST(CallsEndToEnd, GetvalAndSetvalAreAnsweredWhileTheScriptWaits)
{
    test::EngineProcess engine({"-C", kBin, kBin + "/zovrun"}, "/usr/bin/env");
    ASSERT_TRUE(engine.Started());
    engine.Send("notifyline -val 0\ntimeout -val 600\ninterpret -dicofn \"" + kFixtures +
                "/calls_cli.qzi\" -scriptfn \"" + kFixtures + "/calls_waits.qzs\" -params {}\n");
    const struct {
        const char* waiting;  // the trace line written just before the wait
        const char* value;
        const char* release;  // the console line that ends the wait
        // The line that shows the wait has begun, or null: `getval` may be answered at the line
        // report before the wait, and a `setdata` sent before "imp:" is cleared by importdata.
        const char* begun;
    } waits[] = {
        {"trc: 2:sync\n", "11", "sync -val 3\n", nullptr},
        {"trc: 4:import\n", "12", "setdata -name k -val v\n", "imp: k\n"},
        {"trc: 7:cli\n", "13", "exit\n", nullptr},
    };
    for (const auto& wait : waits) {
        ASSERT_TRUE(engine.WaitForOutput(wait.waiting)) << wait.waiting;
        engine.Send(std::string("setval -name x -val ") + wait.value + "\ngetval -name x\n");
        EXPECT_TRUE(engine.WaitForOutput(std::string("cmd:val:x:0:") + wait.value + "\n")) << wait.waiting;
        if (wait.begun) {
            ASSERT_TRUE(engine.WaitForOutput(wait.begun)) << wait.begun;
        }
        engine.Send(wait.release);
    }
    const test::ProcessResult result = engine.Finish();
    EXPECT_FALSE(result.timedOut);
    EXPECT_TRUE(result.Exited());
    EXPECT_EQ(result.exitCode, 0);  // ended by `exit` in the middle of the CLI wait
}

}  // namespace
}  // namespace zov
