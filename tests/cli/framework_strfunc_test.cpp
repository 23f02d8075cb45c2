// The in-place string helpers of the framework.
#include "strfunc.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct ReplaceCase {
    std::string text;
    const char* seq;
    char with;
    std::string expected;
};

TEST(Strfunc, ReplaceShortensByOnePerMatch)
{
    const ReplaceCase cases[] = {
        {"a\\nb", "\\n", '\n', "a\nb"}, {"\\n\\n", "\\n", '\n', "\n\n"}, {"\\\\n", "\\n", '\n', "\\\n"},
        {"a\\", "\\n", '\n', "a\\"},    {"\\r", "\\n", '\n', "\\r"},     {"", "\\n", '\n', ""},
        {"nn", "nn", 'x', "x"},         {"nnn", "nn", 'x', "xn"},
    };
    for (const ReplaceCase& c : cases) {
        std::string buffer = c.text;
        const int length = replace(buffer.data(), static_cast<int>(buffer.size()), c.seq, c.with);
        EXPECT_EQ(std::string(buffer.c_str()), c.expected) << c.text;
        EXPECT_EQ(length, static_cast<int>(c.expected.size())) << c.text;
    }
}

TEST(Strfunc, TrimmingRuns)
{
    char text[] = "   a b   ";
    int length = supprFisrtSame(text, 9, ' ');
    EXPECT_EQ(length, 6);
    EXPECT_STREQ(text, "a b   ");
    length = supprLastSame(text, length - 1, ' ');
    EXPECT_EQ(length, 3);
    EXPECT_STREQ(text, "a b");

    char blanks[] = "    ";
    length = supprFisrtSame(blanks, 4, ' ');
    EXPECT_EQ(length, 0);
    EXPECT_STREQ(blanks, "");
    EXPECT_EQ(supprLastSame(blanks, -1, ' '), 0);
}

std::vector<std::string> Split(std::string text, char separator)
{
    char** pieces = split(text.data(), separator);
    std::vector<std::string> result;
    for (int i = 0; i < MAX_SPLIT_WORD && pieces[i] != nullptr; ++i)
        result.emplace_back(pieces[i]);
    std::free(pieces);
    return result;
}

TEST(Strfunc, SplitKeepsEmptyPieces)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("ver|help", '|'), (V{"ver", "help"}));
    EXPECT_EQ(Split("ver", '|'), (V{"ver"}));
    EXPECT_EQ(Split("", '|'), (V{""}));
    EXPECT_EQ(Split("|a||b|", '|'), (V{"", "a", "", "b", ""}));
}

TEST(Strfunc, SplitBeyondItsSlotsKeepsTheRestInTheLastPiece)
{
    std::string text;
    for (int i = 0; i < MAX_SPLIT_WORD + 10; ++i)
        text += "x|";
    const std::vector<std::string> pieces = Split(text, '|');
    ASSERT_EQ(pieces.size(), static_cast<size_t>(MAX_SPLIT_WORD - 1));
    EXPECT_EQ(pieces[0], "x");
    EXPECT_EQ(pieces.back().substr(0, 4), "x|x|");
}

}  // namespace
