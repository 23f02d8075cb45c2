// Paths as the IDE stores and shows them: project files keep paths relative to the project's
// folder, settings keep folders relative to the program folder, and files made on Windows bring
// "\" separators and drive forms ("C:\..."). We write "/"; on read "\" and "/" both separate.
// A path is absolute when it starts with "/" or with a drive form ("X:\" or "X:/").
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zov {

// True for "/..." and for the drive forms "X:\..." and "X:/...".
bool IsAbsolutePath(std::string_view path);

// The path itself when it holds a drive form; otherwise path resolved against the base folder:
// "." steps dropped, ".." steps pop a folder but never the root ("/" or the drive), "/" written.
// An absolute "/..." path is returned in that same resolved form.
std::string MakeAbsolutePath(std::string_view base, std::string_view path);

// The path relative to the base folder ("../z/f.txt"; "" when both name the same folder). Names
// compare with case, as the file system does. A path that is already relative, or whose root
// (drive letter or "/") differs from the base's, is returned unchanged.
std::string MakeRelativePath(std::string_view base, std::string_view path);

// A directory that we may enter (never changes the current folder: runner threads rely on it).
bool FolderExists(const std::string& path);

// A regular file that we may read.
bool FileExists(const std::string& path);

// Missing, without any write permission bit, or not writable by us.
bool IsReadOnlyFile(const std::string& path);

// Creates the folder and every missing parent. Folders that exist already count as success; the
// first level that cannot be created stops the walk and gives false. "/" alone gives false.
bool CreateFolderPath(const std::string& path);

// Width of a text in pixels, as the window that shows it measures it.
using TextWidthMeasure = std::function<int(std::string_view)>;

// The path shortened for a window of the given width: when too wide, the file name stays and
// folders are cut from the end, joined with "/../" (or "\..\" for a path written with "\"),
// until it fits. A file name that alone does not fit leaves the path unchanged.
std::string CompactPath(int width, const TextWidthMeasure& measure, std::string_view path);

}  // namespace zov
