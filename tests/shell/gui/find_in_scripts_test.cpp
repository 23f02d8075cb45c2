#include "ide/shell/FindInScripts.h"

#include "ide/shell/MainFrame.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QAction>
#include <QCoreApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

const std::string kScripts = std::string(ZOV_SOURCE_DIR) + "/tests/shell/data/search";

// Fills the search dialog as a user would and presses "Rechercher".
class DialogPrompter final : public test::RecordedShellPrompter {
public:
    int Exec(QDialog& dialog) override
    {
        title = dialog.windowTitle().toStdString();
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts.push_back(label->text().toStdString());
        for (const QCheckBox* box : dialog.findChildren<QCheckBox*>())
            texts.push_back(box->text().toStdString());
        for (const QPushButton* button : dialog.findChildren<QPushButton*>())
            texts.push_back(button->text().toStdString());
        auto* text = dialog.findChild<QLineEdit*>(ControlName(8605));
        auto* whole = dialog.findChild<QCheckBox*>(ControlName(8603));
        if (text == nullptr || whole == nullptr || dialog.findChild<QCheckBox*>(ControlName(8604)) == nullptr)
            return QDialog::Rejected;
        text->setText(QStringLiteral("init"));
        whole->setChecked(true);
        return QDialog::Accepted;
    }
    std::string title;
    std::vector<std::string> texts;
};

class ScriptsExplorer final : public IExplorerBar {
public:
    QWidget& Widget() override { return widget; }
    bool LoadProject(const std::string&) override { return true; }
    void CloseProject() override {}
    void RefreshInterfaceLists() override {}
    void SetViewAllInterfaces(bool) override {}
    int SelectedItemKind() const override { return -1; }
    std::vector<std::string> ScriptPaths() const override { return paths; }
    void FillTrees() override {}
    void ForwardKey(int, bool) override {}
    project::ProjectModel& Project() override { return project; }

    QWidget widget;
    project::ProjectModel project;
    std::vector<std::string> paths;
};

class FindPane final : public IOutputBar {
public:
    QWidget& Widget() override { return widget; }
    void ClearErrors() override {}
    void ClearRuns() override {}
    void ClearVariables() override {}
    void ClearTrace() override {}
    void ShowTab(int) override {}
    void AddFindLine(const QString& line) override { lines.push_back(line.toStdString()); }
    void ClearFind() override { lines.clear(); }
    void AddFindResult(const QString& line, const std::string& entry, int number) override
    {
        AddFindLine(line);
        keys.emplace_back(entry, number);
    }
    QWidget* TracePane() override { return nullptr; }

    QWidget widget;
    std::vector<std::string> lines;
    std::vector<std::pair<std::string, int>> keys;
};

class FindInScriptsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        root_ = fs::temp_directory_path() / ("zov_find_scripts_" + std::to_string(::getpid()));
        fs::create_directories(root_ / "prog");
        auto prompter = std::make_unique<DialogPrompter>();
        prompter_ = prompter.get();
        InstallPrompter(std::move(prompter));
        application_ = std::make_unique<ApplicationCore>(
            ApplicationCore::Places{root_ / "prog", root_ / "prog" / "ZOV.ini", root_ / "tmp"});
        FrameParts parts;
        parts.makeExplorer = [this](MainFrame&) {
            auto explorer = std::make_unique<ScriptsExplorer>();
            explorer_ = explorer.get();
            explorer_->paths = {kScripts + "/Main.qzs", kScripts + "/Lib.qzs"};
            return explorer;
        };
        parts.makeOutput = [this](MainFrame&) {
            auto pane = std::make_unique<FindPane>();
            pane_ = pane.get();
            return pane;
        };
        frame_ = std::make_unique<MainFrame>(*application_, std::move(parts));
    }
    void TearDown() override
    {
        frame_.reset();
        application_.reset();
        InstallPrompter(std::make_unique<DialogPrompter>());
        fs::remove_all(root_);
    }

    fs::path root_;
    DialogPrompter* prompter_ = nullptr;
    ScriptsExplorer* explorer_ = nullptr;
    FindPane* pane_ = nullptr;
    std::unique_ptr<ApplicationCore> application_;
    std::unique_ptr<MainFrame> frame_;
};

TEST_F(FindInScriptsTest, CommandRunsTheDialogAndListsTheHitsWithTheirKeys)
{
    FindInScripts find(*frame_);
    // The command is enabled while a project is open.
    std::ofstream(root_ / "Banc.qzp") << "<ZOVProject/>";
    ASSERT_TRUE(frame_->OpenProject((root_ / "Banc.qzp").string()));
    frame_->UpdateCommands();
    QAction* command = frame_->Command(command_ids::kFindInScripts);
    ASSERT_NE(command, nullptr);
    ASSERT_TRUE(command->isEnabled());
    command->trigger();
    EXPECT_EQ(prompter_->title, "Rechercher dans les scripts");
    for (const char* text : {"Recherche :", "Mot entier uniquement", "Respecter la casse", "Rechercher", "Annuler"})
        EXPECT_NE(std::find(prompter_->texts.begin(), prompter_->texts.end(), text), prompter_->texts.end()) << text;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !find.Running(); }, 5000));
    const std::vector<std::string> expected = {"Recherche de 'init'...", "Main:1:Appel Init",
                                               "Main:3:fin Init",        "Main:5:init",
                                               "Lib:1:appel    init x",  "4 occurrences ont été trouvées"};
    EXPECT_EQ(pane_->lines, expected);
    ASSERT_EQ(pane_->keys.size(), 4u);
    EXPECT_EQ(pane_->keys[3], std::make_pair(kScripts + "/Lib.qzs", 1));
}

TEST_F(FindInScriptsTest, StopKeepsTheLinesFoundAndAddsNoSummary)
{
    FindInScripts find(*frame_);
    // Enough files that the search outlives the first slices.
    explorer_->paths.assign(20000, kScripts + "/Main.qzs");
    find.Start({"init", false, false});
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane_->lines.size() > 1; }, 5000));
    // The find pane's stop button (38501).
    find.Stop();
    const std::size_t kept = pane_->lines.size();
    QCoreApplication::processEvents();
    EXPECT_FALSE(find.Running());
    EXPECT_EQ(pane_->lines.size(), kept);
    EXPECT_EQ(pane_->lines.front(), "Recherche de 'init'...");
    EXPECT_NE(pane_->lines.back().find("Main:"), std::string::npos);
}

}  // namespace
}  // namespace zov::shell
