#include "ide/editor/model/WordRules.h"

#include "ide/editor/model/TextSearch.h"

#include <algorithm>
#include <utility>

namespace zov::editor {

bool IsBlankChar(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

TextPosition WordLeftTarget(const CTextBuffer& buffer, TextPosition from)
{
    if (!buffer.IsValidPosition(from)) {
        return from;
    }
    if (from.charIndex == 0) {
        return from.line > 0 ? TextPosition{buffer.GetLineLength(from.line - 1), from.line - 1} : from;
    }
    const QString& line = buffer.GetLine(from.line);
    int at = from.charIndex;
    while (at > 0 && IsBlankChar(line[at - 1])) {
        --at;
    }
    if (at > 0 && IsWordChar(line[at - 1])) {
        while (at > 0 && IsWordChar(line[at - 1])) {
            --at;
        }
    } else {
        while (at > 0 && !IsWordChar(line[at - 1]) && !IsBlankChar(line[at - 1])) {
            --at;
        }
    }
    return {at, from.line};
}

TextPosition WordRightTarget(const CTextBuffer& buffer, TextPosition from)
{
    if (!buffer.IsValidPosition(from)) {
        return from;
    }
    const QString& line = buffer.GetLine(from.line);
    const int length = static_cast<int>(line.size());
    if (from.charIndex == length) {
        return from.line + 1 < buffer.GetLineCount() ? TextPosition{0, from.line + 1} : from;
    }
    int at = from.charIndex;
    if (IsWordChar(line[at])) {
        while (at < length && IsWordChar(line[at])) {
            ++at;
        }
    } else {
        while (at < length && !IsWordChar(line[at]) && !IsBlankChar(line[at])) {
            ++at;
        }
    }
    while (at < length && IsBlankChar(line[at])) {
        ++at;
    }
    return {at, from.line};
}

int WordToLeft(QStringView line, int charIndex)
{
    int at = std::clamp(charIndex, 0, static_cast<int>(line.size()));
    while (at > 0 && IsWordChar(line[at - 1])) {
        --at;
    }
    return at;
}

int WordToRight(QStringView line, int charIndex)
{
    const int length = static_cast<int>(line.size());
    int at = std::clamp(charIndex, 0, length);
    while (at < length && IsWordChar(line[at])) {
        ++at;
    }
    return at;
}

QString WordAround(QStringView line, int charIndex)
{
    const int left = WordToLeft(line, charIndex);
    return line.mid(left, WordToRight(line, charIndex) - left).toString();
}

int HomeTarget(QStringView line, int charIndex)
{
    int first = 0;
    while (first < line.size() && IsBlankChar(line[first])) {
        ++first;
    }
    if (first == line.size() || charIndex == first) {
        return 0;
    }
    return first;
}

int CaseChangeAction(CaseChange change)
{
    switch (change) {
    case CaseChange::Lower:
        return UndoAction_LowerCase;
    case CaseChange::Upper:
        return UndoAction_UpperCase;
    case CaseChange::Swap:
        return UndoAction_SwapCase;
    case CaseChange::Capitalise:
        return UndoAction_Capitalise;
    }
    return UndoAction_Unknown;
}

QString ConvertCase(QStringView text, CaseChange change)
{
    QString out(text.size(), Qt::Uninitialized);
    bool afterBlank = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        QChar converted = c;
        switch (change) {
        case CaseChange::Lower:
            converted = c.toLower();
            break;
        case CaseChange::Upper:
            converted = c.toUpper();
            break;
        case CaseChange::Swap:
            converted = c.isLower() ? c.toUpper() : c.toLower();
            break;
        case CaseChange::Capitalise:
            if (c.isLetter()) {
                converted = afterBlank ? c.toUpper() : c.toLower();
            }
            afterBlank = IsBlankChar(c);
            break;
        }
        out[i] = converted;
    }
    return out;
}

bool ApplyCaseChange(CTextBuffer& buffer, BufferView* view, TextPosition start, TextPosition end, CaseChange change)
{
    if (end < start) {
        std::swap(start, end);
    }
    if (start == end || buffer.IsReadOnly() || !buffer.IsValidPosition(start) || !buffer.IsValidPosition(end)) {
        return false;
    }
    const QString text = buffer.GetText(start, end);
    const int action = CaseChangeAction(change);
    buffer.OpenUndoGroup(false);
    bool ok = buffer.DeleteTextUndoable(view, start, end, action);
    if (ok) {
        ok = buffer.InsertTextUndoable(view, start, ConvertCase(text, change), nullptr, action);
    }
    buffer.CloseUndoGroup(view);
    return ok;
}

}  // namespace zov::editor
