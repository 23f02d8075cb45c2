#include "ide/shell/core/TextFiles.h"

#include "common/PathUtils.h"

#include <cstdint>
#include <cstdio>

namespace zov::shell {

std::vector<std::string> SplitMacroBody(std::string_view body)
{
    std::vector<std::string> lines;
    if (body.empty())
        return lines;
    std::string line;
    bool inQuotes = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (c == '"')
            inQuotes = !inQuotes;
        if (c == '&' && !inQuotes) {
            if (!line.empty() && line.back() == ' ')
                line.pop_back();
            lines.push_back(std::move(line));
            line.clear();
            if (i + 1 < body.size() && body[i + 1] == ' ')
                ++i;
            continue;
        }
        line += c;
    }
    lines.push_back(std::move(line));
    return lines;
}

std::string JoinMacroLines(const std::vector<std::string>& lines)
{
    std::string body;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            body += " & ";
        body += lines[i];
    }
    return body;
}

std::string MacroFileText(std::string_view body)
{
    std::string text;
    const std::vector<std::string> lines = SplitMacroBody(body);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string SanitiseFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return "_";
    std::string safe(name);
    for (char& c : safe) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7f)
            c = '_';
    }
    return safe;
}

namespace {

std::string InFolder(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += name;
    return path;
}

// FNV-1a: stable across runs and platforms, so a file's place does not depend on the library.
std::string PathKey(std::string_view path)
{
    std::uint64_t hash = 1469598103934665603ull;
    for (const char c : path) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace

std::string MacroFilePath(std::string_view tempFolder, std::string_view interfacePath, std::string_view macroName)
{
    return InFolder(InFolder(InFolder(tempFolder, "macros"), PathKey(interfacePath)),
                    SanitiseFileName(macroName) + ".qzm");
}

std::string ResultFilePath(std::string_view tempFolder, std::string_view recordName)
{
    return InFolder(tempFolder, SanitiseFileName(recordName) + ".qzr");
}

DescriptionFile DescriptionFilePath(std::string_view projectFolder, std::string_view tempFolder,
                                    std::string_view itemName)
{
    const std::string file = SanitiseFileName(itemName) + ".txt";
    std::string inProject = InFolder(projectFolder, file);
    if (!projectFolder.empty() && FileExists(inProject))
        return {std::move(inProject), true};
    return {InFolder(tempFolder, file), false};
}

std::optional<std::string> ResolveInsertedInterface(std::string_view entry, std::string_view programFolder,
                                                    std::string_view projectFolder)
{
    if (entry.empty() || entry.front() == '#')
        return std::nullopt;
    constexpr std::string_view kProgram = "{zov}";
    if (entry.substr(0, kProgram.size()) == kProgram && entry.size() > kProgram.size() &&
        (entry[kProgram.size()] == '\\' || entry[kProgram.size()] == '/'))
        return MakeAbsolutePath(programFolder, entry.substr(kProgram.size() + 1));
    return MakeAbsolutePath(projectFolder, entry);
}

}  // namespace zov::shell
