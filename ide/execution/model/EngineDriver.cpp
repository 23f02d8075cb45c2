#include "ide/execution/model/EngineDriver.h"

#include <algorithm>

#include "common/NumberText.h"
#include "common/PathUtils.h"
#include "common/process/ProcessSpawn.h"
#include "common/protocol/EngineProtocol.h"
#include "ide/execution/model/TypedValue.h"

namespace zov::execution {

namespace {

// Engine_Path is relative to the program folder unless it is absolute.
std::string EngineFolder(const ExecutionSettings& settings)
{
    if (settings.enginePath.empty())
        return MakeAbsolutePath(settings.programFolder, ".");
    return MakeAbsolutePath(settings.programFolder, settings.enginePath);
}

std::string WireName(std::string name)
{
    std::replace(name.begin(), name.end(), ':', protocol::kNameColonOnWire);
    return OneLineValue(name);
}

}  // namespace

EngineDriver::EngineDriver(RunHost& host, RunInterfaces& interfaces, RunSinks& sinks, shell::Prompter& prompter,
                           shell::Translate translate, PostCall post)
    : host_(host),
      interfaces_(interfaces),
      sinks_(sinks),
      prompter_(prompter),
      translate_(std::move(translate)),
      post_(std::move(post))
{
    if (!translate_)
        translate_ = shell::IdentityTranslate();
}

EngineDriver::~EngineDriver()
{
    ++generation_;
    runner_.reset();
}

void EngineDriver::Send(std::string_view text)
{
    if (runner_)
        runner_->Send(text);
    else if (link_)
        link_->Send(text);
    else
        return;
    if (sendObserver_)
        sendObserver_(std::string(text) + "\n");
}

void EngineDriver::SetRunning(bool running)
{
    uiRun_ = running;
    sinks_.SetRunning(running);
}

void EngineDriver::SetLineTimer(bool on)
{
    lineTimer_ = on;
    sinks_.SetLineTimer(on);
}

void EngineDriver::AddTrace(TraceCategory category, int line, std::string_view text, bool keep)
{
    std::string kept = sinks_.Trace(category, runNumber_, line, text);
    // The run's own traces go to its log; another run's never mix in.
    if (keep)
        runTrace_ += kept;
}

void EngineDriver::RunScript(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record)
{
    if (uiRun_)
        return;
    if (!interfaces_.HasInterface()) {
        prompter_.Tell(TT("Impossible de lancer le script. Aucune interface présente !"), shell::PromptIcon::Warning);
        return;
    }
    if (paused_ && engineRun_) {
        ContinueRun(std::move(breakpoints));
        return;
    }
    StartFresh(scriptPath, std::move(breakpoints), record, false);
}

void EngineDriver::VerifyScript(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record)
{
    if (uiRun_ || engineRun_)
        return;
    if (!interfaces_.HasInterface()) {
        prompter_.Tell(TT("Impossible de lancer le script. Aucune interface présente !"), shell::PromptIcon::Warning);
        return;
    }
    StartFresh(scriptPath, std::move(breakpoints), record, true);
}

void EngineDriver::ContinueRun(std::vector<int> breakpoints)
{
    if (!HasLink())
        return;
    std::sort(breakpoints.begin(), breakpoints.end());
    // The engine reads its commands in order on one thread: no pause is needed between them.
    Send("resetbkp\n");
    for (const int line : breakpoints)
        Send("setbkp -line " + std::to_string(line) + " -state on\n");
    Send("continue\n");
    if (!uiRun_ && Settings().showExecution)
        SetLineTimer(true);
    SetRunning(true);
    paused_ = false;
}

void EngineDriver::StartFresh(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record,
                              bool verify)
{
    if (record) {
        record->resultCode = kResultRunning;
        record->resultText.clear();
        record->resultLine = 0;
        record->warnings.clear();
    }
    errorFlag_ = false;
    sinks_.ClearErrorLine();
    sinks_.ClearWarningLines();
    const ExecutionSettings settings = Settings();
    interfaces_.WriteTempInterface(settings.tempFolder + "/Temp.qzi");
    sinks_.ClearErrors();
    host_.SetVerifyFlag(verify);
    if (record) {
        sinks_.AddRun(*record);
        sinks_.UpdateRun(*record, verify);
    }
    BeginScriptRun(scriptPath, std::move(breakpoints), record, verify);
}

void EngineDriver::BeginScriptRun(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record,
                                  bool verify)
{
    if (engineRun_)
        return;
    record_ = record;
    verify_ = verify;
    stopRequested_ = false;
    sinks_.SetReadOnly(true);
    // Whatever an earlier run left unread belongs to that run, not to this one.
    pending_.clear();
    pendingPos_ = 0;
    runTrace_.clear();
    boxes_.clear();
    ending_ = false;
    pendingFlag_ = false;
    pendingRunLine_.clear();

    const ExecutionSettings settings = Settings();
    EngineLaunch launch;
    launch.workingFolder = EngineFolder(settings);
    launch.args = SplitCommandLine("x " + settings.engineParams);
    launch.args[0] = launch.workingFolder + "/" + settings.engine;

    link_ = nullptr;
    const unsigned generation = ++generation_;
    runner_ = std::make_unique<EngineProcess>(
        [this, generation] {
            post_([this, generation] {
                if (generation == generation_)
                    DrainEngineOutput();
            });
        },
        [this, generation] {
            post_([this, generation] {
                if (generation == generation_)
                    OnEngineEnded();
            });
        });
    drainPosted_ = false;
    runner_->Start(launch);
    if (!uiRun_ && settings.showExecution)
        SetLineTimer(true);

    engineRun_ = true;
    SetRunning(true);
    paused_ = false;
    runNumber_ = host_.CountRunningScript(true);

    std::sort(breakpoints.begin(), breakpoints.end());
    for (const int line : breakpoints)
        Send("setbkp -line " + std::to_string(line) + " -state on\n");
    if (record) {
        record->resultCode = kResultRunning;
        sinks_.UpdateRun(*record, verify);
    }
    if (settings.realTimeVariables)
        Send("debugstep\n");
    const std::string parameters = record ? RunParameters(*record) : std::string();
    if (verify)
        Send("verify -val 1\n");
    if (!settings.showExecution)
        Send("notifyline -val 0\n");
    Send("interpret -dicofn \"" + settings.tempFolder + "/Temp.qzi\" -scriptfn \"" + scriptPath + "\" -params {" +
         OneLineValue(parameters) + "}\n");

    AddTrace(TraceCategory::System, -1, std::string(46, '*'), false);
    if (record && record->hasTestSet)
        AddTrace(TraceCategory::System, -1,
                 TT("Exécution") + " (" + record->testSetName + ":" + record->testName + ")\n", false);
    else
        AddTrace(TraceCategory::System, -1, TT("Exécution") + " (\"" + scriptPath + "\")\n", false);
    SendSpeed();
    SendTimeout();
}

void EngineDriver::NextLine()
{
    if (!HasLink())
        return;
    Send("next\n");
    if (!uiRun_ && Settings().showExecution)
        SetLineTimer(true);
    SetRunning(true);
    paused_ = false;
}

void EngineDriver::BreakScript()
{
    if (HasLink())
        Send("break\n");
}

void EngineDriver::StopScript()
{
    if (!HasLink())
        return;
    if (record_ && (record_->resultCode == kResultOk || record_->resultCode == kResultNok)) {
        // The verdict is in: the engine ends by itself.
        stopRequested_ = true;
        return;
    }
    if (runner_ ? runner_->Running() : engineRun_) {
        ResetRunState();
        Send("exit\n");
        if (record_) {
            record_->resultCode = kResultStopped;
            record_->toRun = false;
            sinks_.UpdateRun(*record_, verify_);
        }
        host_.UserStopped();
    }
}

void EngineDriver::ResetRunState()
{
    pendingFlag_ = false;
    SetLineTimer(false);
    SetRunning(false);
    paused_ = false;
    stopRequested_ = false;
    host_.CountRunningScript(false);
}

void EngineDriver::SendSync(int n)
{
    if (HasLink())
        Send("sync -val " + std::to_string(n) + "\n");
}

void EngineDriver::UpdateLineNotification()
{
    if (!uiRun_)
        return;
    if (Settings().showExecution) {
        SetLineTimer(true);
        Send("notifyline -val 1\n");
    } else {
        sinks_.ClearExecutionLine();
        Send("notifyline -val 0\n");
    }
}

void EngineDriver::SendSpeed()
{
    if (HasLink())
        Send("speed -val " + std::to_string(Settings().linePause) + "\n");
}

void EngineDriver::SendTimeout()
{
    if (HasLink())
        Send("timeout -val " + std::to_string(Settings().timeoutFunction) + "\n");
}

void EngineDriver::SendGetVal()
{
    for (const std::string& name : host_.WatchedNames())
        SendGetVal(name);
}

void EngineDriver::SendGetVal(const std::string& name)
{
    if (HasLink())
        Send("getval -name " + WireName(name));
}

void EngineDriver::SendSetVal(const std::string& name, const std::string& value)
{
    if (HasLink())
        Send("setval -name " + WireName(name) + " -val \"" + OneLineValue(value) + "\"\n");
}

void EngineDriver::SendSetData(const std::string& name, const std::string& value)
{
    if (HasLink())
        Send("setdata -name " + OneLineValue(name) + " -val \"" + OneLineValue(value) + "\"\n");
}

void EngineDriver::OnLineTimer()
{
    if (uiRun_ && pendingFlag_ && !timerGuard_) {
        timerGuard_ = true;
        pendingFlag_ = false;
        ShowPendingRunLine();
        timerGuard_ = false;
    }
}

void EngineDriver::ShowPendingRunLine()
{
    std::string_view text = pendingRunLine_;
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos)
        text.remove_prefix(colon + 1);
    const int n = ParseLeadingInt(text);
    if (n > 0) {
        sinks_.ClearExecutionLine();
        sinks_.SetExecutionLine(n);
        if (!frozen_)
            sinks_.ShowLine(n);
    }
}

void EngineDriver::OnEngineEnded()
{
    // Every byte the engine wrote is dispatched before the run closes, in the same slices as
    // during the run: a fast engine can end with most of its output still unread.
    if (runner_) {
        runner_->TakeOutput(pending_);
        lastExitCode_ = runner_->ExitCode();
    }
    ending_ = true;
    ContinueEnding();
}

void EngineDriver::ContinueEnding()
{
    DispatchPending(kSliceLines, true);
    FlushBoxes();
    if (MayDispatch() && HasCompleteLine()) {
        const unsigned generation = generation_;
        post_([this, generation] {
            if (generation == generation_ && ending_)
                ContinueEnding();
        });
        return;
    }
    ending_ = false;
    sinks_.EngineEnded(lastExitCode_);
    pendingFlag_ = false;
    SetLineTimer(false);
    FinishScriptRun();
    if (!stopRequested_) {
        SetRunning(false);
        paused_ = false;
        host_.ScriptEnded(record_);
    } else {
        ResetRunState();
    }
}

void EngineDriver::FinishScriptRun()
{
    if (!HasLink() || !engineRun_)
        return;
    engineRun_ = false;
    sinks_.SetReadOnly(false);
    if (record_) {
        if (record_->resultCode == kResultRunning)
            record_->resultCode = kResultUnknown;
        record_->toRun = false;
        sinks_.UpdateRun(*record_, verify_);
        host_.AppendRunLog(runTrace_, *record_);
    }
    runTrace_.clear();
    sinks_.ClearExecutionLine();
    if (runner_) {
        lastExitCode_ = runner_->ExitCode();
        ++generation_;
        runner_->Kill();
        runner_.reset();
    }
}

void EngineDriver::AttachTranscript(RunRecord* record, CommandLink& link, bool verify)
{
    runner_.reset();
    ++generation_;
    link_ = &link;
    record_ = record;
    verify_ = verify;
    pending_.clear();
    pendingPos_ = 0;
    runTrace_.clear();
    lastTag_ = 4;
    stopRequested_ = false;
    ending_ = false;
    engineRun_ = true;
    paused_ = false;
    SetRunning(true);
    runNumber_ = 1;
}

void EngineDriver::FeedTranscript(std::string_view bytes)
{
    pending_.append(bytes);
    DispatchPending(static_cast<std::size_t>(-1), false);
    FlushBoxes();
}

void EngineDriver::DetachTranscript()
{
    link_ = nullptr;
    engineRun_ = false;
}

}  // namespace zov::execution
