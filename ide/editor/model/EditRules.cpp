#include "ide/editor/model/EditRules.h"

#include "ide/editor/model/WordRules.h"

#include <algorithm>
#include <utility>

namespace zov::editor {

QString LeadingBlanks(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && IsBlankChar(line[count])) {
        ++count;
    }
    return line.left(count).toString();
}

QString AutoIndentText(const CTextBuffer& buffer, int line)
{
    return line > 0 && line < buffer.GetLineCount() ? LeadingBlanks(buffer.GetLine(line - 1)) : QString();
}

std::optional<TextPosition> AutoIndentAfterEdit(CTextBuffer& buffer, BufferView* view, TextPosition caret, int action,
                                                const QString& text, bool autoIndent, bool overwrite)
{
    if (!autoIndent || overwrite || action != UndoAction_Typing || text != QStringLiteral("\r\n")) {
        return std::nullopt;
    }
    const QString indent = AutoIndentText(buffer, caret.line);
    TextPosition end;
    if (indent.isEmpty() || !buffer.InsertTextUndoable(view, caret, indent, &end, UndoAction_AutoIndent)) {
        return std::nullopt;
    }
    return end;
}

std::optional<LineRange> BlockLines(TextPosition selectionStart, TextPosition selectionEnd)
{
    if (selectionEnd < selectionStart) {
        std::swap(selectionStart, selectionEnd);
    }
    if (selectionStart.line == selectionEnd.line) {
        return std::nullopt;
    }
    const int last = selectionEnd.charIndex == 0 ? selectionEnd.line - 1 : selectionEnd.line;
    return LineRange{selectionStart.line, last};
}

Selection WholeLineSelection(const CTextBuffer& buffer, LineRange lines)
{
    const TextPosition start{0, lines.first};
    if (lines.last + 1 >= buffer.GetLineCount()) {
        return {start, buffer.GetEndPosition()};
    }
    return {start, {0, lines.last + 1}};
}

namespace {

// Runs one edit per line of the range inside one undo group.
template <typename Edit>
bool EachLine(CTextBuffer& buffer, BufferView* view, LineRange lines, Edit&& edit)
{
    if (buffer.IsReadOnly() || lines.first < 0 || lines.last >= buffer.GetLineCount() || lines.last < lines.first) {
        return false;
    }
    bool ok = true;
    buffer.OpenUndoGroup(false);
    for (int line = lines.first; line <= lines.last && ok; ++line) {
        ok = edit(line);
    }
    buffer.CloseUndoGroup(view);
    return ok;
}

}  // namespace

bool IndentLines(CTextBuffer& buffer, BufferView* view, LineRange lines)
{
    return EachLine(buffer, view, lines, [&](int line) {
        return buffer.InsertTextUndoable(view, {0, line}, u"\t", nullptr, UndoAction_Indent);
    });
}

bool UnindentLines(CTextBuffer& buffer, BufferView* view, LineRange lines, int tabWidth)
{
    return EachLine(buffer, view, lines, [&](int line) {
        const QString& text = buffer.GetLine(line);
        int count = 0;
        if (!text.isEmpty() && text[0] == u'\t') {
            count = 1;
        } else {
            while (count < tabWidth && count < text.size() && text[count] == u' ') {
                ++count;
            }
        }
        return count == 0 || buffer.DeleteTextUndoable(view, {0, line}, {count, line}, UndoAction_Indent);
    });
}

bool CommentLines(CTextBuffer& buffer, BufferView* view, LineRange lines, QChar commentChar)
{
    const QString mark(commentChar);
    return EachLine(buffer, view, lines, [&](int line) {
        return buffer.InsertTextUndoable(view, {0, line}, mark, nullptr, UndoAction_Comment);
    });
}

bool UncommentLines(CTextBuffer& buffer, BufferView* view, LineRange lines, QChar commentChar)
{
    return EachLine(buffer, view, lines, [&](int line) {
        const QString& text = buffer.GetLine(line);
        if (text.isEmpty() || text[0] != commentChar) {
            return true;
        }
        return buffer.DeleteTextUndoable(view, {0, line}, {1, line}, UndoAction_Uncomment);
    });
}

QString FunctionCallText(const QString& name, int parameterCount)
{
    QString text = name;
    if (parameterCount <= 0) {
        return text + QStringLiteral("()");
    }
    text += u'(';
    for (int i = 0; i < parameterCount; ++i) {
        text += i == 0 ? QStringLiteral("_") : QStringLiteral(", _");
    }
    return text + u')';
}

}  // namespace zov::editor
