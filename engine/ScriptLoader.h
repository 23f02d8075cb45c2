#pragma once

// Reading a script file into the one text that the analysis transforms.

#include <cstddef>
#include <optional>
#include <string>

namespace zov {

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

}  // namespace zov
