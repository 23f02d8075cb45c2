#pragma once

// The one debugger of the process. The running script calls ReportLine before each statement;
// the console's commands (on the reader thread) set breakpoints, resume a stopped script and
// ask for variables.
//
// Threads. Only the interpret thread touches the script's variables, except while it is
// parked: stopped at a line, sleeping the line delay, or inside a ScriptPause (a blocking wait
// of a built-in). `getval` and `setval` are served at once on the command thread when the
// script is parked, under the debugger's lock, which the script must take back before it goes
// on; otherwise they are queued and the interpret thread serves them at its next line report.
// A command therefore never blocks for longer than one answer takes.
//
// Stops. A stop writes "cmd: bk" and waits for a `continue` or `next` received after that
// line; a resume sent while the script runs is not kept for a later stop. `break` never
// resumes: it makes the running script stop at the next new line.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine/runtime/EngineState.h"

namespace zov {

class CSymbolStore;

inline constexpr int kMaxBreakpointLine = 10000;
inline constexpr std::uint16_t kBreakpointOn = 256;
inline constexpr std::uint16_t kBreakpointOff = 0;

// Requests waiting for the next line report; beyond this, new ones are dropped (the IDE asks
// again at the next line it sees).
inline constexpr std::size_t kMaxQueuedRequests = 1000;

// Position of the first '|' at or after `start` in a `getval`/`setval` name, npos when none.
std::size_t SplitScopePath(std::string_view name, std::size_t start);

class CDebugger {
public:
    explicit CDebugger(EngineState& engine = Engine());
    CDebugger(const CDebugger&) = delete;
    CDebugger& operator=(const CDebugger&) = delete;

    // Lines 0, no breakpoint, no step, no abort, waiting, no run attached, no request queued.
    void Reset();

    // Stores the state for 1 <= line <= 10000; other lines are ignored. Any non-zero state stops.
    void SetBreakpoint(int line, std::uint16_t state);
    // State of a line; 0 outside 1..10000.
    std::uint16_t Breakpoint(int line) const;
    // Clears lines 1..10000.
    void ResetBreakpoints();

    // The run whose variables `getval` and `setval` reach: the script's global scope, from just
    // before the first statement until the run has returned. EndRun drops queued requests.
    void BeginRun(CSymbolStore& global);
    void EndRun();

    // The statement protocol, called by every statement before its work, on the interpret
    // thread. Reports the line ("cmd: run" when NotifyLines is on, after LineDelayMs), serves
    // queued requests, and stops when the line is entered afresh and holds a breakpoint or step
    // mode is on. Returns false when the run is ending: the statement must then do nothing.
    // With nothing to report, stop or serve, it costs a few loads and compares.
    bool ReportLine(std::uint32_t line)
    {
        const std::uint32_t previous = currentLine_.load(std::memory_order_relaxed);
        previousLine_.store(previous, std::memory_order_relaxed);
        currentLine_.store(line, std::memory_order_relaxed);
        if (attention_.load(std::memory_order_relaxed) == 0 && !engine_.NotifyLines.load(std::memory_order_relaxed) &&
            (line == previous || !HasBreakpoint(line)))
            return true;
        return ReportLineSlow(line, previous);
    }

    // Back in a caller after a procedure call: the caller's statement is the one being run again,
    // so its line is current once more. Neither reported nor a stop: the line was entered
    // already, and a breakpoint on it has stopped then.
    void RestoreLine(std::uint32_t line)
    {
        previousLine_.store(currentLine_.load(std::memory_order_relaxed), std::memory_order_relaxed);
        currentLine_.store(line, std::memory_order_relaxed);
    }

    // The line of the statement being run (for run-time error lines) and the one before.
    std::uint32_t CurrentLine() const { return currentLine_.load(std::memory_order_relaxed); }
    std::uint32_t PreviousLine() const { return previousLine_.load(std::memory_order_relaxed); }

    // `next`: resume a stopped script and stop at the next new line; on a running script, stop
    // at the next new line.
    void Next();
    // `break`: stop at the next new line. A stopped script stays stopped.
    void Break();
    // `continue`: resume a stopped script until a breakpoint; on a running script, step mode off.
    void Continue();
    // `speed`: the pause before a line, if one is under way, takes the new delay at once.
    void DelayChanged();

    // `getval`: one "cmd:val:" line, or nothing for an unknown name, an array, a CLI handle, or
    // when no run is attached or the run is ending. `setval`: changes the variable, writes
    // nothing. A name is "proc|...|var": each procedure found selects its own scope.
    void GetValue(const std::string& name);
    void SetValue(const std::string& name, const std::string& text);

    // Set by `ok`, `nok` and run-time errors; wakes a stopped or pausing script.
    void SetAbort(bool abort);
    // A run-time error ends the run: every CLI is stopped first, then the abort is set.
    void AbortAfterError();
    // The console has ended: no `continue` or `next` can come any more. The stop the script
    // waits in, and any later one, ends the run as an abort does instead of waiting for ever.
    void ConsoleEnded();
    bool Aborting() const { return (attention_.load(std::memory_order_relaxed) & kAbortBit) != 0; }
    bool Stepping() const { return (attention_.load(std::memory_order_relaxed) & kStepBit) != 0; }
    // True until a `continue` or `next` arrives; set again when a stop begins.
    bool Waiting() const { return waiting_.load(); }
    bool Stopped() const;
    // Stopped, pausing before a line, or in a blocking wait: variables may be read at once.
    bool Parked() const;
    // Stops made since the reset.
    std::uint64_t StopCount() const;
    // Blocks until `count` stops have begun, or the time is up; returns whether they have.
    bool WaitForStop(std::uint64_t count, std::chrono::milliseconds timeout);

    // Marks a blocking wait of the running script (a sleep, a CLI reply, a sync or data wait),
    // so that `getval` and `setval` are answered during it. While it lasts, the interpret thread
    // must not hold a pointer or view into a variable's value. Construct on the interpret
    // thread only; leaving waits for an answer in progress.
    class ScriptPause {
    public:
        explicit ScriptPause(CDebugger& debugger);
        ~ScriptPause();
        ScriptPause(const ScriptPause&) = delete;
        ScriptPause& operator=(const ScriptPause&) = delete;

    private:
        CDebugger& debugger_;
    };

private:
    static constexpr std::uint32_t kStepBit = 1;
    static constexpr std::uint32_t kAbortBit = 2;
    static constexpr std::uint32_t kPendingBit = 4;

    struct Request {
        bool set = false;
        std::string name;
        std::string text;
    };

    bool HasBreakpoint(std::uint32_t line) const
    {
        return line - 1u < static_cast<std::uint32_t>(kMaxBreakpointLine) &&
               breakpoints_[line].load(std::memory_order_relaxed) != 0;
    }
    void SetStep(bool step);

    bool ReportLineSlow(std::uint32_t line, std::uint32_t previous);
    void PauseBeforeLine();
    bool StopAtLine(std::uint32_t line);

    void Submit(bool set, const std::string& name, const std::string& text);
    // The lock is held by the caller in these.
    bool ParkedLocked() const { return stopped_ || parkDepth_ > 0; }
    void ServeQueuedLocked();
    void ServeLocked(const Request& request);
    CSymbolStore* SelectScope(std::string_view name, std::string_view& variable) const;
    void AnswerGetValue(const std::string& name);
    void ApplySetValue(const std::string& name, const std::string& text);

    EngineState& engine_;
    std::atomic<std::uint32_t> currentLine_{0};
    std::atomic<std::uint32_t> previousLine_{0};
    // Step, abort and queued requests in one word: the line report tests it once.
    std::atomic<std::uint32_t> attention_{0};
    std::array<std::atomic<std::uint16_t>, kMaxBreakpointLine + 1> breakpoints_{};
    std::atomic<bool> waiting_{true};

    mutable std::mutex lock_;
    std::condition_variable changed_;
    bool stopped_ = false;
    bool consoleEnded_ = false;
    int parkDepth_ = 0;
    std::uint64_t stopCount_ = 0;
    CSymbolStore* global_ = nullptr;
    std::vector<Request> queue_;
};

// The one debugger, in its reset state before `main` runs.
CDebugger& Debugger();

}  // namespace zov
