#include "ide/output/model/TraceRtf.h"

#include <algorithm>

namespace zov::output {

namespace {

// Decodes one UTF-8 sequence at `at`; a byte that starts no valid sequence stands for itself
// (the shared decoder's Windows-1252 rule is not needed here: the pane only holds UTF-8).
char32_t NextCodePoint(const std::string& text, std::size_t& at)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    if (at + length > text.size())
        length = 1;
    char32_t value = length == 1 ? byte : byte & (0x3F >> (length - 1));
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            length = 1;
            value = byte;
            break;
        }
        value = (value << 6) | (next & 0x3F);
    }
    at += length;
    return value;
}

void AppendUnicode(std::string& out, int unit)
{
    // \uN takes a signed 16-bit number; the '?' is what a reader without Unicode shows.
    out += "\\u" + std::to_string(static_cast<std::int16_t>(unit)) + "?";
}

void AppendEscaped(std::string& out, const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        if (c == '\n')
            out += "\\par\n";
        else if (c == '\r')
            continue;
        else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\t')
            out += "\\tab ";
        else if (c < 0x20)
            continue;
        else if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0x10000)
            AppendUnicode(out, static_cast<int>(c));
        else {
            const char32_t v = c - 0x10000;
            AppendUnicode(out, static_cast<int>(0xD800 + (v >> 10)));
            AppendUnicode(out, static_cast<int>(0xDC00 + (v & 0x3FF)));
        }
    }
}

}  // namespace

std::string WriteTraceRtf(const std::vector<ColouredRun>& runs, const std::string& fontName, int halfPoints)
{
    std::vector<std::uint32_t> colours;
    for (const ColouredRun& run : runs)
        if (std::find(colours.begin(), colours.end(), run.colour) == colours.end())
            colours.push_back(run.colour);

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fmodern ";
    AppendEscaped(out, fontName);
    out += ";}}\n{\\colortbl ;";
    for (const std::uint32_t colour : colours) {
        out += "\\red" + std::to_string(colour & 0xFF) + "\\green" + std::to_string((colour >> 8) & 0xFF) + "\\blue" +
               std::to_string((colour >> 16) & 0xFF) + ";";
    }
    out += "}\n\\pard\\plain\\f0\\fs" + std::to_string(halfPoints) + "\n";
    int current = -1;
    for (const ColouredRun& run : runs) {
        const int index = static_cast<int>(std::find(colours.begin(), colours.end(), run.colour) - colours.begin()) + 1;
        if (index != current) {
            out += "\\cf" + std::to_string(index) + " ";
            current = index;
        }
        AppendEscaped(out, run.text);
    }
    out += "}\n";
    return out;
}

}  // namespace zov::output
