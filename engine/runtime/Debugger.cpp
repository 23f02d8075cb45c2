#include "engine/runtime/Debugger.h"
#include "common/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/base/StringHelpers.h"
#include "engine/base/Value.h"

namespace zov {

namespace {

// Most significant digit first, "0" for zero.
std::string BinaryDigits(std::uint32_t value)
{
    if (value == 0)
        return "0";
    std::string digits;
    for (int bit = 31; bit >= 0; --bit) {
        const bool one = ((value >> bit) & 1u) != 0;
        if (one || !digits.empty())
            digits.push_back(one ? '1' : '0');
    }
    return digits;
}

// The "cmd: run" line built by hand: formatting it through the printf layer would cost more
// than the statement it reports.
void WriteRunLine(std::uint32_t line)
{
    static constexpr char kPrefix[] = "cmd: run : ";
    char buffer[sizeof kPrefix + 12];
    std::size_t length = sizeof kPrefix - 1;
    std::copy(kPrefix, kPrefix + length, buffer);
    const auto result = std::to_chars(buffer + length, buffer + sizeof buffer - 1, line);
    length = static_cast<std::size_t>(result.ptr - buffer);
    buffer[length++] = '\n';
    WriteText(Stream::Out, std::string_view(buffer, length));
}

}  // namespace

std::size_t SplitScopePath(std::string_view name, std::size_t start)
{
    if (start >= name.size())
        return std::string_view::npos;
    return name.find('|', start);
}

CDebugger::CDebugger(EngineState& engine) : engine_(engine)
{
    Reset();
}

void CDebugger::Reset()
{
    std::lock_guard<std::mutex> hold(lock_);
    currentLine_ = 0;
    previousLine_ = 0;
    ResetBreakpoints();
    breakpoints_[0] = 0;
    attention_ = 0;
    waiting_ = true;
    stopped_ = false;
    consoleEnded_ = false;
    parkDepth_ = 0;
    stopCount_ = 0;
    global_ = nullptr;
    queue_.clear();
}

void CDebugger::SetBreakpoint(int line, std::uint16_t state)
{
    if (line < 1 || line > kMaxBreakpointLine)
        return;
    breakpoints_[static_cast<std::size_t>(line)].store(state, std::memory_order_relaxed);
}

std::uint16_t CDebugger::Breakpoint(int line) const
{
    if (line < 1 || line > kMaxBreakpointLine)
        return 0;
    return breakpoints_[static_cast<std::size_t>(line)].load(std::memory_order_relaxed);
}

void CDebugger::ResetBreakpoints()
{
    for (int line = 1; line <= kMaxBreakpointLine; ++line)
        breakpoints_[static_cast<std::size_t>(line)].store(0, std::memory_order_relaxed);
}

void CDebugger::BeginRun(CSymbolStore& global)
{
    std::lock_guard<std::mutex> hold(lock_);
    global_ = &global;
    queue_.clear();
    attention_.fetch_and(~kPendingBit);
}

void CDebugger::EndRun()
{
    std::lock_guard<std::mutex> hold(lock_);
    global_ = nullptr;
    queue_.clear();
    attention_.fetch_and(~kPendingBit);
}

void CDebugger::SetStep(bool step)
{
    if (step)
        attention_.fetch_or(kStepBit);
    else
        attention_.fetch_and(~kStepBit);
}

void CDebugger::AbortAfterError()
{
    StopAllClis();
    SetAbort(true);
}

void CDebugger::SetAbort(bool abort)
{
    if (abort)
        attention_.fetch_or(kAbortBit);
    else
        attention_.fetch_and(~kAbortBit);
    // Taking the lock orders the flag before the waiter's next look at it.
    {
        std::lock_guard<std::mutex> hold(lock_);
    }
    changed_.notify_all();
}

// ---------------------------------------------------------------------------------------------
// The interpret thread's side.

bool CDebugger::ReportLineSlow(std::uint32_t line, std::uint32_t previous)
{
    if (Aborting())
        return false;
    if (attention_.load(std::memory_order_relaxed) & kPendingBit) {
        std::lock_guard<std::mutex> hold(lock_);
        ServeQueuedLocked();
    }
    if (engine_.NotifyLines.load(std::memory_order_relaxed)) {
        if (engine_.LineDelayMs.load(std::memory_order_relaxed) > 0)
            PauseBeforeLine();
        if (Aborting())
            return false;
        WriteRunLine(line);
    }
    // A line is entered once however many statements it holds or a loop on it runs.
    if (line == previous)
        return true;
    if (!HasBreakpoint(line) && !Stepping())
        return true;
    return StopAtLine(line);
}

// The delay is read under the lock at every wake-up, so that a `speed` received during the
// pause shortens or lengthens it at once (the pause still counts from its start).
void CDebugger::PauseBeforeLine()
{
    std::unique_lock<std::mutex> hold(lock_);
    ServeQueuedLocked();
    ++parkDepth_;
    const auto start = std::chrono::steady_clock::now();
    while (!Aborting()) {
        const int delayMs = engine_.LineDelayMs.load(std::memory_order_relaxed);
        if (delayMs <= 0 ||
            changed_.wait_until(hold, start + std::chrono::milliseconds(delayMs)) == std::cv_status::timeout)
            break;
    }
    --parkDepth_;
}

void CDebugger::DelayChanged()
{
    std::lock_guard<std::mutex> hold(lock_);
    changed_.notify_all();
}

bool CDebugger::StopAtLine(std::uint32_t line)
{
    std::unique_lock<std::mutex> hold(lock_);
    if (Aborting())
        return false;
    ServeQueuedLocked();
    // Only a resume that comes after the "cmd: bk" line ends this stop: the flag is raised and
    // the line written under the lock that `continue` and `next` take.
    waiting_ = true;
    stopped_ = true;
    ++stopCount_;
    WriteOut(lines::CmdBreakpoint, static_cast<int>(line));
    changed_.notify_all();
    changed_.wait(hold, [this] { return !waiting_.load() || Aborting() || consoleEnded_; });
    stopped_ = false;
    if (waiting_.load() && consoleEnded_) {
        // Nobody is left to resume the script: it ends here, its CLIs stopped as after `ok`,
        // and the reader of the output learns why.
        WriteOut(lines::EngStopEndedByConsole, static_cast<int>(line));
        attention_.fetch_or(kAbortBit);
        changed_.notify_all();
    }
    return !Aborting();
}

CDebugger::ScriptPause::ScriptPause(CDebugger& debugger) : debugger_(debugger)
{
    std::lock_guard<std::mutex> hold(debugger_.lock_);
    debugger_.ServeQueuedLocked();
    ++debugger_.parkDepth_;
}

CDebugger::ScriptPause::~ScriptPause()
{
    std::lock_guard<std::mutex> hold(debugger_.lock_);
    --debugger_.parkDepth_;
}

// ---------------------------------------------------------------------------------------------
// The commands' side.

void CDebugger::Next()
{
    std::lock_guard<std::mutex> hold(lock_);
    SetStep(true);
    waiting_ = false;
    changed_.notify_all();
}

void CDebugger::ConsoleEnded()
{
    std::lock_guard<std::mutex> hold(lock_);
    consoleEnded_ = true;
    changed_.notify_all();
}

void CDebugger::Break()
{
    SetStep(true);
}

void CDebugger::Continue()
{
    std::lock_guard<std::mutex> hold(lock_);
    SetStep(false);
    waiting_ = false;
    changed_.notify_all();
}

bool CDebugger::Stopped() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return stopped_;
}

bool CDebugger::Parked() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return ParkedLocked();
}

std::uint64_t CDebugger::StopCount() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return stopCount_;
}

bool CDebugger::WaitForStop(std::uint64_t count, std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, timeout, [&] { return stopCount_ >= count; });
}

void CDebugger::GetValue(const std::string& name)
{
    Submit(false, name, std::string());
}

void CDebugger::SetValue(const std::string& name, const std::string& text)
{
    Submit(true, name, text);
}

void CDebugger::Submit(bool set, const std::string& name, const std::string& text)
{
    if (name.empty())
        return;
    std::lock_guard<std::mutex> hold(lock_);
    if (!global_ || Aborting())
        return;
    if (ParkedLocked()) {
        ServeLocked(Request{set, name, text});
        return;
    }
    if (queue_.size() >= kMaxQueuedRequests)
        return;
    queue_.push_back(Request{set, name, text});
    attention_.fetch_or(kPendingBit);
}

void CDebugger::ServeQueuedLocked()
{
    if (queue_.empty())
        return;
    std::vector<Request> requests;
    requests.swap(queue_);
    attention_.fetch_and(~kPendingBit);
    for (const Request& request : requests)
        ServeLocked(request);
}

void CDebugger::ServeLocked(const Request& request)
{
    if (!global_ || Aborting())
        return;
    if (request.set)
        ApplySetValue(request.name, request.text);
    else
        AnswerGetValue(request.name);
}

// Every component before the last names a procedure of the scope selected so far; one that is
// not found leaves the scope as it is. The last component is the variable.
CSymbolStore* CDebugger::SelectScope(std::string_view name, std::string_view& variable) const
{
    CSymbolStore* scope = global_;
    std::size_t start = 0;
    for (std::size_t bar = SplitScopePath(name, start); bar != std::string_view::npos;
         bar = SplitScopePath(name, start)) {
        if (CSymbolStore* own = scope->ProcedureScope(name.substr(start, bar - start)))
            scope = own;
        start = bar + 1;
    }
    variable = start < name.size() ? name.substr(start) : std::string_view();
    return scope;
}

void CDebugger::AnswerGetValue(const std::string& name)
{
    std::string_view variableName;
    const CSymbolStore* scope = SelectScope(name, variableName);
    const CVariable* variable = variableName.empty() ? nullptr : scope->FindVariable(variableName);
    // A whole array has no kind.
    if (!variable || variable->IsArray())
        return;

    CValue value;
    value.SetBase(kNoBase);
    variable->ReadScalar(value);
    const char* shown = name.c_str();
    switch (variable->Type()) {
    case kTypeInteger: {
        const std::int32_t word = value.Word();
        switch (value.Base()) {
        case 2:
            WriteOut(lines::CmdValBinary, shown, BinaryDigits(static_cast<std::uint32_t>(word)).c_str());
            break;
        case 8:
            WriteOut(lines::CmdValOctal, shown, static_cast<unsigned>(word));
            break;
        case 16:
            WriteOut(lines::CmdValHex, shown, static_cast<unsigned>(word));
            break;
        case 10:
            if (value.Based()) {
                WriteOut(lines::CmdValBasedDecimal, shown, static_cast<int>(word));
                break;
            }
            [[fallthrough]];
        default:
            WriteOut(lines::CmdValDecimal, shown, static_cast<int>(word));
            break;
        }
        break;
    }
    case kTypeReal:
        WriteOut(lines::CmdValReal, shown, value.RealValue());
        break;
    case kTypeBoolean:
        WriteOut(value.IsTrue() ? lines::CmdValTrue : lines::CmdValFalse, shown);
        break;
    case kTypeString: {
        const std::string text(value.TextView());
        WriteOut(lines::CmdValString, shown, text.c_str());
        break;
    }
    case kTypeVoid: {
        const auto word = static_cast<std::uintptr_t>(static_cast<std::uint32_t>(value.Word()));
        WriteOut(lines::CmdValVoid, shown, reinterpret_cast<const void*>(word));
        break;
    }
    default:
        break;  // a CLI handle and anything else: no line
    }
}

void CDebugger::ApplySetValue(const std::string& name, const std::string& text)
{
    std::string_view variableName;
    CSymbolStore* scope = SelectScope(name, variableName);
    CVariable* variable = variableName.empty() ? nullptr : scope->FindVariable(variableName);
    if (!variable || variable->IsArray())
        return;

    CValue& cell = variable->Value();
    switch (variable->Type()) {
    case kTypeInteger:
        cell.SetWord(ParseLeadingInt(text));
        break;  // the display base stays
    case kTypeReal:
        cell.SetReal(std::strtod(text.c_str(), nullptr));
        break;
    case kTypeBoolean:
        // Exactly these two words; "TRUE" or "1" leave the value as it is.
        if (text == "true")
            cell.SetBoolean(true);
        else if (text == "false")
            cell.SetBoolean(false);
        break;
    case kTypeString:
        cell.SetText(text);
        break;
    default:
        break;
    }
}

CDebugger& Debugger()
{
    static CDebugger debugger;
    return debugger;
}

}  // namespace zov
