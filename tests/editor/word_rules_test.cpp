// Word moves, the word around a position, Home, and the case changes with their undo codes.
#include "ide/editor/model/WordRules.h"
#include "tests/editor/BufferTestSupport.h"

using namespace zov::editor;
using zov::editor::test::Fill;

TEST(WordRules, WordRightStopsAfterWordsPunctuationAndBlanks)
{
    CTextBuffer buffer;
    Fill(buffer, "foo.bar  baz\r\n\r\n  (x)");
    struct Case {
        TextPosition from;
        TextPosition to;
    };
    const Case cases[] = {
        {{0, 0}, {3, 0}},                     // over foo
        {{3, 0}, {4, 0}},                     // over the dot
        {{4, 0}, {9, 0}},                     // bar and the blanks after it
        {{12, 0}, {0, 1}},                    // end of line: next line
        {{0, 1}, {0, 2}},  {{0, 2}, {2, 2}},  // blanks only
        {{2, 2}, {3, 2}},  {{5, 2}, {5, 2}},  // end of the last line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WordRightTarget(buffer, c.from), c.to) << c.from.charIndex << "," << c.from.line;
    }
}

TEST(WordRules, WordLeftSkipsBlanksThenAWordOrPunctuation)
{
    CTextBuffer buffer;
    Fill(buffer, "a\r\nfoo.bar  baz\r\n\r\n\r\n\r\nx");
    struct Case {
        TextPosition from;
        TextPosition to;
    };
    const Case cases[] = {
        {{12, 1}, {9, 1}}, {{9, 1}, {4, 1}},  // blanks, then bar
        {{4, 1}, {3, 1}},                     // the dot
        {{3, 1}, {0, 1}},  {{0, 1}, {1, 0}},  // column 0: end of the line above
        {{0, 5}, {0, 4}},                     // Ctrl+Left from column 0 of line 5
        {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WordLeftTarget(buffer, c.from), c.to) << c.from.charIndex << "," << c.from.line;
    }
}

TEST(WordRules, WordAroundAPosition)
{
    const QString line = "x = my_var+1";
    EXPECT_EQ(WordToLeft(line, 7), 4);
    EXPECT_EQ(WordToRight(line, 7), 10);
    EXPECT_EQ(WordAround(line, 4), "my_var");
    EXPECT_EQ(WordAround(line, 10), "my_var");  // just after the word
    EXPECT_EQ(WordAround(line, 2), "");
    EXPECT_EQ(WordAround(line, 99), "1");
}

TEST(WordRules, HomeGoesToTheFirstNonBlankThenToColumnZero)
{
    EXPECT_EQ(HomeTarget(u"    abc", 2), 4);
    EXPECT_EQ(HomeTarget(u"    abc", 4), 0);
    EXPECT_EQ(HomeTarget(u"    abc", 7), 4);
    EXPECT_EQ(HomeTarget(u"   ", 1), 0);
    EXPECT_EQ(HomeTarget(u"", 0), 0);
}

TEST(WordRules, CaseConversions)
{
    struct Case {
        const char* text;
        CaseChange change;
        const char* converted;
    };
    const Case cases[] = {
        {"hELLO wORLD", CaseChange::Capitalise, "Hello World"},
        {"a-b\r\nc\td", CaseChange::Capitalise, "A-b\r\nC\tD"},
        {"Été à 12h", CaseChange::Upper, "ÉTÉ À 12H"},
        {"Été À", CaseChange::Lower, "été à"},
        {"aBc É1", CaseChange::Swap, "AbC é1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertCase(QString::fromUtf8(c.text), c.change), QString::fromUtf8(c.converted)) << c.text;
    }
}

TEST(WordRules, CaseChangeIsOneUndoGroupWithItsActionCode)
{
    CTextBuffer buffer;
    Fill(buffer, "say hELLO\r\nwORLD now");
    ASSERT_TRUE(buffer.InsertTextUndoable(nullptr, {0, 0}, u">", nullptr, UndoAction_Typing));
    ASSERT_TRUE(ApplyCaseChange(buffer, nullptr, {5, 1}, {5, 0}, CaseChange::Capitalise));  // reversed ends
    EXPECT_EQ(buffer.GetLine(0), ">say Hello");
    EXPECT_EQ(buffer.GetLine(1), "World now");
    const auto& records = buffer.GetUndoRecords();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1].action, UndoAction_Capitalise);
    EXPECT_EQ(records[2].action, UndoAction_Capitalise);
    EXPECT_FALSE(records[2].flags & CTextBuffer::kUndoGroupStart);
    // The case codes have no menu text.
    QString text = "stale";
    buffer.GetUndoText(text);
    EXPECT_TRUE(text.isEmpty());
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(buffer.GetLine(0), ">say hELLO");
    EXPECT_EQ(buffer.GetLine(1), "wORLD now");
    EXPECT_FALSE(ApplyCaseChange(buffer, nullptr, {1, 0}, {1, 0}, CaseChange::Upper));
    for (auto change : {CaseChange::Lower, CaseChange::Upper, CaseChange::Swap, CaseChange::Capitalise}) {
        EXPECT_GE(CaseChangeAction(change), 13);
        EXPECT_LE(CaseChangeAction(change), 16);
    }
}
