// The syntax tree built from scripts: node classes per construct, literal values, the order of
// evaluation of operator chains, flat statement lists, `with` targets and the builder's
// messages.

#include "engine/tree/expressions/AddExpression.h"
#include "engine/tree/expressions/AndExpression.h"
#include "engine/tree/statements/AssignStatement.h"
#include "engine/tree/procedures/CallStmt.h"
#include "engine/tree/statements/Case.h"
#include "engine/tree/statements/CaseList.h"
#include "engine/tree/statements/CaseStmt.h"
#include "engine/tree/statements/CaseStmtEnd.h"
#include "engine/tree/expressions/ConstBool.h"
#include "engine/tree/expressions/ConstInt.h"
#include "engine/tree/expressions/ConstReal.h"
#include "engine/tree/expressions/ConstStr.h"
#include "engine/tree/statements/ConstantList.h"
#include "engine/console/Console.h"
#include "engine/tree/statements/DimStmt.h"
#include "engine/tree/expressions/DivExpression.h"
#include "engine/tree/expressions/EqualExpression.h"
#include "engine/tree/statements/ForStmt.h"
#include "engine/tree/expressions/FunctionCall.h"
#include "engine/tree/procedures/FunctionProc.h"
#include "engine/tree/statements/GotoStmt.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/tree/expressions/GreaterEqualExpression.h"
#include "engine/tree/expressions/GreaterExpression.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/tree/procedures/IdProc.h"
#include "engine/tree/expressions/IdUse.h"
#include "engine/tree/statements/IfStmt.h"
#include "engine/runtime/Label.h"
#include "engine/tree/statements/LabelStmt.h"
#include "engine/tree/expressions/LessEqualExpression.h"
#include "engine/tree/expressions/LessExpression.h"
#include "LineCapture.h"
#include "engine/tree/expressions/ModExpression.h"
#include "engine/tree/expressions/MultExpression.h"
#include "engine/tree/expressions/NegateExpression.h"
#include "engine/tree/expressions/NotEqualExpression.h"
#include "engine/tree/expressions/NotExpression.h"
#include "engine/tree/expressions/OrExpression.h"
#include "engine/tree/procedures/ParameterList.h"
#include "engine/tree/expressions/PowerExpression.h"
#include "engine/tree/procedures/ProcParamList.h"
#include "engine/tree/procedures/ProcedureStmt.h"
#include "engine/tree/statements/RepeatStmt.h"
#include "engine/tree/procedures/ReturnStmt.h"
#include "ScriptRunner.h"
#include "engine/tree/statements/Start.h"
#include "engine/tree/statements/StatementList.h"
#include "engine/tree/expressions/SubtractExpression.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"
#include "engine/tree/statements/WhileStmt.h"
#include "engine/tree/statements/WithStmt.h"
#include "engine/tree/expressions/XorExpression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <pthread.h>
#include <string>

using namespace zov;

namespace {

class TreeBuilderTest : public ::testing::Test {
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

    // The tree of a script that must parse.
    static std::unique_ptr<CAny> Build(const std::string& text)
    {
        CScriptTree tree = BuildScriptTree(*table_, text);
        EXPECT_EQ(tree.Error, "") << text;
        EXPECT_NE(tree.Root, nullptr) << text;
        return std::move(tree.Root);
    }

    // The statements of the script's list.
    static CStatementList* Statements(CAny* root)
    {
        EXPECT_NE(dynamic_cast<CStart*>(root), nullptr);
        auto* list = root ? dynamic_cast<CStatementList*>(root->Child(0)) : nullptr;
        EXPECT_NE(list, nullptr);
        return list;
    }

    // The expression assigned by the script's first statement, "x = <expression>".
    CAny* ValueOf(const std::string& expression)
    {
        root_ = Build("x = " + expression + "\n");
        CStatementList* list = root_ ? Statements(root_.get()) : nullptr;
        auto* assign = list ? dynamic_cast<CAssignStatement*>(list->Child(0)) : nullptr;
        EXPECT_NE(assign, nullptr) << expression;
        return assign ? assign->Child(1) : nullptr;
    }

    static CGrammarTable* table_;
    std::unique_ptr<CAny> root_;
};

CGrammarTable* TreeBuilderTest::table_ = nullptr;

// Evaluates an integer expression tree with the language's 32-bit integer rules; empty for a
// division by zero or a node that is not an integer operator or constant.
std::optional<int32_t> Evaluate(const CAny* node)
{
    if (!node)
        return std::nullopt;
    if (auto* c = dynamic_cast<const CConstInt*>(node))
        return c->Word();
    if (dynamic_cast<const CNegateExpression*>(node)) {
        auto a = Evaluate(node->Child(0));
        return a ? std::optional<int32_t>(WrapNegate(*a)) : std::nullopt;
    }
    auto a = Evaluate(node->Child(0));
    auto b = Evaluate(node->Child(1));
    if (!a || !b)
        return std::nullopt;
    if (dynamic_cast<const CAddExpression*>(node))
        return WrapAdd(*a, *b);
    if (dynamic_cast<const CSubtractExpression*>(node))
        return WrapSubtract(*a, *b);
    if (dynamic_cast<const CMultExpression*>(node))
        return WrapMultiply(*a, *b);
    if (dynamic_cast<const CDivExpression*>(node))
        return *b == 0 ? std::nullopt : std::optional<int32_t>(WrapDivide(*a, *b));
    if (dynamic_cast<const CModExpression*>(node))
        return *b == 0 ? std::nullopt : std::optional<int32_t>(WrapRemainder(*a, *b));
    if (dynamic_cast<const CPowerExpression*>(node))
        return IntegerPower(*a, *b);
    return std::nullopt;
}

TEST_F(TreeBuilderTest, IntegerLiteralsConvertByTheirForm)
{
    struct Case {
        const char* text;
        int32_t word;
        uint32_t base;
        bool based;
    };
    const Case cases[] = {
        {"0", 0, 10, false},
        {"42", 42, 10, false},
        {"010", 8, 10, false},  // a leading 0 reads octal
        {"0777", 511, 10, false},
        {"2147483647", 2147483647, 10, false},
        {"2147483648", 2147483647, 10, false},  // saturates, even though a C long holds it
        {"99999999999999999999", 2147483647, 10, false},
        {"0xFF", 255, 16, true},
        {"0xff", 255, 16, true},
        {"0XAb", 0xAB, 16, true},
        {"0xFFFFFFFF", -1, 16, true},
        {"0x1FFFFFFFF", -1, 16, true},  // nine digits wrap modulo 2^32
        {"0x100000005", 5, 16, true},
        {"0b101", 5, 2, true},
        {"0o17", 15, 8, true},
        {"4000000000u", static_cast<int32_t>(4000000000u), 10, true},
        {"99999999999u", -1, 10, true},  // saturates to the largest 32-bit word
        {"010u", 8, 10, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto* constant = dynamic_cast<CConstInt*>(ValueOf(c.text));
        ASSERT_NE(constant, nullptr);
        EXPECT_EQ(constant->Word(), c.word);
        EXPECT_EQ(constant->DisplayBase(), c.base);
        EXPECT_EQ(constant->IsBased(), c.based);
    }
}

TEST_F(TreeBuilderTest, NegativeCaseLabelIsOneConstant)
{
    auto root = Build("case x of\n  -5: y = 1\n  -2147483648: y = 2\n  -99999999999: y = 3\nend\n");
    auto* caseStmt = dynamic_cast<CCaseStmt*>(Statements(root.get())->Child(0));
    ASSERT_NE(caseStmt, nullptr);
    const int32_t expected[] = {-5, INT32_MIN, INT32_MIN};
    CAny* link = caseStmt->Child(1);
    for (int32_t value : expected) {
        ASSERT_NE(dynamic_cast<CCaseList*>(link), nullptr);
        auto* label = dynamic_cast<CConstInt*>(link->Child(0)->Child(0));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->Word(), value);
        link = link->Child(1);
    }
}

TEST_F(TreeBuilderTest, RealBooleanAndStringLiterals)
{
    const std::pair<const char*, double> reals[] = {{"2.5", 2.5}, {"1e3", 1000.0}, {"1.5E-2", 0.015}, {"0.0", 0.0}};
    for (const auto& [text, value] : reals) {
        auto* constant = dynamic_cast<CConstReal*>(ValueOf(text));
        ASSERT_NE(constant, nullptr) << text;
        EXPECT_DOUBLE_EQ(constant->Value(), value) << text;
    }
    const std::pair<const char*, bool> booleans[] = {
        {"true", true}, {"TRUE", true}, {"True", true}, {"false", false}, {"FALSE", false}};
    for (const auto& [text, value] : booleans) {
        auto* constant = dynamic_cast<CConstBool*>(ValueOf(text));
        ASSERT_NE(constant, nullptr) << text;
        EXPECT_EQ(constant->Value(), value) << text;
    }
    // The tree keeps a string as written: the backslash and the n stay two characters.
    auto* text = dynamic_cast<CConstStr*>(ValueOf(R"("a\nb \"q\" \\")"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Text(), R"(a\nb \"q\" \\)");
    auto* empty = dynamic_cast<CConstStr*>(ValueOf(R"("")"));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->Text(), "");
}

TEST_F(TreeBuilderTest, EscapesAreReplacedOnlyInTheValue)
{
    const std::pair<std::string, std::string> cases[] = {
        {R"(a\tb)", "a\tb"},   {R"(a\\b)", "a\\b"}, {R"(x\ny\r)", "x\ny\r"}, {R"(\b)", "\b"}, {R"(cut\0here)", "cut"},
        {R"(\"q\")", "\"q\""}, {R"(\z)", "z"},      {"end\\", "end"},        {"", ""},
    };
    for (const auto& [written, value] : cases)
        EXPECT_EQ(CConstStr::ReplaceEscapes(written), value) << written;
}

TEST_F(TreeBuilderTest, OperatorChainsEvaluateLeftToRight)
{
    const std::pair<const char*, int32_t> cases[] = {
        {"1 - 2 + 3", 2}, {"1 - 2 - 3", -4},  {"(1 - 2) + 3", 2},  {"(1 + 2) - 3 + 4", 4}, {"1 - (2 + 3)", -4},
        {"8 / 4 * 2", 4}, {"8 / 4 / 2", 1},   {"7 / 2 * 2", 6},    {"1 / 2 * 4", 0},       {"100 / 10 / 5 * 3", 6},
        {"1 + 2 * 3", 7}, {"2 * 3 mod 4", 2}, {"17 mod 5 * 2", 4}, {"2 ^ 3 ^ 2", 512},     {"-2 ^ 2", -4},
        {"2 ^ -1", 0},    {"5-3", 2},         {"5 - -3", 8},       {"-(1 - 2)", 1},        {"10 - 2 * 3 - 1", 3},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        auto result = Evaluate(ValueOf(text));
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, value);
    }
}

TEST_F(TreeBuilderTest, LongOperatorChainBuildsAsALeftSpine)
{
    // Far longer than any stack would allow one frame per operator.
    constexpr int kTerms = 50000;
    std::string expression = "100";
    for (int i = 1; i < kTerms; ++i)
        expression += i % 2 ? " - 1" : " + 2";
    CAny* node = ValueOf(expression);
    int operators = 0;
    while (node && node->ChildCount() == 2) {
        const bool plus = dynamic_cast<CAddExpression*>(node) != nullptr;
        ASSERT_TRUE(plus || dynamic_cast<CSubtractExpression*>(node));
        // The right operand of the last operator written is the top of the spine.
        ASSERT_EQ(plus, (kTerms - 1 - operators) % 2 == 0);
        auto* right = dynamic_cast<CConstInt*>(node->Child(1));
        ASSERT_NE(right, nullptr);
        EXPECT_EQ(right->Word(), plus ? 2 : 1);
        EXPECT_EQ(node->Child(0)->Parent(), node);
        node = node->Child(0);
        ++operators;
    }
    EXPECT_EQ(operators, kTerms - 1);
    auto* first = dynamic_cast<CConstInt*>(node);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Word(), 100);
}

TEST_F(TreeBuilderTest, SubtractionOfALiteralIsNotANegativeLiteral)
{
    for (const char* text : {"a-1", "a -1", "a - 1"}) {
        auto* subtract = dynamic_cast<CSubtractExpression*>(ValueOf(text));
        ASSERT_NE(subtract, nullptr) << text;
        ASSERT_NE(dynamic_cast<CIdUse*>(subtract->Child(0)), nullptr);
        auto* one = dynamic_cast<CConstInt*>(subtract->Child(1));
        ASSERT_NE(one, nullptr);
        EXPECT_EQ(one->Word(), 1);
    }
}

TEST_F(TreeBuilderTest, EachWrittenOperatorHasItsClass)
{
    using Check = bool (*)(const CAny*);
    const std::pair<const char*, Check> cases[] = {
        {"a == b", [](const CAny* n) { return dynamic_cast<const CEqualExpression*>(n) != nullptr; }},
        {"a <> b", [](const CAny* n) { return dynamic_cast<const CNotEqualExpression*>(n) != nullptr; }},
        {"a != b", [](const CAny* n) { return dynamic_cast<const CNotEqualExpression*>(n) != nullptr; }},
        {"a > b", [](const CAny* n) { return dynamic_cast<const CGreaterExpression*>(n) != nullptr; }},
        {"a >= b", [](const CAny* n) { return dynamic_cast<const CGreaterEqualExpression*>(n) != nullptr; }},
        {"a < b", [](const CAny* n) { return dynamic_cast<const CLessExpression*>(n) != nullptr; }},
        {"a <= b", [](const CAny* n) { return dynamic_cast<const CLessEqualExpression*>(n) != nullptr; }},
        {"a or b", [](const CAny* n) { return dynamic_cast<const COrExpression*>(n) != nullptr; }},
        {"a XOR b", [](const CAny* n) { return dynamic_cast<const CXorExpression*>(n) != nullptr; }},
        {"a and b", [](const CAny* n) { return dynamic_cast<const CAndExpression*>(n) != nullptr; }},
        {"not a", [](const CAny* n) { return dynamic_cast<const CNotExpression*>(n) != nullptr; }},
        {"a Mod b", [](const CAny* n) { return dynamic_cast<const CModExpression*>(n) != nullptr; }},
        {"a ^ b", [](const CAny* n) { return dynamic_cast<const CPowerExpression*>(n) != nullptr; }},
        {"-a", [](const CAny* n) { return dynamic_cast<const CNegateExpression*>(n) != nullptr; }},
        // Precedence: and before or, comparison before not, arithmetic before comparison.
        {"a or b and c",
         [](const CAny* n) {
             return dynamic_cast<const COrExpression*>(n) && dynamic_cast<const CAndExpression*>(n->Child(1));
         }},
        {"a and b or c",
         [](const CAny* n) {
             return dynamic_cast<const COrExpression*>(n) && dynamic_cast<const CAndExpression*>(n->Child(0));
         }},
        {"not a == b",
         [](const CAny* n) {
             return dynamic_cast<const CNotExpression*>(n) && dynamic_cast<const CEqualExpression*>(n->Child(0));
         }},
        {"a + 1 < b * 2",
         [](const CAny* n) {
             return dynamic_cast<const CLessExpression*>(n) && dynamic_cast<const CAddExpression*>(n->Child(0)) &&
                    dynamic_cast<const CMultExpression*>(n->Child(1));
         }},
    };
    for (const auto& [text, check] : cases) {
        const CAny* node = ValueOf(text);
        EXPECT_TRUE(node && check(node)) << text;
    }
    // The comparisons say so, and which ones order their operands.
    const std::pair<const char*, OperatorClass> comparisons[] = {
        {"a == b", OperatorClass::Equality}, {"a != b", OperatorClass::Equality}, {"a < b", OperatorClass::Ordering},
        {"a >= b", OperatorClass::Ordering}, {"a + b", OperatorClass::Plain},     {"a and b", OperatorClass::Plain},
    };
    for (const auto& [text, kind] : comparisons) {
        auto* e = dynamic_cast<const CExpression*>(ValueOf(text));
        ASSERT_NE(e, nullptr) << text;
        EXPECT_EQ(e->GetOperatorClass(), kind) << text;
    }
}

TEST_F(TreeBuilderTest, AnyNumberOfStatementsMakesOneFlatList)
{
    // Long enough that a builder recursing once per line would need a deep stack.
    constexpr int kLines = 50000;
    std::string script = "; generated\n\n";
    for (int i = 0; i < kLines; ++i)
        script += "x" + std::to_string(i % 7) + " = " + std::to_string(i) + "\n";
    auto root = Build(script);
    CStatementList* list = Statements(root.get());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->ChildCount(), static_cast<size_t>(kLines));
    for (size_t i = 0; i < list->ChildCount(); i += 9973) {
        auto* assign = dynamic_cast<CAssignStatement*>(list->Child(i));
        ASSERT_NE(assign, nullptr);
        EXPECT_EQ(assign->Parent(), list);
        EXPECT_EQ(assign->Line(), i + 3);
        EXPECT_EQ(dynamic_cast<CConstInt*>(assign->Child(1))->Word(), static_cast<int32_t>(i));
    }
}

TEST_F(TreeBuilderTest, BlankLinesCommentsAndSeparatorsLeaveNoNode)
{
    auto root = Build("\n; comment\r\n\r\na = 1 & b = 2 &\r\n   \n  ; x = 3\nc = 4 ; d = 5\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 3u);
    const char* names[] = {"a", "b", "c"};
    for (size_t i = 0; i < 3; ++i) {
        auto* assign = dynamic_cast<CAssignStatement*>(list->Child(i));
        ASSERT_NE(assign, nullptr);
        EXPECT_EQ(dynamic_cast<CIdDecl*>(assign->Child(0))->VariableName(), names[i]);
    }
    EXPECT_EQ(list->Child(2)->Line(), 7u);
}

TEST_F(TreeBuilderTest, BlocksHaveTheirPartsInOrder)
{
    auto root = Build(
        "if a then\n  b = 1\nelse\n  b = 2\nend\n"
        "if a then\nend\n"
        "while a do\n  b = 1\nend\n"
        "repeat\n  b = 1\nuntil a\n"
        "for i = 1 to 3 do\n  b = i\nend\n"
        "for j = 9 DOWNTO 1 step 2 do\nend\n"
        "dim t(10) = 0\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 7u);

    auto* ifElse = dynamic_cast<CIfStmt*>(list->Child(0));
    ASSERT_NE(ifElse, nullptr);
    ASSERT_EQ(ifElse->ChildCount(), 3u);
    EXPECT_NE(dynamic_cast<CIdUse*>(ifElse->Child(0)), nullptr);
    EXPECT_NE(dynamic_cast<CStatementList*>(ifElse->Child(1)), nullptr);
    EXPECT_NE(dynamic_cast<CStatementList*>(ifElse->Child(2)), nullptr);
    auto* ifOnly = dynamic_cast<CIfStmt*>(list->Child(1));
    ASSERT_NE(ifOnly, nullptr);
    ASSERT_EQ(ifOnly->ChildCount(), 2u);
    EXPECT_EQ(ifOnly->Child(1)->ChildCount(), 0u);  // an empty then part

    auto* loop = dynamic_cast<CWhileStmt*>(list->Child(2));
    ASSERT_NE(loop, nullptr);
    ASSERT_EQ(loop->ChildCount(), 3u);
    EXPECT_NE(dynamic_cast<CCaseStmtEnd*>(loop->Child(2)), nullptr);
    EXPECT_EQ(loop->Child(2)->Line(), 10u);  // the end marker's own line

    auto* repeat = dynamic_cast<CRepeatStmt*>(list->Child(3));
    ASSERT_NE(repeat, nullptr);
    ASSERT_EQ(repeat->ChildCount(), 2u);
    EXPECT_NE(dynamic_cast<CIdUse*>(repeat->Child(1)), nullptr);

    auto* up = dynamic_cast<CForStmt*>(list->Child(4));
    ASSERT_NE(up, nullptr);
    EXPECT_TRUE(up->IsCountingUp());
    ASSERT_EQ(up->ChildCount(), 5u);
    EXPECT_NE(dynamic_cast<CIdDecl*>(up->Child(0)), nullptr);
    EXPECT_NE(dynamic_cast<CCaseStmtEnd*>(up->Child(4)), nullptr);
    auto* down = dynamic_cast<CForStmt*>(list->Child(5));
    ASSERT_NE(down, nullptr);
    EXPECT_FALSE(down->IsCountingUp());
    ASSERT_EQ(down->ChildCount(), 6u);
    EXPECT_EQ(dynamic_cast<CConstInt*>(down->Child(3))->Word(), 2);  // the step
    EXPECT_NE(dynamic_cast<CCaseStmtEnd*>(down->Child(5)), nullptr);

    auto* dim = dynamic_cast<CDimStmt*>(list->Child(6));
    ASSERT_NE(dim, nullptr);
    ASSERT_EQ(dim->ChildCount(), 3u);
    EXPECT_EQ(dynamic_cast<CIdDecl*>(dim->Child(0))->VariableName(), "t");
    EXPECT_EQ(dynamic_cast<CConstInt*>(dim->Child(1))->Word(), 10);
}

TEST_F(TreeBuilderTest, CaseChainsAreListsToTheirEnd)
{
    auto root = Build(
        "case x of\n  1: a = 1\n  2, 3, 4:\n    a = 2\n  5 to 9: a = 3\nelse\n  a = 0\nend\n"
        "case y of\n  \"a\": b = 1\nend\n");
    CStatementList* list = Statements(root.get());
    auto* withElse = dynamic_cast<CCaseStmt*>(list->Child(0));
    ASSERT_NE(withElse, nullptr);
    ASSERT_EQ(withElse->ChildCount(), 4u);
    EXPECT_NE(dynamic_cast<CStatementList*>(withElse->Child(2)), nullptr);
    EXPECT_NE(dynamic_cast<CCaseStmtEnd*>(withElse->Child(3)), nullptr);

    // Three links, each a list holding one case; the last has no rest.
    CAny* link = withElse->Child(1);
    std::vector<CCase*> cases;
    while (link) {
        ASSERT_NE(dynamic_cast<CCaseList*>(link), nullptr);
        cases.push_back(dynamic_cast<CCase*>(link->Child(0)));
        ASSERT_NE(cases.back(), nullptr);
        link = link->Child(1);
    }
    ASSERT_EQ(cases.size(), 3u);
    EXPECT_EQ(dynamic_cast<CConstInt*>(cases[0]->Child(0))->Word(), 1);
    auto* values = dynamic_cast<CConstantList*>(cases[1]->Child(0));
    ASSERT_NE(values, nullptr);
    EXPECT_FALSE(values->IsRange());
    auto* rest = dynamic_cast<CConstantList*>(values->Child(1));
    ASSERT_NE(rest, nullptr);  // 2, (3, 4)
    EXPECT_EQ(dynamic_cast<CConstInt*>(rest->Child(1))->Word(), 4);
    auto* range = dynamic_cast<CConstantList*>(cases[2]->Child(0));
    ASSERT_NE(range, nullptr);
    EXPECT_TRUE(range->IsRange());

    // A single case still sits in a list of its own.
    auto* single = dynamic_cast<CCaseStmt*>(list->Child(1));
    ASSERT_NE(single, nullptr);
    ASSERT_EQ(single->ChildCount(), 3u);
    ASSERT_NE(dynamic_cast<CCaseList*>(single->Child(1)), nullptr);
    EXPECT_NE(dynamic_cast<CCase*>(single->Child(1)->Child(0)), nullptr);
    EXPECT_EQ(single->Child(1)->ChildCount(), 1u);
    EXPECT_NE(dynamic_cast<CCaseStmtEnd*>(single->Child(2)), nullptr);
}

TEST_F(TreeBuilderTest, LabelsKeepTheirColon)
{
    auto root = Build(":START\ngoto :START\n:TIMEOUT\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 3u);
    auto* labelStmt = dynamic_cast<CLabelStmt*>(list->Child(0));
    ASSERT_NE(labelStmt, nullptr);
    auto* label = dynamic_cast<CLabel*>(labelStmt->Child(0));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->LabelName(), ":START");
    EXPECT_EQ(label->Parent(), labelStmt);
    auto* jump = dynamic_cast<CGotoStmt*>(list->Child(1));
    ASSERT_NE(jump, nullptr);
    EXPECT_EQ(dynamic_cast<CLabel*>(jump->Child(0))->LabelName(), ":START");
    EXPECT_EQ(jump->Line(), 2u);
    EXPECT_EQ(dynamic_cast<CLabel*>(list->Child(2)->Child(0))->LabelName(), ":TIMEOUT");
}

TEST_F(TreeBuilderTest, ProceduresHaveNameParametersBodyAndReturnPart)
{
    auto root = Build(
        "proc f(a = 1, s = \"x\", r = 0.5)\n  b = a\n  return b + 1\nend\n"
        "proc g(n = 0)\nend\n"
        "PROC h()\n  trace(1)\nEND\n"
        "call f(2, \"y\")\ncall g(5)\ncall h()\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 6u);

    auto* f = dynamic_cast<CProcedureStmt*>(list->Child(0));
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->IsProcedureDeclaration());
    EXPECT_EQ(f->GetName(), "proc");  // the list passes over what bears this name
    ASSERT_EQ(f->ChildCount(), 4u);
    EXPECT_EQ(dynamic_cast<CIdProc*>(f->Child(0))->ProcedureName(), "f");
    auto* parameters = dynamic_cast<CProcParamList*>(f->Child(1));
    ASSERT_NE(parameters, nullptr);
    ASSERT_EQ(parameters->ChildCount(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        auto* parameter = dynamic_cast<CAssignStatement*>(parameters->Child(i));
        ASSERT_NE(parameter, nullptr);
        // The default value stands where the parameter's type is read from.
        EXPECT_NE(dynamic_cast<CIdDecl*>(parameter->Child(0)), nullptr);
        EXPECT_EQ(parameter->Child(0)->Parent(), parameter);
    }
    EXPECT_NE(dynamic_cast<CConstStr*>(parameters->Child(1)->Child(1)), nullptr);
    EXPECT_NE(dynamic_cast<CConstReal*>(parameters->Child(2)->Child(1)), nullptr);
    EXPECT_NE(dynamic_cast<CStatementList*>(f->Child(2)), nullptr);
    auto* ret = dynamic_cast<CReturnStmt*>(f->Child(3));
    ASSERT_NE(ret, nullptr);
    ASSERT_EQ(ret->ChildCount(), 1u);
    EXPECT_NE(dynamic_cast<CAddExpression*>(ret->Child(0)), nullptr);

    auto* g = dynamic_cast<CProcedureStmt*>(list->Child(1));
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->Child(1)->ChildCount(), 1u);  // a single parameter still comes in a list
    EXPECT_NE(dynamic_cast<CProcParamList*>(g->Child(1)), nullptr);
    EXPECT_EQ(g->Child(3)->ChildCount(), 0u);  // "end" alone: no return value
    auto* h = dynamic_cast<CProcedureStmt*>(list->Child(2));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->Child(1)->ChildCount(), 0u);

    const size_t argumentCounts[] = {2, 1, 0};
    for (size_t i = 0; i < 3; ++i) {
        auto* call = dynamic_cast<CCallStmt*>(list->Child(3 + i));
        ASSERT_NE(call, nullptr);
        ASSERT_EQ(call->ChildCount(), 2u);
        EXPECT_NE(dynamic_cast<CIdProc*>(call->Child(0)), nullptr);
        auto* arguments = dynamic_cast<CParameterList*>(call->Child(1));
        ASSERT_NE(arguments, nullptr);
        EXPECT_EQ(arguments->ChildCount(), argumentCounts[i]);
    }
}

TEST_F(TreeBuilderTest, CallsHaveNameArgumentsTargetAndTimeOut)
{
    auto root = Build("f()\ng(1)\nh(1, 2, 3) on cli\nk(x) on cli within 500\ny = m(1, 2) on (c)\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 5u);
    const size_t arguments[] = {0, 1, 3, 1};
    const size_t children[] = {2, 2, 3, 4};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        auto* call = dynamic_cast<CFunctionProc*>(list->Child(i));
        ASSERT_NE(call, nullptr);
        ASSERT_EQ(call->ChildCount(), children[i]);
        EXPECT_NE(dynamic_cast<CIdUse*>(call->Child(0)), nullptr);
        auto* list1 = dynamic_cast<CParameterList*>(call->Child(1));
        ASSERT_NE(list1, nullptr);
        EXPECT_EQ(list1->ChildCount(), arguments[i]);
        for (size_t a = 0; a < list1->ChildCount(); ++a)
            EXPECT_EQ(list1->Child(a)->Parent(), list1);
    }
    EXPECT_EQ(dynamic_cast<CIdUse*>(list->Child(0)->Child(0))->VariableName(), "f");
    EXPECT_EQ(dynamic_cast<CIdUse*>(list->Child(2)->Child(2))->VariableName(), "cli");
    EXPECT_EQ(dynamic_cast<CConstInt*>(list->Child(3)->Child(3))->Word(), 500);
    auto* value = dynamic_cast<CFunctionCall*>(list->Child(4)->Child(1));
    ASSERT_NE(value, nullptr);
    ASSERT_EQ(value->ChildCount(), 3u);
    EXPECT_EQ(dynamic_cast<CIdUse*>(value->Child(2))->VariableName(), "c");
}

TEST_F(TreeBuilderTest, CallsInAWithBodyGetTheWithTarget)
{
    auto root = Build("with dmm\n  reset()\n  v = measure(1)\n  set(2) on gen\n  call p()\nend\nafter()\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 2u);
    auto* with = dynamic_cast<CWithStmt*>(list->Child(0));
    ASSERT_NE(with, nullptr);
    ASSERT_EQ(with->ChildCount(), 3u);
    EXPECT_EQ(dynamic_cast<CIdUse*>(with->Child(0))->VariableName(), "dmm");
    EXPECT_NE(dynamic_cast<CCaseStmtEnd*>(with->Child(2)), nullptr);
    CAny* body = with->Child(1);
    ASSERT_EQ(body->ChildCount(), 4u);

    auto* reset = dynamic_cast<CFunctionProc*>(body->Child(0));
    ASSERT_NE(reset, nullptr);
    ASSERT_EQ(reset->ChildCount(), 3u);
    auto* target = dynamic_cast<CIdUse*>(reset->Child(2));
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->VariableName(), "dmm");
    EXPECT_EQ(target->Parent(), reset);  // each call owns its own copy
    EXPECT_NE(target, with->Child(0));

    auto* measure = dynamic_cast<CFunctionCall*>(body->Child(1)->Child(1));
    ASSERT_NE(measure, nullptr);
    ASSERT_EQ(measure->ChildCount(), 3u);
    EXPECT_EQ(dynamic_cast<CIdUse*>(measure->Child(2))->VariableName(), "dmm");
    EXPECT_NE(measure->Child(2), target);

    // A call that names its own target keeps it.
    ASSERT_EQ(body->Child(2)->ChildCount(), 3u);
    EXPECT_EQ(dynamic_cast<CIdUse*>(body->Child(2)->Child(2))->VariableName(), "gen");

    // After the with's end, calls have no target again.
    EXPECT_EQ(list->Child(1)->ChildCount(), 2u);
}

TEST_F(TreeBuilderTest, NestedWithIsRefusedAndSuccessiveWithsAreNot)
{
    test::LineCapture capture;
    CScriptTree nested = BuildScriptTree(*table_, "with a\n  with b\n    f()\n  end\n  g()\nend\n");
    ASSERT_NE(nested.Root, nullptr);
    EXPECT_EQ(capture.Out(), "Imbrication de with non authorise\n");
    CAny* body = Statements(nested.Root.get())->Child(0)->Child(1);
    ASSERT_EQ(body->ChildCount(), 2u);
    EXPECT_EQ(body->Child(0), nullptr);  // reported again by the name analysis
    // The outer body goes on with the outer target.
    EXPECT_EQ(dynamic_cast<CIdUse*>(body->Child(1)->Child(2))->VariableName(), "a");

    capture.Clear();
    auto twice = Build("with a\n  f()\nend\nwith b\n  g()\nend\n");
    EXPECT_EQ(capture.Out(), "");
    CStatementList* list = Statements(twice.get());
    EXPECT_EQ(dynamic_cast<CIdUse*>(list->Child(1)->Child(1)->Child(0)->Child(2))->VariableName(), "b");
}

TEST_F(TreeBuilderTest, WithTargetThatIsACallGetsNoTargetItself)
{
    auto root = Build("with getcli()\n  f()\nend\n");
    auto* with = dynamic_cast<CWithStmt*>(Statements(root.get())->Child(0));
    ASSERT_NE(with, nullptr);
    EXPECT_EQ(with->Child(0)->ChildCount(), 2u);
    auto* call = with->Child(1)->Child(0);
    ASSERT_EQ(call->ChildCount(), 3u);
    auto* copy = dynamic_cast<CFunctionCall*>(call->Child(2));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ChildCount(), 2u);
}

TEST_F(TreeBuilderTest, VariablesKeepTheirNamesAndIndexes)
{
    const std::string longest(64, 'v');
    auto root = Build("Count = count\nt[i + 1] = t[2]\n" + longest + " = 1\n" + longest + "w = 2\n");
    CStatementList* list = Statements(root.get());
    ASSERT_EQ(list->ChildCount(), 4u);
    EXPECT_EQ(dynamic_cast<CIdDecl*>(list->Child(0)->Child(0))->VariableName(), "Count");
    EXPECT_EQ(dynamic_cast<CIdUse*>(list->Child(0)->Child(1))->VariableName(), "count");
    auto* element = dynamic_cast<CIdDecl*>(list->Child(1)->Child(0));
    ASSERT_NE(element, nullptr);
    EXPECT_NE(dynamic_cast<CAddExpression*>(element->Index()), nullptr);
    EXPECT_EQ(element->Index()->Parent(), element);
    auto* read = dynamic_cast<CIdUse*>(list->Child(1)->Child(1));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(dynamic_cast<CConstInt*>(read->Index())->Word(), 2);
    EXPECT_EQ(dynamic_cast<CIdDecl*>(list->Child(2)->Child(0))->VariableName(), longest);
    // Too long: left empty for the name analysis to report.
    EXPECT_EQ(dynamic_cast<CIdDecl*>(list->Child(3)->Child(0))->VariableName(), "");
}

TEST_F(TreeBuilderTest, NodesCarryTheLineOfTheirConstruct)
{
    auto root = Build("\n\nif a then\n\n  b = 1\nend\n");
    CAny* ifStmt = Statements(root.get())->Child(0);
    EXPECT_EQ(ifStmt->Line(), 3u);
    EXPECT_EQ(ifStmt->Child(0)->Line(), 3u);
    EXPECT_EQ(ifStmt->Child(1)->Child(0)->Line(), 5u);
    EXPECT_EQ(ifStmt->Child(1)->Child(0)->Column(), 3u);
}

TEST_F(TreeBuilderTest, UnknownTerminalIsReportedAndLeavesNoNode)
{
    CTerminal odd;
    odd.SymbolName = "Strange";
    odd.Image = "?";
    test::LineCapture capture;
    CTreeBuilder builder;
    EXPECT_EQ(builder.BuildTree(&odd), nullptr);
    EXPECT_EQ(capture.Out(), "Token inconnu (Strange)\n");
    EXPECT_EQ(builder.BuildTree(nullptr), nullptr);
}

TEST_F(TreeBuilderTest, DeepNestingBuildsAndFrees)
{
    // Brackets and blocks nest as deep as the script writes them; hundreds of levels build
    // and are freed without trouble.
    std::string expression(1000, '(');
    expression += "1";
    expression += std::string(1000, ')');
    auto* one = dynamic_cast<CConstInt*>(ValueOf(expression));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->Word(), 1);

    std::string script;
    for (int i = 0; i < 500; ++i)
        script += "if a then\n";
    script += "b = 1\n";
    for (int i = 0; i < 500; ++i)
        script += "end\n";
    auto root = Build(script);
    CAny* node = Statements(root.get())->Child(0);
    int depth = 0;
    while (dynamic_cast<CIfStmt*>(node)) {
        ++depth;
        node = node->Child(1)->Child(0);
    }
    EXPECT_EQ(depth, 500);
}

// Runs `work` on a thread with the stack of the engine's interpret thread, where scripts are
// built, analysed and run.
void OnInterpretStack(const std::function<void()>& work)
{
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kInterpretStackSize);
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    const int created = pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&work));
    pthread_attr_destroy(&attr);
    ASSERT_EQ(created, 0);
    pthread_join(thread, nullptr);
}

std::string NestedIfs(int depth)
{
    std::string script = "a = true\nr = 0\n";
    for (int i = 0; i < depth; ++i)
        script += "if a then\n";
    script += "r = 1\n";
    for (int i = 0; i < depth; ++i)
        script += "end\n";
    return script;
}

std::string Sum(int terms)
{
    std::string script = "r = 1";
    for (int i = 1; i < terms; ++i)
        script += " + 1";
    return script + "\n";
}

std::string Brackets(int depth)
{
    return "r = " + std::string(static_cast<size_t>(depth), '(') + "1" + std::string(static_cast<size_t>(depth), ')') +
           "\n";
}

std::string Cases(int count)
{
    std::string script = "x = 1\ncase x of\n";
    for (int i = 0; i < count; ++i)
        script += std::to_string(i) + ": r = 1\n";
    return script + "end\n";
}

// Every pass over the tree recurses once per level, so a tree deeper than the builder's limit is
// refused with the resource line instead of overflowing the stack; one just within the limit
// builds, analyses and runs on the stack the engine gives its scripts.
TEST_F(TreeBuilderTest, TreesDeeperThanTheLimitAreRefused)
{
#if defined(__SANITIZE_THREAD__)
    // ThreadSanitizer cannot record a stack deeper than 65536 frames, which these trees need.
    GTEST_SKIP() << "recursion too deep for ThreadSanitizer's stack records";
#endif
    const int limit = static_cast<int>(CTreeBuilder::kMaxDepth);
    struct Case {
        const char* what;
        std::string script;
        bool builds;
    };
    const std::vector<Case> cases = {
        {"nested blocks within the limit", NestedIfs(limit / 2 - 1000), true},
        {"nested blocks beyond it", NestedIfs(limit / 2 + 1000), false},
        {"operator chain within the limit", Sum(limit - 1000), true},
        {"operator chain beyond it", Sum(limit + 1000), false},
        {"brackets beyond it", Brackets(limit + 1000), false},
        {"case labels beyond it", Cases(limit + 1000), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OnInterpretStack([&] {
            test::LineCapture capture;
            CScriptTree tree = BuildScriptTree(*table_, c.script);
            if (!c.builds) {
                EXPECT_EQ(tree.Root, nullptr);
                EXPECT_EQ(tree.Error, "err: Le script est trop grand, memoire insuffisante");
                EXPECT_EQ(capture.Out(), "err: Le script est trop grand, memoire insuffisante\n");
                // As the engine builds it, writing its errors: still one message for one refusal.
                test::LineCapture written;
                EXPECT_EQ(BuildScriptTree(*table_, c.script, {.writeErrors = true}).Root, nullptr);
                EXPECT_EQ(written.Out(), "err: Le script est trop grand, memoire insuffisante\n");
                return;
            }
            ASSERT_NE(tree.Root, nullptr);
            EXPECT_EQ(tree.Error, "");
            tree.Root.reset();
            test::ScriptRunner script;
            script.Execute(c.script);
            EXPECT_EQ(script.Out(), "");
            EXPECT_EQ(script.Word("r"), c.script.rfind("r = 1 +", 0) == 0 ? limit - 1000 : 1);
        });
    }
}

}  // namespace
