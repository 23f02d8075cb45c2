// The grammar compiler as the build runs it: tables that load and scan as written, and
// grammars it must refuse with a report naming the rules, look-aheads or terminals involved.

#include "engine/grammar/GrammarTable.h"
#include "engine/grammar/Scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

using namespace zov;

namespace {

struct Result {
    int status = -1;
    std::string output;
};

class GrammarCompiler : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ =
            std::filesystem::temp_directory_path() / ("zov-grammarc-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    Result Compile(const std::string& source)
    {
        const auto grammar = dir_ / "test.grm";
        std::ofstream(grammar, std::ios::binary) << source;
        table_ = dir_ / "test.cgt";
        std::filesystem::remove(table_);
        const std::string command =
            std::string(ZOV_BIN_DIR) + "/zovgrammarc '" + grammar.string() + "' -o '" + table_.string() + "' 2>&1";
        Result r;
        std::FILE* p = ::popen(command.c_str(), "r");
        if (!p)
            return r;
        char buf[512];
        while (std::fgets(buf, sizeof buf, p))
            r.output += buf;
        const int status = ::pclose(p);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }

    std::vector<std::pair<std::string, std::string>> Scan(const std::string& text)
    {
        CGrammarTable table;
        EXPECT_TRUE(table.Load(table_.string()));
        CScanner* scanner = table.CreateScanner();
        std::vector<std::pair<std::string, std::string>> tokens;
        if (!scanner->Tokenize(text))
            return {{"scan error", ""}};
        for (const CToken& t : scanner->GetTokens())
            tokens.push_back({t.SymbolName, t.Image});
        return tokens;
    }

    std::filesystem::path dir_;
    std::filesystem::path table_;
};

const char* const Prologue = "\"Name\" = 'T'\n\"Case Sensitive\" = False\n\"Start Symbol\" = <S>\n";

}  // namespace

TEST_F(GrammarCompiler, FixedTextsWinOverPatternsAndCaseIsFolded)
{
    const Result r = Compile(std::string(Prologue) +
                             "Identifier = {Letter}({Letter}|{Digit})*\n"
                             "Whitespace = {Whitespace}+\n"
                             "<S> ::= <S> <W> | <W>\n"
                             "<W> ::= Identifier | IF | 'End' | '<>'\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(
        Scan("iF iffy END <> x2"),
        (std::vector<std::pair<std::string, std::string>>{
            {"IF", "iF"}, {"Identifier", "iffy"}, {"End", "END"}, {"<>", "<>"}, {"Identifier", "x2"}, {"EOF", "EOF"}}));
    CGrammarTable table;
    ASSERT_TRUE(table.Load(table_.string()));
    EXPECT_EQ(table.GetHeader(), "GOLD Parser Tables/v1.0");
    EXPECT_EQ(table.GetSymbols()[0].Name, "EOF");
    EXPECT_EQ(table.GetSymbols()[0].Kind, cgt::EndOfInput);
    for (const std::string& set : table.GetCharSets())
        EXPECT_EQ(set.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
}

TEST_F(GrammarCompiler, SetsCodesContinuationsAndEmptyAlternatives)
{
    const Result r = Compile(
        "! comment line\n"
        "\"Name\" = 'Sets'\n\"Case Sensitive\" = True\n\"Start Symbol\" = <S>\n"
        "!* a block\n   comment *!\n"
        "{Hex}   = {Digit} + {#65..#70}\n"
        "           + {&61 .. &66}\n"
        "{Quote} = ['']\n"
        "{Text}  = {Printable} - {Quote} - [']']\n"
        "Hex     = '0x' {Hex}+\n"
        "Quoted  = {Quote} {Text}* {Quote}\n"
        "        | '[' {Text}* ']'\n"
        "Whitespace = {Space}+\n"
        "<S> ::= <S> <Item>\n"
        "     |\n"
        "<Item> ::= Hex | Quoted\n");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(Scan("0xAf09 'x y' [z]"),
              (std::vector<std::pair<std::string, std::string>>{
                  {"Hex", "0xAf09"}, {"Quoted", "'x y'"}, {"Quoted", "[z]"}, {"EOF", "EOF"}}));
    EXPECT_EQ(Scan("0XA"), (std::vector<std::pair<std::string, std::string>>{{"scan error", ""}}));
}

TEST_F(GrammarCompiler, RefusesBrokenGrammars)
{
    struct Case {
        const char* what;
        std::string source;
        std::vector<std::string> report;  // fragments of the report
    };
    const std::string w = "Whitespace = {Space}+\n";
    const std::vector<Case> cases = {
        {"shift/reduce conflict",
         std::string(Prologue) + "N = {Digit}+\n<S> ::= <S> '+' <S> | N\n",
         {"LALR conflict (shift/reduce)", "on look-ahead '+'", "<S> ::= <S> . '+' <S>", "<S> ::= <S> '+' <S> .",
          "(line 5)"}},
        {"reduce/reduce conflict",
         std::string(Prologue) + "<S> ::= <A> | <B>\n<A> ::= x\n<B> ::= x\n",
         {"LALR conflict (reduce/reduce)", "on look-ahead 'EOF'", "<A> ::= 'x' .", "<B> ::= 'x' ."}},
        {"two patterns accept the same text",
         std::string(Prologue) + "Name = {Letter}+\nWord = {Letter}{Letter}?\n<S> ::= Name | Word\n",
         {"DFA ambiguity", "\"a\"", "Name (line 4)", "Word (line 5)"}},
        {"two fixed texts accept the same text",
         std::string(Prologue) + "Begin = 'begin'\n<S> ::= Begin | BEGIN\n",
         {"DFA ambiguity", "\"begin\""}},
        {"pattern accepting the empty text",
         std::string(Prologue) + "Any = {Letter}*\n<S> ::= Any\n",
         {"accepts the empty text"}},
        {"undefined nonterminal", std::string(Prologue) + "<S> ::= <T>\n", {"<T> is used but has no rule"}},
        {"no start symbol", "<S> ::= a\n", {"no \"Start Symbol\""}},
        {"unknown set", std::string(Prologue) + "X = {Nothing}+\n<S> ::= X\n", {"unknown character set {Nothing}"}},
        {"self-referring set",
         std::string(Prologue) + "{A} = {A} + [x]\nX = {A}\n<S> ::= X\n",
         {"defined in terms of itself"}},
        {"whitespace in a rule", std::string(Prologue) + w + "<S> ::= Whitespace\n", {"skipped by the scanner"}},
        {"block comments", std::string(Prologue) + "Comment Start = '/*'\n<S> ::= a\n", {"block comments"}},
        {"endless recursion", std::string(Prologue) + "<S> ::= a <S>\n", {"<S> never derives a text"}},
        {"unquoted pattern text", std::string(Prologue) + "X = abc\n<S> ::= X\n", {"must be quoted"}},
        {"unclosed quote", std::string(Prologue) + "<S> ::= 'a\n", {":4:", "not closed"}},
    };
    for (const Case& c : cases) {
        const Result r = Compile(c.source);
        EXPECT_EQ(r.status, 1) << c.what << "\n" << r.output;
        for (const std::string& fragment : c.report)
            EXPECT_NE(r.output.find(fragment), std::string::npos) << c.what << ": no '" << fragment << "' in\n"
                                                                  << r.output;
        EXPECT_FALSE(std::filesystem::exists(table_)) << c.what;
    }
}

TEST_F(GrammarCompiler, UsageErrors)
{
    const std::string command = std::string(ZOV_BIN_DIR) + "/zovgrammarc >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    const Result r = Compile("");
    EXPECT_EQ(r.status, 1);
}

TEST_F(GrammarCompiler, WarnsAboutUnreachableSymbolsWithoutFailing)
{
    const Result r = Compile(std::string(Prologue) + "Unused = {Digit}+\n<S> ::= a\n<T> ::= b\n");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find(":4: warning: Unused is not reachable"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find(":6: warning: <T> is not reachable"), std::string::npos) << r.output;
    EXPECT_TRUE(std::filesystem::exists(table_));
}
