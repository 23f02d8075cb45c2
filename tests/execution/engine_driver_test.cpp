// The run driver with a real child: the fake engine of this folder records what it receives and
// plays the lines its script names; the last tests run the real zovrun of the build.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "DriverHarness.h"

namespace zov::execution {
namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class DriverRun : public ::testing::Test, public test::DriverHarness {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zov-driver-XXXXXX";
        root_ = ::mkdtemp(pattern);
        // Blanks in both folders: nothing on the way may split them.
        engineDir_ = root_ / "engine dir";
        tempDir_ = root_ / "temp dir";
        fs::create_directories(engineDir_);
        fs::create_directories(tempDir_);
        fs::copy_file(fs::path(ZOV_SOURCE_DIR) / "tests/execution/fake_engine", engineDir_ / "fake_engine");
        logPath_ = root_ / "stdin.log";
        ::setenv("FAKE_ENGINE_LOG", logPath_.c_str(), 1);
        host.settings.programFolder = root_.string();
        host.settings.enginePath = "engine dir";
        host.settings.engine = "fake_engine";
        host.settings.tempFolder = tempDir_.string();
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string Script(const std::string& name, const std::string& text)
    {
        const fs::path path = root_ / name;
        std::ofstream(path) << text;
        return path.string();
    }
    bool RunUntilEnded()
    {
        return queue.RunUntil([this] { return !Logged("ended").empty(); });
    }
    std::string Interpret(const std::string& script, const std::string& params = "")
    {
        return "interpret -dicofn \"" + tempDir_.string() + "/Temp.qzi\" -scriptfn \"" + script + "\" -params {" +
               params + "}\n\n";
    }
    std::string StdinLog() const { return ReadFile(logPath_); }

    fs::path root_, engineDir_, tempDir_, logPath_;
};

TEST_F(DriverRun, CommandsOfAFreshRunReachTheEngineInOrder)
{
    struct Case {
        const char* name;
        bool realTime;
        bool show;
        bool verify;
        bool withRecord;
        const char* ownParams;
        const char* setParams;
        std::string before;  // between the breakpoints and interpret
        std::string params;
    };
    const Case cases[] = {
        {"plain", false, true, false, false, "", "", "", ""},
        {"real-time", true, true, false, false, "", "", "debugstep\n\n", ""},
        {"verify, no display", false, false, true, false, "", "", "verify -val 1\n\nnotifyline -val 0\n\n", ""},
        {"all three", true, false, true, false, "", "", "debugstep\n\nverify -val 1\n\nnotifyline -val 0\n\n", ""},
        {"record params", false, true, false, true, "a;b", "set", "", "a;b"},
        {"test set params", false, true, false, true, "", "s1;s2", "", "s1;s2"},
    };
    const std::string script = Script("s.qzs", "x = 1\n");
    for (const Case& c : cases) {
        log.Clear();
        host.settings.realTimeVariables = c.realTime;
        host.settings.showExecution = c.show;
        RunRecord record{.testName = "t",
                         .testSetName = "set",
                         .hasTestSet = true,
                         .parameters = c.ownParams,
                         .testSetParameters = c.setParams};
        RunRecord* r = c.withRecord ? &record : nullptr;
        if (c.verify)
            driver.VerifyScript(script, {9, 3}, r);
        else
            driver.RunScript(script, {9, 3}, r);
        driver.StopScript();
        ASSERT_TRUE(RunUntilEnded()) << c.name;
        EXPECT_EQ(StdinLog(), "setbkp -line 3 -state on\n\nsetbkp -line 9 -state on\n\n" + c.before +
                                  Interpret(script, c.params) + "speed -val 0\n\ntimeout -val 30\n\nexit\n")
            << c.name;
        EXPECT_FALSE(driver.IsEngineRunning());
    }
    EXPECT_EQ(interfaces.written.back(), tempDir_.string() + "/Temp.qzi");
}

TEST_F(DriverRun, EngineStartsInItsFolderWithArgumentsByWindowsRules)
{
    host.settings.engineParams = R"(-v "a b" c\"d)";
    const fs::path before = fs::current_path();
    driver.RunScript(Script("s.qzs", ";> @exit 0\n"), {}, nullptr);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(ReadFile(logPath_.string() + ".argv"),
              "cwd=" + engineDir_.string() + "\narg=<-v>\narg=<a b>\narg=<c\"d>\n");
    EXPECT_EQ(fs::current_path(), before);  // the IDE's own folder never changes
}

TEST_F(DriverRun, PausedRunContinuesAndAnswersCommands)
{
    host.watched = {"a:b"};
    RunRecord record{.testName = "t"};
    const std::string script =
        Script("p.qzs", ";> cmd: bk : 2\n;> @pause\n;> trc: 3:42\n;> cmd: ok : 4 : fin\n;> @exit 0\n");
    driver.RunScript(script, {2}, &record);
    ASSERT_TRUE(queue.RunUntil([&] { return !Logged("var").empty(); }));
    EXPECT_TRUE(driver.IsPaused());
    EXPECT_EQ(Logged("var"), Events{"var a:b 0 7"});
    driver.SendSetVal("x:y", "31");
    driver.SendSetData("N", "V\nexit");
    driver.SendSync(7);
    driver.RunScript(script, {5, 2}, &record);  // F5 while paused: continue
    ASSERT_TRUE(RunUntilEnded());
    const std::string input = StdinLog();
    const std::string tail = input.substr(input.find("timeout -val 30\n\n") + 17);
    EXPECT_EQ(tail,
              "getval -name a|b\n"
              "setval -name x|y -val \"31\"\n\n"
              "setdata -name N -val \"V exit\"\n\n"
              "sync -val 7\n\n"
              "resetbkp\n\nsetbkp -line 2 -state on\n\nsetbkp -line 5 -state on\n\ncontinue\n");
    EXPECT_EQ(record.resultCode, kResultOk);
    EXPECT_EQ(record.resultLine, 4);
    EXPECT_EQ(record.resultText, "fin");
    EXPECT_EQ(record.history.size(), 1u);
    EXPECT_EQ(host.ended, 1);
    EXPECT_EQ(Logged("ended"), Events{"ended 0"});
}

TEST_F(DriverRun, StandardErrorLinesContinueInTheOrderWritten)
{
    driver.RunScript(Script("e.qzs", ";> out:[cli] x\n;> @stderr Erreur: CLI inexistant\n;> out: y\n;> @exit 0\n"), {},
                     nullptr);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(Logged("trace cli"),
              (Events{"trace cli - [cli] x", "trace cli - Erreur: CLI inexistant", "trace cli - y"}));
}

TEST_F(DriverRun, MissingEngineEndsOnceWithUnknownResult)
{
    host.settings.engine = "no-such-engine";
    RunRecord record{.testName = "t"};
    driver.RunScript(Script("s.qzs", ""), {}, &record);
    ASSERT_TRUE(RunUntilEnded());
    queue.RunPending();
    EXPECT_EQ(Logged("ended"), Events{"ended -1"});
    EXPECT_EQ(host.ended, 1);
    EXPECT_EQ(record.resultCode, kResultUnknown);
    EXPECT_EQ(sinks.runs.Find(record)->result,
              " T(???"
              ")");
    EXPECT_FALSE(driver.IsEngineRunning());
    EXPECT_FALSE(sinks.readOnly);
}

TEST_F(DriverRun, EndWithoutResultGivesUnknownAndTheRunsOwnLog)
{
    RunRecord record{.testName = "t"};
    driver.RunScript(Script("n.qzs", ";> trc: 1:x\n;> eng:*** Fin execution\n;> @exit 0\n"), {}, &record);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(record.resultCode, kResultUnknown);
    EXPECT_TRUE(record.history.empty());
    ASSERT_EQ(host.runLogs.size(), 1u);
    EXPECT_EQ(host.runLogs[0], "x\n");  // this run's script traces only
    EXPECT_EQ(driver.RunTraceText(), "");
}

TEST_F(DriverRun, StopAfterTheVerdictSendsNothing)
{
    RunRecord record{.testName = "t"};
    driver.RunScript(Script("o.qzs", ";> cmd: ok : 1 : a\n;> @pause\n"), {}, &record);
    ASSERT_TRUE(queue.RunUntil([&] { return record.resultCode == kResultOk; }));
    log.Clear();
    driver.StopScript();
    EXPECT_TRUE(Logged("send").empty());
    EXPECT_EQ(host.stopped, 0);
    // The real engine ends by itself after a verdict; the fake is ended from outside.
    ::kill(driver.Runner()->Pid(), SIGTERM);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(record.resultCode, kResultOk);
    EXPECT_EQ(host.ended, 0);  // a requested stop resets the view instead
    EXPECT_EQ(host.running, 0);
}

TEST_F(DriverRun, StopSendsExitAndLeavesLateLinesToNoRun)
{
    RunRecord record{.testName = "t"};
    const std::string script = Script("l.qzs", ";> @pause\n;> cmd: ok : 1 : stale\n");
    driver.RunScript(script, {}, &record);
    driver.StopScript();
    EXPECT_EQ(record.resultCode, kResultStopped);
    EXPECT_EQ(host.stopped, 1);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(record.resultCode, kResultStopped);  // the late verdict is not dispatched
    EXPECT_NE(driver.PendingText().find("stale"), std::string_view::npos);

    // The next run starts clean: the stale verdict is not credited to it.
    log.Clear();
    driver.RunScript(Script("m.qzs", ";> @exit 0\n"), {}, &record);
    EXPECT_EQ(driver.PendingText(), "");
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(record.resultCode, kResultUnknown);
}

TEST_F(DriverRun, NoInterfaceStartsNothing)
{
    interfaces.hasInterface = false;
    driver.RunScript(Script("s.qzs", ""), {}, nullptr);
    EXPECT_EQ(Logged("box"), Events{"box Impossible de lancer le script. Aucune interface présente !"});
    EXPECT_FALSE(driver.IsEngineRunning());
    EXPECT_EQ(driver.Runner(), nullptr);
}

// The real engine of the build.
class RealEngine : public DriverRun {
protected:
    void SetUp() override
    {
        DriverRun::SetUp();
        host.settings.programFolder = ZOV_BIN_DIR;
        host.settings.enginePath = "";
        host.settings.engine = "zovrun";
        const std::string qzi = Script("source.qzi", ";vide\n");
        interfaces.source = qzi;
        script_ = Script("real.qzs", "x = 1\ny = 2\ntrace(42)\nok(\"fin\")\n");
    }
    std::string script_;
};

TEST_F(RealEngine, BreakpointWatchContinueAndVerdict)
{
    host.watched = {"x"};
    RunRecord record{.testName = "t"};
    driver.RunScript(script_, {2}, &record);
    ASSERT_TRUE(queue.RunUntil([&] { return !Logged("var").empty(); }));
    EXPECT_EQ(Logged("paused"), Events{"paused 2"});
    EXPECT_EQ(sinks.executionLine, 2);  // line index 1 of the buffer
    EXPECT_EQ(Logged("var"), Events{"var x 0 1"});
    EXPECT_TRUE(driver.IsPaused());
    driver.RunScript(script_, {2}, &record);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(Logged("trace script"), Events{"trace script 3 42"});
    EXPECT_EQ(record.resultCode, kResultOk);
    EXPECT_EQ(record.resultLine, 4);
    EXPECT_EQ(record.resultText, "fin");
    EXPECT_EQ(record.history.size(), 1u);
    EXPECT_EQ(Logged("ended").size(), 1u);
    EXPECT_EQ(driver.PendingText(), "");
}

TEST_F(RealEngine, VerificationGivesVerifiedWithoutHistory)
{
    RunRecord record{.testName = "t"};
    driver.VerifyScript(script_, {}, &record);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(record.resultCode, kResultVerified);
    EXPECT_TRUE(record.history.empty());
    EXPECT_EQ(sinks.runs.Find(record)->result, " T(Vérifié)");
    EXPECT_TRUE(host.verifyFlag);
}

TEST_F(RealEngine, ScriptErrorGivesErrorResult)
{
    RunRecord record{.testName = "t"};
    driver.RunScript(Script("bad.qzs", "x = = 1\n"), {}, &record);
    ASSERT_TRUE(RunUntilEnded());
    EXPECT_EQ(record.resultCode, kResultError);
    EXPECT_FALSE(Logged("error").empty());
    EXPECT_TRUE(driver.HasError());
}

}  // namespace
}  // namespace zov::execution
