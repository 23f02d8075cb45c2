#pragma once

// Reading the engine's input files: the script, into the one text that the analysis transforms,
// and the grammar tables, with the lines that report each read.

#include <cstddef>
#include <optional>
#include <string>

namespace zov {

class CGrammarTable;

// A line this long or longer, its line end included, refuses the whole script.
inline constexpr std::size_t kMaxScriptLine = 10000;

// Reads the script at `path` byte for byte (CR LF and LF line ends kept as they are, a lone CR
// made CR LF), trims the trailing blanks of a last line that has no line end, and ends the
// text with "\r\n". An empty file gives "\r\n".
//
// With `Verbose`, writes the file size and the text size lines. Gives no text when the file
// cannot be opened or read (no line: the caller reports it with the path), or, after its own
// error line, when a line is too long, the script holds a zero byte, or the text would not
// fit the 2 GB that the later steps count in (or in memory).
std::optional<std::string> LoadScriptFile(const std::string& path);

// The line of a file that cannot be read; a verbose run has named the file already.
void WriteCannotRead(const std::string& path, bool verbose);

// Loads a grammar table from `fileName`; a verbose run names the file and the outcome, any run
// reports a failure. Returns whether the table was loaded.
bool LoadGrammarFile(CGrammarTable& table, const std::string& fileName);

}  // namespace zov
