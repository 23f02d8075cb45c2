#pragma once
// The campaign runner of the main window: the sequencer's host over the frame's documents, script
// views and project model; the "Lancer..." and "Arrête tous les tests" commands; where the script
// views report their runs; and the unattended run of the batch file read at start-up.

#include "ide/execution/model/RunRecord.h"
#include "ide/shell/FrameSeams.h"
#include "ide/shell/core/BatchRun.h"
#include "ide/shell/core/CampaignRun.h"
#include "ide/shell/core/ReportChoice.h"
#include "ide/shell/core/RunCommand.h"

#include <QObject>
#include <QTimer>

#include <sys/types.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zov::shell {

class MainFrame;

// The campaign tree of the project as the run rules see it: test ids as keys.
ProjectOutline OutlineOf(const project::ProjectModel& project);

class FrameCampaign final : public QObject,
                            public CampaignHost,
                            public RunCommandHost,
                            public BatchHost,
                            public IRunEvents {
    Q_OBJECT
public:
    // Writes the report of the project for a version in the kind's format; false when nothing was
    // written. The report writers live outside the shell: the program passes them in.
    using ReportWriter = std::function<bool(const project::ProjectModel& project, const std::string& path,
                                            ReportWriterKind kind, int versionIndex)>;
    using QuitCall = std::function<void(int status)>;

    // Owned by the frame (its child); adds the commands and takes the frame's run events and batch.
    explicit FrameCampaign(MainFrame& frame, ReportWriter writeReport = {});
    ~FrameCampaign() override;

    CampaignRun& Campaign() { return campaign_; }
    // "Lancer..." (Ctrl+F5) and "Arrête tous les tests".
    void RunCampaign();
    void StopAllTests();
    // Timer 1 in batch mode: the frame's batch file entry after entry, then the program quits.
    void StartBatch();
    // How the program ends after a batch; a queued QCoreApplication::exit by default.
    void SetQuit(QuitCall quit) { quit_ = std::move(quit); }
    // The run record of a project test, made on first use; null for an id no test has.
    execution::RunRecord* Record(int key);

    // ---- CampaignHost ----
    void QueueStep() override;
    void ArmPacingTimer(int milliseconds) override;
    bool FileReadable(const std::string& path) override;
    bool StartTest(const CampaignTest& test, const std::string& path, bool keepCurrentView, bool verify,
                   RunTicket ticket) override;
    void SetTestResult(int key, int code, const std::string& info) override;
    int TestResult(int key) override;
    void PrepareTest(int key) override;
    void ShowRunList(const RunList& groups) override;
    void ReselectTest(int key, bool clearMessages) override;
    void StopAllViews() override;
    void CloseScriptsWithoutBreakpoints() override;
    void RecordResult(int key, int versionIndex) override;
    void WriteResultsFile() override;
    void SaveInterfacesAndProject() override;
    void ShowResultsDialog() override;
    void Beep() override;
    void HideToTray() override;
    void ShowFromTray() override;
    void StartBackProgram(const std::string& program, const std::string& parameters, bool hide) override;
    void TerminateBackProgram() override;
    void BatchEntryDone() override;

    // ---- RunCommandHost ----
    std::optional<RunRootKind> SelectedRunRoot() override;
    void WriteTempInterface() override;
    std::pair<std::string, std::string> Version(int index) override;
    std::optional<RunRequest> RunDialog(RunRootKind root, const std::string& versionText,
                                        const RunRequest& presets) override;
    void SaveAllDocuments() override;

    // ---- BatchHost ----
    bool OpenProject(const std::string& path) override;
    ProjectOutline Outline() override;
    std::vector<std::string> RunConfigurations() override;
    std::vector<std::string> VersionNames() override;
    std::string ProjectFolder() override;
    void WriteReport(const std::string& path, ReportWriterKind kind, int versionIndex) override;
    void Quit(int status) override;

    // ---- IRunEvents ----
    int CountRunningScript(bool starting) override;
    void ScriptEnded(IScriptView& view, const execution::RunRecord* record, std::optional<RunTicket> ticket) override;
    void UserStopped(IScriptView& view, std::optional<RunTicket> ticket) override;
    void ScriptError(IScriptView& view, std::optional<RunTicket> ticket) override;
    void SyncBroadcast(IScriptView& view, int value) override;
    bool CampaignRunning() const override;

private:
    project::ProjectModel& Project();
    // A call from the event loop, after what is under way now; dropped with this object.
    void Post(std::function<void()> call);
    void UpdateCommands();

    MainFrame& frame_;
    ReportWriter writeReport_;
    QuitCall quit_;
    CampaignRun campaign_;
    std::unique_ptr<BatchRun> batch_;
    QTimer pacing_;
    std::map<int, std::unique_ptr<execution::RunRecord>> records_;
    std::vector<std::unique_ptr<execution::RunRecord>> retired_;
    pid_t backProgram_ = -1;
};

}  // namespace zov::shell
