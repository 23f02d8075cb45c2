// Drag and drop of text in the editor view: move and copy, one undo step, drops refused, the
// scroll zones at the edges and the auto-scroll of a mouse selection.

#include "ide/editor/EditorView.h"
#include "ide/editor/model/TextBuffer.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace {

using namespace zov::editor;

// The toolkit's drag loop replaced by a drop on the same view at a chosen point.
class SelfDropEditor : public CEditorView {
public:
    QPoint dropPoint;
    Qt::KeyboardModifiers dropModifiers = Qt::NoModifier;
    int drags = 0;
    QString draggedText;

protected:
    Qt::DropAction ExecuteDrag(QMimeData* mime, Qt::DropActions allowed) override
    {
        std::unique_ptr<QMimeData> owned(mime);
        ++drags;
        draggedText = mime->text();
        QDragEnterEvent enter(dropPoint, allowed, mime, Qt::LeftButton, dropModifiers);
        QApplication::sendEvent(viewport(), &enter);
        QDropEvent drop(QPointF(dropPoint), allowed, mime, Qt::LeftButton, dropModifiers);
        QApplication::sendEvent(viewport(), &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
};

class EditorDragDrop : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
    void TearDown() override { view_.reset(); }

    void Show(std::string_view text, int width = 480, int height = 240)
    {
        view_.reset();
        buffer_ = std::make_unique<CTextBuffer>();
        ASSERT_TRUE(buffer_->LoadFromBytes(text));
        view_ = std::make_unique<SelfDropEditor>();
        view_->resize(width, height);
        view_->AttachToBuffer(buffer_.get());
        view_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view_.get()));
        view_->setFocus();
    }
    void Select(TextPosition from, TextPosition to)
    {
        view_->SetAnchor(from);
        view_->SetCursorPos(to);
        view_->SetSelection(from, to);
    }
    // A point on the boundary before the character.
    QPoint PointOf(TextPosition position) const
    {
        return view_->PositionToPoint(position) + QPoint(1, view_->GetLineHeight() / 2);
    }
    void Mouse(QEvent::Type type, QPoint point, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(point), view_->viewport()->mapToGlobal(QPointF(point)), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view_->viewport(), &event);
    }
    // Press inside the selection at `from`, move: the drag runs and drops at `to`.
    void DragTo(TextPosition from, TextPosition to, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        view_->dropPoint = PointOf(to);
        view_->dropModifiers = modifiers;
        Mouse(QEvent::MouseButtonPress, PointOf(from), Qt::LeftButton);
        Mouse(QEvent::MouseMove, PointOf(from) + QPoint(20, 0), Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, PointOf(from) + QPoint(20, 0), Qt::NoButton);
    }
    QString Line(int line) const { return buffer_->GetLine(line); }

    std::unique_ptr<CTextBuffer> buffer_;
    std::unique_ptr<SelfDropEditor> view_;
};

TEST_F(EditorDragDrop, MoveWithinTheViewIsOneUndoStepAndSelectsTheMovedText)
{
    Show("hello brave world\nnext\n");
    Select({6, 0}, {12, 0});
    DragTo({8, 0}, {17, 0});
    EXPECT_EQ(view_->drags, 1);
    EXPECT_EQ(view_->draggedText, QStringLiteral("brave "));
    EXPECT_EQ(Line(0), QStringLiteral("hello worldbrave "));
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{11, 0}));
    EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{17, 0}));
    EXPECT_EQ(view_->UndoMenuText(), QStringLiteral("&Annuler Drag & Drop\tCtrl+Z"));
    view_->Undo();
    EXPECT_EQ(Line(0), QStringLiteral("hello brave world"));
    EXPECT_FALSE(buffer_->CanUndo());
}

TEST_F(EditorDragDrop, MoveToAnEarlierLineAndCopyWithCtrl)
{
    Show("first\nsecond word\n");
    Select({7, 1}, {11, 1});
    DragTo({8, 1}, {0, 0});
    EXPECT_EQ(Line(0), QStringLiteral("wordfirst"));
    EXPECT_EQ(Line(1), QStringLiteral("second "));
    view_->Undo();

    Select({7, 1}, {11, 1});
    DragTo({8, 1}, {5, 0}, Qt::ControlModifier);
    EXPECT_EQ(Line(0), QStringLiteral("firstword"));
    EXPECT_EQ(Line(1), QStringLiteral("second word"));
}

TEST_F(EditorDragDrop, MovingTextIntoItselfChangesNothing)
{
    for (const TextPosition target : {TextPosition{6, 0}, TextPosition{9, 0}}) {
        Show("hello brave world\n");
        Select({6, 0}, {12, 0});
        DragTo({8, 0}, target);
        EXPECT_EQ(view_->drags, 1);
        EXPECT_EQ(Line(0), QStringLiteral("hello brave world")) << target.charIndex;
        EXPECT_FALSE(buffer_->CanUndo()) << target.charIndex;
    }
}

TEST_F(EditorDragDrop, ADropFromOutsideInsertsLinesAndIsRefusedWhereItCannotGo)
{
    Show("ab\ncd\n");
    QMimeData text;
    text.setText(QStringLiteral("x\ny"));
    // As the toolkit delivers a drag: the enter makes the view the target of the drop.
    QDragEnterEvent enterText(PointOf({1, 1}), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &enterText);
    EXPECT_TRUE(enterText.isAccepted());
    EXPECT_TRUE(view_->IsDropCaretShown());
    QDropEvent drop(QPointF(PointOf({1, 1})), Qt::CopyAction | Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::MoveAction);
    EXPECT_FALSE(view_->IsDropCaretShown());
    EXPECT_EQ(Line(1), QStringLiteral("cx"));
    EXPECT_EQ(Line(2), QStringLiteral("yd"));
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{1, 1}));
    EXPECT_EQ(view_->GetSelectionEnd(), (TextPosition{1, 2}));
    view_->Undo();
    EXPECT_EQ(Line(1), QStringLiteral("cd"));

    QMimeData other;
    other.setData(QStringLiteral("application/x-zov-item"), QByteArray("1"));
    QDragEnterEvent enter(PointOf({0, 0}), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    EXPECT_FALSE(view_->IsDropCaretShown());

    buffer_->SetReadOnly(true);
    QDropEvent refused(QPointF(PointOf({0, 0})), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    EXPECT_EQ(Line(0), QStringLiteral("ab"));
}

TEST_F(EditorDragDrop, HoveringShowsTheDropPositionAndScrollsAtTheEdges)
{
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "line " + std::to_string(i) + "\n";
    }
    Show(text, 300, 160);
    view_->ScrollToLine(10);
    QMimeData data;
    data.setText(QStringLiteral("t"));
    QDragEnterEvent enter(QPoint(view_->GetMarginWidth() + 30, view_->viewport()->height() / 2),
                          Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_->viewport(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    auto move = [&](QPoint point) {
        QDragMoveEvent event(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view_->viewport(), &event);
        return event.isAccepted();
    };
    const int middle = view_->viewport()->height() / 2;
    const int textX = view_->GetMarginWidth() + 30;
    EXPECT_TRUE(move({textX, middle}));
    EXPECT_TRUE(view_->IsDropCaretShown());
    EXPECT_EQ(view_->GetTopLine(), 10);
    EXPECT_EQ(view_->GetDropPosition().line, view_->PointToPosition({textX, middle}).line);

    move({textX, 2});
    EXPECT_EQ(view_->GetTopLine(), 9);
    move({textX, view_->viewport()->height() - 2});
    EXPECT_EQ(view_->GetTopLine(), 10);
    view_->DragScrollStep();  // held still at the edge, the timer goes on
    EXPECT_EQ(view_->GetTopLine(), 11);

    QDragLeaveEvent leave;
    QApplication::sendEvent(view_->viewport(), &leave);
    EXPECT_FALSE(view_->IsDropCaretShown());
    EXPECT_EQ(buffer_->GetLineCount(), 101);
}

TEST_F(EditorDragDrop, ASelectionHeldBelowTheTextScrollsAndGrowsUntilRelease)
{
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "row " + std::to_string(i) + "\n";
    }
    Show(text, 300, 160);
    Mouse(QEvent::MouseButtonPress, PointOf({0, 0}), Qt::LeftButton);
    const int below = view_->viewport()->height() + 2;
    Mouse(QEvent::MouseMove, QPoint(view_->GetMarginWidth() + 10, below), Qt::LeftButton);
    EXPECT_TRUE(view_->IsAutoScrolling());
    const int top = view_->GetTopLine();
    const int end = view_->GetSelectionEnd().line;
    view_->AutoScrollStep();
    EXPECT_EQ(view_->GetTopLine(), top + 1);
    EXPECT_GT(view_->GetSelectionEnd().line, end);
    EXPECT_EQ(view_->GetSelectionStart(), (TextPosition{0, 0}));
    Mouse(QEvent::MouseButtonRelease, QPoint(view_->GetMarginWidth() + 10, below), Qt::NoButton);
    EXPECT_FALSE(view_->IsAutoScrolling());
}

}  // namespace
