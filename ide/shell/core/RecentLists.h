#pragma once
// The File menu's two recent lists (projects and script files): most recent first, five at most,
// kept in ZOV.ini under "MRUProjects" and "MRUFiles" as File1 to File5.

#include "ide/shell/core/Settings.h"

#include <string>
#include <vector>

namespace zov::shell {

enum class RecentKind { Projects, Files };

class RecentList {
public:
    static constexpr int kMaximum = 5;

    // File1 to File5 in order, keeping the values that name an existing file.
    static RecentList Read(const Settings& settings, RecentKind kind);
    // File1 to File5 from the list, "" for the slots it does not fill.
    bool Write(const Settings& settings, RecentKind kind) const;

    // Puts the path first; an entry of the same path moves there, the sixth falls off.
    void Add(const std::string& path);
    const std::vector<std::string>& Entries() const { return entries_; }

private:
    std::vector<std::string> entries_;
};

}  // namespace zov::shell
