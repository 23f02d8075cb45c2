// The results file: the golden Banc.res, the time and duration texts, and the reader's choices.
#include "ProjectFixture.h"

#include "ide/project/model/ProjectModel.h"
#include "ide/project/model/ProjectXml.h"

namespace {

using namespace zov::project;
using namespace zov::project::testing;

class ResultsFileTest : public ProjectFolderTest {};

std::string Results(const std::string& scripts)
{
    return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<ZOVProject><MainResult>" + scripts +
           "</MainResult></ZOVProject>\n";
}

TEST_F(ResultsFileTest, TheFixtureWritesTheGoldenFileAndReadsItBack)
{
    ProjectModel model;
    FillBanc(model, Folder());
    EXPECT_EQ(model.ResultsFilePath(), PathOf("Banc.res"));
    ASSERT_TRUE(model.SaveResultsFile());
    ExpectGolden(ReadBytes(PathOf("Banc.res")), "Banc.res");

    ProjectModel reread;
    FillBanc(reread, Folder());
    reread.ClearAllResults();
    ASSERT_TRUE(reread.LoadResultsFile());
    EXPECT_EQ(reread.ResultsFileText(), model.ResultsFileText());
    EXPECT_EQ(reread.FindResult(2, 1)->Duration, 90000) << "a 25-hour run stays 25 hours";
}

TEST_F(ResultsFileTest, ProjectsWithoutListsOrResults)
{
    ProjectModel model;
    model.NewProject("P", Folder(), "");
    EXPECT_EQ(model.ResultsFileText(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<ZOVProject />\n");
    model.EnsureResultList(4);
    EXPECT_EQ(model.ResultsFileText(),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<ZOVProject>\n    <MainResult />\n</ZOVProject>\n");
}

TEST(ResultTexts, DurationsAndStartTimes)
{
    UseTimeZone("UTC");
    struct DurationCase {
        std::int64_t seconds;
        const char* text;
    };
    for (const DurationCase& c :
         {DurationCase{3725, "01:02:05"}, DurationCase{0, "00:00:00"}, DurationCase{86399, "23:59:59"},
          DurationCase{90000, "25:00:00"}, DurationCase{360000, "100:00:00"}}) {
        EXPECT_EQ(FormatDuration(c.seconds), c.text);
        std::int64_t back = -1;
        ASSERT_TRUE(ParseDuration(c.text, back));
        EXPECT_EQ(back, c.seconds) << c.text;
    }
    std::int64_t seconds = -1;
    EXPECT_TRUE(ParseDuration("1:2:3", seconds));
    EXPECT_EQ(seconds, 3723);
    EXPECT_FALSE(ParseDuration("12:30", seconds));
    EXPECT_FALSE(ParseDuration("", seconds));

    EXPECT_EQ(FormatStartTime(UtcTime(2024, 3, 5, 7, 8, 9)), "2024/03/05 07:08:09");
    std::time_t time = 0;
    ASSERT_TRUE(ParseStartTime("2024/3/5 7:8:9", time));
    EXPECT_EQ(time, UtcTime(2024, 3, 5, 7, 8, 9));
    EXPECT_FALSE(ParseStartTime("2024/03/05", time));
    EXPECT_FALSE(ParseStartTime("hier", time));
}

TEST(ResultTexts, LocalTimesFollowDaylightSaving)
{
    UseTimeZone("Europe/Paris");
    std::time_t winter = 0, summer = 0;
    ASSERT_TRUE(ParseStartTime("2024/01/15 12:00:00", winter));
    ASSERT_TRUE(ParseStartTime("2024/07/15 12:00:00", summer));
    EXPECT_EQ(winter, UtcTime(2024, 1, 15, 11, 0, 0));
    EXPECT_EQ(summer, UtcTime(2024, 7, 15, 10, 0, 0));
    EXPECT_EQ(FormatStartTime(summer), "2024/07/15 12:00:00");
    UseTimeZone("UTC");
}

TEST_F(ResultsFileTest, ReaderCases)
{
    ProjectModel model;
    model.SetResult(9, 9, 1, "avant", 1, 1);
    ASSERT_TRUE(model.ReadResultsText(Results(
        "<Script><Name>inconnu.qzs</Name><Ref>5</Ref>"
        "<Result><VersionRef>1</VersionRef><Value>1</Value><Info>un</Info><Time>2024/3/5 7:8:9</Time>"
        "<Duration>00:00:10</Duration></Result>"
        "<Result><VersionRef>2</VersionRef></Result>"
        "<Result><VersionRef>1</VersionRef><Value>0</Value><Info>deux</Info></Result>"
        "</Script>"
        "<Script><Result><VersionRef>1</VersionRef><Value>1</Value></Result></Script>"
        "<Script><Ref></Ref><Result><Value>3</Value><Time>bad</Time><Duration>x</Duration></Result></Script>")));
    EXPECT_EQ(model.FindResult(9, 9), nullptr) << "every earlier result is replaced";
    ASSERT_EQ(model.FindResultList(5)->Results.size(), 2u) << "one result per version";
    const CTestResult& second = *model.FindResult(5, 1);
    EXPECT_EQ(second.Value, 0);
    EXPECT_EQ(second.Info, "deux");
    EXPECT_EQ(second.StartTime, 0) << "nothing inherited from the result before";
    EXPECT_EQ(second.Duration, 0);
    const CTestResult& bare = *model.FindResult(5, 2);
    EXPECT_EQ(bare.Info, "");
    EXPECT_EQ(bare.Value, 0);
    ASSERT_NE(model.FindResult(0, 0), nullptr) << "an empty Ref reads as 0";
    EXPECT_EQ(model.FindResult(0, 0)->Value, 3);
    EXPECT_EQ(model.Results().size(), 3u) << "a Script without Ref is skipped; the old list stays, empty";

    // A file that does not parse changes nothing.
    EXPECT_FALSE(model.ReadResultsText("<ZOVProject><MainResult>"));
    EXPECT_NE(model.FindResult(5, 1), nullptr);
    // A file without the tree clears the results.
    EXPECT_TRUE(model.ReadResultsText("<Other/>"));
    EXPECT_EQ(model.FindResult(5, 1), nullptr);
}

TEST_F(ResultsFileTest, MissingFileIsNoResults)
{
    ProjectModel model;
    model.NewProject("P", Folder(), "");
    model.SetResult(1, 1, 1, "", 0, 0);
    EXPECT_FALSE(model.LoadResultsFile());
    EXPECT_NE(model.FindResult(1, 1), nullptr);
}

}  // namespace
