// The results synthesis computed without widgets: list rows with their codes, graph points, axis.
#include "ide/project/model/ResultsSynthesis.h"
#include "tests/project/ProjectFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::project::testing {
namespace {

// "code|text|result|date|duration" per row.
std::vector<std::string> Describe(const std::vector<SynthesisRow>& rows)
{
    std::vector<std::string> lines;
    for (const SynthesisRow& row : rows) {
        std::string line = std::to_string(row.Code) + "|" + row.Text;
        if (!row.Result.empty() || !row.Date.empty() || !row.Duration.empty()) {
            line += "|" + row.Result + "|" + row.Date + "|" + row.Duration;
        }
        lines.push_back(line);
    }
    return lines;
}

// Campaign A: S1 {T1, T2}, S2 {T3}; campaign B: S3 {T4}. Versions V1 (id 10) and V2 (id 20).
// V1: T1 OK, T2 NOK, T3 OK, T4 none. V2: T1 NOK, T2 OK, T3 value 2, T4 OK.
class SynthesisTest : public ::testing::Test {
protected:
    ProjectModel model;
    CTest* t[5] = {};
    CTestSet* s1 = nullptr;

    void SetUp() override
    {
        UseTimeZone("UTC");
        model.NewProject("P", "/nonexistent-zov", "");
        CCampaign& a = *model.AddCampaign("A", kAddAtEnd, 0, nullptr);
        s1 = model.AddTestSet(a, "S1", kAddAtEnd, 0, 0, 0, nullptr);
        t[1] = model.AddTest(*s1, "1.qzs", "T1", kAddAtEnd, 0, nullptr, 0);
        t[2] = model.AddTest(*s1, "2.qzs", "T2", kAddAtEnd, 0, nullptr, 0);
        CTestSet& s2 = *model.AddTestSet(a, "S2", kAddAtEnd, 0, 0, 0, nullptr);
        t[3] = model.AddTest(s2, "3.qzs", "T3", kAddAtEnd, 0, nullptr, 0);
        CCampaign& b = *model.AddCampaign("B", kAddAtEnd, 0, nullptr);
        CTestSet& s3 = *model.AddTestSet(b, "S3", kAddAtEnd, 0, 0, 0, nullptr);
        t[4] = model.AddTest(s3, "4.qzs", "T4", kAddAtEnd, 0, nullptr, 0);
        model.Versions.push_back(std::make_unique<CVersion>(CVersion{10, "V1", "a"}));
        model.Versions.push_back(std::make_unique<CVersion>(CVersion{20, "V2", "b"}));
        const std::time_t day1 = UtcTime(2024, 3, 5, 7, 8, 9);
        model.SetResult(10, t[1]->Id, 1, "", day1, 90061);
        model.SetResult(10, t[2]->Id, 0, "", day1 + 1, 5);
        model.SetResult(10, t[3]->Id, 1, "", day1 + 2, 61);
        const std::time_t day2 = UtcTime(2024, 3, 6, 0, 0, 0);
        model.SetResult(20, t[1]->Id, 0, "", day2, 1);
        model.SetResult(20, t[2]->Id, 1, "", day2 + 1, 2);
        model.SetResult(20, t[3]->Id, 2, "", day2 + 2, 3);
        model.SetResult(20, t[4]->Id, 1, "", day2 + 3, 4);

        const auto requirement = [this](const char* id, std::vector<CItemLink> links) {
            model.Requirements.push_back(std::make_unique<CRequirement>(CRequirement{id, "", "", std::move(links)}));
        };
        const auto fact = [this](const char* id, std::vector<CItemLink> links) {
            model.TechFacts.push_back(std::make_unique<CTechFact>(CTechFact{id, "", std::move(links)}));
        };
        requirement("R1", {{kLinkTest, t[1]->Id}, {kLinkTest, t[2]->Id}});
        requirement("R2", {});
        requirement("R3", {{kLinkTestSet, s1->Id}, {kLinkTest, t[4]->Id}});
        requirement("R4", {{kLinkTest, 999}, {kLinkTestSet, 998}});  // both gone
        fact("F1", {{kLinkTest, t[1]->Id}, {kLinkTest, t[2]->Id}});
        fact("F2", {{kLinkTestSet, s1->Id}});
        fact("F3", {{kLinkTest, t[2]->Id}});
    }
};

struct RowsCase {
    int type;
    int filter;
    size_t version;
    std::vector<std::string> expected;
};

TEST_F(SynthesisTest, RowsForEachTypeAndFilter)
{
    const std::string d1 = "2024/03/05 07:08:";
    const std::string d2 = "2024/03/06 00:00:0";
    const RowsCase cases[] = {
        {kSynthesisTests,
         0,
         1,
         {"1|A", "4|  S1", "2|    T1|NOK|" + d2 + "0|", "0|    T2|OK|" + d2 + "1|00:00:02", "4|  S2",
          "0|    T3||" + d2 + "2|", "1|B", "4|  S3", "0|    T4|OK|" + d2 + "3|00:00:04"}},
        {kSynthesisTests,
         1,
         0,
         {"1|A", "4|  S1", "0|    T1|OK|" + d1 + "09|01:01:01", "4|  S2", "0|    T3|OK|" + d1 + "11|00:01:01"}},
        {kSynthesisTests, 2, 0, {"1|A", "4|  S1", "2|    T2|NOK|" + d1 + "10|"}},
        {kSynthesisTests, 3, 0, {"1|B", "4|  S3", "0|    T4"}},
        {kSynthesisTests, 4, 1, {"1|A", "4|  S1", "0|    T2|OK|" + d2 + "1|00:00:02"}},
        {kSynthesisTests, 5, 1, {"1|A", "4|  S1", "2|    T1|NOK|" + d2 + "0|"}},
        {kSynthesisTests, 4, 0, {}},
        {kSynthesisTests, 5, 0, {}},
        // Requirements, version V1.
        {kSynthesisRequirements,
         0,
         0,
         {"5|R1", "0|  T1|OK||", "2|  T2|NOK||", "6|R2", "5|R3", "4|  S1", "0|    T1|OK|" + d1 + "09|01:01:01",
          "2|    T2|NOK|" + d1 + "10|", "0|  T4|...||", "6|R4"}},
        {kSynthesisRequirements,
         1,
         0,
         {"1|R1", "0|  T1|OK|" + d1 + "09|01:01:01", "1|R3", "4|  S1", "0|    T1|OK|" + d1 + "09|01:01:01"}},
        {kSynthesisRequirements,
         2,
         0,
         {"5|R1", "2|  T2|NOK|" + d1 + "10|00:00:05", "5|R3", "4|  S1", "2|    T2|NOK|" + d1 + "10|00:00:05"}},
        {kSynthesisRequirements, 3, 0, {"6|R2", "6|R3", "0|  T4|...||", "6|R4"}},
        {kSynthesisRequirements,
         4,
         0,
         {"5|R1", "0|  F1|OK||", "2|  F1|NOK||", "2|  F3|NOK||", "5|R3", "0|  F1|OK||", "2|  F1|NOK||",
          "2|  F3|NOK||"}},
        // Facts: set links count for nothing; OK only when every test is.
        {kSynthesisFacts, 0, 0, {"5|F1", "0|  T1|OK||", "2|  T2|NOK||", "6|F2", "5|F3", "2|  T2|NOK||"}},
        {kSynthesisFacts, 1, 0, {}},
        {kSynthesisFacts, 1, 1, {"1|F3", "0|    T2|OK|" + d2 + "1|00:00:02"}},
        {kSynthesisFacts,
         2,
         0,
         {"5|F1", "2|    T2|NOK|" + d1 + "10|00:00:05", "5|F3", "2|    T2|NOK|" + d1 + "10|00:00:05"}},
        {kSynthesisFacts, 3, 0, {"6|F2"}},
        {kSynthesisFacts, 4, 0, {"6|F1", "0|  R1", "0|  R3", "0|  R1", "0|  R3", "6|F3", "0|  R1", "0|  R3"}},
        {kSynthesisFacts, 4, 1, {"6|F1", "0|  R1", "0|  R3", "0|  R1", "0|  R3", "1|F3", "0|  R1", "0|  R3"}},
    };
    const ResultsSynthesis synthesis(model);
    for (const RowsCase& c : cases) {
        EXPECT_EQ(Describe(synthesis.Rows(c.type, c.filter, c.version)), c.expected)
            << "type " << c.type << " filter " << c.filter << " version " << c.version;
    }
}

TEST_F(SynthesisTest, OtherValuesShowAQuestionMarkInTheNokViews)
{
    model.Requirements.push_back(std::make_unique<CRequirement>(CRequirement{"R5", "", "", {{kLinkTest, t[3]->Id}}}));
    const ResultsSynthesis synthesis(model);
    const auto rows = Describe(synthesis.Rows(kSynthesisRequirements, 2, 1));
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.back(), "0|  T3|?|2024/03/06 00:00:02|");
    // The global view shows no text for it, and the requirement counts as not tested.
    const auto global = Describe(synthesis.Rows(kSynthesisRequirements, 0, 1));
    EXPECT_EQ(std::vector<std::string>(global.end() - 2, global.end()), (std::vector<std::string>{"6|R5", "0|  T3"}));
}

TEST_F(SynthesisTest, AProjectWithoutResultListsListsEveryTestAsNotRun)
{
    for (int i = 1; i <= 4; ++i) {
        model.RemoveResultList(t[i]->Id);
    }
    ASSERT_TRUE(model.Results().empty());
    const ResultsSynthesis synthesis(model);
    EXPECT_EQ(Describe(synthesis.Rows(kSynthesisTests, 3, 1)),
              (std::vector<std::string>{"1|A", "4|  S1", "0|    T1", "0|    T2", "4|  S2", "0|    T3", "1|B", "4|  S3",
                                        "0|    T4"}));
}

struct GraphCase {
    int type;
    int filter;
    std::vector<std::uint32_t> colours;
    std::vector<std::vector<int>> values;
};

TEST_F(SynthesisTest, GraphPoints)
{
    const GraphCase cases[] = {
        {kSynthesisTests, 0, {kSynthesisGreen, kSynthesisRed}, {{2, 2}, {3, 3}}},
        {kSynthesisTests, 1, {kSynthesisGreen, kSynthesisRed}, {{2, 2}, {2, 2}}},
        {kSynthesisTests, 2, {kSynthesisRed}, {{1, 1}}},
        {kSynthesisTests, 3, {kSynthesisGrey}, {{1, 0}}},
        {kSynthesisTests, 4, {kSynthesisGreen}, {{0, 1}}},
        {kSynthesisTests, 5, {kSynthesisRed}, {{0, 1}}},
        // R1, R3 failed at both versions; R2 and R4 (links gone) are not tested.
        {kSynthesisRequirements, 0, {kSynthesisGreen, kSynthesisRed}, {{0, 0}, {2, 2}}},
        {kSynthesisRequirements, 2, {kSynthesisGreen, kSynthesisRed}, {{0, 0}, {2, 2}}},
        {kSynthesisRequirements, 3, {kSynthesisGrey}, {{2, 2}}},
        // F1 failed at V1 (T2) and V2 (T1); F3 failed then OK; F2 has no test links.
        {kSynthesisFacts, 1, {kSynthesisGreen, kSynthesisRed}, {{0, 1}, {0, 1}}},
        {kSynthesisFacts, 3, {kSynthesisGrey}, {{1, 1}}},
        {kSynthesisFacts, 4, {}, {}},
    };
    const ResultsSynthesis synthesis(model);
    for (const GraphCase& c : cases) {
        const SynthesisGraph graph = synthesis.Graph(c.type, c.filter);
        std::vector<std::uint32_t> colours;
        std::vector<std::vector<int>> values;
        for (const SynthesisSeries& series : graph.Series) {
            colours.push_back(series.Colour);
            values.push_back(series.Values);
        }
        EXPECT_EQ(colours, c.colours) << "type " << c.type << " filter " << c.filter;
        EXPECT_EQ(values, c.values) << "type " << c.type << " filter " << c.filter;
        EXPECT_EQ(graph.Labels, (std::vector<std::string>{"V1", "V2"}));
    }
}

TEST_F(SynthesisTest, ResultsOfDeletedTestsCountNowhere)
{
    std::unique_ptr<CTest> gone = model.RemoveTest(*s1, t[2]);  // its result list stays behind
    const ResultsSynthesis synthesis(model);
    EXPECT_EQ(synthesis.Graph(kSynthesisTests, 0).Series[1].Values, (std::vector<int>{2, 2}));
    EXPECT_EQ(Describe(synthesis.Rows(kSynthesisFacts, 0, 0)).back(), "6|F3");
}

TEST_F(SynthesisTest, TheGraphChartsTheLastFiveHundredVersions)
{
    model.Versions.clear();
    for (std::uint32_t id = 1; id <= 600; ++id) {
        model.Versions.push_back(std::make_unique<CVersion>(CVersion{id, "V" + std::to_string(id), ""}));
    }
    model.SetResult(100, t[1]->Id, 0, "", 0, 0);
    model.SetResult(101, t[1]->Id, 1, "", 0, 0);
    const ResultsSynthesis synthesis(model);
    const SynthesisGraph graph = synthesis.Graph(kSynthesisTests, 4);
    EXPECT_EQ(graph.FirstVersion, 100u);
    ASSERT_EQ(graph.Labels.size(), 500u);
    EXPECT_EQ(graph.Labels.front(), "V101");
    EXPECT_EQ(graph.Series[0].Values.size(), 500u);
    EXPECT_EQ(graph.Series[0].Values[0], 1);  // against V100, just before the chart
}

struct AxisCase {
    int count;
    int step;
    int intervals;
    int maximum;
};

TEST(SynthesisAxis, StepsIntervalsAndMaximum)
{
    const AxisCase cases[] = {
        {150, 100, 2, 200},      {9, 10, 1, 10},        {12000, 12000, 1, 12000}, {0, 10, 0, 0},
        {100, 100, 1, 100},      {99, 10, 10, 100},     {101, 100, 2, 200},       {10000, 10000, 1, 10000},
        {9999, 1000, 10, 10000}, {1001, 1000, 2, 2000}, {95, 10, 10, 100},
    };
    for (const AxisCase& c : cases) {
        EXPECT_EQ(ChooseAxisStep(c.count), c.step) << c.count;
        const SynthesisAxis axis = AxisForCount(c.count);
        EXPECT_EQ(axis.Intervals, c.intervals) << c.count;
        EXPECT_EQ(axis.Maximum, c.maximum) << c.count;
    }
}

TEST(SynthesisFormats, TimesAndDurations)
{
    UseTimeZone("UTC");
    EXPECT_EQ(FormatSynthesisDuration(90061), "01:01:01");
    EXPECT_EQ(FormatSynthesisDuration(0), "00:00:00");
    EXPECT_EQ(FormatSynthesisDuration(86399), "23:59:59");
    EXPECT_EQ(FormatSynthesisTime(UtcTime(2024, 12, 31, 23, 59, 58)), "2024/12/31 23:59:58");
}

TEST_F(SynthesisTest, TypeAndFilterEntries)
{
    const auto translate = [](std::string_view text) { return "[" + std::string(text) + "]"; };
    const ResultsSynthesis synthesis(model, translate);
    EXPECT_EQ(synthesis.TypeEntries(), (std::vector<std::pair<std::string, int>>{
                                           {"[Tests]", 0}, {"[Exigences]", 1}, {"[Faits techniques]", 2}}));
    EXPECT_EQ(synthesis.FilterEntries(kSynthesisRequirements, true).back(), "[Relation exigence / faits techniques]");
    EXPECT_EQ(synthesis.FilterEntries(kSynthesisRequirements, false).size(), 4u);
    EXPECT_EQ(synthesis.FilterEntries(kSynthesisTests, false).back(), "[Tests en régressions]");
    EXPECT_EQ(synthesis.TestTotal(), 4);
    EXPECT_EQ(synthesis.Axis(kSynthesisFacts).Maximum, 10);

    model.TechFacts.clear();
    const ResultsSynthesis withoutFacts(model);
    EXPECT_EQ(withoutFacts.TypeEntries().size(), 2u);
    EXPECT_EQ(withoutFacts.FilterEntries(kSynthesisRequirements, true).size(), 4u);
    EXPECT_EQ(withoutFacts.FilterEntries(kSynthesisFacts, true).back(), "Relation fait technique / exigences");
}

}  // namespace
}  // namespace zov::project::testing
