#include "engine/base/Value.h"
#include "common/NumberText.h"
#include "engine/base/StringHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

// Counts every allocation of this program, to show that numbers never touch the heap.
static std::atomic<long> allocations{0};

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace zov {
namespace {

TEST(Value, NumbersNeedNoAllocation)
{
    const long before = allocations.load();
    CValue a = CValue::Integer(41, 16, true);
    CValue b = a;
    CValue c;
    c = b;
    c.SetWord(WrapAdd(c.Word(), 1));
    CValue d = std::move(c);
    d.AssignAs(kTypeInteger, a);
    CValue r = CValue::Real(2.5);
    d.AssignAs(kTypeReal, r);
    d.Reset();
    EXPECT_EQ(allocations.load(), before);
    EXPECT_LE(sizeof(CValue), 32u);
}

TEST(Value, CopyingCopiesTheText)
{
    CValue a = CValue::Text("abc");
    CValue b = a;
    ASSERT_TRUE(b.HasText());
    EXPECT_NE(a.TextView().data(), b.TextView().data());
    a.MutableText() += "def";
    EXPECT_EQ(a.TextView(), "abcdef");
    EXPECT_EQ(b.TextView(), "abc");

    CValue c;
    c = a;
    a.ClearText();
    EXPECT_EQ(c.TextView(), "abcdef");
    c = c;  // self-assignment keeps the text
    EXPECT_EQ(c.TextView(), "abcdef");

    // Copying a value without text removes the target's text.
    c = CValue::Integer(3);
    EXPECT_FALSE(c.HasText());
}

TEST(Value, AbsentAndEmptyTextsDiffer)
{
    CValue none;
    CValue empty = CValue::Text("");
    EXPECT_FALSE(none.HasText());
    EXPECT_TRUE(empty.HasText());
    EXPECT_EQ(none.TextView(), "");
    EXPECT_EQ(empty.TextView(), "");
}

TEST(Value, SetTextFromItsOwnBuffer)
{
    CValue v = CValue::Text("hello world");
    v.SetText(v.TextView().substr(6));
    EXPECT_EQ(v.TextView(), "world");
}

TEST(Value, TextMovesOutWithoutCopy)
{
    CValue v = CValue::Text("abc");
    const char* buffer = v.TextView().data();
    std::unique_ptr<std::string> taken = v.TakeText();
    EXPECT_FALSE(v.HasText());
    EXPECT_EQ(taken->data(), buffer);

    std::string built(100, 'x');
    const char* builtBuffer = built.data();
    v.AdoptText(std::move(built));
    EXPECT_EQ(v.TextView().data(), builtBuffer);
    EXPECT_EQ(v.TextView().size(), 100u);
}

TEST(Value, ConditionNeedsLowByteExactlyOne)
{
    EXPECT_TRUE(CValue::Boolean(true).IsTrue());
    EXPECT_FALSE(CValue::Boolean(false).IsTrue());
    EXPECT_FALSE(CValue::Integer(2).IsTrue());
    EXPECT_TRUE(CValue::Integer(0x101).IsTrue());  // upper bytes are not significant
    EXPECT_EQ(CValue::Integer(-1).LowByte(), 0xFF);
}

TEST(Value, AssignAsCopiesWhatTheTypeCarries)
{
    CValue from = CValue::Integer(255, 16, true);
    from.SetReal(1.5);
    from.SetText("t");

    CValue to;
    to.AssignAs(kTypeInteger, from);
    EXPECT_EQ(to.Word(), 255);
    EXPECT_EQ(to.Base(), 16u);
    EXPECT_TRUE(to.Based());
    EXPECT_EQ(to.RealValue(), 0.0);
    EXPECT_FALSE(to.HasText());

    CValue real;
    real.AssignAs(kTypeReal, from);
    EXPECT_EQ(real.RealValue(), 1.5);
    EXPECT_EQ(real.Word(), 0);

    CValue text = CValue::Text("old");
    text.AssignAs(kTypeString, from);
    EXPECT_EQ(text.TextView(), "t");
    text.AssignAs(kTypeString, CValue());
    EXPECT_FALSE(text.HasText());

    CValue cli;
    cli.AssignAs(kTypeCli, CValue::Cli(3));
    EXPECT_EQ(cli.Word(), 3);
}

TEST(Value, TypeCodesKeepTheirNumbers)
{
    // Stored prototypes and the debugger use the numbers themselves.
    EXPECT_EQ(kTypeUndetermined, 0u);
    EXPECT_EQ(kTypeInteger, 1u);
    EXPECT_EQ(kTypeReal, 2u);
    EXPECT_EQ(kTypeBoolean, 3u);
    EXPECT_EQ(kTypeString, 4u);
    EXPECT_EQ(kTypeVoid, 5u);
    EXPECT_EQ(kTypeName, 6u);
    EXPECT_EQ(kTypeAny, 7u);
    EXPECT_EQ(kTypeUnknownProcedure, 8u);
    EXPECT_EQ(kTypeCli, 9u);
    EXPECT_STREQ(TypeName(kTypeString), "string");
    EXPECT_STREQ(TypeName(77), "invalid");
}

struct ArithmeticCase {
    const char* what;
    std::int32_t got;
    std::int32_t expected;
};

TEST(Value, IntegersWrapAt32Bits)
{
    const ArithmeticCase cases[] = {
        {"max + 1", WrapAdd(INT_MAX, 1), INT_MIN},
        {"min - 1", WrapSubtract(INT_MIN, 1), INT_MAX},
        {"65536 * 65536", WrapMultiply(65536, 65536), 0},
        {"max * 2", WrapMultiply(INT_MAX, 2), -2},
        {"min * -1", WrapMultiply(INT_MIN, -1), INT_MIN},
        {"-min", WrapNegate(INT_MIN), INT_MIN},
        {"-5", WrapNegate(5), -5},
        {"7 / 2", WrapDivide(7, 2), 3},
        {"-7 / 2", WrapDivide(-7, 2), -3},
        {"min / -1", WrapDivide(INT_MIN, -1), INT_MIN},
        {"7 / -1", WrapDivide(7, -1), -7},
        {"7 mod 2", WrapRemainder(7, 2), 1},
        {"-7 mod 2", WrapRemainder(-7, 2), -1},
        {"min mod -1", WrapRemainder(INT_MIN, -1), 0},
        {"0xFFFFFFFF mod 10 unsigned", UnsignedRemainder(-1, 10), 5},
        {"7 mod 0xFFFFFFFF unsigned", UnsignedRemainder(7, -1), 7},
        {"2 ^ 10", IntegerPower(2, 10), 1024},
        {"2 ^ -1", IntegerPower(2, -1), 0},
        {"-2 ^ 31", IntegerPower(-2, 31), INT_MIN},
        {"2 ^ 31", IntegerPower(2, 31), INT_MIN},
        {"0 ^ 0", IntegerPower(0, 0), 1},
        {"-3 ^ 3", IntegerPower(-3, 3), -27},
    };
    for (const ArithmeticCase& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(Value, ConversionsClampToThirtyTwoBits)
{
    const ArithmeticCase cases[] = {
        {"2.9", TruncateToInt32(2.9), 2},
        {"-2.9", TruncateToInt32(-2.9), -2},
        {"max + 0.5", TruncateToInt32(2147483647.5), INT_MAX},
        {"min - 0.9", TruncateToInt32(-2147483648.9), INT_MIN},
        {"1e10", TruncateToInt32(1e10), INT_MIN},
        {"-1e10", TruncateToInt32(-1e10), INT_MIN},
        {"NaN", TruncateToInt32(std::nan("")), INT_MIN},
        {"infinity", TruncateToInt32(std::numeric_limits<double>::infinity()), INT_MIN},
        {"2^40", SaturateToInt32(1LL << 40), INT_MAX},
        {"-2^40", SaturateToInt32(-(1LL << 40)), INT_MIN},
        {"-5", SaturateToInt32(-5), -5},
        {"\"42\"", ParseLeadingInt("42"), 42},
        {"\"  -17abc\"", ParseLeadingInt("  -17abc"), -17},
        {"\"+5\"", ParseLeadingInt("+5"), 5},
        {"\"abc\"", ParseLeadingInt("abc"), 0},
        {"\"\"", ParseLeadingInt(""), 0},
        {"\"-\"", ParseLeadingInt("-"), 0},
        {"\"2147483647\"", ParseLeadingInt("2147483647"), INT_MAX},
        {"\"2147483648\"", ParseLeadingInt("2147483648"), INT_MAX},
        {"\"-2147483648\"", ParseLeadingInt("-2147483648"), INT_MIN},
        {"40 digits", ParseLeadingInt("9999999999999999999999999999999999999999"), INT_MAX},
        {"-40 digits", ParseLeadingInt("-9999999999999999999999999999999999999999"), INT_MIN},
    };
    for (const ArithmeticCase& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
    EXPECT_EQ(SaturateToUint32(1ULL << 33), 0xFFFFFFFFu);
    EXPECT_EQ(SaturateToUint32(7), 7u);
}

}  // namespace
}  // namespace zov
