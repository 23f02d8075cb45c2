// The zov program itself, run from a private program folder (its settings and help live beside
// it) with a private temporary base, offscreen.

#include "common/AtomicFile.h"
#include "common/process/ProcessSpawn.h"
#include "ide/project/model/BatchFile.h"
#include "ide/project/model/ProjectModel.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class ZovProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_program_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        fs::create_directories(root_ / "tmp");
        fs::create_directories(root_ / "work");
        fs::copy_file(fs::path(ZOV_BIN_DIR) / "zov", root_ / "prog" / "zov");
        zov::WriteFileAtomically(root_ / "prog" / "ZOV.ini", "[Preferences]\nNoSplash=1\n");
        zov::WriteFileAtomically(root_ / "prompts", "");
    }
    void TearDown() override { fs::remove_all(root_); }

    // Starts zov with the arguments; the display is taken away so that only the offscreen
    // platform can serve.
    // Its stderr comes through a pipe (read by WaitForShown and Wait) and it announces its first
    // shown frame there.
    pid_t Start(const std::vector<std::string>& args, bool offscreen = true)
    {
        int pipeEnds[2] = {-1, -1};
        if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
            return -1;
        errors_.clear();
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = ::open((root_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(pipeEnds[1], 2);
            ::setenv("ZOV_IDE_REPORT_SHOWN", "1", 1);
            ::chdir((root_ / "work").c_str());
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            if (offscreen)
                ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            else
                ::unsetenv("QT_QPA_PLATFORM");
            ::setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
            // Every prompt answered from an empty script (escaped) and logged.
            ::setenv("ZOV_IDE_PROMPTER_SCRIPT", (root_ / "prompts").c_str(), 1);
            ::setenv("ZOV_IDE_PROMPTER_LOG", (root_ / "prompts.log").c_str(), 1);
            std::vector<std::string> all = {(root_ / "prog" / "zov").string()};
            all.insert(all.end(), args.begin(), args.end());
            std::vector<char*> argv;
            for (std::string& arg : all)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(pipeEnds[1]);
        errorPipe_.Reset(pipeEnds[0]);
        return child;
    }
    // Reads the child's stderr until it announces its first shown frame, or the pipe ends, or
    // the time is up. True once announced.
    bool WaitForShown(std::chrono::seconds limit = std::chrono::seconds(30))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (errors_.find(kShown) == std::string::npos) {
            if (!ReadErrors(-1, deadline))
                return false;
        }
        return true;
    }
    // The child's exit status, 128 + signal when killed, or -1 (the child killed) when it has not
    // ended in time; its stderr is read to the end meanwhile.
    int Wait(pid_t child, std::chrono::seconds limit = std::chrono::seconds(30))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const zov::UniqueFd ended = zov::OpenProcessFd(child);
        const int endedFd = ended.IsOpen() ? ended.Get() : -1;
        // Woken by the process descriptor, or by the pipe's end where the kernel has none.
        while (endedFd < 0 || !Ended(endedFd)) {
            if (ReadErrors(endedFd, deadline))
                continue;
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
                return -1;
            }
            break;
        }
        int status = 0;
        if (::waitpid(child, &status, 0) != child)
            return -1;
        while (ReadErrors(-1, std::chrono::steady_clock::now() + std::chrono::seconds(5))) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    static bool Ended(int processFd)
    {
        pollfd probe{processFd, POLLIN, 0};
        return ::poll(&probe, 1, 0) == 1;
    }
    // One wake-up: data on the pipe (kept in errors_) or the process fd readable. False when the
    // pipe is closed or the deadline passed.
    bool ReadErrors(int processFd, std::chrono::steady_clock::time_point deadline)
    {
        if (!errorPipe_.IsOpen() && processFd < 0)
            return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd fds[2];
        nfds_t count = 0;
        if (errorPipe_.IsOpen())
            fds[count++] = {errorPipe_.Get(), POLLIN, 0};
        if (processFd >= 0)
            fds[count++] = {processFd, POLLIN, 0};
        if (::poll(fds, count, static_cast<int>(left)) <= 0)
            return false;
        if (errorPipe_.IsOpen() && fds[0].revents != 0) {
            char chunk[4096];
            const ssize_t got = ::read(errorPipe_.Get(), chunk, sizeof chunk);
            if (got <= 0) {
                errorPipe_.Reset();
                return processFd >= 0;
            }
            errors_.append(chunk, static_cast<std::size_t>(got));
        }
        return true;
    }
    bool HasTempFolder() const
    {
        std::error_code error;
        for (const auto& base : fs::directory_iterator(root_ / "tmp", error)) {
            for (const auto& entry : fs::directory_iterator(base.path(), error)) {
                if (entry.path().filename().string().rfind("ZOV_TMP", 0) == 0)
                    return true;
            }
        }
        return false;
    }
    std::string Read(const char* name) const { return zov::ReadWholeFile(root_ / name).value_or("?"); }

    static constexpr std::string_view kShown = "zov: first frame shown\n";
    fs::path root_;
    zov::UniqueFd errorPipe_;
    std::string errors_;  // the child's stderr so far
};

TEST_F(ZovProgramTest, EndingSignalsCloseTheWindowAndRemoveTheTempFolder)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = Start({});
        ASSERT_GT(child, 0);
        // Past start-up: the window has painted its first frame.
        ASSERT_TRUE(WaitForShown()) << signal << errors_;
        EXPECT_TRUE(HasTempFolder()) << signal;
        ::kill(child, signal);
        EXPECT_EQ(Wait(child), 0) << signal;
        EXPECT_FALSE(HasTempFolder()) << signal;
        EXPECT_EQ(Read("stdout"), "");
    }
}

TEST_F(ZovProgramTest, AFileThatDoesNotOpenFailsTheStartUp)
{
    zov::WriteFileAtomically(root_ / "work" / "data.bin", "x");
    const pid_t child = Start({"data.bin"});
    EXPECT_EQ(Wait(child), 1);
    EXPECT_FALSE(HasTempFolder());
    EXPECT_NE(Read("prompts.log").find("Impossible de charger le fichier:"), std::string::npos) << Read("prompts.log");
}

// The batch runs its entry's project, writes the entry's results file and report, and the program
// ends by itself with status 0.
TEST_F(ZovProgramTest, ABatchWithoutDisplayRunsOffscreenByItself)
{
    zov::project::ProjectModel model;
    model.Name = "p";
    model.InterfacePath = (root_ / "work" / "p.qzi").string();
    zov::WriteFileAtomically(root_ / "work" / "p.qzi", ";\r\n");
    auto version = std::make_unique<zov::project::CVersion>();
    version->Id = 1;
    version->Name = "V1";
    model.Versions.push_back(std::move(version));
    zov::project::CCampaign& campaign = *model.AddCampaign("C", zov::project::kAddAtEnd, 0, nullptr);
    zov::project::CTestSet& set = *model.AddTestSet(campaign, "S", zov::project::kAddAtEnd, 0, 0, 0, nullptr);
    zov::WriteFileAtomically(root_ / "work" / "a.qzs", "ok(\"fin\")\r\n");
    model.AddTest(set, "a.qzs", "A", zov::project::kAddAtEnd, 0, nullptr, 0);
    ASSERT_TRUE(model.SaveProjectFile((root_ / "work" / "p.qzp").string()));
    zov::project::BatchEntries entries;
    entries.push_back(std::make_unique<zov::project::CBatchEntry>());
    entries.back()->Filename = (root_ / "work" / "p.qzp").string();
    entries.back()->Version = "V1";
    entries.back()->Report = (root_ / "work" / "r.csv").string();
    ASSERT_TRUE(zov::project::WriteBatchFile((root_ / "work" / "b.qzb").string(), 1, entries));

    const pid_t child = Start({"b.qzb"}, false);
    EXPECT_EQ(Wait(child), 0) << errors_ << Read("prompts.log");
    EXPECT_TRUE(fs::exists(root_ / "work" / "p.res"));
    EXPECT_TRUE(fs::exists(root_ / "work" / "r.csv"));
    EXPECT_EQ(Read("stdout"), "");
}

}  // namespace
