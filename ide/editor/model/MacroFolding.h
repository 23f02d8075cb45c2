#pragma once
// Folding and unfolding of macro call lines. A call line is a line whose text is only a macro's
// name (the colouring marks it with that name). Unfolded, the call is replaced by the macro's
// body, every body line indented like the call, and the body lines cannot be edited. Neither
// change is undoable, and neither changes the modified state: the file never holds a body.

#include "ide/editor/model/TextBuffer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zov::editor {

// The interface set's expansion of a macro by name, nested macros expanded to `depth` levels.
using MacroExpander = std::function<std::string(const std::string& name, int depth)>;

// Fold states of a call line.
enum FoldState : int { Fold_Folded = 0, Fold_OneLevel = 1, Fold_Full = 2 };

// The state already set on the line decides: 1 or 2 unfolds (depth 10 with full, else 1), 0
// folds back to the call's indentation and name. False when the line holds no call to change.
bool ExpandMacroLine(CTextBuffer& buffer, int line, bool full, const MacroExpander& expand);

// Every folded call line unfolded fully (state 2); the lines must carry their macro names.
void ExpandAllMacros(CTextBuffer& buffer, const MacroExpander& expand);
// Every unfolded call folded, first to last; the views are told to reset.
void CollapseAllMacros(CTextBuffer& buffer);

// A writable buffer with an unfolded call line.
bool HasMacroBlocks(const CTextBuffer& buffer);

constexpr std::uint32_t kFullFoldBit = 0x80000000u;

// Line numbers of the unfolded calls, state 2 with the top bit set.
std::vector<std::uint32_t> SaveFoldState(const CTextBuffer& buffer);
// Unfolds the saved calls again (writable buffers only), in the saved order.
void RestoreFoldState(CTextBuffer& buffer, const std::vector<std::uint32_t>& saved, const MacroExpander& expand);

}  // namespace zov::editor
