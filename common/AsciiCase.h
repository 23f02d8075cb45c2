// Case folding of ASCII letters only, so that comparing names never depends on the locale and the
// bytes of UTF-8 or Windows-1252 texts compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace zov {

constexpr char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string ToLowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

inline std::string ToUpperAscii(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix)
{
    return EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace zov
