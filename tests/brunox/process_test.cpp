// The brunox program through its pipes, byte for byte, on a bench without a display: the banner,
// the built-ins, the French error lines, and a clear error line from every dialog command.
#include "BrunoxApplication.h"
#include "tests/cli/CliProcess.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using zovtest::BinPath;
using zovtest::RunCli;

std::string Fixture(const std::string& name)
{
    return zov::test::ReadFile(std::string(ZOV_SOURCE_DIR) + "/tests/brunox/data/" + name);
}

const std::string kBanner = "Brunox 0.9\nZOV test bench - operator dialogs\n";
const std::string kNoDisplay = "Aucun affichage disponible : la bo\xC3\xAEte de dialogue ne peut pas s'ouvrir.\n";

// Each test runs in its own process, so the environment of the program under test is set here.
class BrunoxProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QT_QPA_PLATFORM");
        unsetenv(kDisplayProbeVariable);
    }
};

TEST_F(BrunoxProcess, HeadlessSessionMatchesGoldenOutput)
{
    const auto result = RunCli(BinPath("brunox"), {}, Fixture("headless_session.in"));
    EXPECT_EQ(result.out, Fixture("headless_session.out"));
    EXPECT_EQ(result.err, Fixture("headless_session.err"));
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(BrunoxProcess, ProgramArgumentsAreLinesOfTheirOwn)
{
    const auto result = RunCli(BinPath("brunox"), {"ver|FOO|", "msgbox", "-title", "t"}, "exit\n");
    EXPECT_EQ(result.out, kBanner + "\nVersion : 0.9\n");
    EXPECT_EQ(result.err, ">>>>La commande n'existe pas !\n>>Arguments incorrectes!\n>>");
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(BrunoxProcess, UnreachableDisplayStillAnswersAndReportsDialogs)
{
    struct Case {
        const char* name;
        const char* value;
    };
    // A display that is named but cannot be opened would make the toolkit abort the process.
    const Case cases[] = {{"DISPLAY", ":97"}, {"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "no-such-wayland-0"}};
    for (const Case& c : cases) {
        setenv(c.name, c.value, 1);
        const auto result = RunCli(BinPath("brunox"), {}, "ver\naskbox -title t -text q\nexit\n");
        unsetenv(c.name);
        EXPECT_EQ(result.out, kBanner + "Version : 0.9\n0\n") << c.name;
        EXPECT_EQ(result.err, ">>>>" + kNoDisplay + ">>") << c.name;
        EXPECT_EQ(result.exitCode, 0) << c.name;
    }
}

TEST_F(BrunoxProcess, ToolkitMessagesStayOffStandardError)
{
    // Every category of toolkit logging switched on: none of it may reach the marker's stream.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("QT_LOGGING_RULES", "*.debug=true;*.info=true;*.warning=true", 1);
    const auto result = RunCli(BinPath("brunox"), {}, "ver\nhelp\nexit\n");
    unsetenv("QT_LOGGING_RULES");
    EXPECT_EQ(result.err, ">>>>>>");
    EXPECT_EQ(result.out.substr(0, kBanner.size() + 14), kBanner + "Version : 0.9\n");
    EXPECT_EQ(result.exitCode, 0);
}

}  // namespace
