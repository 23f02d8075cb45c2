// A child whose stdout and stderr share one pipe, fed through a stdin pipe, started in a folder
// of its own: what the IDE's engine runner needs from the spawn layer.
#include "common/process/ProcessSpawn.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zov {
namespace {

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

int Reap(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class TempFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zov-merged-XXXXXX";
        root_ = ::mkdtemp(pattern);
        // A blank in the folder: nothing on the way may split it.
        folder_ = root_ + "/engine folder";
        std::filesystem::create_directory(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string root_;
    std::string folder_;
};

TEST_F(TempFolder, BothStreamsArriveOnOnePipeInTheOrderWritten)
{
    const std::string before = std::filesystem::current_path().string();
    auto child = SpawnProgram({"/bin/sh", "-c", "echo one; echo two >&2; echo three; echo four >&2; pwd"},
                              ChildStreams::MergedOutput, folder_);
    ASSERT_TRUE(child);
    ASSERT_TRUE(child->Stdin.IsOpen());
    EXPECT_FALSE(child->Stderr.IsOpen());
    child->Stdin.Reset();
    EXPECT_EQ(ReadAll(child->Stdout.Get()), "one\ntwo\nthree\nfour\n" + folder_ + "\n");
    EXPECT_EQ(Reap(child->Pid), 0);
    EXPECT_EQ(std::filesystem::current_path().string(), before);  // the parent stays where it was
}

TEST_F(TempFolder, StdinPipeFeedsTheChild)
{
    auto child =
        SpawnProgram({"/bin/sh", "-c", "read a; read b; echo \"[$a|$b]\"; echo err >&2"}, ChildStreams::MergedOutput);
    ASSERT_TRUE(child);
    const std::string input = "first line\nsecond\n";
    ASSERT_EQ(::write(child->Stdin.Get(), input.data(), input.size()), static_cast<ssize_t>(input.size()));
    EXPECT_EQ(ReadAll(child->Stdout.Get()), "[first line|second]\nerr\n");
    EXPECT_EQ(Reap(child->Pid), 0);
}

TEST_F(TempFolder, RelativeProgramIsFoundFromTheParentsFolder)
{
    // A program named relative to the parent's folder still runs when the child starts elsewhere.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path("/bin");
    auto child = SpawnProgram({"./sh", "-c", "pwd"}, ChildStreams::MergedOutput, folder_);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(child);
    child->Stdin.Reset();
    EXPECT_EQ(ReadAll(child->Stdout.Get()), folder_ + "\n");
    EXPECT_EQ(Reap(child->Pid), 0);
}

TEST_F(TempFolder, ArgumentsKeepBlanksAndQuotes)
{
    auto child =
        SpawnProgram({"/bin/sh", "-c", "printf '<%s>' \"$@\"", "sh", "a b", "\"q\"", ""}, ChildStreams::MergedOutput);
    ASSERT_TRUE(child);
    child->Stdin.Reset();
    EXPECT_EQ(ReadAll(child->Stdout.Get()), "<a b><\"q\"><>");
    EXPECT_EQ(Reap(child->Pid), 0);
}

TEST_F(TempFolder, MissingFolderOrProgramStartsNothing)
{
    EXPECT_FALSE(SpawnProgram({"/bin/sh", "-c", "true"}, ChildStreams::MergedOutput, root_ + "/missing"));
    EXPECT_FALSE(SpawnProgram({folder_ + "/zovrun"}, ChildStreams::MergedOutput, folder_));
    EXPECT_FALSE(SpawnProgram({}, ChildStreams::MergedOutput));
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);  // no child left behind
}

TEST_F(TempFolder, CommandLineFormTakesTheWorkingFolderToo)
{
    auto child = SpawnChild("/bin/pwd", ChildStreams::OutputPipe, folder_);
    ASSERT_TRUE(child);
    EXPECT_EQ(ReadAll(child->Stdout.Get()), folder_ + "\n");
    EXPECT_EQ(Reap(child->Pid), 0);
}

}  // namespace
}  // namespace zov
