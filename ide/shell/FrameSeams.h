#pragma once
// What the main window offers the rest of the IDE and what it needs from it: the project
// explorer, the output bar, the interface set and the active script view are interfaces here,
// filled by their own folders; until one is, a plain stand-in (FrameStandIns.h) takes its place.

#include "ide/execution/model/RunRecord.h"
#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/CampaignRun.h"
#include "ide/shell/core/RunPlan.h"
#include "ide/shell/core/Settings.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QWidget;

namespace zov::interfaces {
class InterfaceSet;
}
namespace zov::execution {
struct RunRecord;
}

namespace zov::shell {

class IExplorerBar {
public:
    virtual ~IExplorerBar() = default;
    virtual QWidget& Widget() = 0;
    // Loads the project file into the model and fills the trees; false when it cannot be read.
    virtual bool LoadProject(const std::string& path) = 0;
    virtual void CloseProject() = 0;
    virtual void RefreshInterfaceLists() = 0;
    virtual void SetViewAllInterfaces(bool all) = 0;
    // Kind of the selected test-tree item: -1 none, 0 campaign, 1 test set, 2 test.
    virtual int SelectedItemKind() const = 0;
    // The selected test-tree item with the indexes of its campaign and test set; nullopt when
    // none is selected.
    virtual std::optional<RunRoot> SelectedRunItem() const { return std::nullopt; }
    virtual std::vector<std::string> ScriptPaths() const = 0;
    // The requirement and technical-fact trees, once after start-up.
    virtual void FillTrees() = 0;
    // Escape and Ctrl as they go down (pressed) and Ctrl as it comes up, for the test tree's
    // drag and drop.
    virtual void ForwardKey(int key, bool pressed) = 0;
    // Never null: the one project model, empty while no project is open.
    virtual project::ProjectModel& Project() = 0;
};

class IOutputBar {
public:
    virtual ~IOutputBar() = default;
    virtual QWidget& Widget() = 0;
    virtual void ClearErrors() = 0;
    virtual void ClearRuns() = 0;
    virtual void ClearVariables() = 0;
    virtual void ClearTrace() = 0;
    virtual void ShowTab(int index) = 0;
    virtual void AddFindLine(const QString& line) = 0;
    // The find pane: emptied before a search; a hit keeps its script entry and 1-based line, so
    // opening it never re-parses the shown text. A pane that keeps no data shows the line alone.
    virtual void ClearFind() {}
    virtual void AddFindResult(const QString& line, const std::string& fileEntry, int lineNumber)
    {
        (void)fileEntry;
        (void)lineNumber;
        AddFindLine(line);
    }
    // The runs pane shows a new run's list, each test not yet run.
    virtual void LoadRuns(const std::vector<execution::RunRecord*>& records) { (void)records; }
    // The data pane: a project's saved data when it opens (kept with the project), and the pairs
    // to keep in the project when it is saved, in row order.
    virtual void SetData(const std::string& name, const std::string& value, bool saveInProject)
    {
        (void)name;
        (void)value;
        (void)saveInProject;
    }
    virtual void ClearProjectData() {}
    virtual void GetProjectData(std::vector<std::string>& names, std::vector<std::string>& values) const
    {
        names.clear();
        values.clear();
    }
    // The trace pane, which takes the caret commands as keys when it has the focus; may be null.
    virtual QWidget* TracePane() = 0;
    // A button of the bar's toolbars that the frame handles (the search's stop), null when the
    // bar has none: the frame enables it as its own command.
    virtual QAction* Command(int id) const
    {
        (void)id;
        return nullptr;
    }
    // Where the bar sends the commands of its buttons that belong to the frame.
    virtual void SetFrameCommand(std::function<void(int id)> run) { (void)run; }
};

class IInterfaceSet {
public:
    virtual ~IInterfaceSet() = default;
    virtual void Clear() = 0;
    virtual void RemoveInserted() = 0;
    virtual bool Load(const std::filesystem::path& path) = 0;
    virtual bool Insert(const std::filesystem::path& path) = 0;
    virtual bool Save() = 0;
    virtual bool WriteTempInterface() = 0;
    virtual void SetProjectFolder(const std::filesystem::path& folder) = 0;
    // Names of the syntax languages, for the kind of a document and the file-open filter.
    virtual bool HasSyntaxLanguage(std::string_view name) const = 0;
    // "Type" and "Name" of each syntax language, in load order.
    virtual std::vector<std::pair<std::string, std::string>> SyntaxLanguages() const = 0;
    // The definitions and syntax languages themselves, for the views' colouring and macro
    // folding; null while only a stand-in is there.
    virtual interfaces::InterfaceSet* Model() { return nullptr; }
};

// The view of one document: an editor with a run, or, until the script view lands, a plain
// text editor over the document's text.
class IScriptView {
public:
    virtual ~IScriptView() = default;
    virtual QWidget& Widget() = 0;
    // The view's text into the buffer before a save, from the buffer after a load.
    virtual void PushTextToBuffer() = 0;
    virtual void PullTextFromBuffer() = 0;
    // True while a run or a verification is in progress: the document will not close.
    virtual bool IsRunning() const = 0;
    virtual void Stop() = 0;
    virtual void SendSync(int value) = 0;
    virtual void RefreshMacroFolding() = 0;
    virtual void SetShowExecution(bool show) = 0;
    // The word at the caret, selected, for help and "Ajouter une variable...".
    virtual QString WordAtCaret() = 0;
    // A caret command (37101-37124) when the view has the focus.
    virtual bool CaretCommand(int id) = 0;
    virtual bool HasFocus() const = 0;
    virtual bool Copy() = 0;
    virtual bool Paste() = 0;
    virtual bool HasSelection() const = 0;
    // Line (0-based), column, line-end label, overwrite and read-only, for the status bar.
    struct Position {
        int line = 0;
        int column = 0;
    };
    virtual Position CaretPosition() const = 0;
    virtual bool Overwrite() const = 0;
    // The editor's colours and font from the settings, and the line numbers as the session has
    // them (the preferences change them before they are written).
    virtual void ApplyDisplaySettings(const Settings& settings, bool lineNumbers)
    {
        (void)settings;
        (void)lineNumbers;
    }
    // The enabling of the view's own commands, before the Edit menu opens.
    virtual void UpdateCommandStates() {}

    // A campaign's run of the document for the test's record (a verification when `verify`). The
    // view quotes the ticket when it tells the frame of that run's end, stop or error. False when
    // no run started.
    virtual bool StartCampaignRun(execution::RunRecord& record, bool verify, RunTicket ticket)
    {
        (void)record;
        (void)verify;
        (void)ticket;
        return false;
    }
    virtual bool HasBreakpoints() const { return false; }
    // True while the view's engine runs: a synchronisation number reaches only those views.
    virtual bool HasEngine() const { return IsRunning(); }
};

// What the script views tell the frame about their runs; the campaign runner implements it. `view`
// is the view whose run it is, `ticket` the campaign's start of that run when there was one.
class IRunEvents {
public:
    virtual ~IRunEvents() = default;
    // Counts a run in (true) or out (false); the count numbers the run's traces.
    virtual int CountRunningScript(bool starting) = 0;
    virtual void ScriptEnded(IScriptView& view, const execution::RunRecord* record,
                             std::optional<RunTicket> ticket) = 0;
    virtual void UserStopped(IScriptView& view, std::optional<RunTicket> ticket) = 0;
    virtual void ScriptError(IScriptView& view, std::optional<RunTicket> ticket) = 0;
    // A "syn" line of the view's script.
    virtual void SyncBroadcast(IScriptView& view, int value) = 0;
    // A campaign is set up: the commands that change the project wait for its end.
    virtual bool CampaignRunning() const = 0;
};

}  // namespace zov::shell
