#pragma once
// The view of every script window: the editor over the document's buffer, coloured by the kind
// of its document, and one run of its script at a time through the engine driver. The view is
// the driver's sink for what belongs to the window (line marks, title, read-only state, line
// timer); the panes' part goes on to the panes given in its services.

#include "ide/editor/EditorView.h"
#include "ide/editor/model/LineColouring.h"
#include "ide/editor/model/MacroFolding.h"
#include "ide/execution/model/EngineDriver.h"
#include "ide/execution/model/ExecutionSeams.h"
#include "ide/scriptview/ScriptViewSeams.h"
#include "ide/shell/FrameSeams.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Translate.h"

#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace zov::interfaces {
class InterfaceSet;
struct SyntaxLanguage;
}  // namespace zov::interfaces

namespace zov::shell {
class ScriptDocument;
}

namespace zov::scriptview {

// Document kinds: what the view colours its background by and which context menu it shows.
enum DocumentKind : int { Kind_Script = 1, Kind_MacroBody = 2, Kind_Result = 3, Kind_OtherLanguage = 4 };

// The background of a kind as a Windows colour value (0x00BBGGRR); nullopt for the system
// window colour (kind 1) and for kinds that keep their colours.
std::optional<int> KindBackground(int kind);

// Commands of the view.
namespace view_commands {
inline constexpr int kRun = 32826;
inline constexpr int kVerify = 32917;
inline constexpr int kNextLine = 32848;
inline constexpr int kStop = 32827;
inline constexpr int kBreak = 32874;
inline constexpr int kFreeze = 32883;
inline constexpr int kEditConstantOrMacro = 32815;
inline constexpr int kCreateMacro = 32833;
inline constexpr int kAddVariable = 32879;
inline constexpr int kAddData = 38600;
inline constexpr int kDeleteData = 38601;
inline constexpr int kClearErrors = 38700;
}  // namespace view_commands

// What the view needs from the window around it. Null pointers get quiet stand-ins: no
// interface (a run is refused with its message), panes that only give back the trace texts.
struct ScriptViewServices {
    execution::RunHost* host = nullptr;
    execution::RunInterfaces* interfaces = nullptr;
    execution::RunSinks* panes = nullptr;  // trace, errors, variables, runs
    // When given, each fresh run gets its panes from here, made with the script's path (they
    // take the place of `panes`).
    std::function<std::unique_ptr<execution::RunSinks>(const std::string& scriptPath)> makePanes;
    shell::Prompter* prompter = nullptr;  // the active prompter when null
    shell::Translate translate;
    // EditClr0-EditClr8, ShowLineNumber and FontSize, when given.
    const shell::Settings* settings = nullptr;
    // The interface set's names: macro calls are coloured and folded by them.
    const interfaces::InterfaceSet* names = nullptr;
    editor::MacroExpander expandMacro;
    // The syntax language of a name, for the kind a loaded document takes; none when null.
    std::function<const interfaces::SyntaxLanguage*(const std::string& name)> findLanguage;
    // Commands the main frame handles for the view (constant or macro edit, macro creation,
    // data and error pane commands, "Ajouter une variable...").
    std::function<void(int command)> forwardCommand;
};

class CZOVView : public editor::CEditorView, private execution::RunSinks {
    Q_OBJECT
public:
    CZOVView(shell::ScriptDocument& document, ScriptViewServices services, QWidget* parent = nullptr);
    ~CZOVView() override;

    shell::ScriptDocument& Document() { return document_; }
    execution::EngineDriver& Driver() { return *driver_; }

    // ---- Kind and colouring ----
    void SetDocumentKind(int kind, const interfaces::SyntaxLanguage* language);
    int GetDocumentKind() const { return kind_; }
    const interfaces::SyntaxLanguage* GetSyntaxLanguage() const { return language_; }

    // ---- Runs ----
    // The project's test this view runs, or none for a script run alone.
    void SetRunRecord(execution::RunRecord* record) { record_ = record; }
    execution::RunRecord* GetRunRecord() const { return record_; }
    // F5: continue when paused, else save and start; Shift+F5 a verification.
    void RunScript();
    void VerifyScript();
    void NextLine();
    void StopScript();
    void BreakScript();
    void ToggleFreeze();
    bool IsFrozen() const { return frozen_; }
    bool HasBreakpoints() const;
    // 1-based, ascending.
    std::vector<int> Breakpoints() const;
    // Where a fresh run reads the script: a copy in the temporary folder when macros are
    // unfolded (the document's own file never holds a body).
    std::string RunPath() const;

    // A command of the view (ids of view_commands, cut, copy, paste, breakpoint, bookmark);
    // false when the view does not handle it or it is disabled.
    bool ExecuteCommand(int id);
    // The enabling and check mark of a view command; nullopt for other ids.
    std::optional<bool> IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const { return id == view_commands::kFreeze && frozen_; }

    // The context menu of the document's kind, enabled as it would open now.
    std::unique_ptr<QMenu> BuildContextMenu();

    // ---- What the main window asks of a document's view ----
    void PullTextFromBuffer();
    bool IsRunning() const;
    void SendSync(int value);
    void RefreshMacroFolding();
    // The host's settings already hold the new ShowExecution.
    void SetShowExecution(bool show);
    // The caret to column 0 of a line (1-based) that takes a mark of one line at a time
    // (LineFlag_Error, LineFlag_Execution) away from any other line, scrolled into view. While
    // the view runs, its execution mark stays where the engine put it.
    void MarkLine(int line, std::uint32_t flag);
    bool Paste();
    shell::IScriptView::Position CaretPosition() const;

signals:
    // The engine stopped at a line (1-based) and waits.
    void RunPaused(int line);
    // The engine ended and the run is finished.
    void RunEnded(int exitCode);
    void RunningChanged(bool running);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Takes one kind of line mark off every line.
    void ClearLineMark(std::uint32_t flag);

    // ---- RunSinks: the window's part ----
    std::string Trace(execution::TraceCategory category, int runNumber, int line, std::string_view text) override;
    void AddError(std::string_view text, execution::RunRecord* record) override;
    void ClearErrors() override;
    void UpdateVariable(const std::string& name, const std::string& value, int kind,
                        execution::RunRecord* record) override;
    void AddRun(execution::RunRecord& record) override;
    void UpdateRun(execution::RunRecord& record, bool verify) override;
    void SetExecutionLine(int line) override;
    void ClearExecutionLine() override;
    void ToggleWarningLine(int line) override;
    void ClearWarningLines() override;
    void ClearErrorLine() override;
    void ShowLine(int line) override;
    void SetRunning(bool running) override;
    void SetReadOnly(bool readOnly) override;
    void SetLineTimer(bool on) override;
    void Paused(int line) override;
    void EngineEnded(int exitCode) override;

    bool PathIsScript() const;
    // Saves the document (macros folded in its file) and returns where the run reads the script.
    std::string PrepareRunFile();
    void SaveDocumentFolded();
    bool IsMacroOrConstantAtCaret();

    shell::ScriptDocument& document_;
    ScriptViewServices services_;
    std::unique_ptr<execution::RunHost> ownHost_;
    std::unique_ptr<execution::RunInterfaces> ownInterfaces_;
    std::unique_ptr<execution::RunSinks> ownPanes_;
    std::unique_ptr<execution::RunSinks> runPanes_;
    std::unique_ptr<editor::MacroCallMarks> macroMarks_;
    std::unique_ptr<execution::EngineDriver> driver_;
    QTimer lineTimer_;
    execution::RunRecord* record_ = nullptr;
    int kind_ = Kind_Script;
    const interfaces::SyntaxLanguage* language_ = nullptr;
    bool frozen_ = false;
};

// A document's view as the main window holds it. The window owns the widget (its sub-window
// deletes it first when the window goes); the document owns this, which deletes the widget only
// when nothing else did.
class ScriptViewAdapter final : public shell::IScriptView {
public:
    ScriptViewAdapter(shell::ScriptDocument& document, ScriptViewServices services);
    ~ScriptViewAdapter() override;
    ScriptViewAdapter(const ScriptViewAdapter&) = delete;
    ScriptViewAdapter& operator=(const ScriptViewAdapter&) = delete;

    // Null once the window deleted the widget.
    CZOVView* View() const { return view_.data(); }
    // The view's own run host (its services' host), kept as long as the view.
    void SetRunHost(std::unique_ptr<ViewRunHost> host) { runHost_ = std::move(host); }

    QWidget& Widget() override { return *view_; }
    void PushTextToBuffer() override {}
    void PullTextFromBuffer() override;
    bool IsRunning() const override;
    void Stop() override;
    void SendSync(int value) override;
    void RefreshMacroFolding() override;
    void SetShowExecution(bool show) override;
    QString WordAtCaret() override;
    bool CaretCommand(int id) override;
    bool HasFocus() const override;
    bool Copy() override;
    bool Paste() override;
    bool HasSelection() const override;
    Position CaretPosition() const override;
    bool Overwrite() const override;
    void UpdateCommandStates() override
    {
        if (view_)
            view_->UpdateCommandStates();
    }
    bool StartCampaignRun(execution::RunRecord& record, bool verify, shell::RunTicket ticket) override;
    bool HasBreakpoints() const override { return view_ && view_->HasBreakpoints(); }

private:
    // Declared first: the view's driver uses it until the view is gone.
    std::unique_ptr<ViewRunHost> runHost_;
    QPointer<CZOVView> view_;
};

}  // namespace zov::scriptview
