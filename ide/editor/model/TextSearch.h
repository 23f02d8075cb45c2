#pragma once
// Search in the text of a buffer: match case, whole word and direction, line by line, with one
// wrap around the searched range.

#include "ide/editor/model/TextBuffer.h"

#include <QString>
#include <QStringView>

namespace zov::editor {

enum FindFlag : unsigned {
    Find_MatchCase = 0x01,
    Find_WholeWord = 0x02,
    Find_Up = 0x10,  // towards the start of the text
};

// Letters and digits of the classic (ASCII) classification and "_".
bool IsWordChar(QChar c);

// The first (or, with Find_Up, the last) occurrence in the line whose start lies in
// [minStart, maxStart) and whose end is at most maxEnd; -1 when there is none.
int FindInLine(QStringView line, QStringView what, int minStart, int maxStart, int maxEnd, unsigned flags);

// Searches from start towards the end of the block (or its start with Find_Up). With wrap, a
// search that reaches the end goes on once from the other end of the block up to the start
// position. Forwards, a match may begin at the start position; backwards it begins before it.
// Matches never cross a line end; an empty text finds nothing.
bool FindTextInBlock(const CTextBuffer& buffer, QStringView what, TextPosition start, TextPosition blockStart,
                     TextPosition blockEnd, unsigned flags, bool wrap, TextPosition& found);
bool FindText(const CTextBuffer& buffer, QStringView what, TextPosition start, unsigned flags, bool wrap,
              TextPosition& found);

}  // namespace zov::editor
