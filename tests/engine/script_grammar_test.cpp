// The script grammar table: the symbol names the engine relies on, the fixture scripts (one per
// construct) that parse and build, the malformed ones with the messages a test engineer sees,
// and the same verdicts from an independent reader of the table format.

#include "engine/grammar/GrammarTable.h"
#include "LineCapture.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"
#include "../support/GoldCrossCheck.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace zov;
namespace fs = std::filesystem;

namespace {

const fs::path kScripts = fs::path(ZOV_SOURCE_DIR) / "tests" / "engine" / "scripts";

using zov::test::ReadFile;

std::vector<fs::path> Fixtures(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".qzs")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class ScriptGrammarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        table_ = new CGrammarTable;
        ASSERT_TRUE(table_->Load(std::string(ZOV_BIN_DIR) + "/zov.cgt")) << table_->GetLastError();
    }
    static void TearDownTestSuite()
    {
        delete table_;
        table_ = nullptr;
    }

    static bool HasSymbol(const std::string& name, uint32_t kind)
    {
        for (const CSymbolEntry& symbol : table_->GetSymbols())
            if (symbol.Name == name && symbol.Kind == kind)
                return true;
        return false;
    }

    static CGrammarTable* table_;
};

CGrammarTable* ScriptGrammarTest::table_ = nullptr;

TEST_F(ScriptGrammarTest, TableNamesWhatTheEngineCompares)
{
    EXPECT_FALSE(table_->IsCaseSensitive());
    const char* rules[] = {
        "Start",         "StatementList",  "AssignStatement",  "IfStmt",          "CaseStmt",      "CaseList",
        "Case",          "CaseStmtEnd",    "ConstantList",     "ForStmt",         "WhileStmt",     "RepeatStmt",
        "WithStmt",      "LabelStmt",      "GotoStmt",         "Label",           "DimStmt",       "ProcedureStmt",
        "IdProc",        "ProcParamList",  "ReturnStmt",       "CallStmt",        "FunctionCall",  "FunctionProc",
        "ParameterList", "OrExpression",   "AndExpression",    "XorExpression",   "NotExpression", "CompareExpression",
        "AddExpression", "MultExpression", "NegateExpression", "PowerExpression", "ModExpression", "IdDecl",
        "IdUse",         "ConstInt",       "ConstIntNeg",      "ConstWord",       "ConstHexa",     "ConstBin",
        "ConstOct",      "ConstReal",      "ConstBool",        "ConstStr",        "Value"};
    for (const char* name : rules)
        EXPECT_TRUE(HasSymbol(name, cgt::Nonterminal)) << name;
    // The syntax-error explainer and the builder compare these terminal names.
    const char* terminals[] = {
        "if", "then", "end", "case", "while", "do", "for", "repeat", "until", "to", "downto", "with",   "proc",
        "==", "<>",   "!=",  ">",    ">=",    "<",  "<=",  "+",      "-",     "*",  "/",      "NewLine"};
    for (const char* name : terminals)
        EXPECT_TRUE(HasSymbol(name, cgt::Terminal)) << name;
    EXPECT_TRUE(HasSymbol("Comment Line", cgt::CommentLine));
}

TEST_F(ScriptGrammarTest, EveryFixtureScriptParsesAndBuilds)
{
    const auto files = Fixtures(kScripts);
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        test::LineCapture capture;
        CScriptTree tree = BuildScriptTree(*table_, ReadFile(file));
        EXPECT_EQ(tree.Error, "");
        ASSERT_NE(tree.Root, nullptr);
        EXPECT_EQ(capture.Out(), "");  // no unknown terminal, no nested with
        // Every statement of the fixtures became a node.
        ASSERT_GT(tree.Root->Child(0)->ChildCount(), 0u);
        for (size_t i = 0; i < tree.Root->Child(0)->ChildCount(); ++i)
            EXPECT_NE(tree.Root->Child(0)->Child(i), nullptr) << i;
    }
}

TEST_F(ScriptGrammarTest, MalformedScriptsGiveTheirMessage)
{
    const auto files = Fixtures(kScripts / "bad");
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::string expected = ReadFile(fs::path(file).replace_extension(".err"));
        while (!expected.empty() && expected.back() == '\n')
            expected.pop_back();
        CScriptTree tree = BuildScriptTree(*table_, ReadFile(file));
        EXPECT_EQ(tree.Root, nullptr);
        EXPECT_EQ(tree.Error, expected);
    }
}

TEST_F(ScriptGrammarTest, ScanningTable)
{
    struct Case {
        const char* text;
        bool scans;
    };
    const Case cases[] = {
        {"a = 010\n", true},
        {"a = 09\n", false},
        {"a = 0\n", true},
        {"a = 08.5\n", true},
        {"a = 1.\n", false},
        {"a = 0x\n", false},
        {"a = 0xFG\n", true},  // 0xF then G: a parse error
        {"a = 2e\n", false},
        {"a = \"x\n", false},
        {"a = \"x\\\"y\"\n", true},
        {"a = 1 $\n", false},
        {":L1\n", true},
        {"a = 5u\n", true},
        {"a = \"\xc3\xa9t\xc3\xa9\"\n", true},
    };
    for (const Case& c : cases) {
        CScanner* scanner = table_->CreateScanner();
        EXPECT_EQ(scanner->Tokenize(c.text), c.scans) << c.text;
    }
}

TEST_F(ScriptGrammarTest, KeywordsIgnoreCaseAndLinesEndAlike)
{
    const char* scripts[] = {
        "IF a == 1 THEN\n  b = 2\nELSE\n  b = 3\nEND\n",
        "If a == 1 Then\r\n  b = 2\r\nEnd\r\n",
        "while a do & b = 1 & end\n",
        "for i = 1 TO 3 Step 1 DO\nEND\n",
        "Proc p(a = 1)\nReturn a\nEnd\nCALL p(2)\n",
        "repeat\na = 1\nUNTIL a\n",
    };
    for (const char* script : scripts) {
        CScriptTree tree = BuildScriptTree(*table_, script);
        EXPECT_EQ(tree.Error, "") << script;
        EXPECT_NE(tree.Root, nullptr) << script;
    }
}

// The examples of the language reference are scripts that the engine reads.
TEST_F(ScriptGrammarTest, EveryExampleOfTheLanguageReferenceParses)
{
    const std::string reference = ReadFile(fs::path(ZOV_SOURCE_DIR) / "docs" / "language.md");
    ASSERT_FALSE(reference.empty());
    const std::string open = "```qzs\n";
    size_t examples = 0;
    for (size_t at = reference.find(open); at != std::string::npos; at = reference.find(open, at)) {
        at += open.size();
        const size_t end = reference.find("```", at);
        ASSERT_NE(end, std::string::npos);
        const std::string example = reference.substr(at, end - at);
        ++examples;
        test::LineCapture capture;
        CScriptTree tree = BuildScriptTree(*table_, example);
        EXPECT_EQ(tree.Error, "") << example;
        EXPECT_NE(tree.Root, nullptr) << example;
        EXPECT_EQ(capture.Out(), "") << example;
        at = end + 3;
    }
    EXPECT_GE(examples, 10u);
}

// The independent reader of the table format, run over the fixture corpus and a few more texts.
TEST_F(ScriptGrammarTest, IndependentReaderAgrees)
{
    ZOV_NEED_INDEPENDENT_READER();

    std::vector<std::string> samples;
    for (const fs::path& file : Fixtures(kScripts))
        samples.push_back(ReadFile(file));
    for (const fs::path& file : Fixtures(kScripts / "bad"))
        samples.push_back(ReadFile(file));
    for (const char* text : {"a = 1 & b = 2\n", "a = 1\n", "a = 1", "x = a-1\n", "case x of\n1: a = 1\n2:a = 2\nend\n",
                             "f(1,)\n", "f(,)\n", "y = 1 2\n", "goto L\n", ":L\n", "dim t(2) = \"\"\n", "with c\nend\n",
                             "x = (((1)))\n", "x = not not a\n", "x = a < b < c\n"})
        samples.emplace_back(text);

    test::ExpectSameVerdicts(fs::path(ZOV_BIN_DIR) / "zov.cgt", samples);
}

}  // namespace
