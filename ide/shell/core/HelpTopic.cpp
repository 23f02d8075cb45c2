#include "ide/shell/core/HelpTopic.h"

#include "common/AsciiCase.h"

#include <algorithm>
#include <system_error>

namespace zov::shell {
namespace {

bool IsKeyword(std::string_view word)
{
    return !word.empty() && std::all_of(word.begin(), word.end(), [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    });
}

}  // namespace

std::filesystem::path HelpFolder(const std::filesystem::path& programFolder, std::string_view helpFile)
{
    std::string name(helpFile);
    if (name.size() >= 4 && EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".chm"))
        name.resize(name.size() - 4);
    return programFolder / name;
}

std::filesystem::path HelpPage(const std::filesystem::path& programFolder, std::string_view helpFile,
                               std::string_view word)
{
    const std::filesystem::path folder = HelpFolder(programFolder, helpFile);
    if (IsKeyword(word)) {
        std::filesystem::path topic = folder / ("k_" + std::string(word) + ".html");
        std::error_code error;
        if (std::filesystem::is_regular_file(topic, error))
            return topic;
    }
    return folder / "index.html";
}

}  // namespace zov::shell
