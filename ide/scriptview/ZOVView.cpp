#include "ide/scriptview/ZOVView.h"

#include "ide/editor/model/LineColouring.h"
#include "ide/editor/model/LineMarks.h"
#include "ide/editor/model/SyntaxColouring.h"
#include "ide/editor/model/WordRules.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/scriptview/ScriptViewSeams.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ScriptDocument.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"
#include "ide/shell/core/DocumentRules.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace zov::scriptview {

namespace {

using namespace view_commands;
namespace ids = shell::command_ids;

// The wait cursor for the length of a scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The menu rows of the context menus: 158 for scripts and other files, 176 for a macro body,
// 175 for a result or text view. Texts are translation keys, as in the main menu.
struct ContextRow {
    int id;  // 0: separator
    const char* text;
};
constexpr ContextRow kScriptMenu[] = {
    {ids::kEditCut, "Co&uper"},
    {ids::kEditCopy, "&Copier"},
    {ids::kEditPaste, "C&oller"},
    {0, nullptr},
    {kEditConstantOrMacro, "Modifier constante / macro"},
    {kCreateMacro, "Créer..."},
    {0, nullptr},
    {ids::kToggleBookmark, "Mettre/Enlever un signet"},
    {ids::kToggleBreakpoint, "Mettre/Enlever un point d'arrêt"},
};
constexpr ContextRow kMacroMenu[] = {
    {ids::kEditCut, "Co&uper"},
    {ids::kEditCopy, "&Copier"},
    {ids::kEditPaste, "C&oller"},
    {0, nullptr},
    {kEditConstantOrMacro, "Modifier constante / macro"},
    {kCreateMacro, "Créer..."},
};
constexpr ContextRow kResultMenu[] = {
    {ids::kEditCut, "Co&uper"},
    {ids::kEditCopy, "&Copier"},
    {ids::kEditPaste, "C&oller"},
};

constexpr int kFoldClickWidth = 15;
constexpr int kLineTimerMs = 30;

}  // namespace

std::optional<int> KindBackground(int kind)
{
    switch (kind) {
    case Kind_MacroBody:
        return 0xFFF0F0;
    case Kind_Result:
        return 0xDCFFFF;
    case Kind_OtherLanguage:
        return 0xEBFEFE;
    default:
        return std::nullopt;
    }
}

CZOVView::CZOVView(shell::ScriptDocument& document, ScriptViewServices services, QWidget* parent)
    : CEditorView(parent), document_(document), services_(std::move(services))
{
    if (!services_.translate)
        services_.translate = shell::IdentityTranslate();
    if (services_.host == nullptr) {
        ownHost_ = std::make_unique<PlainRunHost>();
        services_.host = ownHost_.get();
    }
    if (services_.interfaces == nullptr) {
        ownInterfaces_ = std::make_unique<NoInterfaces>();
        services_.interfaces = ownInterfaces_.get();
    }
    if (services_.panes == nullptr) {
        ownPanes_ = std::make_unique<QuietPanes>();
        services_.panes = ownPanes_.get();
    }
    shell::Prompter& prompter = services_.prompter != nullptr ? *services_.prompter : shell::ActivePrompter();
    // Runner notifications come back as queued calls on this window: when it is gone, Qt drops
    // them with it.
    QPointer<CZOVView> self(this);
    driver_ = std::make_unique<execution::EngineDriver>(
        *services_.host, *services_.interfaces, static_cast<execution::RunSinks&>(*this), prompter, services_.translate,
        [self](std::function<void()> call) {
            if (!self)
                return;
            // The call runs from a timer: a run's chain of posted calls would otherwise keep the
            // event loop's timers (painting, the line timer) waiting until the engine falls silent.
            QMetaObject::invokeMethod(
                self.data(),
                [self, call = std::move(call)]() mutable {
                    if (self)
                        QTimer::singleShot(std::chrono::milliseconds(1), Qt::PreciseTimer, self.data(),
                                           std::move(call));
                },
                Qt::QueuedConnection);
        });

    lineTimer_.setInterval(kLineTimerMs);
    connect(&lineTimer_, &QTimer::timeout, this, [this] { driver_->OnLineTimer(); });

    if (services_.settings != nullptr)
        ApplySettings(*services_.settings);
    Colouring().SetNames(services_.names);
    if (services_.names != nullptr)
        macroMarks_ = std::make_unique<editor::MacroCallMarks>(document_.Buffer(), services_.names);
    AttachToBuffer(&document_.Buffer());
    // A new document is a script until it is saved under another name.
    SetDocumentKind(Kind_Script, services_.findLanguage ? services_.findLanguage("qzs") : nullptr);
    connect(this, &CTextView::CursorMoved, this, [this] { document_.NotifyViewState(); });
}

CZOVView::~CZOVView()
{
    lineTimer_.stop();
    // The runner goes first: its end must not reach a half-destroyed view.
    driver_.reset();
    macroMarks_.reset();
}

// ---- Kind and colouring ----

void CZOVView::SetDocumentKind(int kind, const interfaces::SyntaxLanguage* language)
{
    kind_ = kind;
    language_ = language;
    CEditorView::SetDocumentKind(kind);
    if (language != nullptr) {
        Colouring().SetMarkers(editor::MarkersForLanguage(language));
        // Alt+/ and Alt+: comment with the language's line comment (";" for scripts).
        SetCommentChar(language->lineComment.empty() ? QChar() : QChar::fromLatin1(language->lineComment.front()));
    }
    if (kind == Kind_Script) {
        const QColor window = palette().color(QPalette::Base);
        SetColor(Colour_WhiteSpace, window);
        SetColor(Colour_Background, window);
    } else if (const std::optional<int> colour = KindBackground(kind)) {
        SetColor(Colour_WhiteSpace, editor::ColourFromColorref(*colour));
        SetColor(Colour_Background, editor::ColourFromColorref(*colour));
    }
    viewport()->update();
}

// ---- Runs ----

bool CZOVView::PathIsScript() const
{
    return document_.Path().find(".qzs") != std::string::npos;
}

std::vector<int> CZOVView::Breakpoints() const
{
    std::vector<int> lines;
    if (const editor::CTextBuffer* buffer = GetTextBuffer()) {
        std::vector<unsigned> marked;
        editor::GetBreakpoints(*buffer, marked);
        lines.assign(marked.begin(), marked.end());
    }
    return lines;
}

bool CZOVView::HasBreakpoints() const
{
    return !Breakpoints().empty();
}

std::string CZOVView::RunPath() const
{
    if (!editor::HasMacroBlocks(document_.Buffer()))
        return document_.Path();
    return services_.host->Settings().tempFolder + "/" + std::string(shell::BaseFileName(document_.Path())) + ".000";
}

void CZOVView::SaveDocumentFolded()
{
    editor::CTextBuffer& buffer = document_.Buffer();
    if (!editor::HasMacroBlocks(buffer)) {
        document_.SaveTo(document_.Path());
        return;
    }
    // The file keeps the calls, never their bodies: fold, save, unfold as it was.
    const std::vector<std::uint32_t> folds = editor::SaveFoldState(buffer);
    editor::CollapseAllMacros(buffer);
    document_.SaveTo(document_.Path());
    if (services_.expandMacro)
        editor::RestoreFoldState(buffer, folds, services_.expandMacro);
}

std::string CZOVView::PrepareRunFile()
{
    if (services_.makePanes) {
        // Between runs only: the panes of a run stay with it to its end.
        if (std::unique_ptr<execution::RunSinks> made = services_.makePanes(document_.Path())) {
            runPanes_ = std::move(made);
            services_.panes = runPanes_.get();
        }
    }
    editor::CTextBuffer& buffer = document_.Buffer();
    std::vector<unsigned> breakpoints;
    editor::GetBreakpoints(buffer, breakpoints);
    const std::string runPath = RunPath();
    if (runPath != document_.Path()) {
        // The engine runs the text as shown, bodies included, from a copy.
        buffer.SaveToFile(runPath, editor::LineEnd_Detect, false);
        SaveDocumentFolded();
        editor::SetBreakpoints(buffer, breakpoints);
    } else {
        SaveDocumentFolded();
    }
    return runPath;
}

void CZOVView::RunScript()
{
    if (driver_->IsRunning())
        return;
    if (!services_.interfaces->HasInterface() || (driver_->IsPaused() && driver_->IsEngineRunning())) {
        // The driver tells the missing interface, or continues the paused run.
        driver_->RunScript(document_.Path(), Breakpoints(), record_);
        return;
    }
    if (driver_->IsEngineRunning())
        return;
    const std::string runPath = PrepareRunFile();
    driver_->RunScript(runPath, Breakpoints(), record_);
}

void CZOVView::VerifyScript()
{
    if (driver_->IsRunning() || driver_->IsEngineRunning())
        return;
    if (!services_.interfaces->HasInterface()) {
        driver_->VerifyScript(document_.Path(), {}, record_);
        return;
    }
    const std::string runPath = PrepareRunFile();
    driver_->VerifyScript(runPath, Breakpoints(), record_);
}

void CZOVView::NextLine()
{
    driver_->NextLine();
}

void CZOVView::StopScript()
{
    driver_->StopScript();
}

void CZOVView::BreakScript()
{
    driver_->BreakScript();
}

void CZOVView::ToggleFreeze()
{
    frozen_ = !frozen_;
    driver_->SetFrozen(frozen_);
}

bool CZOVView::IsRunning() const
{
    return driver_->IsEngineRunning();
}

void CZOVView::SendSync(int value)
{
    driver_->SendSync(value);
}

void CZOVView::SetShowExecution(bool)
{
    // The host's settings already hold the new value.
    driver_->UpdateLineNotification();
}

// ---- Commands ----

std::optional<bool> CZOVView::IsCommandEnabled(int id) const
{
    const bool uiRun = driver_->IsRunning();
    const bool paused = driver_->IsPaused();
    const bool engineRun = driver_->IsEngineRunning();
    switch (id) {
    case kRun:
        if (paused)
            return true;
        return !uiRun && PathIsScript();
    case kVerify:
        return !uiRun && !paused && PathIsScript();
    case kNextLine:
        return engineRun && !uiRun;
    case kStop:
        return engineRun;
    case kBreak:
        return uiRun && engineRun;
    case kFreeze:
        return services_.host->Settings().showExecution;
    default:
        return std::nullopt;
    }
}

bool CZOVView::ExecuteCommand(int id)
{
    if (const std::optional<bool> enabled = IsCommandEnabled(id); enabled && !*enabled)
        return false;
    switch (id) {
    case kRun:
        RunScript();
        return true;
    case kVerify:
        VerifyScript();
        return true;
    case kNextLine:
        NextLine();
        return true;
    case kStop:
        StopScript();
        return true;
    case kBreak:
        BreakScript();
        return true;
    case kFreeze:
        ToggleFreeze();
        return true;
    case ids::kEditCut:
        Cut();
        return true;
    case ids::kEditCopy:
        return Copy();
    case ids::kEditPaste:
        return Paste();
    case ids::kToggleBookmark:
        ToggleBookmark();
        return true;
    case ids::kToggleBreakpoint:
        ToggleBreakpoint();
        return true;
    case kEditConstantOrMacro:
    case kCreateMacro:
    case kAddVariable:
    case kAddData:
    case kDeleteData:
    case kClearErrors:
        if (!services_.forwardCommand)
            return false;
        services_.forwardCommand(id);
        return true;
    default:
        return false;
    }
}

bool CZOVView::IsMacroOrConstantAtCaret()
{
    if (services_.names == nullptr)
        return false;
    const std::string word = WordAtCaret().toStdString();
    if (word.empty())
        return false;
    return services_.names->IsMacroName(word) || services_.names->FindConstantPrefix(word, word.size());
}

std::unique_ptr<QMenu> CZOVView::BuildContextMenu()
{
    auto menu = std::make_unique<QMenu>(this);
    const ContextRow* first = kScriptMenu;
    const ContextRow* last = std::end(kScriptMenu);
    if (kind_ == Kind_Result) {
        first = kResultMenu;
        last = std::end(kResultMenu);
    } else if (kind_ == Kind_MacroBody) {
        first = kMacroMenu;
        last = std::end(kMacroMenu);
    }
    const bool selection = IsSelection();
    const bool canPaste =
        GetTextBuffer() != nullptr && !GetTextBuffer()->IsReadOnly() && !QApplication::clipboard()->text().isEmpty();
    const bool macroOrConstant = kind_ != Kind_Result && IsMacroOrConstantAtCaret();
    for (const ContextRow* row = first; row != last; ++row) {
        if (row->id == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action =
            shell::MakeCommand(menu.get(), row->id, QString::fromStdString(services_.translate(row->text)));
        menu->addAction(action);
        bool enabled = true;
        if (row->id == ids::kEditCut || row->id == ids::kEditCopy)
            enabled = selection;
        else if (row->id == ids::kEditPaste)
            enabled = canPaste;
        else if (row->id == kCreateMacro)
            enabled = selection;
        else if (row->id == kEditConstantOrMacro)
            enabled = macroOrConstant;
        action->setEnabled(enabled);
        const int id = row->id;
        connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    }
    return menu;
}

void CZOVView::contextMenuEvent(QContextMenuEvent* event)
{
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    menu->exec(event->globalPos());
}

// ---- Keys and clicks ----

void CZOVView::keyPressEvent(QKeyEvent* event)
{
    // The frame's accelerators take these first when it handles them; otherwise they land here.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    int command = 0;
    if (event->key() == Qt::Key_F5 && modifiers == Qt::NoModifier)
        command = kRun;
    else if (event->key() == Qt::Key_F5 && modifiers == Qt::ShiftModifier)
        command = kVerify;
    else if (event->key() == Qt::Key_F6 && modifiers == Qt::NoModifier)
        command = kNextLine;
    else if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && driver_->IsEngineRunning())
        command = kStop;
    if (command != 0) {
        ExecuteCommand(command);
        event->accept();
        return;
    }
    CEditorView::keyPressEvent(event);
}

void CZOVView::mousePressEvent(QMouseEvent* event)
{
    editor::CTextBuffer* buffer = GetTextBuffer();
    const int x = static_cast<int>(event->position().x());
    const int margin = GetMarginWidth();
    if (event->button() == Qt::LeftButton && buffer != nullptr && !buffer->IsReadOnly() && x < margin &&
        x >= margin - kFoldClickWidth) {
        WaitCursor wait;
        const int line = PointToPosition(event->position().toPoint()).line;
        if (buffer->HasMacroName(line)) {
            const bool wide = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
            buffer->SetFoldState(line, buffer->GetFoldState(line) != 0 ? 0 : (wide ? 2 : 1));
            SetAnchor({0, line});
            SetCursorPos({0, line});
            SetSelection({0, line}, {0, line});
            if (services_.expandMacro)
                editor::ExpandMacroLine(*buffer, line, buffer->GetFoldState(line) == editor::Fold_Full,
                                        services_.expandMacro);
            viewport()->update();
            event->accept();
            return;
        }
    }
    CEditorView::mousePressEvent(event);
}

// ---- What the main window asks ----

void CZOVView::PullTextFromBuffer()
{
    // A document learns its kind when it loads its file.
    const shell::DocumentType& type = document_.Type();
    if (type.kind != shell::DocumentKind::None && type.kind != shell::DocumentKind::Project) {
        SetDocumentKind(static_cast<int>(type.kind),
                        services_.findLanguage ? services_.findLanguage(type.language) : nullptr);
        // Only scripts and macro bodies call macros and use the interface's names.
        const bool names = type.kind == shell::DocumentKind::Script || type.kind == shell::DocumentKind::Macro;
        Colouring().SetNames(names ? services_.names : nullptr);
    }
    ResetView();
    UpdateScrollRanges();
    if (macroMarks_)
        macroMarks_->RefreshAll();
}

void CZOVView::RefreshMacroFolding()
{
    editor::CTextBuffer* buffer = GetTextBuffer();
    if (buffer == nullptr || buffer->IsReadOnly())
        return;
    const std::vector<std::uint32_t> folds = editor::SaveFoldState(*buffer);
    editor::CollapseAllMacros(*buffer);
    if (macroMarks_)
        macroMarks_->RefreshAll();
    viewport()->repaint();
    if (services_.expandMacro)
        editor::RestoreFoldState(*buffer, folds, services_.expandMacro);
    viewport()->update();
}

void CZOVView::MarkLine(int line, std::uint32_t flag)
{
    editor::CTextBuffer* buffer = GetTextBuffer();
    if (buffer == nullptr || line < 1 || line > buffer->GetLineCount())
        return;
    if (!(flag == editor::LineFlag_Execution && IsRunning()))
        buffer->ChangeLineFlag(line - 1, flag, true, true);
    ShowLine(line);
    viewport()->update();
}

bool CZOVView::Paste()
{
    if (GetTextBuffer() == nullptr || GetTextBuffer()->IsReadOnly())
        return false;
    CEditorView::Paste();
    return true;
}

shell::IScriptView::Position CZOVView::CaretPosition() const
{
    const editor::TextPosition caret = GetCursorPos();
    return {caret.line, caret.charIndex};
}

// ---- The window's part of a run ----

std::string CZOVView::Trace(execution::TraceCategory category, int runNumber, int line, std::string_view text)
{
    return services_.panes->Trace(category, runNumber, line, text);
}

void CZOVView::AddError(std::string_view text, execution::RunRecord* record)
{
    services_.panes->AddError(text, record);
}

void CZOVView::ClearErrors()
{
    services_.panes->ClearErrors();
}

void CZOVView::UpdateVariable(const std::string& name, const std::string& value, int kind, execution::RunRecord* record)
{
    services_.panes->UpdateVariable(name, value, kind, record);
}

void CZOVView::AddRun(execution::RunRecord& record)
{
    services_.panes->AddRun(record);
}

void CZOVView::UpdateRun(execution::RunRecord& record, bool verify)
{
    services_.panes->UpdateRun(record, verify);
}

void CZOVView::SetExecutionLine(int line)
{
    if (editor::CTextBuffer* buffer = GetTextBuffer())
        buffer->ChangeLineFlag(line - 1, editor::LineFlag_Execution, true, true);
    viewport()->update();
}

void CZOVView::ClearLineMark(std::uint32_t flag)
{
    if (editor::CTextBuffer* buffer = GetTextBuffer())
        editor::ClearLineFlag(*buffer, flag);
    viewport()->update();
}

void CZOVView::ClearExecutionLine()
{
    ClearLineMark(editor::LineFlag_Execution);
}

void CZOVView::ToggleWarningLine(int line)
{
    if (editor::CTextBuffer* buffer = GetTextBuffer(); buffer != nullptr && line >= 1 && line <= buffer->GetLineCount())
        editor::ToggleLineFlag(*buffer, line - 1, editor::LineFlag_Warning, false);
    viewport()->update();
}

void CZOVView::ClearWarningLines()
{
    ClearLineMark(editor::LineFlag_Warning);
}

void CZOVView::ClearErrorLine()
{
    ClearLineMark(editor::LineFlag_Error);
}

void CZOVView::ShowLine(int line)
{
    if (line < 1 || GetTextBuffer() == nullptr || line > GetLineCount())
        return;
    SetAnchor({0, line - 1});
    SetCursorPos({0, line - 1});
    SetSelection({0, line - 1}, {0, line - 1});
    EnsureVisible({0, line - 1});
}

void CZOVView::SetRunning(bool running)
{
    // The modified mark "*" stays first; the running mark "#" follows it.
    QString title = document_.Title();
    const bool starred = title.startsWith(u'*');
    QString bare = starred ? title.mid(1) : title;
    const bool marked = bare.startsWith(u'#');
    if (running && !marked)
        bare.prepend(u'#');
    else if (!running && marked)
        bare.remove(0, 1);
    else {
        emit RunningChanged(running);
        return;
    }
    document_.SetTitle(bare);
    emit RunningChanged(running);
}

void CZOVView::SetReadOnly(bool readOnly)
{
    if (editor::CTextBuffer* buffer = GetTextBuffer())
        buffer->SetReadOnly(readOnly);
}

void CZOVView::SetLineTimer(bool on)
{
    if (on)
        lineTimer_.start();
    else
        lineTimer_.stop();
}

void CZOVView::Paused(int line)
{
    services_.panes->Paused(line);
    emit RunPaused(line);
}

void CZOVView::EngineEnded(int exitCode)
{
    services_.panes->EngineEnded(exitCode);
    // The driver closes the run after telling the end: the signal waits until it has.
    QMetaObject::invokeMethod(
        this, [this, exitCode] { emit RunEnded(exitCode); }, Qt::QueuedConnection);
}

// ---- The main window's handle ----

ScriptViewAdapter::ScriptViewAdapter(shell::ScriptDocument& document, ScriptViewServices services)
    : view_(new CZOVView(document, std::move(services)))
{}

ScriptViewAdapter::~ScriptViewAdapter()
{
    delete view_.data();
}

void ScriptViewAdapter::PullTextFromBuffer()
{
    if (view_)
        view_->PullTextFromBuffer();
}

bool ScriptViewAdapter::IsRunning() const
{
    return view_ && view_->IsRunning();
}

void ScriptViewAdapter::Stop()
{
    if (view_)
        view_->StopScript();
}

bool ScriptViewAdapter::StartCampaignRun(execution::RunRecord& record, bool verify, shell::RunTicket ticket)
{
    if (!view_ || view_->IsRunning())
        return false;
    view_->SetRunRecord(&record);
    if (runHost_)
        runHost_->SetTicket(ticket);
    if (verify)
        view_->VerifyScript();
    else
        view_->RunScript();
    if (view_->IsRunning())
        return true;
    // Refused (no interface, no engine): nothing will quote the ticket.
    if (runHost_ && runHost_->Ticket() == ticket)
        runHost_->SetTicket(std::nullopt);
    return false;
}

void ScriptViewAdapter::SendSync(int value)
{
    if (view_)
        view_->SendSync(value);
}

void ScriptViewAdapter::RefreshMacroFolding()
{
    if (view_)
        view_->RefreshMacroFolding();
}

void ScriptViewAdapter::SetShowExecution(bool show)
{
    if (view_)
        view_->SetShowExecution(show);
}

QString ScriptViewAdapter::WordAtCaret()
{
    return view_ ? view_->SelectWordAtCaret() : QString();
}

bool ScriptViewAdapter::CaretCommand(int id)
{
    return view_ && view_->RunCaretCommand(id);
}

bool ScriptViewAdapter::HasFocus() const
{
    return view_ && view_->hasFocus();
}

bool ScriptViewAdapter::Copy()
{
    return view_ && view_->Copy();
}

bool ScriptViewAdapter::Paste()
{
    return view_ && view_->Paste();
}

bool ScriptViewAdapter::HasSelection() const
{
    return view_ && view_->IsSelection();
}

shell::IScriptView::Position ScriptViewAdapter::CaretPosition() const
{
    return view_ ? view_->CaretPosition() : Position{};
}

bool ScriptViewAdapter::Overwrite() const
{
    return view_ && view_->GetOverwriteMode();
}

}  // namespace zov::scriptview
