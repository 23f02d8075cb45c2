#include "ide/shell/core/RecentLists.h"

#include "common/PathUtils.h"

#include <algorithm>

namespace zov::shell {
namespace {

SettingId SlotOf(RecentKind kind, int index)
{
    return kind == RecentKind::Projects ? RecentProjectSetting(index) : RecentFileSetting(index);
}

}  // namespace

RecentList RecentList::Read(const Settings& settings, RecentKind kind)
{
    RecentList list;
    for (int i = 0; i < kMaximum; ++i) {
        std::string path = settings.GetString(SlotOf(kind, i));
        if (!path.empty() && FileExists(path))
            list.entries_.push_back(std::move(path));
    }
    return list;
}

bool RecentList::Write(const Settings& settings, RecentKind kind) const
{
    bool written = true;
    for (int i = 0; i < kMaximum; ++i) {
        const std::string value = i < static_cast<int>(entries_.size()) ? entries_[i] : std::string();
        written = settings.WriteString(SlotOf(kind, i), value) && written;
    }
    return written;
}

void RecentList::Add(const std::string& path)
{
    if (path.empty())
        return;
    std::erase(entries_, path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > static_cast<std::size_t>(kMaximum))
        entries_.resize(kMaximum);
}

}  // namespace zov::shell
