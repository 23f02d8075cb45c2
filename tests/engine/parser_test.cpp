#include "engine/base/MemoryProbes.h"
#include "grammar_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace zov;
using namespace zov::test;

namespace {

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(table_.Load(TestTable("mini"))); }

    // Scans and parses; the tokens stay with the scanner, as the parser reads them.
    CReduction* Parse(const std::string& text)
    {
        scanner_ = table_.CreateScanner();
        EXPECT_TRUE(scanner_->Tokenize(text)) << text;
        parser_ = table_.CreateParser();
        return parser_->Parse(scanner_->GetTokens());
    }

    static const CReduction& AsReduction(const std::unique_ptr<CGrammarSymbol>& s)
    {
        EXPECT_EQ(s->Kind, 0) << s->SymbolName;
        return static_cast<const CReduction&>(*s);
    }

    static std::string Names(const CReduction& r)
    {
        std::string out;
        for (const auto& c : r.Children)
            out += (out.empty() ? "" : " ") + (c ? c->SymbolName : std::string("NULL"));
        return out;
    }

    static std::string Printed(const CGrammarSymbol* root)
    {
        std::FILE* f = std::tmpfile();
        PrintReductionTree(root, 0, f);
        std::rewind(f);
        std::string out;
        char buf[256];
        while (std::fgets(buf, sizeof buf, f))
            out += buf;
        std::fclose(f);
        return out;
    }

    CGrammarTable table_;
    CScanner* scanner_ = nullptr;
    CParser* parser_ = nullptr;
};

int HighLoad()
{
    return 90;
}
int BelowHighLoad()
{
    return 89;
}
long SmallWorkingSet()
{
    return 1000;
}
long LargeWorkingSet()
{
    return 1900000;
}
long LargestAllowedWorkingSet()
{
    return 1899999;
}

}  // namespace

TEST_F(ParserTest, SingleNonterminalRulesLeaveNoNode)
{
    CReduction* root = Parse("a = b + 2 * c\n");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(parser_->GetResult(), ParseResultAccepted);
    EXPECT_TRUE(parser_->GetErrors().empty());
    // The root is the last reduction, <Start> ::= <StatementList>, kept although trimmed.
    EXPECT_EQ(root->SymbolName, "Start");
    ASSERT_EQ(Names(*root), "StatementList");
    const CReduction& list = AsReduction(root->Children[0]);
    ASSERT_EQ(Names(list), "AssignStatement NewLine");  // <Statement> is gone
    const CReduction& assign = AsReduction(list.Children[0]);
    // <Expression> ::= <AddExpression> leaves the AddExpression reduction in its place; the
    // chain MultExpression -> Value -> IdUse collapses to IdUse.
    ASSERT_EQ(Names(assign), "IdUse = AddExpression");
    const CReduction& add = AsReduction(assign.Children[2]);
    ASSERT_EQ(Names(add), "IdUse + MultExpression");
    const CReduction& mult = AsReduction(add.Children[2]);
    EXPECT_EQ(Names(mult), "ConstInt * IdUse");
    const auto& two = AsReduction(mult.Children[0]).Children[0];
    EXPECT_EQ(static_cast<const CTerminal&>(*two).Image, "2");
    EXPECT_EQ(two->Line, 1);
    EXPECT_EQ(two->Column, 9);
}

TEST_F(ParserTest, PrintsTheReductionTree)
{
    CReduction* root = Parse("x = (1)\n");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Printed(root),
              "1 : Start \n"
              " 1 : StatementList \n"
              "  1 : AssignStatement \n"
              "   1 : IdUse \n"
              "    Identifier:x\n"
              "   =:=\n"
              "   1 : Value \n"
              "    (:(\n"
              "    1 : ConstInt \n"
              "     Number:1\n"
              "    ):)\n"
              "  NewLine:\n"
              "\n");
    EXPECT_EQ(Printed(nullptr), "NULL\n");
}

TEST_F(ParserTest, SyntaxErrorStopsAtTheFirstUnexpectedToken)
{
    EXPECT_EQ(Parse("a = 1\nb = = 2\nc = +\n"), nullptr);
    EXPECT_EQ(parser_->GetResult(), ParseResultStopped);
    ASSERT_EQ(parser_->GetErrors().size(), 1u);
    const CParseError& e = parser_->GetErrors()[0];
    EXPECT_EQ(e.Kind, ErrorKindParse);
    EXPECT_EQ(e.Subtype, ParseErrorUnexpectedToken);
    EXPECT_EQ(e.Line, 2);
    EXPECT_EQ(e.Column, 5);
    EXPECT_EQ(e.OffendingToken.SymbolName, "=");
    EXPECT_EQ(e.OffendingToken.Image, "=");
    ASSERT_NE(e.LastReduction, nullptr);
    EXPECT_EQ(e.LastReduction->SymbolName, "IdUse");
    ASSERT_FALSE(e.Traceback.empty());
    EXPECT_EQ(e.Traceback[0].SymbolName, "=");
    EXPECT_NE(std::find(e.Expected.begin(), e.Expected.end(), "Identifier"), e.Expected.end());
    EXPECT_NE(std::find(e.Expected.begin(), e.Expected.end(), "("), e.Expected.end());
    EXPECT_EQ(std::find(e.Expected.begin(), e.Expected.end(), "Expression"), e.Expected.end());
}

TEST_F(ParserTest, TracebackListsTheInnermostStatementFirst)
{
    EXPECT_EQ(Parse("while a do\n  if b then\n    c = 1\n  x\nend\n"), nullptr);
    ASSERT_EQ(parser_->GetErrors().size(), 1u);
    const CParseError& e = parser_->GetErrors()[0];
    std::vector<std::string> keywords;
    for (const CTracebackEntry& entry : e.Traceback)
        if (entry.SymbolName == "if" || entry.SymbolName == "while")
            keywords.push_back(entry.SymbolName + "@" + std::to_string(entry.Line));
    EXPECT_EQ(keywords, (std::vector<std::string>{"if@2", "while@1"}));
    EXPECT_EQ(e.OffendingToken.Line, 4);
}

TEST_F(ParserTest, TextEndingInsideABlockIsASyntaxError)
{
    EXPECT_EQ(Parse("if a then\n b = 1\n"), nullptr);
    ASSERT_EQ(parser_->GetErrors().size(), 1u);
    const CParseError& e = parser_->GetErrors()[0];
    EXPECT_EQ(e.OffendingToken.SymbolName, "EOF");
    EXPECT_NE(std::find(e.Expected.begin(), e.Expected.end(), "end"), e.Expected.end());
}

TEST_F(ParserTest, TokensWithoutEofEndWithAnError)
{
    scanner_ = table_.CreateScanner();
    ASSERT_TRUE(scanner_->Tokenize("a = 1\n"));
    std::vector<CToken> tokens = scanner_->GetTokens();
    tokens.pop_back();
    parser_ = table_.CreateParser();
    EXPECT_EQ(parser_->Parse(tokens), nullptr);
    ASSERT_EQ(parser_->GetErrors().size(), 1u);
    EXPECT_EQ(parser_->GetErrors()[0].Kind, ErrorKindParse);
}

TEST_F(ParserTest, ResourceStopWhenANewLineIsReached)
{
    struct Case {
        int (*load)();
        long (*workingSet)();
        int subtype;  // -1: parses
    };
    const Case cases[] = {
        {HighLoad, SmallWorkingSet, ScanErrorMemoryLoad},
        {BelowHighLoad, LargeWorkingSet, ScanErrorWorkingSet},
        {BelowHighLoad, LargestAllowedWorkingSet, -1},
        {HighLoad, LargeWorkingSet, ScanErrorMemoryLoad},
    };
    for (const Case& c : cases) {
        scanner_ = table_.CreateScanner();
        ASSERT_TRUE(scanner_->Tokenize("a = 1\nb = 2\n"));
        parser_ = table_.CreateParser();
        CResourceProbes probes;
        probes.MemoryLoad = c.load;
        probes.WorkingSetKb = c.workingSet;
        parser_->SetResourceProbes(probes);
        CReduction* root = parser_->Parse(scanner_->GetTokens());
        if (c.subtype < 0) {
            EXPECT_NE(root, nullptr);
            EXPECT_TRUE(parser_->GetErrors().empty());
            continue;
        }
        EXPECT_EQ(root, nullptr);
        ASSERT_EQ(parser_->GetErrors().size(), 1u);
        const CParseError& e = parser_->GetErrors()[0];
        EXPECT_EQ(e.Kind, ErrorKindScan);
        EXPECT_EQ(e.Subtype, c.subtype);
        EXPECT_EQ(e.Line, 0);
        EXPECT_EQ(e.Column, 0);
    }
}

// The probes behind the resource stop read this process and this machine.
TEST(ResourceProbes, WorkingSetFollowsTheMemoryThisProcessTouches)
{
    const long before = GetWorkingSetKb();
    ASSERT_GT(before, 0);
    std::vector<char> block(64u * 1024u * 1024u);
    std::memset(block.data(), 1, block.size());  // resident only once written
    // The kernel's resident counters are approximate per CPU, so ask for half of what was touched.
    const long after = GetWorkingSetKb();
    EXPECT_GE(after - before, 32L * 1024L);
    EXPECT_EQ(block[block.size() / 2], 1);
}

TEST(ResourceProbes, MemoryLoadIsAPercentage)
{
    const int load = GetMemoryLoad();
    EXPECT_GT(load, 0);
    EXPECT_LE(load, 100);
}

TEST_F(ParserTest, ReductionWithoutGotoIsReported)
{
    // One-word table whose start state lacks the goto for <S>.
    auto records = OneWordRecords();
    records[10] = Record({Byte('L'), I(0), E(), I(1), I(1), I(1), E()});
    CGrammarTable broken;
    ASSERT_TRUE(LoadBytes(broken, Join(records)));
    CScanner* scanner = broken.CreateScanner();
    ASSERT_TRUE(scanner->Tokenize("a"));
    CParser* parser = broken.CreateParser();
    EXPECT_EQ(parser->Parse(scanner->GetTokens()), nullptr);
    EXPECT_EQ(parser->GetResult(), ParseResultStopped);
    ASSERT_EQ(parser->GetErrors().size(), 1u);
    EXPECT_EQ(parser->GetErrors()[0].Kind, ErrorKindParse);
    EXPECT_EQ(parser->GetErrors()[0].Subtype, ParseErrorNoGoto);
}

TEST_F(ParserTest, ReductionsThatNeverReadATokenAreReported)
{
    // State 0 reduces the empty rule <S> ::= on 'a' and its goto leads back to state 0.
    auto records = OneWordRecords();
    records[7] = Record({Byte('R'), I(0), I(2), E()});
    records[10] = Record({Byte('L'), I(0), E(), I(1), I(2), I(0), E(), I(2), I(3), I(0), E()});
    CGrammarTable looping;
    ASSERT_TRUE(LoadBytes(looping, Join(records)));
    CScanner* scanner = looping.CreateScanner();
    ASSERT_TRUE(scanner->Tokenize("a"));
    CParser* parser = looping.CreateParser();
    EXPECT_EQ(parser->Parse(scanner->GetTokens()), nullptr);
    ASSERT_EQ(parser->GetErrors().size(), 1u);
    EXPECT_EQ(parser->GetErrors()[0].Kind, ErrorKindParse);
    EXPECT_EQ(parser->GetErrors()[0].Subtype, ParseErrorNoProgress);
}

// Right-recursive statement lists make trees as deep as the script is long; building and
// freeing them must not use the call stack.
TEST_F(ParserTest, VeryDeepTreesAreBuiltAndFreed)
{
    std::string text;
    for (int i = 0; i < 200000; ++i)
        text += "a = b\n";
    CReduction* root = Parse(text);
    ASSERT_NE(root, nullptr);
    std::unique_ptr<CReduction> tree = parser_->TakeTree();
    ASSERT_EQ(tree.get(), root);
    EXPECT_EQ(parser_->TakeTree(), nullptr);
    int depth = 0;
    for (const CReduction* r = &AsReduction(tree->Children[0]); r->Children.size() == 3;
         r = &AsReduction(r->Children[2]))
        ++depth;
    EXPECT_EQ(depth, 199999);
    tree.reset();
    // The parser still frees a tree it kept.
    EXPECT_NE(Parse(text), nullptr);
}

TEST(TreeNode, TakesNameImageAndPositionFromParserEntries)
{
    CTerminal terminal;
    terminal.SymbolName = "Number";
    terminal.Image = "42";
    terminal.Line = 70000;
    terminal.Column = 3;
    CReduction reduction;
    reduction.SymbolName = "ConstInt";
    reduction.Line = 4;

    CTreeNode parent;
    CTreeNode node;
    node.SetParent(&parent);
    EXPECT_EQ(node.GetLine(), CTreeNode::kUnfilledLine);
    node.SetFromReduction(terminal);
    EXPECT_EQ(node.GetName(), "Number");
    EXPECT_EQ(node.GetImage(), "42");
    // Lines beyond 16 bits keep their number.
    EXPECT_EQ(node.GetLine(), 70000u);
    EXPECT_EQ(node.GetColumn(), 3);
    EXPECT_EQ(node.GetParent(), nullptr);
    node.SetFromReduction(reduction);
    EXPECT_EQ(node.GetImage(), "ConstInt");
    EXPECT_EQ(node.GetLine(), 4);
}

TEST(TreeNode, PrintsItsSubtreeAndFreesDeepChains)
{
    auto root = std::make_unique<CTreeNode>();
    root->SetName("Start");
    root->SetImage("Start");
    CTreeNode* child = root->AddChild(std::make_unique<CTreeNode>());
    child->SetName("IdUse");
    child->SetImage("x");
    root->AddChild(nullptr);
    std::FILE* f = std::tmpfile();
    root->Print(1, f);
    std::rewind(f);
    char buf[512] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), " Start:Start\n  IdUse:x\n  NULL\n");

    CTreeNode* last = root.get();
    for (int i = 0; i < 300000; ++i)
        last = last->AddChild(std::make_unique<CTreeNode>());
    root.reset();
}
