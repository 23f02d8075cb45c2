#include "grammar_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace zov;
using namespace zov::test;

namespace {

class ScannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(table_.Load(TestTable("mini")));
        scanner_ = table_.CreateScanner();
    }

    struct Expected {
        std::string name;
        std::string image;
        int line;
        int column;
    };

    void ExpectTokens(const std::vector<Expected>& expected)
    {
        const auto& tokens = scanner_->GetTokens();
        ASSERT_EQ(tokens.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(tokens[i].SymbolName, expected[i].name) << "token " << i;
            EXPECT_EQ(tokens[i].Image, expected[i].image) << "token " << i;
            EXPECT_EQ(tokens[i].Line, expected[i].line) << "token " << i;
            EXPECT_EQ(tokens[i].Column, expected[i].column) << "token " << i;
            EXPECT_EQ(table_.GetSymbols()[tokens[i].SymbolIndex].Name, expected[i].name) << "token " << i;
        }
    }

    CGrammarTable table_;
    CScanner* scanner_ = nullptr;
};

}  // namespace

TEST_F(ScannerTest, KeywordsMatchInAnyCaseAndKeepTheirImage)
{
    ASSERT_TRUE(scanner_->Tokenize("IF Iffy tHeN\nEnd\n"));
    ExpectTokens({
        {"if", "IF", 1, 1},
        {"Identifier", "Iffy", 1, 4},
        {"then", "tHeN", 1, 9},
        {"NewLine", "\n", 1, 13},
        {"end", "End", 2, 1},
        {"NewLine", "\n", 2, 4},
        {"EOF", "EOF", 3, 1},
    });
    EXPECT_EQ(scanner_->GetTokens()[0].Kind, 1);
    EXPECT_EQ(scanner_->GetTokens().back().Kind, 0);
    EXPECT_EQ(scanner_->GetTokens().back().SymbolIndex, 0u);
}

TEST_F(ScannerTest, LineCommentRunsToTheLineFeed)
{
    ASSERT_TRUE(scanner_->Tokenize("a = 1 // b = \"open\n\tc=22 //\n//"));
    ExpectTokens({
        {"Identifier", "a", 1, 1},
        {"=", "=", 1, 3},
        {"Number", "1", 1, 5},
        {"NewLine", "\n", 1, 19},
        {"Identifier", "c", 2, 2},
        {"=", "=", 2, 3},
        {"Number", "22", 2, 4},
        {"NewLine", "\n", 2, 9},
        {"EOF", "EOF", 3, 3},
    });
}

TEST_F(ScannerTest, LongestMatchAndLinesOfMultiLineTokens)
{
    ASSERT_TRUE(scanner_->Tokenize("x=12.5*(y)\r\nwhile2"));
    ExpectTokens({
        {"Identifier", "x", 1, 1},
        {"=", "=", 1, 2},
        {"Real", "12.5", 1, 3},
        {"*", "*", 1, 7},
        {"(", "(", 1, 8},
        {"Identifier", "y", 1, 9},
        {")", ")", 1, 10},
        {"NewLine", "\r\n", 1, 11},
        {"Identifier", "while2", 2, 1},
        {"EOF", "EOF", 2, 7},
    });
}

TEST_F(ScannerTest, TextEndingRightAfterATokenGivesThatTokenAndEof)
{
    ASSERT_TRUE(scanner_->Tokenize("abc"));
    ExpectTokens({{"Identifier", "abc", 1, 1}, {"EOF", "EOF", 1, 4}});
}

TEST_F(ScannerTest, ScanErrors)
{
    struct Case {
        const char* text;
        int line;
        int column;
    };
    const Case cases[] = {
        {"", 1, 1},                   // an empty text
        {"a = $\n", 1, 5},            // no terminal starts with '$'
        {"a = 1\nb = \"open", 2, 5},  // unfinished last token
        {"a = 12.\n", 1, 5},          // a real needs digits after its point
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(scanner_->Tokenize(c.text)) << c.text;
        ASSERT_EQ(scanner_->GetErrors().size(), 1u) << c.text;
        const CParseError& e = scanner_->GetErrors()[0];
        EXPECT_EQ(e.Kind, ErrorKindScan) << c.text;
        EXPECT_EQ(e.Subtype, ScanErrorCharacter) << c.text;
        EXPECT_EQ(e.Line, c.line) << c.text;
        EXPECT_EQ(e.Column, c.column) << c.text;
    }
}

// The tokens of a text may take only so much memory: the scan stops as soon as they reach it, at
// the line where they did, with the working-set error (the same the parser gives), and keeps no
// tokens. Within the budget the same text scans whole.
TEST_F(ScannerTest, TokensPastTheMemoryBudgetStopTheScan)
{
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "a = 1\n";  // four tokens a line, the line break being one
    const std::size_t perToken = sizeof(CToken);
    scanner_->SetMemoryBudget(perToken * 4 * 5000);
    EXPECT_FALSE(scanner_->Tokenize(text));
    ASSERT_EQ(scanner_->GetErrors().size(), 1u);
    const CParseError& e = scanner_->GetErrors()[0];
    EXPECT_EQ(e.Kind, ErrorKindScan);
    EXPECT_EQ(e.Subtype, ScanErrorWorkingSet);
    EXPECT_EQ(e.Line, 5001);
    EXPECT_TRUE(scanner_->GetTokens().empty());
    scanner_->SetMemoryBudget(perToken * 4 * 10000);
    EXPECT_TRUE(scanner_->Tokenize(text));
    EXPECT_EQ(scanner_->GetTokens().size(), 40001u);
}

TEST_F(ScannerTest, EachRunRenewsTokensAndErrors)
{
    EXPECT_FALSE(scanner_->Tokenize("$"));
    ASSERT_TRUE(scanner_->Tokenize("a"));
    EXPECT_TRUE(scanner_->GetErrors().empty());
    EXPECT_EQ(scanner_->GetTokens().size(), 2u);
}

TEST_F(ScannerTest, TextEndsAtItsFirstZero)
{
    const std::string text("a\0$", 3);
    ASSERT_TRUE(scanner_->Tokenize(std::string_view(text)));
    ExpectTokens({{"Identifier", "a", 1, 1}, {"EOF", "EOF", 1, 2}});
}

// The image grows with the token: no fixed-size buffer to overflow.
TEST_F(ScannerTest, VeryLongTokensAndBlankRuns)
{
    const std::string name(200000, 'q');
    const std::string blanks(300000, ' ');
    const std::string text = name + blanks + "= \"" + std::string(100000, 'z') + "\"" + std::string(70000, '\n');
    ASSERT_TRUE(scanner_->Tokenize(text));
    const auto& tokens = scanner_->GetTokens();
    ASSERT_EQ(tokens.size(), 3u + 70000u + 1u);
    EXPECT_EQ(tokens[0].Image, name);
    EXPECT_EQ(tokens[1].Column, 500001);
    EXPECT_EQ(tokens[2].Image.size(), 100002u);
    EXPECT_EQ(tokens[3 + 69999].Line, 70000);
    EXPECT_EQ(tokens.back().Line, 70001);
}

// A text matched by the end-of-input symbol keeps no token and writes nothing: an untagged
// line on standard output would reach the IDE as stray output.
TEST(Scanner, EndOfInputSymbolKeepsNothingAndWritesNothing)
{
    auto records = OneWordRecords();
    records[1] = Record({Byte('T'), I(3), I(2), I(1), I(3), I(3)});
    records.insert(records.begin() + 7, Record({Byte('C'), I(1), S(u"#")}));
    // DFA state 0: 'a' -> 1 (accepts a), '#' -> 2 (accepts EOF, the end-of-input kind).
    records[9] = Record({Byte('D'), I(0), B(false), I(0), E(), I(0), I(1), E(), I(1), I(2), E()});
    records.insert(records.begin() + 11, Record({Byte('D'), I(2), B(true), I(0), E()}));
    CGrammarTable table;
    ASSERT_TRUE(LoadBytes(table, Join(records))) << table.GetLastError();
    CScanner* scanner = table.CreateScanner();

    std::fflush(stdout);
    std::FILE* capture = std::tmpfile();
    ASSERT_NE(capture, nullptr);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(::fileno(capture), STDOUT_FILENO);
    const bool scanned = scanner->Tokenize("#a#");
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    struct stat info {};
    ASSERT_EQ(::fstat(::fileno(capture), &info), 0);
    std::fclose(capture);

    ASSERT_TRUE(scanned);
    const auto& tokens = scanner->GetTokens();
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[0].Image, "a");
    EXPECT_EQ(tokens[0].Column, 2);
    EXPECT_EQ(tokens[1].SymbolName, "EOF");
    EXPECT_EQ(info.st_size, 0);
}
