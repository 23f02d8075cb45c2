#include "tests/editor/gui/EditorViewTestSupport.h"

namespace {

using namespace zov::editor;
using zov::editor::test::ShownEditor;

class TextViewMarks : public ShownEditor {
protected:
    std::vector<int> LinesWith(std::uint32_t flag) const
    {
        std::vector<int> lines;
        for (int line = 0; line < buffer_->GetLineCount(); ++line) {
            if ((buffer_->GetLineFlags(line) & flag) != 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

TEST_F(TextViewMarks, F9TogglesAndCtrlF9ClearsEveryBreakpoint)
{
    Show("a\nb\nc\n");
    Key(Qt::Key_F9);
    EXPECT_EQ(LinesWith(LineFlag_Breakpoint), std::vector<int>{0});
    Key(Qt::Key_F9);
    EXPECT_TRUE(LinesWith(LineFlag_Breakpoint).empty());
    Key(Qt::Key_F9);
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_F9);
    EXPECT_EQ(LinesWith(LineFlag_Breakpoint), (std::vector<int>{0, 2}));
    Key(Qt::Key_F9, Qt::ControlModifier);
    EXPECT_TRUE(LinesWith(LineFlag_Breakpoint).empty());
}

TEST_F(TextViewMarks, BookmarkJumpsWrapOnceAndFindTheOnlyMarkAgain)
{
    Show("0\n1\n2\n3\n4\n");
    view_->SetCursorPos({0, 3});
    Key(Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(view_->HasBookmarks());
    Key(Qt::Key_F2);
    EXPECT_EQ(Caret(), (TextPosition{0, 3}));
    view_->SetCursorPos({0, 1});
    Key(Qt::Key_F2, Qt::ControlModifier);
    Key(Qt::Key_F2);
    EXPECT_EQ(Caret().line, 3);
    Key(Qt::Key_F2);
    EXPECT_EQ(Caret().line, 1);
    Key(Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(Caret().line, 3);
    Key(Qt::Key_F2, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(view_->HasBookmarks());
    EXPECT_TRUE(LinesWith(LineFlag_Bookmark).empty());
}

TEST_F(TextViewMarks, WarningJumpsMoveTheCaretAndTheMarker)
{
    Show("0\n1\n2\n3\n");
    buffer_->ChangeLineFlag(1, LineFlag_Warning, true);
    buffer_->ChangeLineFlag(3, LineFlag_Warning, true);
    Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (TextPosition{0, 1}));
    EXPECT_EQ(LinesWith(LineFlag_Marker), std::vector<int>{1});
    Key(Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(LinesWith(LineFlag_Marker), std::vector<int>{3});
    Key(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Caret().line, 1);
    EXPECT_EQ(LinesWith(LineFlag_Marker), std::vector<int>{1});
}

TEST_F(TextViewMarks, DoubleClickInTheIconColumnTogglesABreakpoint)
{
    Show("a\nb\nc\n");
    const int h = view_->GetLineHeight();
    QTest::mouseDClick(view_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 2 * h + h / 2));
    EXPECT_EQ(LinesWith(LineFlag_Breakpoint), std::vector<int>{2});
    EXPECT_EQ(Caret().line, 2);
}

}  // namespace
