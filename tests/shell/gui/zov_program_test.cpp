// The zov program itself, run from a private program folder (its settings and help live beside
// it) with a private temporary base, offscreen.

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
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
    pid_t Start(const std::vector<std::string>& args, bool offscreen = true)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            const int out = ::open((root_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = ::open((root_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, 1);
            ::dup2(err, 2);
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
        return child;
    }
    static int Wait(pid_t child)
    {
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    // The instance's temporary folder exists once start-up has claimed it.
    bool WaitForTempFolder(bool present, std::chrono::seconds limit = std::chrono::seconds(30))
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            if (HasTempFolder() == present)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
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

    fs::path root_;
};

TEST_F(ZovProgramTest, EndingSignalsCloseTheWindowAndRemoveTheTempFolder)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const pid_t child = Start({});
        ASSERT_TRUE(WaitForTempFolder(true)) << signal;
        // Past start-up: the window is there once the event loop runs (the folder comes first).
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
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

TEST_F(ZovProgramTest, ABatchWithoutDisplayRunsOffscreenByItself)
{
    zov::WriteFileAtomically(root_ / "work" / "b.qzb",
                             "<?xml version=\"1.0\" ?>\n<ZOVBatch><Options><Hide>1</Hide></Options></ZOVBatch>\n");
    const pid_t child = Start({"b.qzb"}, false);
    // The batch runner is not part of the program yet: the batch fails and says so on stderr.
    EXPECT_EQ(Wait(child), 1);
    EXPECT_NE(Read("stderr").find("b.qzb"), std::string::npos) << Read("stderr");
    EXPECT_EQ(Read("stdout"), "");
}

}  // namespace
