// The campaign sequencer's own overhead: 10 000 one-test steps of one sequential set (start, end,
// next step) with a host that does nothing, to hold against the 100 ms budget for 10 000 steps.
// The end-to-end peer (a shell loop running zovrun) needs the script view and belongs there.
//
//   zov_campaign_bench [Google Benchmark options]

#include "ide/shell/core/CampaignRun.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace zov::shell;

constexpr int kTests = 10000;

class NullHost : public CampaignHost {
public:
    void QueueStep() override { ++queued; }
    void ArmPacingTimer(int) override { armed = true; }
    bool FileReadable(const std::string&) override { return true; }
    bool StartTest(const CampaignTest&, const std::string&, bool, bool, RunTicket ticket) override
    {
        last = ticket;
        return true;
    }
    void SetTestResult(int, int, const std::string&) override {}
    int TestResult(int) override { return kResultOk; }
    void PrepareTest(int) override {}
    void ShowRunList(const RunList&) override {}
    void ReselectTest(int, bool) override {}
    void StopAllViews() override {}
    void CloseScriptsWithoutBreakpoints() override {}
    void RecordResult(int, int) override {}
    void WriteResultsFile() override {}
    void SaveInterfacesAndProject() override {}
    void ShowResultsDialog() override {}
    void Beep() override {}
    void HideToTray() override {}
    void ShowFromTray() override {}
    void StartBackProgram(const std::string&, const std::string&, bool) override {}
    void TerminateBackProgram() override {}

    int queued = 0;
    bool armed = false;
    RunTicket last = 0;
};

void SequentialSteps(benchmark::State& state)
{
    CampaignGroup group;
    for (int i = 0; i < kTests; ++i)
        group.tests.push_back({i, "tests/t" + std::to_string(i) + ".qzs", false});
    for (auto _ : state) {
        NullHost host;
        CampaignRun run(host, {});
        run.SetProjectFolder("/w/p");
        RunRequest request;
        request.groups = {group};
        run.Start(std::move(request));
        while (host.queued > 0) {
            --host.queued;
            run.OnStep();
            if (run.RunningTests() > 0)
                run.OnScriptEnded({true, host.last, kResultOk});
        }
        benchmark::DoNotOptimize(run.IsSetUp());
    }
    state.SetLabel(std::to_string(kTests) + " steps");
}
BENCHMARK(SequentialSteps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
