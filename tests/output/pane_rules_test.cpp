#include "ide/output/model/PaneRules.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace zov::output {
namespace {

using execution::ResultEntry;
using execution::RunRecord;

shell::Translate Upper()
{
    return [](std::string_view text) { return "<" + std::string(text) + ">"; };
}

TEST(ErrorPane, RowTextsSplitAtTheFirstColon)
{
    struct Case {
        const char* text;
        const char* line;
        const char* message;
    } cases[] = {
        {"12: msg", " 12", " < msg>"},
        {"3:a: b: c", " 3", " <a: b: c>"},
        {"no colon here", " ", " <no colon here>"},
        {"4: split\r\nline", " 4", " < splitline>"},
        {"", " ", " <>"},
    };
    for (const Case& c : cases) {
        const ErrorRowTexts row = SplitErrorText(c.text, Upper());
        EXPECT_EQ(row.line, c.line) << c.text;
        EXPECT_EQ(row.message, c.message) << c.text;
    }
    EXPECT_EQ(ErrorRowLine(" 12"), 12);
    EXPECT_EQ(ErrorRowLine(" "), 0);
    EXPECT_EQ(ErrorRowLine(" x7"), 0);
}

TEST(FindPane, KeysSplitAtTheColonBeforeTheLineNumber)
{
    struct Case {
        const char* key;
        bool opens;
        const char* path;
        int line;
    } cases[] = {
        {"scripts/a.qzs:12", true, "scripts/a.qzs", 12},
        {"C:\\tests\\b.qzs:7", true, "C:\\tests\\b.qzs", 7},
        {"C:/x:y/c.qzs:301", true, "C:/x:y/c.qzs", 301},
        {"a.qzs:", true, "a.qzs", 0},
        {"", false, "", 0},
        {"plain", false, "", 0},
    };
    for (const Case& c : cases) {
        const auto target = SplitFindKey(c.key);
        ASSERT_EQ(target.has_value(), c.opens) << c.key;
        if (target) {
            EXPECT_EQ(target->path, c.path) << c.key;
            EXPECT_EQ(target->line, c.line) << c.key;
        }
    }
}

TEST(FindPane, NextWrapsAndPreviousStopsAtTheFirstRow)
{
    struct Case {
        int selected, count, next, previous;
    } cases[] = {
        {-1, 3, 0, 0}, {0, 3, 1, 0}, {1, 3, 2, 0}, {2, 3, 0, 1}, {0, 1, 0, 0}, {-1, 0, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextFindRow(c.selected, c.count), c.next) << c.selected << "/" << c.count;
        EXPECT_EQ(PreviousFindRow(c.selected, c.count), c.previous) << c.selected << "/" << c.count;
    }
    EXPECT_EQ(FindDisplayText("a\r\nb\n"), "ab");
}

TEST(DataPane, SetKeepsTheFlagAndNamesAreCaseSensitive)
{
    DataStore store;
    bool added = false;
    EXPECT_EQ(store.SetData("A", "1", false, &added), 0u);
    EXPECT_TRUE(added);
    EXPECT_EQ(store.SetData("a", "2", true, &added), 1u);
    EXPECT_TRUE(added);
    EXPECT_EQ(store.SetData("A", "3", true, &added), 0u);
    EXPECT_FALSE(added);
    EXPECT_EQ(store.GetData("A"), "3");
    EXPECT_EQ(store.GetData("a"), "2");
    EXPECT_EQ(store.GetData("missing"), "");
    EXPECT_FALSE(store.Items()[0].saveInProject);

    std::vector<std::string> names = {"stale"}, values = {"stale"};
    store.GetAll(names, values);
    EXPECT_EQ(names, std::vector<std::string>{"a"});
    EXPECT_EQ(values, std::vector<std::string>{"2"});

    store.Remove(1);
    store.GetAll(names, values);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(values.empty());
}

TEST(VariablesPane, WatchesArePerNameAndRecord)
{
    RunRecord first, second;
    WatchList watches;
    EXPECT_FALSE(watches.AddVariable("x", nullptr));
    EXPECT_TRUE(watches.AddVariable("x", &first));
    EXPECT_FALSE(watches.AddVariable("x", &first));
    EXPECT_TRUE(watches.AddVariable("x", &second));
    EXPECT_TRUE(watches.AddVariable("y", &first));
    EXPECT_EQ(watches.Names(), (std::vector<std::string>{"x", "x", "y"}));

    EXPECT_EQ(watches.UpdateVariable("x", "42", 3, &second), std::vector<std::size_t>{1});
    EXPECT_EQ(watches.Rows()[0].kind, -1);
    EXPECT_EQ(watches.Rows()[1].value, "42");
    EXPECT_EQ(watches.Rows()[1].kind, 3);
    EXPECT_TRUE(watches.UpdateVariable("x", "1", 0, nullptr).empty());
    EXPECT_TRUE(watches.IsWatched("y", &first));
    EXPECT_FALSE(watches.IsWatched("y", &second));
    watches.Remove(0);
    EXPECT_FALSE(watches.IsWatched("x", &first));
}

TEST(RunsPane, RowBackgrounds)
{
    struct Case {
        int code;
        std::optional<std::uint32_t> colour;
    } cases[] = {
        {-1, std::nullopt}, {0, 0xE6E6FF},     {1, 0xFFFFFF},  {2, 0xC0FFC0},  {3, 0xA0FFFF},      {4, 0xA0FFFF},
        {5, 0xA0FFFF},      {6, std::nullopt}, {10, 0xFFFFFF}, {11, 0xE6E6FF}, {42, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunRowBackground(c.code), c.colour) << c.code;
}

TEST(RunsPane, SummaryCountsEveryHistoryEntry)
{
    RunRecord a, b, c;
    a.history = {{1, "", {"w1", "w2"}, 0, 3600, -1}, {0, "bad", {}, 0, 1, -1}};
    b.history = {{1, "", {}, 0, 90000, -1}, {3, "", {"w"}, 0, 5, -1}};
    const RunSummary summary = SummariseRuns({&a, &b, &c});
    EXPECT_EQ(summary.tests, 4);
    EXPECT_EQ(summary.passed, 2);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(summary.notPassed, 1);
    EXPECT_EQ(summary.warnings, 3);
    EXPECT_EQ(summary.duration, 3600 + 1 + 90000 + 5);
    EXPECT_EQ(FormatTotalDuration(summary.duration), " 26:00:06");
    EXPECT_FALSE(AllIterationsOk(a));
    EXPECT_TRUE(AllIterationsOk(c));
}

TEST(RunsPane, IterationsAndTheirTexts)
{
    setenv("TZ", "UTC", 1);
    tzset();
    RunRecord record;
    record.campaignName = "Camp";
    record.testSetName = "Set";
    record.hasTestSet = true;
    record.testName = "T1";
    EXPECT_EQ(SummaryTestName(record), "Camp : Set : T1");
    RunRecord alone;
    alone.testName = "T2";
    EXPECT_EQ(SummaryTestName(alone), "T2");

    EXPECT_TRUE(SummaryIterations(record).empty());
    record.warnings = {"careful"};
    record.resultCode = 0;
    record.resultText = "why";
    const auto single = SummaryIterations(record);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].text, "why");

    const ResultEntry entry{1, "", {}, 3600 * 13 + 60 * 4 + 5, 3725, -1};
    const auto identity = shell::IdentityTranslate();
    EXPECT_EQ(IterationTimes(entry, identity),
              " Date: 13:04:05    Dur\xC3\xA9"
              "e:01: 02:05");
    EXPECT_EQ(IterationResult(entry, identity), " OK :  <Aucun>");
    EXPECT_EQ(IterationResult({0, "lost", {}, 0, 0, -1}, identity), " NOK : lost");
}

}  // namespace
}  // namespace zov::output
