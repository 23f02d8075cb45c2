#pragma once
// One set-wide list of definitions: borrowed records in list order, with a name index so that
// the colouring's per-word queries and the duplicate checks cost O(1), not a scan.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zov::interfaces {

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

template <class Record>
class DefinitionList {
public:
    const std::vector<Record*>& Records() const { return records_; }
    std::size_t Size() const { return records_.size(); }
    bool Empty() const { return records_.empty(); }

    // The first record of that name in list order, or none.
    Record* Find(std::string_view name) const
    {
        const auto found = byName_.find(name);
        return found == byName_.end() ? nullptr : found->second.front();
    }

    // Whether a record other than `exclude` bears the name.
    bool HasOther(const Record* exclude, std::string_view name) const
    {
        const auto found = byName_.find(name);
        if (found == byName_.end())
            return false;
        return std::any_of(found->second.begin(), found->second.end(), [&](const Record* r) { return r != exclude; });
    }

    // Appends without looking at the name: callers that must refuse duplicates ask first.
    void Append(Record* record)
    {
        records_.push_back(record);
        byName_[record->name].push_back(record);
    }

    // Removes the record when the list holds it; the others keep their order.
    bool Remove(const Record* record)
    {
        const auto at = std::find(records_.begin(), records_.end(), record);
        if (at == records_.end())
            return false;
        records_.erase(at);
        // The record may have been renamed since it was added: look for it under every name.
        auto bucket = byName_.find(record->name);
        if (bucket == byName_.end() ||
            std::find(bucket->second.begin(), bucket->second.end(), record) == bucket->second.end())
            bucket = std::find_if(byName_.begin(), byName_.end(), [&](const auto& entry) {
                return std::find(entry.second.begin(), entry.second.end(), record) != entry.second.end();
            });
        if (bucket != byName_.end()) {
            auto& holders = bucket->second;
            holders.erase(std::find(holders.begin(), holders.end(), record));
            if (holders.empty())
                byName_.erase(bucket);
        }
        return true;
    }

    // Removes every record of `owned` in one pass (an interface being emptied).
    template <class Owned>
    void RemoveAll(const Owned& owned)
    {
        if (records_.empty() || owned.empty())
            return;
        std::unordered_set<const Record*> going;
        for (const auto& record : owned)
            going.insert(record.get());
        std::erase_if(records_, [&](const Record* r) { return going.count(r) != 0; });
        Reindex();
    }

    // Names changed in place (a record edited through its dialog): rebuild the index.
    void Reindex()
    {
        byName_.clear();
        for (Record* r : records_)
            byName_[r->name].push_back(r);
    }

    void Clear()
    {
        records_.clear();
        byName_.clear();
    }

private:
    std::vector<Record*> records_;
    std::unordered_map<std::string, std::vector<Record*>, NameHash, std::equal_to<>> byName_;
};

}  // namespace zov::interfaces
