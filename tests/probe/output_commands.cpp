// zovprobe commands over the output panes' rules: a plain trace save turned into the CSV save, and
// a trace laid out into the pane's display lines.
#include "common/AtomicFile.h"
#include "ide/output/model/TraceText.h"
#include "tests/probe/ProbeCommands.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zov::probe {
namespace {

// trace-csv FILE: every line of a trace saved as text, as the CSV save writes it; exit 1 when the
// file cannot be read.
const CommandRegistration traceCsv{"trace-csv", "FILE", [](std::span<char* const> args) {
                                       if (args.size() != 1)
                                           return 2;
                                       const auto text = ReadWholeFile(args[0]);
                                       if (!text) {
                                           std::fprintf(stderr, "cannot read %s\n", args[0]);
                                           return 1;
                                       }
                                       std::size_t start = 0;
                                       while (start < text->size()) {
                                           std::size_t end = text->find('\n', start);
                                           if (end == std::string::npos)
                                               end = text->size();
                                           std::string line = text->substr(start, end - start);
                                           if (!line.empty() && line.back() == '\r')
                                               line.pop_back();
                                           std::fputs(output::TraceCsvLine(line).c_str(), stdout);
                                           start = end + 1;
                                       }
                                       return 0;
                                   }};

// trace-layout [--one-line] RUN LINE TEXT: the display lines of a trace stamped "00:00:00.000"
// (LINE < 0: no script line number), one "<prefix>|<body>" per line, then "kept <text>" with its
// line breaks written as \n.
const CommandRegistration traceLayout{"trace-layout", "[--one-line] RUN LINE TEXT", [](std::span<char* const> args) {
                                          bool oneLine = false;
                                          if (!args.empty() && std::string(args[0]) == "--one-line") {
                                              oneLine = true;
                                              args = args.subspan(1);
                                          }
                                          if (args.size() != 3)
                                              return 2;
                                          const output::TraceLines laid = output::LayOutTrace(
                                              "00:00:00.000", std::atoi(args[0]), std::atoi(args[1]), args[2], oneLine);
                                          for (const output::TraceDisplayLine& line : laid.lines)
                                              std::printf("%s|%s", line.prefix.c_str(), line.body.c_str());
                                          std::string kept;
                                          for (const char c : laid.kept)
                                              kept += c == '\n' ? std::string("\\n") : std::string(1, c);
                                          std::printf("kept %s\n", kept.c_str());
                                          return 0;
                                      }};

}  // namespace
}  // namespace zov::probe
