// Macro expansion: whole words only, never inside double quotes, pass after pass up to ten,
// and a clear failure when the text outgrows its bound.

#include "engine/runtime/EngineState.h"
#include "LineCapture.h"
#include "engine/input/MacroTable.h"
#include "engine/base/Output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace zov {
namespace {

CMacroTable SampleTable()
{
    CMacroTable table;
    table.Add("N", "5", kMacroKindConstant);
    table.Add("A", "B", kMacroKindConstant);
    table.Add("%%1", "42", kMacroKindConstant);
    table.Add("a.b", "dotted", kMacroKindConstant);
    table.Add("S", "\"text\"", kMacroKindConstant);
    table.Add("Same", "Same", kMacroKindConstant);
    return table;
}

struct ExpandCase {
    const char* what;
    std::string input;
    std::string expected;
    bool changed;
};

class ExpandPassTest : public ::testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandPassTest, OnePass)
{
    const ExpandCase& c = GetParam();
    bool changed = !c.changed;
    const auto out = ExpandMacros(SampleTable(), c.input, changed);
    ASSERT_TRUE(out) << c.what;
    EXPECT_EQ(*out, c.expected) << c.what;
    EXPECT_EQ(changed, c.changed) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExpandPassTest,
    ::testing::Values(
        ExpandCase{"a constant inside an expression", "x=N+1\r\n", "x=5+1\r\n", true},
        ExpandCase{"part of a longer word", "xN = Nx\r\n", "xN = Nx\r\n", false},
        ExpandCase{"between double quotes", "s = \"N\"\r\n", "s = \"N\"\r\n", false},
        ExpandCase{"inside a quoted sentence", "s = \"a N b\" + N\r\n", "s = \"a N b\" + 5\r\n", true},
        ExpandCase{"a call with a quoted and a bare argument", "f(\"N\", N)\r\n", "f(\"N\", 5)\r\n", true},
        ExpandCase{"every word end", "N N\tN(N)N,N+N-N/N*N^N<N>N=N!N\r\n", "5 5\t5(5)5,5+5-5/5*5^5<5>5=5!5\r\n", true},
        ExpandCase{"word characters", "N.x N;y N:z N[1] N_ %N\r\n", "N.x N;y N:z N[1] N_ %N\r\n", false},
        ExpandCase{"a dotted name is one word", "x = a.b\r\n", "x = dotted\r\n", true},
        ExpandCase{"a script parameter", "x = %%1 + %%12\r\n", "x = 42 + %%12\r\n", true},
        ExpandCase{"one level per pass", "x = A\r\n", "x = B\r\n", true},
        ExpandCase{"a value with quotes is inserted whole", "t = S\r\n", "t = \"text\"\r\n", true},
        ExpandCase{"a value equal to its name still counts as a change", "Same\r\n", "Same\r\n", true},
        ExpandCase{"an open quote ends at its line", "s = \"N\r\nN\r\n", "s = \"N\r\n5\r\n", true},
        ExpandCase{"an open quote at the end of the text", "s = \"N", "s = \"N", false},
        ExpandCase{"a name at the very end", "x=N", "x=5", true}, ExpandCase{"empty text", "", "", false}),
    [](const ::testing::TestParamInfo<ExpandCase>& param) { return "case" + std::to_string(param.index); });

class MacroPassesTest : public ::testing::Test {
protected:
    void TearDown() override { Engine().Verbose = false; }

    // M1 -> M2 -> ... -> Mdepth -> "7".
    static CMacroTable Chain(int depth)
    {
        CMacroTable table;
        for (int level = 1; level <= depth; ++level) {
            const std::string value = level == depth ? "7" : "M" + std::to_string(level + 1);
            table.Add("M" + std::to_string(level), value, kMacroKindConstant);
        }
        return table;
    }

    test::LineCapture capture;
};

TEST_F(MacroPassesTest, AChainOfThreeMacrosExpandsFully)
{
    Engine().Verbose = true;
    CMacroTable table;
    table.Add("A", "B", kMacroKindConstant);
    table.Add("B", "C * 2", kMacroKindConstant);
    table.Add("C", "3", kMacroKindConstant);
    std::string text = "x = A\r\n";
    EXPECT_TRUE(RunMacroPasses(table, text));
    EXPECT_EQ(text, "x = 3 * 2\r\n");
    EXPECT_EQ(capture.Out(), std::string(lines::EngMacros) + "eng:-> Nouvelle faille du script : 11 octects\n" +
                                 lines::EngStepSuccess);
}

TEST_F(MacroPassesTest, NineLevelsSucceedAndTenFail)
{
    for (const int depth : {1, 8, 9}) {
        capture.Clear();
        std::string text = "x = M1\r\n";
        EXPECT_TRUE(RunMacroPasses(Chain(depth), text)) << depth;
        EXPECT_EQ(text, "x = 7\r\n") << depth;
        EXPECT_EQ(capture.Out(), "") << depth;
    }
    for (const int depth : {10, 11}) {
        capture.Clear();
        std::string text = "x = M1\r\n";
        EXPECT_FALSE(RunMacroPasses(Chain(depth), text)) << depth;
        EXPECT_EQ(capture.Out(), "eng:-> Erreur: Macro recursive ou profondeur d'une macro superieur a 10\n") << depth;
    }
}

TEST_F(MacroPassesTest, ASelfReferenceFailsAfterExactlyTenPasses)
{
    Engine().Verbose = true;
    CMacroTable table;
    table.Add("R", "(R)", kMacroKindMacro);
    std::string text = "R\r\n";
    EXPECT_FALSE(RunMacroPasses(table, text));
    // One pair of brackets per pass.
    EXPECT_EQ(text, "((((((((((R))))))))))\r\n");
    EXPECT_EQ(capture.Out(), std::string(lines::EngMacros) + "eng:-> Nouvelle faille du script : 23 octects\n" +
                                 lines::EngMacroTooDeep);
}

TEST_F(MacroPassesTest, TheFirstDefinitionWins)
{
    CMacroTable table;
    table.Add("V", "first", kMacroKindConstant);
    table.Add("V", "second", kMacroKindMacro);
    std::string text = "x = V\r\n";
    EXPECT_TRUE(RunMacroPasses(table, text));
    EXPECT_EQ(text, "x = first\r\n");
}

TEST_F(MacroPassesTest, AnEmptyTableLeavesTheTextAsItIs)
{
    std::string text = "if a = \"b\" then\r\n  c(1)\r\nend\r\n";
    const std::string before = text;
    EXPECT_TRUE(RunMacroPasses(CMacroTable{}, text));
    EXPECT_EQ(text, before);
    EXPECT_EQ(capture.Out(), "");
}

TEST_F(MacroPassesTest, ATextThatOutgrowsItsBoundFailsTheStepWithItsLine)
{
    // Doubles at every pass: 2^10 words would pass the bound long before the tenth pass.
    CMacroTable table;
    table.Add("D", "D D", kMacroKindMacro);
    std::string text = "D\r\n";
    EXPECT_FALSE(RunMacroPasses(table, text, 1000));
    // The line says what went past its bound, and the bound.
    EXPECT_EQ(capture.Out(),
              "eng:-> Erreur: Le script est trop grand apres le traitement des macro, taille > 1000 octets\n");
}

// The peak resident size of this process, in kilobytes.
long PeakResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// Seven macros, each level ten of the one below, the last a thousand bytes: a few hundred bytes of
// interface whose seventh pass would make 1 GB of text. That pass is refused as soon as its length
// is counted, before any of it is built: the memory taken stays that of the passes accepted.
TEST_F(MacroPassesTest, ATextThatWouldOutgrowItsBoundIsRefusedBeforeItIsBuilt)
{
    CMacroTable table;
    table.Add("L0", std::string(1000, 'w'), kMacroKindMacro);
    for (int level = 1; level <= 6; ++level) {
        std::string body;
        for (int i = 0; i < 10; ++i)
            body += "L" + std::to_string(level - 1) + " ";
        table.Add("L" + std::to_string(level), body, kMacroKindMacro);
    }
    std::string text = "L6\r\n";
    const long peakBefore = PeakResidentKb();
    ASSERT_GT(peakBefore, 0);
    EXPECT_FALSE(RunMacroPasses(table, text));
    EXPECT_EQ(capture.Out(), FormatLine(lines::EngMacroTooLarge, static_cast<int>(kMaxExpandedScript)));
    // The text of the sixth pass is 3 MB; building the refused pass up to its bound would take
    // 256 MB more.
    EXPECT_LT(PeakResidentKb() - peakBefore, 64L * 1024L);
}

TEST(ExpandMacrosBoundTest, TheLengthIsCountedBeforeTheTextIsBuilt)
{
    const CMacroTable table = SampleTable();
    for (const std::string_view text : {"x = N + A\r\n", "", "\"N\" N(N,N)", "Same %%1 a.b S"}) {
        bool changed = false;
        const auto out = ExpandMacros(table, text, changed);
        ASSERT_TRUE(out) << text;
        EXPECT_EQ(ExpandedSize(table, text), out->size()) << text;
        // The exact length is the largest bound accepted; one byte less is refused, and says why.
        MacroExpandError error = MacroExpandError::None;
        EXPECT_TRUE(ExpandMacros(table, text, changed, out->size(), &error));
        EXPECT_EQ(error, MacroExpandError::None);
        if (!out->empty()) {
            EXPECT_FALSE(ExpandedSize(table, text, out->size() - 1)) << text;
            EXPECT_FALSE(ExpandMacros(table, text, changed, out->size() - 1, &error));
            EXPECT_EQ(error, MacroExpandError::TooLarge);
        }
    }
}

TEST(ExpandMacrosBoundTest, TheBoundIsTheLargestTextAccepted)
{
    CMacroTable table;
    table.Add("N", "12345", kMacroKindConstant);
    bool changed = true;
    auto out = ExpandMacros(table, "x=N\n", changed, 8);
    ASSERT_TRUE(out);
    EXPECT_EQ(*out, "x=12345\n");
    out = ExpandMacros(table, "x=N\n", changed, 7);
    EXPECT_FALSE(out);
    EXPECT_FALSE(changed);
    // An input already larger than the bound is refused too.
    EXPECT_FALSE(ExpandMacros(CMacroTable{}, "abcdefgh", changed, 7));
}

}  // namespace
}  // namespace zov
