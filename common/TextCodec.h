// The one text decoder shared by every program: bytes that form valid UTF-8 are taken as
// UTF-8, anything else as Windows-1252, so that files made on Windows read as they should.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zov {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Every byte as its Windows-1252 character. The five bytes that code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of the same value,
// as the Windows conversion does, so that no byte is ever lost.
std::string Windows1252ToUtf8(std::string_view bytes);

// Valid UTF-8 unchanged, anything else decoded as Windows-1252. The result is always valid UTF-8.
std::string DecodeText(std::string_view bytes);

// The reverse, for formats fixed to Windows-1252: characters the code page cannot hold become
// `replacement`. The input must be valid UTF-8; an invalid sequence also becomes `replacement`.
std::string Utf8ToWindows1252(std::string_view utf8, char replacement = '?');

// Whether every character of the (valid UTF-8) text has a Windows-1252 byte.
bool FitsWindows1252(std::string_view utf8);

// Character by character, for readers that must keep the valid UTF-8 of a text that also holds
// stray Windows-1252 bytes (DecodeText decides for the whole text instead).

// The Unicode value of one byte read as Windows-1252 (the five undefined bytes as C1 controls).
char32_t Windows1252Char(unsigned char byte);

// The reverse for one character: its Windows-1252 byte, none when the code page has no such
// character (the five C1 controls of the undefined bytes map back to them).
std::optional<unsigned char> Windows1252Byte(char32_t code);

// The character at pos (pos < text.size()), advancing pos: a valid UTF-8 sequence gives its code
// point, any other byte its Windows-1252 character.
char32_t NextChar(std::string_view text, size_t& pos);

// Appends the UTF-8 form of a code point (at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t code);

}  // namespace zov
