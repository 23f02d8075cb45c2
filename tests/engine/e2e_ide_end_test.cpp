// The real zovrun when its IDE goes away: standard input closed (the commands are over) or the
// whole parent gone (input closed and nobody reading the output), and when it is ended by a
// signal or `exit` while a script waits for a CLI. The engine must end within a bounded time
// and take its CLIs with it. Fixtures: tests/engine/e2e/ide_end*.

#include "../support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zov {
namespace {

using namespace std::chrono_literals;

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/e2e";
const std::string kBin = ZOV_BIN_DIR;

// The direct children of a process (its CLIs, for the engine), whichever thread started them.
std::vector<pid_t> ChildrenOf(pid_t pid)
{
    std::vector<pid_t> children;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "children");
        pid_t child = 0;
        while (in >> child)
            children.push_back(child);
    }
    return children;
}

bool ProcessExists(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// One engine in the folder of the programs, with its three standard streams on pipes.
class Engine : public test::ChildProcess {
public:
    Engine() : ChildProcess(kBin + "/zovrun", {}, kBin) {}

    void Run(const std::string& script, const std::string& before = "")
    {
        Send("notifyline -val 0\ntimeout -val 600\n" + before + "interpret -dicofn \"" + kFixtures +
             "/ide_end.qzi\" -scriptfn \"" + kFixtures + "/" + script + "\" -params {}\n");
    }
};

// Where the IDE goes away, and the line that shows the script has got there.
struct Moment {
    const char* name;
    const char* script;
    const char* before;  // console lines before `interpret`
    const char* reached;
};

const Moment kMoments[] = {
    {"StoppedAtABreakpoint", "ide_end_stop.qzs", "setbkp -line 3 -state on\nnotifyline -val 1\n", "cmd: bk : 3\n"},
    // The deaf CLI neither answers nor obeys its exit command: it has to be ended by force.
    {"WaitingForACli", "ide_end_wait.qzs", "", "trc: 3:waiting\n"},
    {"Running", "ide_end_spin.qzs", "", "trc: 4:spinning\n"},
};

class IdeGone : public testing::TestWithParam<Moment> {};

// The reply time-out is 600 s: an engine that waited for it, or for a `continue`, would still
// run at the deadline.
TEST_P(IdeGone, TheEngineEndsAndTakesItsClisWithIt)
{
    Engine engine;
    ASSERT_GT(engine.Pid(), 0);
    engine.Run(GetParam().script, GetParam().before);
    ASSERT_TRUE(engine.WaitForOutput(GetParam().reached)) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    EXPECT_FALSE(clis.empty());
    engine.Vanish();
    ASSERT_TRUE(engine.WaitForEnd(60s)) << "the engine outlived its IDE";
    EXPECT_EQ(engine.Result().exitCode, 1);
    for (pid_t cli : clis)
        EXPECT_FALSE(ProcessExists(cli)) << "CLI " << cli << " outlived the engine";
}

INSTANTIATE_TEST_SUITE_P(Moments, IdeGone, testing::ValuesIn(kMoments),
                         [](const testing::TestParamInfo<Moment>& param) { return param.param.name; });

// Commands fed by a pipe that closes after `interpret` (a shell running a script): the run
// goes on to its end, since its output is still read.
TEST(IdeInputClosed, ARunWithoutStopsGoesOnToItsEnd)
{
    Engine engine;
    engine.Run("ide_end_stop.qzs");
    engine.CloseInput();
    ASSERT_TRUE(engine.WaitForEnd(60s));
    EXPECT_EQ(engine.Result().exitCode, 1);
    EXPECT_NE(engine.Out().find("trc: 2:one\ntrc: 3:two\ntrc: 4:three\neng:*** Fin execution\n"), std::string::npos)
        << engine.Out();
}

// No `continue` can come once the input is closed: the stop ends the run instead of waiting
// for ever, and the CLI is stopped with it.
TEST(IdeInputClosed, AStopEndsTheRunWithItsClis)
{
    Engine engine;
    engine.Run("ide_end_stop.qzs", "setbkp -line 3 -state on\n");
    ASSERT_TRUE(engine.WaitForOutput("cmd: bk : 3\n")) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    ASSERT_EQ(clis.size(), 1u);
    engine.CloseInput();
    ASSERT_TRUE(engine.WaitForEnd(60s));
    EXPECT_EQ(engine.Result().exitCode, 1);
    // The end says why it came.
    EXPECT_NE(engine.Out().find("cmd: bk : 3\n"
                                "eng: Entree des commandes fermee pendant l'arret en ligne 3: fin de l'execution.\n"
                                "eng:*** Fin execution\n"),
              std::string::npos)
        << engine.Out();
    EXPECT_EQ(engine.Out().find("three"), std::string::npos);
    EXPECT_FALSE(ProcessExists(clis[0]));
}

// A signal or `exit` while the script waits for a CLI reply with a time-out of 600 s. Either
// gives a CLI that ignores its exit command a short grace, not the reply time-out.
struct Ending {
    const char* name;
    int signal;
    int status;
};

const Ending kEndings[] = {
    {"Sigterm", SIGTERM, SIGTERM},
    {"Sigint", SIGINT, SIGINT},
    {"Sighup", SIGHUP, SIGHUP},
};

class EndDuringCliWait : public testing::TestWithParam<Ending> {};

TEST_P(EndDuringCliWait, EndsPromptlyWithoutLeavingTheCli)
{
    Engine engine;
    engine.Run("ide_end_wait.qzs");
    ASSERT_TRUE(engine.WaitForOutput("trc: 3:waiting\n")) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    ASSERT_EQ(clis.size(), 2u);
    engine.Signal(GetParam().signal);
    ASSERT_TRUE(engine.WaitForEnd(60s)) << "still waiting for the CLI";
    EXPECT_EQ(engine.Result().exitCode, GetParam().status);
    EXPECT_EQ(engine.Out().find("after"), std::string::npos);
    for (pid_t cli : clis)
        EXPECT_FALSE(ProcessExists(cli));
}

INSTANTIATE_TEST_SUITE_P(Endings, EndDuringCliWait, testing::ValuesIn(kEndings),
                         [](const testing::TestParamInfo<Ending>& param) { return param.param.name; });

TEST(EndDuringCliWait, ExitEndsWithStatusZeroWithoutLeavingTheCli)
{
    Engine engine;
    engine.Run("ide_end_wait.qzs");
    ASSERT_TRUE(engine.WaitForOutput("trc: 3:waiting\n")) << engine.Out();
    const std::vector<pid_t> clis = ChildrenOf(engine.Pid());
    ASSERT_EQ(clis.size(), 2u);
    engine.Send("exit\n");
    ASSERT_TRUE(engine.WaitForEnd(60s)) << "still waiting for the CLI";
    EXPECT_EQ(engine.Result().exitCode, 0);
    EXPECT_EQ(engine.Out().find("after"), std::string::npos);
    for (pid_t cli : clis)
        EXPECT_FALSE(ProcessExists(cli));
}

}  // namespace
}  // namespace zov
