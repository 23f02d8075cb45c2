// Arbitrary bytes as a script file: the load must split them into lines without line ends, the
// save must give UTF-8 that loads back to the same lines and mode, and an edit undone must give
// the text back.
#include "common/TextCodec.h"
#include "ide/editor/model/TextBuffer.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using zov::editor::CTextBuffer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CTextBuffer buffer;
    if (!buffer.LoadFromBytes(bytes) || buffer.GetLineCount() < 1) {
        std::abort();
    }
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (buffer.GetLine(line).contains(u'\r') || buffer.GetLine(line).contains(u'\n')) {
            std::abort();
        }
    }
    const auto saved = buffer.SaveToBytes();
    if (!saved || !zov::IsValidUtf8(*saved)) {
        std::abort();
    }
    CTextBuffer reread;
    if (!reread.LoadFromBytes(*saved) || reread.GetLineCount() != buffer.GetLineCount() ||
        reread.GetLineEndMode() != buffer.GetLineEndMode()) {
        std::abort();
    }
    for (int line = 0; line < buffer.GetLineCount(); ++line) {
        if (reread.GetLine(line) != buffer.GetLine(line)) {
            std::abort();
        }
    }
    if (reread.SaveToBytes() != saved) {
        std::abort();
    }
    // The whole text pasted into its own middle, then undone.
    const QString whole = buffer.GetText({0, 0}, buffer.GetEndPosition());
    const int middle = buffer.GetLineCount() / 2;
    if (!buffer.InsertTextUndoable(nullptr, {buffer.GetLineLength(middle) / 2, middle}, whole, nullptr, 1)) {
        std::abort();
    }
    zov::editor::TextPosition caret;
    if (!whole.isEmpty() && !buffer.Undo(caret)) {
        std::abort();
    }
    if (buffer.SaveToBytes() != saved || buffer.IsModified()) {
        std::abort();
    }
    return 0;
}
