#include "ide/shell/core/InstanceFolder.h"

#include "common/MessageText.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace zov::shell {
namespace {

constexpr std::string_view kPrefix = "ZOV_TMP";
constexpr std::string_view kLockName = "instances.lock";

constexpr std::string_view kCannotCreate = "Impossible de créer le dossier temporaire %s.";
constexpr std::string_view kIsLink = "Le dossier temporaire %s est un lien symbolique.";
constexpr std::string_view kNotFolder = "Le dossier temporaire %s n'est pas un dossier.";
constexpr std::string_view kNotOurs = "Le dossier temporaire %s appartient à un autre utilisateur.";
constexpr std::string_view kShared = "Le dossier temporaire %s est accessible aux autres utilisateurs.";
constexpr std::string_view kCannotLock = "Impossible de verrouiller le fichier %s.";
constexpr std::string_view kAllTaken = "Les dossiers temporaires ZOV_TMP1 à ZOV_TMP10 de %s sont tous pris.";
constexpr std::string_view kNoTempFolder =
    "ZOV n'a pas de dossier temporaire : les scripts ne pourront pas être exécutés.\n%s";

// Unlinks what a folder holds at its first level, folders excepted; links are removed, never
// followed. The folder is opened without following a link.
void UnlinkFirstLevel(int parentFd, const char* name)
{
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view entryName = entry->d_name;
        if (entryName == "." || entryName == "..")
            continue;
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode))
            ::unlinkat(fd, entry->d_name, 0);
    }
    ::closedir(dir);
}

bool RemoveFolderAt(int parentFd, const char* name)
{
    UnlinkFirstLevel(parentFd, name);
    return ::unlinkat(parentFd, name, AT_REMOVEDIR) == 0;
}

}  // namespace

std::filesystem::path DefaultTempBase()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return std::filesystem::path(folder) / ("zov-" + std::to_string(::geteuid()));
}

std::string TempFolderProblem::Describe(const Translate& translate) const
{
    if (Empty())
        return {};
    return FillMessage(translate(format), path);
}

TempFolderProblem PrepareTempBase(const std::filesystem::path& base)
{
    const std::string path = base.string();
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return {kCannotCreate, path};
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return {kCannotCreate, path};
    if (S_ISLNK(info.st_mode))
        return {kIsLink, path};
    if (!S_ISDIR(info.st_mode))
        return {kNotFolder, path};
    if (info.st_uid != ::geteuid())
        return {kNotOurs, path};
    if ((info.st_mode & 077) != 0)
        return {kShared, path};
    return {};
}

void PurgeStaleTempFolders(const std::filesystem::path& base)
{
    const int fd = ::open(base.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        if (std::string_view(entry->d_name).substr(0, kPrefix.size()) != kPrefix)
            continue;
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode) &&
            info.st_uid == ::geteuid())
            RemoveFolderAt(fd, entry->d_name);
    }
    ::closedir(dir);
}

bool RemoveTempFolder(const std::filesystem::path& folder)
{
    const std::filesystem::path parent = folder.parent_path();
    const int fd = ::open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool removed = RemoveFolderAt(fd, folder.filename().c_str());
    ::close(fd);
    return removed;
}

InstanceFolder::InstanceFolder(const std::filesystem::path& base)
{
    problem_ = PrepareTempBase(base);
    if (!problem_.Empty())
        return;
    const std::filesystem::path lockPath = base / kLockName;
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd_ < 0) {
        problem_ = {kCannotLock, lockPath.string()};
        return;
    }
    // Alone: purge under the exclusive lock. Folders are claimed only under the shared lock,
    // which is held until the folder is gone, so a purge never meets a living folder.
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        purged_ = true;
        PurgeStaleTempFolders(base);
    }
    int locked;
    while ((locked = ::flock(lockFd_, LOCK_SH)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        problem_ = {kCannotLock, lockPath.string()};
        ::close(lockFd_);
        lockFd_ = -1;
        return;
    }
    for (int n = 1; n <= kMaxInstances; ++n) {
        const std::filesystem::path candidate = base / (std::string(kPrefix) + std::to_string(n));
        if (::mkdir(candidate.c_str(), 0700) == 0) {
            folder_ = candidate;
            number_ = n;
            return;
        }
        if (errno != EEXIST) {
            problem_ = {kCannotCreate, candidate.string()};
            return;
        }
    }
    problem_ = {kAllTaken, base.string()};
}

InstanceFolder::~InstanceFolder()
{
    Release();
}

std::string InstanceFolder::StartupMessage(const Translate& translate) const
{
    if (problem_.Empty())
        return {};
    return FillMessage(translate(kNoTempFolder), problem_.Describe(translate));
}

void InstanceFolder::Release()
{
    if (number_ > 0)
        RemoveTempFolder(folder_);
    number_ = 0;
    folder_.clear();
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

}  // namespace zov::shell
