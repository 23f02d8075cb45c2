// Operators and constants run from script text: "r = <expression>", analysed and run, then r
// read back by the type the expression has; refused expressions give their analysis message,
// failing ones their run-time line.

#include "engine/runtime/Builtins.h"
#include "engine/tree/ExpressionSupport.h"
#include "ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zov {
namespace {

using test::ScriptRunner;

constexpr char kMixed[] =
    "L'expression est non conforme car plusieurs types differents sont utilises dans l'expression";
constexpr char kBooleans[] =
    "L'expression est non conforme car des valeurs booleennes sont utilisees dans une expression arithmetique";

struct ValueCase {
    const char* expression;
    TypeCode type;
    std::int32_t word;  // integers, booleans
    double real;        // reals
    const char* text;   // strings
};

class ExpressionValue : public testing::TestWithParam<ValueCase> {};

TEST_P(ExpressionValue, GivesItsValue)
{
    const ValueCase& c = GetParam();
    ScriptRunner script;
    script.Execute(std::string("r = ") + c.expression + "\n");
    EXPECT_EQ(script.Out(), "");
    switch (c.type) {
    case kTypeInteger:
        EXPECT_EQ(script.Word("r"), c.word);
        break;
    case kTypeBoolean:
        EXPECT_EQ(script.Value("r").LowByte(), c.word);
        break;
    case kTypeReal:
        EXPECT_DOUBLE_EQ(script.Real("r"), c.real);
        break;
    case kTypeString:
        EXPECT_EQ(script.Text("r"), c.text);
        break;
    default:
        FAIL();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionValue,
    testing::Values(
        // Arithmetic on integers wraps at 32 bits and truncates toward zero.
        ValueCase{"1 + 2 * 3", kTypeInteger, 7, 0, ""}, ValueCase{"7 / 2", kTypeInteger, 3, 0, ""},
        ValueCase{"0 - 7 / 2", kTypeInteger, -3, 0, ""}, ValueCase{"7 mod 2", kTypeInteger, 1, 0, ""},
        ValueCase{"(0 - 7) mod 2", kTypeInteger, -1, 0, ""}, ValueCase{"2 ^ 10", kTypeInteger, 1024, 0, ""},
        ValueCase{"2 ^ (0 - 1)", kTypeInteger, 0, 0, ""}, ValueCase{"-5 + 2", kTypeInteger, -3, 0, ""},
        ValueCase{"2147483647 + 1", kTypeInteger, INT32_MIN, 0, ""}, ValueCase{"65536 * 65536", kTypeInteger, 0, 0, ""},
        // Integer powers wrap as the products they stand for, exactly, past 2 ^ 53 too.
        ValueCase{"2 ^ 31", kTypeInteger, INT32_MIN, 0, ""}, ValueCase{"2 ^ 32", kTypeInteger, 0, 0, ""},
        ValueCase{"10 ^ 10", kTypeInteger, 1410065408, 0, ""}, ValueCase{"3 ^ 21", kTypeInteger, 1870418611, 0, ""},
        ValueCase{"3 ^ 40", kTypeInteger, 689956897, 0, ""}, ValueCase{"(0 - 3) ^ 3", kTypeInteger, -27, 0, ""},
        ValueCase{"(0 - 1) ^ 2147483647", kTypeInteger, -1, 0, ""}, ValueCase{"0 ^ 0", kTypeInteger, 1, 0, ""},
        // A negative exponent keeps the whole part of the fraction.
        ValueCase{"1 ^ (0 - 5)", kTypeInteger, 1, 0, ""}, ValueCase{"(0 - 1) ^ (0 - 3)", kTypeInteger, -1, 0, ""},
        ValueCase{"(0 - 1) ^ (0 - 4)", kTypeInteger, 1, 0, ""}, ValueCase{"(0 - 2) ^ (0 - 1)", kTypeInteger, 0, 0, ""},
        // The smallest integer divided by -1 and its remainder: no trap.
        ValueCase{"(0 - 2147483647 - 1) / (0 - 1)", kTypeInteger, INT32_MIN, 0, ""},
        ValueCase{"(0 - 2147483647 - 1) mod (0 - 1)", kTypeInteger, 0, 0, ""},
        ValueCase{"-(0 - 2147483647 - 1)", kTypeInteger, INT32_MIN, 0, ""},
        // A hexadecimal dividend is an unsigned word: 4294967295 mod 10.
        ValueCase{"0xFFFFFFFF mod 10", kTypeInteger, 5, 0, ""},
        // Logical operators combine integers bit by bit.
        ValueCase{"6 or 3", kTypeInteger, 7, 0, ""}, ValueCase{"6 and 3", kTypeInteger, 2, 0, ""},
        ValueCase{"6 xor 3", kTypeInteger, 5, 0, ""}, ValueCase{"not 0", kTypeInteger, -1, 0, ""},
        ValueCase{"true and false", kTypeBoolean, 0, 0, ""}, ValueCase{"true or false", kTypeBoolean, 1, 0, ""},
        ValueCase{"true xor true", kTypeBoolean, 0, 0, ""}, ValueCase{"not true", kTypeBoolean, 0, 0, ""},
        // Comparisons.
        ValueCase{"3 >= 3", kTypeBoolean, 1, 0, ""}, ValueCase{"3 <> 3", kTypeBoolean, 0, 0, ""},
        ValueCase{"3 != 4", kTypeBoolean, 1, 0, ""}, ValueCase{"0 - 1 < 1", kTypeBoolean, 1, 0, ""},
        ValueCase{"true == false", kTypeBoolean, 0, 0, ""}, ValueCase{"2.0000005 == 2.0", kTypeBoolean, 1, 0, ""},
        ValueCase{"2.0000005 > 2.0", kTypeBoolean, 1, 0, ""}, ValueCase{"2.000002 == 2.0", kTypeBoolean, 0, 0, ""},
        ValueCase{"2.0000005 != 2.0", kTypeBoolean, 0, 0, ""}, ValueCase{"\"abc\" < \"abd\"", kTypeBoolean, 1, 0, ""},
        ValueCase{"\"B\" < \"a\"", kTypeBoolean, 1, 0, ""},
        ValueCase{"\"\xC3\xA9\" > \"z\"", kTypeBoolean, 1, 0, ""},  // bytes compare unsigned
        ValueCase{"\"abc\" == \"abc\"", kTypeBoolean, 1, 0, ""}, ValueCase{"\"abc\" <> \"ab\"", kTypeBoolean, 1, 0, ""},
        // Reals.
        ValueCase{"1.0 + 2.5", kTypeReal, 0, 3.5, ""}, ValueCase{"7.0 / 2.0", kTypeReal, 0, 3.5, ""},
        ValueCase{"-2.5 * 2.0", kTypeReal, 0, -5.0, ""}, ValueCase{"2.0 ^ 0.5", kTypeReal, 0, 1.4142135623730951, ""},
        // Texts and the escapes of string constants.
        ValueCase{"\"ab\" + \"cd\"", kTypeString, 0, 0, "abcd"}, ValueCase{"\"a\\tb\"", kTypeString, 0, 0, "a\tb"},
        ValueCase{"\"a\\\\b\"", kTypeString, 0, 0, "a\\b"},
        ValueCase{"\"say \\\"hi\\\"\"", kTypeString, 0, 0, "say \"hi\""},
        ValueCase{"\"one\\ntwo\"", kTypeString, 0, 0, "one\ntwo"},
        ValueCase{"\"cut\\0here\"", kTypeString, 0, 0, "cut"}, ValueCase{"\"\" + \"x\"", kTypeString, 0, 0, "x"}));

struct RefusedCase {
    const char* expression;
    const char* message;
};

class ExpressionRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(ExpressionRefused, IsAnAnalysisError)
{
    ScriptRunner script;
    EXPECT_FALSE(script.Analyse(std::string("r = ") + GetParam().expression + "\n"));
    ASSERT_FALSE(script.Errors().Empty());
    EXPECT_EQ(script.FirstError(), GetParam().message);
    EXPECT_EQ(script.Errors().Errors()[0].line, 1u);
}

INSTANTIATE_TEST_SUITE_P(Table, ExpressionRefused,
                         testing::Values(RefusedCase{"1 + 2.5", kMixed}, RefusedCase{"true < false", kBooleans},
                                         // An operand that is itself an operator is compared like any other.
                                         RefusedCase{"\"a\" + 1 * 2", kMixed}, RefusedCase{"1.0 + 2 * 3", kMixed},
                                         RefusedCase{"1 < 2.0 * 3.0", kMixed},
                                         // No logic on texts and reals, no arithmetic on booleans.
                                         RefusedCase{"\"a\" and \"b\"", kMixed}, RefusedCase{"1.5 or 2.5", kMixed},
                                         RefusedCase{"\"a\" xor \"b\"", kMixed}, RefusedCase{"not \"a\"", kMixed},
                                         RefusedCase{"not 1.5", kMixed}, RefusedCase{"true + true", kBooleans},
                                         RefusedCase{"-false", kBooleans}));

struct FailingCase {
    const char* expression;
    const char* line;
};

class ExpressionFailing : public testing::TestWithParam<FailingCase> {};

// The error line carries the statement's line; nothing runs after it.
TEST_P(ExpressionFailing, StopsTheRun)
{
    ScriptRunner script;
    script.Execute(std::string("after = 0\nr = ") + GetParam().expression + "\nafter = 1\n");
    EXPECT_EQ(script.Out(), GetParam().line);
    EXPECT_TRUE(script.Debugger().Aborting());
    EXPECT_EQ(script.Word("after"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionFailing,
    testing::Values(FailingCase{"7 / 0", "err: 002 : Division par 0\n"},
                    FailingCase{"7.0 / 0.0", "err: 002 : Division par 0\n"},
                    FailingCase{"7 mod 0", "err: 002 : Division par 0\n"},
                    // 0 ^ -1 is 1 / 0.
                    FailingCase{"0 ^ (0 - 1)", "err: 002 : Division par 0\n"},
                    // Only the first error of a run is reported.
                    FailingCase{"1 / 0 / 0", "err: 002 : Division par 0\n"},
                    FailingCase{"\"a\" - \"b\"", "err: 002 : Operation non autorise sur les chaines\n"},
                    FailingCase{"\"a\" * \"b\"", "err: 002 : Operation non autorise sur les chaines\n"},
                    FailingCase{"-\"a\"", "err: 002 : Operation non autorise sur les chaines\n"},
                    FailingCase{"7.0 mod 2.0", "err: 002 : Operation non autorise sur les chaines\n"}));

TEST(ExpressionValues, ConcatenationIntoItsOwnOperandKeepsBothParts)
{
    ScriptRunner script;
    script.Execute("s = \"ab\"\ns = s + s\ns = \"<\" + s + \">\"\n");
    EXPECT_EQ(script.Text("s"), "<abab>");
}

// A loop that doubles a text stops at the longest text the engine makes instead of taking all
// the memory; the variable keeps the last text it was given.
TEST(ExpressionValues, JoiningPastTheLongestTextStopsTheRun)
{
    ScriptRunner script;
    script.Execute("s = \"0123456789abcdef\"\nn = 0\nfor i = 1 to 40 do\n  s = s + s\n  n = n + 1\nend\n");
    EXPECT_EQ(script.Out(), "err: 004 : Chaine de caracteres trop longue\n");
    EXPECT_TRUE(script.Debugger().Aborting());
    EXPECT_EQ(script.Word("n"), 22);
    EXPECT_EQ(script.Value("s").TextView().size(), kMaxBuiltinTextBytes);
    EXPECT_EQ(script.Value("s").TextView().substr(0, 20), "0123456789abcdef0123");
}

TEST(ExpressionValues, NegationKeepsTheDisplayBaseOfItsOperand)
{
    ScriptRunner script;
    script.Execute("h = 0x10\nn = -h\n");
    EXPECT_EQ(script.Word("n"), -16);
    EXPECT_EQ(script.Value("n").Base(), 16u);
}

TEST(ExpressionValues, AbsentTextsCompareAsEqualToEachOtherOnly)
{
    CValue absent;
    CValue empty = CValue::Text("");
    EXPECT_TRUE(CompareValues(absent, absent, kTypeString, Relation::Equal));
    EXPECT_FALSE(CompareValues(absent, empty, kTypeString, Relation::Equal));
    EXPECT_TRUE(CompareValues(absent, empty, kTypeString, Relation::NotEqual));
    EXPECT_FALSE(CompareValues(absent, empty, kTypeString, Relation::Less));
    EXPECT_FALSE(CompareValues(empty, absent, kTypeString, Relation::GreaterEqual));
}

}  // namespace
}  // namespace zov
