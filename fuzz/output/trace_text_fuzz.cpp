// Engine text as the output panes take it: a trace laid out into display lines, each shown line
// read back as a CSV record, the lines written as RTF, and the same text as an error row and a
// find key. Lines never hold a line break inside, CSV records keep four fields, RTF stays ASCII
// with balanced groups.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ide/output/model/PaneRules.h"
#include "ide/output/model/TraceRtf.h"
#include "ide/output/model/TraceText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const bool oneLine = (data[0] & 1) != 0;
    const int scriptLine = (data[0] & 2) != 0 ? data[0] : -1;
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const zov::output::TraceLines laid = zov::output::LayOutTrace("12:34:56.789", 7, scriptLine, text, oneLine);
    std::string bodies;
    std::vector<zov::output::ColouredRun> runs;
    for (const zov::output::TraceDisplayLine& line : laid.lines) {
        if (line.body.empty() || line.body.back() != '\n' || line.body.find('\n') != line.body.size() - 1)
            std::abort();
        const std::string shown = line.prefix + line.body.substr(0, line.body.size() - 1);
        const std::string csv = zov::output::TraceCsvLine(shown);
        if (csv.rfind("12:34:56.789;7;", 0) != 0 || csv.back() != '\n')
            std::abort();
        if (csv.find(';', std::string_view("12:34:56.789;7;").size()) == std::string::npos)
            std::abort();
        if (scriptLine < 0)
            bodies += line.body;
        runs.push_back({0, line.prefix});
        runs.push_back({0xFF0000, line.body});
    }
    if (scriptLine < 0 && bodies != laid.kept)
        std::abort();

    const std::string rtf = zov::output::WriteTraceRtf(runs);
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const auto c = static_cast<unsigned char>(rtf[i]);
        if (c >= 0x80)
            std::abort();
        if (c == '\\') {
            ++i;  // an escaped character or the first letter of a control word
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0)
            std::abort();
    }
    if (depth != 0)
        std::abort();

    const zov::output::ErrorRowTexts row = zov::output::SplitErrorText(text, zov::shell::IdentityTranslate());
    if ((row.line + row.message).find_first_of("\r\n") != std::string::npos)
        std::abort();
    if (const auto target = zov::output::SplitFindKey(text); target && target->path.size() >= text.size())
        std::abort();
    return 0;
}
