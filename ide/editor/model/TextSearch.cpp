#include "ide/editor/model/TextSearch.h"

#include <algorithm>

namespace zov::editor {

namespace {

bool IsWholeWordAt(QStringView line, int at, int length)
{
    const bool before = at > 0 && IsWordChar(line[at - 1]);
    const bool after = at + length < line.size() && IsWordChar(line[at + length]);
    return !before && !after;
}

TextPosition Clamp(TextPosition p, TextPosition low, TextPosition high)
{
    if (p < low) {
        return low;
    }
    if (high < p) {
        return high;
    }
    return p;
}

}  // namespace

bool IsWordChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
}

int FindInLine(QStringView line, QStringView what, int minStart, int maxStart, int maxEnd, unsigned flags)
{
    const int length = static_cast<int>(what.size());
    if (length == 0) {
        return -1;
    }
    const Qt::CaseSensitivity cs = (flags & Find_MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool whole = (flags & Find_WholeWord) != 0;
    minStart = std::max(minStart, 0);
    maxEnd = std::min(maxEnd, static_cast<int>(line.size()));
    maxStart = std::min(maxStart, maxEnd - length + 1);
    if (minStart >= maxStart) {
        return -1;
    }
    if (flags & Find_Up) {
        int from = maxStart - 1;
        while (from >= minStart) {
            const int at = static_cast<int>(line.lastIndexOf(what, from, cs));
            if (at < minStart) {
                return -1;
            }
            if (!whole || IsWholeWordAt(line, at, length)) {
                return at;
            }
            from = at - 1;
        }
        return -1;
    }
    int from = minStart;
    while (from < maxStart) {
        const int at = static_cast<int>(line.indexOf(what, from, cs));
        if (at < 0 || at >= maxStart) {
            return -1;
        }
        if (!whole || IsWholeWordAt(line, at, length)) {
            return at;
        }
        // A rejected occurrence: go on from the character after its first one.
        from = at + 1;
    }
    return -1;
}

bool FindTextInBlock(const CTextBuffer& buffer, QStringView what, TextPosition start, TextPosition blockStart,
                     TextPosition blockEnd, unsigned flags, bool wrap, TextPosition& found)
{
    if (what.isEmpty() || what.contains(u'\r') || what.contains(u'\n') || buffer.GetLineCount() == 0 ||
        !buffer.IsValidPosition(blockStart) || !buffer.IsValidPosition(blockEnd) || blockEnd < blockStart) {
        return false;
    }
    start = Clamp(start, blockStart, blockEnd);
    constexpr int kAny = 1 << 30;
    // One line of the block: occurrences starting in [minStart, maxStart).
    auto search = [&](int line, int minStart, int maxStart) {
        const QString& text = buffer.GetLine(line);
        const int low = line == blockStart.line ? std::max(minStart, blockStart.charIndex) : minStart;
        const int maxEnd = line == blockEnd.line ? blockEnd.charIndex : static_cast<int>(text.size());
        const int at = FindInLine(text, what, low, maxStart, maxEnd, flags);
        if (at >= 0) {
            found = {at, line};
            return true;
        }
        return false;
    };
    if (flags & Find_Up) {
        for (int line = start.line; line >= blockStart.line; --line) {
            if (search(line, 0, line == start.line ? start.charIndex : kAny)) {
                return true;
            }
        }
        if (wrap) {
            for (int line = blockEnd.line; line >= start.line; --line) {
                if (search(line, line == start.line ? start.charIndex : 0, kAny)) {
                    return true;
                }
            }
        }
        return false;
    }
    for (int line = start.line; line <= blockEnd.line; ++line) {
        if (search(line, line == start.line ? start.charIndex : 0, kAny)) {
            return true;
        }
    }
    if (wrap) {
        for (int line = blockStart.line; line <= start.line; ++line) {
            if (search(line, 0, line == start.line ? start.charIndex : kAny)) {
                return true;
            }
        }
    }
    return false;
}

bool FindText(const CTextBuffer& buffer, QStringView what, TextPosition start, unsigned flags, bool wrap,
              TextPosition& found)
{
    return FindTextInBlock(buffer, what, start, {0, 0}, buffer.GetEndPosition(), flags, wrap, found);
}

}  // namespace zov::editor
