// The value dialog's parser: each kind's accepted input, the text shown, the text sent.
#include <gtest/gtest.h>

#include "ide/execution/model/TypedValue.h"

namespace zov::execution {
namespace {

TEST(TypedValue, ParsesEachKind)
{
    const struct {
        int kind;
        const char* typed;
        const char* stored;
        const char* sent;
    } cases[] = {
        {0, " 42 ", "42", "42"},
        {0, "12abc", "12", "12"},
        {0, "abc", "0", "0"},  // atoi: no digits reads 0, and is accepted
        {1, "-7", "-7", "-7"},
        {0, "99999999999", "2147483647", "2147483647"},
        {2, "1f", "0x1F", "31"},
        {2, "0x1f", "0x1F", "31"},
        {2, "0XaB", "0xAB", "171"},
        {2, "ffffffff", "0xFFFFFFFF", "-1"},
        {2, "1fz", "0x1F", "31"},  // stops at the first character that is no digit
        {3, "0b101", "0b101", "5"},
        {3, "101", "0b101", "5"},
        {3, "0b", "0b", "0"},
        {4, "0o17", "0o17", "15"},
        {4, "17", "0o17", "15"},
        {4, "0o019", "0o1", "1"},
        {5, "3.14159265", "3.14159", "3.14159"},
        {5, "1e3", "1000", "1000"},
        {5, "-0.5x", "-0.5", "-0.5"},
        {6, "TRUE", "true", "true"},
        {6, " False ", "false", "false"},
        {7, "  a \"b\"  ", "a \"b\"", "a \"b\""},
        {7, "", "", ""},
    };
    for (const auto& c : cases) {
        const TypedValue value = ParseTypedValue(c.kind, c.typed);
        EXPECT_TRUE(value.ok) << c.kind << " '" << c.typed << "'";
        EXPECT_EQ(value.stored, c.stored) << c.kind << " '" << c.typed << "'";
        EXPECT_EQ(value.sent, c.sent) << c.kind << " '" << c.typed << "'";
    }
}

TEST(TypedValue, RefusesWhatFailsItsKind)
{
    const struct {
        int kind;
        const char* typed;
    } cases[] = {
        {3, "102"},
        {3, "0b12"},
        {3, "0B101"},
        {2, "xyz"},
        {2, ""},
        {4, "9"},
        {4, "0o"},
        {5, "abc"},
        {5, ""},
        {6, "yes"},
        {6, "truex"},
        {8, "1"},
        {-1, "1"},
        // A line break would end the console command and start another one in the engine.
        {7, "a\nexit"},
        {7, "a\r\nb"},
        {0, "1\n2"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ParseTypedValue(c.kind, c.typed).ok) << c.kind << " '" << c.typed << "'";
    EXPECT_EQ(kInvalidValueText, "Valeur incorrecte !");
}

TEST(TypedValue, OneLineValueBlanksLineBreaks)
{
    EXPECT_EQ(OneLineValue("a\r\nexit\nb"), "a  exit b");
    EXPECT_EQ(OneLineValue("plain"), "plain");
}

}  // namespace
}  // namespace zov::execution
