#include "ide/output/model/TraceText.h"

#include <gtest/gtest.h>

namespace zov::output {
namespace {

using execution::TraceCategory;

TEST(TraceText, StampPadsEveryField)
{
    EXPECT_EQ(FormatTraceStamp(7, 5, 3, 9), "07:05:03.009");
    EXPECT_EQ(FormatTraceStamp(23, 59, 59, 999), "23:59:59.999");
    EXPECT_EQ(TraceStampNow().size(), 12u);
}

TEST(TraceText, EscapedLineBreaksExpandInOrder)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"a\\nb", "a\nb"},
        {"a\\r\\nb", "a\nb"},
        {"a\\n\\rb", "a\nb"},
        // "\r\n" first: "\n\r\n" is one break for "\n\r" then a plain "\n".
        {"a\\n\\r\\nb", "a\n\nb"},
        {"a\\rb", "a\\rb"},
        {"c:\\new\\x", "c:\new\\x"},
        {"no escapes", "no escapes"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExpandLineBreaks(c.in), c.out) << c.in;
}

TEST(TraceText, LayoutSplitsLinesAndRepeatsThePrefix)
{
    const TraceLines plain = LayOutTrace("10:00:00.000", 3, -1, "first\\nsecond", false);
    EXPECT_EQ(plain.kept, "first\nsecond\n");
    ASSERT_EQ(plain.lines.size(), 2u);
    EXPECT_EQ(plain.lines[0].prefix, "10:00:00.000 (3) ");
    EXPECT_EQ(plain.lines[0].body, "first\n");
    EXPECT_EQ(plain.lines[1].prefix, "10:00:00.000 (3) ");
    EXPECT_EQ(plain.lines[1].body, "second\n");

    const TraceLines numbered = LayOutTrace("10:00:00.000", 1, 14, "hello", false);
    ASSERT_EQ(numbered.lines.size(), 1u);
    EXPECT_EQ(numbered.lines[0].prefix + numbered.lines[0].body, "10:00:00.000 (1) [0014] hello\n");
    EXPECT_EQ(numbered.kept, "hello\n");

    const TraceLines oneLine = LayOutTrace("10:00:00.000", 1, -1, "a\\nb", true);
    EXPECT_EQ(oneLine.kept, "a\\nb\n");
    EXPECT_EQ(oneLine.lines.size(), 1u);

    const TraceLines empty = LayOutTrace("10:00:00.000", 1, -1, "", false);
    ASSERT_EQ(empty.lines.size(), 1u);
    EXPECT_EQ(empty.lines[0].body, "\n");
}

TEST(TraceText, ContinuousSaveKeepsTheRawText)
{
    EXPECT_EQ(ContinuousSaveLine("01:02:03.004", 2, -1, "a\\nb"), "01:02:03.004 (2) a\\nb\n");
    EXPECT_EQ(ContinuousSaveLine("01:02:03.004", 2, 7, "x"), "01:02:03.004 (2) [0007] x\n");
}

TEST(TraceText, TrimmingDeletesWholeHundreds)
{
    struct Case {
        int lines;
        int max;
        int trim;
    } cases[] = {
        {10100, 10000, 0},   {10101, 10000, 100},
        {10200, 10000, 100}, {10201, 10000, 200},  // a slice that overshot: still only hundreds
        {0, 10000, 0},       {601, 500, 100},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LinesToTrim(c.lines, c.max), c.trim) << c.lines;
    // Once full, the pane holds between MaxLines + 1 and MaxLines + 100 lines.
    int lines = 0;
    for (int trace = 0; trace < 30000; ++trace) {
        ++lines;
        lines -= LinesToTrim(lines, 10000);
        if (trace >= 10000) {
            ASSERT_TRUE(lines >= 10001 && lines <= 10100) << trace;
        }
    }
}

TEST(TraceText, CsvRecordsHaveFourFields)
{
    struct Case {
        const char* shown;
        const char* csv;
    } cases[] = {
        {"12:34:56.789 (1) hello", "12:34:56.789;1;;hello\n"},
        {"12:34:56.789 (12) [0014] text: with ; and [x]", "12:34:56.789;12;14;text: with ; and [x]\n"},
        {"12:34:56.789 (2) [0000] zero", "12:34:56.789;2;0;zero\n"},
        {"12:34:56.789 (2)    ", "12:34:56.789;2;;\n"},
        {"12:34:56.789 (3) later [0012] not a line number", "12:34:56.789;3;;later [0012] not a line number\n"},
        {"", ";;;\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TraceCsvLine(c.shown), c.csv) << c.shown;
    // No cut of long lines.
    const std::string longText(10000, 'x');
    EXPECT_EQ(TraceCsvLine("12:34:56.789 (1) " + longText), "12:34:56.789;1;;" + longText + "\n");
}

TEST(TraceText, TraceColoursCrossForScriptAndInterpreter)
{
    const std::uint32_t clr[4] = {10, 11, 12, 13};
    EXPECT_EQ(CategoryColour(TraceCategory::System, clr), 10u);
    EXPECT_EQ(CategoryColour(TraceCategory::Script, clr), 12u);
    EXPECT_EQ(CategoryColour(TraceCategory::Interpreter, clr), 11u);
    EXPECT_EQ(CategoryColour(TraceCategory::Cli, clr), 13u);
}

}  // namespace
}  // namespace zov::output
