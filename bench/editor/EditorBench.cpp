// The text buffer side by side with the document behind QPlainTextEdit (QTextDocument with its
// plain-text layout), on a generated 100 000-line script of about 1.7 MB: the same work on both
// sides, timed in one run, each line giving both medians and their ratio. Targets for the
// buffer: load <= 60 ms, save <= 30 ms, one-character insert and delete <= 50 us, Enter at line 1
// <= 1 ms, 10 000 replacements <= 500 ms.
#include "bench/editor/BenchScript.h"
#include "ide/editor/model/TextBuffer.h"
#include "ide/editor/model/TextSearch.h"

#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace zov::editor;

namespace {

using Clock = std::chrono::steady_clock;

// Median of the runs, in microseconds; `prepare` runs untimed before each.
double Median(int runs, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* name, double ours, double peer, double targetMicros, int perCount = 1)
{
    ours /= perCount;
    peer /= perCount;
    std::printf("bench: editor-%s zov=%.1fus peer=%.1fus ratio=%.3f target<=%.0fus %s\n", name, ours, peer, ours / peer,
                targetMicros, ours <= targetMicros ? "met" : "MISSED");
}

QTextDocument* NewPeer(const QString& text)
{
    auto* document = new QTextDocument;
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setPlainText(text);
    return document;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = 7;
    const auto folder = std::filesystem::temp_directory_path() / ("zov-editor-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / "large.qzs";
    const auto out = folder / "saved.qzs";
    {
        std::ofstream file(path, std::ios::binary);
        file << zov::bench::BenchScript(100000);
    }
    std::printf("bench-env: editor script %ju bytes, 100000 lines\n", std::uintmax_t(std::filesystem::file_size(path)));

    // Load: file to lines. Both sides free the previous text outside the timing.
    CTextBuffer buffer;
    const double load = Median(
        runs, [&] { buffer.FreeAll(); }, [&] { buffer.LoadFromFile(path); });
    QTextDocument* peer = nullptr;
    const double peerLoad = Median(
        runs,
        [&] {
            delete peer;
            peer = nullptr;
        },
        [&] {
            QFile file(QString::fromStdString(path.string()));
            file.open(QIODevice::ReadOnly);
            peer = NewPeer(QString::fromUtf8(file.readAll()));
        });
    Report("load", load, peerLoad, 60000);

    // Save: lines to a file.
    const double save = Median(
        runs, [] {}, [&] { buffer.SaveToFile(out); });
    const double peerSave = Median(
        runs, [] {},
        [&] {
            QFile file(QString::fromStdString(out.string()));
            file.open(QIODevice::WriteOnly);
            file.write(peer->toPlainText().replace(u'\n', QStringLiteral("\r\n")).toUtf8());
        });
    Report("save", save, peerSave, 30000);

    // One character typed and deleted again in the middle, each recorded for undo.
    const int edits = 1000;
    const double typing = Median(
        runs, [] {},
        [&] {
            for (int i = 0; i < edits; ++i) {
                buffer.InsertTextUndoable(nullptr, {3, 50000}, u"x", nullptr, UndoAction_Typing);
                buffer.DeleteTextUndoable(nullptr, {3, 50000}, {4, 50000}, UndoAction_Delete);
            }
        });
    const double peerTyping = Median(
        runs, [] {},
        [&] {
            QTextCursor cursor(peer->findBlockByNumber(50000));
            cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 3);
            for (int i = 0; i < edits; ++i) {
                cursor.insertText(QStringLiteral("x"));
                cursor.deletePreviousChar();
            }
        });
    Report("char-insert-delete", typing, peerTyping, 100, edits);

    // Enter at the start of line 1 (and the line end removed again, untimed).
    const double enter = Median(
        runs * 3,
        [&] {
            buffer.DeleteText(nullptr, {0, 0}, {0, 1});
        },
        [&] {
            buffer.InsertTextUndoable(nullptr, {0, 0}, u"\r\n", nullptr, UndoAction_Typing);
        });
    QTextCursor top(peer);
    const double peerEnter = Median(
        runs * 3,
        [&] {
            top.movePosition(QTextCursor::Start);
            top.deleteChar();
        },
        [&] {
            top.movePosition(QTextCursor::Start);
            top.insertBlock();
        });
    buffer.DeleteText(nullptr, {0, 0}, {0, 1});
    Report("enter-line1", enter, peerEnter, 1000);

    // 10 000 replacements of "trace" by "print", found one after the other, one undo group.
    const double replace = Median(
        3, [&] { buffer.LoadFromFile(path); },
        [&] {
            buffer.OpenUndoGroup();
            TextPosition at{0, 0};
            TextPosition found;
            while (FindText(buffer, u"trace", at, Find_MatchCase | Find_WholeWord, false, found)) {
                buffer.DeleteTextUndoable(nullptr, found, {found.charIndex + 5, found.line}, UndoAction_Replace);
                buffer.InsertTextUndoable(nullptr, found, u"print", &at, UndoAction_Replace);
            }
            buffer.CloseUndoGroup();
        });
    const double peerReplace = Median(
        3,
        [&] {
            QFile file(QString::fromStdString(path.string()));
            file.open(QIODevice::ReadOnly);
            delete peer;
            peer = NewPeer(QString::fromUtf8(file.readAll()));
        },
        [&] {
            QTextCursor edit(peer);
            edit.beginEditBlock();
            QTextCursor found = peer->find(QStringLiteral("trace"), 0,
                                           QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
            while (!found.isNull()) {
                found.insertText(QStringLiteral("print"));
                found = peer->find(QStringLiteral("trace"), found,
                                   QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
            }
            edit.endEditBlock();
        });
    Report("replace-10000", replace, peerReplace, 500000);

    delete peer;
    std::filesystem::remove_all(folder);
    return 0;
}
