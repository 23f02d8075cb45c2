#pragma once

// The trace pane's rich-text save: a plain RTF document with one colour table and a "\cf" switch
// wherever the colour changes, so that any rich-text reader shows the traces in their colours.

#include <cstdint>
#include <string>
#include <vector>

namespace zov::output {

struct ColouredRun {
    std::uint32_t colour = 0;  // Windows COLORREF (0x00BBGGRR)
    std::string text;          // UTF-8; "\n" ends a line
};

// `fontName` is the pane's fixed-pitch font; `halfPoints` its size in half points.
std::string WriteTraceRtf(const std::vector<ColouredRun>& runs, const std::string& fontName = "Courier New",
                          int halfPoints = 20);

}  // namespace zov::output
