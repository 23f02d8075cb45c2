#include "common/TextCodec.h"

#include <array>
#include <cstdint>
#include <optional>

namespace zov {

namespace {

// Unicode values of the bytes 0x80 to 0x9F in Windows-1252; the rest of the upper half is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at `pos`; on success advances `pos` past it.
std::optional<char32_t> NextCodePoint(std::string_view s, size_t& pos)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() - pos < length) {
        return std::nullopt;
    }
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return cp;
}

}  // namespace

std::optional<unsigned char> Windows1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<unsigned char>(cp);
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return std::nullopt;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

char32_t Windows1252Char(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? kHighControls[byte - 0x80] : char32_t{byte};
}

char32_t NextChar(std::string_view text, size_t& pos)
{
    if (const auto cp = NextCodePoint(text, pos)) {
        return *cp;
    }
    return Windows1252Char(static_cast<unsigned char>(text[pos++]));
}

bool IsValidUtf8(std::string_view bytes)
{
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (!NextCodePoint(bytes, pos)) {
            return false;
        }
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        AppendUtf8(out, Windows1252Char(b));
    }
    return out;
}

std::string DecodeText(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

std::string Utf8ToWindows1252(std::string_view utf8, char replacement)
{
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = NextCodePoint(utf8, pos);
        if (!cp) {
            out.push_back(replacement);
            ++pos;
            continue;
        }
        const auto b = Windows1252Byte(*cp);
        out.push_back(b ? static_cast<char>(*b) : replacement);
    }
    return out;
}

bool FitsWindows1252(std::string_view utf8)
{
    size_t pos = 0;
    while (pos < utf8.size()) {
        const auto cp = NextCodePoint(utf8, pos);
        if (!cp || !Windows1252Byte(*cp)) {
            return false;
        }
    }
    return true;
}

}  // namespace zov
