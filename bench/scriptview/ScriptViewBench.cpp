// A run of trace100k.qzs (100 000 "trc:" lines, 200 000 line reports) started from the script
// view with ShowExecution on, offscreen, while a 10 ms heartbeat timer records the longest gap
// of the event loop. Side by side in the same iteration, the peer: the same 100 000 lines
// appended to a QPlainTextEdit in 500-line edit blocks, scrolled to the end once per block.
// The run goes twice: into a counting stand-in, then into the output bar's trace pane.
// Counters: each run's traces per second and longest stall, the lines the pane kept, the peer's
// lines per second and worst block, and the ratio of the stand-in run's rate to the peer's.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ide/execution/model/RecordingSeams.h"
#include "ide/output/OutputBar.h"
#include "ide/scriptview/ScriptViewSeams.h"
#include "ide/scriptview/ZOVView.h"
#include "ide/shell/ScriptDocument.h"

namespace {

using namespace zov;
namespace fs = std::filesystem;

constexpr int kTraces = 100000;

// The trace pane's stand-in: counts and keeps the last text; every other pane call does nothing.
class CountingPanes final : public scriptview::QuietPanes {
public:
    std::size_t traces = 0;
    std::string last;
    std::string Trace(execution::TraceCategory category, int, int, std::string_view text) override
    {
        if (category == execution::TraceCategory::Script) {
            ++traces;
            last.assign(text);
        }
        return {};
    }
};

struct Files {
    fs::path folder, script, interface;
    Files()
    {
        char pattern[] = "/tmp/zov-scriptview-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        script = folder / "trace100k.qzs";
        interface = folder / "source.qzi";
        std::ofstream(script) << "for i = 1 to " << kTraces << " do\n  trace(i)\nend\n";
        std::ofstream(interface) << ";bench\n";
    }
    ~Files() { fs::remove_all(folder); }
};

// The longest gap between two ticks of a 10 ms timer while it runs.
class Heartbeat {
public:
    Heartbeat()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (now - last_ > longest_) {
                longest_ = now - last_;
                longestAt_ = now;
            }
            last_ = now;
        });
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    double LongestMs() const { return static_cast<double>(longest_) / 1e6; }
    double LongestEndedAtS() const { return static_cast<double>(longestAt_) / 1e9; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    qint64 longestAt_ = 0;
};

struct ViewRun {
    double seconds = 0;
    double stallMs = 0;
    std::size_t traces = 0;
    std::size_t paneLines = 0;
    double stallEndedAtS = 0;
    bool lastSeen = false;
};

// Panes for a run: the counting stand-in, or the output bar's real trace pane.
ViewRun RunFromTheView(const Files& files, bool realPane)
{
    execution::EventLog log;
    execution::RecordingHost host(log);
    host.settings.programFolder = ZOV_BIN_DIR;
    host.settings.tempFolder = files.folder.string();
    host.settings.showExecution = true;
    execution::RecordingInterfaces interfaces;
    interfaces.source = files.interface.string();
    CountingPanes counting;
    std::unique_ptr<shell::IOutputBar> bar = output::MakeOutputBar(shell::IdentityTranslate());
    auto& paneBar = static_cast<output::OutputPaneBar&>(*bar);
    output::PaneRunSinks realPanes(paneBar, output::ScriptEntry{"trace100k.qzs", files.script.string()});
    execution::RunSinks& panes = realPane ? static_cast<execution::RunSinks&>(realPanes) : counting;
    if (realPane) {
        bar->Widget().resize(800, 300);
        bar->Widget().show();
        // The first layout and paint of the bar belong to its opening, not to the run.
        QCoreApplication::processEvents();
    }
    execution::LoggingPrompter prompter(log);
    shell::ScriptDocument document(QStringLiteral("Nouveau"), 16, shell::IdentityTranslate());
    document.Load(files.script.string(), {shell::DocumentKind::Script, "qzs"});
    scriptview::ScriptViewServices services;
    services.host = &host;
    services.interfaces = &interfaces;
    services.panes = &panes;
    services.prompter = &prompter;
    auto adapter = std::make_unique<scriptview::ScriptViewAdapter>(document, services);
    scriptview::CZOVView* view = adapter->View();
    document.AttachView(std::move(adapter));
    view->resize(640, 480);
    view->show();

    QEventLoop loop;
    QObject::connect(view, &scriptview::CZOVView::RunEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(std::chrono::seconds(120), &loop, &QEventLoop::quit);
    ViewRun run;
    QElapsedTimer clock;
    Heartbeat heartbeat;
    clock.start();
    view->RunScript();
    loop.exec();
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    run.stallMs = heartbeat.LongestMs();
    run.stallEndedAtS = heartbeat.LongestEndedAtS();
    if (realPane) {
        paneBar.m_tTrace->Flush();
        const std::vector<std::string> lines = paneBar.m_tTrace->ShownLines();
        run.traces = kTraces;  // the pane keeps its last lines only: the run's count is the script's
        run.paneLines = lines.size();
        // The engine's own closing lines follow the last trace.
        const std::string last = " " + std::to_string(kTraces);
        for (std::size_t back = 0; back < std::min<std::size_t>(lines.size(), 5); ++back)
            run.lastSeen = run.lastSeen || lines[lines.size() - 1 - back].ends_with(last);
    } else {
        run.traces = counting.traces;
        run.lastSeen = counting.last == std::to_string(kTraces);
    }
    document.AttachView(nullptr);
    return run;
}

struct PeerRun {
    double seconds = 0;
    double worstBlockMs = 0;
};

PeerRun PlainTextEditInBlocks()
{
    QPlainTextEdit edit;
    edit.setReadOnly(true);
    edit.resize(640, 480);
    edit.show();
    PeerRun peer;
    QElapsedTimer clock;
    clock.start();
    constexpr int kBlock = 500;
    for (int first = 1; first <= kTraces; first += kBlock) {
        QElapsedTimer block;
        block.start();
        QTextCursor cursor(edit.document());
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        for (int n = first; n < first + kBlock; ++n) {
            cursor.insertText(QStringLiteral("12:00:00.000 (1) [0002] ") + QString::number(n));
            cursor.insertBlock();
        }
        cursor.endEditBlock();
        edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
        peer.worstBlockMs = std::max(peer.worstBlockMs, static_cast<double>(block.nsecsElapsed()) / 1e6);
    }
    peer.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return peer;
}

void BM_TraceRunFromTheView(benchmark::State& state)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zov_scriptview_bench";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    Files files;
    for (auto _ : state) {
        const ViewRun ours = RunFromTheView(files, false);
        const ViewRun pane = RunFromTheView(files, true);
        const PeerRun peer = PlainTextEditInBlocks();
        const double ourRate = ours.seconds > 0 ? static_cast<double>(ours.traces) / ours.seconds : 0;
        const double peerRate = peer.seconds > 0 ? kTraces / peer.seconds : 0;
        state.counters["view_s"] = ours.seconds;
        state.counters["view_traces_per_s"] = ourRate;
        state.counters["view_longest_stall_ms"] = ours.stallMs;
        state.counters["view_traces"] = static_cast<double>(ours.traces);
        state.counters["view_last_trace_seen"] = ours.lastSeen ? 1 : 0;
        state.counters["pane_traces_per_s"] = pane.seconds > 0 ? kTraces / pane.seconds : 0;
        state.counters["pane_longest_stall_ms"] = pane.stallMs;
        state.counters["pane_stall_ended_at_s"] = pane.stallEndedAtS;
        state.counters["pane_s"] = pane.seconds;
        state.counters["pane_lines_kept"] = static_cast<double>(pane.paneLines);
        state.counters["pane_last_trace_seen"] = pane.lastSeen ? 1 : 0;
        state.counters["peer_lines_per_s"] = peerRate;
        state.counters["peer_worst_block_ms"] = peer.worstBlockMs;
        state.counters["rate_ratio_view_over_peer"] = peerRate > 0 ? ourRate / peerRate : 0;
    }
}
BENCHMARK(BM_TraceRunFromTheView)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
