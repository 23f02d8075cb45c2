#include "ide/shell/core/ProjectCommands.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;
using Events = std::vector<std::string>;

class FakeProjectHost : public ProjectHost {
public:
    void CloseAllDocuments() override { Log("close documents"); }
    bool OpenDocument(const std::string& path) override { return Log("open document " + path), true; }
    void LinkActiveViewToProjectItem() override { Log("link description"); }
    void ResetViewColours() override {}
    bool LoadProject(const std::string& path) override { return Log("load project " + path), loads; }
    void CloseProjectInExplorer() override { Log("explorer close"); }
    std::string ProjectInterfacePath() override { return interfacePath; }
    std::vector<std::string> InsertedInterfaces() override { return inserted; }
    int VersionCount() override { return versions; }
    bool HasResults() override { return results; }
    std::string ProjectName() override { return "Banc"; }
    std::string ProjectDescription() override { return description; }
    void ClearProjectVersions() override {}
    std::string CreateProject(const std::string& name, const std::string& folder, const std::string& iface) override
    {
        Log("create " + name + " " + iface);
        interfacePath = folder + "/" + iface;
        return folder + "/" + name + ".qzp";
    }
    void CopyDataPaneToProject() override {}
    bool WriteProjectFile(const std::string& path) override { return Log("write project " + path), true; }
    void RewriteCsvFiles() override { Log("csv"); }
    void ClearInterfaces() override {}
    void RemoveInsertedInterfaces() override {}
    bool LoadInterface(const std::string& path) override { return Log("interface " + path), true; }
    bool InsertInterface(const std::string& path) override { return Log("insert " + path), true; }
    bool SaveInterfaces() override { return Log("save interfaces"), true; }
    void SetInterfaceProjectFolder(const std::string&) override {}
    void RefreshInterfaceLists() override {}
    void RefreshMacros() override { Log("0x467"); }
    void ClearErrors() override { Log("clear errors"); }
    void ClearRuns() override { Log("clear runs"); }
    void ClearVariables() override { Log("clear variables"); }
    void ClearTrace() override { Log("clear trace"); }
    void SelectVersion(int index) override { Log("version " + std::to_string(index)); }
    void RefillVersionCombo() override {}
    void AddRecentProject(const std::string& path) override { Log("recent " + path); }
    void SetProjectToOpen(const std::string&) override {}
    std::optional<ReportChoice> RunReportDialog(ReportOptionValues& options, int version) override
    {
        Log("report dialog " + std::to_string(version));
        options.csvSeparator = ';';
        options.csvQualifier = '"';
        return reportChoice;
    }
    void WriteReport(const std::string& path, ReportWriterKind kind, int, const ReportOptionValues&) override
    {
        Log("report " + path + " " + std::to_string(static_cast<int>(kind)));
    }
    bool LoadBatchFile(const std::string& path) override { return Log("batch " + path), true; }
    void StartBatchTimer() override { Log("timer 1"); }

    bool Has(const std::string& event) const { return std::find(events.begin(), events.end(), event) != events.end(); }
    void Log(const std::string& event) { events.push_back(event); }

    Events events;
    bool loads = true;
    std::string interfacePath;
    std::vector<std::string> inserted;
    int versions = 0;
    bool results = true;
    std::string description;
    std::optional<ReportChoice> reportChoice;
};

class ProjectCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_project_commands_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "p");
        fs::create_directories(root_ / "temp");
        fs::create_directories(root_ / "prog");
        std::ofstream(root_ / "p" / "Banc.qzp") << "<ZOVProject/>";
        project_ = (root_ / "p" / "Banc.qzp").string();
        host_.interfacePath = (root_ / "p" / "Banc.qzi").string();
        settings_ = std::make_unique<Settings>(root_ / "ZOV.ini", root_ / "prog");
        commands_ = std::make_unique<ProjectCommands>(host_, prompter_, *settings_, (root_ / "prog").string(),
                                                      (root_ / "temp").string());
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string P(const std::string& relative) const { return (root_ / relative).string(); }

    fs::path root_;
    std::string project_;
    FakeProjectHost host_;
    RecordingPrompter prompter_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<ProjectCommands> commands_;
};

TEST_F(ProjectCommandsTest, MissingProjectFileOpensNothing)
{
    EXPECT_EQ(commands_->OpenProject(P("p/absent.qzp")), 0);
    EXPECT_TRUE(host_.events.empty());
    EXPECT_TRUE(prompter_.Prompts().empty());
    EXPECT_EQ(commands_->ProjectPath(), "");
}

TEST_F(ProjectCommandsTest, OpenLoadsInterfacesClearsPanesAndTakesTheLastVersion)
{
    host_.inserted = {"#lib/old.qzi", "{zov}\\Std.qzi", "{zov}/Net.qzi", "/abs/x.qzi", "lib\\y.qzi"};
    host_.versions = 3;
    ASSERT_EQ(commands_->OpenProject(project_), 1);
    const Events expected = {"close documents",
                             "load project " + project_,
                             "interface " + P("p/Banc.qzi"),
                             "insert " + P("prog/Std.qzi"),
                             "insert " + P("prog/Net.qzi"),
                             "insert /abs/x.qzi",
                             "insert " + P("p/lib/y.qzi"),
                             "0x467",
                             "clear errors",
                             "clear runs",
                             "clear variables",
                             "version 2"};
    EXPECT_EQ(host_.events, expected);
    EXPECT_EQ(commands_->VersionIndex(), 2);
    // The missing main interface was created holding one comment character, no line end.
    EXPECT_EQ(ReadWholeFile(P("p/Banc.qzi")), std::optional<std::string>(";"));
}

TEST_F(ProjectCommandsTest, ProjectThatDoesNotLoadIsNotOpenAndSaysSo)
{
    host_.loads = false;
    commands_->OpenProjectAndRemember(project_);
    EXPECT_EQ(commands_->ProjectPath(), "");
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Impossible de charger le fichier:\n" + project_});
    EXPECT_FALSE(host_.Has("recent " + project_));
    // Nothing open: closing asks nothing and cannot write an empty project over the file.
    commands_->OnCloseProject();
    EXPECT_EQ(prompter_.Prompts().size(), 1u);
    EXPECT_FALSE(host_.Has("write project " + project_));
}

TEST_F(ProjectCommandsTest, DescriptionIsOpenedFromTheTempFolderWithCrLf)
{
    host_.description = "Ligne 1\nLigne 2";
    ASSERT_EQ(commands_->OpenProject(project_), 1);
    EXPECT_EQ(ReadWholeFile(P("temp/Banc.txt")), std::optional<std::string>("Ligne 1\r\nLigne 2"));
    EXPECT_TRUE(host_.Has("open document " + P("temp/Banc.txt")));
    EXPECT_TRUE(host_.Has("link description"));
}

TEST_F(ProjectCommandsTest, UnwritableMainInterfaceIsReportedAndTheOpenGoesOn)
{
    host_.interfacePath = P("p/missing-folder/Banc.qzi");
    ASSERT_EQ(commands_->OpenProject(project_), 1);
    EXPECT_EQ(prompter_.Texts(),
              std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + P("p/missing-folder/Banc.qzi")});
    EXPECT_TRUE(host_.Has("clear runs"));
}

TEST_F(ProjectCommandsTest, SaveRefusesReadOnlyFiles)
{
    ASSERT_EQ(commands_->OpenProject(project_), 1);
    struct Case {
        std::string readOnly;
        std::string message;
    };
    const Case cases[] = {
        {P("p/Banc.qzi"), "Le fichier d'interface est en lecture seul !"},
        {project_, "Le fichier projet est en lecture seul !"},
    };
    for (const Case& c : cases) {
        host_.events.clear();
        ::chmod(c.readOnly.c_str(), 0444);
        EXPECT_FALSE(commands_->SaveProject());
        EXPECT_EQ(prompter_.Texts().back(), c.message);
        EXPECT_TRUE(host_.events.empty());
        ::chmod(c.readOnly.c_str(), 0644);
    }
    settings_->WriteInt(SettingId::ImportAutoSave, 1);
    EXPECT_TRUE(commands_->SaveProject());
    EXPECT_EQ(host_.events, (Events{"save interfaces", "write project " + project_, "csv", "recent " + project_}));
}

TEST_F(ProjectCommandsTest, CloseAsksEmptiesThePanesAndBringsBackTheDefaultInterface)
{
    settings_->WriteString(SettingId::DefaultInterfacePath, "Interfaces");
    for (const PromptAnswer answer : {PromptAnswer::Yes, PromptAnswer::No}) {
        ASSERT_EQ(commands_->OpenProject(project_), 1);
        host_.events.clear();
        prompter_.Queue(answer);
        commands_->OnCloseProject();
        EXPECT_EQ(prompter_.Texts().back(), "Enregistrer votre projet ?");
        EXPECT_EQ(host_.Has("write project " + project_), answer == PromptAnswer::Yes);
        for (const char* pane : {"clear errors", "clear runs", "clear variables", "clear trace", "explorer close"})
            EXPECT_TRUE(host_.Has(pane)) << pane;
        EXPECT_TRUE(host_.Has("interface " + P("prog/Interfaces/Default.qzi")));
        EXPECT_EQ(host_.events.back(), "close documents");
        EXPECT_EQ(commands_->ProjectPath(), "");
        EXPECT_EQ(commands_->VersionIndex(), -1);
    }
}

TEST_F(ProjectCommandsTest, OpenFromTheMenuRemembersAndMakesTheReportFolder)
{
    settings_->WriteString(SettingId::ReportPath, "Rapports");
    prompter_.Queue(PromptAnswer::Ok, project_);
    commands_->OnOpenProject();
    ASSERT_EQ(prompter_.Prompts().size(), 1u);
    EXPECT_EQ(prompter_.Prompts()[0].text, "Charger");
    EXPECT_TRUE(host_.Has("recent " + project_));
    EXPECT_TRUE(fs::is_directory(root_ / "p" / "Rapports"));
    const FileRequest request = ProjectFileRequest("Enregistrer", IdentityTranslate());
    EXPECT_EQ(request.filter, "Fichier ZOV Projet|*.qzp|");
    EXPECT_EQ(request.initialPath, "*.qzp");
}

TEST_F(ProjectCommandsTest, NewProjectNeedsNameAndFolderAndCreatesTheFolder)
{
    commands_->NewProject({"", P("new"), ""});
    EXPECT_FALSE(fs::exists(root_ / "new"));
    EXPECT_TRUE(host_.events.empty());
    commands_->NewProject({"Essai", P("new/deep"), ""});
    EXPECT_TRUE(fs::is_directory(root_ / "new" / "deep"));
    EXPECT_TRUE(host_.Has("create Essai Essai.qzi"));
    EXPECT_EQ(commands_->ProjectPath(), P("new/deep/Essai.qzp"));
    EXPECT_EQ(ReadWholeFile(P("new/deep/Essai.qzi")), std::optional<std::string>(";"));
    EXPECT_TRUE(host_.Has("recent " + P("new/deep/Essai.qzp")));
}

TEST_F(ProjectCommandsTest, ReportCommand)
{
    // No version: only the message; options are not touched.
    commands_->OnCreateReport();
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Vous devez créer une version de l'application testée !"});
    EXPECT_FALSE(fs::exists(root_ / "ZOV.ini"));
    host_.versions = 1;
    host_.results = false;
    commands_->OnCreateReport();
    EXPECT_TRUE(host_.events.empty());
    host_.results = true;
    // Cancelled: the options are still written back.
    commands_->OnCreateReport();
    EXPECT_EQ(settings_->GetInt(SettingId::CsvSep), 59);
    EXPECT_EQ(settings_->GetInt(SettingId::CsvTxtChar), 34);
    host_.reportChoice = ProjectHost::ReportChoice{"/r/a.xml.pdf", 0};
    commands_->OnCreateReport();
    EXPECT_EQ(host_.events.back(),
              "report /r/a.xml.pdf " + std::to_string(static_cast<int>(ReportWriterKind::ResultXml)));
    host_.reportChoice = ProjectHost::ReportChoice{"/r/a.txt", 0};
    host_.events.clear();
    commands_->OnCreateReport();
    EXPECT_EQ(host_.events, Events{"report dialog -1"});
}

TEST_F(ProjectCommandsTest, NewInterfaceFileAsksBeforeReplacing)
{
    commands_->NewInterfaceFile(P("p"), "Banc");
    EXPECT_EQ(ReadWholeFile(P("p/Banc.qzi")), std::optional<std::string>(";\r\n"));
    commands_->NewInterfaceFile(P("p"), "old.qzi.bak");
    EXPECT_TRUE(fs::exists(root_ / "p" / "old.qzi.bak"));
    ASSERT_TRUE(WriteFileAtomically(P("p/Banc.qzi"), "CLI x\r\n"));
    commands_->NewInterfaceFile(P("p"), "Banc.qzi");  // no answer: "Non"
    EXPECT_EQ(ReadWholeFile(P("p/Banc.qzi")), std::optional<std::string>("CLI x\r\n"));
    EXPECT_EQ(prompter_.Prompts().back().buttons, PromptButtons::YesNo);
    prompter_.Queue(PromptAnswer::Yes);
    commands_->NewInterfaceFile(P("p"), "Banc");
    EXPECT_EQ(ReadWholeFile(P("p/Banc.qzi")), std::optional<std::string>(";\r\n"));
    commands_->NewInterfaceFile(P("nowhere"), "x");
    EXPECT_EQ(prompter_.Texts().back(), "Impossible d'enregistrer le fichier:\n" + P("nowhere/x.qzi"));
}

TEST_F(ProjectCommandsTest, RunBatchClosesTheProjectAndStartsTheTimer)
{
    ASSERT_EQ(commands_->OpenProject(project_), 1);
    host_.events.clear();
    prompter_.Queue(PromptAnswer::No);  // "Enregistrer votre projet ?"
    prompter_.Queue(PromptAnswer::Ok, "/w/nuit.qzb");
    commands_->OnRunBatch();
    EXPECT_EQ(commands_->ProjectPath(), "");
    EXPECT_EQ(prompter_.Prompts().back().kind, PromptKind::Open);
    EXPECT_EQ(prompter_.Prompts().back().text, "Charger");
    EXPECT_EQ(Events(host_.events.end() - 2, host_.events.end()), (Events{"batch /w/nuit.qzb", "timer 1"}));
}

}  // namespace
}  // namespace zov::shell
