#include "ide/shell/MainFrame.h"

#include "common/AtomicFile.h"
#include "common/PathUtils.h"
#include "common/gui/FormatLabel.h"
#include "common/MessageText.h"
#include "ide/shell/FrameStandIns.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/TranslateWidgets.h"
#include "ide/shell/core/HelpTopic.h"
#include "ide/shell/core/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <cstdio>

namespace zov::shell {
namespace {

using namespace command_ids;

constexpr int kExplorerBarId = 16385;
constexpr int kOutputBarId = 16386;
constexpr int kFileToolBarId = 128;
constexpr int kRunToolBarId = 129;
constexpr int kAboutDialogId = 100;
constexpr const char* kLayoutFile = "ZOV.layout";

std::filesystem::path LayoutPath(const Settings& settings)
{
    return settings.Path().parent_path() / kLayoutFile;
}

// The program's icon, drawn: no picture file to miss.
QIcon ProgramIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x1f, 0x5f, 0xa8));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("Z"));
    return QIcon(pixmap);
}

class AboutDialog final : public ThemedDialogBase {
public:
    AboutDialog(QWidget* parent, const ApplicationCore& application) : ThemedDialogBase(parent)
    {
        setObjectName(ControlName(kAboutDialogId));
        setWindowTitle(QStringLiteral("A propos de ZOV"));
        auto* layout = new QVBoxLayout(this);
        auto* icon = new QLabel;
        icon->setPixmap(ProgramIcon().pixmap(32, 32));
        layout->addWidget(icon);
        auto* caption = new CFormatLabel;
        caption->setObjectName(ControlName(1266));
        caption->SetText(("#BZ.O.V. " + application.TranslateText("Version") + " " + application.VersionText()));
        layout->addWidget(caption);
        auto* author = new QLabel(QString::fromStdString(application.TranslateText("Auteur :") + " ZOV"));
        layout->addWidget(author);
        const QString link = QString::fromUtf8(LoadStringResource(string_ids::kAboutLink));
        auto* hyperlink = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(link.toHtmlEscaped()));
        hyperlink->setObjectName(ControlName(1267));
        hyperlink->setOpenExternalLinks(true);
        layout->addWidget(hyperlink);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
        buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons);
    }
};

}  // namespace

MainFrame::MainFrame(ApplicationCore& application, FrameParts parts, QWidget* parent)
    : QMainWindow(parent), application_(application), parts_(std::move(parts))
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(ProgramIcon());
    const Translate translate = application_.Translator();
    if (parts_.makeInterfaces)
        interfaces_ = parts_.makeInterfaces(*this);
    if (!interfaces_)
        interfaces_ = std::make_unique<StandInInterfaceSet>();
    if (parts_.makeExplorer)
        explorer_ = parts_.makeExplorer(*this);
    if (!explorer_)
        explorer_ = std::make_unique<StandInExplorer>(translate);
    if (parts_.makeOutput)
        output_ = parts_.makeOutput(*this);
    if (!output_)
        output_ = std::make_unique<StandInOutputBar>(translate);
    output_->SetFrameCommand([this](int id) { RunCommand(id); });
    if (!parts_.openUrl)
        parts_.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    values_ = ReadFrameSettings(application_.GetSettings());

    area_ = new QMdiArea;
    area_->setViewMode(QMdiArea::TabbedView);
    area_->setDocumentMode(true);
    area_->setTabsClosable(true);
    area_->setTabsMovable(true);
    area_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(area_);
    connect(area_, &QMdiArea::subWindowActivated, this, [this] {
        UpdateStatusPanes();
        UpdateCommands();
    });

    BuildMenus();
    BuildToolBars();
    BuildDocks();
    BuildStatusBar();
    project_ = new FrameProject(*this);
    project_->SetReportWriter(parts_.writeReport);
    InstallHandlers();
    if (QWidget* trace = output_->TracePane()) {
        for (const CaretKey& key : CaretKeys())
            trace->addAction(Command(key.id));
    }

    setWindowTitle(QStringLiteral("ZOV"));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect space = screen->availableGeometry();
        resize(space.width() * 4 / 5, space.height() * 4 / 5);
        move(space.center() - rect().center());
    }
    const auto layout = ReadWholeFile(LayoutPath(application_.GetSettings()));
    sizeOutputDockOnShow_ =
        !layout || !restoreState(QByteArray(layout->data(), static_cast<qsizetype>(layout->size())));
    ApplyTheme(values_.theme);

    QTimer::singleShot(1000, this, &MainFrame::RunStartupTasks);

    FillRecentMenus();
    const ApplicationSettings& app = application_.Values();
    const std::string interfaceFolder =
        MakeAbsolutePath(application_.GetProgramFolder().string(), app.defaultInterfacePath);
    interfaces_->Load(std::filesystem::path(interfaceFolder) / app.defaultInterface);
    explorer_->RefreshInterfaceLists();
    explorer_->SetViewAllInterfaces(values_.viewAllInterfaces != 0);

    setAcceptDrops(true);
    qApp->installEventFilter(this);
    UpdateCommands();
}

MainFrame::~MainFrame()
{
    qApp->removeEventFilter(this);
    // Runs that end while their windows go report to no one.
    runEvents_ = nullptr;
    // The windows go before the documents and their views.
    for (QMdiSubWindow* window : area_->subWindowList())
        delete window;
    documents_.clear();
}

QString MainFrame::Tr(std::string_view text) const
{
    return QString::fromStdString(application_.TranslateText(text));
}

// ---- Building ----

QMenu* MainFrame::BuildMenu(QMenu* into, std::span<const MenuRow>& rows)
{
    while (!rows.empty()) {
        const MenuRow row = rows.front();
        rows = rows.subspan(1);
        switch (row.kind) {
        case MenuRowKind::End:
            return into;
        case MenuRowKind::Separator:
            into->addSeparator();
            break;
        case MenuRowKind::Popup: {
            QMenu* popup = into->addMenu(QString::fromUtf8(row.text.data(), static_cast<qsizetype>(row.text.size())));
            connect(popup, &QMenu::aboutToShow, this, &MainFrame::UpdateCommands);
            if (row.text == "Scripts récents")
                recentFilesMenu_ = popup;
            else if (row.text == "Projets récents")
                recentProjectsMenu_ = popup;
            BuildMenu(popup, rows);
            break;
        }
        case MenuRowKind::Command: {
            QAction* action = Command(row.id);
            if (action == nullptr) {
                const std::string_view key = MenuTextKey(row.text);
                action = MakeCommand(this, row.id, QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
                const std::string_view keys = AcceleratorOf(row.id);
                if (!keys.empty())
                    action->setShortcut(
                        QKeySequence(QString::fromLatin1(keys.data(), static_cast<qsizetype>(keys.size()))));
                const CommandPrompt prompt = PromptOf(row.id);
                action->setStatusTip(Tr(prompt.status));
                action->setToolTip(prompt.tooltip.empty() ? action->text().remove(QLatin1Char('&'))
                                                          : Tr(prompt.tooltip));
                connect(action, &QAction::triggered, this, [this, id = row.id] { RunCommand(id); });
                actions_[row.id] = action;
                addAction(action);
            }
            into->addAction(action);
            break;
        }
        }
    }
    return into;
}

void MainFrame::BuildMenus()
{
    std::span<const MenuRow> rows = MainMenuRows();
    while (!rows.empty()) {
        const MenuRow row = rows.front();
        rows = rows.subspan(1);
        if (row.kind != MenuRowKind::Popup)
            continue;
        QMenu* popup = menuBar()->addMenu(QString::fromUtf8(row.text.data(), static_cast<qsizetype>(row.text.size())));
        connect(popup, &QMenu::aboutToShow, this, &MainFrame::UpdateCommands);
        if (row.text == "&Edition") {
            connect(popup, &QMenu::aboutToShow, this, [this] {
                if (IScriptView* view = GetActiveScriptView())
                    view->UpdateCommandStates();
            });
        }
        BuildMenu(popup, rows);
    }
    // Keys of commands that no menu shows.
    for (const Accelerator& accelerator : MainAccelerators()) {
        if (Command(accelerator.id) != nullptr)
            continue;
        QAction* action = MakeCommand(this, accelerator.id, QString());
        action->setShortcut(QKeySequence(
            QString::fromLatin1(accelerator.keys.data(), static_cast<qsizetype>(accelerator.keys.size()))));
        connect(action, &QAction::triggered, this, [this, id = accelerator.id] { RunCommand(id); });
        actions_[accelerator.id] = action;
        addAction(action);
    }
    // The caret keys belong to the script views and the trace pane only (each view adds them when
    // it opens): the trees, lists and fields of the window keep Home, End and the arrows.
    for (const CaretKey& key : CaretKeys()) {
        QAction* action = MakeCommand(this, key.id, QString());
        action->setShortcut(
            QKeySequence(QString::fromLatin1(key.keys.data(), static_cast<qsizetype>(key.keys.size()))));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, id = key.id] { OnCaretCommand(id); });
        actions_[key.id] = action;
        handlers_[key.id] = [this, id = key.id] { OnCaretCommand(id); };
    }
    std::span<const MenuRow> tabRows = TabMenuRows().subspan(1);
    tabMenu_ = new QMenu(this);
    BuildMenu(tabMenu_, tabRows);
    if (application_.Language() != nullptr) {
        TranslateMenu(*menuBar(), application_.Translator());
        TranslateMenu(*tabMenu_, application_.Translator());
    }
}

void MainFrame::BuildToolBars()
{
    QStyle* look = style();
    const auto add = [this](QToolBar* bar, int id, QIcon icon) {
        if (QAction* action = Command(id)) {
            if (action->icon().isNull())
                action->setIcon(icon);
            bar->addAction(action);
        }
    };
    fileBar_ = new QToolBar(Tr("Barre d'outils"), this);
    fileBar_->setObjectName(ControlName(kFileToolBarId));
    add(fileBar_, kFileNew, look->standardIcon(QStyle::SP_FileIcon));
    add(fileBar_, kFileOpen, look->standardIcon(QStyle::SP_DialogOpenButton));
    add(fileBar_, kFileSave, look->standardIcon(QStyle::SP_DialogSaveButton));
    add(fileBar_, kSaveAll, look->standardIcon(QStyle::SP_DriveFDIcon));
    fileBar_->addSeparator();
    add(fileBar_, kFindInScripts, look->standardIcon(QStyle::SP_FileDialogContentsView));
    add(fileBar_, kHelp, look->standardIcon(QStyle::SP_DialogHelpButton));
    addToolBar(Qt::TopToolBarArea, fileBar_);

    runBar_ = new QToolBar(Tr("Barre d'outils"), this);
    runBar_->setObjectName(ControlName(kRunToolBarId));
    add(runBar_, kRunScript, look->standardIcon(QStyle::SP_MediaPlay));
    add(runBar_, kVerifyScript, look->standardIcon(QStyle::SP_DialogApplyButton));
    add(runBar_, kStopScript, look->standardIcon(QStyle::SP_MediaStop));
    add(runBar_, kNextLine, look->standardIcon(QStyle::SP_MediaSkipForward));
    runBar_->addSeparator();
    add(runBar_, kRunCampaign, look->standardIcon(QStyle::SP_MediaSeekForward));
    runBar_->addSeparator();
    versionCombo_ = new QComboBox;
    SetControlId(*versionCombo_, kVersionCombo);
    versionCombo_->setFixedWidth(150);
    versionCombo_->setEditable(false);
    versionCombo_->setToolTip(Tr("Version"));
    connect(versionCombo_, &QComboBox::activated, this, [this](int index) { SetVersionIndex(index); });
    runBar_->addWidget(versionCombo_);
    addToolBar(Qt::TopToolBarArea, runBar_);
}

void MainFrame::BuildDocks()
{
    explorerDock_ = new QDockWidget(Tr("Projet"), this);
    explorerDock_->setObjectName(ControlName(kExplorerBarId));
    explorerDock_->setWidget(&explorer_->Widget());
    explorerDock_->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::LeftDockWidgetArea, explorerDock_);
    resizeDocks({explorerDock_}, {240}, Qt::Horizontal);

    outputDock_ = new QDockWidget(Tr("Sortie"), this);
    outputDock_->setObjectName(ControlName(kOutputBarId));
    outputDock_->setWidget(&output_->Widget());
    outputDock_->setAllowedAreas(Qt::AllDockWidgetAreas);
    addDockWidget(Qt::BottomDockWidgetArea, outputDock_);
}

void MainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // A quarter of the window as it is first shown (maximised or not): some twelve trace lines
    // at the usual sizes.
    if (std::exchange(sizeOutputDockOnShow_, false))
        resizeDocks({outputDock_}, {std::max(kOutputDockMinimum, height() / 4)}, Qt::Vertical);
}

void MainFrame::BuildStatusBar()
{
    idlePrompt_ = QString::fromStdString(LoadTranslatedString(string_ids::kIdleMessage, application_.Language()));
    QStatusBar* bar = statusBar();
    const auto pane = [this, bar](int id, const QString& widest) {
        auto* label = new QLabel;
        label->setObjectName(ControlName(id));
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(widest) + 12);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
        panes_[id] = label;
    };
    pane(pane_ids::kLineColumn, QStringLiteral("Ln 99999, Col 999"));
    pane(pane_ids::kPane37900, QStringLiteral("XXXX"));
    pane(pane_ids::kLineEnds, QStringLiteral("UNIX"));
    pane(pane_ids::kOverwrite, QStringLiteral("OVR"));
    pane(pane_ids::kReadOnly, Tr("Lecture"));
    connect(bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty() && !idlePrompt_.isEmpty())
            statusBar()->showMessage(idlePrompt_);
    });
    bar->showMessage(idlePrompt_);
    UpdateStatusPanes();
}

void MainFrame::InstallHandlers()
{
    const auto on = [this](int id, std::function<void()> handler) { handlers_[id] = std::move(handler); };
    on(kFileNew, [this] { NewDocument(); });
    on(kFileOpen, [this] { OnDocumentOpenCommand(); });
    on(kFileClose, [this] {
        if (ScriptDocument* document = ActiveDocument())
            CloseDocument(*document, true);
    });
    on(kFileSave, [this] {
        if (ScriptDocument* document = ActiveDocument())
            SaveDocument(*document);
    });
    on(kFileSaveAs, [this] {
        if (ScriptDocument* document = ActiveDocument())
            SaveDocumentAs(*document);
    });
    on(kSaveAll, [this] { SaveAll(); });
    on(kCloseAll, [this] { CloseAll(false); });
    on(kCloseOthers, [this] { CloseAll(true); });
    on(kAppExit, [this] { close(); });
    on(kAppAbout, [this] { ShowAbout(); });
    on(kHelp, [this] { ShowHelp(); });
    on(kOpenContainingFolder, [this] { OpenContainingFolder(); });
    on(kEditCopy, [this] { OnCopy(); });
    on(kEditPaste, [this] { OnPaste(); });
    on(kViewExplorer, [this] { explorerDock_->setVisible(!explorerDock_->isVisible()); });
    on(kViewOutput, [this] { outputDock_->setVisible(!outputDock_->isVisible()); });
    on(kViewToolbars, [this] {
        const bool show = !(fileBar_->isVisible() && runBar_->isVisible());
        fileBar_->setVisible(show);
        runBar_->setVisible(show);
    });
    on(kViewStatusBar, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    on(kViewAllInterfaces, [this] {
        values_.viewAllInterfaces = values_.viewAllInterfaces != 0 ? 0 : 1;
        explorer_->SetViewAllInterfaces(values_.viewAllInterfaces != 0);
    });
    on(kRecordResults, [this] { recordResults_ = !recordResults_; });
    on(kLiveVariables, [this] { liveVariables_ = !liveVariables_; });
    on(kShowExecutionLine, [this] {
        values_.showExecution = values_.showExecution != 0 ? 0 : 1;
        for (ScriptDocument* document : Documents()) {
            if (document->View() != nullptr)
                document->View()->SetShowExecution(values_.showExecution != 0);
        }
    });
    on(kTipOfTheDay, [this] {
        if (parts_.tipOfTheDay)
            parts_.tipOfTheDay(*this, false);
    });
    on(command_ids::kPreferences, [this] {
        if (parts_.preferences)
            parts_.preferences(*this);
    });
    for (int i = 0; i < command_ids::kRecentCount; ++i) {
        on(kRecentFile0 + i, [this, i] { OpenRecentFile(i); });
        on(kRecentProject0 + i, [this, i] { OpenRecentProject(i); });
    }
    project_->InstallCommands();
}

void MainFrame::AddCommandHandler(int id, std::function<void()> handler, std::function<bool()> enabled)
{
    handlers_[id] = std::move(handler);
    if (enabled)
        enablers_[id] = std::move(enabled);
    else
        enablers_.erase(id);
    UpdateCommands();
}

QAction* MainFrame::Command(int id) const
{
    const auto found = actions_.find(id);
    if (found != actions_.end())
        return found->second;
    // The buttons of the output bar that the frame handles are its commands too.
    return output_ != nullptr ? output_->Command(id) : nullptr;
}

void MainFrame::RunCommand(int id)
{
    const auto found = handlers_.find(id);
    if (found == handlers_.end())
        return;
    const auto handler = found->second;
    handler();
    UpdateCommands();
}

FrameState MainFrame::CurrentState() const
{
    FrameState state;
    state.projectOpen = !ProjectPath().empty();
    state.campaignRunning = runEvents_ != nullptr && runEvents_->CampaignRunning();
    state.selectedItemKind = explorer_->SelectedItemKind();
    state.viewAllInterfaces = values_.viewAllInterfaces != 0;
    state.recordResults = recordResults_;
    state.liveVariables = liveVariables_;
    state.showExecution = values_.showExecution != 0;
    state.explorerVisible = explorerDock_->isVisibleTo(this) || explorerDock_->isVisible();
    state.outputVisible = outputDock_->isVisibleTo(this) || outputDock_->isVisible();
    state.toolbarsVisible = !fileBar_->isHidden() && !runBar_->isHidden();
    state.statusBarVisible = !statusBar()->isHidden();
    state.documentCount = static_cast<int>(documents_.size());
    if (ScriptDocument* document = ActiveDocument()) {
        state.hasDocument = true;
        state.documentPath = document->Path();
        state.hasScriptView = document->View() != nullptr;
        state.scriptRunning = document->View() != nullptr && document->View()->IsRunning();
    }
    return state;
}

void MainFrame::UpdateCommands()
{
    if (explorerDock_ == nullptr || runBar_ == nullptr)
        return;
    const FrameState state = CurrentState();
    for (const auto& [id, action] : actions_) {
        const auto enabler = enablers_.find(id);
        const bool handled = handlers_.count(id) != 0 && (enabler == enablers_.end() || enabler->second());
        if (const auto rule = FrameCommandState(id, state)) {
            action->setEnabled(handled && rule->enabled);
            action->setCheckable(rule->checkable);
            if (rule->checkable)
                action->setChecked(rule->checked);
        } else {
            action->setEnabled(handled);
        }
    }
    UpdateEditCommands();
    // An empty recent list shows "< Aucun >", which opens nothing.
    if (values_.recentFiles.Entries().empty())
        Command(kRecentFile0)->setEnabled(false);
    if (values_.recentProjects.Entries().empty())
        Command(kRecentProject0)->setEnabled(false);
}

void MainFrame::UpdateEditCommands()
{
    IScriptView* view = GetActiveScriptView();
    QWidget* trace = output_->TracePane();
    const bool traceSelection = trace != nullptr && trace->hasFocus() &&
                                qobject_cast<QPlainTextEdit*>(trace) != nullptr &&
                                qobject_cast<QPlainTextEdit*>(trace)->textCursor().hasSelection();
    if (QAction* copy = Command(kEditCopy))
        copy->setEnabled((view != nullptr && view->HasSelection()) || traceSelection);
    if (QAction* paste = Command(kEditPaste))
        paste->setEnabled(view != nullptr);
}

// ---- Status bar ----

void MainFrame::SetStatusText(const QString& text)
{
    statusBar()->showMessage(text.isEmpty() ? idlePrompt_ : text);
}

QLabel* MainFrame::StatusPane(int id) const
{
    const auto found = panes_.find(id);
    return found == panes_.end() ? nullptr : found->second;
}

void MainFrame::UpdateStatusPanes()
{
    ScriptDocument* document = ActiveDocument();
    IScriptView* view = document != nullptr ? document->View() : nullptr;
    if (view == nullptr) {
        for (auto& [id, label] : panes_)
            label->clear();
        return;
    }
    const IScriptView::Position position = view->CaretPosition();
    // The pattern keeps its "%d" markers for the language table; the numbers fill them in order.
    QString text = QString::fromStdString(application_.TranslateText("Ln %d, Col %d"));
    const int first = text.indexOf(QLatin1String("%d"));
    if (first >= 0)
        text.replace(first, 2, QString::number(position.line + 1));
    const int second = text.indexOf(QLatin1String("%d"));
    if (second >= 0)
        text.replace(second, 2, QString::number(position.column + 1));
    panes_[pane_ids::kLineColumn]->setText(text);
    panes_[pane_ids::kPane37900]->clear();
    panes_[pane_ids::kLineEnds]->setText(editor::LineEndModeLabel(document->Buffer().GetLineEndMode()));
    panes_[pane_ids::kOverwrite]->setText(view->Overwrite() ? QStringLiteral("OVR") : QString());
    panes_[pane_ids::kReadOnly]->setText(document->Buffer().IsReadOnly() ? Tr("Lecture") : QString());
}

void MainFrame::UpdateWindowTitle()
{
    setWindowTitle(QStringLiteral("Zovatron"));
}

// ---- Documents ----

ScriptDocument* MainFrame::DocumentOf(QMdiSubWindow* window) const
{
    for (const auto& document : documents_) {
        if (document->Window() == window)
            return document.get();
    }
    return nullptr;
}

ScriptDocument* MainFrame::ActiveDocument() const
{
    QMdiSubWindow* window = area_->activeSubWindow();
    if (window == nullptr && !area_->subWindowList().isEmpty())
        window = area_->currentSubWindow();
    return window != nullptr ? DocumentOf(window) : nullptr;
}

IScriptView* MainFrame::GetActiveScriptView() const
{
    ScriptDocument* document = ActiveDocument();
    return document != nullptr ? document->View() : nullptr;
}

std::vector<ScriptDocument*> MainFrame::Documents() const
{
    std::vector<ScriptDocument*> all;
    for (const auto& document : documents_)
        all.push_back(document.get());
    return all;
}

ScriptDocument* MainFrame::FindDocumentByPath(const std::string& path) const
{
    for (const auto& document : documents_) {
        if (!document->Path().empty() && document->Path() == path)
            return document.get();
    }
    return nullptr;
}

void MainFrame::ShowLoadError(const std::string& path)
{
    ActivePrompter().Tell(FillMessage(application_.TranslateText("Impossible de charger le fichier:\n%s"), path),
                          PromptIcon::Warning);
}

static std::unique_ptr<IScriptView> MakeView(const FrameParts& parts, ScriptDocument& document, MainFrame& frame)
{
    std::unique_ptr<IScriptView> view;
    if (parts.makeView)
        view = parts.makeView(document, frame);
    if (!view)
        view = std::make_unique<PlainScriptView>(document);
    return view;
}

ScriptDocument* MainFrame::NewDocument()
{
    auto document =
        std::make_unique<ScriptDocument>(Tr("Nouveau"), application_.Values().fontSize, application_.Translator());
    document->AttachView(MakeView(parts_, *document, *this));
    ScriptDocument* raw = document.get();
    documents_.push_back(std::move(document));
    QWidget& widget = raw->View()->Widget();
    QMdiSubWindow* window = area_->addSubWindow(&widget);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->setWindowTitle(raw->Title());
    window->setWindowIcon(QIcon());
    raw->SetWindow(window);
    connect(raw, &ScriptDocument::TitleChanged, this, [this, window](const QString& title) {
        window->setWindowTitle(title);
        UpdateWindowTitle();
        emit DocumentTitleChanged();
    });
    connect(raw, &ScriptDocument::ViewStateChanged, this, [this, raw] {
        if (raw == ActiveDocument()) {
            UpdateStatusPanes();
            UpdateEditCommands();
        }
    });
    // The caret keys act while the view (or the trace pane) has the focus, never elsewhere.
    for (const CaretKey& key : CaretKeys())
        widget.addAction(Command(key.id));
    window->showMaximized();
    area_->setActiveSubWindow(window);
    widget.setFocus();
    UpdateWindowTitle();
    UpdateStatusPanes();
    UpdateCommands();
    return raw;
}

ScriptDocument* MainFrame::OpenDocument(const std::string& given)
{
    const std::string path = MakeAbsolutePath(std::filesystem::current_path().string(), given);
    const DocumentType type =
        DocumentTypeOf(path, [this](std::string_view name) { return interfaces_->HasSyntaxLanguage(name); });
    if (type.kind == DocumentKind::Project) {
        SetProjectToOpen(path);
        PostOpenPendingProject();
        return nullptr;
    }
    if (type.kind == DocumentKind::None) {
        ShowLoadError(path);
        return nullptr;
    }
    if (ScriptDocument* open = FindDocumentByPath(path)) {
        area_->setActiveSubWindow(open->Window());
        return open;
    }
    // Loaded before any window exists, so that a failure leaves none behind.
    auto loaded =
        std::make_unique<ScriptDocument>(Tr("Nouveau"), application_.Values().fontSize, application_.Translator());
    if (!loaded->Load(path, type)) {
        ShowLoadError(path);
        return nullptr;
    }
    ScriptDocument* document = NewDocument();
    if (!document->Load(path, type)) {
        CloseDocument(*document, false);
        ShowLoadError(path);
        return nullptr;
    }
    values_.recentFiles.Add(path);
    FillRecentMenus();
    UpdateStatusPanes();
    UpdateCommands();
    return document;
}

bool MainFrame::SaveDocument(ScriptDocument& document)
{
    if (document.Path().empty())
        return SaveDocumentAs(document);
    if (!document.SaveTo(document.Path())) {
        ActivePrompter().Tell(
            FillMessage(application_.TranslateText("Impossible d'enregistrer le fichier:\n%s"), document.Path()),
            PromptIcon::Warning);
        return false;
    }
    emit DocumentSaved(&document);
    if (document.Type().kind == DocumentKind::Macro)
        RefreshAllViews();
    return true;
}

bool MainFrame::SaveDocumentAs(ScriptDocument& document)
{
    if (!CanSaveDocumentAs(document.Path()))
        return false;
    FileRequest request;
    request.title = application_.TranslateText("Enregistrer sous");
    request.filter = application_.TranslateText("Fichiers script ZOV (*.qzs)") + "|*.qzs|";
    request.initialPath =
        document.Path().empty() ? TitleWithModified(document.Title().toStdString(), false) + ".qzs" : document.Path();
    const auto path = ActivePrompter().SaveFile(request);
    if (!path)
        return false;
    if (!document.SaveTo(*path)) {
        ActivePrompter().Tell(
            FillMessage(application_.TranslateText("Impossible d'enregistrer le fichier:\n%s"), *path),
            PromptIcon::Warning);
        return false;
    }
    emit DocumentSaved(&document);
    values_.recentFiles.Add(*path);
    FillRecentMenus();
    return true;
}

bool MainFrame::CloseDocument(ScriptDocument& document, bool askToSave)
{
    if (document.View() != nullptr && document.View()->IsRunning())
        return false;
    if (askToSave && document.IsModified()) {
        const std::string name = TitleWithModified(document.Title().toStdString(), false);
        const PromptAnswer answer = ActivePrompter().Ask(
            FillMessage(application_.TranslateText("Enregistrer les modifications apportées à %s ?"), name),
            PromptIcon::Question, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel)
            return false;
        if (answer == PromptAnswer::Yes && !SaveDocument(document))
            return false;
    }
    const std::string path = document.Path();
    QMdiSubWindow* window = document.Window();
    const bool wasClosing = closing_;
    closing_ = true;
    if (window != nullptr) {
        area_->removeSubWindow(window);
        delete window;
    }
    closing_ = wasClosing;
    std::erase_if(documents_, [&document](const auto& held) { return held.get() == &document; });
    if (IsMacroDocument(path)) {
        std::error_code error;
        std::filesystem::remove(path, error);
    }
    emit DocumentClosed(QString::fromStdString(path));
    UpdateStatusPanes();
    UpdateCommands();
    return true;
}

void MainFrame::SaveAll()
{
    bool macro = false;
    for (ScriptDocument* document : Documents()) {
        if (!document->IsModified())
            continue;
        if (SaveDocument(*document) && document->Type().kind == DocumentKind::Macro)
            macro = true;
    }
    if (macro)
        RefreshAllViews();
}

void MainFrame::CloseAll(bool keepActive)
{
    ScriptDocument* active = ActiveDocument();
    for (ScriptDocument* document : Documents()) {
        if (keepActive && document == active)
            continue;
        if (document->IsModified()) {
            const std::string name = TitleWithModified(document->Title().toStdString(), false);
            const PromptAnswer answer = ActivePrompter().Ask(
                FillMessage(application_.TranslateText("Enregistrer les modifications apportées à %s ?"), name),
                PromptIcon::Question, PromptButtons::YesNo);
            // A text whose save failed stays open rather than being lost.
            if (answer == PromptAnswer::Yes && !SaveDocument(*document))
                continue;
        }
        CloseDocument(*document, false);
    }
}

void MainFrame::RefreshAllViews()
{
    for (ScriptDocument* document : Documents()) {
        if (document->View() != nullptr)
            document->View()->RefreshMacroFolding();
    }
}

void MainFrame::ApplyViewSettings()
{
    for (ScriptDocument* document : Documents()) {
        if (document->View() != nullptr)
            document->View()->ApplyDisplaySettings(application_.GetSettings(), values_.showLineNumber != 0);
    }
}

void MainFrame::OnDocumentOpenCommand()
{
    FileRequest request;
    request.title = application_.TranslateText("Charger");
    for (const auto& [type, name] : interfaces_->SyntaxLanguages())
        request.filter += application_.TranslateText("Fichiers") + " " + type + " (*." + name + ")|*." + name + "|";
    if (const auto path = ActivePrompter().OpenFile(request))
        OpenDocument(*path);
}

void MainFrame::OnCopy()
{
    IScriptView* view = GetActiveScriptView();
    QWidget* trace = output_->TracePane();
    if (trace != nullptr && trace->hasFocus()) {
        if (auto* edit = qobject_cast<QPlainTextEdit*>(trace))
            edit->copy();
        return;
    }
    if (view != nullptr)
        view->Copy();
}

void MainFrame::OnPaste()
{
    if (IScriptView* view = GetActiveScriptView())
        view->Paste();
}

void MainFrame::OnCaretCommand(int id)
{
    IScriptView* view = GetActiveScriptView();
    if (view != nullptr && view->HasFocus()) {
        view->CaretCommand(id);
        return;
    }
    QWidget* trace = output_->TracePane();
    if (trace == nullptr || !trace->hasFocus())
        return;
    const CaretKey* caret = FindCaretKey(id);
    if (caret == nullptr)
        return;
    const QKeyCombination key =
        QKeySequence(QString::fromLatin1(caret->traceKey.data(), static_cast<qsizetype>(caret->traceKey.size())))[0];
    QKeyEvent press(QEvent::KeyPress, key.key(), Qt::NoModifier);
    // The pane claims the key before the caret shortcuts see it again (see eventFilter).
    const QPointer<QWidget> wasSending = std::exchange(sendingCaretKeyTo_, trace);
    QApplication::sendEvent(trace, &press);
    sendingCaretKeyTo_ = wasSending;
}

// ---- Recent lists and projects ----

void MainFrame::FillRecentMenus()
{
    const auto fill = [this](QMenu* menu, const RecentList& list, int firstId) {
        if (menu == nullptr)
            return;
        for (QAction* action : menu->actions())
            menu->removeAction(action);
        for (int i = 0; i < command_ids::kRecentCount; ++i) {
            QAction* action = Command(firstId + i);
            if (action == nullptr) {
                action = MakeCommand(this, firstId + i, QString());
                connect(action, &QAction::triggered, this, [this, id = firstId + i] { RunCommand(id); });
                actions_[firstId + i] = action;
            }
            if (i < static_cast<int>(list.Entries().size())) {
                QString text = QString::fromStdString(list.Entries()[i]);
                action->setText(text.replace(QLatin1Char('&'), QLatin1String("&&")));
                menu->addAction(action);
            } else if (i == 0) {
                action->setText(
                    QString::fromUtf8(kEmptyRecentList.data(), static_cast<qsizetype>(kEmptyRecentList.size())));
                menu->addAction(action);
            }
        }
    };
    fill(recentFilesMenu_, values_.recentFiles, kRecentFile0);
    fill(recentProjectsMenu_, values_.recentProjects, kRecentProject0);
}

void MainFrame::OpenRecentFile(int index)
{
    if (index < static_cast<int>(values_.recentFiles.Entries().size()))
        OpenDocument(values_.recentFiles.Entries()[index]);
}

void MainFrame::OpenRecentProject(int index)
{
    if (index < static_cast<int>(values_.recentProjects.Entries().size()))
        OpenProject(values_.recentProjects.Entries()[index]);
}

void MainFrame::PostOpenPendingProject()
{
    // Two posts in a row open the project once: the first takes the path.
    QMetaObject::invokeMethod(
        this,
        [this] {
            const std::string path = std::exchange(projectToOpen_, std::string());
            if (!path.empty())
                OpenProject(path);
        },
        Qt::QueuedConnection);
}

bool MainFrame::OpenProject(const std::string& path)
{
    project_->Commands().OpenProjectAndRemember(path);
    UpdateCommands();
    return !ProjectPath().empty() && ProjectPath() == path;
}

void MainFrame::AddRecentProject(const std::string& path)
{
    values_.recentProjects.Add(path);
    FillRecentMenus();
}

void MainFrame::FillVersionCombo()
{
    versionCombo_->clear();
    for (const auto& version : explorer_->Project().Versions)
        versionCombo_->addItem(QString::fromStdString(version->Name + " - " + version->Info));
    versionCombo_->setCurrentIndex(versionIndex_ < versionCombo_->count() ? versionIndex_ : -1);
}

void MainFrame::SetVersionIndex(int index)
{
    versionIndex_ = index;
    project_->Commands().SetVersionIndex(index);
    if (versionCombo_->currentIndex() != index && index < versionCombo_->count())
        versionCombo_->setCurrentIndex(index);
}

// ---- Start-up, help, tray ----

void MainFrame::OpenStartupFile(const std::string& path)
{
    OpenDocument(path);
}

void MainFrame::RunStartupTasks()
{
    UpdateWindowTitle();
    if (batchMode_) {
        if (parts_.startBatch)
            parts_.startBatch();
        return;
    }
    if (parts_.tipOfTheDay)
        parts_.tipOfTheDay(*this, true);
    explorer_->FillTrees();
    FillVersionCombo();
}

void MainFrame::ShowHelp()
{
    std::string word;
    if (IScriptView* view = GetActiveScriptView())
        word = view->WordAtCaret().toStdString();
    const std::filesystem::path page = HelpPage(application_.GetProgramFolder(), application_.HelpFile(), word);
    parts_.openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())));
}

void MainFrame::OpenContainingFolder()
{
    ScriptDocument* document = ActiveDocument();
    if (document == nullptr || document->View() == nullptr)
        return;
    const std::string_view folder = ContainingFolder(document->Path());
    if (folder.empty())
        return;
    parts_.openUrl(QUrl::fromLocalFile(QString::fromStdString(std::string(folder))));
}

void MainFrame::SetTrayIconShown(bool shown)
{
    if (!shown) {
        delete tray_;
        tray_ = nullptr;
        return;
    }
    if (tray_ != nullptr)
        return;
    tray_ = new QSystemTrayIcon(ProgramIcon(), this);
    tray_->setToolTip(QStringLiteral("ZOV"));
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            ToggleTrayHidden();
    });
    tray_->show();
}

void MainFrame::ToggleTrayHidden()
{
    hiddenInTray_ = !hiddenInTray_;
    if (hiddenInTray_) {
        // Without a notification area the window could not come back: minimised instead.
        if (QSystemTrayIcon::isSystemTrayAvailable())
            hide();
        else
            showMinimized();
    } else {
        showNormal();
        raise();
        activateWindow();
    }
}

void MainFrame::ShowAbout()
{
    AboutDialog dialog(this, application_);
    ActivePrompter().Exec(dialog);
}

void MainFrame::ApplyTheme(int theme)
{
    static const QString platformStyle = QApplication::style()->name();
    // A style asked for on the command line or in the environment wins over the setting.
    if (qEnvironmentVariableIsSet("QT_STYLE_OVERRIDE") || qApp->property("zovStyleGiven").toBool())
        return;
    if (theme == kThemeFusion) {
        if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
            QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    } else if (QApplication::style()->name() != platformStyle) {
        QApplication::setStyle(QStyleFactory::create(platformStyle));
    }
}

// ---- Events ----

bool MainFrame::ConfirmClose()
{
    if (!batchMode_ && !ProjectPath().empty()) {
        const PromptAnswer answer =
            ActivePrompter().Ask(application_.TranslateText("Enregistrer les modifications apportées au projet ?"),
                                 PromptIcon::Question, PromptButtons::YesNoCancel);
        if (answer == PromptAnswer::Cancel)
            return false;
        const Settings& settings = application_.GetSettings();
        WriteFrameCloseSettings(settings, values_, ProjectPath(), isMaximized());
        const QByteArray layout = saveState();
        WriteFileAtomically(LayoutPath(settings),
                            std::string_view(layout.constData(), static_cast<std::size_t>(layout.size())));
        SaveAll();
        if (answer == PromptAnswer::Yes) {
            interfaces_->Save();
            RunCommand(kSaveProject);
        }
    }
    // A batch run ends without a question; otherwise each modified text is asked about.
    if (!batchMode_) {
        for (ScriptDocument* document : Documents()) {
            if (!CloseDocument(*document, true))
                return false;
        }
    }
    return true;
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    closing_ = true;
    SetTrayIconShown(false);
    event->accept();
    emit Closed();
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event)
{
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            OpenStartupFile(url.toLocalFile().toStdString());
    }
    event->acceptProposedAction();
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && sendingCaretKeyTo_ != nullptr && watched == sendingCaretKeyTo_) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::Close && !closing_) {
        if (auto* window = qobject_cast<QMdiSubWindow*>(watched)) {
            if (ScriptDocument* document = DocumentOf(window)) {
                event->ignore();
                QMetaObject::invokeMethod(
                    this,
                    [this, window] {
                        if (ScriptDocument* held = DocumentOf(window))
                            CloseDocument(*held, true);
                    },
                    Qt::QueuedConnection);
                (void)document;
                return true;
            }
        }
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Once per key: for the widget that receives it first (the focus), in this window.
        if (widget != nullptr && widget->window() == this &&
            (QApplication::focusWidget() == widget || (QApplication::focusWidget() == nullptr && widget == this))) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) {
                if (event->type() == QEvent::KeyPress &&
                    (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Control))
                    explorer_->ForwardKey(key->key(), true);
                else if (event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Control)
                    explorer_->ForwardKey(key->key(), false);
            }
        }
    }
    if (event->type() == QEvent::ContextMenu) {
        if (auto* tabs = qobject_cast<QTabBar*>(watched); tabs != nullptr && tabs->parent() == area_) {
            const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            const int index = tabs->tabAt(menuEvent->pos());
            if (index >= 0 && index < area_->subWindowList().size())
                area_->setActiveSubWindow(area_->subWindowList().at(index));
            UpdateCommands();
            tabMenu_->exec(menuEvent->globalPos());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace zov::shell
