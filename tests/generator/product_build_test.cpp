// The written project is a working CLI: it compiles with g++ without a warning, and the program
// speaks the line protocol with the chosen name, version, markers and exit word.
#include "generator/core/Generator.h"

#include "GeneratorTestSupport.h"
#include "../support/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace zov::vantoro;
using zov::test::ChildProcess;
using zov::test::ProcessResult;
using zov::vantoro::test::ScratchFolder;

const char* const kCompiler = "/usr/bin/g++";

ProcessResult RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& input,
                         const std::string& workDir = "")
{
    ChildProcess process(program, args, workDir);
    process.SendAll(input);
    return process.Finish();
}

// Generates the project and builds it as its user would: g++ -std=c++17 -pthread -Wall *.cpp -o N.
fs::path Build(const GeneratorSettings& settings)
{
    const GenerationResult generated = GenerateProject(settings);
    EXPECT_TRUE(generated.ok) << generated.failedPath;
    std::vector<std::string> args = {"-std=c++17", "-pthread", "-Wall"};
    std::vector<std::string> units;
    for (const auto& entry : fs::directory_iterator(settings.targetFolder)) {
        if (entry.path().extension() == ".cpp")
            units.push_back(entry.path().filename().string());
    }
    std::sort(units.begin(), units.end());
    EXPECT_EQ(units.size(), 4u);
    args.insert(args.end(), units.begin(), units.end());
    args.insert(args.end(), {"-o", settings.cliName});
    const ProcessResult compiled = RunProgram(kCompiler, args, "", settings.targetFolder);
    EXPECT_EQ(compiled.exitCode, 0) << compiled.err;
    EXPECT_EQ(compiled.err, "") << "the project must build without a warning";
    return fs::path(settings.targetFolder) / settings.cliName;
}

class ProductBuildTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kCompiler))
            GTEST_SKIP() << "g++ is not installed";
    }
};

TEST_F(ProductBuildTest, TheDefaultProjectAnswersOnStandardError)
{
    ScratchFolder scratch;
    GeneratorSettings settings;
    settings.cliName = "N";
    settings.targetFolder = scratch.path().string();
    settings.version = "2.3";
    const fs::path program = Build(settings);
    ASSERT_TRUE(fs::exists(program));

    const ProcessResult run = RunProgram(program.string(), {}, "help\nver\nnothing\n\nexit\nhelp\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "N 2.3\n"
              "Copyright <my name>\n"
              " \n"
              " help View this screen\n"
              " exit Exit the program\n"
              " cls  Clear the screen\n"
              " ver  View the version\n"
              " Calc Calc prime number\n"
              "\n"
              "Version : 2.3\n");
    // The first marker, then one per line up to the exit word, which ends the program at once.
    EXPECT_EQ(run.err, ">>>>>>Command not found !\n>>>>");
}

// The n-th prime: the count starts at 2 with 3, and anything up to 1 gives 2.
TEST_F(ProductBuildTest, CalcPrintsTheNthPrime)
{
    ScratchFolder scratch;
    GeneratorSettings settings;
    settings.cliName = "Primes";
    settings.targetFolder = scratch.path().string();
    const fs::path program = Build(settings);
    ASSERT_TRUE(fs::exists(program));

    const std::pair<const char*, const char*> cases[] = {
        {"-5", "2"}, {"0", "2"},  {"1", "2"},   {"2", "3"},     {"3", "5"},       {"4", "7"},
        {"5", "11"}, {"6", "13"}, {"10", "29"}, {"100", "541"}, {"1000", "7919"},
    };
    std::string input;
    std::string expected = "Primes 1.0\nCopyright <my name>\n";
    for (const auto& [n, prime] : cases) {
        input += std::string("Calc -n ") + n + "\n";
        expected += std::string(prime) + "\n";
    }
    input += "Calc\nCalc -x 3\n";  // without its switch Calc does not run
    const ProcessResult run = RunProgram(program.string(), {}, input);
    EXPECT_EQ(run.exitCode, 0);  // the end of the input ends the program normally
    EXPECT_EQ(run.out, expected);
    std::string markers = ">>";
    for (size_t i = 0; i < std::size(cases); ++i)
        markers += ">>";
    EXPECT_EQ(run.err, markers + "Wrong parameters!\n>>Wrong parameters!\n>>");
}

// Markers on standard output after each line, the first one still on standard error; values with
// quotes and backslashes land in string literals and still compile.
TEST_F(ProductBuildTest, TheChosenStreamMarkerAndExitWordAreUsed)
{
    ScratchFolder scratch;
    GeneratorSettings settings;
    settings.cliName = "N";
    settings.targetFolder = (scratch.path() / "new" / "cli").string();
    settings.version = "2.3";
    settings.synchroStream = 1;
    settings.synchroMessage = "<\\\">";
    settings.exitMessage = "quit";
    settings.copyright = "A \"B\" \\ C ?\?=";
    const fs::path program = Build(settings);
    ASSERT_TRUE(fs::exists(program));

    const ProcessResult run = RunProgram(program.string(), {}, "Calc -n 5\nexit\nhelp\nQUIT\nCalc -n 6\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "N 2.3\n"
              "Copyright A \"B\" \\ C ?\?=\n"
              "11\n<\\\">"
              "<\\\">"
              " \n"
              " help View this screen\n"
              " quit Exit the program\n"
              " cls  Clear the screen\n"
              " ver  View the version\n"
              " Calc Calc prime number\n"
              "\n<\\\">");
    EXPECT_EQ(run.err, "<\\\">Command not found !\n");
}

}  // namespace
