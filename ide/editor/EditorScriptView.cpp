#include "ide/editor/EditorScriptView.h"

#include "ide/editor/model/LanguageForPath.h"
#include "ide/editor/model/LineColouring.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ScriptDocument.h"

namespace zov::editor {

EditorScriptView::EditorScriptView(shell::ScriptDocument& document, const shell::Settings& settings,
                                   interfaces::InterfaceSet* names)
    : document_(document), names_(names), view_(new CEditorView)
{
    view_->ApplySettings(settings);
    // The search and page-setup dialogs keep their last values in the same file.
    view_->Commands().SetSettings(&settings);
    view_->AttachToBuffer(&document_.Buffer());
    if (names_ != nullptr)
        macroMarks_ = std::make_unique<MacroCallMarks>(document_.Buffer(), names_);
    ApplyLanguage();
    QObject::connect(view_, &CTextView::CursorMoved, view_, [this] { document_.NotifyViewState(); });
}

EditorScriptView::~EditorScriptView()
{
    // The widget goes first when its window closes; otherwise it goes with its adapter.
    delete view_;
}

std::unique_ptr<shell::IScriptView> EditorScriptView::Make(shell::ScriptDocument& document, shell::MainFrame& frame)
{
    auto view = std::make_unique<EditorScriptView>(document, frame.GetSettings(), frame.Interfaces().Model());
    view->ApplyDisplaySettings(frame.GetSettings(), frame.Values().showLineNumber != 0);
    return view;
}

void EditorScriptView::ApplyDisplaySettings(const shell::Settings& settings, bool lineNumbers)
{
    view_->ApplySettings(settings);
    view_->SetDisplayLineNumbers(lineNumbers);
    view_->viewport()->update();
}

void EditorScriptView::ApplyLanguage()
{
    const interfaces::SyntaxLanguage* language = nullptr;
    bool names = true;
    if (names_ != nullptr) {
        // A new document is a script until it is saved under another name.
        if (document_.Path().empty()) {
            language = names_->FindSyntaxLanguage("qzs");
        } else {
            const DocumentLanguage found = LanguageForPath(document_.Path(), *names_);
            language = found.language;
            names = found.kind == DocumentKind_Script || found.kind == DocumentKind_Macro;
        }
    }
    view_->Colouring().SetMarkers(MarkersForLanguage(language));
    view_->Colouring().SetNames(names ? names_ : nullptr);
    view_->viewport()->update();
}

void EditorScriptView::PullTextFromBuffer()
{
    ApplyLanguage();
    view_->SetSelection(TextPosition{}, TextPosition{});
    view_->SetAnchor(TextPosition{});
    view_->SetCursorPos(TextPosition{});
    view_->EnsureVisible(TextPosition{});
    if (macroMarks_)
        macroMarks_->RefreshAll();
}

void EditorScriptView::RefreshMacroFolding()
{
    if (macroMarks_)
        macroMarks_->RefreshAll();
    view_->Colouring().Reset();
    view_->viewport()->update();
}

QString EditorScriptView::WordAtCaret()
{
    return view_->SelectWordAtCaret();
}

bool EditorScriptView::CaretCommand(int id)
{
    return view_->RunCaretCommand(id);
}

bool EditorScriptView::HasFocus() const
{
    return view_->hasFocus();
}

bool EditorScriptView::Copy()
{
    return view_->Copy();
}

bool EditorScriptView::Paste()
{
    if (document_.Buffer().IsReadOnly())
        return false;
    view_->Paste();
    return true;
}

bool EditorScriptView::HasSelection() const
{
    return view_->IsSelection();
}

shell::IScriptView::Position EditorScriptView::CaretPosition() const
{
    const TextPosition caret = view_->GetCursorPos();
    return {caret.line, caret.charIndex};
}

bool EditorScriptView::Overwrite() const
{
    return view_->GetOverwriteMode();
}

}  // namespace zov::editor
