// Arbitrary edits, groups, undo, redo, flags and fold marks on a small buffer with a small undo
// limit: nothing may crash, positions stay in the text, and after undoing all that can be
// undone, redoing up to where the edits left the list gives the final text back.
#include "ide/editor/model/TextBuffer.h"

#include <cstdint>
#include <cstdlib>

using namespace zov::editor;

namespace {

TextPosition PositionFrom(const CTextBuffer& buffer, uint8_t a, uint8_t b)
{
    const int line = a % buffer.GetLineCount();
    return {b % (buffer.GetLineLength(line) + 1), line};
}

QString Snapshot(const CTextBuffer& buffer)
{
    return buffer.GetText({0, 0}, buffer.GetEndPosition());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CTextBuffer buffer;
    buffer.InitNew();
    buffer.SetUndoLimit(6);
    static const char16_t* const kTexts[] = {u"a", u" ", u"\r\n", u"xy\nz", u"\r", u"", u"long text\r\nmore"};
    size_t i = 0;
    auto next = [&]() -> uint8_t { return i < size ? data[i++] : 0; };
    while (i < size) {
        const uint8_t op = next();
        const TextPosition p = PositionFrom(buffer, next(), next());
        const TextPosition q = PositionFrom(buffer, next(), next());
        TextPosition caret;
        switch (op % 10) {
        case 0:
        case 1:
            buffer.InsertTextUndoable(nullptr, p, QStringView(kTexts[op / 10 % 7]), &caret, op % 20);
            break;
        case 2:
            buffer.DeleteTextUndoable(nullptr, std::min(p, q), std::max(p, q), 9);
            break;
        case 3:
            buffer.OpenUndoGroup((op & 0x10) != 0);
            break;
        case 4:
            buffer.CloseUndoGroup();
            break;
        case 5:
            buffer.Undo(caret);
            break;
        case 6:
            buffer.Redo(caret);
            break;
        case 7:
            buffer.ChangeLineFlag(p.line, 1u << (op / 10 % 24), (op & 0x80) != 0, (op & 0x40) != 0);
            break;
        case 8:
            buffer.SetMacroName(p.line, (op & 0x10) ? QStringLiteral("M") : QString());
            buffer.SetFoldState(p.line, (op >> 5) % 3);
            break;
        case 9:
            buffer.MarkMacroBody(p.line, q.line);
            if (op & 0x10) {
                buffer.UnmarkMacroBody(q.line);
            }
            break;
        }
    }
    buffer.CloseUndoGroup();
    // Release every lock so that undo and redo can replay the whole list.
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        buffer.SetFoldState(line, 0);
        buffer.UnmarkMacroBody(line);
    }
    const QString final = Snapshot(buffer);
    const int finalPosition = buffer.GetUndoPosition();
    TextPosition caret;
    while (buffer.CanUndo()) {
        if (!buffer.Undo(caret) || !buffer.IsValidPosition(caret)) {
            std::abort();
        }
    }
    while (buffer.GetUndoPosition() < finalPosition) {
        if (!buffer.Redo(caret) || !buffer.IsValidPosition(caret)) {
            std::abort();
        }
    }
    // A refused undo may have stopped inside a group; redo goes by whole groups.
    if (buffer.GetUndoPosition() == finalPosition && Snapshot(buffer) != final) {
        std::abort();
    }
    return 0;
}
