// Joining continued lines: a statement written over several lines becomes one line, and every
// later line keeps its number.

#include "engine/input/MacroTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zov {
namespace {

struct JoinCase {
    const char* what;
    std::string input;
    std::string expected;
};

class JoinTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinTest, JoinsAndKeepsLineNumbers)
{
    const JoinCase& c = GetParam();
    const std::string out = JoinContinuedLines(c.input);
    EXPECT_EQ(out, c.expected) << c.what;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), std::count(c.input.begin(), c.input.end(), '\n')) << c.what;
    EXPECT_LE(out.size(), c.input.size()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinTest,
    ::testing::Values(
        JoinCase{"the line ab, its CR, one extra LF, then the LF of the pair", "a\\\r\n\t\tb\r\n", "ab\r\n\n"},
        JoinCase{"nothing to join", "a\r\nb\r\n", "a\r\nb\r\n"}, JoinCase{"LF line ends", "a\\\n\tb\nc\n", "ab\n\nc\n"},
        JoinCase{"three lines into one", "x = 1 +\\\r\n\t2 +\\\r\n\t3\r\ny\r\n", "x = 1 +2 +3\r\n\n\ny\r\n"},
        JoinCase{"blanks of the next line are kept", "a\\\r\n  b\r\n", "a  b\r\n\n"},
        JoinCase{"TABs after blanks are kept", "a\\\r\n \tb\r\n", "a \tb\r\n\n"},
        JoinCase{"backslash before blanks is ordinary", "a\\ \r\nb\r\n", "a\\ \r\nb\r\n"},
        JoinCase{"backslash inside a line is ordinary", "p = \"c:\\dir\"\r\n", "p = \"c:\\dir\"\r\n"},
        JoinCase{"backslash before a lone CR is ordinary", "a\\\rb\r\n", "a\\\rb\r\n"},
        JoinCase{"an empty line after a continuation keeps the next line in place", "a\\\r\n\r\nb\r\n", "a\r\n\nb\r\n"},
        JoinCase{"a continued line that is itself continued", "a\\\r\n\\\r\nb\r\n", "ab\r\n\n\n"},
        JoinCase{"a text that ends with a backslash", "a\\", "a\\"},
        JoinCase{"a text that ends with a continuation", "end\\\r\n", "end\n"},
        JoinCase{"a text that ends in the TABs of a continuation", "end\\\n\t\t", "end\n"},
        JoinCase{"a text that ends after backslash CR", "end\\\r", "end\\\r"}, JoinCase{"empty text", "", ""}),
    [](const ::testing::TestParamInfo<JoinCase>& param) { return "case" + std::to_string(param.index); });

}  // namespace
}  // namespace zov
