#include "ide/output/TracePane.h"

#include "common/AtomicFile.h"
#include "common/MessageText.h"
#include "ide/output/model/TraceRtf.h"
#include "ide/output/model/TraceText.h"
#include "ide/shell/ObjectNames.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace zov::output {

namespace {

QColor FromColorRef(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

std::uint32_t ToColorRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

int CategoryIndex(execution::TraceCategory category)
{
    return static_cast<int>(category);
}

std::string LowerExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension;
}

// Restores the cursor when the save is over, on every path.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

}  // namespace

CTraceView::CTraceView(const OutputContext& context, QWidget* parent) : QPlainTextEdit(parent), context_(context)
{
    shell::SetControlId(*this, 0x7101);
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QFont font("Courier New");
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    setFont(font);
    black_.setForeground(QColor(0, 0, 0));
    const std::uint32_t defaults[4] = {0xFF0000, 0x804080, 0x808040, 0x408080};
    SetColours(defaults);
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(0);
    connect(&flushTimer_, &QTimer::timeout, this, &CTraceView::InsertOneTurn);
}

void CTraceView::SetColours(const std::uint32_t (&traceClr)[4])
{
    for (int i = 0; i < 4; ++i)
        colours_[i] = traceClr[i];
    for (int category = 0; category < 4; ++category) {
        formats_[category].setForeground(
            FromColorRef(CategoryColour(static_cast<execution::TraceCategory>(category), colours_)));
    }
}

void CTraceView::SetOptions(const TraceOptions& options)
{
    Flush();
    options_ = options;
    if (const int trim = LinesToTrim(TextLineCount(), options_.maxLines); trim > 0) {
        QTextCursor cursor(document());
        cursor.setPosition(document()->findBlockByNumber(trim).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

void CTraceView::LoadColors(const shell::Settings& settings)
{
    std::uint32_t clr[4];
    for (int i = 0; i < 4; ++i)
        clr[i] = static_cast<std::uint32_t>(settings.GetInt(shell::TraceColourSetting(i)));
    SetColours(clr);
}

void CTraceView::LoadOptions(const shell::Settings& settings)
{
    TraceOptions options;
    options.script = settings.GetInt(shell::SettingId::TraceScript) != 0;
    options.interpreter = settings.GetInt(shell::SettingId::TraceInterpreter) != 0;
    options.cli = settings.GetInt(shell::SettingId::TraceCLI) != 0;
    options.maxLines = settings.GetInt(shell::SettingId::MaxLines);
    options.oneLine = settings.GetInt(shell::SettingId::TraceOneLine) != 0;
    options.saveTrace = settings.GetInt(shell::SettingId::SaveTrace) != 0;
    SetOptions(options);
    // The application's font size is the height of the pane's characters, as in the editor.
    QFont sized = font();
    sized.setPixelSize(std::max(settings.GetInt(shell::SettingId::FontSize), 4));
    setFont(sized);
}

std::string CTraceView::AddTrace(execution::TraceCategory category, int runNumber, int scriptLine,
                                 std::string_view text)
{
    using execution::TraceCategory;
    if ((category == TraceCategory::Script && !options_.script) ||
        (category == TraceCategory::Interpreter && !options_.interpreter) ||
        (category == TraceCategory::Cli && !options_.cli))
        return {};
    std::string translated;
    if (category == TraceCategory::Interpreter) {
        translated = context_.Tr(text);
        text = translated;
    }
    const std::string stamp = TraceStampNow();
    if (!continuousPath_.empty())
        AppendToContinuousSave(ContinuousSaveLine(stamp, runNumber, scriptLine, text));
    TraceLines laid = LayOutTrace(stamp, runNumber, scriptLine, text, options_.oneLine);
    const int colour = CategoryIndex(category);
    for (TraceDisplayLine& line : laid.lines)
        pending_.push_back({std::move(line.prefix), std::move(line.body), colour});
    // The backlog stays bounded by the pruning however long the event loop takes to come back.
    PruneBacklog();
    ScheduleFlush();
    if (category != TraceCategory::System && category != TraceCategory::Interpreter)
        reportText_ += laid.kept;
    return laid.kept;
}

std::string CTraceView::TraceSystem(int run, std::string_view text)
{
    return AddTrace(execution::TraceCategory::System, run, -1, text);
}
std::string CTraceView::TraceScript(int run, std::string_view text)
{
    return AddTrace(execution::TraceCategory::Script, run, -1, text);
}
std::string CTraceView::TraceScriptLine(int run, int line, std::string_view text)
{
    return AddTrace(execution::TraceCategory::Script, run, line, text);
}
std::string CTraceView::TraceInterpreter(int run, std::string_view text)
{
    return AddTrace(execution::TraceCategory::Interpreter, run, -1, text);
}
std::string CTraceView::TraceCli(int run, std::string_view text)
{
    return AddTrace(execution::TraceCategory::Cli, run, -1, text);
}

void CTraceView::PruneBacklog()
{
    // Lines that the trimming would delete as soon as they are in go before they are inserted: a
    // hundred at a time from the front (shown lines first), only while more than a hundred lines
    // beyond the limit would stay, so that what the pane keeps is what trace-by-trace trimming
    // keeps.
    const int existing = document()->blockCount() - 1;
    while (existing - dropShown_ + static_cast<int>(pending_.size()) > options_.maxLines + 200) {
        int count = 100;
        const int fromShown = std::min(count, existing - dropShown_);
        dropShown_ += fromShown;
        count -= fromShown;
        pending_.erase(pending_.begin(), pending_.begin() + count);
    }
}

void CTraceView::ScheduleFlush()
{
    if (!flushTimer_.isActive())
        flushTimer_.start();
}

void CTraceView::InsertOneTurn()
{
    QElapsedTimer turn;
    turn.start();
    while (!pending_.empty() && turn.nsecsElapsed() < kTurnNs)
        InsertPending(kLinesPerStep);
    if (!pending_.empty())
        ScheduleFlush();
}

void CTraceView::Flush()
{
    InsertPending(pending_.size());
}

void CTraceView::InsertPending(std::size_t limit)
{
    if (pending_.empty())
        return;
    const std::size_t take = std::min(limit, pending_.size());
    // Whole hundreds from the top, so that a full pane trims at most once per 100 lines. Lines
    // that the trimming would take away at once are never inserted.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    const int dropped = dropShown_;
    if (dropShown_ > 0) {
        cursor.setPosition(document()->findBlockByNumber(dropShown_).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        dropShown_ = 0;
    }
    const int existing = document()->blockCount() - 1;
    const int trim = LinesToTrim(existing + static_cast<int>(take), options_.maxLines);
    std::size_t first = 0;
    if (trim > 0 && trim >= existing) {
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
        first = static_cast<std::size_t>(trim - existing);
    } else if (trim > 0) {
        cursor.setPosition(document()->findBlockByNumber(trim).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.movePosition(QTextCursor::End);
    for (std::size_t i = first; i < take; ++i) {
        const Pending& piece = pending_[i];
        cursor.insertText(QString::fromUtf8(piece.prefix.data(), static_cast<qsizetype>(piece.prefix.size())), black_);
        cursor.insertText(QString::fromUtf8(piece.body.data(), static_cast<qsizetype>(piece.body.size())),
                          formats_[piece.colour]);
    }
    cursor.endEditBlock();
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(take));
    if (trim + dropped > 0) {
        for (auto& start : runStarts_)
            start.second = start.second >= trim + dropped ? start.second - trim - dropped : -1;
    }
    emit TracesChanged(true);
    if (!frozen_) {
        QTextCursor end = textCursor();
        end.movePosition(QTextCursor::End);
        setTextCursor(end);
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }
}

int CTraceView::TextLineCount()
{
    Flush();
    return document()->blockCount() - 1;
}

bool CTraceView::HasTraces()
{
    Flush();
    return document()->blockCount() > 1 || !document()->firstBlock().text().isEmpty();
}

std::vector<std::string> CTraceView::ShownLines()
{
    Flush();
    std::vector<std::string> lines;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (!block.next().isValid() && block.text().isEmpty())
            break;
        lines.push_back(block.text().toStdString());
    }
    return lines;
}

std::string CTraceView::RichText()
{
    Flush();
    std::vector<ColouredRun> runs;
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        const bool last = !block.next().isValid();
        if (last && block.text().isEmpty())
            break;
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            const std::uint32_t colour = ToColorRef(piece.charFormat().foreground().color());
            if (!runs.empty() && runs.back().colour == colour)
                runs.back().text += piece.text().toStdString();
            else
                runs.push_back({colour, piece.text().toStdString()});
        }
        if (runs.empty())
            runs.push_back({0, {}});
        runs.back().text += '\n';
    }
    return WriteTraceRtf(runs);
}

void CTraceView::ClearTraces()
{
    pending_.clear();
    dropShown_ = 0;
    clear();
    runStarts_.clear();
    continuousPath_.clear();
    emit TracesChanged(false);
}

void CTraceView::AppendToContinuousSave(const std::string& line)
{
    // Opened and closed for each trace, so that the file can be read or moved while traces come;
    // a file that cannot be opened is skipped without a word.
    if (std::FILE* file = std::fopen(continuousPath_.c_str(), "ab")) {
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
}

bool CTraceView::StartContinuousSave(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
        context_.Prompter().Tell(FillMessage(context_.Tr("Impossible d'enregistrer le fichier:\n%s"), path),
                                 shell::PromptIcon::Warning);
        return false;
    }
    std::fclose(file);
    continuousPath_ = path;
    return true;
}

bool CTraceView::SaveCurrent(const std::string& path)
{
    WaitCursor wait;
    std::string bytes;
    const std::string extension = LowerExtension(path);
    if (extension == ".rtf") {
        bytes = RichText();
    } else {
        const bool csv = extension == ".csv";
        for (const std::string& line : ShownLines())
            bytes += csv ? TraceCsvLine(line) : line + "\n";
    }
    if (!WriteFileAtomically(path, bytes)) {
        context_.Prompter().Tell(FillMessage(context_.Tr("Impossible d'enregistrer le fichier:\n%s"), path),
                                 shell::PromptIcon::Warning);
        return false;
    }
    continuousPath_.clear();
    return true;
}

void CTraceView::MarkRunStart(const void* run)
{
    const int line = TextLineCount();
    for (auto& start : runStarts_) {
        if (start.first == run) {
            start.second = line;
            return;
        }
    }
    runStarts_.emplace_back(run, line);
}

bool CTraceView::ScrollToRun(const void* run)
{
    for (const auto& start : runStarts_) {
        if (start.first == run && start.second >= 0) {
            verticalScrollBar()->setValue(start.second);
            return true;
        }
    }
    return false;
}

void CTraceView::OnClear()
{
    if (!HasTraces())
        return;
    if (context_.Prompter().Ask(context_.Tr("Effacer toutes les traces ?"), shell::PromptIcon::Question,
                                shell::PromptButtons::YesNo) == shell::PromptAnswer::Yes)
        ClearTraces();
}

void CTraceView::OnSave()
{
    SaveTracesDialog dialog(context_, this);
    if (context_.Prompter().Exec(dialog) != QDialog::Accepted)
        return;
    const std::string path = dialog.Path().toStdString();
    if (path.empty())
        return;
    if (dialog.Mode() == 1)
        StartContinuousSave(path);
    else
        SaveCurrent(path);
}

void CTraceView::OnFreeze(bool frozen)
{
    frozen_ = frozen;
    if (!frozen_)
        Flush();
}

SaveTracesDialog::SaveTracesDialog(const OutputContext& context, QWidget* parent)
    : ThemedDialogBase(parent), context_(context)
{
    shell::SetControlId(*this, 236);
    setWindowTitle("Enregistrer les traces");
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Type d'enregistrement", this);
    auto* groupLayout = new QVBoxLayout(group);
    current_ = new QRadioButton("Traces en cours", group);
    continuous_ = new QRadioButton("Traces en continue", group);
    current_->setObjectName("mode0");
    continuous_->setObjectName("mode1");
    current_->setChecked(true);
    groupLayout->addWidget(current_);
    groupLayout->addWidget(continuous_);
    layout->addWidget(group);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel("Fichier :", this));
    path_ = new QLineEdit(this);
    path_->setObjectName("path");
    path_->setMinimumWidth(280);
    fileRow->addWidget(path_, 1);
    auto* browse = new QPushButton("...", this);
    browse->setObjectName("browse");
    fileRow->addWidget(browse);
    layout->addLayout(fileRow);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    buttons->addButton("Annuler", QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A path chosen for one kind of save does not carry over to the other.
    connect(current_, &QRadioButton::toggled, this, [this] { path_->clear(); });
    connect(browse, &QPushButton::clicked, this, &SaveTracesDialog::Browse);
}

int SaveTracesDialog::Mode() const
{
    return continuous_->isChecked() ? 1 : 0;
}

void SaveTracesDialog::SetMode(int mode)
{
    (mode == 1 ? continuous_ : current_)->setChecked(true);
}

QString SaveTracesDialog::Path() const
{
    return path_->text();
}

void SaveTracesDialog::SetPath(const QString& path)
{
    path_->setText(path);
}

void SaveTracesDialog::Browse()
{
    shell::FileRequest request;
    request.title = context_.Tr("Enregistrer");
    request.initialPath = context_.Tr("Sortie");
    const bool continuous = Mode() == 1;
    request.filter = continuous
                         ? context_.Tr("Fichier de sortie texte") + "|*.txt|"
                         : context_.Tr("Fichier de sortie CSV") + "|*.csv|" + context_.Tr("Fichier de sortie texte") +
                               "|*.txt|" + context_.Tr("Fichier de sortie formaté") + "|*.rtf|";
    if (auto chosen = context_.Prompter().SaveFile(request)) {
        if (std::filesystem::path(*chosen).extension().empty())
            *chosen += continuous ? ".txt" : ".csv";
        path_->setText(QString::fromStdString(*chosen));
    }
}

}  // namespace zov::output
