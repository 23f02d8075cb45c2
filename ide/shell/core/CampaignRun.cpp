#include "ide/shell/core/CampaignRun.h"

#include "common/PathUtils.h"

#include <utility>

namespace zov::shell {

namespace {

constexpr int kGroupPause = 1000;

}  // namespace

CampaignRun::CampaignRun(CampaignHost& host, CampaignSettings settings, Translate translate)
    : host_(host), settings_(settings), translate_(std::move(translate))
{
    random_ = [engine = std::minstd_rand()]() mutable { return static_cast<unsigned>(engine()); };
}

std::optional<std::string> CampaignRun::RefusalToStart() const
{
    if (currentGroup_ != -1)
        return translate_("Arrêter les scripts en cours d'exécution !");
    return std::nullopt;
}

void CampaignRun::Start(RunRequest request)
{
    groups_ = std::move(request.groups);
    presets_ = request;
    presets_.groups.clear();
    presets_.verify = false;
    currentGroup_ = -1;
    nextTest_ = 0;
    running_.clear();
    verify_ = request.verify;
    loop_ = request.loop;
    loopCount_ = request.loopCount;
    stopAtFirstNok_ = request.stopAtFirstNok;
    loopDone_ = 0;
    stopCampaign_ = false;
    campaignActive_ = true;
    for (const CampaignGroup& group : groups_)
        for (const CampaignTest& test : group.tests)
            host_.PrepareTest(test.key);
    host_.ShowRunList(groups_);
    if (!request.backProgram.empty() && !verify_)
        host_.StartBackProgram(request.backProgram, request.backProgramParam, request.backProgramHide);
    if (settings_.hideOnExecution) {
        host_.HideToTray();
        hiddenInTray_ = true;
    }
    if (!groups_.empty())
        RequestStep();
}

void CampaignRun::RequestStep()
{
    // Two requests in a row mean one step: a second pending step would start a second test of a
    // sequential set while the first runs.
    if (stepPending_) {
        // The step already on its way serves this request, even one a group's end meant to drop.
        dropPendingStep_ = false;
        return;
    }
    stepPending_ = true;
    host_.QueueStep();
}

void CampaignRun::ArmPacingTimer()
{
    timerArmed_ = true;
    host_.ArmPacingTimer(kGroupPause);
}

void CampaignRun::ShowAgain()
{
    if (hiddenInTray_ && settings_.hideOnExecution)
        host_.ShowFromTray();
    hiddenInTray_ = false;
}

void CampaignRun::OnStep()
{
    stepPending_ = false;
    if (dropPendingStep_) {
        dropPendingStep_ = false;
        return;
    }
    if (currentGroup_ == -1) {
        currentGroup_ = 0;
        nextTest_ = 0;
        if (!verify_ && !groups_.empty())
            ShuffleCurrentGroup();
    }
    if (stopCampaign_) {
        ShowAgain();
        if (settings_.beep)
            host_.Beep();
        host_.TerminateBackProgram();
        RecordResults();
        ClearRunList();
        if (batchMode_)
            host_.BatchEntryDone();
        return;
    }
    if (currentGroup_ >= static_cast<int>(groups_.size())) {
        ShowAgain();
        host_.TerminateBackProgram();
        if (settings_.beep)
            host_.Beep();
        if (campaignActive_ && !verify_)
            host_.ShowResultsDialog();
        const bool wasActive = campaignActive_;
        verify_ = false;
        RecordResults();
        ClearRunList();
        if (batchMode_ && wasActive)
            host_.BatchEntryDone();
        return;
    }
    CampaignGroup& group = groups_[static_cast<std::size_t>(currentGroup_)];
    if (nextTest_ >= group.tests.size()) {
        if (!running_.empty())
            return;
        // A step already requested belongs to the group that just ended.
        dropPendingStep_ = stepPending_;
        if (settings_.saveTempResult)
            RecordResults();
        nextTest_ = 0;
        ++currentGroup_;
        if (currentGroup_ < static_cast<int>(groups_.size())) {
            if (!verify_) {
                host_.CloseScriptsWithoutBreakpoints();
                ShuffleCurrentGroup();
                ArmPacingTimer();
            } else {
                RequestStep();
            }
            return;
        }
        if (loop_) {
            if (loopCount_ > 0)
                ++loopDone_;
            if (loopCount_ == 0 || loopDone_ < loopCount_) {
                host_.CloseScriptsWithoutBreakpoints();
                currentGroup_ = -1;
                running_.clear();
                if (loopCount_ > 0)
                    ReselectAll(false);
                if (verify_)
                    RequestStep();
                else
                    ArmPacingTimer();
                return;
            }
        }
        ShowAgain();
        host_.TerminateBackProgram();
        if (settings_.beep)
            host_.Beep();
        if (!batchMode_ && campaignActive_ && !verify_)
            host_.ShowResultsDialog();
        host_.SaveInterfacesAndProject();
        verify_ = false;
        RecordResults();
        ClearRunList();
        if (batchMode_)
            host_.BatchEntryDone();
        return;
    }
    if (group.mode == SetMode::Parallel && !verify_) {
        const std::vector<CampaignTest> tests = group.tests;
        nextTest_ = tests.size();
        for (const CampaignTest& test : tests)
            StartTest(test, true);
        return;
    }
    bool afterBackground = false;
    while (nextTest_ < group.tests.size()) {
        const CampaignTest test = group.tests[nextTest_++];
        const bool background = test.background && !verify_;
        StartTest(test, !verify_ && (background || afterBackground));
        if (!background)
            break;
        afterBackground = true;
    }
}

void CampaignRun::OnPacingTimer()
{
    if (!timerArmed_)
        return;
    timerArmed_ = false;
    if (!running_.empty())
        ArmPacingTimer();
    else
        RequestStep();
}

std::string CampaignRun::ScriptPath(const std::string& file) const
{
    if (IsAbsolutePath(file))
        return file;
    return projectFolder_ + "/" + file;
}

void CampaignRun::StartTest(const CampaignTest& test, bool keepCurrentView)
{
    const std::string path = ScriptPath(test.file);
    const RunTicket ticket = ++lastTicket_;
    const bool started =
        (!verify_ || host_.FileReadable(path)) && host_.StartTest(test, path, keepCurrentView, verify_, ticket);
    if (!started) {
        host_.SetTestResult(test.key, kResultCancelled, translate_("Fichier non présent"));
        RequestStep();
        return;
    }
    running_[ticket] = Running{static_cast<std::size_t>(currentGroup_), test.background};
}

void CampaignRun::OnScriptEnded(const ScriptEnd& end)
{
    CountRunningScript(false);
    if (!end.hasRecord)
        return;
    if (!end.ticket) {
        // A script run by hand on a test record: the step that follows only ends "the run"
        // (the beep at the end of a script).
        if (groups_.empty())
            RequestStep();
        return;
    }
    // An end quoting a ticket of a stopped run or an earlier pass belongs to nothing running.
    const auto found = running_.find(*end.ticket);
    if (found == running_.end())
        return;
    const Running ended = found->second;
    running_.erase(found);
    if (!ended.background || running_.empty())
        RequestStep();
    if (end.result != kResultNok)
        return;
    if (stopAtFirstNok_) {
        stopCampaign_ = true;
        if (!running_.empty()) {
            host_.StopAllViews();
            running_.clear();
        }
        if (loop_ && loopDone_ < loopCount_ - 1) {
            ++loopDone_;
            stopCampaign_ = false;
            currentGroup_ = -1;
            running_.clear();
            ReselectAll(true);
            ArmPacingTimer();
        }
        return;
    }
    if (groups_[ended.group].dependent && static_cast<int>(ended.group) == currentGroup_)
        nextTest_ = groups_[ended.group].tests.size();
}

void CampaignRun::OnUserStop(std::optional<RunTicket> ticket)
{
    // A stop of a test already stopped, or of an earlier run, ends nothing (the stop of every
    // view arrives after the run it ended).
    if (ticket && running_.erase(*ticket) == 0)
        return;
    if (!groups_.empty()) {
        stopCampaign_ = true;
        RequestStep();
    }
}

void CampaignRun::OnScriptError(std::optional<RunTicket> ticket)
{
    if (groups_.empty() || verify_)
        return;
    if (ticket && running_.erase(*ticket) == 0)
        return;
    stopCampaign_ = true;
    RequestStep();
}

void CampaignRun::StopAll()
{
    host_.StopAllViews();
    const bool wasActive = campaignActive_;
    ShowAgain();
    ClearRunList();
    host_.TerminateBackProgram();
    if (batchMode_ && wasActive)
        host_.BatchEntryDone();
}

int CampaignRun::CountRunningScript(bool running)
{
    scriptRunning_ = running;
    if (running)
        ++runningScripts_;
    else if (runningScripts_ > 0)
        --runningScripts_;
    return runningScripts_;
}

void CampaignRun::ShuffleCurrentGroup()
{
    if (currentGroup_ < 0 || currentGroup_ >= static_cast<int>(groups_.size()))
        return;
    CampaignGroup& group = groups_[static_cast<std::size_t>(currentGroup_)];
    const std::size_t n = group.tests.size();
    if (group.mode != SetMode::Random || n == 0)
        return;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = random_() % n;
        const std::size_t j = random_() % n;
        std::swap(group.tests[i], group.tests[j]);
    }
}

void CampaignRun::RecordResults()
{
    if (versionIndex_ == -1 || !recordResults_ || groups_.empty())
        return;
    for (const CampaignGroup& group : groups_) {
        for (const CampaignTest& test : group.tests) {
            const int code = host_.TestResult(test.key);
            if (code == kResultOk || code == kResultNok)
                host_.RecordResult(test.key, versionIndex_);
        }
    }
    if (settings_.saveTempResult)
        host_.WriteResultsFile();
}

void CampaignRun::ClearRunList()
{
    groups_.clear();
    currentGroup_ = -1;
    nextTest_ = 0;
    running_.clear();
    scriptRunning_ = false;
    runningScripts_ = 0;
    campaignActive_ = false;
    // A pause armed by the ended run must not step the next one.
    timerArmed_ = false;
}

void CampaignRun::ReselectAll(bool clearMessages)
{
    for (const CampaignGroup& group : groups_)
        for (const CampaignTest& test : group.tests)
            host_.ReselectTest(test.key, clearMessages);
}

void BroadcastSync(const std::vector<SyncPeer*>& views, const SyncPeer* sender, int value)
{
    for (SyncPeer* view : views)
        if (view != nullptr && view != sender && view->HasEngine())
            view->SendSync(value);
}

std::string RunDialogVersionText(const std::string& name, const std::string& info)
{
    return " " + name + " - " + info;
}

}  // namespace zov::shell
