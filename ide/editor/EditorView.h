#pragma once
// The editable view: typing, line breaks with automatic indentation, deletion, overwrite mode,
// clipboard and undo, all through the buffer's undoable edits so that every change has a name.

#include "ide/editor/EditorCommands.h"
#include "ide/editor/TextView.h"
#include "ide/editor/model/WordRules.h"

namespace zov::editor {

class CEditorView : public CTextView {
    Q_OBJECT
public:
    explicit CEditorView(QWidget* parent = nullptr);

    bool GetAutoIndent() const { return autoIndent_; }
    void SetAutoIndent(bool on) { autoIndent_ = on; }
    bool GetOverwriteMode() const { return overwrite_; }
    void SetOverwriteMode(bool on);
    // "OVR" while overwriting, else empty.
    QString OverwriteStatusText() const;

    // The edits of the keys, callable by commands and tests.
    void InsertTypedText(const QString& text);
    void InsertLineBreak();
    void DeleteBackward();
    void DeleteForward();
    void Undo();
    void Redo();
    void Cut();
    void Paste();
    // The selection's case changed as one undo group; the selection stays on the same range.
    void ChangeCase(CaseChange change);
    // The word around the caret, searched as a whole word with its case, wrapping; a match is selected.
    void FindOccurrence(bool forward);
    // Replaces the selection (or inserts at the caret) as one undo group of the action.
    bool ReplaceSelection(const QString& text, int action);

    void AfterEdit(int action, const QString& text) override;

    // Find, replace, go to line, page setup and printing, with their keys.
    EditorCommands& Commands() { return commands_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    bool CanEdit() const;
    // The last undo record is typing that ended at the caret: a keystroke joins its group.
    bool FollowsTyping() const;
    // Deletes the selection inside an open group; the caret goes to its start.
    bool DeleteSelectionInGroup(int action);

    bool autoIndent_ = true;
    bool overwrite_ = false;
    EditorCommands commands_{*this};
};

}  // namespace zov::editor
