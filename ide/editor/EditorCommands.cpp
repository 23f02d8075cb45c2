#include "ide/editor/EditorCommands.h"

#include "ide/editor/EditorView.h"
#include "ide/editor/FindDialogs.h"
#include "ide/editor/model/TextSearch.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/Settings.h"

#include <QKeyEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

namespace zov::editor {

using shell::SettingId;

namespace {

// The selection's text when it lies on one line; empty otherwise.
QString SingleLineSelection(const CTextView& view)
{
    if (!view.IsSelection() || view.GetSelectionStart().line != view.GetSelectionEnd().line) {
        return {};
    }
    return view.GetText(view.GetSelectionStart(), view.GetSelectionEnd());
}

// Keeps the view drawing its selection while a dialog has the focus.
class DialogShown {
public:
    explicit DialogShown(bool& flag) : flag_(flag) { flag_ = true; }
    ~DialogShown() { flag_ = false; }
    DialogShown(const DialogShown&) = delete;
    DialogShown& operator=(const DialogShown&) = delete;

private:
    bool& flag_;
};

}  // namespace

EditorCommands::EditorCommands(CEditorView& view) : view_(view) {}

shell::ShellPrompter& EditorCommands::Prompter() const
{
    return prompter_ != nullptr ? *prompter_ : shell::ActivePrompter();
}

bool EditorCommands::HasLastSearch() const
{
    return lastBuffer_ != nullptr && lastBuffer_ == view_.GetTextBuffer();
}

void EditorCommands::ResetFind()
{
    lastBuffer_ = nullptr;
    lastText_.clear();
    lastFlags_ = 0;
}

void EditorCommands::Find()
{
    if (view_.GetTextBuffer() == nullptr) {
        return;
    }
    FindDialog dialog(view_, &view_, Prompter());
    if (HasLastSearch()) {
        dialog.searchText = lastText_;
        dialog.matchCase = (lastFlags_ & Find_MatchCase) != 0;
        dialog.wholeWord = (lastFlags_ & Find_WholeWord) != 0;
        dialog.direction = (lastFlags_ & Find_Up) != 0 ? 0 : 1;
    } else if (settings_ != nullptr) {
        dialog.matchCase = settings_->GetInt(SettingId::FindMatchCase) != 0;
        dialog.wholeWord = settings_->GetInt(SettingId::FindWholeWord) != 0;
        dialog.searchText = QString::fromStdString(settings_->GetString(SettingId::FindWhat));
    }
    if (const QString selected = SingleLineSelection(view_); !selected.isEmpty()) {
        dialog.searchText = selected;
    }
    dialog.searchStart = view_.GetCursorPos();
    {
        const DialogShown shown(view_.dialogShown_);
        Prompter().Exec(dialog);
    }
    // Whatever ended the dialog, its values become the last search.
    lastBuffer_ = view_.GetTextBuffer();
    lastText_ = dialog.searchText;
    lastFlags_ = (dialog.matchCase ? unsigned(Find_MatchCase) : 0u) |
                 (dialog.wholeWord ? unsigned(Find_WholeWord) : 0u) | (dialog.direction == 0 ? unsigned(Find_Up) : 0u);
    if (settings_ != nullptr) {
        settings_->WriteInt(SettingId::FindMatchCase, dialog.matchCase ? 1 : 0);
        settings_->WriteInt(SettingId::FindWholeWord, dialog.wholeWord ? 1 : 0);
        settings_->WriteString(SettingId::FindWhat, dialog.searchText.toStdString());
    }
}

void EditorCommands::RepeatFind(unsigned flags)
{
    const CTextBuffer* buffer = view_.GetTextBuffer();
    if (!HasLastSearch() || buffer == nullptr || lastText_.isEmpty()) {
        return;
    }
    TextPosition start = view_.GetCursorPos();
    // A match just found is selected with the caret at its end: upwards, start before it.
    if ((flags & Find_Up) != 0 && view_.IsSelection() && view_.GetSelectionEnd() == start) {
        start = view_.GetSelectionStart();
    }
    TextPosition found;
    if (FindText(*buffer, lastText_, start, flags, true, found)) {
        HighlightText(view_, found, static_cast<int>(lastText_.size()));
        return;
    }
    Prompter().Tell(NotFoundMessage(lastText_).toStdString());
}

void EditorCommands::FindNext()
{
    RepeatFind(lastFlags_);
}

void EditorCommands::FindPrevious()
{
    RepeatFind(lastFlags_ ^ Find_Up);
}

void EditorCommands::Replace()
{
    if (view_.GetTextBuffer() == nullptr) {
        return;
    }
    ReplaceDialog dialog(view_, &view_, Prompter());
    if (settings_ != nullptr) {
        dialog.matchCase = settings_->GetInt(SettingId::ReplaceMatchCase) != 0;
        dialog.wholeWord = settings_->GetInt(SettingId::ReplaceWholeWord) != 0;
        dialog.searchText = QString::fromStdString(settings_->GetString(SettingId::ReplaceFindWhat));
        dialog.replaceText = QString::fromStdString(settings_->GetString(SettingId::ReplaceWith));
    }
    if (view_.IsSelection()) {
        const TextPosition start = view_.GetSelectionStart();
        const TextPosition end = view_.GetSelectionEnd();
        const TextPosition firstLineEnd =
            end.line == start.line ? end : TextPosition{view_.GetLineLength(start.line), start.line};
        if (const QString selected = view_.GetText(start, firstLineEnd); !selected.isEmpty()) {
            dialog.searchText = selected;
        }
    }
    // The first search begins where the user is: at a selected word, else at the caret.
    dialog.searchStart = view_.IsSelection() ? view_.GetSelectionStart() : view_.GetCursorPos();
    // The replacements run over folded macro calls only: a body shown in the text belongs to its
    // macro, not to the script.
    view_.SaveFoldState();
    view_.CollapseAllMacros();
    {
        const DialogShown shown(view_.dialogShown_);
        Prompter().Exec(dialog);
    }
    view_.RestoreFoldState();
    if (settings_ != nullptr) {
        settings_->WriteInt(SettingId::ReplaceMatchCase, dialog.matchCase ? 1 : 0);
        settings_->WriteInt(SettingId::ReplaceWholeWord, dialog.wholeWord ? 1 : 0);
        settings_->WriteString(SettingId::ReplaceFindWhat, dialog.searchText.toStdString());
        settings_->WriteString(SettingId::ReplaceWith, dialog.replaceText.toStdString());
    }
}

void EditorCommands::GoToLine()
{
    if (view_.GetTextBuffer() == nullptr) {
        return;
    }
    GoToLineDialog dialog(&view_);
    if (Prompter().Exec(dialog) == QDialog::Accepted) {
        GoToLineNumber(dialog.lineNumber);
    }
}

void EditorCommands::GoToLineNumber(int line)
{
    const int index = std::clamp(line, 1, view_.GetLineCount()) - 1;
    view_.MoveCaretTo({0, index}, false);
}

PageMargins EditorCommands::Margins() const
{
    return settings_ != nullptr ? ReadPageMargins(*settings_) : PageMargins{};
}

void EditorCommands::PageSetup()
{
    const PageMargins margins = Margins();
    QPrinter printer;
    printer.setPageMargins(
        QMarginsF(margins.left / 100.0, margins.top / 100.0, margins.right / 100.0, margins.bottom / 100.0),
        QPageLayout::Millimeter);
    QPageSetupDialog dialog(&printer, &view_);
    // Only the margins are ours to change: paper and orientation stay as the printer has them.
    for (const char* name : {"pageSizeCombo", "pageWidth", "pageHeight", "paperSource", "portrait", "landscape",
                             "reverseLandscape", "reversePortrait"}) {
        if (auto* control = dialog.findChild<QWidget*>(QLatin1String(name))) {
            control->setEnabled(false);
        }
    }
    if (Prompter().Exec(dialog) != QDialog::Accepted || settings_ == nullptr) {
        return;
    }
    const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
    auto hundredths = [](double millimetres) { return static_cast<int>(std::lround(millimetres * 100)); };
    WritePageMargins(*settings_, {hundredths(chosen.left()), hundredths(chosen.right()), hundredths(chosen.top()),
                                  hundredths(chosen.bottom())});
}

bool EditorCommands::PrintTo(QPrinter& printer)
{
    const CTextBuffer* buffer = view_.GetTextBuffer();
    if (buffer == nullptr) {
        return false;
    }
    TextPrintJob job(*buffer, view_.TextFont(), view_.logicalDpiX(), view_.logicalDpiY(), view_.GetTabSize());
    return job.Print(printer, Margins());
}

void EditorCommands::Print()
{
    if (view_.GetTextBuffer() == nullptr) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &view_);
    if (Prompter().Exec(dialog) == QDialog::Accepted) {
        PrintTo(printer);
    }
}

void EditorCommands::PrintPreview()
{
    if (view_.GetTextBuffer() == nullptr) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, &view_);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &view_,
                     [this](QPrinter* target) { PrintTo(*target); });
    Prompter().Exec(dialog);
}

bool EditorCommands::HandleKey(QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event.key();
    if (modifiers == Qt::ControlModifier && key == Qt::Key_F) {
        Find();
    } else if (modifiers == Qt::NoModifier && key == Qt::Key_F3) {
        FindNext();
    } else if (modifiers == Qt::ShiftModifier && key == Qt::Key_F3) {
        FindPrevious();
    } else if (modifiers == Qt::ControlModifier && key == Qt::Key_H) {
        Replace();
    } else if (modifiers == Qt::ControlModifier && key == Qt::Key_G) {
        GoToLine();
    } else if (modifiers == Qt::ControlModifier && key == Qt::Key_P) {
        Print();
    } else {
        return false;
    }
    event.accept();
    return true;
}

}  // namespace zov::editor
