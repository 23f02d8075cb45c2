#include "ide/editor/model/SyntaxColouring.h"

#include "ide/editor/model/WordRules.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/interfaces/model/SyntaxLanguage.h"

namespace zov::editor {

namespace {

QChar DelimiterChar(char32_t code)
{
    return code > 0 && code <= 0xFFFF ? QChar(static_cast<char16_t>(code)) : QChar();
}

// Whether `marker` (not empty) stands whole in the line at `at`.
bool MarkerAt(QStringView line, int at, const QString& marker)
{
    return !marker.isEmpty() && at + marker.size() <= line.size() && line.mid(at, marker.size()) == marker;
}

void AppendUtf8Of(std::string& out, QStringView text)
{
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else if (code < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (code >> 18)));
            out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

template <class Accept>
bool AllFrom(QStringView text, qsizetype from, Accept accept)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (!accept(text[i]))
            return false;
    }
    return true;
}

// Blocks are kept in order of position: one that would start before the last is dropped.
class BlockSink {
public:
    explicit BlockSink(std::vector<ColourBlock>* blocks) : blocks_(blocks) {}
    void Add(int at, int colour)
    {
        if (blocks_ == nullptr || (!blocks_->empty() && at < blocks_->back().charIndex))
            return;
        blocks_->push_back({at, colour});
    }
    bool Wanted() const { return blocks_ != nullptr; }

private:
    std::vector<ColourBlock>* blocks_;
};

}  // namespace

SyntaxMarkers MarkersForLanguage(const interfaces::SyntaxLanguage* language)
{
    SyntaxMarkers markers;
    if (language == nullptr)
        return markers;
    markers.language = language;
    markers.lineComment = QString::fromStdString(language->lineComment);
    markers.stringDelimiter1 = DelimiterChar(language->stringDelimiter1);
    markers.stringDelimiter2 = DelimiterChar(language->stringDelimiter2);
    markers.blockCommentStart = QString::fromStdString(language->blockCommentStart);
    markers.blockCommentEnd = QString::fromStdString(language->blockCommentEnd);
    markers.commentChar = markers.lineComment.isEmpty() ? QChar() : markers.lineComment.front();
    return markers;
}

bool IsColourWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

bool IsNumber(QStringView text)
{
    if (text.size() >= 3 && text[0] == u'0') {
        switch (text[1].unicode()) {
        case u'x':
            return AllFrom(text, 2,
                           [](QChar c) { return IsDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f'); });
        case u'b':
            return AllFrom(text, 2, [](QChar c) { return c == u'0' || c == u'1'; });
        case u'o':
            return AllFrom(text, 2, [](QChar c) { return c >= u'0' && c <= u'7'; });
        case u'd':
            return IsDigit(text[2]);
        default:
            break;
        }
    }
    if (text.isEmpty() || !IsDigit(text[0]))
        return false;
    return AllFrom(text, 1,
                   [](QChar c) { return IsDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E'; });
}

std::vector<int> EffectiveColours(const std::vector<ColourBlock>& blocks, int length)
{
    std::vector<int> colours(static_cast<std::size_t>(std::max(length, 0)), Colour_Normal);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const int from = std::max(blocks[b].charIndex, 0);
        const int to = b + 1 < blocks.size() ? std::min(blocks[b + 1].charIndex, length) : length;
        for (int i = from; i < to; ++i)
            colours[static_cast<std::size_t>(i)] = blocks[b].colourIndex;
    }
    return colours;
}

const std::string& SyntaxColourer::Utf8(QStringView text) const
{
    AppendUtf8Of(scratch_, text);
    return scratch_;
}

bool SyntaxColourer::IsMacroName(QStringView word) const
{
    return names_ != nullptr && !word.isEmpty() && names_->IsMacroName(Utf8(word));
}

int SyntaxColourer::ClassifyWord(QStringView word) const
{
    if (word.isEmpty())
        return 0;
    if (markers_.language != nullptr || names_ != nullptr) {
        const std::string& text = Utf8(word);
        if (names_ != nullptr && names_->IsMacroName(text))
            return Colour_Macro;
        if (markers_.language != nullptr && markers_.language->HasKeyword(text))
            return Colour_Keyword;
        if (names_ != nullptr) {
            if (names_->FindFunctionPrefix(text, text.size()))
                return Colour_Function;
            if (names_->FindCliPrefix(text, text.size()))
                return Colour_Cli;
            if (names_->FindConstantPrefix(text, text.size()))
                return Colour_Constant;
        }
    }
    return IsNumber(word) ? Colour_Number : 0;
}

QString SyntaxColourer::MacroCallName(QStringView line) const
{
    qsizetype first = 0;
    qsizetype last = line.size();
    while (first < last && IsBlankChar(line[first]))
        ++first;
    while (last > first && IsBlankChar(line[last - 1]))
        --last;
    const QStringView name = line.mid(first, last - first);
    return IsMacroName(name) ? name.toString() : QString();
}

std::uint32_t SyntaxColourer::ColourLine(QStringView line, std::uint32_t cookie, std::vector<ColourBlock>* blocks) const
{
    if (blocks != nullptr)
        blocks->clear();
    const int n = static_cast<int>(line.size());
    if (n == 0)
        return cookie & Cookie_BlockComment;

    BlockSink sink(blocks);
    const QChar delimiter1 = markers_.stringDelimiter1;
    const QChar delimiter2 = markers_.stringDelimiter2;
    const auto isDelimiter = [&](QChar c) { return !c.isNull() && (c == delimiter1 || c == delimiter2); };
    const bool blockComments = !markers_.blockCommentEnd.isEmpty();

    bool newBlock = true;
    bool oneBack = false;
    int wordStart = -1;
    // A word ends at the first character that is not part of it; it is classified before any
    // marker that stands right behind it, so that "for;" shows "for" as a keyword.
    const auto closeWord = [&](int end) {
        if (wordStart < 0)
            return;
        if (const int colour = ClassifyWord(line.mid(wordStart, end - wordStart)); colour != 0)
            sink.Add(wordStart, colour);
        wordStart = -1;
    };

    int i = 0;
    for (;;) {
        if (newBlock) {
            const int colour = (cookie & (Cookie_LineComment | Cookie_BlockComment)) ? Colour_Comment
                               : (cookie & Cookie_String)                            ? Colour_String
                                                                                     : Colour_Normal;
            sink.Add(oneBack ? i - 1 : i, colour);
            newBlock = false;
            oneBack = false;
        }
        if (i >= n)
            break;
        if (cookie & Cookie_LineComment) {
            sink.Add(i, Colour_Comment);
            break;
        }
        if (blockComments) {
            if (cookie & Cookie_BlockComment) {
                if (MarkerAt(line, i, markers_.blockCommentEnd)) {
                    for (qsizetype k = 0; k < markers_.blockCommentEnd.size(); ++k)
                        sink.Add(i + static_cast<int>(k), Colour_Comment);
                    i += static_cast<int>(markers_.blockCommentEnd.size());
                    cookie &= ~std::uint32_t{Cookie_BlockComment};
                    newBlock = true;
                } else {
                    sink.Add(i, Colour_Comment);
                    ++i;
                }
                continue;
            }
            // Inside a string the start marker is text.
            if (!(cookie & Cookie_String) && MarkerAt(line, i, markers_.blockCommentStart)) {
                closeWord(i);
                for (qsizetype k = 0; k < markers_.blockCommentStart.size(); ++k)
                    sink.Add(i + static_cast<int>(k), Colour_Comment);
                i += static_cast<int>(markers_.blockCommentStart.size());
                cookie |= Cookie_BlockComment;
                continue;
            }
        }
        const QChar c = line[i];
        if (cookie & Cookie_String) {
            if (isDelimiter(c) && (i == 0 || line[i - 1] != u'\\')) {
                cookie &= ~std::uint32_t{Cookie_String};
                newBlock = true;
            }
            ++i;
            continue;
        }
        if (MarkerAt(line, i, markers_.lineComment)) {
            closeWord(i);
            sink.Add(i, Colour_Comment);
            cookie |= Cookie_LineComment;
            break;
        }
        if (isDelimiter(c)) {
            closeWord(i);
            sink.Add(i, Colour_String);
            cookie |= Cookie_String;
            ++i;
            continue;
        }
        if (!sink.Wanted()) {
            ++i;
            continue;
        }
        if (IsColourWordChar(c)) {
            if (wordStart < 0)
                wordStart = i;
        } else if (wordStart >= 0) {
            closeWord(i);
            newBlock = true;
            oneBack = true;
        }
        ++i;
    }
    if (sink.Wanted())
        closeWord(std::min(i, n));
    if (line[n - 1] == u'\\')
        return cookie;
    return cookie & Cookie_BlockComment;
}

}  // namespace zov::editor
