#include "ide/shell/MainFrame.h"

#include "common/AtomicFile.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/FrameStandIns.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/shell/gui/FrameTestSupport.h"

#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;
using namespace command_ids;

// Records every prompt and answers from a queue (an empty queue escapes, as a batch run does).
class QueuePrompter final : public test::RecordedShellPrompter {};

class KeyExplorer final : public IExplorerBar {
public:
    QWidget& Widget() override { return widget; }
    bool LoadProject(const std::string& path) override { return project.LoadProjectFile(path, ActivePrompter()); }
    void CloseProject() override {}
    void RefreshInterfaceLists() override {}
    void SetViewAllInterfaces(bool all) override { viewAll = all; }
    int SelectedItemKind() const override { return -1; }
    std::vector<std::string> ScriptPaths() const override { return {}; }
    void FillTrees() override { ++fills; }
    void ForwardKey(int key, bool pressed) override { keys.emplace_back(key, pressed); }
    project::ProjectModel& Project() override { return project; }

    QWidget widget;
    project::ProjectModel project;
    std::vector<std::pair<int, bool>> keys;
    bool viewAll = true;
    int fills = 0;
};

class MainFrameTest : public test::FrameTestBase<QueuePrompter> {
protected:
    MainFrameTest() : FrameTestBase("main_frame") {}
    MainFrame& Frame()
    {
        FrameParts parts;
        parts.makeExplorer = [this](MainFrame&) {
            auto explorer = std::make_unique<KeyExplorer>();
            explorer_ = explorer.get();
            return explorer;
        };
        parts.openUrl = [this](const QUrl& url) { opened_.push_back(url.toLocalFile().toStdString()); };
        frame_ = std::make_unique<MainFrame>(*application_, std::move(parts));
        frame_->show();
        return *frame_;
    }
    static QPlainTextEdit& Editor(ScriptDocument& document)
    {
        return *qobject_cast<QPlainTextEdit*>(&document.View()->Widget());
    }

    KeyExplorer* explorer_ = nullptr;
    std::vector<std::string> opened_;
};

TEST_F(MainFrameTest, WindowParts)
{
    MainFrame& frame = Frame();
    EXPECT_EQ(frame.windowTitle(), "ZOV");
    auto* explorer = frame.findChild<QDockWidget*>("c16385");
    auto* output = frame.findChild<QDockWidget*>("c16386");
    ASSERT_TRUE(explorer && output);
    EXPECT_EQ(explorer->windowTitle(), "Projet");
    EXPECT_EQ(output->windowTitle(), "Sortie");
    EXPECT_EQ(frame.dockWidgetArea(explorer), Qt::LeftDockWidgetArea);
    EXPECT_EQ(frame.dockWidgetArea(output), Qt::BottomDockWidgetArea);
    const auto bars = frame.findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 2);
    for (QToolBar* bar : bars)
        EXPECT_EQ(bar->windowTitle(), "Barre d'outils");
    auto* combo = frame.findChild<QComboBox*>("c32896");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->width(), 150);
    EXPECT_FALSE(combo->isEditable());
    // The status panes, in order after the message.
    QStringList panes;
    for (QLabel* label : frame.statusBar()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (label->objectName().startsWith('c'))
            panes << label->objectName();
    }
    EXPECT_EQ(panes, QStringList({"c37903", "c37900", "c37902", "c59140", "c37901"}));
    EXPECT_EQ(frame.statusBar()->currentMessage(), QString::fromUtf8("Prêt"));
}

TEST_F(MainFrameTest, MenusFromTheTable)
{
    MainFrame& frame = Frame();
    for (const MenuRow& row : MainMenuRows()) {
        if (row.kind != MenuRowKind::Command)
            continue;
        QAction* action = frame.findChild<QAction*>(CommandName(row.id));
        ASSERT_NE(action, nullptr) << row.id;
        EXPECT_EQ(CommandId(*action), row.id);
    }
    EXPECT_EQ(frame.Command(kRunScript)->shortcut(), QKeySequence("F5"));
    EXPECT_EQ(frame.Command(kAddItem)->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(frame.Command(kModifyItem)->text(), "&Modifier...");
    EXPECT_TRUE(frame.Command(kModifyItem)->shortcut().isEmpty());
    EXPECT_EQ(frame.Command(kToggleBookmark)->statusTip(), QString::fromUtf8("Met ou enlève un signet"));
    EXPECT_EQ(frame.Command(kToggleBookmark)->toolTip(), QString::fromUtf8("Met/Enlève un signet"));
    QMenu* file = frame.menuBar()->actions().at(0)->menu();
    ASSERT_NE(file, nullptr);
    const auto items = file->actions();
    ASSERT_GT(items.size(), 11);
    for (int position : {10, 11}) {
        QMenu* recent = items.at(position)->menu();
        ASSERT_NE(recent, nullptr) << position;
        ASSERT_EQ(recent->actions().size(), 1);
        EXPECT_EQ(recent->actions().at(0)->text(), "< Aucun >");
        EXPECT_FALSE(recent->actions().at(0)->isEnabled());
    }
    // Without a project the project commands are greyed; a command nobody handles is too.
    EXPECT_FALSE(frame.Command(kInsertInterfaces)->isEnabled());
    EXPECT_FALSE(frame.Command(kSelectVersion)->isEnabled());
    EXPECT_FALSE(frame.Command(kRunScript)->isEnabled());
    EXPECT_TRUE(frame.Command(kFileOpen)->isEnabled());
    EXPECT_TRUE(frame.Command(kViewAllInterfaces)->isChecked());
    frame.Command(kViewAllInterfaces)->trigger();
    EXPECT_FALSE(frame.Command(kViewAllInterfaces)->isChecked());
    EXPECT_FALSE(explorer_->viewAll);
    frame.AddCommandHandler(kRunScript, [] {});
    EXPECT_TRUE(frame.Command(kRunScript)->isEnabled());
}

TEST_F(MainFrameTest, OpenEditSaveKeepsLineEndsAndText)
{
    MainFrame& frame = Frame();
    const std::string dos = Write("dos.qzs", "Print \"é\"\r\n\tWait 10\r\nEnd\r\n");
    const std::string unix = Write("unix.qzs", "a\nb\n");
    ScriptDocument* first = frame.OpenDocument(dos);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Title(), "dos.qzs");
    EXPECT_EQ(frame.StatusPane(37902)->text(), "DOS");
    QPlainTextEdit& editor = Editor(*first);
    QTextCursor cursor = editor.textCursor();
    cursor.movePosition(QTextCursor::End);
    editor.setTextCursor(cursor);
    QTest::keyClicks(&editor, "X");
    EXPECT_EQ(first->Title(), "*dos.qzs");
    ASSERT_TRUE(frame.SaveDocument(*first));
    EXPECT_EQ(first->Title(), "dos.qzs");
    EXPECT_EQ(ReadWholeFile(dos).value_or(""), "Print \"\xC3\xA9\"\r\n\tWait 10\r\nEnd\r\nX");

    ScriptDocument* second = frame.OpenDocument(unix);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(frame.StatusPane(37902)->text(), "UNIX");
    Editor(*second).appendPlainText("c");
    ASSERT_TRUE(frame.SaveDocument(*second));
    EXPECT_EQ(ReadWholeFile(unix).value_or(""), "a\nb\n\nc");
    // Opening an open file brings its window forward.
    EXPECT_EQ(frame.OpenDocument(dos), first);
    EXPECT_EQ(frame.Documents().size(), 2u);
    EXPECT_TRUE(prompter_->record.Prompts().empty());
    EXPECT_EQ(frame.windowTitle(), "Zovatron");
}

TEST_F(MainFrameTest, AFailedSaveSaysSoAndKeepsTheText)
{
    MainFrame& frame = Frame();
    const std::string path = Write("gone/a.qzs", "old\r\n");
    ScriptDocument* document = frame.OpenDocument(path);
    ASSERT_NE(document, nullptr);
    Editor(*document).setPlainText("new text");
    fs::remove_all(root_ / "work" / "gone");
    EXPECT_FALSE(frame.SaveDocument(*document));
    ASSERT_EQ(prompter_->record.Texts().size(), 1u);
    EXPECT_EQ(prompter_->record.Texts()[0], "Impossible d'enregistrer le fichier:\n" + path);
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->Title(), "*a.qzs");
    EXPECT_EQ(Editor(*document).toPlainText(), "new text");
    // Closing it asks; Annuler keeps it open.
    prompter_->record.Queue(PromptAnswer::Cancel);
    EXPECT_FALSE(frame.CloseDocument(*document, true));
    EXPECT_EQ(frame.Documents().size(), 1u);
}

TEST_F(MainFrameTest, FilesThatOpenNoWindow)
{
    MainFrame& frame = Frame();
    const std::string other = Write("notes.txt.bak", "x");
    EXPECT_EQ(frame.OpenDocument(other), nullptr);
    EXPECT_EQ(frame.OpenDocument((root_ / "work" / "missing.qzs").string()), nullptr);
    EXPECT_TRUE(frame.Documents().empty());
    ASSERT_EQ(prompter_->record.Texts().size(), 2u);
    EXPECT_EQ(prompter_->record.Texts()[0], "Impossible de charger le fichier:\n" + other);
}

TEST_F(MainFrameTest, InterfaceSetFromTheProgramFolder)
{
    const auto put = [this](const std::string& name, std::string_view bytes) {
        ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / name, bytes));
    };
    put("zov.stx", "[qzs]\n#type=script\n#comment=;\nwait\n");
    put("other.stx", "[abc]\n#type=Texte ABC\nbegin\n");
    put("Default.qzi", ";Liste des constantes\nCONST TIMEOUT : 30\n");
    FrameParts parts;
    parts.makeInterfaces = [this](MainFrame&) { return std::make_unique<FrameInterfaceSet>(*application_); };
    frame_ = std::make_unique<MainFrame>(*application_, std::move(parts));
    MainFrame& frame = *frame_;

    // The default interface of the settings is the main interface from the start.
    interfaces::InterfaceSet* set = frame.Interfaces().Model();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->MainPath(), (root_ / "prog" / "Default.qzi").string());
    ASSERT_NE(set->All().constants.Find("TIMEOUT"), nullptr);

    // The open prompt offers each syntax language, zov.stx first; its files open as documents.
    const std::string abc = Write("notes.abc", "begin\n");
    prompter_->record.Queue(PromptAnswer::Ok, abc);
    frame.Command(kFileOpen)->trigger();
    ASSERT_EQ(prompter_->requests.size(), 1u);
    EXPECT_EQ(prompter_->requests[0].title, "Charger");
    EXPECT_EQ(prompter_->requests[0].filter, "Fichiers script (*.qzs)|*.qzs|Fichiers Texte ABC (*.abc)|*.abc|");
    ASSERT_EQ(frame.Documents().size(), 1u);
    EXPECT_EQ(frame.Documents()[0]->Path(), abc);
    // An extension no language names opens nothing.
    EXPECT_EQ(frame.OpenDocument(Write("notes.xyz", "x")), nullptr);
    EXPECT_EQ(frame.Documents().size(), 1u);
}

TEST_F(MainFrameTest, CaretKeysMoveTheTracePaneWithoutSelecting)
{
    MainFrame& frame = Frame();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.activateWindow();
    auto* trace = qobject_cast<QPlainTextEdit*>(frame.Output().TracePane());
    ASSERT_NE(trace, nullptr);
    trace->setPlainText(QStringLiteral("first line\nsecond"));
    frame.Output().ShowTab(0);
    trace->setFocus();
    // Each command's key, pressed in the pane: the pane gets the plain key.
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int position;
    };
    const Step steps[] = {
        {Qt::Key_End, Qt::ShiftModifier, 10},   {Qt::Key_Left, Qt::ShiftModifier, 9},
        {Qt::Key_Down, Qt::ShiftModifier, 17},  {Qt::Key_Home, Qt::ShiftModifier, 11},
        {Qt::Key_Up, Qt::ShiftModifier, 0},     {Qt::Key_Right, Qt::ShiftModifier, 1},
        {Qt::Key_End, Qt::ControlModifier, 10}, {Qt::Key_Home, Qt::ControlModifier, 0},
    };
    for (const Step& step : steps) {
        QTest::keyClick(trace, step.key, step.modifiers);
        EXPECT_EQ(trace->textCursor().position(), step.position) << step.key;
        EXPECT_FALSE(trace->textCursor().hasSelection()) << step.key;
    }
    // The commands themselves, as the menus would run them.
    frame.Command(37124)->trigger();
    EXPECT_EQ(trace->textCursor().position(), 10);
    // Without the focus, the pane is left alone.
    frame.Explorer().Widget().setFocus();
    frame.Command(37120)->trigger();
    EXPECT_EQ(trace->textCursor().position(), 10);
}

TEST_F(MainFrameTest, CloseAllAsksForEachModifiedDocument)
{
    MainFrame& frame = Frame();
    std::vector<std::string> paths;
    for (const char* name : {"a.qzs", "b.qzs", "c.qzs"}) {
        paths.push_back(Write(name, "1\r\n"));
        ScriptDocument* document = frame.OpenDocument(paths.back());
        ASSERT_NE(document, nullptr);
        Editor(*document).setPlainText(QString::fromLatin1(name));
    }
    prompter_->record.Queue(PromptAnswer::Yes);
    prompter_->record.Queue(PromptAnswer::No);
    prompter_->record.Queue(PromptAnswer::Yes);
    frame.Command(kCloseAll)->trigger();
    EXPECT_TRUE(frame.Documents().empty());
    EXPECT_EQ(prompter_->record.Texts(),
              (std::vector<std::string>{"Enregistrer les modifications apportées à a.qzs ?",
                                        "Enregistrer les modifications apportées à b.qzs ?",
                                        "Enregistrer les modifications apportées à c.qzs ?"}));
    EXPECT_EQ(ReadWholeFile(paths[0]).value_or(""), "a.qzs");
    EXPECT_EQ(ReadWholeFile(paths[1]).value_or(""), "1\r\n");
    EXPECT_EQ(ReadWholeFile(paths[2]).value_or(""), "c.qzs");
}

TEST_F(MainFrameTest, CloseOthersKeepsTheActiveDocument)
{
    MainFrame& frame = Frame();
    frame.OpenDocument(Write("a.qzs", "1\r\n"));
    ScriptDocument* active = frame.OpenDocument(Write("b.qzs", "1\r\n"));
    frame.Command(kCloseOthers)->trigger();
    ASSERT_EQ(frame.Documents().size(), 1u);
    EXPECT_EQ(frame.Documents()[0], active);
}

TEST_F(MainFrameTest, ClosingWithoutProjectWritesNothing)
{
    MainFrame& frame = Frame();
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(fs::exists(root_ / "prog" / "ZOV.ini"));
    EXPECT_TRUE(prompter_->record.Prompts().empty());
}

TEST_F(MainFrameTest, ProjectVersionsInProjectOrderAndTheCloseQuestion)
{
    project::ProjectModel model;
    model.InterfacePath = (root_ / "work" / "p.qzi").string();
    Write("p.qzi", ";\r\n");
    for (const char* name : {"V1.9", "V1.10", "V0.1"}) {
        auto version = std::make_unique<project::CVersion>();
        version->Name = name;
        version->Info = "i";
        model.Versions.push_back(std::move(version));
    }
    const std::string project = (root_ / "work" / "p.qzp").string();
    ASSERT_TRUE(model.SaveProjectFile(project));
    MainFrame& frame = Frame();
    frame.SetProjectToOpen(project);
    frame.PostOpenPendingProject();
    frame.PostOpenPendingProject();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.ProjectPath(), project);
    auto* combo = frame.findChild<QComboBox*>("c32896");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(0), "V1.9 - i");
    EXPECT_EQ(combo->itemText(1), "V1.10 - i");
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(frame.VersionIndex(), 2);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(frame.VersionIndex(), 1);
    // Enabled by the project rule once a handler is there.
    frame.AddCommandHandler(kInsertInterfaces, [] {});
    EXPECT_TRUE(frame.Command(kInsertInterfaces)->isEnabled());

    prompter_->record.Queue(PromptAnswer::Cancel);
    EXPECT_FALSE(frame.close());
    EXPECT_FALSE(fs::exists(root_ / "prog" / "ZOV.ini"));
    prompter_->record.Queue(PromptAnswer::No);
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(prompter_->record.Texts(),
              (std::vector<std::string>{"Enregistrer les modifications apportées au projet ?",
                                        "Enregistrer les modifications apportées au projet ?"}));
    const Settings& settings = application_->GetSettings();
    EXPECT_EQ(settings.GetString(SettingId::LastProject), project);
    EXPECT_EQ(settings.GetString(SettingId::MruProject1), project);
    EXPECT_EQ(settings.GetInt(SettingId::Maximize), 0);
    EXPECT_TRUE(fs::exists(root_ / "prog" / "ZOV.layout"));
}

TEST_F(MainFrameTest, HelpAndContainingFolder)
{
    MainFrame& frame = Frame();
    fs::create_directories(root_ / "prog" / "ZOV");
    std::ofstream(root_ / "prog" / "ZOV" / "k_Wait.html") << "x";
    frame.Command(kHelp)->trigger();
    frame.Command(kOpenContainingFolder)->trigger();
    ScriptDocument* document = frame.OpenDocument(Write("h.qzs", "Wait 10\r\n"));
    ASSERT_NE(document, nullptr);
    frame.Command(kHelp)->trigger();
    frame.Command(kOpenContainingFolder)->trigger();
    EXPECT_EQ(opened_,
              (std::vector<std::string>{(root_ / "prog" / "ZOV" / "index.html").string(),
                                        (root_ / "prog" / "ZOV" / "k_Wait.html").string(), (root_ / "work").string()}));
}

TEST_F(MainFrameTest, EscapeAndCtrlReachTheExplorer)
{
    MainFrame& frame = Frame();
    ScriptDocument* document = frame.OpenDocument(Write("k.qzs", "x\r\n"));
    ASSERT_NE(document, nullptr);
    QWidget& editor = document->View()->Widget();
    editor.setFocus();
    QApplication::setActiveWindow(&frame);
    QTest::keyPress(&editor, Qt::Key_Control);
    QTest::keyRelease(&editor, Qt::Key_Control);
    QTest::keyClick(&editor, Qt::Key_A);
    if (QApplication::focusWidget() != &editor)
        GTEST_SKIP() << "no focus on this platform";
    QTest::keyPress(&editor, Qt::Key_Escape);
    EXPECT_EQ(explorer_->keys, (std::vector<std::pair<int, bool>>{
                                   {Qt::Key_Control, true}, {Qt::Key_Control, false}, {Qt::Key_Escape, true}}));
}

TEST_F(MainFrameTest, NewDocumentAndMacroDocumentRules)
{
    MainFrame& frame = Frame();
    frame.Command(kFileNew)->trigger();
    ScriptDocument* document = frame.ActiveDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->Title(), "Nouveau");
    frame.UpdateCommands();
    EXPECT_FALSE(frame.Command(kFileSave)->isEnabled());
    EXPECT_TRUE(frame.Command(kFileSaveAs)->isEnabled());
    // A macro body's file goes with its document.
    fs::create_directories(root_ / "tmpmacro");
    const std::string macro = (root_ / "tmpmacro" / "Init.qzm").string();
    ASSERT_TRUE(WriteFileAtomically(macro, "Wait 1\r\n"));
    ScriptDocument* body = frame.OpenDocument(macro);
    ASSERT_NE(body, nullptr);
    frame.UpdateCommands();
    EXPECT_TRUE(frame.Command(kFileSave)->isEnabled());
    EXPECT_FALSE(frame.Command(kFileSaveAs)->isEnabled());
    EXPECT_TRUE(frame.CloseDocument(*body, true));
    EXPECT_FALSE(fs::exists(macro));
}

TEST_F(MainFrameTest, StartupTasksOnTimerOne)
{
    FrameParts parts;
    std::vector<bool> tips;
    int batches = 0;
    parts.tipOfTheDay = [&tips](QWidget&, bool atStartup) { tips.push_back(atStartup); };
    parts.startBatch = [&batches] { ++batches; };
    KeyExplorer* seen = nullptr;
    parts.makeExplorer = [&seen](MainFrame&) {
        auto explorer = std::make_unique<KeyExplorer>();
        seen = explorer.get();
        return explorer;
    };
    MainFrame frame(*application_, std::move(parts));
    EXPECT_EQ(frame.windowTitle(), "ZOV");
    frame.RunStartupTasks();
    EXPECT_EQ(frame.windowTitle(), "Zovatron");
    EXPECT_EQ(tips, std::vector<bool>{true});
    EXPECT_EQ(seen->fills, 1);
    EXPECT_EQ(batches, 0);
    // Shift+F1 shows the tips at any time.
    frame.Command(kTipOfTheDay)->trigger();
    EXPECT_EQ(tips, (std::vector<bool>{true, false}));
    // A batch run starts instead of the dialogs.
    frame.SetBatchMode(true);
    frame.RunStartupTasks();
    EXPECT_EQ(batches, 1);
    EXPECT_EQ(seen->fills, 1);
}

// The output dock starts at a quarter of the window, unless the saved layout gives its height.
TEST_F(MainFrameTest, OutputDockTakesAQuarterUnlessTheLayoutSaysOtherwise)
{
    // The size of the window first shown counts, as when it opens maximised.
    const auto open = [this] {
        frame_ = std::make_unique<MainFrame>(*application_, FrameParts{});
        frame_->resize(1400, 950);
        frame_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
        return frame_->findChild<QDockWidget*>("c16386");
    };
    QDockWidget* dock = open();
    EXPECT_NEAR(dock->height(), 950 / 4, 12);

    const int saved = dock->height() + 60;
    frame_->resizeDocks({dock}, {saved}, Qt::Vertical);
    ASSERT_TRUE(QTest::qWaitFor([dock, saved] { return dock->height() == saved; }, 2000)) << dock->height();
    const QByteArray state = frame_->saveState();
    ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "ZOV.layout",
                                    std::string_view(state.constData(), static_cast<std::size_t>(state.size()))));
    frame_.reset();
    dock = open();
    EXPECT_NEAR(dock->height(), saved, 2);
}

}  // namespace
}  // namespace zov::shell
