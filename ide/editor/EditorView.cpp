#include "ide/editor/EditorView.h"

#include "ide/editor/model/EditRules.h"
#include "ide/editor/model/TextSearch.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace zov::editor {

CEditorView::CEditorView(QWidget* parent) : CTextView(parent)
{
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    CreateCommands();
}

void CEditorView::SetOverwriteMode(bool on)
{
    overwrite_ = on;
    UpdateCommandStates();
    emit CursorMoved();
}

QString CEditorView::OverwriteStatusText() const
{
    return overwrite_ ? QStringLiteral("OVR") : QString();
}

bool CEditorView::CanEdit() const
{
    return GetTextBuffer() != nullptr && !GetTextBuffer()->IsReadOnly();
}

bool CEditorView::DeleteSelectionInGroup(int action)
{
    if (!IsSelection()) {
        return true;
    }
    const TextPosition start = GetSelectionStart();
    const TextPosition end = GetSelectionEnd();
    if (!GetTextBuffer()->DeleteTextUndoable(this, start, end, action)) {
        return false;
    }
    SetSelection(start, start);
    SetCursorPos(start);
    SetAnchor(start);
    return true;
}

bool CEditorView::ReplaceSelection(const QString& text, int action)
{
    if (!CanEdit()) {
        QApplication::beep();
        return false;
    }
    CTextBuffer& buffer = *GetTextBuffer();
    buffer.OpenUndoGroup();
    bool done = DeleteSelectionInGroup(action);
    TextPosition end = GetCursorPos();
    if (done && !text.isEmpty()) {
        done = buffer.InsertTextUndoable(this, GetCursorPos(), text, &end, action);
    }
    if (done) {
        MoveCaretTo(end, false);
    }
    buffer.CloseUndoGroup(this);
    if (!done) {
        QApplication::beep();
    }
    return done;
}

bool CEditorView::FollowsTyping() const
{
    const CTextBuffer& buffer = *GetTextBuffer();
    const auto& records = buffer.GetUndoRecords();
    if (records.empty() || buffer.GetUndoPosition() != static_cast<int>(records.size())) {
        return false;
    }
    const CTextBuffer::UndoRecord& last = records.back();
    return last.action == UndoAction_Typing && (last.flags & CTextBuffer::kUndoInsert) != 0 &&
           last.end == GetCursorPos();
}

void CEditorView::InsertTypedText(const QString& text)
{
    if (!CanEdit() || text.isEmpty()) {
        return;
    }
    CTextBuffer& buffer = *GetTextBuffer();
    // Successive keystrokes make one undo step, as long as nothing else came between them; a
    // blank starts a new step, so that undo takes back one word at a time.
    buffer.OpenUndoGroup(!IsSelection() && text.size() == 1 && !text.at(0).isSpace() && FollowsTyping());
    TypeInOpenGroup(text, static_cast<int>(text.size()));
}

bool CEditorView::TypeInOpenGroup(const QString& text, int overwritten)
{
    CTextBuffer& buffer = *GetTextBuffer();
    bool done = DeleteSelectionInGroup(UndoAction_Typing);
    const TextPosition at = GetCursorPos();
    if (done && overwrite_ && at.charIndex < buffer.GetLineLength(at.line)) {
        const int count = std::min(overwritten, buffer.GetLineLength(at.line) - at.charIndex);
        done = buffer.DeleteTextUndoable(this, at, {at.charIndex + count, at.line}, UndoAction_Typing);
    }
    TextPosition end = at;
    if (done) {
        done = buffer.InsertTextUndoable(this, at, text, &end, UndoAction_Typing);
    }
    if (done) {
        MoveCaretTo(end, false);
    }
    buffer.CloseUndoGroup(this);
    if (!done) {
        QApplication::beep();
    }
    return done;
}

void CEditorView::InsertLineBreak()
{
    if (!CanEdit()) {
        return;
    }
    if (overwrite_) {
        // Overwriting never breaks a line: Enter only moves to the next line's start.
        const int next = std::min(GetCursorPos().line + 1, GetLineCount() - 1);
        MoveCaretTo({GetCursorPos().line + 1 < GetLineCount() ? 0 : GetLineLength(next), next}, false);
        return;
    }
    CTextBuffer& buffer = *GetTextBuffer();
    buffer.OpenUndoGroup();
    bool done = DeleteSelectionInGroup(UndoAction_Typing);
    TextPosition end = GetCursorPos();
    if (done) {
        done = buffer.InsertTextUndoable(this, GetCursorPos(), QStringLiteral("\r\n"), &end, UndoAction_Typing);
    }
    if (done) {
        MoveCaretTo(end, false);
    }
    buffer.CloseUndoGroup(this);
    if (!done) {
        QApplication::beep();
    }
}

void CEditorView::AfterEdit(int action, const QString& text)
{
    if (GetTextBuffer() == nullptr) {
        return;
    }
    if (const auto end =
            AutoIndentAfterEdit(*GetTextBuffer(), this, GetCursorPos(), action, text, autoIndent_, overwrite_)) {
        MoveCaretTo(*end, false);
    }
}

void CEditorView::DeleteBackward()
{
    if (!CanEdit()) {
        return;
    }
    if (IsSelection()) {
        ReplaceSelection(QString(), UndoAction_Backspace);
        return;
    }
    const TextPosition at = GetCursorPos();
    TextPosition from = at;
    if (at.charIndex > 0) {
        --from.charIndex;
    } else if (at.line > 0) {
        from = {GetLineLength(at.line - 1), at.line - 1};
    } else {
        return;
    }
    SetSelection(from, at);
    ReplaceSelection(QString(), UndoAction_Backspace);
}

void CEditorView::DeleteForward()
{
    if (!CanEdit()) {
        return;
    }
    if (IsSelection()) {
        ReplaceSelection(QString(), UndoAction_Delete);
        return;
    }
    const TextPosition at = GetCursorPos();
    TextPosition to = at;
    if (at.charIndex < GetLineLength(at.line)) {
        ++to.charIndex;
    } else if (at.line + 1 < GetLineCount()) {
        to = {0, at.line + 1};
    } else {
        return;
    }
    SetSelection(at, to);
    ReplaceSelection(QString(), UndoAction_Delete);
}

void CEditorView::Undo()
{
    TextPosition position;
    if (GetTextBuffer() != nullptr && GetTextBuffer()->CanUndo() && GetTextBuffer()->Undo(position)) {
        MoveCaretTo(position, false);
    }
}

void CEditorView::Redo()
{
    TextPosition position;
    if (GetTextBuffer() != nullptr && GetTextBuffer()->CanRedo() && GetTextBuffer()->Redo(position)) {
        MoveCaretTo(position, false);
    }
}

void CEditorView::Cut()
{
    if (CanEdit() && IsSelection() && Copy()) {
        ReplaceSelection(QString(), UndoAction_Cut);
    }
}

void CEditorView::Paste()
{
    // Nothing goes into a macro call line or a line the buffer protects.
    const int line = GetCursorPos().line;
    if (GetTextBuffer() == nullptr || GetTextBuffer()->HasMacroName(line) || GetTextBuffer()->IsLineProtected(line)) {
        return;
    }
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) {
        ReplaceSelection(text, UndoAction_Paste);
    }
}

void CEditorView::ChangeCase(CaseChange change)
{
    if (!CanEdit() || !IsSelection()) {
        return;
    }
    const TextPosition start = GetSelectionStart();
    const TextPosition end = GetSelectionEnd();
    const TextPosition cursor = GetCursorPos();
    const TextPosition anchor = GetAnchor();
    if (!ApplyCaseChange(*GetTextBuffer(), this, start, end, change)) {
        QApplication::beep();
        return;
    }
    // The converted text has the selection's length, so the old range still covers it.
    SetAnchor(anchor);
    SetCursorPos(cursor);
    SetSelection(anchor, cursor);
    EnsureVisible(cursor);
}

void CEditorView::FindOccurrence(bool forward)
{
    if (GetTextBuffer() == nullptr) {
        return;
    }
    const TextPosition at = GetCursorPos();
    const QString& line = GetTextBuffer()->GetLine(at.line);
    const int left = WordToLeft(line, at.charIndex);
    const int right = WordToRight(line, at.charIndex);
    if (right <= left) {
        return;
    }
    const QString word = line.mid(left, right - left);
    const unsigned flags = Find_MatchCase | Find_WholeWord | (forward ? 0u : unsigned(Find_Up));
    TextPosition found;
    if (!FindText(*GetTextBuffer(), word, {forward ? right : left, at.line}, flags, true, found)) {
        return;
    }
    const TextPosition end{found.charIndex + static_cast<int>(word.size()), found.line};
    SetAnchor(found);
    SetCursorPos(end);
    SetSelection(found, end);
    EnsureVisible(end);
}

void CEditorView::keyPressEvent(QKeyEvent* event)
{
    if (commands_.HandleKey(*event)) {
        return;
    }
    if (HandleNavigationKey(event)) {
        return;
    }
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (modifiers == Qt::ControlModifier && event->key() == Qt::Key_L) {
        ChangeCase(CaseChange::Lower);
    } else if (modifiers == Qt::ControlModifier && event->key() == Qt::Key_U) {
        ChangeCase(CaseChange::Upper);
    } else if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) &&
               (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        FindOccurrence(event->key() == Qt::Key_Down);
    } else if (event->key() == Qt::Key_Tab && modifiers == Qt::NoModifier) {
        Indent();
    } else if (event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && modifiers == Qt::ShiftModifier)) {
        Unindent();
    } else if ((modifiers & ~Qt::ShiftModifier) == Qt::AltModifier && event->key() == Qt::Key_Slash) {
        Comment();
    } else if ((modifiers & ~Qt::ShiftModifier) == Qt::AltModifier && event->key() == Qt::Key_Colon) {
        Uncomment();
    } else if (modifiers == Qt::ControlModifier && event->key() == Qt::Key_M) {
        OnCreateMacro();
    } else if (event->matches(QKeySequence::Undo)) {
        Undo();
    } else if (event->matches(QKeySequence::Redo) ||
               (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
        Redo();
    } else if (event->matches(QKeySequence::Cut)) {
        Cut();
    } else if (event->matches(QKeySequence::Paste)) {
        Paste();
    } else if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        SetOverwriteMode(!overwrite_);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        InsertLineBreak();
    } else if (event->key() == Qt::Key_Backspace) {
        DeleteBackward();
    } else if (event->key() == Qt::Key_Delete) {
        DeleteForward();
    } else if (!event->text().isEmpty() && (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0 &&
               (event->text().at(0).isPrint() || event->text() == QStringLiteral("\t"))) {
        InsertTypedText(event->text());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CEditorView::inputMethodEvent(QInputMethodEvent* event)
{
    // Dead keys and compose sequences arrive here as the finished characters.
    if (!event->commitString().isEmpty()) {
        InsertTypedText(event->commitString());
    }
    event->accept();
}

QVariant CEditorView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImCursorRectangle: {
        const QPoint at = PositionToPoint(GetCursorPos());
        return QRect(at.x(), at.y(), 2, GetLineHeight());
    }
    case Qt::ImFont:
        return TextFont();
    case Qt::ImCursorPosition:
        return GetCursorPos().charIndex;
    case Qt::ImSurroundingText:
        return GetTextBuffer() != nullptr ? GetTextBuffer()->GetLine(GetCursorPos().line) : QString();
    default:
        return CTextView::inputMethodQuery(query);
    }
}

}  // namespace zov::editor
