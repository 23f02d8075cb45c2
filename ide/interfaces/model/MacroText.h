#pragma once
// A macro body is one line whose statements are joined by " & ". These helpers turn an edited
// text into a body and a body back into lines, with macro calls inside it expanded the way the
// engine expands them (whole words, never inside double quotes).

#include "ide/interfaces/model/InterfaceRecords.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zov::interfaces {

// The body of an edited macro text: empty lines dropped, one final line break removed, every
// remaining line break (CR LF, LF or CR alike) becoming " & ", every tab four blanks.
std::string FoldMacroText(std::string_view text);

// The body laid out on lines: each "&" outside double quotes ends a line, the blank on each side
// of it dropped; every new line after the first starts with `indent`. Lines are joined by "\n".
std::string UnfoldMacroBody(std::string_view body, std::string_view indent = {});

// The position of the first occurrence of `word` in `text` as a whole word by the engine's rule
// (separated by blank, CR, LF, TAB or one of ( ) , + - / * ^ < > = !; text after a double quote
// up to the next one belongs to the word it stands in), or npos.
std::size_t FindWholeWord(std::string_view text, std::string_view word);

// `text` with every whole-word occurrence of `word` replaced by `replacement`.
std::string ReplaceWholeWords(std::string_view text, std::string_view word, std::string_view replacement);

// The macro `name` of the list (first of that name) unfolded on lines, with depth - 1 passes
// that expand the macros named inside it; each nested body is indented like the line that calls
// it. Empty when no macro has that name.
std::string ExpandMacroText(const std::vector<const MacroRecord*>& macros, std::string_view name, int depth);

}  // namespace zov::interfaces
