// Quarnel through its real process: standard output and standard error byte for byte.
#include "CliProcess.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <string>
#include <vector>

namespace {

using zovtest::BinPath;
using zovtest::CliProcess;
using zovtest::CliResult;
using zovtest::RunCli;

const std::string Banner = "Quarnel 0.6\nZOV test bench - mathematical functions\n";

const std::string HelpListing =
    " \n"
    " help    View this screen\n"
    " exit    Exit the program\n"
    " cls     Clear the screen\n"
    " ver     View the version\n"
    " sin     Calculate sin(x)\n"
    " sinh    Calculate sinh(x)\n"
    " asin    Calculate asin(x)\n"
    " cos     Calculate cos(x)\n"
    " cosh    Calculate cosh(x)\n"
    " acos    Calculate acos(x)\n"
    " tan     Calculate tan(x)\n"
    " tanh    Calculate tanh(x)\n"
    " atan    Calculate atan(x)\n"
    " deg2rad Convert degre to radian\n"
    " rad2deg Convert radian to degre\n"
    " log     Calculate log(x)\n"
    " log10   Calculate log10(x)\n"
    " exp     Calculate exp(x)\n"
    " sqrt    Calculate sqrt(x)\n"
    " ceil    Calculate ceil(x)\n"
    " floor   Calculate floor(x)\n"
    "\n";

CliResult Quarnel(const std::string& input, const std::vector<std::string>& args = {})
{
    return RunCli(BinPath("quarnel"), args, input);
}

TEST(QuarnelProcess, BannerAndFirstMarkerThenEndOfInputExitsZero)
{
    const CliResult result = Quarnel("");
    EXPECT_EQ(result.out, Banner);
    EXPECT_EQ(result.err, ">>");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(QuarnelProcess, BuiltIns)
{
    const CliResult result = Quarnel("ver\nhelp\nVER\n");
    EXPECT_EQ(result.out, Banner + "Version : 0.6\n" + HelpListing + "Version : 0.6\n");
    EXPECT_EQ(result.err, ">>>>>>>>");
}

TEST(QuarnelProcess, ExitEndsWithoutMarkerAndReadsNoFurther)
{
    const CliResult result = Quarnel("ver\nexit\nver\n");
    EXPECT_EQ(result.out, Banner + "Version : 0.6\n");
    EXPECT_EQ(result.err, ">>>>");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(QuarnelProcess, ErrorMessages)
{
    const CliResult result = Quarnel("cosine -v 1\nsin\nsin -x 1\n   \n\n");
    EXPECT_EQ(result.out, Banner);
    EXPECT_EQ(result.err,
              ">>Command not found !\n>>Wrong parameters!\n>>Wrong parameters!\n>>"
              "Command not found !\n>>>>");
}

TEST(QuarnelProcess, HelpOfCommands)
{
    const std::string sinHelp = "sin : Calculate sin(x)\n\n sin \n\n -v  angle\n\n";
    const std::string verHelp = "ver : View the version\n\n ver \n\n";
    const CliResult result = Quarnel("sin -help\nSIN /?\nver -help\nver /?\n");
    EXPECT_EQ(result.out, Banner + sinHelp + sinHelp + verHelp + verHelp);
    EXPECT_EQ(result.err, ">>>>>>>>>>");
}

TEST(QuarnelProcess, UpperCaseHelpSwitchIsNoHelpRequest)
{
    const CliResult result = Quarnel("sin -HELP\n");
    EXPECT_EQ(result.out, Banner);
    EXPECT_EQ(result.err, ">>Wrong parameters!\n>>");
}

TEST(QuarnelProcess, ArgumentPiecesEachGetTheirMarker)
{
    const CliResult result = Quarnel("ver\n", {"ver|help"});
    EXPECT_EQ(result.out, Banner + "\n" + "Version : 0.6\n" + HelpListing + "Version : 0.6\n");
    EXPECT_EQ(result.err, ">>>>>>>>");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(QuarnelProcess, ArgumentsAreJoinedWithBlanks)
{
    const CliResult result = Quarnel("", {"sqrt", "-v", "9|", "floor", "-v", "-2.5"});
    EXPECT_EQ(result.out, Banner + "\n3.000000000000000\n-3.000000000000000\n");
    EXPECT_EQ(result.err, ">>>>>>");
}

TEST(QuarnelProcess, InterfacePieceEndsTheProgramWithStatusOne)
{
    const CliResult result = Quarnel("ver\n", {"ver|interface|help"});
    EXPECT_EQ(result.out, Banner + "\nVersion : 0.6\n");
    EXPECT_EQ(result.err, ">>>>Command not found !\n>>");
    EXPECT_EQ(result.exitCode, 1);
}

TEST(QuarnelProcess, InterfaceMustBeTheWholePiece)
{
    const CliResult result = Quarnel("", {"interfaces| interface "});
    EXPECT_EQ(result.err, ">>Command not found !\n>>Command not found !\n>>");
    EXPECT_EQ(result.exitCode, 1);
}

struct MathCase {
    const char* line;
    const char* reply;
};

TEST(QuarnelProcess, Results)
{
    const MathCase cases[] = {
        {"sin -v 0", "0.000000000000000\n"},
        {"sin -v 1", "0.841470984807897\n"},
        {"sinh -v 1", "1.175201193643801\n"},
        {"asin -v 1", "1.570796326794897\n"},
        {"cos -v 0", "1.000000000000000\n"},
        {"cosh -v 1", "1.543080634815244\n"},
        {"acos -v -1", "3.141592653589793\n"},
        {"tan -v 1", "1.557407724654902\n"},
        {"tanh -v 1", "0.761594155955765\n"},
        {"atan -v 1", "0.785398163397448\n"},
        {"deg2rad -v 180", "3.141592653589793\n"},
        // Formed in extended precision: a plain double product would give ...564948.
        {"deg2rad -v 49995", "872.577359534565062\n"},
        {"rad2deg -v 1", "57.295779513082323\n"},
        {"rad2deg -v 3.141592653589793", "180.000000000000000\n"},
        {"log -v 1", "0.000000000000000\n"},
        {"log10 -v 1000", "3.000000000000000\n"},
        {"exp -v 1", "2.718281828459045\n"},
        {"sqrt -v 4", "2.000000000000000\n"},
        {"sqrt -v 0", "0.000000000000000\n"},
        {"sqrt -v -0", "0.000000000000000\n"},
        {"sqrt -v -4", "-1.0\n"},
        {"ceil -v -2.5", "-2.000000000000000\n"},
        {"floor -v -2.5", "-3.000000000000000\n"},
        {"floor -v 2.5", "2.000000000000000\n"},
        // atof reads as far as the text is a number.
        {"floor -v 1,9", "1.000000000000000\n"},
        {"cos -v abc", "1.000000000000000\n"},
        {"cos -v \"  0\"", "1.000000000000000\n"},
        {"Floor -V 7.5", "7.000000000000000\n"},
        // Not finite: as the C library writes them.
        {"log -v 0", "-inf\n"},
        {"log -v -1", "-nan\n"},
        {"asin -v 2", "nan\n"},
        {"exp -v 1000", "inf\n"},
        {"sqrt -v nan", "-1.0\n"},
    };
    std::string input;
    std::string expected = Banner;
    for (const MathCase& c : cases) {
        input += std::string(c.line) + "\n";
        expected += c.reply;
    }
    const CliResult result = Quarnel(input);
    EXPECT_EQ(result.out, expected);
    std::string markers = ">>";
    for (size_t i = 0; i < std::size(cases); ++i)
        markers += ">>";
    EXPECT_EQ(result.err, markers);
    // One line at a time, to name the case that differs.
    for (const MathCase& c : cases)
        EXPECT_EQ(Quarnel(std::string(c.line) + "\n").out, Banner + c.reply) << c.line;
}

TEST(QuarnelProcess, ValueIsResetBeforeEveryCommand)
{
    const CliResult result = Quarnel("cos -v 3.14159\ncos -x 5\ncos -v\n");
    // "-v" at the end of the line is given with an empty value: 0.
    EXPECT_EQ(result.out, Banner + "-0.999999999996479\n" + "1.000000000000000\n");
    EXPECT_EQ(result.err, ">>>>Wrong parameters!\n>>>>");
}

TEST(QuarnelProcess, LineEnds)
{
    // CR LF is a line and an empty line; the last line may lack its line end.
    const CliResult result = Quarnel("ver\r\n\rver");
    EXPECT_EQ(result.out, Banner + "Version : 0.6\nVersion : 0.6\n");
    EXPECT_EQ(result.err, ">>>>>>>>>>");
}

TEST(QuarnelProcess, ClsAndBackspaceWriteNothingToAPipe)
{
    const CliResult result = Quarnel("cls\nvex\br\n\b\bver\n");
    EXPECT_EQ(result.out, Banner + "Version : 0.6\nVersion : 0.6\n");
    EXPECT_EQ(result.err, ">>>>>>>>");
}

TEST(QuarnelProcess, ClsClearsATerminal)
{
    CliProcess process(BinPath("quarnel"), {}, "", true);
    ASSERT_TRUE(process.WaitForMarkers(1));
    process.Send("cls\n");
    ASSERT_TRUE(process.WaitForMarkers(2));
    process.Send("exit\n");
    const CliResult result = process.Finish(false);
    const std::string clear = "\x1b[H\x1b[2J";
    EXPECT_EQ(result.out, clear + "Quarnel 0.6\r\nZOV test bench - mathematical functions\r\n" + clear);
    EXPECT_EQ(result.exitCode, 0);
}

TEST(QuarnelProcess, OverlongLineIsRefusedAndTheNextOneRead)
{
    const CliResult result = Quarnel("ver" + std::string(50000, ' ') + "x\nver\n");
    EXPECT_EQ(result.out, Banner + "Version : 0.6\n");
    EXPECT_EQ(result.err, ">>Wrong parameters!\n>>>>");
}

TEST(QuarnelProcess, AnswersEachLineBeforeReadingTheNext)
{
    CliProcess process(BinPath("quarnel"));
    ASSERT_TRUE(process.WaitForMarkers(1));
    process.Send("sqrt -v 16\n");
    ASSERT_TRUE(process.WaitForMarkers(2));
    EXPECT_EQ(process.Out(), Banner + "4.000000000000000\n");
    process.Send("\n");
    ASSERT_TRUE(process.WaitForMarkers(3));
    EXPECT_EQ(process.Out(), Banner + "4.000000000000000\n");
    const CliResult result = process.Finish();
    EXPECT_EQ(result.err, ">>>>>>");
    EXPECT_EQ(result.exitCode, 0);
}

TEST(QuarnelProcess, TerminatingSignalsEndWithTheirNumber)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        CliProcess process(BinPath("quarnel"));
        ASSERT_TRUE(process.WaitForMarkers(1));
        process.Signal(signal);
        const CliResult result = process.Finish(false);
        EXPECT_EQ(result.exitCode, signal) << signal;
        EXPECT_EQ(result.signal, 0) << signal;
        EXPECT_EQ(result.err, ">>") << signal;
    }
}

}  // namespace
