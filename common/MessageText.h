// The system's messages carry at most one "%s", for a path or a name; translations keep it.
#pragma once

#include <string>
#include <string_view>

namespace zov {

// The pattern with its first "%s" replaced by value; a pattern without one comes back unchanged.
inline std::string FillMessage(std::string_view pattern, std::string_view value)
{
    std::string text(pattern);
    if (const size_t at = text.find("%s"); at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

}  // namespace zov
