#pragma once
// Where help opens: the help file's folder beside the program ("ZOV.chm" becomes the folder
// "ZOV/") holds "index.html" and one "k_<word>.html" per keyword.

#include <filesystem>
#include <string>
#include <string_view>

namespace zov::shell {

// The page for the word at the caret: "k_<word>.html" when the word is made only of
// [A-Za-z0-9_] and that page exists, else "index.html".
std::filesystem::path HelpPage(const std::filesystem::path& programFolder, std::string_view helpFile,
                               std::string_view word);

// The help folder: the help file's name without its ".chm" in the program folder.
std::filesystem::path HelpFolder(const std::filesystem::path& programFolder, std::string_view helpFile);

}  // namespace zov::shell
