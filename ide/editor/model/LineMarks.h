#pragma once
// The marks of script lines as the script view and the mark commands use them. Line numbers in
// the breakpoint lists are 1-based, as they cross to the engine.

#include "ide/editor/model/TextBuffer.h"

#include <cstdint>
#include <vector>

namespace zov::editor {

// Every line carrying a breakpoint, ascending, 1-based; the list is emptied first.
void GetBreakpoints(const CTextBuffer& buffer, std::vector<unsigned>& list);

// Sets a breakpoint on each listed line (1-based) without removing any; numbers outside the
// text are ignored.
void SetBreakpoints(CTextBuffer& buffer, const std::vector<unsigned>& list);

// Sets the flag when the line lacks it, clears it when present. A unique flag (numbered
// bookmark) leaves the line that carried it before.
void ToggleLineFlag(CTextBuffer& buffer, int line, std::uint32_t flag, bool unique);

// Every line loses the flag.
void ClearLineFlag(CTextBuffer& buffer, std::uint32_t flag);

}  // namespace zov::editor
