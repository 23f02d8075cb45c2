#include "ide/shell/FrameCampaign.h"

#include "common/MessageText.h"
#include "common/process/ProcessSpawn.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>

#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <utility>

namespace zov::shell {

namespace {

// The output bar's tab of the runs.
constexpr int kRunsTab = 2;
// How long a background program has to end after SIGTERM before SIGKILL.
constexpr int kTerminateGraceMs = 1000;
// Timer 1: the pause before a batch starts.

CampaignGroup GroupOf(const project::CTestSet& set)
{
    CampaignGroup group;
    group.setKey = static_cast<int>(set.Id);
    group.mode = set.Mode == 1 ? SetMode::Parallel : set.Mode == 2 ? SetMode::Random : SetMode::Sequential;
    group.dependent = set.Mode == 1 || set.Depends == 1;
    for (const auto& test : set.Tests)
        group.tests.push_back(CampaignTest{static_cast<int>(test->Id), test->File, test->Background != 0});
    return group;
}

// A script view as a synchronisation peer.
class ViewPeer final : public SyncPeer {
public:
    explicit ViewPeer(IScriptView& view) : view_(view) {}
    bool HasEngine() const override { return view_.HasEngine(); }
    void SendSync(int value) override { view_.SendSync(value); }

private:
    IScriptView& view_;
};

}  // namespace

ProjectOutline OutlineOf(const project::ProjectModel& project)
{
    ProjectOutline outline;
    for (const auto& campaign : project.Campaigns) {
        OutlineCampaign entry;
        entry.id = static_cast<int>(campaign->Id);
        for (const auto& set : campaign->TestSets)
            entry.sets.push_back(OutlineSet{GroupOf(*set)});
        outline.campaigns.push_back(std::move(entry));
    }
    return outline;
}

FrameCampaign::FrameCampaign(MainFrame& frame, ReportWriter writeReport)
    : QObject(&frame),
      frame_(frame),
      writeReport_(std::move(writeReport)),
      campaign_(*this,
                CampaignSettings{frame.Values().hideOnExecution != 0, frame.Values().saveTempResult != 0,
                                 frame.Values().beep != 0},
                frame.Application().Translator())
{
    quit_ = [](int status) { QCoreApplication::exit(status); };
    pacing_.setSingleShot(true);
    connect(&pacing_, &QTimer::timeout, this, [this] {
        campaign_.OnPacingTimer();
        UpdateCommands();
    });
    using namespace command_ids;
    frame_.AddCommandHandler(kRunCampaign, [this] { RunCampaign(); });
    frame_.AddCommandHandler(
        kStopAllTests, [this] { StopAllTests(); }, [this] { return campaign_.StopAllEnabled(); });
    frame_.SetRunEvents(this);
    frame_.SetStartBatch([this] { StartBatch(); });
}

FrameCampaign::~FrameCampaign()
{
    TerminateBackProgram();
}

project::ProjectModel& FrameCampaign::Project()
{
    return frame_.Explorer().Project();
}

void FrameCampaign::Post(std::function<void()> call)
{
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
}

void FrameCampaign::UpdateCommands()
{
    frame_.UpdateCommands();
}

execution::RunRecord* FrameCampaign::Record(int key)
{
    const project::CTest* test = Project().FindTestById(static_cast<std::uint32_t>(key));
    if (test == nullptr)
        return nullptr;
    std::unique_ptr<execution::RunRecord>& slot = records_[key];
    if (!slot) {
        slot = std::make_unique<execution::RunRecord>();
        execution::RunRecord& record = *slot;
        record.testName = test->Name;
        record.parameters = test->Params;
        if (const project::CTestSet* set = test->TestSet) {
            record.hasTestSet = true;
            record.testSetName = set->Name;
            record.testSetParameters = set->Params;
            if (set->Campaign != nullptr)
                record.campaignName = set->Campaign->Name;
        }
    }
    return slot.get();
}

// ---- Commands ----

void FrameCampaign::RunCampaign()
{
    campaign_.SetProjectFolder(ProjectFolder());
    campaign_.SetVersion(frame_.VersionIndex(), frame_.RecordResults());
    RunCampaignCommand(campaign_, *this, ActivePrompter());
    UpdateCommands();
}

void FrameCampaign::StopAllTests()
{
    if (!campaign_.StopAllEnabled())
        return;
    campaign_.StopAll();
    UpdateCommands();
}

// ---- The sequencer's host ----

void FrameCampaign::QueueStep()
{
    // The sequencer keeps at most one step pending; each arrives after the events already queued
    // (the ends of the tests a step may wait for).
    Post([this] {
        campaign_.OnStep();
        UpdateCommands();
    });
}

void FrameCampaign::ArmPacingTimer(int milliseconds)
{
    pacing_.start(milliseconds);
}

bool FrameCampaign::FileReadable(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return file.good() && !std::filesystem::is_directory(path);
}

bool FrameCampaign::StartTest(const CampaignTest& test, const std::string& path, bool keepCurrentView, bool verify,
                              RunTicket ticket)
{
    execution::RunRecord* record = Record(test.key);
    if (record == nullptr || !FileReadable(path))
        return false;
    if (!keepCurrentView) {
        // The view of the previous test gives way, unless it still runs, keeps breakpoints or
        // holds unsaved changes.
        ScriptDocument* active = frame_.ActiveDocument();
        IScriptView* view = active != nullptr ? active->View() : nullptr;
        if (view != nullptr && !view->IsRunning() && !view->HasBreakpoints() && !active->IsModified() &&
            std::filesystem::path(active->Path()) != std::filesystem::path(path))
            frame_.CloseDocument(*active, false);
    }
    ScriptDocument* document = frame_.OpenDocument(path);
    IScriptView* view = document != nullptr ? document->View() : nullptr;
    if (view == nullptr)
        return false;
    return view->StartCampaignRun(*record, verify, ticket);
}

void FrameCampaign::SetTestResult(int key, int code, const std::string& info)
{
    if (execution::RunRecord* record = Record(key)) {
        record->resultCode = code;
        record->resultText = info;
        record->toRun = false;
    }
}

int FrameCampaign::TestResult(int key)
{
    const execution::RunRecord* record = Record(key);
    return record != nullptr ? record->resultCode : execution::kResultNotRun;
}

void FrameCampaign::PrepareTest(int key)
{
    execution::RunRecord* record = Record(key);
    if (record == nullptr)
        return;
    record->resultCode = execution::kResultNotRun;
    record->resultLine = 0;
    record->resultText.clear();
    record->warnings.clear();
    record->toRun = true;
    if (project::CTest* test = Project().FindTestById(static_cast<std::uint32_t>(key))) {
        test->RunMark = 1;
        test->WorkRecords.clear();
    }
}

void FrameCampaign::ShowRunList(const RunList& groups)
{
    IOutputBar& output = frame_.Output();
    std::vector<execution::RunRecord*> records;
    for (const CampaignGroup& group : groups)
        for (const CampaignTest& test : group.tests)
            records.push_back(Record(test.key));
    output.LoadRuns(records);
    output.ClearErrors();
    output.ShowTab(kRunsTab);
}

void FrameCampaign::ReselectTest(int key, bool clearMessages)
{
    execution::RunRecord* record = Record(key);
    if (record == nullptr)
        return;
    record->toRun = true;
    if (clearMessages) {
        record->resultText.clear();
        record->warnings.clear();
    }
    if (project::CTest* test = Project().FindTestById(static_cast<std::uint32_t>(key))) {
        test->RunMark = 1;
        test->WorkRecords.clear();
    }
}

void FrameCampaign::StopAllViews()
{
    for (ScriptDocument* document : frame_.Documents())
        if (IScriptView* view = document->View(); view != nullptr && view->IsRunning())
            view->Stop();
}

void FrameCampaign::CloseScriptsWithoutBreakpoints()
{
    for (ScriptDocument* document : frame_.Documents()) {
        IScriptView* view = document->View();
        if (document->Type().kind != DocumentKind::Script || view == nullptr || view->IsRunning() ||
            view->HasBreakpoints() || document->IsModified())
            continue;
        frame_.CloseDocument(*document, false);
    }
}

void FrameCampaign::RecordResult(int key, int versionIndex)
{
    project::ProjectModel& project = Project();
    const execution::RunRecord* record = Record(key);
    if (record == nullptr || versionIndex < 0 || versionIndex >= static_cast<int>(project.Versions.size()))
        return;
    project.SetResult(project.Versions[static_cast<std::size_t>(versionIndex)]->Id, static_cast<std::uint32_t>(key),
                      record->resultCode, record->resultText, static_cast<std::time_t>(record->start),
                      record->duration);
}

void FrameCampaign::WriteResultsFile()
{
    if (!Project().FilePath.empty())
        Project().SaveResultsFile();
}

void FrameCampaign::SaveInterfacesAndProject()
{
    frame_.Interfaces().Save();
    project::ProjectModel& project = Project();
    if (!project.FilePath.empty())
        project.SaveProjectFile(project.FilePath);
}

void FrameCampaign::ShowResultsDialog()
{
    // The results dialog of the run belongs to the project's dialogs, which are not part of the
    // program yet: the results stay in the runs pane.
}

void FrameCampaign::Beep()
{
    QApplication::beep();
}

void FrameCampaign::HideToTray()
{
    if (!frame_.HiddenInTray())
        frame_.ToggleTrayHidden();
}

void FrameCampaign::ShowFromTray()
{
    if (frame_.HiddenInTray())
        frame_.ToggleTrayHidden();
}

void FrameCampaign::StartBackProgram(const std::string& program, const std::string& parameters, bool)
{
    TerminateBackProgram();
    // The program name is taken as one word; its parameters are split as a Windows program would.
    std::string line = "\"" + program + "\"";
    if (!parameters.empty())
        line += " " + parameters;
    const std::string folder = ProjectFolder();
    std::optional<SpawnedChild> child =
        SpawnChild(line, ChildStreams::Detached, std::filesystem::is_directory(folder) ? folder : std::string());
    if (child)
        backProgram_ = child->Pid;
}

void FrameCampaign::TerminateBackProgram()
{
    const pid_t pid = std::exchange(backProgram_, -1);
    if (pid <= 0)
        return;
    // The program leads its own process group: all of it is asked to end, then killed.
    ::kill(-pid, SIGTERM);
    if (WaitForProcessEnd(OpenProcessFd(pid), kTerminateGraceMs)) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    } else {
        KillAndReap(pid);
    }
}

void FrameCampaign::BatchEntryDone()
{
    // The next entry opens its project: not from inside the step that ended this one.
    Post([this] {
        if (batch_)
            batch_->EntryDone();
        UpdateCommands();
    });
}

// ---- The run command's host ----

std::optional<RunRootKind> FrameCampaign::SelectedRunRoot()
{
    const std::optional<RunRoot> item = frame_.Explorer().SelectedRunItem();
    if (!item)
        return std::nullopt;
    return item->kind;
}

void FrameCampaign::WriteTempInterface()
{
    frame_.Interfaces().WriteTempInterface();
}

std::pair<std::string, std::string> FrameCampaign::Version(int index)
{
    const auto& versions = Project().Versions;
    if (index < 0 || index >= static_cast<int>(versions.size()))
        return {};
    const project::CVersion& version = *versions[static_cast<std::size_t>(index)];
    return {version.Name, version.Info};
}

std::optional<RunRequest> FrameCampaign::RunDialog(RunRootKind, const std::string&, const RunRequest& presets)
{
    // The run dialog belongs to the project's dialogs, which are not part of the program yet: the
    // run takes the last run's choices with every test of the selected item.
    const std::optional<RunRoot> item = frame_.Explorer().SelectedRunItem();
    if (!item)
        return std::nullopt;
    project::ProjectModel& project = Project();
    const ProjectOutline outline = OutlineOf(project);
    std::vector<unsigned> flags;
    const auto campaign = static_cast<std::size_t>(item->campaign);
    const auto set = static_cast<std::size_t>(item->set);
    switch (item->kind) {
    case RunRootKind::Project:
        flags.assign(outline.campaigns.size(), 1);
        break;
    case RunRootKind::Campaign:
        if (campaign < outline.campaigns.size())
            flags.assign(outline.campaigns[campaign].sets.size(), 1);
        break;
    case RunRootKind::TestSet:
        if (campaign < outline.campaigns.size() && set < outline.campaigns[campaign].sets.size())
            flags.assign(outline.campaigns[campaign].sets[set].group.tests.size(), 1);
        break;
    case RunRootKind::Test:
        if (campaign < outline.campaigns.size() && set < outline.campaigns[campaign].sets.size()) {
            flags.assign(outline.campaigns[campaign].sets[set].group.tests.size(), 0);
            if (item->test >= 0 && static_cast<std::size_t>(item->test) < flags.size())
                flags[static_cast<std::size_t>(item->test)] = 1;
        }
        break;
    }
    RunRequest request = presets;
    std::vector<int> unselected;
    request.groups = BuildRunList(outline, *item, flags, &unselected);
    for (const int key : unselected)
        if (project::CTest* test = project.FindTestById(static_cast<std::uint32_t>(key)))
            test->RunMark = 0;
    if (request.groups.empty())
        return std::nullopt;
    return request;
}

void FrameCampaign::SaveAllDocuments()
{
    frame_.SaveAll();
}

// ---- The batch's host ----

void FrameCampaign::StartBatch()
{
    // "Lancer..." right after start-up finds the start-up timer still pending: one run only.
    if (batch_ != nullptr && batch_->EntriesLeft() > 0)
        return;
    frame_.SetBatchMode(true);
    project::Batch& batch = frame_.BatchFile();
    std::vector<BatchEntryPlan> entries;
    for (const auto& entry : batch.Entries) {
        entries.push_back(BatchEntryPlan{entry->Filename, entry->Name, entry->Version, entry->Report, entry->Repeat,
                                         entry->Program, entry->ProgramParam});
    }
    batch_ = std::make_unique<BatchRun>(campaign_, *this, std::move(entries), batch.Hide != 0);
    batch_->RunNextEntry();
    UpdateCommands();
}

bool FrameCampaign::OpenProject(const std::string& path)
{
    if (!frame_.OpenProject(path))
        return false;
    // The run records belong to the project they were made for; views may still point at them.
    for (auto& entry : records_)
        retired_.push_back(std::move(entry.second));
    records_.clear();
    campaign_.SetVersion(frame_.VersionIndex(), frame_.RecordResults());
    return true;
}

ProjectOutline FrameCampaign::Outline()
{
    return OutlineOf(Project());
}

std::vector<std::string> FrameCampaign::RunConfigurations()
{
    return Project().RunConfigs;
}

std::vector<std::string> FrameCampaign::VersionNames()
{
    std::vector<std::string> names;
    for (const auto& version : Project().Versions)
        names.push_back(version->Name);
    return names;
}

std::string FrameCampaign::ProjectFolder()
{
    const project::ProjectModel& project = Project();
    if (!project.Directory.empty())
        return project.Directory;
    return std::filesystem::path(frame_.ProjectPath()).parent_path().string();
}

void FrameCampaign::WriteReport(const std::string& path, ReportWriterKind kind, int versionIndex)
{
    if (writeReport_)
        writeReport_(Project(), path, kind, versionIndex);
}

void FrameCampaign::Quit(int status)
{
    Post([this, status] { quit_(status); });
}

// ---- What the views tell ----

int FrameCampaign::CountRunningScript(bool starting)
{
    const int count = campaign_.CountRunningScript(starting);
    Post([this] { UpdateCommands(); });
    return count;
}

void FrameCampaign::ScriptEnded(IScriptView&, const execution::RunRecord* record, std::optional<RunTicket> ticket)
{
    const ScriptEnd end{record != nullptr, ticket, record != nullptr ? record->resultCode : execution::kResultNotRun};
    Post([this, end] {
        campaign_.OnScriptEnded(end);
        UpdateCommands();
    });
}

void FrameCampaign::UserStopped(IScriptView&, std::optional<RunTicket> ticket)
{
    Post([this, ticket] {
        campaign_.OnUserStop(ticket);
        UpdateCommands();
    });
}

void FrameCampaign::ScriptError(IScriptView&, std::optional<RunTicket> ticket)
{
    campaign_.OnScriptError(ticket);
    UpdateCommands();
}

void FrameCampaign::SyncBroadcast(IScriptView& view, int value)
{
    // Only compared: the sending view may be gone when the number goes out.
    const IScriptView* sender = &view;
    Post([this, sender, value] {
        std::vector<std::unique_ptr<ViewPeer>> peers;
        const SyncPeer* senderPeer = nullptr;
        for (ScriptDocument* document : frame_.Documents()) {
            if (IScriptView* each = document->View()) {
                peers.push_back(std::make_unique<ViewPeer>(*each));
                if (each == sender)
                    senderPeer = peers.back().get();
            }
        }
        std::vector<SyncPeer*> views;
        for (const auto& peer : peers)
            views.push_back(peer.get());
        BroadcastSync(views, senderPeer, value);
    });
}

bool FrameCampaign::CampaignRunning() const
{
    return campaign_.InProgress() || campaign_.RunningTests() > 0 || !campaign_.Groups().empty();
}

}  // namespace zov::shell
