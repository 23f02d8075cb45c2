// The reader and start-up of the framework through a small tool with a text switch.
#include "CliProcess.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <string>

namespace {

using zovtest::CliProcess;
using zovtest::CliResult;
using zovtest::RunCli;

const std::string Banner = "Echo 1.0\nZOV test bench\n";

CliResult Echo(const std::string& input)
{
    return RunCli(ZOV_CLI_TEST_TOOL, {}, input);
}

TEST(FrameworkProcess, EveryByteButLineEndsAndBackspacePassesThrough)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n' && byte != '\b' && byte != '"')
            all += static_cast<char>(byte);
    }
    const CliResult result = Echo("echo -t \"" + all + "\"\necho -t caf\xc3\xa9\n");
    EXPECT_EQ(result.out, Banner + "[" + all + "]\n[caf\xc3\xa9]\nclean\n");
    EXPECT_EQ(result.err, ">>>>>>");
}

TEST(FrameworkProcess, AtPairsAreParsedAndIgnored)
{
    const CliResult result = Echo("echo -t a @x \"b\\nc\" @y d\n");
    EXPECT_EQ(result.out, Banner + "[a]\nclean\n");
}

TEST(FrameworkProcess, StandardErrorOfALinePrecedesItsMarker)
{
    const CliResult result = Echo("both -t 1\nboth -t 2\n");
    EXPECT_EQ(result.out, Banner + "out:1\nout:2\nclean\n");
    EXPECT_EQ(result.err, ">>err:1\n>>err:2\n>>");
}

TEST(FrameworkProcess, EndOfInputCleansUpAndExitsZero)
{
    const CliResult result = Echo("echo -t last");
    EXPECT_EQ(result.out, Banner + "[last]\nclean\n");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(FrameworkProcess, ExitCleansUpWithoutMarker)
{
    const CliResult result = Echo("exit\necho -t never\n");
    EXPECT_EQ(result.out, Banner + "clean\n");
    EXPECT_EQ(result.err, ">>");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(FrameworkProcess, SignalCleansUpAndExitsWithItsNumber)
{
    CliProcess process(ZOV_CLI_TEST_TOOL);
    ASSERT_TRUE(process.WaitForMarkers(1));
    process.Send("echo -t before\n");
    ASSERT_TRUE(process.WaitForMarkers(2));
    process.Signal(SIGTERM);
    const CliResult result = process.Finish(false);
    EXPECT_EQ(result.out, Banner + "[before]\nclean\n");
    EXPECT_EQ(result.err, ">>>>");
    EXPECT_EQ(result.exitCode, SIGTERM);
}

// A line that does not fit the line buffer is refused whole, and the lines after it are read as
// usual; one that just fits is run.
TEST(FrameworkProcess, LineLongerThanTheBufferIsRefused)
{
    const std::string fits(39999 - 8, 'v');
    const CliResult result = Echo("echo -t " + fits + "x\necho -t " + fits + "\n");
    EXPECT_EQ(result.out, Banner + "[" + fits + "]\nclean\n");
    EXPECT_EQ(result.err, ">>Wrong parameters!\n>>>>");
}

// A NUL byte would end the line's text where it stands: the line is refused, not run cut.
TEST(FrameworkProcess, LineHoldingANulByteIsRefused)
{
    const CliResult result = Echo(std::string("echo -t ab\0cd\necho -t ok\n", 25));
    EXPECT_EQ(result.out, Banner + "[ok]\nclean\n");
    EXPECT_EQ(result.err, ">>Wrong parameters!\n>>>>");
}

TEST(FrameworkProcess, OverlongArgumentsAreRefusedWhole)
{
    const std::string value(50000, 'v');
    const CliResult result = RunCli(ZOV_CLI_TEST_TOOL, {"echo -t " + value, "|ver"}, "");
    // No piece runs: the one behind the cut would be lost.
    EXPECT_EQ(result.out, Banner + "\nclean\n");
    EXPECT_EQ(result.err, ">>Wrong parameters!\n>>");
}

}  // namespace
