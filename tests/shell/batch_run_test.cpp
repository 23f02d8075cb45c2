#include "ide/shell/core/BatchRun.h"

#include "tests/shell/CampaignFakeHost.h"

#include <gtest/gtest.h>

#include <map>

namespace zov::shell {
namespace {

using testing::FakeCampaignHost;
using testing::MakeGroup;

class FakeBatchHost : public BatchHost {
public:
    bool OpenProject(const std::string& path) override
    {
        events.push_back("open " + path);
        if (!projects.count(path))
            return false;
        current = path;
        return true;
    }
    void WriteTempInterface() override { events.push_back("Temp.qzi"); }
    ProjectOutline Outline() override { return projects.at(current); }
    std::vector<std::string> RunConfigurations() override { return {"cfg=3;1;x"}; }
    std::vector<std::string> VersionNames() override { return {"V1", "V2"}; }
    std::string ProjectFolder() override { return "/w"; }
    void WriteResultsFile() override { events.push_back("res " + current); }
    void WriteReport(const std::string& path, ReportWriterKind kind, int version) override
    {
        reports.push_back({path, kind, version});
    }
    void Quit(int code) override { status = code; }

    struct Report {
        std::string path;
        ReportWriterKind kind;
        int version;
        bool operator==(const Report&) const = default;
    };
    std::map<std::string, ProjectOutline> projects;
    std::string current;
    std::vector<std::string> events;
    std::vector<Report> reports;
    int status = -1;
};

ProjectOutline OneCampaign(int id, int firstTest)
{
    ProjectOutline outline;
    outline.campaigns.push_back({id, {{MakeGroup(firstTest, 1)}}});
    return outline;
}

class Batch : public ::testing::Test {
protected:
    void SetUp() override
    {
        batchHost_.projects["/w/a.qzp"] = OneCampaign(3, 1);
        batchHost_.projects["/w/b.qzp"] = OneCampaign(1, 10);
        batchHost_.projects["/w/empty.qzp"] = OneCampaign(9, 20);
    }
    void Run(std::vector<BatchEntryPlan> entries)
    {
        batch_ = std::make_unique<BatchRun>(campaign_, batchHost_, std::move(entries), true);
        campaignHost_.onBatchDone = [this] { batch_->EntryDone(); };
        batch_->RunNextEntry();
        campaignHost_.Pump(campaign_);
    }
    // Ends the running test with OK and runs out the steps and pauses that follow.
    void EndRunningTest(int key)
    {
        campaignHost_.End(campaign_, key, kResultOk);
        while (campaignHost_.FireTimer(campaign_)) {
        }
    }

    FakeCampaignHost campaignHost_;
    CampaignRun campaign_{campaignHost_, {}};
    FakeBatchHost batchHost_;
    std::unique_ptr<BatchRun> batch_;
};

TEST_F(Batch, EntriesRunInTurnWithTheirReportsAndTheProgramQuits)
{
    Run({{"/w/a.qzp", "cfg", "V2", "/r/a.html", 1, "", ""},
         {"/w/b.qzp", "", "0", "/r/b.xml.pdf", 1, "", ""},
         {"/w/b.qzp", "", "", "/r/b.txt", 1, "", ""}});
    EXPECT_EQ(campaignHost_.StartedKeys(), std::vector<int>{1});
    EXPECT_TRUE(campaignHost_.Has("hide"));
    EndRunningTest(1);
    EXPECT_EQ(campaignHost_.StartedKeys(), (std::vector<int>{1, 10}));
    EndRunningTest(10);
    EndRunningTest(10);
    EXPECT_EQ(batchHost_.status, 0);
    EXPECT_EQ(batch_->EntriesLeft(), 0u);
    using R = FakeBatchHost::Report;
    EXPECT_EQ(batchHost_.reports, (std::vector<R>{{"/r/a.html", ReportWriterKind::Html, 1},
                                                  {"/r/b.xml.pdf", ReportWriterKind::JUnitXml, 0}}));
    // Results recorded under the version the entry names, by name or by index.
    EXPECT_EQ(campaignHost_.recorded, (std::vector<std::pair<int, int>>{{1, 1}, {10, 0}, {10, 0}}));
}

TEST_F(Batch, RepeatLoopsTheEntry)
{
    Run({{"/w/a.qzp", "", "", "", 3, "", ""}});
    for (int pass = 0; pass < 3; ++pass)
        EndRunningTest(1);
    EXPECT_EQ(campaignHost_.starts.size(), 3u);
    EXPECT_EQ(batchHost_.status, 0);
}

TEST_F(Batch, EmptyRunListFinishesTheEntryAtOnce)
{
    Run({{"/w/empty.qzp", "cfg", "", "/r/e.csv", 1, "", ""}, {"/w/a.qzp", "", "", "", 1, "", ""}});
    EXPECT_EQ(batchHost_.reports, (std::vector<FakeBatchHost::Report>{{"/r/e.csv", ReportWriterKind::Csv, -1}}));
    EXPECT_EQ(campaignHost_.StartedKeys(), std::vector<int>{1});
    EndRunningTest(1);
    EXPECT_EQ(batchHost_.status, 0);
}

TEST_F(Batch, EntryWhoseProjectDoesNotOpenIsSkippedWithoutReport)
{
    Run({{"/w/a.qzp", "", "", "", 1, "", ""}, {"/w/missing.qzp", "", "", "/r/m.html", 1, "", ""}});
    EndRunningTest(1);
    EXPECT_TRUE(batchHost_.reports.empty());
    EXPECT_EQ(campaignHost_.starts.size(), 1u);
    EXPECT_EQ(batchHost_.status, 1);
}

TEST_F(Batch, StoppedEntryStillLeadsToTheNext)
{
    Run({{"/w/a.qzp", "", "", "/r/a.csv", 1, "/bin/server", "-p 1"}, {"/w/b.qzp", "", "", "", 1, "", ""}});
    EXPECT_TRUE(campaignHost_.Has("start /bin/server"));
    campaign_.OnUserStop(campaignHost_.tickets.at(1));
    campaignHost_.Pump(campaign_);
    EXPECT_EQ(batchHost_.reports.size(), 1u);
    EXPECT_EQ(campaignHost_.StartedKeys(), (std::vector<int>{1, 10}));
}

}  // namespace
}  // namespace zov::shell
