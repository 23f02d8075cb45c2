#include "common/SettingsLocation.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fcntl.h>

namespace zov {

namespace fs = std::filesystem;

fs::path ProgramFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) {
        return fs::current_path(ec);
    }
    return exe.parent_path();
}

fs::path UserConfigFolder()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return fs::path(xdg) / "zov";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = ::getpwuid(::getuid());
        home = entry != nullptr ? entry->pw_dir : "/tmp";
    }
    return fs::path(home) / ".config" / "zov";
}

bool IsWritableFolder(const fs::path& folder)
{
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

fs::path ChooseSettingsPath(std::string_view fileName, const fs::path& programFolder, bool programFolderWritable,
                            const fs::path& userFolder)
{
    return (programFolderWritable ? programFolder : userFolder) / fs::path(fileName);
}

fs::path SettingsFilePath(std::string_view fileName, const fs::path& programFolder)
{
    const bool writable = IsWritableFolder(programFolder);
    const fs::path userFolder = writable ? fs::path() : UserConfigFolder();
    if (!writable) {
        std::error_code ec;
        if (fs::create_directories(userFolder, ec)) {
            fs::permissions(userFolder, fs::perms::owner_all, ec);
        }
    }
    return ChooseSettingsPath(fileName, programFolder, writable, userFolder);
}

fs::path SettingsFilePath(std::string_view fileName)
{
    return SettingsFilePath(fileName, ProgramFolder());
}

}  // namespace zov
