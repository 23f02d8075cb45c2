#pragma once
// Words and case changes of the editor: where the word moves land, the word around a position,
// and the four case changes of a selection.

#include "ide/editor/model/TextBuffer.h"

#include <QString>
#include <QStringView>

namespace zov::editor {

// The blanks of the classic isspace: blank, tab, LF, vertical tab, form feed, CR.
bool IsBlankChar(QChar c);

// Where Ctrl+Left and Ctrl+Right take the cursor (no selection involved): across a line end at
// the start or end of a line, else over one word or one run of punctuation and the blanks
// around it.
TextPosition WordLeftTarget(const CTextBuffer& buffer, TextPosition from);
TextPosition WordRightTarget(const CTextBuffer& buffer, TextPosition from);

// The ends of the word around a position: left (right) while the neighbour is a word character.
int WordToLeft(QStringView line, int charIndex);
int WordToRight(QStringView line, int charIndex);
QString WordAround(QStringView line, int charIndex);

// Home: the first non-blank character, or column 0 when already there or the line is blank.
int HomeTarget(QStringView line, int charIndex);

enum class CaseChange { Lower, Upper, Swap, Capitalise };

// The undo action code of each change (13 to 16).
int CaseChangeAction(CaseChange change);

// Character by character, so that the converted text keeps the selection's length.
QString ConvertCase(QStringView text, CaseChange change);

// Replaces the range by its converted text as one undo group (not merged with typing).
bool ApplyCaseChange(CTextBuffer& buffer, BufferView* view, TextPosition start, TextPosition end, CaseChange change);

}  // namespace zov::editor
