#include "XmlDepth.h"

#include <algorithm>
#include <cctype>

namespace pirrow {

namespace {

class DepthScanner {
public:
    explicit DepthScanner(std::string_view text) : m_text(text) {}

    std::optional<int> Run()
    {
        while (m_pos < m_text.size()) {
            if (m_text[m_pos] != '<') {
                // Text runs to the next '<' (entities hold only digits or fixed names, never '<').
                Advance(m_text.find('<', m_pos));
                continue;
            }
            bool ok = true;
            if (StartsWith("</")) {
                // Inside an element this always ends it (or the parser stops on a wrong name);
                // outside, it is an unknown tag.
                if (m_depth > 0) {
                    --m_depth;
                }
                ok = SkipPast(">");
            } else if (StartsWithIgnoringCase("<?xml")) {
                ok = Declaration();
            } else if (StartsWith("<!--")) {
                m_pos += 4;
                ok = SkipPast("-->");
            } else if (StartsWith("<![CDATA[")) {
                m_pos += 9;
                ok = SkipPast("]]>");
            } else if (m_pos + 1 < m_text.size() && IsNameStart(m_text[m_pos + 1])) {
                ok = StartTag();
            } else {
                ok = SkipPast(">");
            }
            if (!ok) {
                return m_malformed ? std::nullopt : std::optional<int>(m_deepest);
            }
        }
        return m_deepest;
    }

private:
    // The parser's character classes: every byte from 0x7F up counts as a letter.
    static bool IsNameStart(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x7F || std::isalpha(byte) || c == '_';
    }
    static bool IsNameChar(char c)
    {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x7F || std::isalnum(byte) || c == '_' || c == '-' || c == '.' || c == ':';
    }
    static bool IsWhiteSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Current() const { return m_text[m_pos]; }
    void Advance(size_t to) { m_pos = std::min(to, m_text.size()); }
    bool StartsWith(std::string_view prefix) const { return m_text.substr(m_pos, prefix.size()) == prefix; }
    bool StartsWithIgnoringCase(std::string_view prefix) const
    {
        const std::string_view here = m_text.substr(m_pos, prefix.size());
        return here.size() == prefix.size() && std::equal(here.begin(), here.end(), prefix.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    }

    // False (the scan ends, the text is not malformed) when the end does not come: the parser then
    // consumes the rest of the text too.
    bool SkipPast(std::string_view end)
    {
        const size_t found = m_text.find(end, m_pos);
        Advance(found == std::string_view::npos ? found : found + end.size());
        return found != std::string_view::npos;
    }

    bool Malformed()
    {
        m_malformed = true;
        return false;
    }

    // White space as the parser skips it, including the byte-order mark and U+FFFE, U+FFFF.
    void SkipWhiteSpace()
    {
        while (!AtEnd()) {
            if (IsWhiteSpace(Current())) {
                ++m_pos;
            } else if (StartsWith("\xEF\xBB\xBF") || StartsWith("\xEF\xBF\xBE") || StartsWith("\xEF\xBF\xBF")) {
                m_pos += 3;
            } else {
                return;
            }
        }
    }

    void SkipName()
    {
        while (!AtEnd() && IsNameChar(Current())) {
            ++m_pos;
        }
    }

    // name = value, with the value quoted or bare.
    bool Attribute()
    {
        if (AtEnd() || !IsNameStart(Current())) {
            return Malformed();
        }
        SkipName();
        SkipWhiteSpace();
        if (AtEnd() || Current() != '=') {
            return Malformed();
        }
        ++m_pos;
        SkipWhiteSpace();
        if (AtEnd()) {
            return Malformed();
        }
        if (Current() == '"' || Current() == '\'') {
            const size_t close = m_text.find(Current(), m_pos + 1);
            if (close == std::string_view::npos) {
                return Malformed();
            }
            m_pos = close + 1;
            return true;
        }
        while (!AtEnd() && !IsWhiteSpace(Current()) && Current() != '/' && Current() != '>') {
            if (Current() == '"' || Current() == '\'') {
                return Malformed();
            }
            ++m_pos;
        }
        return true;
    }

    bool StartTag()
    {
        ++m_pos;
        SkipName();
        for (;;) {
            SkipWhiteSpace();
            if (AtEnd()) {
                return Malformed();
            }
            if (Current() == '/') {
                if (m_pos + 1 >= m_text.size() || m_text[m_pos + 1] != '>') {
                    return Malformed();
                }
                m_pos += 2;
                m_deepest = std::max(m_deepest, m_depth + 1);
                return true;
            }
            if (Current() == '>') {
                ++m_pos;
                m_deepest = std::max(m_deepest, ++m_depth);
                return true;
            }
            if (!Attribute() || AtEnd()) {
                return Malformed();
            }
        }
    }

    // Only the version, encoding and standalone values are read as attributes; anything else is
    // skipped up to a blank or '>', and the first '>' outside those values ends it.
    bool Declaration()
    {
        m_pos += 5;
        while (!AtEnd()) {
            if (Current() == '>') {
                ++m_pos;
                return true;
            }
            SkipWhiteSpace();
            if (StartsWithIgnoringCase("version") || StartsWithIgnoringCase("encoding") ||
                StartsWithIgnoringCase("standalone")) {
                if (!Attribute()) {
                    return false;
                }
            } else {
                while (!AtEnd() && Current() != '>' && !IsWhiteSpace(Current())) {
                    ++m_pos;
                }
            }
        }
        return Malformed();
    }

    std::string_view m_text;
    size_t m_pos = 0;
    int m_depth = 0;
    int m_deepest = 0;
    bool m_malformed = false;
};

} // namespace

std::optional<int> ElementDepth(std::string_view text)
{
    return DepthScanner(text).Run();
}

} // namespace pirrow
