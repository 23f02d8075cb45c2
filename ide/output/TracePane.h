#pragma once

// The "Traces" pane: every trace of the running scripts, stamped and numbered by run, coloured by
// category, trimmed to its line limit, frozen, cleared and saved (at once as text, CSV or RTF, or
// continuously into a text file). Traces that arrive within one turn of the event loop are
// inserted together and scrolled to once, so that a fast engine does not stall the window.

#include <QPlainTextEdit>
#include <QElapsedTimer>
#include <QTextCharFormat>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/ExecutionSeams.h"
#include "ide/output/OutputContext.h"
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/core/Settings.h"

class QLineEdit;
class QRadioButton;

namespace zov::output {

struct TraceOptions {
    bool script = true;       // TraceScript
    bool interpreter = true;  // TraceInterpreter
    bool cli = true;          // TraceCLI
    int maxLines = 10000;     // MaxLines
    bool oneLine = false;     // TraceOneLine
    bool saveTrace = false;   // SaveTrace: kept, not used
};

class CTraceView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CTraceView(const OutputContext& context, QWidget* parent = nullptr);

    // Adds a trace (scriptLine < 0: without a line number) when its category is shown; returns the
    // text kept (line breaks expanded, final line break), "" when the category is hidden.
    std::string AddTrace(execution::TraceCategory category, int runNumber, int scriptLine, std::string_view text);
    std::string TraceSystem(int run, std::string_view text);
    std::string TraceScript(int run, std::string_view text);
    std::string TraceScriptLine(int run, int line, std::string_view text);
    std::string TraceInterpreter(int run, std::string_view text);
    std::string TraceCli(int run, std::string_view text);

    // Inserts what is waiting; the pane does it by itself at the next turn of the event loop.
    void Flush();
    void ClearTraces();

    void LoadColors(const shell::Settings& settings);
    void LoadOptions(const shell::Settings& settings);
    void SetColours(const std::uint32_t (&traceClr)[4]);
    void SetOptions(const TraceOptions& options);
    const TraceOptions& Options() const { return options_; }

    // Lines of text shown (the empty line after the last line break not counted).
    int TextLineCount();
    std::vector<std::string> ShownLines();
    bool HasTraces();
    bool GetSel() const { return textCursor().hasSelection(); }

    // The one-time save, by the file's extension ("rtf", "csv", else text); false when the file
    // cannot be written (the user has been told). Ends a continuous save.
    bool SaveCurrent(const std::string& path);
    // Creates the file when missing and appends every later trace to it.
    bool StartContinuousSave(const std::string& path);
    const std::string& ContinuousSavePath() const { return continuousPath_; }
    const std::string& ReportText() const { return reportText_; }

    // Runs whose traces the runs pane can show: the line their first trace went to.
    void MarkRunStart(const void* run);
    bool ScrollToRun(const void* run);

    // Commands 57633 (clear, asks first), 32985 (save dialog), 38502 (freeze).
    void OnClear();
    void OnSave();
    void OnFreeze(bool frozen);
    bool IsFrozen() const { return frozen_; }

    // The RTF of the pane as it stands.
    std::string RichText();

signals:
    // After traces went in or the pane was emptied: whether it holds any (the clear command's
    // enabling).
    void TracesChanged(bool hasTraces);

private:
    struct Pending {
        std::string prefix;
        std::string body;
        int colour;  // category index 0..3
    };
    // Waiting traces go in on a zero timer, a few hundred lines at a time until one turn has
    // worked this long: a posted call would keep the event loop's timers waiting while a run
    // streams, and one large edit block holds the window up.
    static constexpr std::size_t kLinesPerStep = 200;
    static constexpr qint64 kTurnNs = 4'000'000;
    void InsertPending(std::size_t limit);
    void InsertOneTurn();
    void PruneBacklog();
    void ScheduleFlush();
    void AppendToContinuousSave(const std::string& line);

    OutputContext context_;
    TraceOptions options_;
    std::uint32_t colours_[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    QTextCharFormat black_;
    QTextCharFormat formats_[4];
    std::deque<Pending> pending_;
    int dropShown_ = 0;  // shown lines the next insertion deletes first
    QTimer flushTimer_;
    bool frozen_ = false;
    std::string continuousPath_;
    std::string reportText_;
    std::vector<std::pair<const void*, int>> runStarts_;
};

// "Enregistrer les traces": what is shown now (mode 0) or continuously from now on (mode 1), and
// the file.
class SaveTracesDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    SaveTracesDialog(const OutputContext& context, QWidget* parent = nullptr);
    int Mode() const;
    void SetMode(int mode);
    QString Path() const;
    void SetPath(const QString& path);
    void Browse();

private:
    const OutputContext& context_;
    QRadioButton* current_;
    QRadioButton* continuous_;
    QLineEdit* path_;
};

}  // namespace zov::output
