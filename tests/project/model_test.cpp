// The project model: ids, positions, lookups by path, results, copies and requirement coverage.
#include "ide/project/model/ProjectModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace zov::project;

std::vector<std::string> Names(const std::vector<std::unique_ptr<CCampaign>>& campaigns)
{
    std::vector<std::string> names;
    for (const auto& c : campaigns) {
        names.push_back(c->Name);
    }
    return names;
}

TEST(ProjectModel, IdsAreCountedPerKindFromOne)
{
    ProjectModel model;
    model.NewProject("P", "/p", "");
    CCampaign& a = *model.AddCampaign("A", kAddAtEnd, 0, nullptr);
    CCampaign& b = *model.AddCampaign("B", kAddAtEnd, 0, nullptr);
    CTestSet& s1 = *model.AddTestSet(a, "S1", kAddAtEnd, 0, 0, 0, nullptr);
    CTestSet& s2 = *model.AddTestSet(b, "S2", kAddAtEnd, 0, 0, 0, nullptr);
    CTest& t1 = *model.AddTest(s1, "t1.qzs", "T1", kAddAtEnd, 0, nullptr, 0);
    CTest& t2 = *model.AddTest(s2, "t2.qzs", "T2", kAddAtEnd, 0, nullptr, 5);
    CTest& t3 = *model.AddTest(s2, "t3.qzs", "T3", kAddAtEnd, 0, nullptr, 0);
    EXPECT_EQ(std::vector<std::uint32_t>({a.Id, b.Id}), std::vector<std::uint32_t>({1, 2}));
    EXPECT_EQ(std::vector<std::uint32_t>({s1.Id, s2.Id}), std::vector<std::uint32_t>({1, 2}));
    EXPECT_EQ(std::vector<std::uint32_t>({t1.Id, t2.Id, t3.Id}), std::vector<std::uint32_t>({1, 2, 3}));
    EXPECT_EQ(t2.Background, 1);
    EXPECT_EQ(s2.Campaign, &b);
    EXPECT_EQ(t3.TestSet, &s2);
    // Every new test has its (empty) result list.
    EXPECT_EQ(model.Results().size(), 3u);
    EXPECT_EQ(model.FilePath, "/p/P.qzp");
}

TEST(ProjectModel, AddPositionsPlaceTheRecord)
{
    struct Case {
        int position;
        int index;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {kAddAtEnd, 0, {"a", "b", "c", "new"}},
        {kAddAtFront, 2, {"new", "a", "b", "c"}},
        {kAddBeforeIndex, 0, {"new", "a", "b", "c"}},
        {kAddBeforeIndex, 2, {"a", "b", "new", "c"}},
        {kAddBeforeIndex, 3, {"a", "b", "c", "new"}},
        {kAddBeforeIndex, 99, {"a", "b", "c", "new"}},
        {7, 0, {"a", "b", "c", "new"}},
        {-1, 0, {"a", "b", "c", "new"}},
    };
    for (const Case& c : cases) {
        ProjectModel model;
        model.NewProject("P", "/p", "");
        for (const char* name : {"a", "b", "c"}) {
            model.AddCampaign(name, kAddAtEnd, 0, nullptr);
        }
        model.AddCampaign("new", c.position, c.index, nullptr);
        EXPECT_EQ(Names(model.Campaigns), c.order) << c.position << " " << c.index;
    }
}

class PathLookup : public ::testing::Test {
public:
    void SetUp() override
    {
        model.NewProject("P", "/p", "");
        CCampaign& first = *model.AddCampaign("Premier", kAddAtEnd, 0, nullptr);
        CCampaign& campaign = *model.AddCampaign("CAMPAGNE", kAddAtEnd, 0, nullptr);
        CCampaign& a = *model.AddCampaign("A", kAddAtEnd, 0, nullptr);
        firstEns = model.AddTestSet(first, "Ens", kAddAtEnd, 0, 0, 0, nullptr)->Id;
        CTestSet& ens = *model.AddTestSet(campaign, "ens", kAddAtEnd, 0, 0, 0, nullptr);
        campagneEns = ens.Id;
        bc = model.AddTestSet(a, "B/C", kAddAtEnd, 0, 0, 0, nullptr)->Id;
        CTestSet& b = *model.AddTestSet(a, "B", kAddAtEnd, 0, 0, 0, nullptr);
        testInEns = model.AddTest(ens, "t.qzs", "Essai", kAddAtEnd, 0, nullptr, 0)->Id;
        testC = model.AddTest(b, "c.qzs", "C", kAddAtEnd, 0, nullptr, 0)->Id;
        accented = model.AddTest(b, "e.qzs", "Été", kAddAtEnd, 0, nullptr, 0)->Id;
    }
    ProjectModel model;
    std::uint32_t firstEns = 0, campagneEns = 0, bc = 0, testInEns = 0, testC = 0, accented = 0;
};

TEST_F(PathLookup, FindsTestSetsAndTestsByPathWithoutCase)
{
    struct Case {
        const char* path;
        bool testSet;  // else a test
        std::uint32_t PathLookup::*expected;
    };
    std::uint32_t PathLookup::*none = nullptr;
    const Case cases[] = {
        {"Campagne/Ens", true, &PathLookup::campagneEns},
        {"Ens", true, &PathLookup::firstEns},
        {"A/B/C", true, &PathLookup::bc},
        {"Nulle/Ens", true, none},
        {"/ens", true, &PathLookup::firstEns},
        {"A/B", false, none},
        {"A/B/C", false, &PathLookup::testC},
        {"a/b/c", false, &PathLookup::testC},
        {"Essai", false, &PathLookup::testInEns},
        {"campagne/ENS/essai", false, &PathLookup::testInEns},
        {"Premier/Ens/Essai", false, none},
        {"A/B/été", false, &PathLookup::accented},
        {"Rien", false, none},
    };
    for (const Case& c : cases) {
        const std::uint32_t expected = c.expected ? this->*c.expected : 0;
        const std::uint32_t found = c.testSet ? model.FindTestSetByPath(c.path) : model.FindTestByPath(c.path);
        EXPECT_EQ(found, expected) << c.path << (c.testSet ? " (test set)" : " (test)");
    }
}

TEST_F(PathLookup, ARenameIsSeenAfterTreeChanged)
{
    model.FindTestSetById(campagneEns)->Name = "Nouveau";
    model.TreeChanged();
    EXPECT_EQ(model.FindTestSetByPath("Campagne/Nouveau"), campagneEns);
    EXPECT_EQ(model.FindTestSetByPath("Campagne/Ens"), 0u);
    auto removed = model.RemoveTestSet(model.FindTestSetById(campagneEns));
    ASSERT_TRUE(removed);
    EXPECT_EQ(model.FindTestSetById(campagneEns), nullptr);
    EXPECT_EQ(model.FindTestById(testInEns), nullptr);
    EXPECT_FALSE(model.RemoveTestSet(removed.get()));
}

TEST(ProjectModel, SetResultTwiceKeepsOneResultWithTheSecondValues)
{
    ProjectModel model;
    model.SetResult(3, 7, 1, "premier", 100, 10);
    model.SetResult(3, 7, 0, "second", 200, 20);
    model.SetResult(4, 7, 2, "autre version", 300, 30);
    ASSERT_EQ(model.Results().size(), 1u);
    ASSERT_EQ(model.Results()[0]->Results.size(), 2u);
    const CTestResult* result = model.FindResult(7, 3);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Value, 0);
    EXPECT_EQ(result->Info, "second");
    EXPECT_EQ(result->StartTime, 200);
    EXPECT_EQ(result->Duration, 20);
    EXPECT_EQ(model.FindResult(7, 5), nullptr);
    EXPECT_EQ(model.FindResult(8, 3), nullptr);
}

TEST(ProjectModel, RemoveVersionResultsDropsEveryEmptyList)
{
    ProjectModel model;
    model.EnsureResultList(1);           // empty from the start
    model.SetResult(1, 2, 1, "", 0, 0);  // only version 1
    model.SetResult(2, 3, 1, "", 0, 0);  // only version 2
    model.SetResult(1, 4, 1, "", 0, 0);  // both
    model.SetResult(2, 4, 0, "", 0, 0);

    ProjectModel cleared;
    cleared.EnsureResultList(1);
    cleared.SetResult(1, 2, 1, "", 0, 0);
    cleared.ClearVersionResults({1});
    EXPECT_EQ(cleared.Results().size(), 2u) << "clearing keeps the lists";

    model.RemoveVersionResults({99});
    std::vector<std::uint32_t> left;
    for (const auto& list : model.Results()) {
        left.push_back(list->TestId);
    }
    EXPECT_EQ(left, std::vector<std::uint32_t>({2, 3, 4})) << "an unused id still drops the empty list";

    model.RemoveVersionResults({1});
    left.clear();
    for (const auto& list : model.Results()) {
        left.push_back(list->TestId);
    }
    EXPECT_EQ(left, std::vector<std::uint32_t>({3, 4}));
    EXPECT_EQ(model.FindResult(4, 1), nullptr);
    ASSERT_NE(model.FindResult(4, 2), nullptr);
    EXPECT_EQ(model.FindResultList(2), nullptr);
    // A removed list can come back.
    model.SetResult(1, 2, 1, "again", 0, 0);
    ASSERT_NE(model.FindResult(2, 1), nullptr);
    EXPECT_EQ(model.FindResult(2, 1)->Info, "again");
}

TEST(ProjectModel, RemoveResultListOfAnUnknownIdChangesNothing)
{
    ProjectModel model;
    model.SetResult(1, 2, 1, "x", 0, 0);
    model.EnsureResultList(5);
    model.RemoveResultList(9);
    ASSERT_EQ(model.Results().size(), 2u);
    model.RemoveResultList(2);
    ASSERT_EQ(model.Results().size(), 1u);
    EXPECT_EQ(model.Results()[0]->TestId, 5u);
    EXPECT_EQ(model.FindResult(2, 1), nullptr);
}

TEST(ProjectModel, ACopiedSetGetsNewIdsAndEmptyConfigs)
{
    ProjectModel model;
    model.NewProject("P", "/p", "");
    CCampaign& campaign = *model.AddCampaign("C", kAddAtEnd, 0, nullptr);
    CTestSet& set = *model.AddTestSet(campaign, "S", kAddAtEnd, 0, 2, 1, nullptr);
    set.Text = "texte";
    set.Params = "a;b";
    set.Configs = {"cfg"};
    CTest& test = *model.AddTest(set, "t.qzs", "T", kAddAtEnd, 0, nullptr, 1);
    test.Params = "x";
    test.RunMark = 2;

    std::unique_ptr<CTestSet> copy = model.CopyTestSet(set);
    EXPECT_EQ(copy->Id, 2u);
    EXPECT_EQ(copy->Name, "S");
    EXPECT_EQ(copy->Text, "texte");
    EXPECT_EQ(copy->Params, "a;b");
    EXPECT_EQ(copy->Mode, 2);
    EXPECT_EQ(copy->Depends, 1);
    EXPECT_TRUE(copy->Configs.empty());
    ASSERT_EQ(copy->Tests.size(), 1u);
    const CTest& copiedTest = *copy->Tests[0];
    EXPECT_EQ(copiedTest.Id, 2u);
    EXPECT_EQ(copiedTest.TestSet, copy.get());
    EXPECT_EQ(copiedTest.File, "t.qzs");
    EXPECT_EQ(copiedTest.Params, "x");
    EXPECT_EQ(copiedTest.Background, 1);
    EXPECT_EQ(copiedTest.RunMark, 2);
    EXPECT_NE(model.FindResultList(2), nullptr);
}

TEST(ProjectModel, RequirementCoversTestThroughSetsAndDirectLinks)
{
    ProjectModel model;
    model.NewProject("P", "/p", "");
    CCampaign& campaign = *model.AddCampaign("C", kAddAtEnd, 0, nullptr);
    CTestSet& s1 = *model.AddTestSet(campaign, "S1", kAddAtEnd, 0, 0, 0, nullptr);
    CTestSet& s2 = *model.AddTestSet(campaign, "S2", kAddAtEnd, 0, 0, 0, nullptr);
    CTest& t1 = *model.AddTest(s1, "a", "T1", kAddAtEnd, 0, nullptr, 0);
    CTest& t2 = *model.AddTest(s2, "b", "T2", kAddAtEnd, 0, nullptr, 0);

    struct Case {
        const char* name;
        std::vector<CItemLink> links;
        int coversT1;
        int coversT2;
    };
    const Case cases[] = {
        {"set link", {{kLinkTestSet, s1.Id}}, 1, 0},
        {"test link", {{kLinkTest, t2.Id}}, 0, 1},
        {"missing set", {{kLinkTestSet, 42}}, 0, 0},
        {"missing set then test", {{kLinkTestSet, 42}, {kLinkTest, t1.Id}}, 1, 0},
        {"unknown kind", {{3, s1.Id}}, 0, 0},
        {"no links", {}, 0, 0},
    };
    for (const Case& c : cases) {
        CRequirement requirement;
        requirement.Links = c.links;
        EXPECT_EQ(model.RequirementCoversTest(requirement, t1), c.coversT1) << c.name;
        EXPECT_EQ(model.RequirementCoversTest(requirement, t2), c.coversT2) << c.name;
    }
}

TEST(ProjectModel, ClearProjectKeepsWhatTheNextProjectResets)
{
    ProjectModel model;
    model.NewProject("P", "/p", "");
    model.DataNames = {"n"};
    model.DataValues = {"v"};
    model.SetRequirementsExportFile("/p/x.csv");
    model.RequirementCsvSettings.Separator = ',';
    model.AddCampaign("C", kAddAtEnd, 0, nullptr);
    model.ClearProject();
    EXPECT_TRUE(model.Campaigns.empty());
    EXPECT_EQ(model.NextCampaignId, 2u);
    EXPECT_EQ(model.DataNames.size(), 1u);

    // A new project starts clean: no pairs, no export paths, the default CSV dialect.
    model.NewProject("Q", "/q", "i.qzi");
    EXPECT_TRUE(model.DataNames.empty());
    EXPECT_TRUE(model.DataValues.empty());
    EXPECT_EQ(model.GetRequirementsExportFile(), "");
    EXPECT_EQ(model.RequirementCsvSettings.Separator, ';');
    EXPECT_EQ(model.RequirementCsvSettings.TextQualifier, 0);
    EXPECT_EQ(model.RequirementCsvSettings.FirstLine, 0);
    EXPECT_EQ(model.RequirementCsvSettings.Headers[3], "Référence");
    EXPECT_EQ(model.FactCsvSettings.Headers.size(), 6u);
    EXPECT_EQ(model.FactCsvSettings.UntestedLabel, "Non testé");
    EXPECT_EQ(model.InterfacePath, "/q/i.qzi");
    EXPECT_EQ(model.AddCampaign("D", kAddAtEnd, 0, nullptr)->Id, 1u);
}

TEST(ProjectModel, NamesCompareUpperCasedLikeTheWindowsCodePage)
{
    EXPECT_EQ(UpperCaseName("abc-xyz_09"), "ABC-XYZ_09");
    EXPECT_EQ(UpperCaseName("été à l'œuvre, ÿ š ž ß µ ÷"), "ÉTÉ À L'ŒUVRE, Ÿ Š Ž ß µ ÷");
    EXPECT_EQ(UpperCaseName("Caf\xE9"), "CAFÉ") << "a stray Windows-1252 byte counts as its letter";
}

TEST(InterfaceNames, DisplayNameCutsTheFolderAndTheExtension)
{
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"/banc/interfaces/Pupitre.qzi", "Pupitre"},
        {"C:\\banc\\Pupitre.qzi", "Pupitre"},
        {"/banc/Pupitre.QZI", "Pupitre.QZI"},
        {"Pupitre.qzi", "Pupitre"},
        {"Pupitre", "Pupitre"},
        {"/banc/a.qzi.qzi", "a"},
        {"/banc/", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InterfaceDisplayName(c.path), c.name) << c.path;
    }
    ProjectModel model;
    model.InterfacePath = "/banc/sub/Pupitre.qzi";
    model.InsertedInterfaces = {"libs\\Commun.qzi"};
    EXPECT_EQ(model.GetInterfaceName(), "Pupitre");
    EXPECT_EQ(model.GetInsertedInterfaceName(0), "Commun");
    EXPECT_EQ(model.GetInsertedInterfaceName(1), "");
}

}  // namespace
