// Raw edits of the buffer: line breaks of inserted text, positions moved across edits, what the
// views are told, and the edits refused on protected macro lines.
#include "tests/editor/BufferTestSupport.h"

using namespace zov::editor;
using zov::editor::test::Fill;
using zov::editor::test::Lines;
using zov::editor::test::RecordingView;

namespace {

std::vector<QString> Q(std::initializer_list<const char*> lines)
{
    std::vector<QString> out;
    for (const char* line : lines) {
        out.push_back(QString::fromUtf8(line));
    }
    return out;
}

}  // namespace

TEST(BufferEdit, InsertBreaksLinesAtCrLfLfAndCr)
{
    struct Case {
        const char16_t* text;
        std::vector<QString> lines;
        TextPosition end;
    };
    const Case cases[] = {
        {u"x", Q({"axb", "cd"}), {2, 0}},
        {u"", Q({"ab", "cd"}), {1, 0}},
        {u"x\r\ny", Q({"ax", "yb", "cd"}), {1, 1}},
        {u"x\ny", Q({"ax", "yb", "cd"}), {1, 1}},  // clipboard text on Linux
        {u"x\ry", Q({"ax", "yb", "cd"}), {1, 1}},
        {u"\r\n", Q({"a", "b", "cd"}), {0, 1}},
        {u"1\n2\r3\r\n4", Q({"a1", "2", "3", "4b", "cd"}), {1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        CTextBuffer buffer;
        Fill(buffer, "ab\r\ncd");
        TextPosition end;
        ASSERT_TRUE(buffer.InsertText(nullptr, {1, 0}, QString::fromUtf16(c.text), &end));
        EXPECT_EQ(Lines(buffer), c.lines);
        EXPECT_EQ(end, c.end);
    }
}

TEST(BufferEdit, DeleteWithinAndAcrossLines)
{
    CTextBuffer buffer;
    Fill(buffer, "abcd\r\nefgh\r\nijkl");
    ASSERT_TRUE(buffer.DeleteText(nullptr, {1, 0}, {3, 0}));
    EXPECT_EQ(Lines(buffer), Q({"ad", "efgh", "ijkl"}));
    ASSERT_TRUE(buffer.DeleteText(nullptr, {1, 0}, {2, 2}));
    EXPECT_EQ(Lines(buffer), Q({"akl"}));
    EXPECT_FALSE(buffer.DeleteText(nullptr, {2, 0}, {1, 0}));  // reversed
    EXPECT_FALSE(buffer.DeleteText(nullptr, {0, 0}, {9, 0}));  // past the line
    EXPECT_FALSE(buffer.InsertText(nullptr, {0, 3}, u"x"));
    EXPECT_EQ(buffer.GetText({1, 0}, {3, 0}), "kl");
}

TEST(BufferEdit, GetTextJoinsLinesWithTheGivenLineEnd)
{
    CTextBuffer buffer;
    Fill(buffer, "abc\ndef\nghi");
    EXPECT_EQ(buffer.GetText({1, 0}, {2, 2}), "bc\r\ndef\r\ngh");
    EXPECT_EQ(buffer.GetText({1, 0}, {1, 1}, u"\n"), "bc\nd");
    EXPECT_EQ(buffer.GetText({0, 0}, {3, 0}), "abc");
}

TEST(BufferEdit, InsertContextMovesPositionsAfterTheInsertionPoint)
{
    // Insertion from (2, 1) to (3, 3): two lines added, ending at column 3.
    const InsertContext context({2, 1}, {3, 3});
    struct Case {
        TextPosition before;
        TextPosition after;
    };
    const Case cases[] = {
        {{5, 0}, {5, 0}},  // line above
        {{1, 1}, {1, 1}},  // before on the line
        {{2, 1}, {2, 1}},  // at the insertion point: stays
        {{4, 1}, {5, 3}},  // after it on the line: carried to the end
        {{0, 2}, {0, 4}},  // later line: down by two
    };
    for (const Case& c : cases) {
        TextPosition p = c.before;
        context.AdjustPosition(p);
        EXPECT_EQ(p, c.after) << c.before.charIndex << "," << c.before.line;
    }
}

TEST(BufferEdit, DeleteContextMovesPositionsOutOfTheRange)
{
    // Deletion of (2, 1) .. (4, 3).
    const DeleteContext context({2, 1}, {4, 3});
    struct Case {
        TextPosition before;
        TextPosition after;
    };
    const Case cases[] = {
        {{7, 0}, {7, 0}},  // line above
        {{1, 1}, {1, 1}},  // before the start on its line
        {{2, 1}, {2, 1}},  // at the start
        {{5, 1}, {2, 1}},  // inside, start line
        {{0, 2}, {2, 1}},  // inside, middle line
        {{3, 3}, {2, 1}},  // inside, end line
        {{4, 3}, {2, 1}},  // at the end
        {{6, 3}, {4, 1}},  // after the end on its line
        {{6, 5}, {6, 3}},  // later line: up by two
    };
    for (const Case& c : cases) {
        TextPosition p = c.before;
        context.AdjustPosition(p);
        EXPECT_EQ(p, c.after) << c.before.charIndex << "," << c.before.line;
    }
}

TEST(BufferEdit, ViewsHearOneLineOrLineCountHints)
{
    CTextBuffer buffer;
    Fill(buffer, "ab\r\ncd");
    RecordingView first;
    RecordingView second;
    buffer.AttachView(&first);
    buffer.AttachView(&second);
    second.caret = {1, 1};
    buffer.InsertText(&first, {0, 1}, u"x");
    buffer.InsertText(&first, {0, 0}, u"\r\n");
    buffer.DeleteText(&first, {0, 1}, {1, 2});
    const unsigned expected[] = {0x0101, 0x0003, 0x0003};
    ASSERT_EQ(first.changes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(first.changes[i].hint, expected[i]);
    }
    EXPECT_EQ(first.changes[0].line, 1);
    EXPECT_EQ(first.changes[1].line, 0);
    EXPECT_EQ(first.changes[2].line, 1);
    // The second view follows the same edits: its caret stays on "d".
    EXPECT_EQ(second.changes.size(), 3u);
    EXPECT_EQ(Lines(buffer), Q({"", "cd"}));
    EXPECT_EQ(second.caret, (TextPosition{1, 1}));
    buffer.DetachView(&second);
    buffer.InsertText(nullptr, {0, 0}, u"y");
    EXPECT_EQ(second.changes.size(), 3u);
}

TEST(BufferEdit, RawEditsSetModifiedOnlyWhileRecordingIsOn)
{
    CTextBuffer buffer;
    Fill(buffer, "ab");
    buffer.EnableUndoRecording(false);
    buffer.InsertText(nullptr, {0, 0}, u"x");
    EXPECT_FALSE(buffer.IsModified());
    buffer.EnableUndoRecording(true);
    buffer.DeleteText(nullptr, {0, 0}, {1, 0});
    EXPECT_TRUE(buffer.IsModified());
}

// Lines 1..2 are the unfolded body of the macro named on line 0; line 3 is free.
class LockedLines : public testing::Test {
protected:
    void SetUp() override
    {
        Fill(buffer, "a = 1\r\nb = 2\r\nc = 3\r\nd = 4");
        buffer.SetMacroName(0, "M");
        buffer.SetFoldState(0, 1);
        buffer.MarkMacroBody(0, 2);
    }
    CTextBuffer buffer;
};

TEST_F(LockedLines, EditsTouchingTheBodyOrItsHeaderAreRefused)
{
    struct Case {
        TextPosition start;
        TextPosition end;
        bool allowed;
    };
    const Case cases[] = {
        {{0, 0}, {0, 0}, false},  // header with its body below
        {{2, 1}, {2, 1}, false},  // body line
        {{0, 2}, {0, 2}, false},  // last body line
        {{1, 3}, {1, 3}, true},   // after the block
        {{5, 2}, {1, 3}, false},  // deletion reaching into the body
    };
    const auto before = Lines(buffer);
    for (const Case& c : cases) {
        if (c.start == c.end) {
            EXPECT_EQ(buffer.InsertText(nullptr, c.start, u"x"), c.allowed);
            EXPECT_EQ(buffer.InsertTextUndoable(nullptr, c.start, u"x", nullptr, UndoAction_Typing), c.allowed);
            if (c.allowed) {
                buffer.DeleteText(nullptr, c.start, {c.start.charIndex + 2, c.start.line});
            }
        } else {
            EXPECT_EQ(buffer.DeleteText(nullptr, c.start, c.end), c.allowed);
            EXPECT_EQ(buffer.DeleteTextUndoable(nullptr, c.start, c.end, UndoAction_Delete), c.allowed);
        }
    }
    EXPECT_FALSE(buffer.DeleteText(nullptr, {0, 0}, {1, 0}));
    EXPECT_EQ(Lines(buffer), before);
    EXPECT_EQ(buffer.GetUndoRecords().size(), 1u);  // the allowed insert only
}

TEST_F(LockedLines, FoldedOrUnmarkedLinesAreFreeAgain)
{
    EXPECT_EQ(buffer.UnmarkMacroBody(0), 2);
    EXPECT_EQ(buffer.UnmarkMacroBody(3), 3);
    EXPECT_TRUE(buffer.InsertText(nullptr, {0, 1}, u"x"));
    buffer.SetFoldState(0, 0);
    EXPECT_TRUE(buffer.InsertText(nullptr, {0, 0}, u"y"));
}

TEST_F(LockedLines, MacroNamesFollowTheFoldState)
{
    EXPECT_EQ(buffer.SetMacroName(0, "Other"), 0);  // unfolded: unchanged
    EXPECT_EQ(buffer.GetMacroName(0), "M");
    EXPECT_EQ(buffer.SetMacroName(1, "B"), 0);  // body line
    EXPECT_EQ(buffer.SetMacroName(3, "Four"), 5);
    EXPECT_TRUE(buffer.HasMacroName(3));
    EXPECT_EQ(buffer.SetMacroName(3, ""), 1);
    EXPECT_FALSE(buffer.HasMacroName(3));
    buffer.SetLineProtected(3);
    EXPECT_TRUE(buffer.IsLineProtected(3));
    buffer.SetFoldState(3, 0);
    EXPECT_FALSE(buffer.IsLineProtected(3));
}
