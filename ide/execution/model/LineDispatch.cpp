// The reader's side of the engine's output: cutting the pending text into lines and sending each
// by its tag to the panes, the marks, the run record and the main frame. The dispatch never
// waits: message boxes are queued and shown after the slice of lines.

#include <algorithm>
#include <cstdio>

#include "common/NumberText.h"
#include "common/TextTrim.h"
#include "common/protocol/EngineProtocol.h"
#include "ide/execution/model/EngineDriver.h"

namespace zov::execution {

namespace {

// The line less its tag and the character behind it.
std::string_view ByPosition(std::string_view line)
{
    return line.size() > 4 ? line.substr(4) : std::string_view();
}

// What follows the first ':' of the line, trimmed; a line without ':' is taken whole.
std::string_view ByColon(std::string_view line)
{
    const std::size_t colon = line.find(':');
    return TrimBlanks(colon == std::string_view::npos ? line : line.substr(colon + 1));
}

struct Split {
    bool found = false;
    std::string_view left, right;
};

Split SplitAtColon(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return {};
    return {true, TrimBlanks(text.substr(0, colon)), TrimBlanks(text.substr(colon + 1))};
}

}  // namespace

ErrorRow SplitErrorText(std::string_view text, const RunRecord* record)
{
    std::string clean;
    clean.reserve(text.size());
    for (const char c : text)
        if (c != '\r' && c != '\n')
            clean += c;
    ErrorRow row;
    row.entry = " " + (record ? record->testName : std::string());
    if (row.entry == " ")
        row.entry = " ";
    const std::size_t colon = clean.find(':');
    if (colon == std::string::npos) {
        row.line = " ";
        row.message = " " + clean;
    } else {
        row.line = " " + clean.substr(0, colon);
        row.message = " " + clean.substr(colon + 1);
    }
    return row;
}

std::string_view EngineDriver::PendingText() const
{
    return std::string_view(pending_).substr(pendingPos_);
}

bool EngineDriver::HasCompleteLine() const
{
    return pending_.find('\n', pendingPos_) != std::string::npos;
}

void EngineDriver::TakeRunnerOutput(bool always)
{
    if (!runner_)
        return;
    // Bytes are taken only while the dispatch keeps up, so that the runner's high-water mark
    // holds the engine back; a line longer than the mark is still taken whole.
    if (always || pending_.size() - pendingPos_ < EngineProcess::kHighWater || !HasCompleteLine())
        runner_->TakeOutput(pending_);
}

void EngineDriver::PostDrain()
{
    if (drainPosted_ || !runner_)
        return;
    drainPosted_ = true;
    const unsigned generation = generation_;
    post_([this, generation] {
        if (generation == generation_)
            DrainEngineOutput();
    });
}

void EngineDriver::DrainEngineOutput()
{
    drainPosted_ = false;
    if (!runner_ || !MayDispatch() || ending_)
        return;  // the bytes wait in the runner, or the end of the run dispatches them
    TakeRunnerOutput(false);
    DispatchPending(kSliceLines, true);
    FlushBoxes();
    if (MayDispatch() && HasCompleteLine())
        PostDrain();
}

std::size_t EngineDriver::DispatchPending(std::size_t maxLines, bool timed)
{
    const auto deadline = std::chrono::steady_clock::now() + kSliceTime;
    std::size_t count = 0;
    std::string line;
    while (MayDispatch() && count < maxLines) {
        const std::size_t end = pending_.find('\n', pendingPos_);
        if (end == std::string::npos)
            break;
        line.assign(pending_, pendingPos_, end - pendingPos_);
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        pendingPos_ = end + 1;
        DispatchLine(line);
        ++count;
        if (timed && (count & 15) == 0 && std::chrono::steady_clock::now() >= deadline)
            break;
    }
    // Dispatched text leaves the front once it outweighs what is left.
    if (pendingPos_ == pending_.size()) {
        pending_.clear();
        pendingPos_ = 0;
    } else if (pendingPos_ > 65536 && pendingPos_ > pending_.size() / 2) {
        pending_.erase(0, pendingPos_);
        pendingPos_ = 0;
    }
    return count;
}

void EngineDriver::DispatchLine(std::string_view line)
{
    using protocol::LineTag;
    switch (protocol::ClassifyLine(line)) {
    case LineTag::Out:
        AddTrace(TraceCategory::Cli, -1, TrimBlanks(ByPosition(line)), true);
        lastTag_ = 0;
        break;
    case LineTag::Trc: {
        const std::string_view body = TrimBlanks(ByPosition(line));
        const Split parts = SplitAtColon(body);
        if (parts.found)
            AddTrace(TraceCategory::Script, ParseLeadingInt(parts.left), parts.right, true);
        else
            AddTrace(TraceCategory::Script, 0, body, true);
        lastTag_ = 1;
        break;
    }
    case LineTag::Eng:
        AddTrace(TraceCategory::Interpreter, -1, TrimBlanks(ByPosition(line)), false);
        lastTag_ = 2;
        break;
    case LineTag::Err:
        sinks_.AddError(ByPosition(line), record_);
        errorFlag_ = true;
        lastTag_ = 3;
        host_.OnScriptError();
        if (record_) {
            record_->resultCode = kResultError;
            record_->toRun = false;
        }
        break;
    case LineTag::Dpb:
        InterfaceError(TrimBlanks(ByPosition(line)));
        errorFlag_ = true;
        break;
    case LineTag::Syn:
        if (record_)
            host_.SyncBroadcast(ParseLeadingInt(ByColon(line)), record_);
        break;
    case LineTag::Vrf:
        if (record_) {
            record_->resultCode = ParseLeadingInt(ByColon(line)) == 1 ? kResultVerified : kResultVerifyError;
            record_->resultLine = 1;
            record_->resultText.clear();
            record_->toRun = false;
        }
        break;
    case LineTag::Exp: {
        const std::size_t colon = line.find(':');
        const std::string_view body = colon == std::string_view::npos ? line : line.substr(colon + 1);
        const Split parts = SplitAtColon(body);
        if (parts.found)
            host_.SetDataValue(std::string(parts.left), std::string(parts.right));
        else
            host_.SetDataValue(std::string(TrimBlanks(body)), std::string());
        break;
    }
    case LineTag::Imp: {
        const std::string name(ByColon(line));
        SendSetData(name, host_.GetDataValue(name));
        break;
    }
    case LineTag::Cmd:
        DispatchCommand(TrimBlanks(ByPosition(line)));
        break;
    case LineTag::None:
        switch (lastTag_) {
        case 0:
            AddTrace(TraceCategory::Cli, -1, line, true);
            break;
        case 1:
        case 3:
            AddTrace(TraceCategory::Script, -1, line, true);
            break;
        case 2:
            AddTrace(TraceCategory::Interpreter, -1, line, false);
            break;
        default:
            AddTrace(TraceCategory::System, -1, line, false);
            break;
        }
        break;
    }
}

void EngineDriver::DispatchCommand(std::string_view body)
{
    std::string_view sub = body;
    std::string_view rest;
    std::string_view number;
    std::string_view text;
    if (const Split first = SplitAtColon(body); first.found) {
        sub = first.left;
        rest = first.right;
        if (const Split second = SplitAtColon(rest); !second.found) {
            number = rest;
        } else if (sub != protocol::kCmdValue) {
            number = second.left;
            rest = second.right;
            text = rest;
        }
    }

    if (sub == protocol::kCmdBreakpoint) {
        const Split further = SplitAtColon(rest);
        const int n = ParseLeadingInt(further.found ? further.right : rest);
        if (n > 0) {
            sinks_.SetExecutionLine(n);
            sinks_.ShowLine(n);
        }
        SendGetVal();
        if (uiRun_ && Settings().showExecution) {
            pendingFlag_ = false;
            SetLineTimer(false);
        }
        SetRunning(false);
        paused_ = true;
        sinks_.Paused(n);
    } else if (sub == protocol::kCmdRun) {
        const ExecutionSettings settings = Settings();
        if ((settings.showExecution || settings.realTimeVariables) && !verify_) {
            if (!timerGuard_ && rest != pendingRunLine_) {
                pendingRunLine_.assign(rest);
                pendingFlag_ = true;
            }
            if (settings.realTimeVariables)
                SendGetVal();
        }
    } else if (sub == protocol::kCmdOk || sub == protocol::kCmdNok) {
        if (record_) {
            record_->resultCode = sub == protocol::kCmdOk ? kResultOk : kResultNok;
            record_->resultLine = ParseLeadingInt(number);
            record_->resultText.assign(text);
            record_->toRun = false;
        }
    } else if (sub == protocol::kCmdWarning) {
        if (record_) {
            record_->warnings.emplace_back(text);
            sinks_.ToggleWarningLine(ParseLeadingInt(number));
        }
    } else if (sub == protocol::kCmdValue) {
        const Split namePart = SplitAtColon(rest);
        std::string name(namePart.found ? namePart.left : TrimBlanks(rest));
        int kind = 0;
        std::string value;
        if (namePart.found) {
            const Split kindPart = SplitAtColon(namePart.right);
            kind = ParseLeadingInt(kindPart.found ? kindPart.left : namePart.right);
            if (kindPart.found)
                value.assign(kindPart.right);
        }
        std::replace(name.begin(), name.end(), protocol::kNameColonOnWire, ':');
        sinks_.UpdateVariable(name, value, kind, record_);
    }
    // Other words ("inf" among them) are not shown.
}

void EngineDriver::InterfaceError(std::string_view body)
{
    const std::string title = TT("Erreur dans l'interface");
    const Split parts = SplitAtColon(body);
    if (!parts.found) {
        boxes_.push_back(title);
        return;
    }
    const InterfaceDefinition definition = interfaces_.DefinitionAtLine(ParseLeadingInt(parts.left));
    std::string_view word;
    switch (definition.kind) {
    case 1:
        word = "CLI";
        break;
    case 2:
        word = "Function";
        break;
    case 3:
        word = "Constante";
        break;
    case 4:
        word = "Macro";
        break;
    default:
        word = "Type inconnu";
        break;
    }
    boxes_.push_back(title + " : " + TT(parts.right) + "\r\n-> " + TT(word) + " : " + definition.text);
}

void EngineDriver::FlushBoxes()
{
    // Shown after the slice: a box's own event loop must never re-enter the dispatch.
    while (!boxes_.empty()) {
        const std::string text = std::move(boxes_.front());
        boxes_.pop_front();
        prompter_.Tell(text, shell::PromptIcon::Error);
    }
}

}  // namespace zov::execution
