// The real zovrun leaves nothing running behind it, however it ends: CLIs being started while
// it ends, programs of `run` and `exec`, helpers a CLI started, CLIs that ignore their exit command.
// Leftovers are found through the process table: this test adopts every orphan (it is the
// subreaper of its descendants), so whatever the engine left is a child of the test.
// Fixtures: tests/engine/e2e/outlive*.

#include "../support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <fcntl.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <sys/wait.h>
#include <vector>

namespace zov {
namespace {

using namespace std::chrono_literals;

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/e2e";
const std::string kBin = ZOV_BIN_DIR;

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

// The orphans adopted by this test that are still alive once `deadline` has passed (the dead
// ones are reaped on the way). Whatever is left is killed, so that one failure does not leak
// into the next test.
std::vector<pid_t> AdoptedLeftovers(std::chrono::steady_clock::duration within, pid_t engine = 0)
{
    const auto deadline = std::chrono::steady_clock::now() + within;
    std::vector<pid_t> alive;
    do {
        // Only orphans: a running engine is reaped by its own object.
        alive.clear();
        for (pid_t pid : ChildrenOf(::getpid())) {
            if (pid != engine && ::waitpid(pid, nullptr, WNOHANG) == 0)
                alive.push_back(pid);
        }
    } while (!alive.empty() && std::chrono::steady_clock::now() < deadline);
    for (pid_t pid : alive) {
        // With what it started: a leftover's own children would be adopted only once it is gone.
        ::kill(-pid, SIGKILL);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    return alive;
}

class Engine : public test::ChildProcess {
public:
    Engine() : ChildProcess(kBin + "/zovrun", {}, kBin) {}
    // Under a limit of its address space, through the shell's ulimit.
    explicit Engine(long limitKb)
        : ChildProcess("/bin/sh", {"-c", "ulimit -v " + std::to_string(limitKb) + " && exec ./zovrun"}, kBin)
    {}

    void Run(const std::string& script, const std::string& before = "")
    {
        Send("notifyline -val 0\n" + before + "interpret -dicofn \"" + kFixtures + "/outlive.qzi\" -scriptfn \"" +
             kFixtures + "/" + script + "\" -params {}\n");
    }
};

class NothingOutlives : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        ASSERT_TRUE(AdoptedLeftovers(0s).empty());
    }
};

// Ending while a script starts and stops a CLI in a loop: the end meets a start at every stage.
TEST_F(NothingOutlives, AnEndDuringCliStartsLeavesNoCli)
{
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        const bool bySignal = round % 2 == 0;
        {
            Engine engine;
            engine.Run("outlive_start_loop.qzs");
            ASSERT_TRUE(engine.WaitForOutput("trc: 1:looping\n")) << engine.Out();
            if (bySignal)
                engine.Signal(SIGTERM);
            else
                engine.Send("exit\n");
            ASSERT_TRUE(engine.WaitForEnd(60s));
            EXPECT_EQ(engine.Result().exitCode, bySignal ? SIGTERM : 0);
        }
        EXPECT_EQ(AdoptedLeftovers(2s), std::vector<pid_t>{});
    }
}

// The program that `run` waits for ends with the engine, and so does what it started.
TEST_F(NothingOutlives, AProgramOfRunEndsWithTheEngine)
{
    for (const bool bySignal : {true, false}) {
        SCOPED_TRACE(bySignal);
        {
            Engine engine;
            engine.Run("outlive_run.qzs");
            ASSERT_TRUE(engine.WaitForOutput("trc: 1:running\n")) << engine.Out();
            // The program has started once the engine has a child other than nothing.
            const auto deadline = std::chrono::steady_clock::now() + 10s;
            while (ChildrenOf(engine.Pid()).empty() && std::chrono::steady_clock::now() < deadline) {
            }
            ASSERT_FALSE(ChildrenOf(engine.Pid()).empty());
            if (bySignal)
                engine.Signal(SIGTERM);
            else
                engine.Send("exit\n");
            ASSERT_TRUE(engine.WaitForEnd(60s)) << "the engine waited for the program";
            EXPECT_EQ(engine.Out().find("after"), std::string::npos);
        }
        EXPECT_EQ(AdoptedLeftovers(2s), std::vector<pid_t>{});
    }
}

// A program started by `exec` runs beside the script, and what it started with it; neither
// outlives the engine, whether it is told to end or sent a signal.
TEST_F(NothingOutlives, AProgramOfExecEndsWithTheEngine)
{
    for (const bool bySignal : {true, false}) {
        SCOPED_TRACE(bySignal);
        {
            Engine engine;
            engine.Run("outlive_exec.qzs");
            ASSERT_TRUE(engine.WaitForOutput("trc: 2:started\n")) << engine.Out();
            ASSERT_FALSE(ChildrenOf(engine.Pid()).empty());
            if (bySignal)
                engine.Signal(SIGTERM);
            else
                engine.Send("exit\n");
            ASSERT_TRUE(engine.WaitForEnd(60s));
            EXPECT_EQ(engine.Out().find("after"), std::string::npos);
        }
        EXPECT_EQ(AdoptedLeftovers(2s), std::vector<pid_t>{});
    }
}

// A CLI that obeys its exit command takes the helper it started with it, at once, not only at
// the end of the engine.
TEST_F(NothingOutlives, AHelperOfACliEndsWithTheCli)
{
    Engine engine;
    engine.Run("outlive_helper.qzs");
    ASSERT_TRUE(engine.WaitForOutput("trc: 4:quit\n")) << engine.Out();
    EXPECT_EQ(AdoptedLeftovers(5s, engine.Pid()), std::vector<pid_t>{});
    engine.Send("exit\n");
    ASSERT_TRUE(engine.WaitForEnd(60s));
}

// Six CLIs that ignore their exit command share one grace window: every exit command goes out
// first. One after the other they would take six windows (here 6 x 3 s).
TEST_F(NothingOutlives, ClisThatIgnoreTheirExitCommandShareOneWindow)
{
    const auto start = std::chrono::steady_clock::now();
    {
        Engine engine;
        engine.Run("outlive_deaf_six.qzs", "timeout -val 3\n");
        const test::ProcessResult result = engine.Finish(false);
        ASSERT_TRUE(result.Exited()) << result.out;
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took, 12s);
        std::size_t forced = 0;
        for (std::size_t at = result.err.find("Terminaison forcee"); at != std::string::npos;
             at = result.err.find("Terminaison forcee", at + 1))
            ++forced;
        EXPECT_EQ(forced, 6u) << result.out << result.err;
    }
    EXPECT_EQ(AdoptedLeftovers(2s), std::vector<pid_t>{});
}

// Memory running out in the middle of a run is a run-time error like any other: its line is
// written, the run ends, and its CLI is stopped rather than left behind by an abort.
TEST_F(NothingOutlives, RunningOutOfMemoryEndsTheRunWithItsClis)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    // A sanitizer's allocator reserves its own address space and ends the process on a failed
    // allocation, so an address-space limit cannot show the engine's own handling.
    GTEST_SKIP() << "not meaningful under a sanitizer";
#endif
    {
        Engine engine(1500000);
        engine.Run("outlive_memory.qzs");
        ASSERT_TRUE(engine.WaitForEnd(120s)) << engine.Out();
        EXPECT_EQ(engine.Result().exitCode, 1) << engine.Out() << engine.Err();
        EXPECT_NE(engine.Out().find("trc: 4:filling\nerr: 006 : Memoire insuffisante\n"), std::string::npos)
            << engine.Out().substr(0, 2000);
        EXPECT_NE(engine.Out().find("eng:*** Fin execution\n"), std::string::npos);
        EXPECT_EQ(engine.Out().find("after"), std::string::npos);
    }
    EXPECT_EQ(AdoptedLeftovers(2s), std::vector<pid_t>{});
}

// The IDE's reading end of the output goes while the engine's input stays open (another process
// holds it): the engine ends, with the CLI of its run, instead of running on unread.
TEST_F(NothingOutlives, AnEngineWhoseOutputNobodyReadsEnds)
{
    int in[2];
    int out[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addchdir_np(&actions, kBin.c_str());
    const std::string program = kBin + "/zovrun";
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t engine = 0;
    ASSERT_EQ(::posix_spawn(&engine, program.c_str(), &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    const std::string commands = "notifyline -val 0\ninterpret -dicofn \"" + kFixtures + "/outlive.qzi\" -scriptfn \"" +
                                 kFixtures + "/ide_end_spin.qzs\" -params {}\n";
    ASSERT_EQ(::write(in[1], commands.data(), commands.size()), static_cast<ssize_t>(commands.size()));
    // Once the script spins, its CLIs are there; then the output loses its reader.
    std::string seen;
    char buffer[4096];
    while (seen.find("spinning") == std::string::npos) {
        const ssize_t got = ::read(out[0], buffer, sizeof buffer);
        ASSERT_GT(got, 0) << seen;
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(out[0]);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    int status = 0;
    pid_t got = 0;
    while ((got = ::waitpid(engine, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
        ::usleep(10000);
    }
    if (got == 0) {
        ::kill(engine, SIGKILL);
        ::waitpid(engine, &status, 0);
    }
    ::close(in[1]);
    EXPECT_EQ(got, engine) << "the engine ran on with nobody reading it";
    EXPECT_EQ(AdoptedLeftovers(2s), std::vector<pid_t>{});
}

}  // namespace
}  // namespace zov
