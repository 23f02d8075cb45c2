// Run records and the runs table: result texts, the running row, durations, history.
#include <gtest/gtest.h>

#include "ide/execution/model/RunRecord.h"

namespace zov::execution {
namespace {

TEST(RunRecord, ResultCodesHaveTheirTexts)
{
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {0, "NOK"},
        {1, "OK"},
        {2, "En cours..."},
        {3, "Arrêté"},
        {4, "Annulé"},
        {5, "Erreur"},
        {6,
         "??"
         "?"},
        {10, "Vérifié"},
        {11, "Erreur"},
        {-1, ""},
        {7, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResultCodeText(c.code), c.text) << c.code;
}

TEST(RunRecord, ParametersComeFromTheRecordElseItsTestSet)
{
    RunRecord record;
    EXPECT_EQ(RunParameters(record), "");
    record.testSetParameters = "set";
    EXPECT_EQ(RunParameters(record), "");  // no test set: its parameters do not count
    record.hasTestSet = true;
    EXPECT_EQ(RunParameters(record), "set");
    record.parameters = "own";
    EXPECT_EQ(RunParameters(record), "own");
}

class RunsTableTest : public ::testing::Test {
protected:
    std::int64_t now = 1'000'000;
    RunsTable table{[](std::string_view text) { return "T(" + std::string(text) + ")"; }, [this] { return now; }};
};

TEST_F(RunsTableTest, RowShowsWhereTheTestBelongs)
{
    RunRecord alone{.testName = "t"};
    RunRecord inSet{.testName = "t2", .testSetName = "s", .campaignName = "c", .hasTestSet = true};
    table.AddRun(alone);
    table.AddRun(inSet);
    table.AddRun(alone);  // once only
    ASSERT_EQ(table.Rows().size(), 2u);
    EXPECT_EQ(table.Rows()[0].test, " t");
    EXPECT_EQ(table.Rows()[0].testSet, "");
    EXPECT_EQ(table.Rows()[1].testSet, " s");
    EXPECT_EQ(table.Rows()[1].campaign, " c");
}

TEST_F(RunsTableTest, FinalOkAddsHistoryWithAtLeastOneSecond)
{
    RunRecord record{.testName = "t"};
    table.AddRun(record);
    record.resultCode = kResultRunning;
    table.UpdateRun(record, false);
    EXPECT_EQ(record.start, now);
    EXPECT_EQ(table.Find(record)->result, " T(En cours...)");
    EXPECT_EQ(table.Find(record)->duration, "");

    record.resultCode = kResultOk;
    record.resultText = "fin";
    record.warnings = {"w1", "w2"};
    table.UpdateRun(record, false);  // ends within the same second
    EXPECT_EQ(record.duration, 1);
    const RunRow& row = *table.Find(record);
    EXPECT_EQ(row.duration, " 00:00:01");
    EXPECT_EQ(row.result, " T(OK)");
    EXPECT_EQ(row.warnings, " 2");
    EXPECT_EQ(row.info, " fin");
    EXPECT_EQ(row.count, "1");
    ASSERT_EQ(record.history.size(), 1u);
    EXPECT_EQ(record.history[0].code, kResultOk);
    EXPECT_EQ(record.history[0].warnings.size(), 2u);

    record.resultCode = kResultRunning;
    table.UpdateRun(record, false);
    now += 3725;  // 1 h 2 min 5 s
    record.resultCode = kResultNok;
    table.UpdateRun(record, false);
    EXPECT_EQ(table.Find(record)->duration, " 01:02:05");
    EXPECT_EQ(table.Find(record)->count, "2");
    EXPECT_EQ(record.history.size(), 2u);
}

TEST_F(RunsTableTest, OnlyFinalOkOrNokOutsideVerificationEntersHistory)
{
    const struct {
        int code;
        bool verify;
        bool kept;
    } cases[] = {
        {kResultOk, false, true},       {kResultNok, false, true},         {kResultOk, true, false},
        {kResultVerified, true, false}, {kResultVerifyError, true, false}, {kResultError, false, false},
        {kResultStopped, false, false}, {kResultUnknown, false, false},
    };
    for (const auto& c : cases) {
        RunRecord record{.testName = "t"};
        table.Clear();
        table.AddRun(record);
        record.resultCode = c.code;
        table.UpdateRun(record, c.verify);
        EXPECT_EQ(record.history.size(), c.kept ? 1u : 0u) << c.code << " verify " << c.verify;
        EXPECT_EQ(table.Find(record)->count, c.kept ? "1" : "") << c.code;
    }
}

TEST_F(RunsTableTest, RecordWithoutRowIsLeftAlone)
{
    RunRecord record{.testName = "t"};
    record.resultCode = kResultOk;
    table.UpdateRun(record, false);
    EXPECT_TRUE(record.history.empty());
    EXPECT_EQ(record.duration, 0);
    EXPECT_EQ(table.Find(record), nullptr);
}

TEST_F(RunsTableTest, UnknownResultShowsQuestionMarks)
{
    RunRecord record{.testName = "t"};
    table.AddRun(record);
    record.resultCode = kResultUnknown;
    table.UpdateRun(record, false);
    EXPECT_EQ(table.Find(record)->result,
              " T(???"
              ")");
}

TEST(RunsFormat, DurationWrapsHoursAtADay)
{
    EXPECT_EQ(FormatDuration(0), " 00:00:00");
    EXPECT_EQ(FormatDuration(25 * 3600 + 61), " 01:01:01");
}

}  // namespace
}  // namespace zov::execution
