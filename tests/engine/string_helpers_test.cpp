// The engine's small string helpers.

#include "engine/base/StringHelpers.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

TEST(ReplaceChar, ReplacesEveryOccurrenceAndCounts)
{
    std::string text = "a|b||c";
    EXPECT_EQ(ReplaceChar(text, '|', ' '), 3);
    EXPECT_EQ(text, "a b  c");
    std::string empty;
    EXPECT_EQ(ReplaceChar(empty, 'x', 'y'), 0);
    std::string none = "abc";
    EXPECT_EQ(ReplaceChar(none, 'x', 'y'), 0);
    EXPECT_EQ(none, "abc");
}

struct TrimCase {
    std::string text;
    char byte;
    std::string left;
    std::string right;
};

class Trim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(Trim, RemovesOnlyTheRunAtItsEnd)
{
    std::string left = GetParam().text;
    TrimLeft(left, GetParam().byte);
    EXPECT_EQ(left, GetParam().left);
    std::string right = GetParam().text;
    TrimRight(right, GetParam().byte);
    EXPECT_EQ(right, GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(Cases, Trim,
                         ::testing::Values(TrimCase{"  a b  ", ' ', "a b  ", "  a b"}, TrimCase{"", ' ', "", ""},
                                           TrimCase{"    ", ' ', "", ""}, TrimCase{"abc", ' ', "abc", "abc"},
                                           TrimCase{"xxaxx", 'x', "axx", "xxa"}));

struct SplitCase {
    std::string text;
    std::vector<std::string> pieces;
};

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, CutsAtEverySeparator)
{
    std::vector<std::string> pieces;
    for (std::string_view p : SplitString(GetParam().text, '|'))
        pieces.emplace_back(p);
    EXPECT_EQ(pieces, GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(Cases, Split,
                         ::testing::Values(SplitCase{"", {""}}, SplitCase{"a", {"a"}}, SplitCase{"a|b", {"a", "b"}},
                                           SplitCase{"|", {"", ""}}, SplitCase{"a||b|", {"a", "", "b", ""}},
                                           SplitCase{"-v | help ", {"-v ", " help "}}));

TEST(Split, KeepsAtMostAThousandPiecesAndNoneHoldsTheSeparator)
{
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += std::to_string(i) + "|";
    const auto pieces = SplitString(text, '|');
    ASSERT_EQ(pieces.size(), kMaxSplitPieces);
    EXPECT_EQ(pieces.back(), "999");
    EXPECT_EQ(SplitString("a|b|c", '|', 2).size(), 2u);
    EXPECT_TRUE(SplitString("a|b", '|', 0).empty());
}

TEST(Hex, BytesBecomeUpperCaseDigitPairs)
{
    EXPECT_EQ(BytesToHex(std::string("\x00\x0f\xab\xff", 4)), "000FABFF");
    EXPECT_EQ(BytesToHex(""), "");
}

TEST(Hex, DigitPairsBecomeBytesInEitherCase)
{
    EXPECT_EQ(HexToBytes("000FabFF"), std::string("\x00\x0f\xab\xff", 4));
    EXPECT_EQ(HexToBytes(""), std::string());
    const std::string all = [] {
        std::string s;
        for (int b = 0; b < 256; ++b)
            s.push_back(static_cast<char>(b));
        return s;
    }();
    EXPECT_EQ(HexToBytes(BytesToHex(all)), all);
}

TEST(Hex, OddCountsAndOtherBytesAreRefused)
{
    EXPECT_EQ(HexToBytes("ABC"), std::nullopt);
    EXPECT_EQ(HexToBytes("0G"), std::nullopt);
    EXPECT_EQ(HexToBytes("0 "), std::nullopt);
}

}  // namespace
}  // namespace zov
