#pragma once

// How one trace becomes lines of the trace pane: its time stamp, the run number, the optional
// script line number and the text, cut into display lines; the line of the continuous save; the
// trimming rule; and the way a shown line reads back into the CSV save.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/ExecutionSeams.h"

namespace zov::output {

// "hh:mm:ss.mmm" of a local time with milliseconds.
std::string FormatTraceStamp(int hours, int minutes, int seconds, int milliseconds);
// The stamp of this moment, local time.
std::string TraceStampNow();

// Turns the two-character escapes "\r\n", "\n\r" and "\n" (a backslash and a letter, as a script
// writes them) into real line breaks, in that order.
std::string ExpandLineBreaks(std::string_view text);

// One display line of a trace: the black part (stamp and run number) and the coloured part (the
// bracketed script line number, the text and its line break).
struct TraceDisplayLine {
    std::string prefix;
    std::string body;
};

struct TraceLines {
    // The trace as the pane keeps it: line breaks expanded (unless one-line), one final line break.
    std::string kept;
    std::vector<TraceDisplayLine> lines;
};

// Lays a trace out. `scriptLine` < 0: a trace without a script line number.
TraceLines LayOutTrace(std::string_view stamp, int runNumber, int scriptLine, std::string_view text, bool oneLine);

// The continuous save's line: stamp, " (N) ", "[%04d] " for line traces, the raw text, "\n".
std::string ContinuousSaveLine(std::string_view stamp, int runNumber, int scriptLine, std::string_view text);

// Lines to delete from the top once a trace has been added: the pane holds at most
// MaxLines + 100 lines and deletes whole hundreds, so that it trims at most once per 100 traces.
int LinesToTrim(int lineCount, int maxLines);

// One shown line (without its line break) as a CSV record "stamp;run;line;text" followed by "\n".
std::string TraceCsvLine(std::string_view shownLine);

// The colour of a category (Windows COLORREF) from the four TraceClr settings: TraceClr1 colours
// the interpreter and TraceClr2 the script, a crossing that users' ZOV.ini files rely on.
std::uint32_t CategoryColour(execution::TraceCategory category, const std::uint32_t (&traceClr)[4]);

}  // namespace zov::output
