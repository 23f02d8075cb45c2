#pragma once
// The editor's three modal dialogs: find ("Rechercher"), replace ("Remplacer") and go to line
// ("Atteindre"). The caller fills the public members, runs the dialog through the prompter and
// reads them back. Find and replace search the view's buffer themselves and select each match;
// a search that finds nothing tells so through the prompter and starts over from the top.

#include "ide/editor/model/BufferTypes.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ThemedDialog.h"

#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zov::editor {

class CTextView;
class CEditorView;

// Selects `length` characters from `position` on its line, the caret at their end, and scrolls
// the caret into view.
void HighlightText(CTextView& view, TextPosition position, int length);

// "Ne trouve pas la chaine "%s"" in the installed language, filled with the searched text.
QString NotFoundMessage(const QString& what);

class FindDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    explicit FindDialog(CTextView& view, QWidget* parent = nullptr,
                        shell::ShellPrompter& prompter = shell::ActivePrompter());

    int direction = 1;  // 0 upward, 1 downward
    bool matchCase = false;
    QString searchText;
    bool wholeWord = false;
    TextPosition searchStart;

    // "Suivant": a match is selected and the dialog ends; none keeps it open.
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    void UpdateNext();

    CTextView& view_;
    shell::ShellPrompter& prompter_;
    QRadioButton* up_;
    QRadioButton* down_;
    QCheckBox* matchCase_;
    QLineEdit* searchText_;
    QCheckBox* wholeWord_;
    QPushButton* next_;
};

class ReplaceDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    explicit ReplaceDialog(CEditorView& view, QWidget* parent = nullptr,
                           shell::ShellPrompter& prompter = shell::ActivePrompter());

    bool matchCase = false;
    bool wholeWord = false;
    QString searchText;
    QString replaceText;
    bool found = false;
    TextPosition currentPosition;
    TextPosition searchStart;

    // The three buttons, callable without the window.
    void OnNext();
    void OnReplace();
    void OnReplaceAll();

    // "Fermer": the fields are kept for the caller.
    void reject() override;

protected:
    void OnInitDialog() override;

private:
    void TakeFields();
    void UpdateNext();
    // Searches from the current position; a match is selected. No match: the message when
    // `report`, and the next search starts at the top.
    bool Search(bool report);
    // The selected match becomes the replacement text, selected, as an undo step of its own or,
    // with `merge`, joined to the previous one.
    bool ReplaceCurrent(bool merge);

    CEditorView& view_;
    shell::ShellPrompter& prompter_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QLineEdit* searchText_;
    QLineEdit* replaceText_;
    QPushButton* next_;
    QPushButton* replace_;
    QPushButton* replaceAll_;
};

class GoToLineDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    explicit GoToLineDialog(QWidget* parent = nullptr);

    int lineNumber = 0;

    // A field that is not a number keeps the dialog open.
    void accept() override;

protected:
    void OnInitDialog() override;

private:
    QLineEdit* line_;
};

}  // namespace zov::editor
