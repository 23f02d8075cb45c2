#pragma once
// The script view in the IDE program: every document's view is a CZOVView whose runs read the
// application's engine settings and the main window's preferences.

#include "ide/output/OutputContext.h"
#include "ide/scriptview/ScriptViewSeams.h"
#include "ide/shell/ApplicationObject.h"

#include <functional>
#include <memory>
#include <string>

namespace zov::scriptview {

// Settings of a run in the program: engine, folders and parameters from the application, the
// executing line, the reply timeout and the line pause from the main window once it exists.
// The engine's data values live in the output bar's data pane, the watched names are the
// variables pane's, and a project test's run appends its traces to the project's run log.
class FrameRunHost final : public PlainRunHost {
public:
    explicit FrameRunHost(shell::ApplicationCore& application) : application_(application) {}
    void AttachFrame(shell::MainFrame* frame) { frame_ = frame; }
    execution::ExecutionSettings Settings() override;
    void SetDataValue(const std::string& name, const std::string& value) override;
    std::string GetDataValue(const std::string& name) override;
    std::vector<std::string> WatchedNames() override;
    void AppendRunLog(const std::string& traceText, execution::RunRecord& record) override;
    void SetVerifyFlag(bool verify) override { verify_ = verify; }
    // Whether the last run to start was a verification.
    bool VerifyFlag() const { return verify_; }

private:
    shell::ApplicationCore& application_;
    shell::MainFrame* frame_ = nullptr;
    bool verify_ = false;
};

// Opens the script, or brings its window forward when it is open already; a relative path is
// taken against the open project's folder. For line > 0 the caret goes to that line (1-based),
// which takes the error mark (`errorMark`) or the execution mark and is scrolled into view; a
// view in a run keeps its own execution mark. Null when the script could not be opened.
shell::ScriptDocument* OpenScriptAtLine(shell::MainFrame& frame, const std::string& path, int line, bool errorMark);

// The active script view's engine takes the new value of a watched variable; false when no
// script view is active.
bool SendSetValToActiveView(shell::MainFrame& frame, const std::string& name, const std::string& value);

// True while the view of any open document runs its script.
bool AnyScriptRunning(shell::MainFrame& frame);

// What the output bar asks of the window that other parts of the IDE answer; an empty call
// answers no (no campaign step is current, no script known for a run).
struct OutputBarHooks {
    std::function<bool()> campaignStepCurrent;
    // The script path of a run's test; empty: the project's test of the same campaign, test set
    // and test names.
    std::function<std::string(const execution::RunRecord& record)> scriptOfRecord;
};

// The script of a run's test in the open project, found by its campaign, test set and test
// names, absolute; "" when no such test is there.
std::string ProjectScriptOfRecord(shell::MainFrame& frame, const execution::RunRecord& record);

// The output bar's calls into the window: open a script at a line, open a run's test script at
// its result line, the running and campaign states, setval through the active view.
output::OutputContext FrameOutputContext(shell::MainFrame& frame, const shell::Translate& translate,
                                         OutputBarHooks hooks = {});

// The frame docks the real output bar, its panes joined to the window, its traces set from ZOV.ini.
void PlugOutputBar(shell::FrameParts& parts, shell::ApplicationCore& application, OutputBarHooks hooks = {});

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
