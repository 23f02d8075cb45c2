#include "engine/base/StringHelpers.h"

#include <climits>

namespace zov {

int ReplaceChar(std::string& text, char from, char to)
{
    int count = 0;
    for (char& c : text) {
        if (c == from) {
            c = to;
            ++count;
        }
    }
    return count;
}

void TrimLeft(std::string& text, char byte)
{
    const std::size_t first = text.find_first_not_of(byte);
    text.erase(0, first == std::string::npos ? text.size() : first);
}

void TrimRight(std::string& text, char byte)
{
    const std::size_t last = text.find_last_not_of(byte);
    text.erase(last == std::string::npos ? 0 : last + 1);
}

std::vector<std::string_view> SplitString(std::string_view text, char separator, std::size_t maxPieces)
{
    std::vector<std::string_view> pieces;
    if (maxPieces == 0)
        return pieces;
    std::size_t start = 0;
    while (pieces.size() < maxPieces) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            pieces.push_back(text.substr(start));
            break;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    return pieces;
}

std::string BytesToHex(std::string_view bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 0x0F]);
    }
    return hex;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> HexToBytes(std::string_view digits)
{
    if (digits.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = HexDigitValue(digits[i]);
        const int low = HexDigitValue(digits[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<char>((high << 4) | low));
    }
    return bytes;
}

}  // namespace zov
