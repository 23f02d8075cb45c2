// Splitting Windows command lines, finding programs, spawning without a shell.
#include "common/process/ProcessSpawn.h"

#include "process_checks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zov {
namespace {

const std::string kProgram = std::string(ZOV_BIN_DIR) + "/zovtestprog";

std::string ReadAll(int fd)
{
    std::string out;
    char buffer[4096];
    while (true) {
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, 10000);
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            out.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EAGAIN)
            return out;
    }
}

TEST(SplitCommandLine, FollowsWindowsQuoteRules)
{
    struct Case {
        std::string line;
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {"prog a b", {"prog", "a", "b"}},
        {"  prog\t a  ", {"prog", "a"}},
        {R"("C:\Program Files\x.exe" -f "a b")", {R"(C:\Program Files\x.exe)", "-f", "a b"}},
        {R"(p a\\b)", {"p", R"(a\\b)"}},        // backslashes alone are literal
        {R"(p a\"b)", {"p", R"(a"b)"}},         // odd run: literal quote
        {R"(p "a\\" b)", {"p", R"(a\)", "b"}},  // even run: quote closes
        {R"(p "a""b")", {"p", R"(a"b)"}},       // doubled quote inside quotes
        {R"(p ab"c d"e)", {"p", "abc de"}},
        {R"(p "")", {"p", ""}},
        {R"(p\dir\x y)", {R"(p\dir\x)", "y"}},  // program name keeps backslashes
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitCommandLine(c.line), c.args) << c.line;
}

class InTempFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zov-spawn-XXXXXX";
        folder_ = ::mkdtemp(pattern);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }
    static void MakeExecutable(const std::string& path)
    {
        std::ofstream(path) << "#!/bin/sh\n";
        ::chmod(path.c_str(), 0755);
    }
    std::string folder_;
    std::filesystem::path previous_;
};

TEST_F(InTempFolder, FindsBareNamesInTheCurrentFolderBeforePath)
{
    MakeExecutable("sh");
    EXPECT_EQ(FindProgram("sh"), "./sh");
    std::filesystem::remove("sh");
    const auto found = FindProgram("sh");
    ASSERT_TRUE(found);
    EXPECT_NE(found->find("/sh"), std::string::npos);
    EXPECT_NE(*found, "./sh");
}

TEST_F(InTempFolder, AcceptsNamesWrittenForWindows)
{
    std::filesystem::create_directory("tools");
    MakeExecutable("tools/brunox");
    EXPECT_EQ(FindProgram("brunox.exe"), std::nullopt);  // not in PATH, not in the current folder
    EXPECT_EQ(FindProgram("tools\\brunox.exe"), "tools/brunox");
    EXPECT_EQ(FindProgram("tools/BRUNOX"), std::nullopt);
    std::ofstream("plain") << "not a program";
    EXPECT_EQ(FindProgram("plain"), std::nullopt);  // not executable
    EXPECT_EQ(FindProgram("no-such-program-zov"), std::nullopt);
    EXPECT_EQ(FindProgram(""), std::nullopt);
}

TEST_F(InTempFolder, FindsProgramsBesideTheRunningProgramLast)
{
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    const std::string name = self.filename().string();
    EXPECT_EQ(FindProgram(name), self.string());
    MakeExecutable(name);
    EXPECT_EQ(FindProgram(name), "./" + name);  // the current folder comes first
}

TEST(SpawnChild, PassesArgumentsWithoutAShell)
{
    auto child = SpawnChild(kProgram + R"( args "a b" $HOME 'q' c\"d)", ChildStreams::OutputPipe);
    ASSERT_TRUE(child);
    EXPECT_EQ(ReadAll(child->Stdout.Get()), "[a b]\n[$HOME]\n['q']\n[c\"d]\n");
    int status = 0;
    EXPECT_EQ(::waitpid(child->Pid, &status, 0), child->Pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(SpawnChild, GivesDevNullAsInputToOutputOnlyChildren)
{
    auto child = SpawnChild(kProgram + " stdin", ChildStreams::OutputPipe);
    ASSERT_TRUE(child);
    EXPECT_FALSE(child->Stdin.IsOpen());
    EXPECT_FALSE(child->Stderr.IsOpen());
    EXPECT_EQ(ReadAll(child->Stdout.Get()), "eof");
    ::waitpid(child->Pid, nullptr, 0);
}

TEST(SpawnChild, MissingProgramStartsNothing)
{
    EXPECT_FALSE(SpawnChild("/no/such/program -x", ChildStreams::CliPipes));
    EXPECT_FALSE(SpawnChild("", ChildStreams::CliPipes));
    test::ExpectNoChildLeft();
}

TEST(SpawnChild, LeavesNoDescriptorBehind)
{
    const int before = test::OpenDescriptorCount();
    for (int i = 0; i < 3; ++i) {
        auto child = SpawnChild(kProgram + " text hi", ChildStreams::CliPipes);
        ASSERT_TRUE(child);
        EXPECT_EQ(ReadAll(child->Stdout.Get()), "hi");
        KillAndReap(child->Pid);
    }
    EXPECT_EQ(test::OpenDescriptorCount(), before);
    test::ExpectNoChildLeft();
}

TEST(SpawnChild, ChildDoesNotInheritEngineDescriptors)
{
    // A descriptor the engine opened without close-on-exec would otherwise leak into the child.
    auto child = SpawnChild("/bin/ls /proc/self/fd", ChildStreams::OutputPipe);
    ASSERT_TRUE(child);
    EXPECT_EQ(ReadAll(child->Stdout.Get()), "0\n1\n2\n3\n");  // 3: the directory ls reads
    ::waitpid(child->Pid, nullptr, 0);
}

}  // namespace
}  // namespace zov
