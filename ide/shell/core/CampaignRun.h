#pragma once
// The campaign sequencer: runs the tests of one or more test sets one after another (or a parallel
// set all at once), paced by step requests and a one-second timer between groups, and decides
// what happens when a test ends, fails, is stopped or reports an engine error. Everything that
// touches windows, files or processes goes through CampaignHost, so the rules run without a GUI.

#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zov::shell {

// Test-set modes of the project file.
enum class SetMode { Sequential = 0, Parallel = 1, Random = 2 };

// Result codes of a run record that the sequencer reads.
inline constexpr int kResultNok = 0;
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancelled = 4;

// One test of a run, as the sequencer sees the project's record; `key` names the record to the host.
struct CampaignTest {
    int key = 0;
    std::string file;         // script path as stored: absolute, or relative to the project folder
    bool background = false;  // "Exécuter en tâche de fond"
};

// One test set taking part in the run, with its chosen tests in run order.
struct CampaignGroup {
    int setKey = 0;
    SetMode mode = SetMode::Sequential;
    bool dependent = false;  // parallel, or Depends "1": a NOK skips the rest of the set
    std::vector<CampaignTest> tests;
};
using RunList = std::vector<CampaignGroup>;

// Each start of a campaign test gets a ticket; the script's end, error or stop quotes it, so a
// test is counted once and an end that belongs to an earlier run or pass changes nothing.
using RunTicket = std::uint64_t;

class CampaignHost {
public:
    virtual ~CampaignHost() = default;

    // A step request: the host calls CampaignRun::OnStep later, from its event loop. The
    // sequencer never has more than one pending.
    virtual void QueueStep() = 0;
    // The pause between groups; the host calls CampaignRun::OnPacingTimer when it fires.
    virtual void ArmPacingTimer(int milliseconds) = 0;

    virtual bool FileReadable(const std::string& path) = 0;
    // Opens the script as a document (closing the active script view unless keepCurrentView) and
    // starts its run; false when the document did not open. The view quotes the ticket back.
    virtual bool StartTest(const CampaignTest& test, const std::string& path, bool keepCurrentView, bool verify,
                           RunTicket ticket) = 0;
    virtual void SetTestResult(int key, int code, const std::string& info) = 0;
    virtual int TestResult(int key) = 0;
    // Taken into a new run: selected flag set, result -1, run-time lists emptied.
    virtual void PrepareTest(int key) = 0;
    // The runs pane loads the run list, the error pane is emptied, the runs tab shown.
    virtual void ShowRunList(const RunList& groups) = 0;
    // Selected again for a new pass: selected flag set, run-time lists emptied.
    virtual void ReselectTest(int key, bool clearMessages) = 0;
    virtual void StopAllViews() = 0;
    virtual void CloseScriptsWithoutBreakpoints() = 0;

    virtual void RecordResult(int key, int versionIndex) = 0;
    virtual void WriteResultsFile() = 0;
    virtual void SaveInterfacesAndProject() = 0;
    virtual void ShowResultsDialog() = 0;

    virtual void Beep() = 0;
    virtual void HideToTray() = 0;
    virtual void ShowFromTray() = 0;
    virtual void StartBackProgram(const std::string& program, const std::string& parameters, bool hide) = 0;
    virtual void TerminateBackProgram() = 0;

    // The run ended (finished or stopped) while in batch mode.
    virtual void BatchEntryDone() {}
};

// What the run dialog (or a batch entry) decided.
struct RunRequest {
    RunList groups;
    bool verify = false;
    bool loop = false;
    int loopCount = 1;
    bool stopAtFirstNok = true;
    std::string backProgram;
    std::string backProgramParam;
    bool backProgramHide = false;
};

// The settings read when the frame is created.
struct CampaignSettings {
    bool hideOnExecution = false;
    bool saveTempResult = false;
    bool beep = false;
};

// How a script view's end reaches the frame: whether the view runs a test record at all, the
// ticket of a campaign start, and the record's result code.
struct ScriptEnd {
    bool hasRecord = false;
    std::optional<RunTicket> ticket;
    int result = -1;
};

class CampaignRun {
public:
    using Random = std::function<unsigned()>;

    CampaignRun(CampaignHost& host, CampaignSettings settings, Translate translate = IdentityTranslate());

    // Replaces the shuffle's generator; by default a default-seeded minstd_rand, repeatable.
    void SetRandom(Random random) { random_ = std::move(random); }

    void SetProjectFolder(std::string folder) { projectFolder_ = std::move(folder); }
    void SetVersion(int index, bool record)
    {
        versionIndex_ = index;
        recordResults_ = record;
    }
    void SetBatchMode(bool batch) { batchMode_ = batch; }
    void SetHideOnExecution(bool hide) { settings_.hideOnExecution = hide; }
    bool StopAtFirstNok() const { return stopAtFirstNok_; }
    // What the run dialog is preset with: the choices of the last run (no groups).
    const RunRequest& Presets() const { return presets_; }

    // The message the run command shows while a campaign is under way, or nullopt when a new run
    // may be set up.
    std::optional<std::string> RefusalToStart() const;

    // Sets the run up and requests the first step when there is something to run.
    void Start(RunRequest request);

    void OnStep();
    void OnPacingTimer();
    void OnScriptEnded(const ScriptEnd& end);
    void OnUserStop(std::optional<RunTicket> ticket);
    void OnScriptError(std::optional<RunTicket> ticket);
    // "Arrête tous les tests".
    void StopAll();
    bool StopAllEnabled() const { return currentGroup_ != -1 || !running_.empty() || scriptRunning_; }

    // Scripts whose engine runs, campaign or not; never below 0.
    int CountRunningScript(bool running);

    bool IsSetUp() const { return campaignActive_; }
    bool InProgress() const { return currentGroup_ != -1; }
    int RunningTests() const { return static_cast<int>(running_.size()); }
    int LoopsDone() const { return loopDone_; }
    const RunList& Groups() const { return groups_; }
    int VersionIndex() const { return versionIndex_; }

private:
    struct Running {
        std::size_t group = 0;
        bool background = false;
    };

    void RequestStep();
    void ArmPacingTimer();
    void ShowAgain();
    void StartTest(const CampaignTest& test, bool keepCurrentView);
    void ShuffleCurrentGroup();
    void RecordResults();
    void ClearRunList();
    void ReselectAll(bool clearMessages);
    std::string ScriptPath(const std::string& file) const;

    CampaignHost& host_;
    CampaignSettings settings_;
    Translate translate_;
    Random random_;
    std::string projectFolder_;

    RunList groups_;
    int currentGroup_ = -1;
    std::size_t nextTest_ = 0;
    std::map<RunTicket, Running> running_;
    RunTicket lastTicket_ = 0;
    bool verify_ = false;
    bool loop_ = false;
    int loopCount_ = 1;
    int loopDone_ = 0;
    bool stopCampaign_ = false;
    bool stopAtFirstNok_ = true;
    bool campaignActive_ = false;
    bool batchMode_ = false;
    bool hiddenInTray_ = false;
    int versionIndex_ = -1;
    bool recordResults_ = false;
    RunRequest presets_;
    bool stepPending_ = false;
    bool timerArmed_ = false;
    bool dropPendingStep_ = false;
    bool scriptRunning_ = false;
    int runningScripts_ = 0;
};

// Views that take a synchronisation number: every view with an engine running except the one
// that printed it (views of scripts run by hand included).
class SyncPeer {
public:
    virtual ~SyncPeer() = default;
    virtual bool HasEngine() const = 0;
    virtual void SendSync(int value) = 0;
};
void BroadcastSync(const std::vector<SyncPeer*>& views, const SyncPeer* sender, int value);

// The text of the chosen version in the run dialog: " " + name + " - " + info.
std::string RunDialogVersionText(const std::string& name, const std::string& info);

}  // namespace zov::shell
