#pragma once
// The search, go-to-line, page-setup and print commands of an editor view, with their keys. The
// view owns one; it keeps the view's last search (find next and find previous repeat it) and
// reads and writes the dialogs' values in the settings when it has them.

#include "ide/editor/TextPrinting.h"
#include "ide/editor/model/BufferTypes.h"

#include <QString>

class QKeyEvent;
class QPrinter;

namespace zov::shell {
class Settings;
class ShellPrompter;
}  // namespace zov::shell

namespace zov::editor {

class CEditorView;
class CTextBuffer;

class EditorCommands {
public:
    explicit EditorCommands(CEditorView& view);

    // Where "CrystalEdit\Find", "CrystalEdit\Replace" and "CrystalEdit\PageSetup" live; without
    // settings the defaults stand and nothing is written.
    void SetSettings(const shell::Settings* settings) { settings_ = settings; }
    // The prompter the dialogs and messages go through; none = the active one.
    void SetPrompter(shell::ShellPrompter* prompter) { prompter_ = prompter; }

    // Find next and find previous are enabled only after a find in the same buffer.
    bool HasLastSearch() const;
    const QString& LastSearchText() const { return lastText_; }
    unsigned LastSearchFlags() const { return lastFlags_; }
    void ResetFind();

    void Find();          // Ctrl+F
    void FindNext();      // F3
    void FindPrevious();  // Shift+F3: the other direction, this once
    void Replace();       // Ctrl+H
    void GoToLine();      // Ctrl+G
    // The caret to column 0 of the 1-based line, limited to the text.
    void GoToLineNumber(int line);
    void PageSetup();
    void Print();  // Ctrl+P
    void PrintPreview();

    // Prints the view's buffer in its font on the printer, with the stored margins.
    bool PrintTo(QPrinter& printer);
    PageMargins Margins() const;

    // The keys above; true when the event was one of them.
    bool HandleKey(QKeyEvent& event);

private:
    shell::ShellPrompter& Prompter() const;
    // Searches the last text from the caret; a miss tells so and changes nothing.
    void RepeatFind(unsigned flags);

    CEditorView& view_;
    const shell::Settings* settings_ = nullptr;
    shell::ShellPrompter* prompter_ = nullptr;
    const CTextBuffer* lastBuffer_ = nullptr;
    QString lastText_;
    unsigned lastFlags_ = 0;
};

}  // namespace zov::editor
