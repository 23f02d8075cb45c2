// The script view inside the main window: each document's view, its kind from the loaded file,
// and the window's run commands reaching the active view.
#include "ide/scriptview/ScriptViewParts.h"
#include "ide/scriptview/ZOVView.h"

#include "ide/execution/model/TypedValue.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/output/ListPanes.h"
#include "ide/output/OutputBar.h"
#include "ide/output/RunsPane.h"
#include "ide/output/VariablesPane.h"
#include "ide/shell/FindInScripts.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace zov::scriptview {
namespace {

namespace fs = std::filesystem;

class LoggedPrompter final : public shell::test::RecordedShellPrompter {
public:
    // Each dialog's name, in order; `onDialog` plays the user when set.
    int Exec(QDialog& dialog) override
    {
        dialogs.push_back(dialog.objectName().toStdString());
        return onDialog ? onDialog(dialog) : 0;
    }
    std::vector<std::string> dialogs;
    std::function<int(QDialog&)> onDialog;
};

class ScriptViewInFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        char pattern[] = "/tmp/zov-scriptview-frame-XXXXXX";
        root_ = ::mkdtemp(pattern);
        fs::create_directories(root_ / "prog");
        auto prompter = std::make_unique<LoggedPrompter>();
        prompter_ = prompter.get();
        shell::InstallPrompter(std::move(prompter));
        MakeFrame();
    }
    // The window again from scratch, reading the syntax files now in the program folder.
    void MakeFrame()
    {
        frame_.reset();
        application_ = std::make_unique<shell::ApplicationCore>(
            shell::ApplicationCore::Places{root_ / "prog", root_ / "prog" / "ZOV.ini", root_ / "tmp"});
        shell::ApplicationParts parts;
        parts.frameParts = [](shell::FrameParts& frameParts, shell::ApplicationCore& application) {
            frameParts.makeInterfaces = [&application](shell::MainFrame&) {
                return std::make_unique<shell::FrameInterfaceSet>(application);
            };
            PlugOutputBar(frameParts, application);
            PlugScriptViews(frameParts, application);
        };
        shell::FrameParts frameParts;
        parts.frameParts(frameParts, *application_);
        frame_ = std::make_unique<shell::MainFrame>(*application_, std::move(frameParts));
        frame_->show();
    }
    void TearDown() override
    {
        frame_.reset();
        application_.reset();
        shell::InstallPrompter(std::make_unique<LoggedPrompter>());
        fs::remove_all(root_);
    }

    CZOVView* ActiveView() const
    {
        auto* adapter = dynamic_cast<ScriptViewAdapter*>(frame_->GetActiveScriptView());
        return adapter != nullptr ? adapter->View() : nullptr;
    }
    output::OutputPaneBar& Bar() const { return dynamic_cast<output::OutputPaneBar&>(frame_->Output()); }
    // The 1-based line of a mark of one line at a time in the active view, 0 when none.
    int MarkedLine(std::uint32_t flag) const
    {
        return ActiveView()->GetTextBuffer()->FindUniqueFlagLine(flag) + 1;
    }
    // Loads the empty interface and takes the engine of the build.
    void UseRealEngine()
    {
        const fs::path interface = root_ / "vide.qzi";
        zov::test::WriteFile(interface, ";vide\n");
        ASSERT_TRUE(frame_->Interfaces().Load(interface));
        application_->Values().enginePath = ZOV_BIN_DIR;
    }
    // A project "Banc" in <root>/projet whose campaign "C", test set "E" holds test "T" of the
    // script "scripts/t.qzs" (relative to the project), opened in the window.
    std::string OpenProjectWithTest(const std::string& scriptText)
    {
        const fs::path folder = root_ / "projet";
        fs::create_directories(folder / "scripts");
        zov::test::WriteFile(folder / "scripts" / "t.qzs", scriptText);
        project::ProjectModel model;
        model.Name = "Banc";
        auto campaign = std::make_unique<project::CCampaign>();
        campaign->Name = "C";
        auto testSet = std::make_unique<project::CTestSet>();
        testSet->Name = "E";
        testSet->Campaign = campaign.get();
        auto test = std::make_unique<project::CTest>();
        test->Name = "T";
        test->File = "scripts/t.qzs";
        test->TestSet = testSet.get();
        testSet->Tests.push_back(std::move(test));
        campaign->TestSets.push_back(std::move(testSet));
        model.Campaigns.push_back(std::move(campaign));
        model.TreeChanged();
        const std::string path = (folder / "banc.qzp").string();
        EXPECT_TRUE(model.SaveProjectFile(path));
        EXPECT_TRUE(frame_->OpenProject(path));
        return (folder / "scripts" / "t.qzs").string();
    }

    fs::path root_;
    LoggedPrompter* prompter_ = nullptr;
    std::unique_ptr<shell::ApplicationCore> application_;
    std::unique_ptr<shell::MainFrame> frame_;
};

TEST_F(ScriptViewInFrame, DocumentsGetScriptViewsOfTheirKind)
{
    const fs::path script = root_ / "a.qzs";
    const fs::path text = root_ / "b.txt";
    zov::test::WriteFile(script, "x = 1\n");
    zov::test::WriteFile(text, "notes\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* scriptView = ActiveView();
    ASSERT_NE(scriptView, nullptr);
    EXPECT_EQ(scriptView->GetDocumentKind(), Kind_Script);
    EXPECT_EQ(scriptView->GetTextBuffer()->GetLine(0), QStringLiteral("x = 1"));
    ASSERT_NE(frame_->OpenDocument(text.string()), nullptr);
    CZOVView* textView = ActiveView();
    ASSERT_NE(textView, nullptr);
    EXPECT_EQ(textView->GetDocumentKind(), Kind_Result);
    EXPECT_EQ(textView->GetColor(editor::CTextView::Colour_Background), QColor(255, 255, 220));
}

// The window's F5 reaches the active view, which refuses to run without an interface.
TEST_F(ScriptViewInFrame, RunCommandOfTheWindowRunsTheActiveView)
{
    const fs::path script = root_ / "a.qzs";
    zov::test::WriteFile(script, "x = 1\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    frame_->UpdateCommands();
    QAction* run = frame_->Command(shell::command_ids::kRunScript);
    ASSERT_NE(run, nullptr);
    ASSERT_TRUE(run->isEnabled());
    run->trigger();
    EXPECT_EQ(prompter_->record.Texts(),
              std::vector<std::string>{"Impossible de lancer le script. Aucune interface présente !"});
}

TEST_F(ScriptViewInFrame, RunSettingsComeFromTheApplicationAndTheWindow)
{
    FrameRunHost host(*application_);
    application_->Values().engine = "moteur";
    application_->Values().enginePath = "bin";
    application_->Values().engineParams = "-q";
    frame_->Values().showExecution = 0;
    frame_->Values().timeoutFunction = 12;
    frame_->Values().linePauseMs = 40;
    execution::ExecutionSettings settings = host.Settings();
    EXPECT_EQ(settings.engine, "moteur");
    EXPECT_EQ(settings.enginePath, "bin");
    EXPECT_EQ(settings.engineParams, "-q");
    EXPECT_EQ(settings.programFolder, (root_ / "prog").string());
    EXPECT_EQ(settings.tempFolder, application_->GetTempFolder());
    EXPECT_TRUE(settings.showExecution);  // no window attached yet
    host.AttachFrame(frame_.get());
    settings = host.Settings();
    EXPECT_FALSE(settings.showExecution);
    EXPECT_EQ(settings.timeoutFunction, 12);
    EXPECT_EQ(settings.linePause, 40);
}

// F5 of the window with an interface loaded: the run goes through the real zovrun and its traces
// land in the output bar's trace pane, the run's start first.
TEST_F(ScriptViewInFrame, RunOfTheWindowTracesIntoTheOutputBar)
{
    const fs::path interface = root_ / "vide.qzi";
    zov::test::WriteFile(interface, ";vide\n");
    ASSERT_TRUE(frame_->Interfaces().Load(interface));
    application_->Values().enginePath = ZOV_BIN_DIR;
    const fs::path script = root_ / "a.qzs";
    zov::test::WriteFile(script, "trace(\"bonjour\")\nok(\"fin\")\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    QSignalSpy ended(view, &CZOVView::RunEnded);
    frame_->UpdateCommands();
    frame_->Command(shell::command_ids::kRunScript)->trigger();
    EXPECT_TRUE(prompter_->record.Texts().empty());
    for (int turns = 0; ended.count() == 0 && turns < 100; ++turns)
        ended.wait(100);
    ASSERT_EQ(ended.count(), 1);
    auto* bar = dynamic_cast<output::OutputPaneBar*>(&frame_->Output());
    ASSERT_NE(bar, nullptr);
    bar->m_tTrace->Flush();
    const std::vector<std::string> lines = bar->m_tTrace->ShownLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NE(lines[0].find(std::string(46, '*')), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Exécution (\"" + script.string() + "\")"), std::string::npos) << lines[1];
    bool traced = false;
    for (const std::string& line : lines)
        traced = traced || line.find("bonjour") != std::string::npos;
    EXPECT_TRUE(traced);
}

// Ctrl+F, F3, Shift+F3, Ctrl+H and Ctrl+G are the window's accelerators: pressed in the view, they
// still run the view's own search and go-to-line.
TEST_F(ScriptViewInFrame, EditKeysOfTheWindowReachTheActiveView)
{
    const fs::path script = root_ / "a.qzs";
    zov::test::WriteFile(script, "a b\nb\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    frame_->activateWindow();
    view->setFocus();
    frame_->UpdateCommands();
    prompter_->onDialog = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(shell::ControlName(8605))->setText(QStringLiteral("b"));
        dialog.findChild<QCheckBox*>(shell::ControlName(8603))->setChecked(true);
        dialog.findChild<QPushButton*>(shell::ControlName(1))->click();
        return QDialog::Accepted;
    };
    // The menu commands, as the menus run them.
    const auto run = [this](int id) {
        QAction* command = frame_->Command(id);
        ASSERT_NE(command, nullptr) << id;
        frame_->UpdateCommands();
        EXPECT_TRUE(command->isEnabled()) << id;
        command->trigger();
    };
    run(shell::command_ids::kEditFind);
    ASSERT_EQ(prompter_->dialogs, std::vector<std::string>{"c8601"});
    EXPECT_EQ(view->GetSelectionStart(), (editor::TextPosition{2, 0}));
    run(shell::command_ids::kEditFindNext);
    EXPECT_EQ(view->GetSelectionStart(), (editor::TextPosition{0, 1}));
    run(shell::command_ids::kEditFindPrevious);
    EXPECT_EQ(view->GetSelectionStart(), (editor::TextPosition{2, 0}));
    prompter_->onDialog = nullptr;
    run(shell::command_ids::kEditReplace);
    run(shell::command_ids::kGoToLine);
    EXPECT_EQ(prompter_->dialogs, (std::vector<std::string>{"c8601", "c8602", "c133"}));
    // The same keys pressed in the view open the same dialogs, once each.
    QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_H, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(prompter_->dialogs, (std::vector<std::string>{"c8601", "c8602", "c133", "c8601", "c8602", "c133"}));
    // No key ever reached the text.
    EXPECT_EQ(view->GetTextBuffer()->GetLine(0), QStringLiteral("a b"));
    // The page setup is the window's command 57605.
    EXPECT_NE(frame_->Command(57605), nullptr);
    EXPECT_EQ(frame_->Command(57606), nullptr);
}

// With the syntax files and an interface set, the view comments with the language's mark,
// inserts the set's functions and makes macros into the set.
TEST_F(ScriptViewInFrame, ViewsGetTheInterfaceSetAndTheLanguage)
{
    fs::copy_file(fs::path(ZOV_SOURCE_DIR) / "ide/editor/model/zov.stx", root_ / "prog" / "zov.stx");
    MakeFrame();
    interfaces::InterfaceSet* set = frame_->Interfaces().Model();
    ASSERT_NE(set, nullptr);
    ASSERT_NE(set->AddFunction("Mesure", "m", 2, 3, -1), nullptr);
    const fs::path script = root_ / "a.qzs";
    zov::test::WriteFile(script, "x = 1\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetCommentChar(), QChar(u';'));
    const auto select = [view](editor::TextPosition from, editor::TextPosition to) {
        view->SetAnchor(from);
        view->SetCursorPos(to);
        view->SetSelection(from, to);
    };
    select({0, 0}, {0, 1});  // the whole first line
    ASSERT_TRUE(static_cast<editor::CEditorView*>(view)->ExecuteCommand(37006));
    EXPECT_EQ(view->GetTextBuffer()->GetLine(0), QStringLiteral(";x = 1"));
    select({0, 0}, {0, 0});
    ASSERT_TRUE(view->InsertFunctionCall(0));
    EXPECT_EQ(view->GetTextBuffer()->GetLine(0), QStringLiteral("Mesure(_, _);x = 1"));
    EXPECT_FALSE(view->InsertFunctionCall(1));
    // Ctrl+M: the name asked in "Nom de la macro", the macro into the set.
    prompter_->onDialog = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>(shell::ControlName(8816))->setText(QStringLiteral("MESURE2"));
        return QDialog::Accepted;
    };
    select({0, 0}, {12, 0});
    view->OnCreateMacro();
    EXPECT_EQ(prompter_->dialogs, std::vector<std::string>{"c8815"});
    EXPECT_TRUE(set->IsMacroName("MESURE2"));
    EXPECT_EQ(view->GetTextBuffer()->GetLine(0), QStringLiteral("MESURE2;x = 1"));
}

// The find pane keeps each hit's script and line, and its stop button ends the search.
TEST_F(ScriptViewInFrame, FindPaneTakesTheHitsAndItsStopButtonEndsTheSearch)
{
    auto* bar = dynamic_cast<output::OutputPaneBar*>(&frame_->Output());
    ASSERT_NE(bar, nullptr);
    bar->m_tFind->AddLine("ancienne ligne");
    frame_->Output().ClearFind();
    EXPECT_EQ(bar->m_tFind->count(), 0);
    frame_->Output().AddFindResult(QStringLiteral("a.qzs(3): x = 1"), "a.qzs", 3);
    ASSERT_EQ(bar->m_tFind->count(), 1);
    EXPECT_EQ(bar->m_tFind->Keys(), std::vector<std::string>{"a.qzs:3"});

    new shell::FindInScripts(*frame_);
    QAction* stop = frame_->Command(38501);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop, bar->Command(38501));
    stop->setEnabled(true);
    stop->trigger();
    // The frame's handler ran: it turns the button off again.
    EXPECT_FALSE(stop->isEnabled());
}

// A double click on an error row opens its script at the row's line with the error mark; the
// next double click brings the same window back instead of opening a second one.
TEST_F(ScriptViewInFrame, ErrorRowOpensItsScriptOnceAtTheLineWithTheErrorMark)
{
    const fs::path script = root_ / "a.qzs";
    const fs::path other = root_ / "b.qzs";
    zov::test::WriteFile(script, "l1\nl2\nl3\nl4\nl5\n");
    zov::test::WriteFile(other, "autre\n");
    output::CErrorView& errors = *Bar().m_tError;
    const auto entry = std::make_shared<const output::ScriptEntry>(output::ScriptEntry{"a", script.string()});
    errors.AddError("4: Erreur de syntaxe", entry);
    errors.AddError("2: Variable inconnue", entry);
    // The table's double-click signal, as a double click on the row sends it.
    const auto doubleClick = [&errors](int row) { emit errors.cellDoubleClicked(row, 1); };

    doubleClick(0);
    ASSERT_EQ(frame_->Documents().size(), 1u);
    EXPECT_EQ(frame_->ActiveDocument()->Path(), script.string());
    EXPECT_EQ(MarkedLine(editor::LineFlag_Error), 4);
    EXPECT_EQ(ActiveView()->CaretPosition().line, 3);

    ASSERT_NE(frame_->OpenDocument(other.string()), nullptr);
    doubleClick(1);
    ASSERT_EQ(frame_->Documents().size(), 2u);
    EXPECT_EQ(frame_->ActiveDocument()->Path(), script.string());
    // The mark moved: one error line at a time.
    EXPECT_EQ(MarkedLine(editor::LineFlag_Error), 2);
    EXPECT_EQ(ActiveView()->CaretPosition().line, 1);
}

// Find hits and a run's "Charge le script" open the project's scripts, whose paths are relative
// to the project folder, at their lines with the execution mark.
TEST_F(ScriptViewInFrame, FindHitsAndRunRowsOpenProjectScriptsAtTheirLines)
{
    const std::string script = OpenProjectWithTest("a\nb\nc\nd\n");
    // A folder whose name holds ":" and digits: the line is after the last ":".
    const fs::path odd = root_ / "v1:2";
    fs::create_directories(odd);
    zov::test::WriteFile(odd / "x.qzs", "1\n2\n3\n");
    output::CFindView& find = *Bar().m_tFind;
    find.AddLine("Recherche de \"b\"");
    frame_->Output().AddFindResult(QStringLiteral("t:3:c"), "scripts/t.qzs", 3);
    frame_->Output().AddFindResult(QStringLiteral("x:2:2"), (odd / "x.qzs").string(), 2);
    QAction* next = Bar().Command(38504);
    ASSERT_NE(next, nullptr);

    // The heading comes first and opens nothing.
    next->trigger();
    EXPECT_EQ(frame_->ActiveDocument(), nullptr);
    next->trigger();
    ASSERT_NE(frame_->ActiveDocument(), nullptr);
    EXPECT_EQ(frame_->ActiveDocument()->Path(), script);
    EXPECT_EQ(MarkedLine(editor::LineFlag_Execution), 3);
    EXPECT_EQ(MarkedLine(editor::LineFlag_Error), 0);
    next->trigger();
    EXPECT_EQ(frame_->ActiveDocument()->Path(), (odd / "x.qzs").string());
    EXPECT_EQ(MarkedLine(editor::LineFlag_Execution), 2);

    // The run row of the project's test: its script at its result line.
    execution::RunRecord record;
    record.campaignName = "C";
    record.testSetName = "E";
    record.hasTestSet = true;
    record.testName = "T";
    record.resultLine = 4;
    record.resultCode = execution::kResultNok;
    output::CExecuteView& runs = *Bar().m_tExecution;
    runs.AddRun(record);
    runs.selectRow(0);
    Bar().UpdateCommandStates();
    QAction* load = Bar().Command(32810);
    ASSERT_TRUE(load->isEnabled());
    load->trigger();
    EXPECT_EQ(frame_->Documents().size(), 2u);
    EXPECT_EQ(frame_->ActiveDocument()->Path(), script);
    EXPECT_EQ(MarkedLine(editor::LineFlag_Execution), 4);
    // A run of a test the project does not hold opens nothing.
    execution::RunRecord stranger = record;
    stranger.testName = "Autre";
    runs.AddRun(stranger);
    runs.selectRow(1);
    load->trigger();
    EXPECT_EQ(frame_->Documents().size(), 2u);
}

// The engine's data values go to the data pane and back, the watched names are the variables
// pane's, and a project test's run log is the project's.
TEST_F(ScriptViewInFrame, RunHostReachesTheDataAndVariablesPanesAndTheRunLog)
{
    FrameRunHost host(*application_);
    EXPECT_EQ(host.GetDataValue("seuil"), "");  // no window yet: nothing, and no crash
    host.AttachFrame(frame_.get());
    host.SetDataValue("seuil", "12");
    host.SetDataValue("seuil", "13");
    output::CDataView& data = *Bar().m_tData;
    ASSERT_EQ(data.rowCount(), 1);
    EXPECT_EQ(data.GetItemText(0, 1), QStringLiteral("13"));
    EXPECT_EQ(host.GetDataValue("seuil"), "13");
    // Exported values are not kept in the project; the user's own are.
    data.SetData("banc", "B2", true);
    EXPECT_EQ(host.GetDataValue("banc"), "B2");
    std::vector<std::string> names, values;
    data.GetAll(names, values);
    EXPECT_EQ(names, std::vector<std::string>{"banc"});

    execution::RunRecord record;
    record.testName = "T";
    execution::RunRecord other;
    other.testName = "U";
    Bar().m_tVar->AddVariable("x", &record);
    Bar().m_tVar->AddVariable("y", &other);
    EXPECT_EQ(host.WatchedNames(), (std::vector<std::string>{"x", "y"}));

    host.AppendRunLog("avant projet\n", record);  // no project: no log anywhere
    OpenProjectWithTest("a\n");
    host.AppendRunLog("ligne 1\nligne 2\n", record);
    const fs::path log = root_ / "projet" / "Banc_1_.log";
    EXPECT_EQ(zov::test::ReadFile(log), "[T]\r\nligne 1\r\nligne 2\r\n");
    execution::RunRecord alone;  // a script run alone belongs to no test
    host.AppendRunLog("seul\n", alone);
    EXPECT_EQ(zov::test::ReadFile(log), "[T]\r\nligne 1\r\nligne 2\r\n");
}

// The menus' breakpoint and bookmark commands act on the active view; F9 in the view toggles once,
// whether the window's shortcut or the view takes it.
TEST_F(ScriptViewInFrame, LineMarkCommandsOfTheMenusActOnTheActiveView)
{
    const fs::path script = root_ / "m.qzs";
    zov::test::WriteFile(script, "a\nb\nc\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    view->SetCursorPos({0, 1});
    const auto command = [this](int id) {
        QAction* action = frame_->Command(id);
        ASSERT_NE(action, nullptr);
        frame_->UpdateCommands();
        ASSERT_TRUE(action->isEnabled()) << id;
        action->trigger();
    };
    command(shell::command_ids::kToggleBreakpoint);
    EXPECT_EQ(view->Breakpoints().size(), 1u);
    frame_->activateWindow();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_F9);
    EXPECT_TRUE(view->Breakpoints().empty()) << "F9 toggled twice or not at all";
    command(shell::command_ids::kToggleBreakpoint);
    view->SetCursorPos({0, 2});
    command(shell::command_ids::kToggleBreakpoint);
    EXPECT_EQ(view->Breakpoints().size(), 2u);
    command(shell::command_ids::kClearBreakpoints);
    EXPECT_TRUE(view->Breakpoints().empty());

    command(shell::command_ids::kToggleBookmark);
    EXPECT_TRUE(view->HasBookmarks());
    command(shell::command_ids::kClearBookmarks);
    EXPECT_FALSE(view->HasBookmarks());
}

// "Ajouter une variable..." proposes the word at the caret and watches the name for the active
// view's run record; a view that runs no test has no record, so nothing is watched for it.
TEST_F(ScriptViewInFrame, AddVariableWatchesTheWordAtTheCaretForTheViewsRecord)
{
    const fs::path script = root_ / "v.qzs";
    zov::test::WriteFile(script, "tension = 12\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    view->SetCursorPos({2, 0});
    std::string proposed;
    prompter_->onDialog = [&proposed](QDialog& dialog) {
        proposed = dialog.findChild<QLineEdit*>()->text().toStdString();
        return int(QDialog::Accepted);
    };
    output::CVariableView& variables = *Bar().m_tVar;

    frame_->Command(shell::command_ids::kAddVariable)->trigger();
    EXPECT_EQ(proposed, "tension");
    EXPECT_EQ(variables.rowCount(), 0) << "no run record";

    execution::RunRecord record;
    record.testName = "T";
    view->SetRunRecord(&record);
    frame_->Command(shell::command_ids::kAddVariable)->trigger();
    EXPECT_TRUE(variables.IsWatched("tension", &record));
    EXPECT_EQ(variables.rowCount(), 1);
    view->SetRunRecord(nullptr);
    prompter_->onDialog = nullptr;
}

// A project's saved data fill the data pane when it opens and are written back from it when it is
// saved; they leave with the project, so the next project neither shows nor saves them.
TEST_F(ScriptViewInFrame, ProjectDataComeAndGoWithTheirProject)
{
    const auto writeProject = [this](const std::string& name, std::vector<std::string> names,
                                     std::vector<std::string> values) {
        fs::create_directories(root_ / name);
        zov::test::WriteFile(root_ / name / "p.qzi", ";\r\n");
        project::ProjectModel model;
        model.Name = name;
        model.InterfacePath = "p.qzi";
        model.DataNames = std::move(names);
        model.DataValues = std::move(values);
        const std::string path = (root_ / name / (name + ".qzp")).string();
        EXPECT_TRUE(model.SaveProjectFile(path));
        return path;
    };
    const std::string first = writeProject("A", {"Port", "Vitesse"}, {"COM1", "9600"});
    const std::string second = writeProject("B", {}, {});
    output::CDataView& data = *Bar().m_tData;

    ASSERT_TRUE(frame_->OpenProject(first));
    ASSERT_EQ(data.rowCount(), 2);
    EXPECT_EQ(data.GetData("Port"), "COM1");
    data.SetData("exporte", "1", false);  // a script's value: never kept in a project
    data.SetData("Vitesse", "19200", true);
    prompter_->record.Queue(shell::PromptAnswer::Yes);  // "Enregistrer votre projet ?"
    ASSERT_TRUE(frame_->OpenProject(second));
    project::ProjectModel saved;
    ASSERT_TRUE(saved.LoadProjectFile(first, *prompter_));
    EXPECT_EQ(saved.DataNames, (std::vector<std::string>{"Port", "Vitesse"}));
    EXPECT_EQ(saved.DataValues, (std::vector<std::string>{"COM1", "19200"}));

    // Only the script's value is left; saving the second project keeps no data of the first.
    ASSERT_EQ(data.rowCount(), 1);
    EXPECT_EQ(data.GetData("Port"), "");
    frame_->Command(shell::command_ids::kSaveProject)->trigger();
    project::ProjectModel other;
    ASSERT_TRUE(other.LoadProjectFile(second, *prompter_));
    EXPECT_TRUE(other.DataNames.empty());
}

// A value typed in the variables pane reaches the engine of the active view's paused run: the
// script then goes on with it.
TEST_F(ScriptViewInFrame, VariableValueReachesTheActiveViewsEngine)
{
    UseRealEngine();
    const fs::path script = root_ / "a.qzs";
    zov::test::WriteFile(script, "x = 1\ntrace(x)\nok(\"fin\")\n");
    ASSERT_NE(frame_->OpenDocument(script.string()), nullptr);
    CZOVView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    execution::RunRecord record;
    record.testName = "T";
    view->SetRunRecord(&record);
    view->GetTextBuffer()->ChangeLineFlag(1, editor::LineFlag_Breakpoint, true);
    QSignalSpy paused(view, &CZOVView::RunPaused);
    QSignalSpy ended(view, &CZOVView::RunEnded);
    frame_->UpdateCommands();
    frame_->Command(shell::command_ids::kRunScript)->trigger();
    for (int turns = 0; paused.count() == 0 && turns < 100; ++turns)
        paused.wait(100);
    ASSERT_EQ(paused.count(), 1);
    EXPECT_TRUE(AnyScriptRunning(*frame_));

    output::CVariableView& variables = *Bar().m_tVar;
    variables.AddVariable("x", &record);
    variables.UpdateVariable("x", "1", execution::kKindInteger, &record);
    prompter_->onDialog = [](QDialog& dialog) {
        auto* valueDialog = qobject_cast<output::NewValueDialog*>(&dialog);
        if (valueDialog == nullptr)
            return 0;
        valueDialog->ValueField()->setText(QStringLiteral("42"));
        dialog.accept();
        return dialog.result();
    };
    ASSERT_TRUE(variables.EditRow(0));

    frame_->Command(shell::command_ids::kRunScript)->trigger();
    for (int turns = 0; ended.count() == 0 && turns < 100; ++turns)
        ended.wait(100);
    ASSERT_EQ(ended.count(), 1);
    EXPECT_FALSE(AnyScriptRunning(*frame_));
    Bar().m_tTrace->Flush();
    bool traced = false;
    for (const std::string& line : Bar().m_tTrace->ShownLines())
        traced = traced || line.ends_with(" 42");
    EXPECT_TRUE(traced);
}

}  // namespace
}  // namespace zov::scriptview
