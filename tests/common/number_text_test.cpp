#include "common/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace zov {
namespace {

struct LeadingCase {
    const char* text;
    int asInt;
};

// Read as atoi reads them, with saturation where atoi would be undefined.
TEST(LeadingInt, ReadsAsAtoiAndSaturates)
{
    const LeadingCase cases[] = {
        {"12", 12},
        {"  -7abc", -7},
        {"\t\n\v\f\r 5", 5},
        {"+3x", 3},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+-5", 0},
        {"- 5", 0},
        {"3.75", 3},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"9999999999999999999999999999999999999999", INT_MAX},
        {"-99999999999999999999", INT_MIN},
        {"0000000000000000000000000042", 42},
    };
    for (const LeadingCase& c : cases)
        EXPECT_EQ(ParseLeadingInt(c.text), c.asInt) << '"' << c.text << '"';
}

// The 64-bit form gives what strtoll gives, the overflows included.
TEST(LeadingInt, SixtyFourBitsAsStrtoll)
{
    for (const char* text : {"0", "-1", " +77z", "9223372036854775807", "9223372036854775808", "-9223372036854775808",
                             "-9223372036854775809", "123456789012345678901234567890", "x", ""})
        EXPECT_EQ(ParseLeadingInt64(text), std::strtoll(text, nullptr, 10)) << '"' << text << '"';
}

// A view is read only up to its end, never into the bytes that follow it.
TEST(LeadingInt, StopsAtTheEndOfTheView)
{
    const std::string text = "12345";
    EXPECT_EQ(ParseLeadingInt(std::string_view(text).substr(0, 2)), 12);
}

}  // namespace
}  // namespace zov
