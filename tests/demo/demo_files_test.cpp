// The demo bench's own files, read by the engine's readers before any script runs: every line
// of the demo interface file is accepted, its CLIs name programs that are installed and its
// functions name commands those programs have; every demo script, expanded with the demo's
// constants, macro and its own parameters, parses and builds.
#include "engine/runtime/EngineState.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/input/InterfaceLines.h"
#include "engine/input/MacroTable.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

const fs::path kDemo = fs::path(ZOV_SOURCE_DIR) / "examples" / "demo";
const fs::path kBin = ZOV_BIN_DIR;
const char* const kTools[] = {"quarnel", "dovrel", "pirrow", "brunox"};

using zov::test::ReadFile;

std::vector<fs::path> DemoScripts()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kDemo))
        if (entry.path().extension() == ".qzs")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The command words a tool lists for `help` (the lines " word  description").
std::set<std::string> ToolCommands(const std::string& tool)
{
    std::set<std::string> words;
    const std::string command = "printf 'help\\nexit\\n' | '" + (kBin / tool).string() + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return words;
    char line[512];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        if (line[0] != ' ')
            continue;
        std::istringstream fields(line);
        std::string word;
        if (fields >> word)
            words.insert(word);
    }
    pclose(pipe);
    return words;
}

// The value of "; <key>: <value>" among the script's leading comment lines, or "".
std::string HeaderValue(const std::string& text, const std::string& key)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty())
            continue;
        if (line[0] != ';')
            break;
        const std::string prefix = "; " + key + ":";
        if (line.rfind(prefix, 0) == 0) {
            std::string value = line.substr(prefix.size());
            value.erase(0, value.find_first_not_of(' '));
            return value;
        }
    }
    return "";
}

// The engine's tables after initialisation with the demo interface file.
class DemoFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine().Reset();
        ASSERT_TRUE(table_.LoadGrammar((kBin / "Function.cgt").string()));
        ASSERT_TRUE(RegisterBuiltins(table_));
        ASSERT_TRUE(table_.LoadGrammar((kBin / "Interface.cgt").string()));
        refused_ = ReadInterfaceFile(table_, macros_, (kDemo / "demo.qzi").string());
    }
    void TearDown() override { Engine().Reset(); }

    CFunctionTable table_;
    CMacroTable macros_;
    int refused_ = -1;
};

TEST_F(DemoFilesTest, InterfaceLinesAreAllAccepted)
{
    EXPECT_EQ(refused_, 0);
    int clis = 0;
    int functions = 0;
    for (int i = kBuiltinCount; i < table_.GetCount(); ++i)
        (table_.GetEntry(i)->CliDeclaration ? clis : functions)++;
    EXPECT_EQ(clis, 5);
    EXPECT_GE(functions, 50);
    for (const char* name : {"PI", "TOLERANCE", "DEMO_TITLE", "DEMO_FILE", "DEMO_XML", "BANNER"})
        EXPECT_NE(macros_.Find(name), nullptr) << name;
}

TEST_F(DemoFilesTest, ClisAreTheInstalledToolsWithTheirProtocol)
{
    for (const char* tool : kTools) {
        const int index = table_.IndexOf(tool);
        ASSERT_GE(index, kBuiltinCount) << tool;
        const CFunctionEntry& entry = *table_.GetEntry(index);
        EXPECT_TRUE(entry.CliDeclaration) << tool;
        EXPECT_EQ(entry.CommandText, tool);
        EXPECT_TRUE(fs::exists(kBin / entry.CommandText)) << entry.CommandText;
        // The tools write ">>" on standard error after every answer.
        EXPECT_EQ(entry.Settings.Terminator, ">>") << tool;
        EXPECT_EQ(entry.Settings.SyncMode, 1u) << tool;
        EXPECT_EQ(entry.Settings.ExitCommand, "exit") << tool;
        EXPECT_TRUE(entry.Settings.DropLineBreaks) << tool;
        EXPECT_FALSE(entry.Settings.StripQuotes) << tool;
    }
}

TEST_F(DemoFilesTest, FunctionsAreReachableAndNameRealCommands)
{
    std::set<std::string> commands;
    for (const char* tool : kTools) {
        const std::set<std::string> words = ToolCommands(tool);
        EXPECT_GT(words.size(), 4u) << tool << " gave no help listing";
        commands.insert(words.begin(), words.end());
    }
    for (int i = kBuiltinCount; i < table_.GetCount(); ++i) {
        const CFunctionEntry& entry = *table_.GetEntry(i);
        if (entry.CliDeclaration)
            continue;
        // A built-in of the same name would be found first and the function never called.
        EXPECT_EQ(table_.IndexOf(entry.Name), i) << entry.Name << " is hidden by an earlier entry";
        const std::string word = entry.CommandText.substr(0, entry.CommandText.find(' '));
        EXPECT_TRUE(commands.count(word)) << entry.Name << ": no tool has the command " << word;
        int placeholders = 0;
        for (std::size_t at = entry.CommandText.find("%s"); at != std::string::npos;
             at = entry.CommandText.find("%s", at + 2))
            ++placeholders;
        EXPECT_EQ(placeholders, entry.ParamCount) << entry.Name;
    }
}

TEST_F(DemoFilesTest, ScriptsParseAfterExpansion)
{
    CGrammarTable grammar;
    ASSERT_TRUE(grammar.Load((kBin / "zov.cgt").string())) << grammar.GetLastError();
    const std::vector<fs::path> scripts = DemoScripts();
    ASSERT_GE(scripts.size(), 7u);
    for (const fs::path& script : scripts) {
        const std::string source = ReadFile(script);
        EXPECT_FALSE(HeaderValue(source, "expect").empty() && HeaderValue(source, "trace").empty())
            << script.filename() << " declares neither its verdict nor a key trace";
        // The parameters as the runner passes them ("{tmp}" becomes a folder), cut as
        // `interpret` cuts them: %%1, %%2, and the rest in %%3.
        std::string params = HeaderValue(source, "params");
        for (std::size_t at; (at = params.find("{tmp}")) != std::string::npos;)
            params.replace(at, 5, "/tmp/zov-demo");
        CMacroTable macros = macros_;
        for (int n = 1; n <= 3 && !params.empty(); ++n) {
            const std::size_t cut = n < 3 ? params.find(';') : std::string::npos;
            macros.Add("%%" + std::to_string(n), params.substr(0, cut), 0);
            params = cut == std::string::npos ? "" : params.substr(cut + 1);
        }
        std::string text = JoinContinuedLines(source);
        ASSERT_TRUE(RunMacroPasses(macros, text)) << script.filename();
        text += "\n";
        const CScriptTree tree = BuildScriptTree(grammar, text);
        EXPECT_TRUE(tree.Error.empty()) << script.filename() << ": " << tree.Error;
        EXPECT_NE(tree.Root, nullptr) << script.filename();
    }
}

}  // namespace
}  // namespace zov
