#include "ide/shell/core/LanguageChoices.h"

#include "common/TextCodec.h"
#include "common/TextTrim.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace zov::shell {
namespace {

constexpr std::size_t kFirstLineLimit = 255;

std::string ReadFirstLine(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string line;
    char c = 0;
    while (line.size() < kFirstLineLimit && in.get(c) && c != '\n' && c != '\r')
        line += c;
    return line;
}

}  // namespace

std::optional<std::string> LanguageNameOfFirstLine(std::string_view line)
{
    line = TrimBlanks(line.substr(0, kFirstLineLimit));
    const std::size_t equals = line.find('=');
    if (!line.starts_with('$') || equals == std::string_view::npos)
        return std::nullopt;
    return DecodeText(TrimBlanks(line.substr(equals + 1)));
}

std::vector<LanguageChoice> ListLanguageChoices(const std::filesystem::path& programFolder)
{
    std::vector<LanguageChoice> choices;
    std::error_code error;
    for (std::filesystem::directory_iterator it(programFolder, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::path& path = it->path();
        if (path.extension() != ".lgn" || !it->is_regular_file(error))
            continue;
        if (std::optional<std::string> name = LanguageNameOfFirstLine(ReadFirstLine(path)))
            choices.push_back({std::move(*name), path.filename().string()});
    }
    std::sort(choices.begin(), choices.end(),
              [](const LanguageChoice& a, const LanguageChoice& b) { return a.file < b.file; });
    return choices;
}

}  // namespace zov::shell
