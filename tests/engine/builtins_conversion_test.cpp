// Conversions, hexadecimal, byte order, time and date with a fixed clock, random, min and max,
// and the value-to-text rules the call node uses.

#include "engine/runtime/Builtins.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ctime>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace zov {
namespace {

class FixedClock final : public BuiltinClock {
public:
    FixedClock(double epochSeconds, LocalDateTime local) : epoch_(epochSeconds), local_(local) {}
    double EpochSeconds() const override { return epoch_; }
    LocalDateTime Local() const override { return local_; }

private:
    double epoch_;
    LocalDateTime local_;
};

struct Harness {
    CDebugger debugger;
    EngineState state;
    FixedClock clock{1741500000.125, LocalDateTime{2025, 3, 9, 7, 5, 3}};
    BuiltinContext context{debugger, state, clock, 1};

    CValue Call(const char* name, const std::vector<CValue>& args)
    {
        BuiltinHandler handler = FindBuiltinHandler(name);
        EXPECT_NE(handler, nullptr) << name;
        return handler ? handler(context, args) : CValue{};
    }
};

CValue Txt(std::string_view text)
{
    return CValue::Text(text);
}
CValue Int(std::int32_t v)
{
    return CValue::Integer(v);
}
CValue Re(double v)
{
    return CValue::Real(v);
}
CValue Bool(bool v)
{
    return CValue::Boolean(v);
}

struct WordCase {
    const char* name;
    std::vector<CValue> args;
    std::int32_t expected;
};

class WordResults : public testing::TestWithParam<WordCase> {};

TEST_P(WordResults, GiveTheWord)
{
    Harness h;
    const WordCase& c = GetParam();
    EXPECT_EQ(h.Call(c.name, c.args).Word(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, WordResults,
    testing::Values(WordCase{"str2int", {Txt("42abc")}, 42}, WordCase{"str2int", {Txt(" \t-7")}, -7},
                    WordCase{"str2int", {Txt("x1")}, 0}, WordCase{"str2int", {CValue{}}, 0},
                    WordCase{"str2int", {Txt("99999999999")}, INT_MAX}, WordCase{"str2bool", {Txt("TRUE")}, 1},
                    WordCase{"str2bool", {Txt("1")}, 1}, WordCase{"str2bool", {Txt("true ")}, 0},
                    WordCase{"str2bool", {Txt("yes")}, 0}, WordCase{"str2bool", {CValue{}}, 0},
                    WordCase{"int2bool", {Int(0)}, 0}, WordCase{"int2bool", {Int(-1)}, 1},
                    WordCase{"real2int", {Re(-2.7)}, -2}, WordCase{"real2int", {Re(2.7)}, 2},
                    // Beyond the 32-bit range the nearest limit, NaN 0.
                    WordCase{"real2int", {Re(1e10)}, INT_MAX}, WordCase{"real2int", {Re(-1e10)}, INT_MIN},
                    WordCase{"real2int", {Re(std::nan(""))}, 0},

                    WordCase{"hex2int", {Txt("ff")}, 255}, WordCase{"hex2int", {Txt("FF")}, 255},
                    WordCase{"hex2int", {Txt("7fffffff")}, INT_MAX},
                    WordCase{"hex2int", {Txt("ffffffffff")}, -1},  // wraps at 32 bits
                    WordCase{"hex2int", {Txt("")}, 0}, WordCase{"hex2int", {CValue{}}, 0},
                    // No prefix and no check: 'x' counts as 120 - 87 = 33.
                    WordCase{"hex2int", {Txt("0x10")}, 33 * 256 + 16},

                    WordCase{"endianshort", {Int(258)}, 513}, WordCase{"endianshort", {Int(0x12345678)}, 0x7856},
                    WordCase{"endianshort", {Int(-1)}, 0xFFFF}, WordCase{"endianlong", {Int(1)}, 16777216},
                    WordCase{"endianlong", {Int(0x12345678)}, 0x78563412}, WordCase{"endianlong", {Int(INT_MIN)}, 0x80},

                    WordCase{"min", {Int(3), Int(9), Int(4)}, 3}, WordCase{"max", {Int(3), Int(9), Int(4)}, 9},
                    WordCase{"max", {Int(-5)}, -5}));

struct RealCase {
    const char* name;
    std::vector<CValue> args;
    double expected;
};

class RealResults : public testing::TestWithParam<RealCase> {};

TEST_P(RealResults, GiveTheReal)
{
    Harness h;
    const RealCase& c = GetParam();
    EXPECT_DOUBLE_EQ(h.Call(c.name, c.args).RealValue(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, RealResults,
    testing::Values(RealCase{"str2real", {Txt("2.5x")}, 2.5}, RealCase{"str2real", {Txt(" -1e3")}, -1000.0},
                    RealCase{"str2real", {Txt(".5")}, 0.5}, RealCase{"str2real", {Txt("+3")}, 3.0},
                    RealCase{"str2real", {Txt("+-3")}, 0.0}, RealCase{"str2real", {Txt("abc")}, 0.0},
                    RealCase{"str2real", {CValue{}}, 0.0},
                    RealCase{"str2real", {Txt("1e999")}, std::numeric_limits<double>::infinity()},
                    RealCase{"str2real", {Txt("1e-999")}, 0.0}, RealCase{"int2real", {Int(-5)}, -5.0},
                    RealCase{"round", {Re(3.14159), Int(2)}, 3.14}, RealCase{"round", {Re(-3.14159), Int(3)}, -3.142},
                    RealCase{"round", {Re(1234.5678), Int(0)}, 1235.0},
                    RealCase{"round", {Re(1234.5678), Int(-2)}, 1235.0},  // a negative precision counts as 0
                    RealCase{"round", {Re(0.1), Int(INT_MAX)}, 0.1},
                    RealCase{"sqrt", {Re(16.0)}, 0.0},  // carried out by the call node, never by the table
                    RealCase{"min", {}, 0.0}));

TEST(Builtins, RealMinAndMaxPickByValue)
{
    Harness h;
    BuiltinContext& c = h.context;
    const std::vector<CValue> values{Re(2.5), Re(1.5), Re(7.25)};
    EXPECT_DOUBLE_EQ(BuiltinMinReal(c, values).RealValue(), 1.5);
    EXPECT_DOUBLE_EQ(BuiltinMaxReal(c, values).RealValue(), 7.25);
    const std::vector<double> one{4.5};
    EXPECT_DOUBLE_EQ(MinOf(std::span<const double>(one)), 4.5);
}

struct TextCase {
    const char* name;
    std::vector<CValue> args;
    std::optional<std::string> expected;  // nullopt: no text
};

class TextResults : public testing::TestWithParam<TextCase> {};

TEST_P(TextResults, GiveTheText)
{
    Harness h;
    const TextCase& c = GetParam();
    const CValue result = h.Call(c.name, c.args);
    if (!c.expected) {
        EXPECT_FALSE(result.HasText());
        return;
    }
    ASSERT_TRUE(result.HasText());
    EXPECT_EQ(result.TextView(), *c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, TextResults,
    testing::Values(TextCase{"bool2str", {Bool(true)}, "true"}, TextCase{"bool2str", {Bool(false)}, "false"},
                    TextCase{"int2hex", {Int(255)}, "000000ff"}, TextCase{"int2hex", {Int(-1)}, "ffffffff"},
                    TextCase{"str2hex", {Txt("AZ\xFF")}, "415aff"}, TextCase{"str2hex", {Txt("")}, ""},
                    TextCase{"str2hex", {CValue{}}, std::nullopt}, TextCase{"hex2str", {Txt("415a")}, "AZ"},
                    TextCase{"hex2str", {Txt("415A")}, "AZ"},
                    TextCase{"hex2str", {Txt("415")}, "A"},  // an odd last digit is dropped
                    TextCase{"hex2str", {Txt("")}, ""}, TextCase{"hex2str", {CValue{}}, std::nullopt},
                    TextCase{"hex2str", {Txt("410042")}, "A"},  // a text ends at a zero byte
                    TextCase{"int2str", {Int(5)}, std::nullopt}, TextCase{"abs", {Int(-5)}, std::nullopt},

                    TextCase{"date", {}, "2025/03/09"}, TextCase{"dateDMY", {}, "09/03/2025"},
                    TextCase{"dateMDY", {}, "03/09/2025"}, TextCase{"hour", {}, "07:05:03"}));

TEST(Builtins, DateAndHourOnOtherDays)
{
    Harness h;
    FixedClock late(0, LocalDateTime{2031, 12, 31, 23, 59, 58});
    BuiltinContext context{h.debugger, h.state, late, 1};
    EXPECT_EQ(BuiltinDate(context, {}).TextView(), "2031/12/31");
    EXPECT_EQ(BuiltinDateMDY(context, {}).TextView(), "12/31/2031");
    EXPECT_EQ(BuiltinHour(context, {}).TextView(), "23:59:58");
}

TEST(Builtins, TimeAndElapsedTimeReadTheClock)
{
    Harness h;
    EXPECT_DOUBLE_EQ(h.Call("time", {}).RealValue(), 1741500000.125);
    // Rounded to the millisecond.
    EXPECT_DOUBLE_EQ(h.Call("elapsedtime", {Re(1741500000.125 - 1.23456)}).RealValue(), 1.235);
    EXPECT_DOUBLE_EQ(h.Call("elapsedtime", {Re(1741500000.125)}).RealValue(), 0.0);
}

TEST(Builtins, SystemClockAgreesWithTheCLibrary)
{
    const std::time_t before = std::time(nullptr);
    const double now = SystemClock().EpochSeconds();
    const std::time_t after = std::time(nullptr);
    EXPECT_GE(now, static_cast<double>(before));
    EXPECT_LT(now, static_cast<double>(after) + 1.0);
    const LocalDateTime local = SystemClock().Local();
    EXPECT_GE(local.Month, 1);
    EXPECT_LE(local.Month, 12);
    EXPECT_GE(local.Year, 2000);
}

TEST(Builtins, RandomStaysInItsRange)
{
    Harness h;
    SeedBuiltinRandom(12345);
    bool sawLow = false, sawHigh = false;
    for (int i = 0; i < 400; ++i) {
        const std::int32_t v = h.Call("random", {Int(1), Int(6)}).Word();
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 6);
        sawLow |= v == 1;
        sawHigh |= v == 6;
    }
    EXPECT_TRUE(sawLow);
    EXPECT_TRUE(sawHigh);
    EXPECT_EQ(h.Call("random", {Int(5), Int(5)}).Word(), 5);
    EXPECT_EQ(h.Call("random", {Int(INT_MIN), Int(INT_MIN)}).Word(), INT_MIN);
}

// max - min + 1 = 0: bounds the wrong way round by one, and the whole 32-bit range.
TEST(Builtins, RandomWithAnEmptyWidthEndsWithoutHarm)
{
    Harness h;
    SeedBuiltinRandom(7);
    for (int i = 0; i < 50; ++i) {
        const std::int32_t v = h.Call("random", {Int(5), Int(4)}).Word();
        EXPECT_TRUE(v == 4 || v == 5) << v;
        h.Call("random", {Int(INT_MIN), Int(INT_MAX)});
        const std::int32_t w = h.Call("random", {Int(10), Int(-10)}).Word();
        EXPECT_TRUE(w >= -10 && w <= 10) << w;
    }
}

// ---------------------------------------------------------------------------------------------
// Value-to-text rules

struct BaseCase {
    std::int32_t value;
    std::uint32_t base;
    bool prefix;
    const char* expected;
};

class IntegerBases : public testing::TestWithParam<BaseCase> {};

TEST_P(IntegerBases, WriteTheDigits)
{
    const BaseCase& c = GetParam();
    EXPECT_EQ(IntegerInBase(c.value, c.base, c.prefix), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Builtins, IntegerBases,
                         testing::Values(BaseCase{5, 2, true, "0b101"}, BaseCase{0, 2, true, "0b0"},
                                         BaseCase{0, 2, false, "0"},
                                         BaseCase{-1, 2, false, "11111111111111111111111111111111"},  // 32 digits
                                         BaseCase{8, 8, true, "0o10"}, BaseCase{8, 8, false, "10"},
                                         BaseCase{255, 16, true, "0xFF"}, BaseCase{255, 16, false, "FF"},
                                         BaseCase{-3, 10, false, "4294967293"}, BaseCase{-3, 7, true, "-3"}));

TEST(Builtins, IntegerToTextIsSignedUnlessBased)
{
    EXPECT_EQ(IntegerToText(CValue::Integer(255, 16, true)), "FF");
    EXPECT_EQ(IntegerToText(CValue::Integer(5, 2, true)), "101");
    EXPECT_EQ(IntegerToText(CValue::Integer(0, 2, true)), "0");
    EXPECT_EQ(IntegerToText(CValue::Integer(-3)), "-3");
    EXPECT_EQ(IntegerToText(CValue::Integer(INT_MIN)), "-2147483648");
}

TEST(Builtins, RealTextAndIntegerHelpers)
{
    EXPECT_EQ(RealToText(0.1), "0.1");
    EXPECT_EQ(RealToText(2.5), "2.5");
    EXPECT_EQ(RealToText(1e20), "1E+20");
    EXPECT_EQ(AbsInteger(-3), 3);
    EXPECT_EQ(AbsInteger(INT_MIN), INT_MIN);  // wraps, as the integer arithmetic does
    EXPECT_EQ(RealToIntSaturated(-0.9), 0);
    EXPECT_EQ(RealToIntSaturated(2147483647.5), INT_MAX);
    EXPECT_EQ(RealToIntSaturated(-2147483648.5), INT_MIN);
    EXPECT_EQ(RealToIntSaturated(std::numeric_limits<double>::infinity()), INT_MAX);
}

TEST(Builtins, EveryNonProcessBuiltinHasAHandler)
{
    for (const char* name :
         {"pause",    "ok",         "nok",        "warning",    "info",     "strlower",    "strupper",    "strsize",
          "strfind",  "strcount",   "strextract", "strpos",     "strleft",  "strright",    "strcopy",     "strreplace",
          "strtrim",  "strreverse", "strrepeat",  "strregular", "time",     "elapsedtime", "trace",       "str2int",
          "str2real", "str2bool",   "int2str",    "real2str",   "bool2str", "int2bool",    "date",        "dateDMY",
          "dateMDY",  "hour",       "hex2int",    "int2hex",    "str2hex",  "hex2str",     "int2real",    "real2int",
          "round",    "sqrt",       "ceil",       "floor",      "abs",      "endianlong",  "endianshort", "random",
          "waitsync", "sync",       "exportdata", "importdata", "min",      "max"})
        EXPECT_NE(FindBuiltinHandler(name), nullptr) << name;
    for (const char* name : {"exec", "kill", "killall", "run", "Trace", "datedmy", ""})
        EXPECT_EQ(FindBuiltinHandler(name), nullptr) << name;
}

}  // namespace
}  // namespace zov
