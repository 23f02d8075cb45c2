#pragma once

// The one debugger of the process. The console's commands call it from the reader thread;
// the running script calls it before each statement. This unit holds the breakpoints and the
// resume flags; stopping and variable access are added with the statement side.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

namespace zov {

inline constexpr int kMaxBreakpointLine = 10000;
inline constexpr std::uint16_t kBreakpointOn = 256;
inline constexpr std::uint16_t kBreakpointOff = 0;

class CDebugger {
public:
    CDebugger();
    CDebugger(const CDebugger&) = delete;
    CDebugger& operator=(const CDebugger&) = delete;

    // Lines 0, no breakpoint, step 0, abort 0, waiting 1.
    void Reset();

    // Stores the state for 1 <= line <= 10000; other lines are ignored.
    void SetBreakpoint(int line, std::uint16_t state);
    // State of a line; 0 outside 1..10000.
    std::uint16_t Breakpoint(int line) const;
    // Clears lines 1..10000.
    void ResetBreakpoints();

    // `next` and `break`: resume, then stop at the next new line.
    void Next();
    // `break` on a running script: the same flags as `next`, so it stops at the next new line.
    void Break();
    // `continue`: resume until a breakpoint.
    void Continue();
    // `getval` and `setval`: reached only while a script runs.
    void GetValue(const std::string& name);
    void SetValue(const std::string& name, const std::string& text);

    void SetAbort(bool abort) { abort_ = abort; }
    bool Aborting() const { return abort_.load(); }
    bool Stepping() const { return step_.load(); }
    bool Waiting() const { return waiting_.load(); }

private:
    std::atomic<std::uint16_t> currentLine_{0};
    std::atomic<std::uint16_t> previousLine_{0};
    std::array<std::atomic<std::uint16_t>, kMaxBreakpointLine + 1> breakpoints_{};
    std::atomic<bool> step_{false};
    std::atomic<bool> abort_{false};
    std::atomic<bool> waiting_{true};
};

// The one debugger, in its reset state before `main` runs.
CDebugger& Debugger();

}  // namespace zov
