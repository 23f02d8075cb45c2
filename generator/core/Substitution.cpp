#include "generator/core/Substitution.h"

#include "common/TextCodec.h"

#include <cstdio>
#include <utility>

namespace zov::vantoro {

namespace {

void ReplaceAll(std::string& text, std::string_view placeholder, const std::string& value)
{
    // The search goes on behind the inserted value: a value is never replaced into itself.
    size_t from = 0;
    while ((from = text.find(placeholder, from)) != std::string::npos) {
        text.replace(from, placeholder.size(), value);
        from += value.size();
    }
}

std::string Escape(std::string_view value, Escaping escaping)
{
    switch (escaping) {
    case Escaping::CString:
        return EscapeForCString(value);
    case Escaping::XmlWindows1252:
        return EscapeForXmlWindows1252(value);
    case Escaping::None:
        break;
    }
    return std::string(value);
}

// Appends text cut at every CR LF, CR or LF, each piece followed by CR LF.
void AppendLines(std::string& out, std::string_view text)
{
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        out.append(text.substr(start, i - start));
        out += "\r\n";
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    out.append(text.substr(start));
    out += "\r\n";
}

}  // namespace

std::string EscapeForCString(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '?':
            out += '?';
            if (i + 1 < value.size() && value[i + 1] == '?')
                out += '\\';
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char octal[5];
                std::snprintf(octal, sizeof octal, "\\%03o", c);
                out += octal;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out;
}

std::string EscapeForXmlWindows1252(std::string_view value)
{
    const std::string text = DecodeText(value);
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        const char32_t c = NextChar(text, pos);
        switch (c) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += "&quot;";
            continue;
        case '\'':
            out += "&apos;";
            continue;
        default:
            break;
        }
        // XML 1.0 has no place for these, not even as references.
        if ((c < 0x20 && c != '\t') || (c >= 0x7F && c <= 0x9F) || c == 0xFFFE || c == 0xFFFF) {
            out += '?';
            continue;
        }
        const std::string_view character = std::string_view(text).substr(start, pos - start);
        if (FitsWindows1252(character)) {
            out.append(character);
        } else {
            char reference[16];
            std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
            out += reference;
        }
    }
    return out;
}

std::string SubstituteLine(std::string_view line, const PlaceholderValues& values, Escaping escaping)
{
    const std::pair<std::string_view, const std::string*> order[] = {
        {"%%CLI%%", &values.cliName},
        {"%%EXIT%%", &values.exitMessage},
        {"%%SYNCHRO%%", &values.synchroMessage},
        {"%%INTERFACE%%", &values.synchroStreamWord},
        {"%%COPYRIGHT%%", &values.copyright},
        {"%%VERSION%%", &values.version},
    };
    std::string text(line);
    for (const auto& [placeholder, value] : order)
        ReplaceAll(text, placeholder, Escape(*value, escaping));
    return text;
}

std::string RenderTemplate(std::string_view text, const PlaceholderValues& values, Escaping escaping)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        AppendLines(out, SubstituteLine(line, values, escaping));
        start = next;
    }
    if (escaping == Escaping::XmlWindows1252)
        return Utf8ToWindows1252(out);
    return out;
}

}  // namespace zov::vantoro
