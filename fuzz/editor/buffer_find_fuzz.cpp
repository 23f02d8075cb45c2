// Arbitrary search texts, flags and start positions over an arbitrary text: a match must hold
// the searched text (whole word when asked), and a forward search from the top must find a
// match exactly when a plain scan of the lines does.
#include "ide/editor/model/TextBuffer.h"
#include "ide/editor/model/TextSearch.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zov::editor;

namespace {

bool Holds(const CTextBuffer& buffer, const QString& what, TextPosition at, unsigned flags)
{
    const QString& line = buffer.GetLine(at.line);
    if (at.charIndex < 0 || at.charIndex + what.size() > line.size()) {
        return false;
    }
    const Qt::CaseSensitivity cs = (flags & Find_MatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (QStringView(line).mid(at.charIndex, what.size()).compare(what, cs) != 0) {
        return false;
    }
    if (flags & Find_WholeWord) {
        const qsizetype end = at.charIndex + what.size();
        if ((at.charIndex > 0 && IsWordChar(line[at.charIndex - 1])) || (end < line.size() && IsWordChar(line[end]))) {
            return false;
        }
    }
    return true;
}

bool PlainScan(const CTextBuffer& buffer, const QString& what, unsigned flags)
{
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        for (int at = 0; at + what.size() <= buffer.GetLineLength(line); ++at) {
            if (Holds(buffer, what, {at, line}, flags)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 3) {
        return 0;
    }
    const unsigned flags = data[0] & (Find_MatchCase | Find_WholeWord | Find_Up);
    const bool wrap = (data[0] & 0x80) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const size_t cut = rest.find('\x01');
    const std::string_view what = cut == std::string_view::npos ? rest.substr(0, 1) : rest.substr(0, cut);
    const std::string_view text = cut == std::string_view::npos ? rest.substr(1) : rest.substr(cut + 1);
    CTextBuffer buffer;
    if (!buffer.LoadFromBytes(text)) {
        std::abort();
    }
    const QString searched = QString::fromUtf8(what.data(), static_cast<qsizetype>(what.size()));
    const int startLine = data[1] % buffer.GetLineCount();
    const TextPosition start{(data[1] / 8) % (buffer.GetLineLength(startLine) + 1), startLine};
    TextPosition found;
    if (FindText(buffer, searched, start, flags, wrap, found) && !Holds(buffer, searched, found, flags)) {
        std::abort();
    }
    const bool single = !searched.contains(u'\r') && !searched.contains(u'\n');
    const bool fromTop = FindText(buffer, searched, {0, 0}, flags & ~Find_Up, false, found);
    if (fromTop != (single && !searched.isEmpty() && PlainScan(buffer, searched, flags))) {
        std::abort();
    }
    return 0;
}
