// Reading console lines from a pipe, as the engine reads its standard input.

#include "engine/console/Console.h"
#include "LineCapture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace zov {
namespace {

// A pipe whose write end is filled by a thread, so that input larger than the pipe buffer
// never blocks the test.
class InputPipe {
public:
    explicit InputPipe(std::string input)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return;
        readEnd_ = fds[0];
        writer_ = std::thread([fd = fds[1], input = std::move(input)] {
            WriteAll(fd, input);
            close(fd);
        });
    }
    ~InputPipe()
    {
        if (readEnd_ >= 0)
            close(readEnd_);
        if (writer_.joinable())
            writer_.join();
    }
    int fd() const { return readEnd_; }

private:
    int readEnd_ = -1;
    std::thread writer_;
};

std::vector<std::string> ReadAll(const std::string& input, bool echo = false, std::size_t size = kCommandBufferSize)
{
    InputPipe pipe(input);
    ConsoleReader reader(pipe.fd(), echo, size);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    EXPECT_FALSE(reader.ReadLine(line)) << "the end of input stays the end";
    return lines;
}

using Lines = std::vector<std::string>;

TEST(ConsoleReader, LineFeedCarriageReturnAndBothEndALine)
{
    EXPECT_EQ(ReadAll("a\nb\rc\r\nd\n"), (Lines{"a", "b", "c", "", "d"}));
}

TEST(ConsoleReader, EmptyInputGivesNoLine)
{
    EXPECT_EQ(ReadAll(""), Lines{});
}

TEST(ConsoleReader, AnUnfinishedLastLineIsHandedOut)
{
    EXPECT_EQ(ReadAll("exit"), Lines{"exit"});
    EXPECT_EQ(ReadAll("a\nexit"), (Lines{"a", "exit"}));
}

TEST(ConsoleReader, BackspaceDropsTheLastByte)
{
    EXPECT_EQ(ReadAll("exiq\bt\n\bx\n"), (Lines{"exit", "x"}));
}

TEST(ConsoleReader, BackspaceIsEchoedOnlyForATerminal)
{
    test::LineCapture capture;
    ReadAll("ab\b\n", false);
    EXPECT_EQ(capture.Out(), "");
    ReadAll("ab\b\n", true);
    EXPECT_EQ(capture.Out(), "\b ");
}

TEST(ConsoleReader, HighBytesAreKept)
{
    EXPECT_EQ(ReadAll("\xE9t\xE9\xFF\n"), Lines{"\xE9t\xE9\xFF"});
}

TEST(ConsoleReader, AnOverlongLineIsCutAndTheNextLineIsWhole)
{
    EXPECT_EQ(ReadAll("abcdefgh\nxy\n", false, 5), (Lines{"abcd", "xy"}));
    const Lines big = ReadAll(std::string(250000, 'z') + "\nexit\n");
    ASSERT_EQ(big.size(), 2u);
    EXPECT_EQ(big[0].size(), kCommandBufferSize - 1);
    EXPECT_EQ(big[1], "exit");
}

}  // namespace
}  // namespace zov

namespace zov {
namespace {

TEST(ConsoleReader, ANonBlockingDescriptorIsWaitedOn)
{
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
    std::thread writer;
    {
        ConsoleReader reader(fds[0], false);
        // The line arrives only after the reader has found the pipe empty.
        writer = std::thread([fd = fds[1]] {
            WriteAll(fd, "help\n");
            close(fd);
        });
        std::string line;
        ASSERT_TRUE(reader.ReadLine(line));
        EXPECT_EQ(line, "help");
        EXPECT_FALSE(reader.ReadLine(line));
    }
    writer.join();
    close(fds[0]);
}

}  // namespace
}  // namespace zov
