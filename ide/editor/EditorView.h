#pragma once
// The editable view: typing, line breaks with automatic indentation, deletion, overwrite mode,
// clipboard and undo, all through the buffer's undoable edits so that every change has a name.

#include "ide/editor/EditorServices.h"
#include "ide/editor/EditorCommands.h"
#include "ide/editor/TextView.h"
#include "ide/editor/model/EditRules.h"
#include "ide/editor/model/WordRules.h"
#include "ide/shell/core/Translate.h"

#include <QPointer>

#include <cstdint>
#include <map>
#include <vector>

class QAction;
class QMenu;

namespace zov::shell {
class Prompter;
}

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
    // The word around the caret, selected (help, "Ajouter une variable...").
    QString SelectWordAtCaret();
    // A caret command of the window (37101-37124): the view moves as for its own key, given
    // straight to it so that no shortcut sees it again. False for any other id.
    bool RunCaretCommand(int id);
    // Replaces the selection (or inserts at the caret) as one undo group of the action.
    bool ReplaceSelection(const QString& text, int action);

    void AfterEdit(int action, const QString& text) override;

    // Block commands. Tab and Shift+Tab on a selection over several lines act on its whole
    // lines; comment and uncomment act only on such a selection. Each is one undo step and
    // leaves the lines selected whole.
    void Indent();
    void Unindent();
    void Comment();
    void Uncomment();
    QChar GetCommentChar() const { return commentChar_; }
    void SetCommentChar(QChar mark) { commentChar_ = mark; }

    // "&Annuler %s\tCtrl+Z" with the name of the step to undo, "&Annuler\tCtrl+Z" without one
    // (translated); the same for redo.
    QString UndoMenuText() const;
    QString RedoMenuText() const;
    // "Lecture" (translated) on a read-only buffer, else empty.
    QString ReadOnlyStatusText() const;
    void SetTranslate(shell::Translate translate);
    // Message boxes go to this prompter (the IDE's active one when none is set).
    void SetPrompter(shell::Prompter* prompter) { prompter_ = prompter; }

    void SetServices(EditorServices services) { services_ = std::move(services); }
    const EditorServices& Services() const { return services_; }
    // The call skeleton of function `index` of the interface set, replacing the selection.
    bool InsertFunctionCall(int index);
    // Folds every macro, then makes a macro of the selection (Ctrl+M).
    void OnCreateMacro();
    void CreateMacroFromSelection();
    void CollapseAllMacros();
    void ExpandAllMacros();
    void SaveFoldState();
    void RestoreFoldState();
    bool HasMacroBlocks() const;

    // Commands by id: the view's actions ("cmd<id>"), their states, and the context menu of the
    // document kind (175 for texts, 176 for macro bodies, 158 for the others).
    static constexpr int kFunctionCommandFirst = 38514;
    static constexpr int kFunctionCommandLast = 38614;
    QAction* CommandAction(int id) const;
    bool ExecuteCommand(int id);
    void UpdateCommandStates();
    void SetDocumentKind(int kind) { documentKind_ = kind; }
    int GetDocumentKind() const { return documentKind_; }
    int ContextMenuId() const;
    void FillContextMenu(QMenu& menu);

    // The drop position shown while a drag of text hovers over an editable view.
    bool IsDropCaretShown() const { return dropCaretShown_; }
    TextPosition GetDropPosition() const { return dropPosition_; }
    // One step of the scroll of a hovering drag within 5 pixels of an edge.
    void DragScrollStep();

    // Find, replace, go to line, page setup and printing, with their keys.
    EditorCommands& Commands() { return commands_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // Overwrite off and auto-indent on, then the text view's reset.
    void ResetView() override;
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    Qt::DropActions GetDropEffect() const override { return Qt::CopyAction | Qt::MoveAction; }
    void OnDropSource(Qt::DropAction effect) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    // The word around the caret, the selection left as it is; "" without a buffer.
    QString WordAtCaret() const;

private:
    bool CanEdit() const;
    // The last undo record is typing that ended at the caret: a keystroke joins its group.
    bool FollowsTyping() const;
    // Deletes the selection inside an open group; the caret goes to its start.
    bool DeleteSelectionInGroup(int action);
    // Inside an open undo group: the selection deleted, in overwrite mode up to `overwritten`
    // characters after the caret replaced, the text inserted with the caret after it; the group is
    // closed, and a refused edit beeps. False when refused.
    bool TypeInOpenGroup(const QString& text, int overwritten);

    // Selects the lines of a block command whole.
    void SelectWholeLines(LineRange lines);
    QString Tr(const char* text) const;
    shell::Prompter& ActivePrompter() const;
    void CreateCommands();
    bool AcceptsDrop(const QMimeData* mime) const;
    void ShowDropCaret(TextPosition position);
    void HideDropCaret();
    // Within 5 pixels of the top or bottom, or right of the margin or at the right edge.
    bool InDragScrollZone(QPoint point) const;

    bool autoIndent_ = true;
    bool overwrite_ = false;
    QChar commentChar_;
    shell::Translate translate_ = shell::IdentityTranslate();
    shell::Prompter* prompter_ = nullptr;
    EditorServices services_;
    std::vector<std::uint32_t> savedFolds_;
    std::map<int, QAction*> actions_;
    int documentKind_ = 1;
    bool dropCaretShown_ = false;
    TextPosition dropPosition_;
    QPoint dragPoint_;
    QTimer dragScrollTimer_;
    EditorCommands commands_{*this};
};

}  // namespace zov::editor
