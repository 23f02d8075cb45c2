#include "ide/output/model/TraceText.h"

#include <chrono>
#include <cstdio>

namespace zov::output {

std::string FormatTraceStamp(int hours, int minutes, int seconds, int milliseconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", hours, minutes, seconds, milliseconds);
    return text;
}

std::string TraceStampNow()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const int milliseconds =
        static_cast<int>(duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    return FormatTraceStamp(local.tm_hour, local.tm_min, local.tm_sec, milliseconds);
}

namespace {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    if (start == 0)
        return;
    out.append(text, start, std::string::npos);
    text = std::move(out);
}

std::string RunPrefix(std::string_view stamp, int runNumber)
{
    std::string prefix(stamp);
    prefix += " (" + std::to_string(runNumber) + ") ";
    return prefix;
}

std::string LineTag(int scriptLine)
{
    char tag[24];
    std::snprintf(tag, sizeof tag, "[%04d] ", scriptLine);
    return tag;
}

}  // namespace

std::string ExpandLineBreaks(std::string_view text)
{
    std::string expanded(text);
    if (expanded.find('\\') == std::string::npos)
        return expanded;
    ReplaceAll(expanded, "\\r\\n", "\n");
    ReplaceAll(expanded, "\\n\\r", "\n");
    ReplaceAll(expanded, "\\n", "\n");
    return expanded;
}

TraceLines LayOutTrace(std::string_view stamp, int runNumber, int scriptLine, std::string_view text, bool oneLine)
{
    TraceLines result;
    result.kept = oneLine ? std::string(text) : ExpandLineBreaks(text);
    result.kept += '\n';
    const std::string prefix = RunPrefix(stamp, runNumber);
    const std::string tag = scriptLine >= 0 ? LineTag(scriptLine) : std::string();
    std::size_t start = 0;
    while (start < result.kept.size()) {
        const std::size_t end = result.kept.find('\n', start) + 1;
        result.lines.push_back({prefix, tag + result.kept.substr(start, end - start)});
        start = end;
    }
    return result;
}

std::string ContinuousSaveLine(std::string_view stamp, int runNumber, int scriptLine, std::string_view text)
{
    std::string line = RunPrefix(stamp, runNumber);
    if (scriptLine >= 0)
        line += LineTag(scriptLine);
    line += text;
    line += '\n';
    return line;
}

int LinesToTrim(int lineCount, int maxLines)
{
    const int excess = lineCount - (maxLines + 100);
    if (excess <= 0)
        return 0;
    return (excess + 99) / 100 * 100;
}

std::string TraceCsvLine(std::string_view shownLine)
{
    // The stamp is the first twelve characters; the run number stands between the first '(' and
    // the next ')'; a script line number is the bracket right behind it.
    std::string record(shownLine.substr(0, 12));
    record += ';';
    std::string_view rest = shownLine.size() > 12 ? shownLine.substr(12) : std::string_view();
    const std::size_t open = rest.find('(');
    const std::size_t close = open == std::string_view::npos ? std::string_view::npos : rest.find(')', open + 1);
    if (close != std::string_view::npos) {
        record += rest.substr(open + 1, close - open - 1);
        rest.remove_prefix(close + 1);
    }
    record += ';';
    std::size_t blanks = 0;
    while (blanks < rest.size() && rest[blanks] == ' ')
        ++blanks;
    if (blanks < rest.size() && rest[blanks] == '[') {
        const std::size_t end = rest.find(']', blanks);
        if (end != std::string_view::npos) {
            std::string_view digits = rest.substr(blanks + 1, end - blanks - 1);
            while (digits.size() > 1 && digits.front() == '0')
                digits.remove_prefix(1);
            record += digits;
            rest.remove_prefix(end + 1);
        }
    }
    record += ';';
    while (!rest.empty() && rest.front() == ' ')
        rest.remove_prefix(1);
    record += rest;
    record += '\n';
    return record;
}

std::uint32_t CategoryColour(execution::TraceCategory category, const std::uint32_t (&traceClr)[4])
{
    switch (category) {
    case execution::TraceCategory::System:
        return traceClr[0];
    case execution::TraceCategory::Script:
        return traceClr[2];
    case execution::TraceCategory::Interpreter:
        return traceClr[1];
    case execution::TraceCategory::Cli:
        return traceClr[3];
    }
    return 0;
}

}  // namespace zov::output
