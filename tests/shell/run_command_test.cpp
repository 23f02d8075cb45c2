#include "ide/shell/core/RunCommand.h"

#include "tests/shell/CampaignFakeHost.h"

#include <gtest/gtest.h>

namespace zov::shell {
namespace {

using testing::FakeCampaignHost;
using testing::MakeGroup;
using Events = std::vector<std::string>;

class FakeRunCommandHost : public RunCommandHost {
public:
    std::optional<RunRootKind> SelectedRunRoot() override { return selected; }
    void WriteTempInterface() override { events.push_back("Temp.qzi"); }
    std::pair<std::string, std::string> Version(int) override { return {"V2", "recette"}; }
    std::optional<RunRequest> RunDialog(RunRootKind, const std::string& text, const RunRequest& presets) override
    {
        events.push_back("dialog '" + text + "'");
        presetsSeen = presets;
        return answer;
    }
    void SaveAllDocuments() override { events.push_back("save all"); }
    void CloseScriptsWithoutBreakpoints() override { events.push_back("close scripts"); }
    void SaveInterfacesAndProject() override { events.push_back("save project"); }

    std::optional<RunRootKind> selected = RunRootKind::Project;
    std::optional<RunRequest> answer;
    RunRequest presetsSeen;
    Events events;
};

class RunCommand : public ::testing::Test {
protected:
    FakeCampaignHost campaignHost_;
    CampaignRun campaign_{campaignHost_, {}};
    FakeRunCommandHost host_;
    RecordingPrompter prompter_;
};

TEST_F(RunCommand, NoSelectedItemOpensNoDialog)
{
    host_.selected.reset();
    RunCampaignCommand(campaign_, host_, prompter_);
    EXPECT_TRUE(host_.events.empty());
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(RunCommand, CancelledDialogRunsNothing)
{
    RunCampaignCommand(campaign_, host_, prompter_);
    EXPECT_EQ(host_.events, (Events{"Temp.qzi", "dialog ''"}));
    EXPECT_FALSE(campaign_.IsSetUp());
}

TEST_F(RunCommand, ProjectRootSavesTheProjectOtherItemsDoNot)
{
    for (const RunRootKind root : {RunRootKind::Project, RunRootKind::Campaign, RunRootKind::TestSet}) {
        campaignHost_ = FakeCampaignHost();
        host_.events.clear();
        host_.selected = root;
        RunRequest request;
        request.groups = {MakeGroup(1, 2)};
        request.loopCount = 4;
        host_.answer = request;
        campaign_.SetVersion(1, false);
        RunCampaignCommand(campaign_, host_, prompter_);
        Events expected = {"Temp.qzi", "dialog ' V2 - recette'", "save all", "close scripts"};
        if (root == RunRootKind::Project)
            expected.push_back("save project");
        EXPECT_EQ(host_.events, expected);
        EXPECT_EQ(campaignHost_.shownGroups, 1u);
        EXPECT_EQ(campaignHost_.prepared, (std::vector<int>{1, 2}));
        campaignHost_.Pump(campaign_);
        EXPECT_EQ(campaignHost_.StartedKeys(), std::vector<int>{1});
        // Ctrl+F5 again while it runs: the message and nothing else.
        host_.events.clear();
        RunCampaignCommand(campaign_, host_, prompter_);
        EXPECT_TRUE(host_.events.empty());
        EXPECT_EQ(prompter_.Texts().back(), "Arrêter les scripts en cours d'exécution !");
        campaign_.StopAll();
    }
    // The next dialog is preset with the last run's choices.
    RunCampaignCommand(campaign_, host_, prompter_);
    EXPECT_EQ(host_.presetsSeen.loopCount, 4);
    EXPECT_TRUE(host_.presetsSeen.groups.empty());
}

}  // namespace
}  // namespace zov::shell
