#pragma once
// The temporary folder of one IDE instance (temporary interface, macro texts, copies of scripts
// being run): "ZOV_TMP<n>", n from 1 to 10, in a base folder of the user's own, mode 0700.
// Every instance holds a shared lock on "<base>/instances.lock" for its whole life; stale
// folders of instances that ended without cleaning up are purged only by an instance that can
// take that lock alone, so no running instance ever loses its folder.

#include "ide/shell/core/Translate.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zov::shell {

// ($TMPDIR, or /tmp when unset) + "/zov-<uid>".
std::filesystem::path DefaultTempBase();

// Why an instance has no temporary folder: a French format with one "%s" for the path.
struct TempFolderProblem {
    std::string_view format;
    std::string path;

    bool Empty() const { return format.empty(); }
    std::string Describe(const Translate& translate) const;
};

// Creates the base folder (0700) when missing and checks that it is safe to use: a real folder
// (not a link), owned by us, closed to group and others.
TempFolderProblem PrepareTempBase(const std::filesystem::path& base);

// Removes every "ZOV_TMP*" folder of the base: its first-level entries other than folders are
// unlinked (links never followed), then the folder is removed; one that still holds a folder
// stays. Entries that are links or belong to another user are left alone. Call only while
// holding the instances lock exclusively.
void PurgeStaleTempFolders(const std::filesystem::path& base);

// Unlinks the first-level entries of a folder other than folders, then removes it.
bool RemoveTempFolder(const std::filesystem::path& folder);

class InstanceFolder {
public:
    static constexpr int kMaxInstances = 10;

    // Prepares the base, takes the lock (purging first when no other instance holds it) and
    // claims the first free number by creating its folder.
    explicit InstanceFolder(const std::filesystem::path& base = DefaultTempBase());
    ~InstanceFolder();
    InstanceFolder(const InstanceFolder&) = delete;
    InstanceFolder& operator=(const InstanceFolder&) = delete;

    bool HasFolder() const { return number_ > 0; }
    // "" when there is none.
    const std::filesystem::path& Folder() const { return folder_; }
    int Number() const { return number_; }
    // Whether this instance found itself alone and purged stale folders.
    bool Purged() const { return purged_; }
    const TempFolderProblem& Problem() const { return problem_; }

    // The message shown at start-up when there is no folder, "" otherwise.
    std::string StartupMessage(const Translate& translate) const;

    // Removes the folder (first level, then the folder) and releases the lock; done by the
    // destructor when not called before.
    void Release();

private:
    std::filesystem::path folder_;
    TempFolderProblem problem_;
    int number_ = 0;
    int lockFd_ = -1;
    bool purged_ = false;
};

}  // namespace zov::shell
