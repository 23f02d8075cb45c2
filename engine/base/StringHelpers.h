#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

// Replaces every `from` byte by `to`, in place; returns how many were replaced.
int ReplaceChar(std::string& text, char from, char to);

// Removes the leading run of `byte`, in place.
void TrimLeft(std::string& text, char byte);

// Removes the trailing run of `byte`, in place.
void TrimRight(std::string& text, char byte);

// The most pieces SplitString hands back: the command buffer never holds more than 999 '|'.
inline constexpr std::size_t kMaxSplitPieces = 1000;

// Cuts `text` at every `separator`. An empty text gives one empty piece. Pieces beyond
// `maxPieces` are dropped rather than folded into the last one, so no piece ever holds a
// separator. The views point into `text`.
std::vector<std::string_view> SplitString(std::string_view text, char separator,
                                          std::size_t maxPieces = kMaxSplitPieces);

// Two upper-case hexadecimal digits per byte; empty for an empty input.
std::string BytesToHex(std::string_view bytes);

// The value of a hexadecimal digit (0-9, A-F, a-f), or -1 for any other byte.
int HexDigitValue(char c);

// One byte per pair of digits (0-9, A-F, a-f; first digit the high half). An odd count or a
// byte that is no digit gives no result.
std::optional<std::string> HexToBytes(std::string_view digits);


}  // namespace zov
