#pragma once
// The script view in the IDE program: every document's view is a CZOVView whose runs read the
// application's engine settings and the main window's preferences, and the main window's run
// commands (F5, Shift+F5, F6, Esc, break, freeze) go to the active view.

#include "ide/scriptview/ScriptViewSeams.h"
#include "ide/shell/ApplicationObject.h"

namespace zov::scriptview {

// Settings of a run in the program: engine, folders and parameters from the application, the
// executing line, the reply timeout and the line pause from the main window once it exists.
class FrameRunHost final : public PlainRunHost {
public:
    explicit FrameRunHost(shell::ApplicationCore& application) : application_(application) {}
    void AttachFrame(shell::MainFrame* frame) { frame_ = frame; }
    execution::ExecutionSettings Settings() override;

private:
    shell::ApplicationCore& application_;
    shell::MainFrame* frame_ = nullptr;
};

// Adds the script views to the program's parts, after whatever hooks the parts already hold.
void AddScriptViews(shell::ApplicationParts& parts);

}  // namespace zov::scriptview
