#include "ide/editor/EditorScriptView.h"

#include "ide/editor/model/LanguageForPath.h"
#include "ide/editor/model/LineColouring.h"
#include "ide/editor/model/WordRules.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ScriptDocument.h"
#include "ide/shell/core/CommandTable.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <utility>

namespace zov::editor {
namespace {

// While the adapter sends a caret key to its view, the view claims the key before any shortcut:
// the frame's caret commands would otherwise catch it again.
class ClaimKeyWhileSending final : public QObject {
public:
    explicit ClaimKeyWhileSending(const bool& sending, QObject* parent) : QObject(parent), sending_(sending) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && sending_) {
            event->accept();
            return true;
        }
        return false;
    }

private:
    const bool& sending_;
};

}  // namespace

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
    view_->installEventFilter(new ClaimKeyWhileSending(sending_, view_));
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
    const TextPosition caret = view_->GetCursorPos();
    const QString line = document_.Buffer().GetLine(caret.line);
    const TextPosition start{.charIndex = WordToLeft(line, caret.charIndex), .line = caret.line};
    const TextPosition end{.charIndex = WordToRight(line, caret.charIndex), .line = caret.line};
    view_->SetAnchor(start);
    view_->SetCursorPos(end);
    view_->SetSelection(start, end);
    return line.mid(start.charIndex, end.charIndex - start.charIndex);
}

bool EditorScriptView::CaretCommand(int id)
{
    const shell::CaretKey* caret = shell::FindCaretKey(id);
    if (caret == nullptr)
        return false;
    // The editor moves as for its own key: the frame's key is the view's.
    const QKeyCombination key =
        QKeySequence(QString::fromLatin1(caret->keys.data(), static_cast<qsizetype>(caret->keys.size())))[0];
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
    const bool wasSending = std::exchange(sending_, true);
    QApplication::sendEvent(view_, &press);
    sending_ = wasSending;
    return true;
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
