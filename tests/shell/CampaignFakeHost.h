#pragma once
// A campaign host without windows: records what the sequencer asks for, delivers queued steps when
// the test pumps, and lets a test end scripts by key with the ticket their start was given.

#include "ide/shell/core/CampaignRun.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zov::shell::testing {

class FakeCampaignHost : public CampaignHost {
public:
    struct Start {
        int key;
        bool keep;
    };

    void QueueStep() override { ++queuedSteps; }
    void ArmPacingTimer(int milliseconds) override
    {
        timerArmed = true;
        lastPause = milliseconds;
    }
    bool FileReadable(const std::string& path) override { return missing.count(path) == 0; }
    bool StartTest(const CampaignTest& test, const std::string& path, bool keep, bool, RunTicket ticket) override
    {
        paths.push_back(path);
        if (missing.count(path) != 0 || unopenable.count(test.key) != 0)
            return false;
        starts.push_back({test.key, keep});
        tickets[test.key] = ticket;
        results[test.key] = 2;
        return true;
    }
    void SetTestResult(int key, int code, const std::string& text) override
    {
        results[key] = code;
        info[key] = text;
    }
    int TestResult(int key) override { return results.count(key) != 0 ? results[key] : -1; }
    void PrepareTest(int key) override
    {
        results[key] = -1;
        prepared.push_back(key);
    }
    void ShowRunList(const RunList& groups) override { shownGroups = groups.size(); }
    void ReselectTest(int key, bool) override { reselected.push_back(key); }
    void StopAllViews() override { events.push_back("stop views"); }
    void CloseScriptsWithoutBreakpoints() override { ++closes; }
    void RecordResult(int key, int version) override { recorded.push_back({key, version}); }
    void WriteResultsFile() override { events.push_back("res"); }
    void SaveInterfacesAndProject() override { events.push_back("save"); }
    void ShowResultsDialog() override { events.push_back("results dialog"); }
    void Beep() override { events.push_back("beep"); }
    void HideToTray() override { events.push_back("hide"); }
    void ShowFromTray() override { events.push_back("show"); }
    void StartBackProgram(const std::string& program, const std::string&, bool) override
    {
        events.push_back("start " + program);
    }
    void TerminateBackProgram() override { events.push_back("terminate"); }
    void BatchEntryDone() override
    {
        events.push_back("batch done");
        if (onBatchDone)
            onBatchDone();
    }

    // Delivers the queued steps (and those they queue) as the event loop would.
    void Pump(CampaignRun& run)
    {
        while (queuedSteps > 0) {
            --queuedSteps;
            run.OnStep();
        }
    }
    // The pause between groups runs out; false when no pause was armed.
    bool FireTimer(CampaignRun& run)
    {
        if (!timerArmed)
            return false;
        timerArmed = false;
        run.OnPacingTimer();
        Pump(run);
        return true;
    }
    // The script of test `key` ends with `code`, quoting its ticket.
    void End(CampaignRun& run, int key, int code)
    {
        results[key] = code;
        run.OnScriptEnded({true, tickets.at(key), code});
        Pump(run);
    }
    std::vector<int> StartedKeys() const
    {
        std::vector<int> keys;
        for (const Start& start : starts)
            keys.push_back(start.key);
        return keys;
    }
    bool Has(const std::string& event) const
    {
        for (const std::string& e : events)
            if (e == event)
                return true;
        return false;
    }

    int queuedSteps = 0;
    bool timerArmed = false;
    int lastPause = 0;
    int closes = 0;
    std::set<std::string> missing;
    std::set<int> unopenable;
    std::vector<Start> starts;
    std::vector<std::string> paths;
    std::map<int, RunTicket> tickets;
    std::map<int, int> results;
    std::map<int, std::string> info;
    std::vector<int> reselected;
    std::vector<int> prepared;
    std::size_t shownGroups = 0;
    std::function<void()> onBatchDone;
    std::vector<std::pair<int, int>> recorded;
    std::vector<std::string> events;
};

// A group of tests keyed first..first+count-1, with files "t<key>.qzs".
inline CampaignGroup MakeGroup(int first, int count, SetMode mode = SetMode::Sequential, bool dependent = false)
{
    CampaignGroup group;
    group.setKey = first;
    group.mode = mode;
    group.dependent = dependent;
    for (int i = 0; i < count; ++i)
        group.tests.push_back({first + i, "t" + std::to_string(first + i) + ".qzs", false});
    return group;
}

}  // namespace zov::shell::testing
