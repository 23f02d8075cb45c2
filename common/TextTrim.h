// Blanks as the C library's isspace sees them in the "C" locale, without its locale or its
// undefined behaviour on negative chars: the bytes of UTF-8 and Windows-1252 texts are never blanks.
#pragma once

#include <string_view>

namespace zov {

constexpr bool IsAsciiBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

constexpr std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && IsAsciiBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsAsciiBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

}  // namespace zov
