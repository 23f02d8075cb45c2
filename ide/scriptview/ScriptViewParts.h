#pragma once
// The script view in the IDE program: every document's view is a CZOVView whose runs read the
// application's engine settings and the main window's preferences.

#include "ide/scriptview/ScriptViewSeams.h"
#include "ide/shell/ApplicationObject.h"

#include <functional>
#include <memory>
#include <string>

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

// The panes a run of a script shows in, made at each fresh start with the script's path.
using PanesFactory =
    std::function<std::unique_ptr<execution::RunSinks>(shell::MainFrame& frame, const std::string& scriptPath)>;

// The output bar's panes when the frame docks the real bar; none otherwise.
PanesFactory OutputBarPanes();

// Every document's view becomes a script view: runs over the frame's interface set, shown in the
// panes that `makePanes` gives (none: runs show in no pane). The window's run commands (F5,
// Shift+F5, F6, Esc, break, freeze) go to the active view from its first view on.
void PlugScriptViews(shell::FrameParts& parts, shell::ApplicationCore& application,
                     PanesFactory makePanes = OutputBarPanes());

}  // namespace zov::scriptview
