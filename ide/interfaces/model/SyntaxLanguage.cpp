#include "ide/interfaces/model/SyntaxLanguage.h"

#include "common/TextCodec.h"
#include "common/TextTrim.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zov::interfaces {

void SyntaxLanguage::AddKeyword(std::string keyword)
{
    keywordIndex_.insert(keyword);
    keywords.push_back(std::move(keyword));
}

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The text without its last character (a whole UTF-8 sequence, as the file's byte was one
// character before decoding).
std::string_view DropLastChar(std::string_view text)
{
    if (text.empty())
        return text;
    std::size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

char32_t FirstChar(std::string_view text)
{
    if (text.empty())
        return 0;
    std::size_t pos = 0;
    return NextChar(text, pos);
}

void ApplyDirective(std::string_view line, SyntaxLanguage& language)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return;
    const std::string_view value = TrimBlanks(line.substr(equals + 1));
    // Tested in this order, so "#comment_s" is not taken for "#comment".
    if (StartsWith(line, "#type")) {
        language.type = value;
    } else if (StartsWith(line, "#comment_s")) {
        language.blockCommentStart = value;
    } else if (StartsWith(line, "#comment_e")) {
        language.blockCommentEnd = value;
    } else if (StartsWith(line, "#comment")) {
        language.lineComment = value;
    } else if (StartsWith(line, "#string")) {
        if (language.stringDelimiter1 == 0)
            language.stringDelimiter1 = FirstChar(value);
        else
            language.stringDelimiter2 = FirstChar(value);
    }
}

}  // namespace

void ParseSyntaxText(std::string_view bytes, SyntaxLanguageList& languages)
{
    const std::string text = DecodeText(bytes);
    SyntaxLanguage* current = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        // Files written on Windows end their lines with CR LF.
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line.front() == '[') {
            auto language = std::make_unique<SyntaxLanguage>();
            language->name = DropLastChar(line.substr(1));
            current = language.get();
            languages.push_back(std::move(language));
        } else if (current == nullptr) {
            continue;
        } else if (line.front() == '#') {
            ApplyDirective(line, *current);
        } else {
            current->AddKeyword(std::string(line));
        }
    }
}

std::vector<std::string> SyntaxFilesInOrder(const std::string& pattern)
{
    namespace fs = std::filesystem;
    std::vector<std::string> files;
    if (pattern.empty())
        return files;
    const fs::path patternPath(pattern);
    const std::string mask = patternPath.filename().string();
    const fs::path folder = patternPath.parent_path();

    std::string first = pattern;
    if (const std::size_t star = first.rfind("*."); star != std::string::npos)
        first.replace(star, 2, "zov.");
    std::error_code error;
    if (fs::is_regular_file(first, error))
        files.push_back(first);

    std::vector<std::string> others;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (fnmatch(mask.c_str(), name.c_str(), FNM_PERIOD) != 0)
            continue;
        std::error_code kindError;
        if (!it->is_regular_file(kindError))
            continue;
        const std::string path = (folder / name).string();
        if (path != first)
            others.push_back(path);
    }
    std::sort(others.begin(), others.end());
    files.insert(files.end(), others.begin(), others.end());
    return files;
}

}  // namespace zov::interfaces
