#pragma once

// The run logic of a script view: starts the engine for a run of its script, sends it the
// console commands of each user action, cuts the engine's output into lines and dispatches them
// to the panes, the line marks, the run record and the main frame, and closes the run when the
// engine ends. States: idle; running; paused (the engine waits at a line); ending.
//
// Breakpoints reach the engine as 1-based lines; the engine keeps them for lines 1 to 10000 only,
// so a breakpoint further down a script never stops it.
//
// Everything here runs on the owner's thread. The runner's notifications arrive through the
// PostCall given at construction; the driver must outlive the calls it posted (a window posts
// through a guarded pointer).

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/EngineRunner.h"
#include "ide/execution/model/ExecutionSeams.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Translate.h"

namespace zov::execution {

// Where console commands go when no engine process is attached (a recorded transcript).
class CommandLink {
public:
    virtual ~CommandLink() = default;
    virtual void Send(std::string_view text) = 0;  // the link adds the final "\n"
};

class EngineDriver {
public:
    // Dispatch gives the event loop back after this many lines or this much time.
    static constexpr std::size_t kSliceLines = 5000;
    static constexpr std::chrono::milliseconds kSliceTime{5};

    EngineDriver(RunHost& host, RunInterfaces& interfaces, RunSinks& sinks, shell::Prompter& prompter,
                 shell::Translate translate, PostCall post);
    ~EngineDriver();
    EngineDriver(const EngineDriver&) = delete;
    EngineDriver& operator=(const EngineDriver&) = delete;

    // F5: continues a paused run, or starts a fresh one of `scriptPath` with the breakpoints
    // (1-based lines). Nothing while running.
    void RunScript(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record);
    // Shift+F5: a fresh run that only analyses the script.
    void VerifyScript(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record);
    // Starts the engine and sends the run's commands (also the campaign step's entry).
    void BeginScriptRun(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record, bool verify);

    void NextLine();
    void BreakScript();
    void StopScript();
    void SendSync(int n);
    void UpdateLineNotification();
    void SendSpeed();
    void SendTimeout();
    // The value of every watched variable, or of one.
    void SendGetVal();
    void SendGetVal(const std::string& name);
    void SendSetVal(const std::string& name, const std::string& value);
    void SendSetData(const std::string& name, const std::string& value);

    // The view's 30 ms timer: shows the last reported line.
    void OnLineTimer();
    void SetFrozen(bool frozen) { frozen_ = frozen; }

    // The runner's notifications, on the owner's thread.
    void DrainEngineOutput();
    void OnEngineEnded();

    // Dispatches a recorded engine output as one run would, commands going to `link`; for the
    // probe and the fuzz targets. Ends with what still waits in the pending text.
    void AttachTranscript(RunRecord* record, CommandLink& link, bool verify);
    void FeedTranscript(std::string_view bytes);
    void DetachTranscript();

    // Told of every command line sent, as it goes out (with the runner's extra "\n").
    void SetSendObserver(std::function<void(std::string_view)> observer) { sendObserver_ = std::move(observer); }

    bool IsEngineRunning() const { return engineRun_; }
    bool IsRunning() const { return uiRun_; }
    bool IsPaused() const { return paused_; }
    bool HasError() const { return errorFlag_; }
    bool IsLineTimerOn() const { return lineTimer_; }
    int LastExitCode() const { return lastExitCode_; }
    int RunNumber() const { return runNumber_; }
    RunRecord* Record() const { return record_; }
    std::string_view PendingText() const;
    const std::string& RunTraceText() const { return runTrace_; }
    const EngineProcess* Runner() const { return runner_.get(); }

private:
    bool HasLink() const { return runner_ || link_; }
    void Send(std::string_view text);
    ExecutionSettings Settings() { return host_.Settings(); }
    std::string TT(std::string_view text) const { return translate_(text); }
    void StartFresh(const std::string& scriptPath, std::vector<int> breakpoints, RunRecord* record, bool verify);
    void ContinueRun(std::vector<int> breakpoints);
    void SetRunning(bool running);
    void SetLineTimer(bool on);
    void ResetRunState();
    void FinishScriptRun();
    void ShowPendingRunLine();
    // One slice of the end-of-run dispatch; the run closes after the last one.
    void ContinueEnding();
    void AddTrace(TraceCategory category, int line, std::string_view text, bool keep);

    // Dispatch of the pending text.
    bool MayDispatch() const { return uiRun_ || paused_; }
    bool HasCompleteLine() const;
    void TakeRunnerOutput(bool always);
    std::size_t DispatchPending(std::size_t maxLines, bool timed);
    void DispatchLine(std::string_view line);
    void DispatchCommand(std::string_view body);
    void InterfaceError(std::string_view body);
    void FlushBoxes();
    void PostDrain();

    RunHost& host_;
    RunInterfaces& interfaces_;
    RunSinks& sinks_;
    shell::Prompter& prompter_;
    shell::Translate translate_;
    PostCall post_;
    std::function<void(std::string_view)> sendObserver_;

    std::unique_ptr<EngineProcess> runner_;
    CommandLink* link_ = nullptr;
    unsigned generation_ = 0;
    bool drainPosted_ = false;

    bool engineRun_ = false;
    bool uiRun_ = false;
    bool paused_ = false;
    bool errorFlag_ = false;
    bool verify_ = false;
    bool stopRequested_ = false;
    bool frozen_ = false;
    bool lineTimer_ = false;
    bool ending_ = false;  // the engine is gone; its last output is being dispatched
    int lastTag_ = 4;
    int runNumber_ = 0;
    int lastExitCode_ = 0;
    bool pendingFlag_ = false;
    std::string pendingRunLine_;
    bool timerGuard_ = false;
    RunRecord* record_ = nullptr;

    std::string pending_;
    std::size_t pendingPos_ = 0;
    std::string runTrace_;
    std::deque<std::string> boxes_;
};

// The error pane's columns of an "err" body: the record's name, the line part, the message part
// (CR and LF removed, split at the first ':').
struct ErrorRow {
    std::string entry, line, message;
};
ErrorRow SplitErrorText(std::string_view text, const RunRecord* record);

}  // namespace zov::execution
