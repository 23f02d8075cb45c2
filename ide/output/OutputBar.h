#pragma once

// The output bar: six panes behind tabs ("Traces", "Erreurs", "Exécution", "Variables",
// "Données", "Recherche dans les scripts"), each page a small toolbar over its pane. The main
// frame docks it as its "Sortie" bar and reaches the panes through it; a script view's run
// reaches them through PaneRunSinks.

#include <QPointer>
#include <QTabWidget>

#include <cstdint>
#include <map>
#include <memory>

#include "ide/execution/model/ExecutionSeams.h"
#include "ide/output/ListPanes.h"
#include "ide/output/OutputContext.h"
#include "ide/output/RunsPane.h"
#include "ide/output/TracePane.h"
#include "ide/output/VariablesPane.h"
#include "ide/shell/FrameSeams.h"

class QAction;
class QToolBar;

namespace zov::output {

enum OutputTab { kTabTraces, kTabErrors, kTabRuns, kTabVariables, kTabData, kTabFind };

class OutputPaneBar final : public shell::IOutputBar {
public:
    explicit OutputPaneBar(OutputContext context);
    ~OutputPaneBar() override;

    // IOutputBar
    QWidget& Widget() override { return *tabs_; }
    void ClearErrors() override { m_tError->DeleteAllItems(); }
    void ClearRuns() override { m_tExecution->DeleteAllItems(); }
    void ClearVariables() override { m_tVar->Clear(); }
    void ClearTrace() override { m_tTrace->ClearTraces(); }
    void ShowTab(int index) override;
    void AddFindLine(const QString& line) override { m_tFind->AddLine(line.toStdString()); }
    QWidget* TracePane() override { return m_tTrace; }
    void LoadRuns(const std::vector<execution::RunRecord*>& records) override { m_tExecution->LoadRuns(records); }
    void SetData(const std::string& name, const std::string& value, bool saveInProject) override
    {
        m_tData->SetData(name, value, saveInProject);
    }
    void ClearProjectData() override { m_tData->RemoveProjectData(); }
    void GetProjectData(std::vector<std::string>& names, std::vector<std::string>& values) const override
    {
        m_tData->GetAll(names, values);
    }
    // A hit keeps its script entry and line as the key "entry:line" that opening it reads back.
    void ClearFind() override { m_tFind->Clear(); }
    void AddFindResult(const QString& line, const std::string& fileEntry, int lineNumber) override;
    void SetFrameCommand(std::function<void(int id)> run) override { context_.frameCommand = std::move(run); }

    // The trace settings (colours and options), at start and after the preferences.
    void LoadTraceSettings(const shell::Settings& settings);
    // Runs a command of a pane's toolbar or forwarded by the frame; false when it is not one of
    // the bar's own.
    bool HandleCommand(int id);
    // The toolbar button of a command (enabling, checking), null when none carries it.
    QAction* Command(int id) const override;
    // Enables the buttons whose state depends on the panes and the frame: clear the traces (some
    // shown), load a run's script (no campaign step current), show the results (some runs), empty
    // the runs list (no script running). The bar calls it after each of its commands and run
    // changes; the frame calls it when a run starts or ends.
    void UpdateCommandStates();
    // The look the frame chose (0x8001, 0x8002): kept, and the bar repainted.
    void SetDisplayStyle(std::uint32_t style);
    std::uint32_t DisplayStyle() const { return style_; }
    QTabWidget& Tabs() { return *tabs_; }
    const OutputContext& Context() const { return context_; }

    CTraceView* m_tTrace;
    CErrorView* m_tError;
    CExecuteView* m_tExecution;
    CVariableView* m_tVar;
    CDataView* m_tData;
    CFindView* m_tFind;

private:
    QToolBar* AddPage(QWidget* pane, int pageId);
    bool RunCommand(int id);
    OutputContext context_;
    QPointer<QTabWidget> tabs_;
    std::map<int, QAction*> commands_;
    std::uint32_t style_ = 0;
};

// The panes' side of a script view's run: traces, errors, variables and run rows go to the bar
// (errors carry the view's script); the marks and the view's own state go to `view`, which may
// be null while no view is there.
class PaneRunSinks final : public execution::RunSinks {
public:
    PaneRunSinks(OutputPaneBar& bar, ScriptEntry script, execution::RunSinks* view = nullptr);

    std::string Trace(execution::TraceCategory category, int runNumber, int line, std::string_view text) override;
    void AddError(std::string_view text, execution::RunRecord* record) override;
    void ClearErrors() override { bar_.ClearErrors(); }
    void UpdateVariable(const std::string& name, const std::string& value, int kind,
                        execution::RunRecord* record) override;
    void AddRun(execution::RunRecord& record) override;
    void UpdateRun(execution::RunRecord& record, bool verify) override;
    void SetExecutionLine(int line) override;
    void ClearExecutionLine() override;
    void ToggleWarningLine(int line) override;
    void ClearWarningLines() override;
    void ClearErrorLine() override;
    void ShowLine(int line) override;
    void SetRunning(bool running) override;
    void SetReadOnly(bool readOnly) override;
    void SetLineTimer(bool on) override;
    void Paused(int line) override;
    void EngineEnded(int exitCode) override;

private:
    OutputPaneBar& bar_;
    std::shared_ptr<const ScriptEntry> script_;
    execution::RunSinks* view_;
};

// What the frame takes: the bar with the calls into the window of `context`, its trace pane set
// from ZOV.ini when `settings` is given.
std::unique_ptr<shell::IOutputBar> MakeOutputBar(OutputContext context, const shell::Settings* settings = nullptr);
// A bar that stands alone: the language and the active prompter, no call into a window.
std::unique_ptr<shell::IOutputBar> MakeOutputBar(const shell::Translate& translate,
                                                 const shell::Settings* settings = nullptr);

}  // namespace zov::output
