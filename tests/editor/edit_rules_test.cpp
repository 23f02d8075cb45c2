// The editor's text rules on whole lines: automatic indentation, block indent and unindent,
// comment and uncomment, the selection they leave, and the function-call skeleton.
#include "ide/editor/model/EditRules.h"
#include "tests/editor/BufferTestSupport.h"

using namespace zov::editor;
using zov::editor::test::Fill;
using zov::editor::test::Lines;

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

TEST(EditRules, AutoIndentCopiesTheLeadingBlanksOfTheLineAbove)
{
    CTextBuffer buffer;
    Fill(buffer, "\t  if x then\r\n\r\nend");
    EXPECT_EQ(AutoIndentText(buffer, 1), "\t  ");
    EXPECT_EQ(AutoIndentText(buffer, 2), "");
    EXPECT_EQ(AutoIndentText(buffer, 0), "");
    EXPECT_EQ(LeadingBlanks(u" \t\fx "), " \t\f");
}

// A view that indents after Enter, as the editor view's AfterEdit does.
class IndentingView : public BufferView {
public:
    explicit IndentingView(CTextBuffer& buffer) : buffer_(buffer) {}
    void OnBufferChanged(BufferView*, const EditContext* edit, unsigned, int) override
    {
        if (edit != nullptr) {
            edit->AdjustPosition(caret);
        }
    }
    void AfterEdit(int action, const QString& text) override
    {
        if (const auto end = AutoIndentAfterEdit(buffer_, this, caret, action, text, autoIndent, false)) {
            caret = *end;
        }
    }
    TextPosition caret;
    bool autoIndent = true;

private:
    CTextBuffer& buffer_;
};

TEST(EditRules, EnterOnAnIndentedLineCopiesItsIndentationAsASeparateStep)
{
    CTextBuffer buffer;
    Fill(buffer, "  \tif x then");
    IndentingView view(buffer);
    buffer.AttachView(&view);
    view.caret = {12, 0};
    buffer.OpenUndoGroup(false);
    ASSERT_TRUE(buffer.InsertTextUndoable(&view, view.caret, u"\r\n", &view.caret, UndoAction_Typing));
    buffer.CloseUndoGroup(&view);
    EXPECT_EQ(Lines(buffer), Q({"  \tif x then", "  \t"}));
    EXPECT_EQ(view.caret, (TextPosition{3, 1}));
    QString text;
    buffer.GetUndoText(text);
    EXPECT_EQ(text, "Auto Indenter");
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(Lines(buffer), Q({"  \tif x then", ""}));
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(Lines(buffer), Q({"  \tif x then"}));
    // Other actions and texts, or auto-indent off, insert nothing.
    EXPECT_FALSE(AutoIndentAfterEdit(buffer, nullptr, {0, 0}, UndoAction_Paste, "\r\n", true, false));
    EXPECT_FALSE(AutoIndentAfterEdit(buffer, nullptr, {0, 0}, UndoAction_Typing, "x", true, false));
    EXPECT_FALSE(AutoIndentAfterEdit(buffer, nullptr, {0, 0}, UndoAction_Typing, "\r\n", true, true));
    EXPECT_FALSE(AutoIndentAfterEdit(buffer, nullptr, {0, 0}, UndoAction_Typing, "\r\n", false, false));
}

TEST(EditRules, BlockLinesLeaveOutALastLineSelectedUpToColumnZero)
{
    struct Case {
        TextPosition start;
        TextPosition end;
        std::optional<LineRange> lines;
    };
    const Case cases[] = {
        {{4, 2}, {0, 5}, LineRange{2, 4}},  // middle of line 3 to column 0 of line 6 (1-based)
        {{4, 2}, {1, 5}, LineRange{2, 5}}, {{1, 5}, {4, 2}, LineRange{2, 5}},  // either order
        {{0, 2}, {0, 3}, LineRange{2, 2}}, {{1, 2}, {6, 2}, std::nullopt},     // within one line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlockLines(c.start, c.end), c.lines);
    }
}

TEST(EditRules, IndentSelectsTheLinesWholeAndUndoesInOneStep)
{
    CTextBuffer buffer;
    Fill(buffer, "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\nl6");
    const auto lines = BlockLines({1, 2}, {0, 5});
    ASSERT_TRUE(lines);
    ASSERT_TRUE(IndentLines(buffer, nullptr, *lines));
    EXPECT_EQ(Lines(buffer), Q({"l1", "l2", "\tl3", "\tl4", "\tl5", "l6"}));
    EXPECT_EQ(WholeLineSelection(buffer, *lines), (Selection{{0, 2}, {0, 5}}));
    EXPECT_EQ(WholeLineSelection(buffer, {3, 5}), (Selection{{0, 3}, {2, 5}}));  // to the end of the text
    QString text;
    buffer.GetUndoText(text);
    EXPECT_EQ(text, "Indenter");
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(Lines(buffer), Q({"l1", "l2", "l3", "l4", "l5", "l6"}));
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(EditRules, UnindentRemovesOneTabOrUpToATabWidthOfBlanks)
{
    CTextBuffer buffer;
    Fill(buffer, "\t\tx\r\n      y\r\n  z\r\nw\r\n \tv");
    ASSERT_TRUE(UnindentLines(buffer, nullptr, {0, 4}, 4));
    EXPECT_EQ(Lines(buffer), Q({"\tx", "  y", "z", "w", "\tv"}));
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(buffer.GetLine(1), "      y");
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(EditRules, CommentAndUncommentWholeLines)
{
    CTextBuffer buffer;
    Fill(buffer, "a\r\n;b\r\nc");
    ASSERT_TRUE(CommentLines(buffer, nullptr, {0, 2}, u';'));
    EXPECT_EQ(Lines(buffer), Q({";a", ";;b", ";c"}));
    QString text;
    buffer.GetUndoText(text);
    EXPECT_EQ(text, "Commenter");
    ASSERT_TRUE(UncommentLines(buffer, nullptr, {0, 2}, u';'));
    ASSERT_TRUE(UncommentLines(buffer, nullptr, {0, 2}, u';'));
    EXPECT_EQ(Lines(buffer), Q({"a", "b", "c"}));  // lines without the mark stay
    buffer.GetUndoText(text);
    EXPECT_EQ(text, QString::fromUtf8("Décommenter"));
    TextPosition position;
    ASSERT_TRUE(buffer.Undo(position));
    EXPECT_EQ(Lines(buffer), Q({"a", ";b", "c"}));
}

TEST(EditRules, BlockCommandsRefuseAReadOnlyBufferOrABadRange)
{
    CTextBuffer buffer;
    Fill(buffer, "a\r\nb");
    EXPECT_FALSE(IndentLines(buffer, nullptr, {0, 2}));
    EXPECT_FALSE(CommentLines(buffer, nullptr, {1, 0}, u';'));
    buffer.SetReadOnly(true);
    EXPECT_FALSE(IndentLines(buffer, nullptr, {0, 1}));
    EXPECT_EQ(Lines(buffer), Q({"a", "b"}));
    EXPECT_FALSE(buffer.CanUndo());
}

TEST(EditRules, FunctionCallSkeleton)
{
    const std::pair<int, const char*> cases[] = {
        {0, "f()"}, {1, "f(_)"}, {2, "f(_, _)"}, {3, "f(_, _, _)"}, {4, "f(_, _, _, _)"},
    };
    for (const auto& [count, text] : cases) {
        EXPECT_EQ(FunctionCallText("f", count), text);
    }
}
