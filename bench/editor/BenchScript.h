// The script the editor benchmarks open: blocks of ten lines (assignments, if/else, a for loop and
// one trace each), CR LF ended, up to the line count.
#pragma once

#include <string>

namespace zov::bench {

inline std::string BenchScript(int lines)
{
    std::string text;
    for (int i = 0; i < lines / 10; ++i) {
        const std::string n = std::to_string(i);
        const std::string v = "v" + std::to_string(i % 10);
        text += v + " = " + n + " + 2 * 3\r\n";
        text += "if " + v + " > 10 and " + v + " <> 20 then\r\n";
        text += "  w = " + v + " - 1\r\n";
        text += "else\r\n";
        text += "  w = " + v + " + 1\r\n";
        text += "end\r\n";
        text += "for j = 1 to 3 do\r\n";
        text += "  " + v + " = " + v + " + j * w\r\n";
        text += "end\r\n";
        text += "trace(\"block \", " + n + ", \" gives \", " + v + ")\r\n";
    }
    return text;
}

}  // namespace zov::bench
