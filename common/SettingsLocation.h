// Where a program keeps its settings file: beside the program, as users of the Windows version
// expect, unless that folder cannot be written (an installation under /usr), in which case the
// file lives in the user's configuration folder.
#pragma once

#include <filesystem>
#include <string_view>

namespace zov {

// The folder of the running executable; the current folder when it cannot be determined.
std::filesystem::path ProgramFolder();

// $XDG_CONFIG_HOME/zov when that variable holds an absolute path, else ~/.config/zov.
std::filesystem::path UserConfigFolder();

// Whether files can be created in the folder by this process.
bool IsWritableFolder(const std::filesystem::path& folder);

// The rule itself, without touching the file system.
std::filesystem::path ChooseSettingsPath(std::string_view fileName, const std::filesystem::path& programFolder,
                                         bool programFolderWritable, const std::filesystem::path& userFolder);

// The settings file `fileName` for this program. When the user's folder is chosen it is created
// (mode 0700) if missing, so that the first write succeeds.
std::filesystem::path SettingsFilePath(std::string_view fileName);
std::filesystem::path SettingsFilePath(std::string_view fileName, const std::filesystem::path& programFolder);

}  // namespace zov
