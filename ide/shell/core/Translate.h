#pragma once
// The translation seam of the headless cores: a function that turns one of the system's French
// texts into the user's language. Cores take it as an argument so they stay free of the shell.

#include <functional>
#include <string>
#include <string_view>

namespace zov::shell {

using Translate = std::function<std::string(std::string_view)>;

// The translation used when no language table is loaded: every text stands as it is.
inline Translate IdentityTranslate()
{
    return [](std::string_view text) { return std::string(text); };
}

}  // namespace zov::shell
