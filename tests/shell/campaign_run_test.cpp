#include "ide/shell/core/CampaignRun.h"

#include "tests/shell/CampaignFakeHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::shell {
namespace {

using testing::FakeCampaignHost;
using testing::MakeGroup;
using Keys = std::vector<int>;

class Campaign : public ::testing::Test {
protected:
    CampaignRun& Make(CampaignSettings settings = {})
    {
        run_ = std::make_unique<CampaignRun>(host_, settings);
        run_->SetProjectFolder("/w/p");
        return *run_;
    }
    void Start(RunList groups, bool verify = false)
    {
        RunRequest request;
        request.groups = std::move(groups);
        request.verify = verify;
        request.stopAtFirstNok = false;
        Run().Start(std::move(request));
        host_.Pump(Run());
    }
    CampaignRun& Run() { return *run_; }

    FakeCampaignHost host_;
    std::unique_ptr<CampaignRun> run_;
};

TEST_F(Campaign, SequentialSetsRunOneTestPerStepWithAPauseBetweenSets)
{
    Make();
    Start({MakeGroup(1, 2), MakeGroup(10, 1)});
    EXPECT_EQ(host_.StartedKeys(), (Keys{1}));
    EXPECT_EQ(host_.paths.front(), "/w/p/t1.qzs");
    host_.End(Run(), 1, kResultOk);
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2}));
    host_.End(Run(), 2, kResultOk);
    // The next set waits for the pause.
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2}));
    EXPECT_EQ(host_.lastPause, 1000);
    ASSERT_TRUE(host_.FireTimer(Run()));
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2, 10}));
    host_.End(Run(), 10, kResultOk);
    EXPECT_FALSE(Run().InProgress());
    EXPECT_EQ(host_.events, (std::vector<std::string>{"terminate", "results dialog", "save"}));
    for (const auto& start : host_.starts)
        EXPECT_FALSE(start.keep);
}

TEST_F(Campaign, ParallelSetStartsAllAtOnceAndTheTimerWaitsForTheLastEnd)
{
    Make();
    Start({MakeGroup(1, 3, SetMode::Parallel), MakeGroup(10, 1)});
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2, 3}));
    for (const auto& start : host_.starts)
        EXPECT_TRUE(start.keep);
    host_.End(Run(), 2, kResultOk);
    host_.End(Run(), 1, kResultOk);
    EXPECT_EQ(Run().RunningTests(), 1);
    EXPECT_FALSE(host_.timerArmed);
    host_.End(Run(), 3, kResultOk);
    ASSERT_TRUE(host_.timerArmed);
    ASSERT_TRUE(host_.FireTimer(Run()));
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2, 3, 10}));
}

TEST_F(Campaign, TimerRearmsWhileTestsRun)
{
    Make();
    RunRequest request;
    request.groups = {MakeGroup(1, 1)};
    request.loop = true;
    request.loopCount = 2;
    Run().Start(std::move(request));
    host_.Pump(Run());
    // A NOK restarts the pass at once and arms the pause while the new pass's test runs.
    host_.End(Run(), 1, kResultNok);
    ASSERT_EQ(host_.StartedKeys(), (Keys{1, 1}));
    ASSERT_TRUE(host_.FireTimer(Run()));
    EXPECT_TRUE(host_.timerArmed);
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 1}));
    EXPECT_EQ(host_.reselected, (Keys{1}));
}

TEST_F(Campaign, RandomSetIsShuffledWhenCurrentAndAtEachPass)
{
    Make();
    std::vector<unsigned> draws = {2, 0, 1, 1, 0, 0, /* second pass */ 0, 2, 0, 0, 1, 1};
    std::size_t next = 0;
    Run().SetRandom([&] { return draws[next++ % draws.size()]; });
    RunRequest request;
    request.groups = {MakeGroup(1, 3, SetMode::Random)};
    request.loop = true;
    request.loopCount = 2;
    Run().Start(std::move(request));
    host_.Pump(Run());
    // Swaps (2,0), (1,1), (0,0): 3 2 1.
    EXPECT_EQ(host_.StartedKeys(), (Keys{3}));
    host_.End(Run(), 3, kResultOk);
    host_.End(Run(), 2, kResultOk);
    host_.End(Run(), 1, kResultOk);
    ASSERT_TRUE(host_.FireTimer(Run()));
    // Second pass from the shuffled order 3 2 1: swaps (0,2), (0,0), (1,1) give 1 2 3.
    EXPECT_EQ(host_.StartedKeys(), (Keys{3, 2, 1, 1}));
    EXPECT_EQ(next, 12u);
}

TEST_F(Campaign, BackgroundTestStartsWithTheNextAndItsEndStepsOnlyWhenAlone)
{
    Make();
    CampaignGroup group = MakeGroup(1, 3);
    group.tests[0].background = true;
    Start({group, MakeGroup(10, 1)});
    ASSERT_EQ(host_.StartedKeys(), (Keys{1, 2}));
    EXPECT_TRUE(host_.starts[0].keep);
    EXPECT_TRUE(host_.starts[1].keep);
    host_.End(Run(), 1, kResultOk);  // background, test 2 still runs: no step
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2}));
    host_.End(Run(), 2, kResultOk);
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2, 3}));
    EXPECT_FALSE(host_.starts[2].keep);
}

TEST_F(Campaign, NormalAndBackgroundEndsInARowStartOneTest)
{
    Make();
    CampaignGroup group = MakeGroup(1, 4);
    group.tests[0].background = true;
    Start({group});
    ASSERT_EQ(host_.StartedKeys(), (Keys{1, 2}));
    // Test 2 ends, then the background test ends before the step runs.
    Run().OnScriptEnded({true, host_.tickets.at(2), kResultOk});
    Run().OnScriptEnded({true, host_.tickets.at(1), kResultOk});
    host_.Pump(Run());
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2, 3}));
    EXPECT_EQ(Run().RunningTests(), 1);
}

TEST_F(Campaign, LoopCountsPassesAndZeroRunsUntilStopped)
{
    for (const int count : {3, 0}) {
        host_ = FakeCampaignHost();
        Make();
        RunRequest request;
        request.groups = {MakeGroup(1, 1)};
        request.loop = true;
        request.loopCount = count;
        Run().Start(std::move(request));
        host_.Pump(Run());
        for (int pass = 0; pass < 5 && Run().InProgress(); ++pass) {
            host_.End(Run(), 1, kResultOk);
            host_.FireTimer(Run());
        }
        if (count == 3) {
            EXPECT_EQ(host_.starts.size(), 3u);
            EXPECT_FALSE(Run().IsSetUp());
        } else {
            EXPECT_EQ(host_.starts.size(), 6u);
            Run().StopAll();
            EXPECT_FALSE(Run().InProgress());
            EXPECT_TRUE(host_.Has("stop views"));
        }
    }
}

TEST_F(Campaign, VerifyRunsEverythingAtOnceWithoutPauseShuffleOrDialog)
{
    Make();
    Run().SetRandom([]() -> unsigned {
        ADD_FAILURE() << "verify never shuffles";
        return 0;
    });
    CampaignGroup parallel = MakeGroup(1, 2, SetMode::Parallel);
    parallel.tests[0].background = true;
    RunRequest request;
    request.groups = {parallel, MakeGroup(10, 2, SetMode::Random)};
    request.verify = true;
    request.backProgram = "/bin/server";
    Run().Start(std::move(request));
    host_.Pump(Run());
    EXPECT_EQ(host_.StartedKeys(), (Keys{1}));
    host_.End(Run(), 1, kResultOk);
    host_.End(Run(), 2, kResultOk);
    EXPECT_FALSE(host_.timerArmed);
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 2, 10}));
    host_.End(Run(), 10, kResultOk);
    host_.End(Run(), 11, kResultOk);
    EXPECT_FALSE(Run().IsSetUp());
    EXPECT_FALSE(host_.Has("start /bin/server"));
    EXPECT_FALSE(host_.Has("results dialog"));
    for (const auto& start : host_.starts)
        EXPECT_FALSE(start.keep);
}

TEST_F(Campaign, MissingScriptIsCancelledAndTheRunGoesOn)
{
    Make();
    host_.missing.insert("/w/p/t2.qzs");
    CampaignGroup group = MakeGroup(1, 3);
    group.tests[0].file = "/abs/t1.qzs";
    Start({group});
    EXPECT_EQ(host_.paths.front(), "/abs/t1.qzs");
    host_.End(Run(), 1, kResultOk);
    EXPECT_EQ(host_.results[2], kResultCancelled);
    EXPECT_EQ(host_.info[2], "Fichier non présent");
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 3}));
}

TEST_F(Campaign, NokRules)
{
    struct Case {
        const char* name;
        bool stopAtFirstNok;
        bool dependent;
        int loopCount;  // 1: no loop
        Keys started;   // after test 1 ends NOK, with steps and pauses run out
        bool runEnded;
    };
    const Case cases[] = {
        {"first NOK ends the run", true, false, 1, {1}, true},
        {"dependent set skips the rest", false, true, 1, {1, 10}, false},
        {"independent set goes on", false, false, 1, {1, 2}, false},
        {"looped run starts the next pass", true, false, 3, {1, 1}, false},
        {"endless loop ends", true, false, 0, {1}, true},
    };
    for (const Case& c : cases) {
        host_ = FakeCampaignHost();
        Make();
        RunRequest request;
        request.groups = {MakeGroup(1, 3, SetMode::Sequential, c.dependent), MakeGroup(10, 1)};
        request.stopAtFirstNok = c.stopAtFirstNok;
        request.loop = c.loopCount != 1;
        request.loopCount = c.loopCount;
        Run().Start(std::move(request));
        host_.Pump(Run());
        host_.End(Run(), 1, kResultNok);
        host_.FireTimer(Run());
        EXPECT_EQ(host_.StartedKeys(), c.started) << c.name;
        EXPECT_EQ(!Run().IsSetUp(), c.runEnded) << c.name;
    }
}

TEST_F(Campaign, NokInEachPassOfThreeEndsAfterTheThird)
{
    Make();
    RunRequest request;
    request.groups = {MakeGroup(1, 2)};
    request.loop = true;
    request.loopCount = 3;
    Run().Start(std::move(request));
    host_.Pump(Run());
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_TRUE(Run().IsSetUp()) << pass;
        host_.End(Run(), 1, kResultNok);
        host_.FireTimer(Run());
    }
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 1, 1}));
    EXPECT_FALSE(Run().IsSetUp());
}

TEST_F(Campaign, FirstNokStopsTheOtherRunningTests)
{
    Make();
    RunRequest request;
    request.groups = {MakeGroup(1, 3, SetMode::Parallel)};
    Run().Start(std::move(request));
    host_.Pump(Run());
    host_.End(Run(), 2, kResultNok);
    EXPECT_TRUE(host_.Has("stop views"));
    EXPECT_FALSE(Run().IsSetUp());
    // The stopped tests' ends arrive afterwards and change nothing.
    const std::size_t events = host_.events.size();
    host_.End(Run(), 1, kResultNok);
    EXPECT_EQ(host_.starts.size(), 3u);
    EXPECT_EQ(host_.events.size(), events);
}

TEST_F(Campaign, UserStopAndScriptErrorEndTheRunButNotAVerification)
{
    struct Case {
        const char* name;
        bool verify;
        bool error;
        bool runEnded;
    };
    const Case cases[] = {
        {"user stop", false, false, true},
        {"script error", false, true, true},
        {"script error while verifying", true, true, false},
        {"user stop while verifying", true, false, true},
    };
    for (const Case& c : cases) {
        host_ = FakeCampaignHost();
        Make();
        Start({MakeGroup(1, 2)}, c.verify);
        if (c.error)
            Run().OnScriptError(host_.tickets.at(1));
        else
            Run().OnUserStop(host_.tickets.at(1));
        host_.Pump(Run());
        EXPECT_EQ(!Run().IsSetUp(), c.runEnded) << c.name;
    }
}

TEST_F(Campaign, ErrorThenEndOfOneTestCountsItOnce)
{
    Make();
    RunRequest request;
    request.groups = {MakeGroup(1, 3, SetMode::Parallel)};
    request.stopAtFirstNok = false;
    Run().Start(std::move(request));
    host_.Pump(Run());
    ASSERT_EQ(Run().RunningTests(), 3);
    const RunTicket ticket = host_.tickets.at(1);
    Run().OnScriptError(ticket);
    Run().OnScriptEnded({true, ticket, 5});
    EXPECT_EQ(Run().RunningTests(), 2);
}

TEST_F(Campaign, EndsOfAnEarlierRunDoNotReachTheNextOne)
{
    Make();
    Start({MakeGroup(1, 1)});
    const RunTicket old = host_.tickets.at(1);
    Run().StopAll();
    Start({MakeGroup(5, 2)});
    ASSERT_EQ(host_.StartedKeys(), (Keys{1, 5}));
    Run().OnScriptEnded({true, old, kResultNok});
    host_.Pump(Run());
    EXPECT_EQ(host_.StartedKeys(), (Keys{1, 5}));
    EXPECT_EQ(Run().RunningTests(), 1);
}

TEST_F(Campaign, StopsAndErrorsOfAnEarlierRunDoNotEndTheNextOne)
{
    for (const bool error : {false, true}) {
        host_ = FakeCampaignHost();
        Make();
        Start({MakeGroup(1, 1)});
        const RunTicket old = host_.tickets.at(1);
        Run().StopAll();
        Start({MakeGroup(5, 2)});
        if (error)
            Run().OnScriptError(old);
        else
            Run().OnUserStop(old);
        host_.Pump(Run());
        EXPECT_TRUE(Run().IsSetUp()) << error;
        EXPECT_EQ(Run().RunningTests(), 1) << error;
        host_.End(Run(), 5, kResultOk);
        EXPECT_EQ(host_.StartedKeys(), (Keys{1, 5, 6})) << error;
    }
}

TEST_F(Campaign, StopAllResetsAndIsEnabledOnlyWhileSomethingRuns)
{
    Make();
    EXPECT_FALSE(Run().StopAllEnabled());
    Run().CountRunningScript(true);
    EXPECT_TRUE(Run().StopAllEnabled());
    Run().CountRunningScript(false);
    EXPECT_EQ(Run().CountRunningScript(false), 0);
    EXPECT_FALSE(Run().StopAllEnabled());
    Start({MakeGroup(1, 2)});
    EXPECT_TRUE(Run().StopAllEnabled());
    ASSERT_TRUE(Run().RefusalToStart().has_value());
    EXPECT_EQ(*Run().RefusalToStart(), "Arrêter les scripts en cours d'exécution !");
    Run().StopAll();
    EXPECT_FALSE(Run().StopAllEnabled());
    EXPECT_FALSE(Run().RefusalToStart().has_value());
    EXPECT_EQ(host_.events, (std::vector<std::string>{"stop views", "terminate"}));
}

TEST_F(Campaign, ScriptRunByHandOnATestRecordBeepsOnceAtItsEnd)
{
    Make({.beep = true});
    Run().CountRunningScript(true);
    Run().OnScriptEnded({false, std::nullopt, kResultOk});
    host_.Pump(Run());
    EXPECT_TRUE(host_.events.empty());
    Run().OnScriptEnded({true, std::nullopt, kResultNok});
    host_.Pump(Run());
    EXPECT_EQ(host_.events, (std::vector<std::string>{"terminate", "beep"}));
}

TEST_F(Campaign, ResultsRecordedOnlyForAChosenVersionAndOkOrNok)
{
    for (const bool record : {false, true}) {
        host_ = FakeCampaignHost();
        Make({.saveTempResult = true});
        Run().SetVersion(2, record);
        host_.missing.insert("/w/p/t3.qzs");
        Start({MakeGroup(1, 3)});
        host_.End(Run(), 1, kResultOk);
        host_.End(Run(), 2, kResultNok);
        if (!record) {
            EXPECT_TRUE(host_.recorded.empty());
            continue;
        }
        // Interim record after the set, then the final one: tests 1 and 2 only, never the cancelled 3.
        EXPECT_EQ(host_.recorded, (std::vector<std::pair<int, int>>{{1, 2}, {2, 2}, {1, 2}, {2, 2}}));
        EXPECT_TRUE(host_.Has("res"));
    }
}

TEST_F(Campaign, HiddenToTheTrayDuringTheRunAndShownAtTheEnd)
{
    Make({.hideOnExecution = true});
    Start({MakeGroup(1, 1)});
    EXPECT_EQ(host_.events, (std::vector<std::string>{"hide"}));
    host_.End(Run(), 1, kResultOk);
    EXPECT_EQ(host_.events.at(1), "show");
}

TEST(SyncBroadcast, ReachesEveryRunningViewButTheSender)
{
    struct View : SyncPeer {
        bool engine = true;
        std::vector<int> received;
        bool HasEngine() const override { return engine; }
        void SendSync(int value) override { received.push_back(value); }
    };
    // None of these views runs a test record: they are scripts run by hand.
    View sender, other, idle, third;
    idle.engine = false;
    BroadcastSync({&sender, &other, &idle, &third}, &sender, 7);
    EXPECT_TRUE(sender.received.empty());
    EXPECT_EQ(other.received, std::vector<int>{7});
    EXPECT_TRUE(idle.received.empty());
    EXPECT_EQ(third.received, std::vector<int>{7});
}

TEST(RunDialogVersion, LeadingBlankNameAndInfo)
{
    EXPECT_EQ(RunDialogVersionText("V1.2", "livraison"), " V1.2 - livraison");
}

}  // namespace
}  // namespace zov::shell
