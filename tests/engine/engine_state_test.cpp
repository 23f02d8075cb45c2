// The process-wide engine state shared by the console threads and the script.

#include "engine/runtime/EngineState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

namespace zov {
namespace {

class EngineStateTest : public ::testing::Test {
protected:
    EngineState state;
};

TEST_F(EngineStateTest, StartsWithTheDocumentedValues)
{
    EXPECT_FALSE(state.Verbose);
    EXPECT_FALSE(state.CliTrace);
    EXPECT_FALSE(state.QuitRequested());
    EXPECT_EQ(state.ScriptRunning, 0);
    EXPECT_FALSE(state.VerifyOnly);
    EXPECT_FALSE(state.DataReady());
    EXPECT_EQ(state.LineDelayMs, 0);
    EXPECT_TRUE(state.NotifyLines);
    EXPECT_EQ(state.CliTimeoutSec, 5);
    EXPECT_EQ(state.CallTimeout, -1);
    EXPECT_FALSE(state.TimedOut);
    for (int v : state.SyncTable())
        EXPECT_EQ(v, -1);
    for (int v : state.WantedSync())
        EXPECT_EQ(v, -1);
    for (int i = 0; i < kParamCount; ++i)
        EXPECT_EQ(state.ParamValue(i), "");
    EXPECT_EQ(state.ImportName(), "");
    EXPECT_EQ(state.ImportValue(), "");
}

TEST_F(EngineStateTest, ResetBringsBackTheStartValues)
{
    state.CliTimeoutSec = 9;
    state.NotifyLines = false;
    state.AddSync(3);
    state.SetParamValues("a", "b", "c");
    state.SetImport("n", "v");
    state.SetDataReady();
    state.RequestQuit(0);
    state.Reset();
    EXPECT_EQ(state.CliTimeoutSec, 5);
    EXPECT_TRUE(state.NotifyLines);
    EXPECT_EQ(state.SyncTable()[31], -1);
    EXPECT_EQ(state.ParamValue(0), "");
    EXPECT_EQ(state.ImportValue(), "");
    EXPECT_FALSE(state.DataReady());
    EXPECT_FALSE(state.QuitRequested());
}

TEST_F(EngineStateTest, SyncValuesTakeTheHighestFreeSlot)
{
    EXPECT_TRUE(state.AddSync(4));
    EXPECT_TRUE(state.AddSync(5));
    EXPECT_FALSE(state.AddSync(4));
    EXPECT_EQ(state.SyncTable()[31], 4);
    EXPECT_EQ(state.SyncTable()[30], 5);
    // A slot freed by the script is the highest free one again.
    const int wanted[] = {4};
    EXPECT_EQ(state.TakeSync(wanted), 4);
    EXPECT_TRUE(state.AddSync(6));
    EXPECT_EQ(state.SyncTable()[31], 6);
    // -1 marks a free slot and can never be stored.
    EXPECT_FALSE(state.AddSync(-1));
}

TEST_F(EngineStateTest, TakeSyncSearchesSlotsFromTheFirstThenWantedValuesInOrder)
{
    state.AddSync(1);  // slot 31
    state.AddSync(2);  // slot 30
    const int wanted[] = {1, 2};
    EXPECT_EQ(state.TakeSync(wanted), 2);  // slot 30 comes before slot 31
    EXPECT_EQ(state.TakeSync(wanted), 1);
    EXPECT_EQ(state.TakeSync(wanted), std::nullopt);
    const int freeSlot[] = {-1};
    EXPECT_EQ(state.TakeSync(freeSlot), std::nullopt);
}

TEST_F(EngineStateTest, ConcurrentSyncCommandsNeverShareASlot)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([this, t] {
            for (int i = 0; i < 4; ++i) {
                state.AddSync(t * 4 + i);  // 32 distinct values
                state.AddSync(1000);       // the same value from every thread
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    const auto table = state.SyncTable();
    EXPECT_EQ(std::count(table.begin(), table.end(), 1000), 1);
    const std::set<int> distinct(table.begin(), table.end());
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kSyncSlots)) << "a value was lost or stored twice";
    EXPECT_EQ(distinct.count(-1), 0u);
}

TEST_F(EngineStateTest, WaitForSyncWakesWhenTheValueArrives)
{
    const int wanted[] = {8, 9};
    std::optional<int> got;
    std::thread script([&] { got = state.WaitForSync(wanted, std::chrono::minutes(5)); });
    state.AddSync(7);
    state.AddSync(9);
    script.join();
    EXPECT_EQ(got, 9);
    EXPECT_EQ(state.SyncTable()[31], 7);
    EXPECT_EQ(state.SyncTable()[30], -1);
}

TEST_F(EngineStateTest, WaitForSyncGivesUpAtItsDeadline)
{
    const int wanted[] = {8};
    state.AddSync(7);
    EXPECT_EQ(state.WaitForSync(wanted, std::chrono::milliseconds(0)), std::nullopt);
    state.AddSync(8);
    EXPECT_EQ(state.WaitForSync(wanted, std::chrono::milliseconds(0)), 8);
}

TEST_F(EngineStateTest, WantedSyncIgnoresIndexesOutsideItsPlaces)
{
    state.SetWantedSync(0, 3);
    state.SetWantedSync(31, 4);
    state.SetWantedSync(32, 5);
    state.SetWantedSync(-1, 6);
    const auto wanted = state.WantedSync();
    EXPECT_EQ(wanted[0], 3);
    EXPECT_EQ(wanted[31], 4);
    EXPECT_EQ(std::count(wanted.begin(), wanted.end(), -1), kSyncSlots - 2);
}

TEST_F(EngineStateTest, TextsAreCutToTheirLimits)
{
    state.SetParamValues(std::string(300, 'a'), "b", "");
    EXPECT_EQ(state.ParamValue(0), std::string(255, 'a'));
    EXPECT_EQ(state.ParamValue(1), "b");
    EXPECT_EQ(state.ParamValue(3), "");
    state.SetImport(std::string(65, 'n'), std::string(513, 'v'));
    EXPECT_EQ(state.ImportName(), std::string(64, 'n'));
    EXPECT_EQ(state.ImportValue(), std::string(512, 'v'));
}

TEST_F(EngineStateTest, AReaderNeverSeesATornImportValue)
{
    const std::string a(512, 'a');
    const std::string b(512, 'b');
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 2000; ++i)
            state.SetImport("x", i % 2 ? a : b);
        done = true;
    });
    while (!done) {
        const std::string v = state.ImportValue();
        ASSERT_TRUE(v.empty() || v == a || v == b);
    }
    writer.join();
}

TEST_F(EngineStateTest, DataReadyWakesItsWaiter)
{
    EXPECT_FALSE(state.WaitForDataReady(std::chrono::milliseconds(0)));
    bool ready = false;
    std::thread script([&] { ready = state.WaitForDataReady(std::chrono::minutes(5)); });
    state.SetImport("n", "v");
    state.SetDataReady();
    script.join();
    EXPECT_TRUE(ready);
    state.ClearDataReady();
    EXPECT_FALSE(state.DataReady());
}

TEST_F(EngineStateTest, TheFirstQuitRequestDecidesTheStatus)
{
    std::thread main([&] { EXPECT_EQ(state.WaitForQuit(), 0); });
    state.RequestQuit(0);
    state.RequestQuit(15);
    main.join();
    EXPECT_EQ(state.WaitForQuit(), 0);
}

}  // namespace
}  // namespace zov
