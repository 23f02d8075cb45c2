#pragma once
// The text rules of the editor view that need no widget: automatic indentation, block indent,
// unindent, comment and uncomment of whole lines, and the function-call skeleton.

#include "ide/editor/model/TextBuffer.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace zov::editor {

struct LineRange {
    int first = 0;
    int last = 0;
    friend bool operator==(const LineRange&, const LineRange&) = default;
};

struct Selection {
    TextPosition start;
    TextPosition end;
    friend bool operator==(const Selection&, const Selection&) = default;
};

// The leading blanks (isspace) of a line: what Enter copies from the line above.
QString LeadingBlanks(QStringView line);

// The text automatic indentation inserts at the start of `line`, copied from the line above.
QString AutoIndentText(const CTextBuffer& buffer, int line);

// The automatic indentation run from a view's AfterEdit hook: only after typing (action 4) of
// exactly "\r\n", with auto-indent on and overwrite off, the indentation of the line above is
// inserted at the caret (action 10). Returns the caret after it, or nothing when nothing was
// inserted.
std::optional<TextPosition> AutoIndentAfterEdit(CTextBuffer& buffer, BufferView* view, TextPosition caret, int action,
                                                const QString& text, bool autoIndent, bool overwrite);

// The lines a block command acts on: none when the selection lies within one line; a last line
// whose selected part ends at column 0 is left out.
std::optional<LineRange> BlockLines(TextPosition selectionStart, TextPosition selectionEnd);

// The selection covering the lines whole: to column 0 of the line after the last one, or to the
// end of the text when the range reaches the last line.
Selection WholeLineSelection(const CTextBuffer& buffer, LineRange lines);

// Each is one undo group; false when the buffer refused an edit (the lines before it keep their
// change, undoable with the group).
bool IndentLines(CTextBuffer& buffer, BufferView* view, LineRange lines);
// Each line loses one leading tab, or else up to tabWidth leading blanks.
bool UnindentLines(CTextBuffer& buffer, BufferView* view, LineRange lines, int tabWidth);
bool CommentLines(CTextBuffer& buffer, BufferView* view, LineRange lines, QChar commentChar);
// Only lines starting with the comment character lose it.
bool UncommentLines(CTextBuffer& buffer, BufferView* view, LineRange lines, QChar commentChar);

// name(), name(_), name(_, _), ...
QString FunctionCallText(const QString& name, int parameterCount);

}  // namespace zov::editor
