// A campaign in the main window, end to end: the tests of a sequential set run one after the other
// in script views through the zovrun of the build, and their records take the engine's verdicts.
#include "ide/scriptview/ScriptViewParts.h"

#include "ide/output/OutputBar.h"
#include "ide/shell/FrameCampaign.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/shell/gui/RecordedShellPrompter.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace zov::scriptview {
namespace {

namespace fs = std::filesystem;

class QuietPrompter final : public shell::test::RecordedShellPrompter {};

TEST(CampaignInTheWindow, SequentialSetOfTwoScriptsRunsThroughTheEngine)
{
    zov::testing::EnsureApplication();
    char pattern[] = "/tmp/zov-campaign-run-XXXXXX";
    const fs::path root = ::mkdtemp(pattern);
    fs::create_directories(root / "prog");
    auto owned = std::make_unique<QuietPrompter>();
    QuietPrompter* prompter = owned.get();
    shell::InstallPrompter(std::move(owned));
    {
        shell::ApplicationCore application(
            shell::ApplicationCore::Places{root / "prog", root / "prog" / "ZOV.ini", root / "tmp"});
        application.Values().enginePath = ZOV_BIN_DIR;
        shell::FrameParts parts;
        parts.makeInterfaces = [&application](shell::MainFrame&) {
            return std::make_unique<shell::FrameInterfaceSet>(application);
        };
        parts.makeOutput = [](shell::MainFrame&) { return output::MakeOutputBar(shell::IdentityTranslate()); };
        PlugScriptViews(parts, application);
        shell::MainFrame frame(application, std::move(parts));
        frame.show();
        auto* campaign = new shell::FrameCampaign(frame);

        zov::test::WriteFile(root / "vide.qzi", ";vide\n");
        project::ProjectModel model;
        model.InterfacePath = (root / "vide.qzi").string();
        project::CCampaign& owner = *model.AddCampaign("C", project::kAddAtEnd, 0, nullptr);
        project::CTestSet& set = *model.AddTestSet(owner, "S", project::kAddAtEnd, 0, 0, 0, nullptr);
        for (const char* name : {"a", "b"}) {
            zov::test::WriteFile(root / (std::string(name) + ".qzs"), "ok(\"fin\")\n");
            model.AddTest(set, std::string(name) + ".qzs", name, project::kAddAtEnd, 0, nullptr, 0);
        }
        const std::string projectPath = (root / "p.qzp").string();
        ASSERT_TRUE(model.SaveProjectFile(projectPath));
        ASSERT_TRUE(frame.OpenProject(projectPath));
        ASSERT_TRUE(frame.Interfaces().Load(root / "vide.qzi"));
        auto* tree = frame.findChild<QTreeWidget*>("StandInTestTree");
        ASSERT_NE(tree, nullptr);
        const auto sets = tree->findItems("S", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(sets.size(), 1);
        tree->setCurrentItem(sets.front());

        frame.Command(shell::command_ids::kRunCampaign)->trigger();
        // The runs pane lists the whole run before its first test starts.
        const output::CExecuteView& runs = *dynamic_cast<output::OutputPaneBar&>(frame.Output()).m_tExecution;
        EXPECT_EQ(runs.rowCount(), 2);
        QDeadlineTimer deadline(30000);
        bool started = false;
        while ((!started || campaign->CampaignRunning()) && !deadline.hasExpired()) {
            started = started || campaign->CampaignRunning();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        ASSERT_TRUE(started);
        ASSERT_FALSE(campaign->CampaignRunning());
        const project::ProjectModel& project = frame.Explorer().Project();
        for (const auto& test : project.Campaigns.at(0)->TestSets.at(0)->Tests) {
            const execution::RunRecord* record = campaign->Record(static_cast<int>(test->Id));
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->resultCode, execution::kResultOk) << test->Name;
        }
        EXPECT_TRUE(prompter->record.Texts().empty());
        EXPECT_EQ(runs.rowCount(), 2);
    }
    shell::InstallPrompter(std::make_unique<QuietPrompter>());
    fs::remove_all(root);
}

}  // namespace
}  // namespace zov::scriptview
