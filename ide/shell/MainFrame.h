#pragma once
// The IDE's main window: the menus and keys of the command table, two toolbars with the version
// combo, the project explorer on the left and the output bar at the bottom, the documents as
// tabs, the status bar, and the window's own settings. Subsystems plug in through the seams of
// FrameSeams.h and through AddCommandHandler.

#include "ide/project/model/BatchFile.h"
#include "ide/shell/FrameProject.h"
#include "ide/shell/FrameSeams.h"
#include "ide/shell/ScriptDocument.h"
#include "ide/shell/core/ApplicationCore.h"
#include "ide/shell/core/CommandTable.h"
#include "ide/shell/core/FrameSettings.h"
#include "ide/shell/core/UserMessage.h"

#include <QMainWindow>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSystemTrayIcon;
class QToolBar;

namespace zov::shell {

class MainFrame;

// What the frame is built from. Each part is made by its factory, given the frame being built
// (it may keep the reference, but the frame's docks and menus do not exist yet): the interface
// set first, then the explorer and the output bar, which may ask the frame for the set. A part
// without a factory gets its stand-in (FrameStandIns.h).
struct FrameParts {
    std::function<std::unique_ptr<IInterfaceSet>(MainFrame&)> makeInterfaces;
    std::function<std::unique_ptr<IExplorerBar>(MainFrame&)> makeExplorer;
    std::function<std::unique_ptr<IOutputBar>(MainFrame&)> makeOutput;
    // The view of each document, made when its window opens; a plain text editor when not given.
    std::function<std::unique_ptr<IScriptView>(ScriptDocument&, MainFrame&)> makeView;
    // Commands that other parts of the IDE bring: the preferences sheet (F12), the tip of the
    // day (Shift+F1; `atStartup` shows it only when its show-at-start-up choice is set), the
    // batch run that timer 1 starts.
    std::function<void(QWidget& frame)> preferences;
    std::function<void(QWidget& frame, bool atStartup)> tipOfTheDay;
    std::function<void()> startBatch;
    // Writes a report of the open project ("Créer un rapport..."); nothing is written without it.
    ReportWriterCall writeReport;
    // Opens help pages and folders; the desktop's handler when not given.
    std::function<void(const QUrl&)> openUrl;
};

class MainFrame final : public QMainWindow {
    Q_OBJECT
public:
    MainFrame(ApplicationCore& application, FrameParts parts, QWidget* parent = nullptr);
    ~MainFrame() override;

    // ---- Seams offered to the rest of the IDE ----
    IExplorerBar& Explorer() { return *explorer_; }
    IOutputBar& Output() { return *output_; }
    IInterfaceSet& Interfaces() { return *interfaces_; }
    IScriptView* GetActiveScriptView() const;
    ScriptDocument* ActiveDocument() const;
    std::vector<ScriptDocument*> Documents() const;
    const Settings& GetSettings() const { return application_.GetSettings(); }
    FrameSettings& Values() { return values_; }
    std::string GetTempFolder() const { return application_.GetTempFolder(); }
    ApplicationCore& Application() { return application_; }
    int VersionIndex() const { return versionIndex_; }
    void SetVersionIndex(int index);
    bool BatchMode() const { return batchMode_; }
    void SetBatchMode(bool batch) { batchMode_ = batch; }
    const std::string& ProjectPath() const { return project_->ProjectPath(); }
    // The project, report, interface and batch commands, and the texts edited as documents.
    FrameProject& ProjectSide() { return *project_; }
    // "Enregistrer les résultats".
    bool RecordResults() const { return recordResults_; }
    // The batch file read at start-up, which the batch run goes through.
    project::Batch& BatchFile() { return batch_; }
    // What timer 1 starts in batch mode, in place of the part given at construction.
    void SetStartBatch(std::function<void()> start) { parts_.startBatch = std::move(start); }
    // Where the script views report their runs; null until a campaign runner is plugged.
    void SetRunEvents(IRunEvents* events) { runEvents_ = events; }
    IRunEvents* RunEvents() const { return runEvents_; }
    // Every script view's macro folding again (after an interface change).
    void RefreshAllViews();
    // Every script view's colours, font and line numbers again (after the preferences).
    void ApplyViewSettings();
    void SetStatusText(const QString& text);
    QLabel* StatusPane(int id) const;
    // A command that another part of the IDE handles; the menu item is enabled from then on, or
    // while `enabled` says so when given.
    void AddCommandHandler(int id, std::function<void()> handler, std::function<bool()> enabled = {});
    QAction* Command(int id) const;
    // The enabling and check marks of every command, as before a menu opens.
    void UpdateCommands();

    // ---- Documents ----
    // As the file-open command: a project file becomes the pending project, a file of no known
    // kind opens nothing. Null when no window was opened.
    ScriptDocument* OpenDocument(const std::string& path);
    ScriptDocument* NewDocument();
    bool SaveDocument(ScriptDocument& document);
    bool SaveDocumentAs(ScriptDocument& document);
    // False when the document stays (its run goes on, or the user cancelled).
    bool CloseDocument(ScriptDocument& document, bool askToSave);
    void SaveAll();
    void CloseAll(bool keepActive);

    // ---- Projects ----
    // The project path kept by the application, opened once through a queued call.
    void SetProjectToOpen(const std::string& path) { projectToOpen_ = path; }
    void PostOpenPendingProject();
    // As "Ouvrir...": a file that does not load leaves no project open. True when opened.
    bool OpenProject(const std::string& path);
    void FillVersionCombo();
    void AddRecentProject(const std::string& path);

    // ---- Start-up and help ----
    // What a file dropped on the window or named on the command line opens.
    void OpenStartupFile(const std::string& path);
    // Timer 1: the title, then the batch run or the start-up dialogs and trees.
    void RunStartupTasks();
    void ShowHelp();
    void OpenContainingFolder();
    void ToggleTrayHidden();
    void SetTrayIconShown(bool shown);
    bool HiddenInTray() const { return hiddenInTray_; }
    void ShowAbout();
    void ApplyTheme(int theme);

signals:
    void DocumentTitleChanged();
    // A document was written to its file; a document's window was closed (its path).
    void DocumentSaved(zov::shell::ScriptDocument* document);
    void DocumentClosed(const QString& path);
    // The window accepted its close: the program ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Without a saved layout, the output dock takes its height from the window first shown.
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    QMenu* BuildMenu(QMenu* into, std::span<const MenuRow>& rows);
    void BuildToolBars();
    void BuildDocks();
    void BuildStatusBar();
    void InstallHandlers();
    void RunCommand(int id);
    QString Tr(std::string_view text) const;
    void ShowLoadError(const std::string& path);
    void FillRecentMenus();
    void OpenRecentFile(int index);
    void OpenRecentProject(int index);
    void OnCopy();
    void OnPaste();
    void OnCaretCommand(int id);
    void OnDocumentOpenCommand();
    void UpdateStatusPanes();
    // Copy and paste follow the focus and the selection, not only the menus.
    void UpdateEditCommands();
    void UpdateWindowTitle();
    bool ConfirmClose();
    FrameState CurrentState() const;
    ScriptDocument* DocumentOf(QMdiSubWindow* window) const;
    ScriptDocument* FindDocumentByPath(const std::string& path) const;

    ApplicationCore& application_;
    FrameParts parts_;
    std::unique_ptr<IInterfaceSet> interfaces_;
    std::unique_ptr<IExplorerBar> explorer_;
    std::unique_ptr<IOutputBar> output_;
    FrameSettings values_;
    QMdiArea* area_ = nullptr;
    QDockWidget* explorerDock_ = nullptr;
    QDockWidget* outputDock_ = nullptr;
    QToolBar* fileBar_ = nullptr;
    QToolBar* runBar_ = nullptr;
    QComboBox* versionCombo_ = nullptr;
    QMenu* recentFilesMenu_ = nullptr;
    QMenu* recentProjectsMenu_ = nullptr;
    QMenu* tabMenu_ = nullptr;
    std::map<int, QLabel*> panes_;
    std::map<int, QAction*> actions_;
    std::map<int, std::function<void()>> handlers_;
    std::map<int, std::function<bool()>> enablers_;
    std::vector<std::unique_ptr<ScriptDocument>> documents_;
    project::Batch batch_;
    IRunEvents* runEvents_ = nullptr;
    QString idlePrompt_;
    QSystemTrayIcon* tray_ = nullptr;
    bool hiddenInTray_ = false;
    bool batchMode_ = false;
    bool recordResults_ = false;
    bool liveVariables_ = false;
    int versionIndex_ = -1;
    std::string projectToOpen_;
    FrameProject* project_ = nullptr;
    bool closing_ = false;
    bool sizeOutputDockOnShow_ = true;
    static constexpr int kOutputDockMinimum = 180;
    // The trace pane while a caret command sends it its key.
    QPointer<QWidget> sendingCaretKeyTo_;
};

}  // namespace zov::shell
