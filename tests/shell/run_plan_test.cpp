#include "ide/shell/core/RunPlan.h"

#include "tests/shell/CampaignFakeHost.h"

#include <gtest/gtest.h>

namespace zov::shell {
namespace {

using testing::MakeGroup;
using Keys = std::vector<int>;

// Campaign 7: sets 100 (tests 100, 101) and 200 (200..202); campaign 3: set 300 (300).
ProjectOutline Outline()
{
    ProjectOutline outline;
    outline.campaigns.push_back({7, {{MakeGroup(100, 2)}, {MakeGroup(200, 3, SetMode::Parallel)}}});
    outline.campaigns.push_back({3, {{MakeGroup(300, 1)}}});
    return outline;
}

Keys TestKeys(const RunList& list)
{
    Keys keys;
    for (const CampaignGroup& group : list)
        for (const CampaignTest& test : group.tests)
            keys.push_back(test.key);
    return keys;
}

TEST(RunPlan, RunListFollowsTheSelectedItemKind)
{
    struct Case {
        const char* name;
        RunRoot root;
        std::vector<unsigned> flags;
        Keys tests;
        Keys unselected;
        std::size_t groups;
    };
    const Case cases[] = {
        {"root: chosen campaigns' sets", {RunRootKind::Project}, {0, 1}, {300}, {}, 1},
        {"root: both campaigns", {RunRootKind::Project}, {1, 1}, {100, 101, 200, 201, 202, 300}, {}, 3},
        {"campaign: chosen sets", {RunRootKind::Campaign, 0}, {0, 1}, {200, 201, 202}, {}, 1},
        {"set: chosen tests, others unselected", {RunRootKind::TestSet, 0, 1}, {1, 0, 1}, {200, 202}, {201}, 1},
        {"test: its set's list", {RunRootKind::Test, 0, 0}, {0, 1}, {101}, {100}, 1},
        {"flags shorter than the list", {RunRootKind::TestSet, 0, 1}, {1}, {200}, {201, 202}, 1},
        {"nothing chosen", {RunRootKind::Project}, {}, {}, {}, 0},
    };
    for (const Case& c : cases) {
        Keys unselected;
        const RunList list = BuildRunList(Outline(), c.root, c.flags, &unselected);
        EXPECT_EQ(TestKeys(list), c.tests) << c.name;
        EXPECT_EQ(unselected, c.unselected) << c.name;
        EXPECT_EQ(list.size(), c.groups) << c.name;
    }
    EXPECT_EQ(BuildRunList(Outline(), {RunRootKind::TestSet, 0, 1}, {1, 1, 1}).front().mode, SetMode::Parallel);
}

TEST(RunPlan, BatchConfigurationNamesCampaignsRunInProjectOrder)
{
    const std::vector<std::string> configurations = {"nuit=7", "cfg=3;7;x", "cfg=1;", "a=b=3;"};
    struct Case {
        std::string name;
        Keys tests;
    };
    const Case cases[] = {
        {"cfg", {100, 101, 200, 201, 202, 300}},
        {"", {100, 101, 200, 201, 202, 300}},
        {"nuit", {}},  // no ";": nothing before the last one
        {"inconnue", {}},
        {"a", {}},
        {"CFG", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TestKeys(BuildBatchRunList(Outline(), configurations, c.name)), c.tests) << c.name;
    EXPECT_EQ(ConfigurationCampaignIds({"cfg=3;1;x"}, "cfg"), (std::vector<int>{3, 1}));
    EXPECT_EQ(ConfigurationCampaignIds({"cfg=3;1;x"}, "cf"), std::nullopt);
    EXPECT_EQ(TestKeys(BuildBatchRunList(Outline(), {"x=3;"}, "x")), (Keys{300}));
}

TEST(RunPlan, BatchVersionIsAnIndexOrAName)
{
    const std::vector<std::string> names = {"V1", "V2", "2024"};
    struct Case {
        std::string version;
        std::optional<int> index;
    };
    const Case cases[] = {
        {"1", 1},
        {"0", 0},
        {"V2", 1},
        {"2024", 2},
        {"v2", std::nullopt},
        {"", std::nullopt},
        {"7", std::nullopt},
        {"-1", std::nullopt},
        {"1x", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BatchVersionIndex(c.version, names), c.index) << c.version;
}

}  // namespace
}  // namespace zov::shell
