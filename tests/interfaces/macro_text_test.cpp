// Macro texts: folding an edited text into a one-line body, unfolding a body into lines, and
// expanding the macros named inside it as the engine would (whole words, not inside quotes).

#include "ide/interfaces/model/MacroText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::interfaces {
namespace {

struct TextCase {
    const char* input;
    const char* expected;
};

class Fold : public testing::TestWithParam<TextCase> {};

TEST_P(Fold, IntoOneLineBody)
{
    EXPECT_EQ(FoldMacroText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Fold,
                         testing::Values(TextCase{"a = 1\r\n\r\n\r\nb = 2\r\n", "a = 1 & b = 2"},
                                         TextCase{"a = 1\r\nb = 2", "a = 1 & b = 2"},
                                         // Every line end counts alike: LF and CR as CR LF.
                                         TextCase{"a = 1\nb = 2\n", "a = 1 & b = 2"},
                                         TextCase{"a = 1\rb = 2\r\r", "a = 1 & b = 2"},
                                         TextCase{"a = 1\r\n\nb = 2\r\rc = 3", "a = 1 & b = 2 & c = 3"},
                                         TextCase{"\tx = 1\r\n\tif a\ty", "    x = 1 &     if a    y"},
                                         // Only one final line end goes; blanks are kept as typed.
                                         TextCase{"  a  \r\n", "  a  "}, TextCase{"", ""}, TextCase{"\r\n", ""}));

class Unfold : public testing::TestWithParam<TextCase> {};

TEST_P(Unfold, IntoLines)
{
    EXPECT_EQ(UnfoldMacroBody(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bodies, Unfold,
                         testing::Values(TextCase{"a = 1 & b = 2", "a = 1\nb = 2"},
                                         TextCase{"a = 1 & s = \"x & y\"", "a = 1\ns = \"x & y\""},
                                         // No blank around the "&": no character is lost.
                                         TextCase{"a&b", "a\nb"}, TextCase{"a", "a"}));

TEST(Unfold, IndentStartsEveryLineAfterTheFirst)
{
    EXPECT_EQ(UnfoldMacroBody("a & b & c", "  "), "a\n  b\n  c");
}

struct WordCase {
    const char* text;
    const char* expected;
};

class WholeWords : public testing::TestWithParam<WordCase> {};

TEST_P(WholeWords, ReplacedAsTheEngineReplacesThem)
{
    EXPECT_EQ(ReplaceWholeWords(GetParam().text, "N", "5"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeWords,
                         testing::Values(WordCase{"x=N+1", "x=5+1"}, WordCase{"xN = N", "xN = 5"},
                                         WordCase{"\"N\" N", "\"N\" 5"}, WordCase{"f(N,N)", "f(5,5)"},
                                         WordCase{"N.a N_b N[1] N;", "N.a N_b N[1] N;"},
                                         WordCase{"N\r\nN\tN!N^N<N>N=N*N/N-N", "5\r\n5\t5!5^5<5>5=5*5/5-5"},
                                         WordCase{"s = \"a N\nN", "s = \"a N\n5"}, WordCase{"N", "5"},
                                         WordCase{"", ""}));

TEST(WholeWords, FindGivesTheFirstWholeWord)
{
    EXPECT_EQ(FindWholeWord("NN N", "N"), 3u);
    EXPECT_EQ(FindWholeWord("\"N\" xN", "N"), std::string::npos);
    EXPECT_EQ(FindWholeWord("abc", ""), std::string::npos);
}

std::vector<const MacroRecord*> Pointers(const std::vector<MacroRecord>& macros)
{
    std::vector<const MacroRecord*> out;
    for (const MacroRecord& m : macros)
        out.push_back(&m);
    return out;
}

TEST(ExpandMacro, DepthOneSplitsOutsideQuotesOnly)
{
    const std::vector<MacroRecord> macros{{"M", "a = 1 & s = \"x & y\""}};
    EXPECT_EQ(ExpandMacroText(Pointers(macros), "M", 1), "a = 1\ns = \"x & y\"");
}

TEST(ExpandMacro, DepthTwoIndentsTheNestedBodyLikeItsCall)
{
    const std::vector<MacroRecord> macros{{"M", "a = 1 &     N & b = 2"}, {"N", "c = 3 & d = 4"}};
    EXPECT_EQ(ExpandMacroText(Pointers(macros), "M", 2), "a = 1\n    c = 3\n    d = 4\nb = 2");
    // The call at the very start of the text: no indentation.
    const std::vector<MacroRecord> first{{"M", "N & z"}, {"N", "c & d"}};
    EXPECT_EQ(ExpandMacroText(Pointers(first), "M", 2), "c\nd\nz");
}

TEST(ExpandMacro, OnlyWholeWordsOutsideQuotesAreExpanded)
{
    const std::vector<MacroRecord> macros{{"M", "NX = N & s = \"N\" & f(N)"}, {"N", "7"}};
    EXPECT_EQ(ExpandMacroText(Pointers(macros), "M", 2), "NX = 7\ns = \"N\"\nf(7)");
}

TEST(ExpandMacro, PassesAndUnknownNames)
{
    const std::vector<MacroRecord> chain{{"A", "B"}, {"B", "C"}, {"C", "done"}};
    EXPECT_EQ(ExpandMacroText(Pointers(chain), "A", 1), "B");
    EXPECT_EQ(ExpandMacroText(Pointers(chain), "A", 10), "done");
    EXPECT_EQ(ExpandMacroText(Pointers(chain), "Z", 10), "");
    // A macro that names itself stops after the passes asked for.
    const std::vector<MacroRecord> self{{"S", "S S"}};
    EXPECT_EQ(ExpandMacroText(Pointers(self), "S", 3), "S S S S S S S S");
}

}  // namespace
}  // namespace zov::interfaces
