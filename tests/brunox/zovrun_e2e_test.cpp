// A test script run by the real zovrun (started as the IDE starts it: its folder current,
// commands on standard input) calls Brunox through its interface declaration. Brunox is the
// engine's child, out of the test's reach, so its dialogs are answered from a file of answers
// named in the environment. Standard output is compared line for line with golden files in
// tests/brunox/data/, where "{bin}" stands for the programs' folder (Brunox's current folder)
// and "{dir}" for the fixture folder.
#include "BrunoxPrompter.h"
#include "EngineProcess.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/brunox/data";

using zov::test::ReadFile;

std::string Golden(const std::string& name)
{
    std::string text = ReadFile(kFixtures + "/" + name);
    EXPECT_FALSE(text.empty()) << "golden file " << name;
    const std::string bin = fs::canonical(ZOV_BIN_DIR).string();
    const std::vector<std::pair<std::string, std::string>> placeholders{{"{bin}", bin}, {"{dir}", kFixtures}};
    for (const auto& [placeholder, value] : placeholders)
        for (std::size_t at; (at = text.find(placeholder)) != std::string::npos;)
            text.replace(at, placeholder.size(), value);
    return text;
}

// Sets an environment variable (or removes it, for no value) for the programs started while it
// lives; the engine passes its environment on to the CLIs it starts.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedVariable()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

zov::test::ProcessResult RunOperatorScript()
{
    zov::test::EngineProcess engine({"-C", ZOV_BIN_DIR, std::string(ZOV_BIN_DIR) + "/zovrun"}, "/usr/bin/env");
    EXPECT_TRUE(engine.Started());
    engine.Send("interpret -dicofn \"" + kFixtures + "/operator.qzi\" -scriptfn \"" + kFixtures +
                "/operator.qzs\" -params {}\n");
    return engine.Finish();
}

struct Case {
    const char* answers;  // file of answers in the fixture folder
    const char* golden;
    const char* platform;  // QT_QPA_PLATFORM; nullptr: not set
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.answers << " -> " << c.golden << " (platform " << (c.platform ? c.platform : "unset") << ")";
}

class OperatorScriptRun : public ::testing::TestWithParam<Case> {};

TEST_P(OperatorScriptRun, BrunoxAnswersFromTheFileAndTheScriptGivesItsVerdict)
{
    const Case& c = GetParam();
    // Whatever display the machine has, these runs must need none.
    const ScopedVariable display("DISPLAY", nullptr);
    const ScopedVariable wayland("WAYLAND_DISPLAY", nullptr);
    const ScopedVariable platform("QT_QPA_PLATFORM", c.platform);
    const std::string answers = kFixtures + "/" + c.answers;
    const ScopedVariable prompter(kPrompterScriptVariable, answers.c_str());

    const zov::test::ProcessResult result = RunOperatorScript();
    EXPECT_FALSE(result.timedOut);
    EXPECT_TRUE(result.Exited());
    EXPECT_EQ(result.out, Golden(c.golden));
    EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, OperatorScriptRun,
    ::testing::Values(
        // Every dialog confirmed: the "ok" branch, with the typed text, the chosen item and the paths.
        Case{"answers_yes.txt", "operator_yes.out", "offscreen"},
        // Every dialog refused: the "nok" branch, with the answers of cancelled dialogs.
        Case{"answers_no.txt", "operator_no.out", "offscreen"},
        // Unfit answers and a file that runs out: error lines from Brunox, cancelled dialogs, and
        // a run that still ends instead of waiting for a window nobody sees.
        Case{"answers_wrong.txt", "operator_wrong.out", "offscreen"},
        // No platform named and no display: the answers need no screen.
        Case{"answers_yes.txt", "operator_yes.out", nullptr}),
    [](const ::testing::TestParamInfo<Case>& param) {
        std::string name = param.param.golden;
        name = name.substr(0, name.find('.'));
        return name + (param.param.platform ? "" : "_no_platform");
    });

}  // namespace
