#include "ide/shell/core/RunPlan.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace zov::shell {

namespace {

bool Chosen(const std::vector<unsigned>& flags, std::size_t index)
{
    return index < flags.size() && flags[index] != 0;
}

}  // namespace

RunList BuildRunList(const ProjectOutline& outline, const RunRoot& root, const std::vector<unsigned>& flags,
                     std::vector<int>* unselected)
{
    RunList list;
    const auto& campaigns = outline.campaigns;
    switch (root.kind) {
    case RunRootKind::Project:
        for (std::size_t c = 0; c < campaigns.size(); ++c)
            if (Chosen(flags, c))
                for (const OutlineSet& set : campaigns[c].sets)
                    list.push_back(set.group);
        break;
    case RunRootKind::Campaign:
        if (root.campaign >= 0 && root.campaign < static_cast<int>(campaigns.size())) {
            const auto& sets = campaigns[static_cast<std::size_t>(root.campaign)].sets;
            for (std::size_t s = 0; s < sets.size(); ++s)
                if (Chosen(flags, s))
                    list.push_back(sets[s].group);
        }
        break;
    case RunRootKind::TestSet:
    case RunRootKind::Test: {
        if (root.campaign < 0 || root.campaign >= static_cast<int>(campaigns.size()))
            break;
        const auto& sets = campaigns[static_cast<std::size_t>(root.campaign)].sets;
        if (root.set < 0 || root.set >= static_cast<int>(sets.size()))
            break;
        const CampaignGroup& all = sets[static_cast<std::size_t>(root.set)].group;
        CampaignGroup group = all;
        group.tests.clear();
        for (std::size_t t = 0; t < all.tests.size(); ++t) {
            if (Chosen(flags, t))
                group.tests.push_back(all.tests[t]);
            else if (unselected != nullptr)
                unselected->push_back(all.tests[t].key);
        }
        list.push_back(std::move(group));
        break;
    }
    }
    return list;
}

std::optional<std::vector<int>> ConfigurationCampaignIds(const std::vector<std::string>& configurations,
                                                         const std::string& name)
{
    for (const std::string& configuration : configurations) {
        const std::size_t equals = configuration.find('=');
        if (equals == std::string::npos || configuration.compare(0, equals, name) != 0 || equals != name.size())
            continue;
        std::vector<int> ids;
        std::size_t start = equals + 1;
        for (std::size_t semicolon; (semicolon = configuration.find(';', start)) != std::string::npos;
             start = semicolon + 1)
            ids.push_back(std::atoi(configuration.substr(start, semicolon - start).c_str()));
        return ids;
    }
    return std::nullopt;
}

RunList BuildBatchRunList(const ProjectOutline& outline, const std::vector<std::string>& configurations,
                          const std::string& name)
{
    std::vector<int> ids;
    if (!name.empty())
        ids = ConfigurationCampaignIds(configurations, name).value_or(std::vector<int>{});
    RunList list;
    for (const OutlineCampaign& campaign : outline.campaigns) {
        if (!name.empty() && std::find(ids.begin(), ids.end(), campaign.id) == ids.end())
            continue;
        for (const OutlineSet& set : campaign.sets)
            list.push_back(set.group);
    }
    return list;
}

std::optional<int> BatchVersionIndex(const std::string& version, const std::vector<std::string>& versionNames)
{
    if (version.empty())
        return std::nullopt;
    int index = 0;
    const char* end = version.data() + version.size();
    const auto parsed = std::from_chars(version.data(), end, index);
    if (parsed.ec == std::errc() && parsed.ptr == end && index >= 0 && index < static_cast<int>(versionNames.size()))
        return index;
    for (std::size_t i = 0; i < versionNames.size(); ++i)
        if (versionNames[i] == version)
            return static_cast<int>(i);
    return std::nullopt;
}

}  // namespace zov::shell
