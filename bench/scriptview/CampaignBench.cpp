// A campaign in the main window, end to end, offscreen: one sequential set of 100 one-line tests
// run by Ctrl+F5 through the zovrun of the build, each in its script view, the results recorded.
// Side by side in the same iteration, the peer: a shell loop running zovrun on the same 100
// scripts, the way the IDE starts it. Target: the campaign takes at most the loop's time plus
// 50 ms per test. Counters: both times, the overhead per test, and whether every test passed.
#include <benchmark/benchmark.h>

#include "ide/output/OutputBar.h"
#include "ide/scriptview/ScriptViewParts.h"
#include "ide/shell/FrameCampaign.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace zov;
namespace fs = std::filesystem;

constexpr int kTests = 100;

// Every prompt escapes: nothing may wait for a user.
class EscapingPrompter final : public shell::ShellPrompter {
public:
    shell::PromptAnswer Ask(const std::string&, shell::PromptIcon, shell::PromptButtons) override
    {
        return shell::PromptAnswer::Cancel;
    }
    std::optional<std::string> OpenFile(const shell::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const shell::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> BrowseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(const std::string&, std::uint32_t) override { return std::nullopt; }
    int Exec(QDialog&) override { return 0; }
};

struct Folder {
    fs::path root;
    std::vector<std::string> scripts;
    Folder()
    {
        char pattern[] = "/tmp/zov-campaign-bench-XXXXXX";
        root = ::mkdtemp(pattern);
        fs::create_directories(root / "prog");
        std::ofstream(root / "vide.qzi") << ";vide\n";
        for (int i = 0; i < kTests; ++i) {
            const fs::path script = root / ("t" + std::to_string(i) + ".qzs");
            std::ofstream(script) << "ok(\"fin\")\n";
            scripts.push_back(script.string());
        }
    }
    ~Folder() { fs::remove_all(root); }
};

struct CampaignRun {
    double seconds = 0;
    int passed = 0;
};

CampaignRun RunCampaign(const Folder& folder)
{
    shell::ApplicationCore application(
        shell::ApplicationCore::Places{folder.root / "prog", folder.root / "prog" / "ZOV.ini", folder.root / "tmp"});
    application.Values().enginePath = ZOV_BIN_DIR;
    shell::FrameParts parts;
    parts.makeInterfaces = [&application](shell::MainFrame&) {
        return std::make_unique<shell::FrameInterfaceSet>(application);
    };
    parts.makeOutput = [](shell::MainFrame&) { return output::MakeOutputBar(shell::IdentityTranslate()); };
    scriptview::PlugScriptViews(parts, application);
    shell::MainFrame frame(application, std::move(parts));
    frame.show();
    auto* campaign = new shell::FrameCampaign(frame);

    project::ProjectModel model;
    model.InterfacePath = (folder.root / "vide.qzi").string();
    project::CCampaign& owner = *model.AddCampaign("C", project::kAddAtEnd, 0, nullptr);
    project::CTestSet& set = *model.AddTestSet(owner, "S", project::kAddAtEnd, 0, 0, 0, nullptr);
    for (int i = 0; i < kTests; ++i)
        model.AddTest(set, folder.scripts[i], "T" + std::to_string(i), project::kAddAtEnd, 0, nullptr, 0);
    const std::string projectPath = (folder.root / "p.qzp").string();
    CampaignRun run;
    if (!model.SaveProjectFile(projectPath) || !frame.OpenProject(projectPath))
        return run;
    auto* tree = frame.findChild<QTreeWidget*>("StandInTestTree");
    const auto sets = tree != nullptr ? tree->findItems("S", Qt::MatchExactly | Qt::MatchRecursive)
                                      : QList<QTreeWidgetItem*>{};
    if (sets.size() != 1)
        return run;
    tree->setCurrentItem(sets.front());
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    frame.Command(shell::command_ids::kRunCampaign)->trigger();
    QDeadlineTimer deadline(300000);
    bool started = false;
    while ((!started || campaign->CampaignRunning()) && !deadline.hasExpired()) {
        started = started || campaign->CampaignRunning();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    for (const auto& test : frame.Explorer().Project().Campaigns.at(0)->TestSets.at(0)->Tests) {
        const execution::RunRecord* record = campaign->Record(static_cast<int>(test->Id));
        run.passed += record != nullptr && record->resultCode == execution::kResultOk ? 1 : 0;
    }
    frame.CloseAll(false);
    return run;
}

// The peer: one shell loop, one zovrun per script, fed the same console commands as the view's.
double ShellLoop(const Folder& folder)
{
    std::string command = "cd '" + std::string(ZOV_BIN_DIR) + "' && for f in";
    for (const std::string& script : folder.scripts)
        command += " '" + script + "'";
    command += "; do printf 'notifyline -val 0\\ninterpret -dicofn \"%s\" -scriptfn \"%s\" -params {}\\n' '" +
               (folder.root / "vide.qzi").string() + "' \"$f\" | ./zovrun > /dev/null 2>&1; done";
    QElapsedTimer clock;
    clock.start();
    // The loop's status is the last engine's, which says nothing of the loop itself.
    (void)!std::system(command.c_str());
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

void BM_CampaignOfOneLineTests(benchmark::State& state)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zov_campaign_window_bench";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    shell::InstallPrompter(std::make_unique<EscapingPrompter>());
    Folder folder;
    for (auto _ : state) {
        const CampaignRun ours = RunCampaign(folder);
        const double peer = ShellLoop(folder);
        state.counters["campaign_s"] = ours.seconds;
        state.counters["tests_passed"] = ours.passed;
        state.counters["shell_loop_s"] = peer;
        state.counters["overhead_per_test_ms"] = (ours.seconds - peer) * 1000.0 / kTests;
        state.counters["ratio_campaign_over_loop"] = peer > 0 ? ours.seconds / peer : 0;
        state.counters["target_met"] = ours.passed == kTests && ours.seconds <= peer + kTests * 0.05 ? 1 : 0;
    }
}
BENCHMARK(BM_CampaignOfOneLineTests)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
