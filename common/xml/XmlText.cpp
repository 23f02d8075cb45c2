#include "common/xml/XmlText.h"

#include "common/AsciiCase.h"
#include "common/TextCodec.h"

#include <algorithm>
#include <cstdio>

namespace zov::xml {

namespace {

using zov::AppendUtf8;
using zov::EqualsIgnoringAsciiCase;
using zov::NextChar;
using zov::Windows1252Char;

void AppendReference(std::string& out, char32_t code)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&#x%02X;", static_cast<unsigned>(code));
    out += buffer;
}

// Characters that XML 1.0 cannot hold even as a reference: shown as "\xHH" (or "\uHHHH").
bool IsForbiddenInXml(char32_t code)
{
    return (code < 0x20 && code != 0x09 && code != 0x0A && code != 0x0D) || code == 0xFFFE || code == 0xFFFF;
}

void AppendVisible(std::string& out, char32_t code)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, code < 0x100 ? "\\x%02X" : "\\u%04X", static_cast<unsigned>(code));
    out += buffer;
}

// Latin-1 bytes that may stand raw in a file: printable ASCII and U+00A0-U+00FF.
bool IsRawLatin1(char32_t code)
{
    return (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF);
}

std::string Escape(std::string_view utf8, bool keepBlanksFromFolding)
{
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    bool previousWasBlank = false;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t code = NextChar(utf8, pos);
        const bool isBlank = code == ' ';
        switch (code) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case ' ':
            if (keepBlanksFromFolding && (out.empty() || pos == utf8.size() || previousWasBlank)) {
                AppendReference(out, code);
            } else {
                out += ' ';
            }
            break;
        default:
            if (IsForbiddenInXml(code)) {
                AppendVisible(out, code);
            } else if (IsRawLatin1(code)) {
                out += static_cast<char>(code);
            } else {
                AppendReference(out, code);
            }
        }
        previousWasBlank = isBlank;
    }
    return out;
}

bool IsNameStart(char32_t code)
{
    return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == '_' ||
           (code >= 0xC0 && code <= 0xFF && code != 0xD7 && code != 0xF7);
}

bool IsNameChar(char32_t code)
{
    return IsNameStart(code) || (code >= '0' && code <= '9') || code == '-' || code == '.' || code == ':' ||
           code == 0xB7;
}

// The encoding named by the XML declaration at the start of the text, or empty.
std::string_view DeclaredEncoding(std::string_view text)
{
    size_t start = 0;
    while (start < text.size() &&
           (text[start] == ' ' || text[start] == '\t' || text[start] == '\n' || text[start] == '\r')) {
        ++start;
    }
    if (text.substr(start, 5) != "<?xml") {
        return {};
    }
    const size_t end = text.find("?>", start);
    const std::string_view declaration = text.substr(start, end == std::string_view::npos ? text.npos : end - start);
    const size_t key = declaration.find("encoding");
    if (key == std::string_view::npos) {
        return {};
    }
    size_t pos = key + 8;
    while (pos < declaration.size() && (declaration[pos] == ' ' || declaration[pos] == '=')) {
        ++pos;
    }
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\'')) {
        return {};
    }
    const char quote = declaration[pos];
    const size_t close = declaration.find(quote, pos + 1);
    if (close == std::string_view::npos) {
        return {};
    }
    return declaration.substr(pos + 1, close - pos - 1);
}

}  // namespace

std::string EscapeText(std::string_view utf8)
{
    return Escape(utf8, true);
}

std::string ElementText(std::string_view utf8)
{
    const bool onlyBlanks = !utf8.empty() && utf8.find_first_not_of(" \t\n") == std::string_view::npos;
    return onlyBlanks ? "<![CDATA[" + std::string(utf8) + "]]>" : EscapeText(utf8);
}

std::string EscapeAttribute(std::string_view utf8)
{
    return Escape(utf8, false);
}

std::string CommentText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t code = NextChar(utf8, pos);
        if (IsForbiddenInXml(code) || (code >= 0x7F && code < 0xA0)) {
            AppendVisible(out, code);
        } else if (code == '-' && !out.empty() && out.back() == '-') {
            out += " -";
        } else if (code <= 0xFF) {
            out += static_cast<char>(code);
        } else {
            out += '?';
        }
    }
    if (!out.empty() && out.back() == '-') {
        out += ' ';
    }
    return out;
}

bool IsWritableName(std::string_view utf8)
{
    if (utf8.empty()) {
        return false;
    }
    size_t pos = 0;
    if (!IsNameStart(NextChar(utf8, pos))) {
        return false;
    }
    while (pos < utf8.size()) {
        if (!IsNameChar(NextChar(utf8, pos))) {
            return false;
        }
    }
    return true;
}

std::string Latin1Name(std::string_view utf8)
{
    std::string out;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t code = NextChar(utf8, pos);
        out += code <= 0xFF ? static_cast<char>(code) : '?';
    }
    return out;
}

std::optional<std::string> PrepareXmlInput(std::string_view bytes)
{
    if (bytes.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    bool byteOrderMark = false;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
        byteOrderMark = true;
    }
    const std::string_view encoding = DeclaredEncoding(bytes);
    const bool utf8 = byteOrderMark || encoding.empty() || EqualsIgnoringAsciiCase(encoding, "UTF-8") ||
                      EqualsIgnoringAsciiCase(encoding, "UTF8");

    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    size_t pos = 0;
    while (pos < bytes.size()) {
        // Plain ASCII goes over in runs: most of a file is markup.
        size_t run = pos;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80 && bytes[run] != '\r') {
            ++run;
        }
        out.append(bytes.data() + pos, run - pos);
        pos = run;
        if (pos >= bytes.size()) {
            break;
        }
        char32_t code = 0;
        if (bytes[pos] == '\r') {
            code = '\n';
            ++pos;
            if (pos < bytes.size() && bytes[pos] == '\n') {
                ++pos;
            }
        } else if (utf8) {
            code = NextChar(bytes, pos);
        } else {
            code = Windows1252Char(static_cast<unsigned char>(bytes[pos++]));
        }
        AppendUtf8(out, code);
    }
    return out;
}

namespace {

// Whether the parser reads the '&' at the start of text as the start of a reference: the five
// predefined entities, and "&#" (a character reference, or an error the parser reports).
bool StartsKnownReference(std::string_view text)
{
    static constexpr std::string_view Known[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;", "&#"};
    for (const std::string_view known : Known) {
        if (text.substr(0, known.size()) == known) {
            return true;
        }
    }
    return false;
}

// The parser's element start: a letter (any byte from 0x7F up counts as one) or '_'.
bool StartsElementName(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x7F || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// Where a document type declaration that starts at pos ends (past its '>'), when it has an internal
// subset; npos when it has none or never ends (the parser then reads it as it is).
size_t InternalSubsetDocTypeEnd(std::string_view text, size_t pos)
{
    size_t p = pos + 9;  // "<!DOCTYPE"
    char quote = 0;
    for (; p < text.size() && text[p] != '['; ++p) {
        if (quote != 0) {
            quote = text[p] == quote ? 0 : quote;
        } else if (text[p] == '"' || text[p] == '\'') {
            quote = text[p];
        } else if (text[p] == '>') {
            return std::string_view::npos;
        }
    }
    quote = 0;
    for (++p; p < text.size(); ++p) {
        if (quote != 0) {
            quote = text[p] == quote ? 0 : quote;
        } else if (text.substr(p, 4) == "<!--") {
            const size_t end = text.find("-->", p + 4);
            if (end == std::string_view::npos) {
                return std::string_view::npos;
            }
            p = end + 2;
        } else if (text[p] == '"' || text[p] == '\'') {
            quote = text[p];
        } else if (text[p] == ']') {
            size_t close = p + 1;
            while (close < text.size() && (text[close] == ' ' || text[close] == '\t' || text[close] == '\n')) {
                ++close;
            }
            if (close < text.size() && text[close] == '>') {
                return close + 1;
            }
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string RepairForParser(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    size_t pos = 0;
    const auto copyPast = [&](std::string_view end) {
        const size_t found = text.find(end, pos);
        const size_t stop = found == std::string_view::npos ? text.size() : found + end.size();
        out.append(text.substr(pos, stop - pos));
        pos = stop;
    };
    const auto copyChar = [&] {
        if (text[pos] == '&' && !StartsKnownReference(text.substr(pos))) {
            out += "&amp;";
        } else {
            out += text[pos];
        }
        ++pos;
    };
    while (pos < text.size()) {
        if (text[pos] != '<') {
            // Text up to the next markup or reference goes over whole.
            size_t stop = pos;
            while (stop < text.size() && text[stop] != '<' && text[stop] != '&') {
                ++stop;
            }
            if (stop > pos) {
                out.append(text.substr(pos, stop - pos));
                pos = stop;
            } else {
                copyChar();
            }
            continue;
        }
        const std::string_view rest = text.substr(pos);
        if (rest.starts_with("<!--")) {
            copyPast("-->");
        } else if (rest.starts_with("<![CDATA[")) {
            copyPast("]]>");
        } else if (rest.starts_with("<!DOCTYPE")) {
            const size_t end = InternalSubsetDocTypeEnd(text, pos);
            if (end == std::string_view::npos) {
                copyPast(">");
            } else {
                pos = end;
            }
        } else if (rest.size() > 1 && (StartsElementName(rest[1]) || rest[1] == '/')) {
            // A tag: only quoted attribute values are read as text.
            out += '<';
            ++pos;
            char quote = 0;
            while (pos < text.size() && (quote != 0 || text[pos] != '>')) {
                if (quote != 0) {
                    if (text[pos] == quote) {
                        quote = 0;
                        out += text[pos++];
                    } else {
                        copyChar();
                    }
                    continue;
                }
                if (text[pos] == '"' || text[pos] == '\'') {
                    quote = text[pos];
                }
                out += text[pos++];
            }
            if (pos < text.size()) {
                out += text[pos++];
            }
        } else {
            // Declarations, processing instructions and other unknown tags run to the first '>'.
            copyPast(">");
        }
    }
    return out;
}

std::string_view DropIncompleteUtf8Tail(std::string_view text)
{
    // Look back over at most three continuation bytes for the lead byte of the last sequence.
    size_t back = 0;
    while (back < 3 && back < text.size() &&
           (static_cast<unsigned char>(text[text.size() - 1 - back]) & 0xC0) == 0x80) {
        ++back;
    }
    if (back == text.size()) {
        return text;
    }
    const unsigned char lead = static_cast<unsigned char>(text[text.size() - 1 - back]);
    size_t needed = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 4;
    }
    if (needed > back + 1) {
        text.remove_suffix(back + 1);
    }
    return text;
}

}  // namespace zov::xml
