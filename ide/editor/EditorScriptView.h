#pragma once
// A document's view in the frame as an editor: the editor view over the document's own text
// buffer, coloured in the syntax language of the document's kind, with the colours, font and
// line numbers of the settings. No run: the script view with runs takes its place when it lands.

#include "ide/editor/EditorView.h"
#include "ide/shell/FrameSeams.h"

#include <QPointer>

#include <memory>

namespace zov::shell {
class MainFrame;
class ScriptDocument;
}  // namespace zov::shell

namespace zov::editor {

class MacroCallMarks;

class EditorScriptView final : public shell::IScriptView {
public:
    // `names` (may be null) gives the syntax languages and the names coloured as definitions.
    EditorScriptView(shell::ScriptDocument& document, const shell::Settings& settings, interfaces::InterfaceSet* names);
    ~EditorScriptView() override;

    // The frame's factory of views: its settings and interface set.
    static std::unique_ptr<shell::IScriptView> Make(shell::ScriptDocument& document, shell::MainFrame& frame);

    QWidget& Widget() override { return *view_; }
    // The view edits the document's buffer itself: nothing to carry before a save.
    void PushTextToBuffer() override {}
    // After a load: the language of the document's path, the caret at the top.
    void PullTextFromBuffer() override;
    bool IsRunning() const override { return false; }
    void Stop() override {}
    void SendSync(int) override {}
    void RefreshMacroFolding() override;
    void SetShowExecution(bool) override {}
    QString WordAtCaret() override;
    bool CaretCommand(int id) override;
    bool HasFocus() const override;
    bool Copy() override;
    bool Paste() override;
    bool HasSelection() const override;
    Position CaretPosition() const override;
    bool Overwrite() const override;
    void ApplyDisplaySettings(const shell::Settings& settings, bool lineNumbers) override;

    CEditorView& Editor() { return *view_; }

private:
    void ApplyLanguage();

    shell::ScriptDocument& document_;
    interfaces::InterfaceSet* names_;
    QPointer<CEditorView> view_;
    std::unique_ptr<MacroCallMarks> macroMarks_;
};

}  // namespace zov::editor
