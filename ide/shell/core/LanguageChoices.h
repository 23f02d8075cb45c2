#pragma once
// The languages offered in the preferences: every "*.lgn" file of the program folder whose first
// line names its language ("$LANGUAGE=English").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::shell {

struct LanguageChoice {
    std::string name;  // shown in the list
    std::string file;  // the file name stored in Preferences/Language
};

// The first line (its first 255 characters, trimmed) names a language when it starts with '$'
// and holds '='; the name is what follows the '=', trimmed.
std::optional<std::string> LanguageNameOfFirstLine(std::string_view line);

// In the order of the file names; files that name no language are left out.
std::vector<LanguageChoice> ListLanguageChoices(const std::filesystem::path& programFolder);

}  // namespace zov::shell
