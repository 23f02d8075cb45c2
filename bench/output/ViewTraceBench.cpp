// trace100k.qzs (100 000 script traces, the executing line shown) run from a script view whose
// traces go to the output bar's trace pane, offscreen, while a 10 ms heartbeat records the event
// loop's longest gap; beside it in the same run, QPlainTextEdit given the same 100 000 lines in
// 500-line edit blocks with one scroll per block. Targets: the run ends within 4 s, no stall above
// 50 ms, the pane holds 10 001 to 10 100 lines ending with the last trace, >= 30 000 traces/s.
#include "ide/execution/model/RecordingSeams.h"
#include "ide/output/OutputBar.h"
#include "ide/scriptview/ZOVView.h"
#include "ide/shell/ScriptDocument.h"

#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace zov;
namespace fs = std::filesystem;

constexpr int kTraces = 100000;

class Heartbeat {
public:
    Heartbeat()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
        clock_.start();
        timer_.start();
    }
    double LongestMs() const { return static_cast<double>(longest_) / 1e6; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    char pattern[] = "/tmp/zov-output-bench-XXXXXX";
    const fs::path folder = ::mkdtemp(pattern);
    const fs::path script = folder / "trace100k.qzs";
    std::ofstream(script) << "for i = 1 to " << kTraces
                          << " do\n  trace(\"line number \", i, \" of the trace stream\")\nend\n";
    std::ofstream(folder / "source.qzi") << ";bench\n";

    execution::EventLog log;
    execution::RecordingHost host(log);
    host.settings.programFolder = ZOV_BIN_DIR;
    host.settings.tempFolder = folder.string();
    host.settings.showExecution = true;
    execution::RecordingInterfaces interfaces;
    interfaces.source = (folder / "source.qzi").string();
    execution::LoggingPrompter prompter(log);

    output::OutputPaneBar bar{output::OutputContext{}};
    bar.Widget().resize(900, 300);
    bar.Widget().show();
    output::PaneRunSinks panes(bar, {"trace100k.qzs", script.string()});

    double seconds = 0;
    double stallMs = 0;
    {
        shell::ScriptDocument document(QStringLiteral("Nouveau"), 16, shell::IdentityTranslate());
        document.Load(script.string(), {shell::DocumentKind::Script, "qzs"});
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
        QElapsedTimer clock;
        Heartbeat heartbeat;
        clock.start();
        view->RunScript();
        loop.exec();
        bar.m_tTrace->Flush();
        seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        stallMs = heartbeat.LongestMs();
        document.AttachView(nullptr);
    }
    const auto shown = bar.m_tTrace->ShownLines();
    const int lines = bar.m_tTrace->TextLineCount();
    bool lastSeen = false;
    for (std::size_t i = shown.size() > 5 ? shown.size() - 5 : 0; i < shown.size(); ++i)
        lastSeen = lastSeen || shown[i].find("line number 100000 of the trace stream") != std::string::npos;

    QPlainTextEdit edit;
    edit.setReadOnly(true);
    edit.resize(900, 300);
    edit.show();
    QElapsedTimer peerClock;
    peerClock.start();
    double worstBlockMs = 0;
    for (int first = 1; first <= kTraces; first += 500) {
        QElapsedTimer block;
        block.start();
        QTextCursor cursor(edit.document());
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        for (int n = first; n < first + 500; ++n) {
            cursor.insertText(QStringLiteral("12:00:00.000 (1) [0002] line number %1 of the trace stream").arg(n));
            cursor.insertBlock();
        }
        cursor.endEditBlock();
        edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
        worstBlockMs = std::max(worstBlockMs, static_cast<double>(block.nsecsElapsed()) / 1e6);
    }
    const double peerSeconds = static_cast<double>(peerClock.nsecsElapsed()) / 1e9;

    const double rate = kTraces / seconds;
    const double peerRate = kTraces / peerSeconds;
    const bool met = seconds <= 4 && stallMs <= 50 && lines >= 10001 && lines <= 10100 && lastSeen && rate >= 30000;
    std::printf(
        "bench: output-view-trace100k zov=%.2fs (%.0ftraces/s, longest stall %.1fms, pane %d lines, last %s) "
        "qplaintextedit-500-line-blocks=%.2fs (%.0flines/s, worst block %.1fms) ratio=%.2f "
        "target<=4s,stall<=50ms,>=30000traces/s %s\n",
        seconds, rate, stallMs, lines, lastSeen ? "seen" : "MISSING", peerSeconds, peerRate, worstBlockMs,
        rate / peerRate, met ? "met" : "MISSED");
    fs::remove_all(folder);
    return 0;
}
