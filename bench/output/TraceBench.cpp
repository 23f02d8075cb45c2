// Trace lines per second into the trace pane, side by side with QPlainTextEdit fed per trace
// (append, then scroll) and in 500-line edit blocks (one scroll per block), all three shown
// offscreen, limited to 10 000 lines and given the event loop after every slice of traces as the
// engine's output would. Target for the pane: >= 30 000 lines/s; the worst slice is printed too.
#include "ide/output/TracePane.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Result {
    double linesPerSecond = 0;
    double worstSliceMs = 0;
};

std::string TraceText(int i)
{
    return "line number " + std::to_string(i) + " of the trace stream";
}

// Runs `slice(first, count)` over `lines` traces in slices of `perSlice`, the event loop between.
Result Measure(int lines, int perSlice, const std::function<void(int, int)>& slice)
{
    Result result;
    const auto start = Clock::now();
    for (int first = 0; first < lines; first += perSlice) {
        const auto sliceStart = Clock::now();
        slice(first, std::min(perSlice, lines - first));
        QApplication::processEvents();
        result.worstSliceMs =
            std::max(result.worstSliceMs, std::chrono::duration<double, std::milli>(Clock::now() - sliceStart).count());
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    result.linesPerSecond = lines / seconds;
    return result;
}

void Print(const char* name, const Result& ours, const Result& peer, const char* peerName)
{
    std::printf(
        "bench: output-%s zov=%.0flines/s (worst slice %.1fms) %s=%.0flines/s (worst %.1fms) ratio=%.2f "
        "target>=30000lines/s %s\n",
        name, ours.linesPerSecond, ours.worstSliceMs, peerName, peer.linesPerSecond, peer.worstSliceMs,
        ours.linesPerSecond / peer.linesPerSecond, ours.linesPerSecond >= 30000 ? "met" : "MISSED");
}

QPlainTextEdit* NewPeer()
{
    auto* peer = new QPlainTextEdit;
    peer->setReadOnly(true);
    peer->setUndoRedoEnabled(false);
    peer->setLineWrapMode(QPlainTextEdit::NoWrap);
    peer->setMaximumBlockCount(10100);
    peer->resize(900, 300);
    peer->show();
    return peer;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int lines = 100000;
    const int perLineLines = 20000;  // the per-trace peer is slow: fewer lines, same rate

    zov::output::OutputContext context;
    zov::output::CTraceView pane(context);
    pane.resize(900, 300);
    pane.show();
    const Result ours = Measure(lines, 500, [&](int first, int count) {
        for (int i = first; i < first + count; ++i)
            pane.TraceScript(1, TraceText(i + 1));
    });
    const Result oursSmallSlices = Measure(perLineLines, 50, [&](int first, int count) {
        for (int i = first; i < first + count; ++i)
            pane.TraceScript(1, TraceText(i + 1));
    });
    std::fprintf(stderr, "pane holds %d lines, last \"%s\"\n", pane.TextLineCount(),
                 pane.ShownLines().empty() ? "" : pane.ShownLines().back().c_str());

    QTextCharFormat black, colour;
    black.setForeground(QColor(0, 0, 0));
    colour.setForeground(QColor(64, 128, 128));

    QPlainTextEdit* perLine = NewPeer();
    const Result peerPerLine = Measure(perLineLines, 50, [&](int first, int count) {
        for (int i = first; i < first + count; ++i) {
            QTextCursor cursor(perLine->document());
            cursor.movePosition(QTextCursor::End);
            cursor.insertText("12:00:00.000 (1) ", black);
            cursor.insertText(QString::fromStdString(TraceText(i + 1)) + "\n", colour);
            perLine->verticalScrollBar()->setValue(perLine->verticalScrollBar()->maximum());
            perLine->ensureCursorVisible();
        }
    });

    QPlainTextEdit* blocks = NewPeer();
    const Result peerBlocks = Measure(lines, 500, [&](int first, int count) {
        QTextCursor cursor(blocks->document());
        cursor.movePosition(QTextCursor::End);
        cursor.beginEditBlock();
        for (int i = first; i < first + count; ++i) {
            cursor.insertText("12:00:00.000 (1) ", black);
            cursor.insertText(QString::fromStdString(TraceText(i + 1)) + "\n", colour);
        }
        cursor.endEditBlock();
        blocks->verticalScrollBar()->setValue(blocks->verticalScrollBar()->maximum());
    });

    Print("trace-500-line-slices", ours, peerBlocks, "qplaintextedit-500-line-blocks");
    Print("trace-50-line-slices", oursSmallSlices, peerPerLine, "qplaintextedit-per-line");
    delete perLine;
    delete blocks;
    return 0;
}
