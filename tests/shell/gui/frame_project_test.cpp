// The project, report, interface and text commands of the main window, with a scripted prompter,
// a real project model and interface set, and an output bar that counts what it was told.

#include "ide/shell/MainFrame.h"

#include "common/AtomicFile.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/ShellPrompter.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/shell/gui/FrameTestSupport.h"
#include "tests/shell/gui/RecordedShellPrompter.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QToolButton>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;
using namespace command_ids;

class QueuePrompter final : public test::RecordedShellPrompter {
public:
    // Rejected unless the test fills the dialog and answers for it.
    int Exec(QDialog& dialog) override { return exec ? exec(dialog) : QDialog::Rejected; }
    std::function<int(QDialog&)> exec;
};

class ProjectExplorer final : public IExplorerBar {
public:
    QWidget& Widget() override { return widget; }
    bool LoadProject(const std::string& path) override { return project.LoadProjectFile(path, ActivePrompter()); }
    void CloseProject() override { project.ClearProject(); }
    void RefreshInterfaceLists() override { ++refreshes; }
    void SetViewAllInterfaces(bool) override {}
    int SelectedItemKind() const override { return -1; }
    std::vector<std::string> ScriptPaths() const override { return {}; }
    void FillTrees() override {}
    void ForwardKey(int, bool) override {}
    project::ProjectModel& Project() override { return project; }

    QWidget widget;
    project::ProjectModel project;
    int refreshes = 0;
};

class CountingOutput final : public IOutputBar {
public:
    QWidget& Widget() override { return widget; }
    void ClearErrors() override { ++errors; }
    void ClearRuns() override { ++runs; }
    void ClearVariables() override { ++variables; }
    void ClearTrace() override { ++traces; }
    void ShowTab(int) override {}
    void AddFindLine(const QString&) override {}
    QWidget* TracePane() override { return nullptr; }

    QWidget widget;
    int errors = 0;
    int runs = 0;
    int variables = 0;
    int traces = 0;
};

struct WrittenReport {
    std::string path;
    ReportWriterKind kind;
    int version;
};

class FrameProjectTest : public test::FrameTestBase<QueuePrompter> {
protected:
    FrameProjectTest() : FrameTestBase("frame_project") {}
    MainFrame& Frame()
    {
        FrameParts parts;
        parts.makeInterfaces = [this](MainFrame&) { return std::make_unique<FrameInterfaceSet>(*application_); };
        parts.makeExplorer = [this](MainFrame&) {
            auto explorer = std::make_unique<ProjectExplorer>();
            explorer_ = explorer.get();
            return explorer;
        };
        parts.makeOutput = [this](MainFrame&) {
            auto output = std::make_unique<CountingOutput>();
            output_ = output.get();
            return output;
        };
        parts.startBatch = [this] { ++batches_; };
        parts.writeReport = [this](MainFrame&, const std::string& path, ReportWriterKind kind, int version,
                                   const ReportOptionValues&) { reports_.push_back({path, kind, version}); };
        frame_ = std::make_unique<MainFrame>(*application_, std::move(parts));
        frame_->show();
        return *frame_;
    }
    static std::string Read(const fs::path& path)
    {
        return ReadWholeFile(path).value_or("<missing>");
    }
    // A project "p" in work/ over work/p.qzi, with the given versions, description and inserted
    // interfaces, and one test whose result for the first version is OK when asked.
    std::string WriteProject(std::vector<std::string> versions, const std::string& text = {},
                             std::vector<std::string> inserted = {}, bool withResult = false)
    {
        project::ProjectModel model;
        model.NewProject("p", (root_ / "work").string(), "p.qzi");
        model.Text = text;
        model.InsertedInterfaces = std::move(inserted);
        std::uint32_t id = 1;
        for (const std::string& name : versions) {
            auto version = std::make_unique<project::CVersion>();
            version->Id = id++;
            version->Name = name;
            version->Info = "i";
            model.Versions.push_back(std::move(version));
        }
        project::CCampaign* campaign = model.AddCampaign("C", -1, 0, nullptr);
        project::CTestSet* set = model.AddTestSet(*campaign, "S", -1, 0, 0, 0, nullptr);
        project::CTest* test = model.AddTest(*set, "t.qzs", "t", -1, 0, nullptr, 0);
        if (withResult)
            model.SetResult(1, test->Id, 1, "", 0, 1);
        const std::string path = (root_ / "work" / "p.qzp").string();
        EXPECT_TRUE(model.SaveProjectFile(path));
        return path;
    }
    std::vector<std::string> Texts() const { return prompter_->record.Texts(); }

    ProjectExplorer* explorer_ = nullptr;
    CountingOutput* output_ = nullptr;
    std::vector<WrittenReport> reports_;
    int batches_ = 0;
};

TEST_F(FrameProjectTest, AProjectThatDoesNotLoadOpensNothingAndSaysSo)
{
    Write("p.qzi", ";\r\n");
    const std::string good = WriteProject({"V1"});
    const std::string goodBytes = Read(good);
    const std::string broken = Write("broken.qzp", "<Project><Name>half");
    MainFrame& frame = Frame();
    ASSERT_TRUE(frame.OpenProject(good));

    // Through the menu: the open project is closed first ("Non"), then nothing is open.
    prompter_->record.Queue(PromptAnswer::Ok, broken);
    prompter_->record.Queue(PromptAnswer::No);
    frame.Command(kOpenProject)->trigger();
    EXPECT_EQ(frame.ProjectPath(), "");
    ASSERT_FALSE(Texts().empty());
    EXPECT_EQ(Texts().back(), "Impossible de charger le fichier:\n" + broken);
    EXPECT_EQ(frame.Values().recentProjects.Entries(), std::vector<std::string>{good});
    frame.UpdateCommands();
    EXPECT_FALSE(frame.Command(kSaveProject)->isEnabled());
    EXPECT_EQ(frame.findChild<QComboBox*>("c32896")->count(), 0);

    // A missing file opens nothing and says nothing; closing asks nothing and writes nothing.
    const std::size_t prompts = Texts().size();
    EXPECT_FALSE(frame.OpenProject((root_ / "work" / "gone.qzp").string()));
    EXPECT_EQ(Texts().size(), prompts);
    frame.Command(kCloseProject)->trigger();
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(Texts().size(), prompts);
    EXPECT_EQ(Read(broken), "<Project><Name>half");
    EXPECT_EQ(Read(good), goodBytes);
}

TEST_F(FrameProjectTest, OpeningFillsTheVersionsCreatesTheReportFolderAndOpensTheDescription)
{
    ASSERT_TRUE(application_->GetSettings().WriteString(SettingId::ReportPath, "Rapports"));
    Write("p.qzi", ";\r\n");
    const std::string path = WriteProject({"V1", "V2"}, "Ligne 1\nLigne 2");
    MainFrame& frame = Frame();
    frame.SetProjectToOpen(path);
    frame.PostOpenPendingProject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.ProjectPath().empty(); }, 5000));
    EXPECT_EQ(frame.ProjectPath(), path);

    auto* combo = frame.findChild<QComboBox*>("c32896");
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), "V2 - i");
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(frame.VersionIndex(), 1);
    EXPECT_TRUE(fs::is_directory(root_ / "work" / "Rapports"));
    EXPECT_GE(output_->errors, 1);
    EXPECT_GE(output_->runs, 1);
    EXPECT_GE(output_->variables, 1);
    EXPECT_EQ(frame.Values().recentProjects.Entries(), std::vector<std::string>{path});
    // The description as a text of the temp folder, CR LF on disk.
    ASSERT_EQ(frame.Documents().size(), 1u);
    const std::string description = frame.Documents()[0]->Path();
    EXPECT_EQ(fs::path(description).filename(), "p.txt");
    EXPECT_EQ(fs::path(description).parent_path(), fs::path(frame.GetTempFolder()));
    EXPECT_EQ(Read(description), "Ligne 1\r\nLigne 2");

    // Saving the description writes it back into the project.
    auto& editor = *qobject_cast<QPlainTextEdit*>(&frame.Documents()[0]->View()->Widget());
    editor.setPlainText("Autre");
    ASSERT_TRUE(frame.SaveDocument(*frame.Documents()[0]));
    EXPECT_EQ(explorer_->project.Text, "Autre");
}

TEST_F(FrameProjectTest, CloseAsksToSaveAndNoWritesNothing)
{
    Write("p.qzi", ";\r\n");
    ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "Default.qzi", ";\r\n"));
    const std::string path = WriteProject({"V1"}, "d");
    const std::string projectBytes = Read(path);
    MainFrame& frame = Frame();
    ASSERT_TRUE(frame.OpenProject(path));
    ASSERT_EQ(frame.Documents().size(), 1u);
    const int tracesBefore = output_->traces;

    prompter_->record.Queue(PromptAnswer::No);
    frame.Command(kCloseProject)->trigger();
    EXPECT_EQ(Texts(), std::vector<std::string>{"Enregistrer votre projet ?"});
    EXPECT_EQ(prompter_->record.Prompts().back().buttons, PromptButtons::YesNo);
    EXPECT_EQ(Read(path), projectBytes);
    EXPECT_EQ(Read(root_ / "work" / "p.qzi"), ";\r\n");
    EXPECT_EQ(frame.ProjectPath(), "");
    EXPECT_EQ(frame.VersionIndex(), -1);
    EXPECT_TRUE(frame.Documents().empty());
    EXPECT_EQ(frame.findChild<QComboBox*>("c32896")->count(), 0);
    EXPECT_EQ(output_->traces, tracesBefore + 1);
    // Back to the default interface of the program folder.
    EXPECT_EQ(frame.Interfaces().Model()->MainPath(), (root_ / "prog" / "Default.qzi").string());
}

TEST_F(FrameProjectTest, NewInterfaceAsksBeforeReplacingAFile)
{
    struct Case {
        const char* chosen;       // the name given to the prompt
        const char* existing;     // bytes already there, or null
        PromptAnswer answer;      // to "replace?"
        const char* file;         // the file written
        const char* bytes;        // what it holds afterwards
        bool asked;
    };
    const Case cases[] = {
        {"old.qzi", "MACRO M : {x}\r\n", PromptAnswer::No, "old.qzi", "MACRO M : {x}\r\n", true},
        {"old.qzi", "MACRO M : {x}\r\n", PromptAnswer::Yes, "old.qzi", ";\r\n", true},
        {"neu", nullptr, PromptAnswer::Ok, "neu.qzi", ";\r\n", false},
        {"b.qzi.txt", nullptr, PromptAnswer::Ok, "b.qzi.txt", ";\r\n", false},
    };
    MainFrame& frame = Frame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        fs::remove(root_ / "work" / c.file);
        if (c.existing != nullptr)
            Write(c.file, c.existing);
        const std::size_t before = Texts().size();
        prompter_->record.Queue(PromptAnswer::Ok, (root_ / "work" / c.chosen).string());
        if (c.asked)
            prompter_->record.Queue(c.answer);
        frame.Command(kNewInterface)->trigger();
        EXPECT_EQ(Read(root_ / "work" / c.file), c.bytes);
        // The prompt for the name, and the question when a file was there.
        EXPECT_EQ(Texts().size(), before + (c.asked ? 2 : 1));
        if (c.asked) {
            EXPECT_EQ(prompter_->record.Prompts().back().buttons, PromptButtons::YesNo);
        }
    }
}

TEST_F(FrameProjectTest, ReportCommand)
{
    struct Case {
        std::vector<std::string> versions;
        bool withResult;
        std::vector<std::string> texts;  // every prompt
        std::size_t written;
    };
    const Case cases[] = {
        {{}, true, {"Vous devez créer une version de l'application testée !"}, 0},
        {{"V1"}, false, {}, 0},
        {{"V1", "V2"}, true, {"Créer un rapport"}, 1},
    };
    Write("p.qzi", ";\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.versions.size());
        frame_.reset();
        reports_.clear();
        InstallPrompter(std::make_unique<QueuePrompter>());
        prompter_ = static_cast<QueuePrompter*>(&ActivePrompter());
        const std::string path = WriteProject(c.versions, {}, {}, c.withResult);
        MainFrame& frame = Frame();
        ASSERT_TRUE(frame.OpenProject(path));
        ASSERT_EQ(Texts().size(), 0u);
        prompter_->record.Queue(PromptAnswer::Ok, (root_ / "work" / "r.html").string());
        frame.Command(kCreateReport)->trigger();
        EXPECT_EQ(Texts(), c.texts);
        ASSERT_EQ(reports_.size(), c.written);
        if (c.written == 1) {
            EXPECT_EQ(reports_[0].path, (root_ / "work" / "r.html").string());
            EXPECT_EQ(reports_[0].kind, ReportWriterKind::Html);
            EXPECT_EQ(reports_[0].version, 1);
        }
        // Read back and written again, in the options' own form.
        EXPECT_EQ(application_->GetSettings().GetString(SettingId::ReportExt), "xml");
    }
}

TEST_F(FrameProjectTest, AMacroEditedAndSavedComesBackJoinedInItsInterfaceFile)
{
    Write("p.qzi", "MACRO Init : {a = 1 & b = \"x & y\"}\r\n");
    ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "lib.qzi", "MACRO Init : {z = 0}\r\n"));
    const std::string path = WriteProject({"V1"}, {}, {"{zov}/lib.qzi"});
    MainFrame& frame = Frame();
    ASSERT_TRUE(frame.OpenProject(path));
    interfaces::InterfaceSet* set = frame.Interfaces().Model();
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->InsertedCount(), 1);
    ASSERT_EQ(set->MainInterface().macros.size(), 1u);
    ASSERT_EQ(set->GetInsertedInterface(0)->macros.size(), 1u);
    const interfaces::MacroRecord& main = *set->MainInterface().macros[0];
    const interfaces::MacroRecord& inserted = *set->GetInsertedInterface(0)->macros[0];

    // One statement a line, the quoted "&" kept; the two "Init" have a file each.
    ScriptDocument* document = frame.ProjectSide().OpenMacroFile(main, false);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->Title(), "Init.qzm");
    EXPECT_EQ(Read(document->Path()), "a = 1\r\nb = \"x & y\"");
    EXPECT_FALSE(document->Buffer().IsReadOnly());
    ScriptDocument* readOnly = frame.ProjectSide().OpenMacroFile(inserted, true);
    ASSERT_NE(readOnly, nullptr);
    EXPECT_NE(readOnly->Path(), document->Path());
    EXPECT_EQ(readOnly->Title(), "Init.qzm");
    EXPECT_TRUE(readOnly->Buffer().IsReadOnly());
    EXPECT_TRUE(qobject_cast<QPlainTextEdit*>(&readOnly->View()->Widget())->isReadOnly());

    auto& editor = *qobject_cast<QPlainTextEdit*>(&document->View()->Widget());
    editor.setPlainText("a = 1\nb = \"x & y\"\nc = 3&d = 4\n");
    ASSERT_TRUE(frame.SaveDocument(*document));
    EXPECT_EQ(main.body, "a = 1 & b = \"x & y\" & c = 3&d = 4");
    EXPECT_EQ(Read(root_ / "work" / "p.qzi"),
              ";Liste des macros\r\nMACRO Init : {a = 1 & b = \"x & y\" & c = 3&d = 4}\r\n");
    // The inserted interface, open for editing, is saved with the set, its macro unchanged.
    EXPECT_EQ(Read(root_ / "prog" / "lib.qzi"), ";Liste des macros\r\nMACRO Init : {z = 0}\r\n");

    // An inserted interface's macro saved through its document is written where it was read.
    frame.CloseDocument(*readOnly, false);
    ScriptDocument* editable = frame.ProjectSide().OpenMacroFile(inserted, false);
    ASSERT_NE(editable, nullptr);
    qobject_cast<QPlainTextEdit*>(&editable->View()->Widget())->setPlainText("z = 1");
    ASSERT_TRUE(frame.SaveDocument(*editable));
    EXPECT_EQ(Read(root_ / "prog" / "lib.qzi"), ";Liste des macros\r\nMACRO Init : {z = 1}\r\n");
    EXPECT_FALSE(fs::exists(root_ / "work" / "{zov}"));

    // Closing by interface and name closes that document only, and its file goes with it.
    const std::string editablePath = editable->Path();
    frame.ProjectSide().CloseMacroFile(set->InsertedPaths()[0], "Init");
    ASSERT_EQ(frame.Documents().size(), 1u);
    EXPECT_EQ(frame.Documents()[0], document);
    EXPECT_FALSE(fs::exists(editablePath));
}

TEST_F(FrameProjectTest, RunBatchClosesTheProjectAsksForABatchFileAndStartsIt)
{
    Write("p.qzi", ";\r\n");
    const std::string path = WriteProject({"V1"});
    const std::string batch = Write("b.qzb", "<ZOVBatch><Options><Hide>0</Hide></Options></ZOVBatch>");
    MainFrame& frame = Frame();
    // The start-up tasks of timer 1 are done: the window is as a user finds it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.windowTitle() == "Zovatron"; }, 5000));
    ASSERT_TRUE(frame.OpenProject(path));
    // Cancelled: the project is closed all the same, nothing starts.
    prompter_->record.Queue(PromptAnswer::No);
    frame.Command(kRunBatch)->trigger();
    EXPECT_EQ(frame.ProjectPath(), "");
    ASSERT_EQ(prompter_->requests.size(), 1u);
    EXPECT_EQ(prompter_->requests[0].title, "Charger");
    EXPECT_EQ(prompter_->requests[0].filter, "Fichier batch ZOV|*.qzb|");
    EXPECT_EQ(prompter_->requests[0].initialPath, "*.qzb");
    EXPECT_FALSE(frame.BatchMode());

    // An unreadable batch file says so and starts nothing.
    const std::string broken = Write("broken.qzb", "<ZOVBatch>");
    prompter_->record.Queue(PromptAnswer::Ok, broken);
    frame.Command(kRunBatch)->trigger();
    EXPECT_EQ(Texts().back(), "Impossible de charger le fichier:\n" + broken);
    EXPECT_FALSE(frame.BatchMode());

    prompter_->record.Queue(PromptAnswer::Ok, batch);
    frame.Command(kRunBatch)->trigger();
    EXPECT_EQ(frame.ProjectSide().BatchFilePath(), batch);
    EXPECT_TRUE(frame.BatchMode());
    EXPECT_EQ(batches_, 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return batches_ > 0; }, 5000));
    EXPECT_EQ(batches_, 1);
}

TEST_F(FrameProjectTest, ResultAndDescriptionTextsStayInTheirFolders)
{
    Write("p.qzi", ";\r\n");
    const std::string path = WriteProject({"V1"});
    MainFrame& frame = Frame();
    ASSERT_TRUE(frame.OpenProject(path));
    const fs::path temp = frame.GetTempFolder();

    // A record name cannot lead the file out of the temp folder.
    ScriptDocument* result = frame.ProjectSide().OpenResultFile("../evil", "ligne 1\nligne 2");
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(fs::path(result->Path()).parent_path(), temp);
    EXPECT_EQ(Read(result->Path()), "ligne 1\r\nligne 2");
    EXPECT_FALSE(fs::exists(temp.parent_path() / "evil.qzr"));

    // A test set with "<project folder>/<name>.txt" opens that file; a campaign without one a
    // temp copy of its text; a test nothing.
    project::ProjectModel& model = explorer_->project;
    ASSERT_EQ(model.Campaigns.size(), 1u);
    project::CCampaign& campaign = *model.Campaigns[0];
    campaign.Text = "texte C";
    const std::string own = Write("S.txt", "notes\r\n");
    ScriptDocument* set = frame.ProjectSide().OpenItemDescription(1, campaign.TestSets[0]->Id);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->Path(), own);
    ScriptDocument* text = frame.ProjectSide().OpenItemDescription(0, campaign.Id);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Path(), (temp / "C.txt").string());
    EXPECT_EQ(Read(text->Path()), "texte C");
    EXPECT_EQ(frame.ProjectSide().OpenItemDescription(2, 1), nullptr);
    qobject_cast<QPlainTextEdit*>(&text->View()->Widget())->setPlainText("neuf");
    ASSERT_TRUE(frame.SaveDocument(*text));
    EXPECT_EQ(campaign.Text, "neuf");
}

TEST_F(FrameProjectTest, NewProjectMakesItsFolderInterfaceAndFile)
{
    MainFrame& frame = Frame();
    const fs::path folder = root_ / "work" / "neu" / "sous";
    struct Fields {
        std::string name;
        std::string folder;
        bool browse = false;  // chosen with "..." rather than typed
    };
    const auto answer = [this](Fields fields) {
        prompter_->exec = [this, fields](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("name")->setText(QString::fromStdString(fields.name));
            if (fields.browse) {
                prompter_->record.Queue(PromptAnswer::Ok, fields.folder);
                dialog.findChild<QToolButton*>("browse")->click();
            } else {
                dialog.findChild<QLineEdit*>("folder")->setText(QString::fromStdString(fields.folder));
            }
            return int(QDialog::Accepted);
        };
    };
    // No name: nothing is made.
    answer({"", folder.string()});
    frame.Command(kNewProject)->trigger();
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(frame.ProjectPath(), "");

    answer({"neu", folder.string(), true});
    frame.Command(kNewProject)->trigger();
    const std::string project = (folder / "neu.qzp").string();
    EXPECT_EQ(frame.ProjectPath(), project);
    EXPECT_TRUE(fs::exists(project));
    EXPECT_TRUE(fs::exists(folder / "neu.qzi"));
    EXPECT_EQ(explorer_->project.Name, "neu");
    EXPECT_EQ(frame.Values().recentProjects.Entries(), std::vector<std::string>{project});
    // The only prompt was the folder choice.
    EXPECT_EQ(Texts(), std::vector<std::string>{"Répertoire :"});
}

}  // namespace
}  // namespace zov::shell
