#include "common/PathUtils.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace zov {
namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool IsDriveForm(std::string_view path)
{
    const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return letter && path[1] == ':' && IsSeparator(path[2]);
}

// "/" for a path from the root, "X:" for a drive form, "" for a relative path.
std::string_view RootOf(std::string_view path)
{
    if (IsDriveForm(path))
        return path.substr(0, 2);
    if (!path.empty() && path[0] == '/')
        return path.substr(0, 1);
    return {};
}

// Folders of a path below its root; "." steps vanish, ".." pops a folder but never the root. A
// relative path keeps the ".." steps that climb above its start.
void PushComponents(std::vector<std::string_view>& stack, std::string_view path, bool rooted)
{
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && IsSeparator(path[i]))
            ++i;
        const size_t start = i;
        while (i < path.size() && !IsSeparator(path[i]))
            ++i;
        const std::string_view part = path.substr(start, i - start);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!stack.empty() && stack.back() != "..")
                stack.pop_back();
            else if (!rooted)
                stack.push_back(part);
            continue;
        }
        stack.push_back(part);
    }
}

std::vector<std::string_view> Components(std::string_view path)
{
    const std::string_view root = RootOf(path);
    std::vector<std::string_view> stack;
    PushComponents(stack, path.substr(root.size()), !root.empty());
    return stack;
}

std::string Join(std::string_view root, const std::vector<std::string_view>& parts)
{
    std::string text(root);
    if (root.size() == 2)  // a drive: "C:" + "/"
        text += '/';
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += '/';
        text += parts[i];
    }
    return text;
}

}  // namespace

bool IsAbsolutePath(std::string_view path)
{
    return !RootOf(path).empty();
}

std::string MakeAbsolutePath(std::string_view base, std::string_view path)
{
    if (IsDriveForm(path))
        return std::string(path);
    if (IsAbsolutePath(path))
        return Join(RootOf(path), Components(path));
    const std::string_view root = RootOf(base);
    std::vector<std::string_view> stack = Components(base);
    PushComponents(stack, path, !root.empty());
    return Join(root, stack);
}

std::string MakeRelativePath(std::string_view base, std::string_view path)
{
    const std::string_view root = RootOf(path);
    if (root.empty() || root != RootOf(base))
        return std::string(path);
    const std::vector<std::string_view> target = Components(path);
    const std::vector<std::string_view> from = Components(base);
    size_t common = 0;
    while (common < target.size() && common < from.size() && target[common] == from[common])
        ++common;
    std::string relative;
    for (size_t i = common; i < from.size(); ++i)
        relative += "../";
    for (size_t i = common; i < target.size(); ++i) {
        relative += target[i];
        relative += '/';
    }
    if (!relative.empty())
        relative.pop_back();
    return relative;
}

bool FolderExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), R_OK) == 0;
}

bool IsReadOnlyFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return true;
    // The permission bits first: access() grants root every write, yet a file without any write
    // bit is the one a user marked read-only.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(path.c_str(), W_OK) != 0;
}

bool CreateFolderPath(const std::string& path)
{
    size_t i = 0;
    while (i < path.size() && path[i] == '/')
        ++i;
    if (i == path.size() || IsDriveForm(path))
        return false;  // "" or the root alone; a Windows drive names nothing here
    std::string built = path.substr(0, i);
    bool first = true;
    while (i < path.size()) {
        const size_t end = path.find('/', i);
        const size_t stop = end == std::string::npos ? path.size() : end;
        if (stop > i) {
            if (!first)
                built += '/';
            built.append(path, i, stop - i);
            first = false;
            struct stat info {};
            if (::stat(built.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
                // EEXIST from a folder made meanwhile by another process is success.
                if (::mkdir(built.c_str(), 0777) != 0 &&
                    !(errno == EEXIST && ::stat(built.c_str(), &info) == 0 && S_ISDIR(info.st_mode)))
                    return false;
            }
        }
        i = stop == path.size() ? stop : stop + 1;
    }
    return true;
}

std::string CompactPath(int width, const TextWidthMeasure& measure, std::string_view path)
{
    auto fits = [&](std::string_view text) { return measure(text) < width; };
    if (fits(path))
        return std::string(path);
    size_t cut = path.find_last_of("/\\");
    if (cut == std::string_view::npos)
        return std::string(path);
    const std::string_view name = path.substr(cut + 1);
    if (!fits(name))
        return std::string(path);
    const char sep = path[cut];
    const std::string joint = std::string(1, sep) + ".." + sep;
    std::string form;
    for (;;) {
        const std::string_view folder = path.substr(0, cut);
        form = std::string(folder) + joint + std::string(name);
        if (fits(form))
            return form;
        if (folder.empty())
            break;
        cut = folder.find_last_of("/\\");
        if (cut == std::string_view::npos)
            cut = 0;
    }
    // Even "/../name" is too wide while the name alone fits: the name is what fits.
    return std::string(name);
}

}  // namespace zov
