#include "ide/execution/model/RecordingSeams.h"

#include <fstream>
#include <sstream>

namespace zov::execution {

std::string EscapeLineBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

void EventLog::Add(std::string event)
{
    if (echo)
        echo(event);
    events_.push_back(std::move(event));
}

std::vector<std::string> EventLog::Matching(std::string_view prefix) const
{
    std::vector<std::string> found;
    for (const std::string& event : events_)
        if (std::string_view(event).substr(0, prefix.size()) == prefix)
            found.push_back(event);
    return found;
}

int RecordingHost::CountRunningScript(bool starting)
{
    running += starting ? 1 : -1;
    if (running < 0)
        running = 0;
    return running;
}

void RecordingHost::SyncBroadcast(int n, RunRecord*)
{
    log_.Add("sync " + std::to_string(n));
}

void RecordingHost::SetDataValue(const std::string& name, const std::string& value)
{
    data[name] = value;
    log_.Add("data " + EscapeLineBreaks(name) + "=" + EscapeLineBreaks(value));
}

std::string RecordingHost::GetDataValue(const std::string& name)
{
    const auto found = data.find(name);
    return found == data.end() ? std::string() : found->second;
}

bool RecordingInterfaces::WriteTempInterface(const std::string& path)
{
    written.push_back(path);
    if (source.empty())
        return true;
    std::ifstream in(source, std::ios::binary);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    return static_cast<bool>(out);
}

InterfaceDefinition RecordingInterfaces::DefinitionAtLine(int line)
{
    const auto found = definitions.find(line);
    return found == definitions.end() ? InterfaceDefinition{} : found->second;
}

std::string RecordingSinks::Trace(TraceCategory category, int, int line, std::string_view text)
{
    static constexpr const char* kNames[] = {"system", "script", "interp", "cli"};
    log_.Add(std::string("trace ") + kNames[static_cast<int>(category)] + " " +
             (line < 0 ? std::string("-") : std::to_string(line)) + " " + EscapeLineBreaks(text));
    std::string kept(text);
    kept += '\n';
    traceTexts.push_back(kept);
    return kept;
}

void RecordingSinks::AddError(std::string_view text, RunRecord* record)
{
    const ErrorRow row = SplitErrorText(text, record);
    log_.Add("error " + row.entry + "|" + row.line + "|" + row.message);
}

void RecordingSinks::UpdateVariable(const std::string& name, const std::string& value, int kind, RunRecord*)
{
    log_.Add("var " + EscapeLineBreaks(name) + " " + std::to_string(kind) + " " + EscapeLineBreaks(value));
}

void RecordingSinks::SetExecutionLine(int line)
{
    if (executionLine == line)
        return;
    if (executionLine > 0)
        log_.Add("mark execution " + std::to_string(executionLine) + " off");
    executionLine = line;
    log_.Add("mark execution " + std::to_string(line) + " on");
}

void RecordingSinks::ClearExecutionLine()
{
    if (executionLine > 0)
        log_.Add("mark execution " + std::to_string(executionLine) + " off");
    executionLine = 0;
}

void RecordingSinks::ToggleWarningLine(int line)
{
    if (line <= 0)
        return;
    const bool on = warningLines.insert(line).second;
    if (!on)
        warningLines.erase(line);
    log_.Add("mark warning " + std::to_string(line) + (on ? " on" : " off"));
}

void RecordingSinks::ClearWarningLines()
{
    for (const int line : warningLines)
        log_.Add("mark warning " + std::to_string(line) + " off");
    warningLines.clear();
}

void RecordingSinks::Paused(int line)
{
    log_.Add("paused " + std::to_string(line));
}

void RecordingSinks::EngineEnded(int exitCode)
{
    log_.Add("ended " + std::to_string(exitCode));
}

shell::PromptAnswer LoggingPrompter::Ask(const std::string& text, shell::PromptIcon icon, shell::PromptButtons buttons)
{
    log_.Add("box " + EscapeLineBreaks(text));
    return shell::RecordingPrompter::Ask(text, icon, buttons);
}

std::function<void(std::string_view)> LogSends(EventLog& log)
{
    return [&log](std::string_view text) { log.Add("send " + EscapeLineBreaks(text)); };
}

std::string DescribeRecord(const RunRecord& record)
{
    return "record " + std::to_string(record.resultCode) + " " + std::to_string(record.resultLine) + " " +
           EscapeLineBreaks(record.resultText) + " warnings=" + std::to_string(record.warnings.size()) +
           " history=" + std::to_string(record.history.size());
}

}  // namespace zov::execution
