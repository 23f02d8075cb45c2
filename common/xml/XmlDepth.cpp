#include "common/xml/XmlDepth.h"

#include "common/AsciiCase.h"

#include <algorithm>
#include <cctype>

namespace zov::xml {

namespace {

class DepthScanner {
public:
    explicit DepthScanner(std::string_view text) : m_text(text) {}

    std::optional<int> Run()
    {
        while (m_pos < m_text.size()) {
            if (m_text[m_pos] != '<') {
                // Text runs to the next '<' that starts a character, as the parser steps through it
                // (a character reference may reach far ahead, see CharEnd).
                SkipChars('<');
                continue;
            }
            // Where the parser would swallow the rest of the text (an unterminated comment, CDATA
            // section, unknown tag or end tag) or stop at a declaration it cannot read, it builds
            // nothing more. The scan does not rely on that: it counts every element opening in the
            // rest as one level deeper (see OpeningsAfter), which can only find more depth than the
            // parser, never less, whatever the parser really does there.
            const size_t start = m_pos;
            bool ok = true;
            size_t opening = 1;
            if (StartsWith("</")) {
                // Inside an element this always ends it (or the parser stops on a wrong name);
                // outside, it is an unknown tag.
                if (m_depth > 0) {
                    --m_depth;
                }
                opening = 2;
                ok = SkipPast(">");
            } else if (StartsWithIgnoringCase("<?xml")) {
                opening = 5;
                ok = Declaration();
            } else if (StartsWith("<!--")) {
                m_pos += 4;
                opening = 4;
                ok = SkipPast("-->");
            } else if (StartsWith("<![CDATA[")) {
                m_pos += 9;
                opening = 9;
                ok = SkipPast("]]>");
            } else if (m_pos + 1 < m_text.size() && IsNameStart(m_text[m_pos + 1])) {
                if (!StartTag()) {
                    return std::nullopt;
                }
            } else {
                ok = SkipPast(">");
            }
            if (!ok) {
                return std::max(m_deepest, m_depth + OpeningsAfter(start + opening));
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
    bool StartsWith(std::string_view prefix) const { return m_text.substr(m_pos, prefix.size()) == prefix; }
    bool StartsWithIgnoringCase(std::string_view prefix) const
    {
        return zov::StartsWithIgnoringAsciiCase(m_text.substr(m_pos), prefix);
    }

    // Every '<' from pos on that could start an element, as if none of them were ever closed.
    int OpeningsAfter(size_t pos) const
    {
        int openings = 0;
        for (pos = m_text.find('<', pos); pos != std::string_view::npos; pos = m_text.find('<', pos + 1)) {
            if (pos + 1 < m_text.size() && IsNameStart(m_text[pos + 1])) {
                ++openings;
            }
        }
        return openings;
    }

    // False, without moving, when the end does not come: the parser then consumes the rest of the text.
    bool SkipPast(std::string_view end)
    {
        const size_t found = m_text.find(end, m_pos);
        if (found == std::string_view::npos) {
            return false;
        }
        m_pos = found + end.size();
        return true;
    }

    // Where the character at pos ends as the parser reads text and quoted values. A lead byte
    // stands for as many bytes as its UTF-8 sequence would hold, whatever follows it. A character
    // reference "&#...;" or "&#x...;" runs to the first ';' after it, however far, as long as the
    // digits just before that ';' lead back to the '#' or 'x' of some reference: any '<', quote or
    // markup in between is taken as part of it. A reference the parser cannot read stops it with an
    // error; the scan then steps over the '&' alone and goes on, which can only count more.
    size_t CharEnd(size_t pos)
    {
        const auto byte = static_cast<unsigned char>(m_text[pos]);
        size_t length = 1;
        if (byte >= 0xC2 && byte <= 0xDF) {
            length = 2;
        } else if (byte >= 0xE0 && byte <= 0xEF) {
            length = 3;
        } else if (byte >= 0xF0 && byte <= 0xF4) {
            length = 4;
        } else if (byte == '&' && pos + 2 < m_text.size() && m_text[pos + 1] == '#') {
            const bool hex = m_text[pos + 2] == 'x';
            if (hex && pos + 3 >= m_text.size()) {
                return pos + 1;
            }
            const size_t semicolon = NextSemicolon(hex ? pos + 3 : pos + 2);
            if (semicolon == std::string_view::npos || !(hex ? m_hexBeforeSemicolon : m_decimalBeforeSemicolon)) {
                return pos + 1;
            }
            return semicolon + 1;
        }
        return std::min(pos + length, m_text.size());
    }

    // Steps character by character up to the first one that is the given byte, or to the end.
    void SkipChars(char until)
    {
        while (!AtEnd() && Current() != until) {
            m_pos = CharEnd(m_pos);
        }
    }

    // The first ';' from `from` on, and whether the digits just before it lead back to an 'x' (hex
    // digits) or a '#' (decimal digits). Positions only grow during a scan, so the answer is kept
    // until `from` passes it: the scan stays linear however many references share one ';'.
    size_t NextSemicolon(size_t from)
    {
        if (m_semicolonValid && from >= m_semicolonFrom &&
            (m_semicolon == std::string_view::npos || from <= m_semicolon)) {
            return m_semicolon;
        }
        m_semicolonValid = true;
        m_semicolonFrom = from;
        m_semicolon = m_text.find(';', from);
        m_hexBeforeSemicolon = false;
        m_decimalBeforeSemicolon = false;
        if (m_semicolon != std::string_view::npos) {
            size_t back = m_semicolon;
            while (back > 0 && std::isxdigit(static_cast<unsigned char>(m_text[back - 1]))) {
                --back;
            }
            m_hexBeforeSemicolon = back > 0 && m_text[back - 1] == 'x';
            back = m_semicolon;
            while (back > 0 && std::isdigit(static_cast<unsigned char>(m_text[back - 1]))) {
                --back;
            }
            m_decimalBeforeSemicolon = back > 0 && m_text[back - 1] == '#';
        }
        return m_semicolon;
    }

    // A tag the parser stops at: the caller then gets no depth at all.
    static bool Malformed() { return false; }

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
            // Read as text is, so a character reference can reach past the closing quote.
            const char quote = Current();
            ++m_pos;
            SkipChars(quote);
            if (AtEnd()) {
                return Malformed();
            }
            ++m_pos;
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
        // The parser skips white space (and the byte-order marks) between '<' and the name.
        ++m_pos;
        SkipWhiteSpace();
        SkipName();
        for (int attributes = 0;; ++attributes) {
            // The parser looks for a duplicate among the element's attributes before adding
            // each: past the limit the load would take longer than any reply may.
            if (attributes > kMaxAttributesPerElement) {
                return Malformed();
            }
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
    // skipped up to a blank or '>', and the first '>' outside those values ends it. False when the
    // parser stops inside it (an unreadable value, no '>'), which outside an element is no error.
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
    bool m_semicolonValid = false;
    size_t m_semicolonFrom = 0;
    size_t m_semicolon = std::string_view::npos;
    bool m_hexBeforeSemicolon = false;
    bool m_decimalBeforeSemicolon = false;
};

}  // namespace

std::optional<int> ElementDepth(std::string_view text)
{
    return DepthScanner(text).Run();
}

}  // namespace zov::xml
