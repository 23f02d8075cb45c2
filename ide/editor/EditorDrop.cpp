// Text dropped on the editor view: the drop position, the scroll zones at the edges, copy with
// Ctrl and move otherwise; a move within the view is one undo step.

#include "ide/editor/EditorView.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPainter>

namespace zov::editor {
namespace {

constexpr int kScrollZone = 5;

Qt::DropAction ActionFor(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ControlModifier) != 0 ? Qt::CopyAction : Qt::MoveAction;
}

}  // namespace

bool CEditorView::AcceptsDrop(const QMimeData* mime) const
{
    return CanEdit() && mime != nullptr && mime->hasText();
}

void CEditorView::ShowDropCaret(TextPosition position)
{
    dropPosition_ = ClampPosition(position);
    if (!dropCaretShown_) {
        dropCaretShown_ = true;
        SetCaretHidden(true);
    }
    viewport()->update();
}

void CEditorView::HideDropCaret()
{
    dragScrollTimer_.stop();
    if (dropCaretShown_) {
        dropCaretShown_ = false;
        SetCaretHidden(false);
    }
}

bool CEditorView::InDragScrollZone(QPoint point) const
{
    const int margin = GetMarginWidth();
    return point.y() < kScrollZone || point.y() >= viewport()->height() - kScrollZone ||
           (point.x() >= margin && point.x() < margin + kScrollZone) || point.x() >= viewport()->width() - kScrollZone;
}

void CEditorView::DragScrollStep()
{
    const QPoint point = dragPoint_;
    if (point.y() < kScrollZone) {
        ScrollToLine(GetTopLine() - 1);
    } else if (point.y() >= viewport()->height() - kScrollZone) {
        ScrollToLine(GetTopLine() + 1);
    }
    const int margin = GetMarginWidth();
    if (point.x() >= margin && point.x() < margin + kScrollZone) {
        ScrollToChar(GetOffsetChar() - 1);
    } else if (point.x() >= viewport()->width() - kScrollZone) {
        ScrollToChar(GetOffsetChar() + 1);
    }
    if (dropCaretShown_) {
        ShowDropCaret(PointToPosition(point));
    }
}

void CEditorView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!AcceptsDrop(event->mimeData())) {
        HideDropCaret();
        event->ignore();
        return;
    }
    ShowDropCaret(PointToPosition(event->position().toPoint()));
    event->setDropAction(ActionFor(event->modifiers()));
    event->accept();
}

void CEditorView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!AcceptsDrop(event->mimeData())) {
        HideDropCaret();
        event->ignore();
        return;
    }
    dragPoint_ = event->position().toPoint();
    if (InDragScrollZone(dragPoint_)) {
        DragScrollStep();
        // Held still at an edge, the view goes on scrolling.
        if (!dragScrollTimer_.isActive()) {
            dragScrollTimer_.setInterval(50);
            connect(&dragScrollTimer_, &QTimer::timeout, this, &CEditorView::DragScrollStep, Qt::UniqueConnection);
            dragScrollTimer_.start();
        }
    } else {
        dragScrollTimer_.stop();
    }
    ShowDropCaret(PointToPosition(dragPoint_));
    event->setDropAction(ActionFor(event->modifiers()));
    event->accept();
}

void CEditorView::dragLeaveEvent(QDragLeaveEvent* event)
{
    HideDropCaret();
    event->accept();
}

void CEditorView::dropEvent(QDropEvent* event)
{
    HideDropCaret();
    if (!AcceptsDrop(event->mimeData())) {
        event->ignore();
        return;
    }
    const TextPosition at = ClampPosition(PointToPosition(event->position().toPoint()));
    const Qt::DropAction action = ActionFor(event->modifiers());
    // Moving the text into itself (or to its own start) would put the copy inside the range the
    // source deletes afterwards, and both would be lost: such a move changes nothing.
    if (IsDragSource() && action == Qt::MoveAction && GetDragStart() <= at && at < GetDragEnd()) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    CTextBuffer& buffer = *GetTextBuffer();
    // A drag from this view holds the undo group already: the drop and the removal share it.
    const bool ownGroup = !IsDragSource();
    const int before = buffer.GetUndoPosition();
    if (ownGroup) {
        buffer.OpenUndoGroup();
    }
    TextPosition end = at;
    const bool done = buffer.InsertTextUndoable(this, at, event->mimeData()->text(), &end, UndoAction_DragDrop);
    if (ownGroup) {
        buffer.CloseUndoGroup(buffer.GetUndoPosition() != before ? this : nullptr);
    }
    if (!done) {
        QApplication::beep();
        event->ignore();
        return;
    }
    SetAnchor(at);
    MoveCaretTo(end, true);
    setFocus(Qt::OtherFocusReason);
    event->setDropAction(action);
    event->accept();
}

void CEditorView::OnDropSource(Qt::DropAction effect)
{
    if (effect == Qt::MoveAction && CanEdit() && GetDragStart() != GetDragEnd()) {
        GetTextBuffer()->DeleteTextUndoable(this, GetDragStart(), GetDragEnd(), UndoAction_DragDrop);
    }
}

void CEditorView::paintEvent(QPaintEvent* event)
{
    CTextView::paintEvent(event);
    if (!dropCaretShown_) {
        return;
    }
    const int line = dropPosition_.line;
    if (line < GetTopLine() || line >= GetTopLine() + GetScreenLines() + 1 ||
        CharToColumn(line, dropPosition_.charIndex) < GetOffsetChar()) {
        return;
    }
    QPainter painter(viewport());
    const QPoint at = PositionToPoint(dropPosition_);
    painter.fillRect(QRect(at.x(), at.y(), 2, GetLineHeight()), palette().text());
}

}  // namespace zov::editor
