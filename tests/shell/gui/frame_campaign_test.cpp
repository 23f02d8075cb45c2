#include "ide/shell/FrameCampaign.h"

#include "common/AtomicFile.h"
#include "ide/project/model/BatchFile.h"
#include "ide/shell/FrameStandIns.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ScriptDocument.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/shell/gui/FrameTestSupport.h"
#include "tests/shell/gui/RecordedShellPrompter.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;
using namespace command_ids;

// Records every prompt; answers OK.
class RecordPrompter final : public test::RecordedShellPrompter {};

// A script view whose run lasts until the test ends it; it reports to the frame as a real view
// does: its end, its stop (then its end), its "syn" lines, each with itself and its ticket.
class FakeView final : public IScriptView {
public:
    FakeView(MainFrame& frame, std::set<FakeView*>& live, ScriptDocument& document)
        : frame_(frame), live_(live), document_(document), editor_(new QPlainTextEdit)
    {
        live_.insert(this);
    }
    ~FakeView() override
    {
        live_.erase(this);
        delete editor_;
    }
    std::string Name() const { return fs::path(document_.Path()).stem().string(); }
    QWidget& Widget() override { return *editor_; }
    void PushTextToBuffer() override {}
    void PullTextFromBuffer() override {}
    bool IsRunning() const override { return running_; }
    void Stop() override
    {
        if (!running_)
            return;
        running_ = false;
        record_->resultCode = 3;
        frame_.RunEvents()->UserStopped(*this, ticket_);
        frame_.RunEvents()->ScriptEnded(*this, record_, ticket_);
    }
    void SendSync(int value) override { syncs.push_back(value); }
    bool HasBreakpoints() const override { return breakpoints; }
    void RefreshMacroFolding() override {}
    void SetShowExecution(bool) override {}
    QString WordAtCaret() override { return {}; }
    bool CaretCommand(int) override { return false; }
    bool HasFocus() const override { return false; }
    bool Copy() override { return false; }
    bool Paste() override { return false; }
    bool HasSelection() const override { return false; }
    Position CaretPosition() const override { return {}; }
    bool Overwrite() const override { return false; }
    bool StartCampaignRun(execution::RunRecord& record, bool, RunTicket ticket) override
    {
        record_ = &record;
        ticket_ = ticket;
        running_ = true;
        record.resultCode = 2;
        frame_.RunEvents()->CountRunningScript(true);
        return true;
    }

    void Finish(int result)
    {
        running_ = false;
        record_->resultCode = result;
        frame_.RunEvents()->ScriptEnded(*this, record_, ticket_);
    }
    void Sync(int value) { frame_.RunEvents()->SyncBroadcast(*this, value); }
    // A run by hand: no record, no ticket.
    void RunByHand() { running_ = true; }

    std::vector<int> syncs;
    bool breakpoints = false;

private:
    MainFrame& frame_;
    std::set<FakeView*>& live_;
    ScriptDocument& document_;
    QPointer<QPlainTextEdit> editor_;
    execution::RunRecord* record_ = nullptr;
    std::optional<RunTicket> ticket_;
    bool running_ = false;
};

bool WaitUntil(const std::function<bool()>& done, int milliseconds = 10000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

class FrameCampaignTest : public test::FrameTestBase<RecordPrompter> {
protected:
    FrameCampaignTest() : FrameTestBase("frame_campaign") {}
    void SetUp() override
    {
        FrameTestBase::SetUp();
        FrameParts parts;
        parts.makeView = [this](ScriptDocument& document, MainFrame& frame) {
            return std::make_unique<FakeView>(frame, views_, document);
        };
        frame_ = std::make_unique<MainFrame>(*application_, std::move(parts));
        frame_->show();
        campaign_ = new FrameCampaign(*frame_, [this](const project::ProjectModel& project, const std::string& path,
                                                      ReportWriterKind kind, int version) {
            reports_.push_back({project.Name, path, kind, version});
            return WriteFileAtomically(path, "report");
        });
        campaign_->SetQuit([this](int status) { quitStatus_ = status; });
    }

    // A project of one campaign of one test set (mode 0 sequential, 1 parallel) over the named
    // scripts, with one version "V1".
    std::string WriteProject(const std::string& name, int mode, const std::vector<std::string>& scripts)
    {
        project::ProjectModel model;
        model.Name = name;
        model.InterfacePath = (root_ / "work" / "p.qzi").string();
        EXPECT_TRUE(WriteFileAtomically(root_ / "work" / "p.qzi", ";\r\n"));
        auto version = std::make_unique<project::CVersion>();
        version->Id = 1;
        version->Name = "V1";
        model.Versions.push_back(std::move(version));
        project::CCampaign& campaign = *model.AddCampaign("C", project::kAddAtEnd, 0, nullptr);
        project::CTestSet& set = *model.AddTestSet(campaign, "S", project::kAddAtEnd, 0, mode, 0, nullptr);
        for (const std::string& script : scripts) {
            EXPECT_TRUE(WriteFileAtomically(root_ / "work" / (script + ".qzs"), "print 1\r\n"));
            model.AddTest(set, script + ".qzs", "T" + script, project::kAddAtEnd, 0, nullptr, 0);
        }
        const std::string path = (root_ / "work" / (name + ".qzp")).string();
        EXPECT_TRUE(model.SaveProjectFile(path));
        return path;
    }
    // Opens the project and selects its test set in the explorer's tree.
    void OpenAndSelectSet(const std::string& path)
    {
        ASSERT_TRUE(frame_->OpenProject(path));
        auto* tree = frame_->findChild<QTreeWidget*>("StandInTestTree");
        ASSERT_NE(tree, nullptr);
        const auto sets = tree->findItems("S", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(sets.size(), 1);
        tree->setCurrentItem(sets.front());
        ASSERT_EQ(frame_->Explorer().SelectedItemKind(), 1);
    }
    FakeView* View(const std::string& name)
    {
        for (FakeView* view : views_)
            if (view->Name() == name)
                return view;
        return nullptr;
    }
    bool Running(const std::string& name)
    {
        FakeView* view = View(name);
        return view != nullptr && view->IsRunning();
    }
    int Result(const std::string& test)
    {
        project::ProjectModel& project = frame_->Explorer().Project();
        for (const auto& campaign : project.Campaigns)
            for (const auto& set : campaign->TestSets)
                for (const auto& each : set->Tests)
                    if (each->Name == test) {
                        const project::CTestResult* result = project.FindResult(each->Id, 1);
                        return result != nullptr ? result->Value : -1;
                    }
        return -1;
    }

    struct Report {
        std::string project;
        std::string path;
        ReportWriterKind kind;
        int version;
    };

    FrameCampaign* campaign_ = nullptr;
    std::set<FakeView*> views_;
    std::vector<Report> reports_;
    std::optional<int> quitStatus_;
};

TEST_F(FrameCampaignTest, SequentialSetRunsItsTestsInOrderAndRecordsTheirResults)
{
    OpenAndSelectSet(WriteProject("p", 0, {"a", "b"}));
    frame_->Command(kRecordResults)->trigger();
    ASSERT_TRUE(frame_->RecordResults());
    EXPECT_FALSE(frame_->Command(kStopAllTests)->isEnabled());

    frame_->Command(kRunCampaign)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Running("a"); }));
    EXPECT_FALSE(Running("b"));
    EXPECT_TRUE(frame_->Command(kStopAllTests)->isEnabled());
    View("a")->Finish(1);
    ASSERT_TRUE(WaitUntil([&] { return Running("b"); }));
    // The first test's view gave way to the second's.
    EXPECT_EQ(View("a"), nullptr);
    View("b")->Finish(0);
    ASSERT_TRUE(WaitUntil([&] { return !campaign_->CampaignRunning(); }));

    EXPECT_EQ(Result("Ta"), 1);
    EXPECT_EQ(Result("Tb"), 0);
    EXPECT_FALSE(frame_->Command(kStopAllTests)->isEnabled());
    EXPECT_TRUE(prompter_->record.Texts().empty());
}

TEST_F(FrameCampaignTest, HideOnExecutionHidesTheWindowWhileTheRunLasts)
{
    campaign_->Campaign().SetHideOnExecution(true);
    OpenAndSelectSet(WriteProject("p", 0, {"a"}));
    frame_->Command(kRunCampaign)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Running("a"); }));
    EXPECT_TRUE(frame_->HiddenInTray());
    View("a")->Finish(1);
    ASSERT_TRUE(WaitUntil([&] { return !campaign_->CampaignRunning(); }));
    EXPECT_FALSE(frame_->HiddenInTray());
}

TEST_F(FrameCampaignTest, RunCommandDuringARunOnlyTellsToStopTheScripts)
{
    OpenAndSelectSet(WriteProject("p", 0, {"a", "b"}));
    frame_->Command(kRunCampaign)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Running("a"); }));
    frame_->Command(kRunCampaign)->trigger();
    EXPECT_EQ(prompter_->record.Texts(), std::vector<std::string>{"Arrêter les scripts en cours d'exécution !"});
    QCoreApplication::processEvents();
    EXPECT_TRUE(Running("a"));
    EXPECT_FALSE(Running("b"));
}

TEST_F(FrameCampaignTest, WithoutSelectionTheRunCommandDoesNothing)
{
    ASSERT_TRUE(frame_->OpenProject(WriteProject("p", 0, {"a"})));
    frame_->Command(kRunCampaign)->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(views_.empty());
    EXPECT_FALSE(campaign_->CampaignRunning());
    EXPECT_TRUE(prompter_->record.Texts().empty());
}

TEST_F(FrameCampaignTest, SyncReachesTheOtherRunningViewsOnlyAndStopAllStopsEveryView)
{
    OpenAndSelectSet(WriteProject("p", 1, {"a", "b", "c"}));
    // A script opened and not running takes no number (its breakpoints keep it open).
    ASSERT_TRUE(WriteFileAtomically(root_ / "work" / "idle.qzs", "print 1\r\n"));
    ASSERT_NE(frame_->OpenDocument((root_ / "work" / "idle.qzs").string()), nullptr);
    ASSERT_NE(View("idle"), nullptr);
    View("idle")->breakpoints = true;
    frame_->Command(kRunCampaign)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Running("a") && Running("b") && Running("c"); }));

    View("a")->Sync(7);
    ASSERT_TRUE(WaitUntil([&] { return !View("b")->syncs.empty(); }));
    EXPECT_EQ(View("a")->syncs, std::vector<int>{});
    EXPECT_EQ(View("b")->syncs, std::vector<int>{7});
    EXPECT_EQ(View("c")->syncs, std::vector<int>{7});
    ASSERT_NE(View("idle"), nullptr);
    EXPECT_EQ(View("idle")->syncs, std::vector<int>{});

    ASSERT_TRUE(frame_->Command(kStopAllTests)->isEnabled());
    frame_->Command(kStopAllTests)->trigger();
    EXPECT_FALSE(Running("a") || Running("b") || Running("c"));
    EXPECT_FALSE(campaign_->CampaignRunning());
    // The stops and ends the views send afterwards start nothing.
    QCoreApplication::processEvents();
    EXPECT_FALSE(campaign_->CampaignRunning());
    EXPECT_FALSE(frame_->Command(kStopAllTests)->isEnabled());
}

TEST_F(FrameCampaignTest, SyncFromAScriptRunByHandReachesTheCampaignsViews)
{
    OpenAndSelectSet(WriteProject("p", 1, {"a", "b"}));
    ASSERT_TRUE(WriteFileAtomically(root_ / "work" / "hand.qzs", "print 1\r\n"));
    ASSERT_NE(frame_->OpenDocument((root_ / "work" / "hand.qzs").string()), nullptr);
    View("hand")->RunByHand();
    frame_->Command(kRunCampaign)->trigger();
    ASSERT_TRUE(WaitUntil([&] { return Running("a") && Running("b"); }));
    View("hand")->Sync(3);
    ASSERT_TRUE(WaitUntil([&] { return !View("a")->syncs.empty(); }));
    EXPECT_EQ(View("b")->syncs, std::vector<int>{3});
    EXPECT_EQ(View("hand")->syncs, std::vector<int>{});
}

TEST_F(FrameCampaignTest, BatchRunsEachEntryWritesItsReportsAndQuits)
{
    struct Case {
        const char* name;
        bool missingProject;  // a second entry naming no project is skipped
        int status;
    };
    const Case cases[] = {{"two entries", false, 0}, {"an entry without project", true, 1}};
    for (const Case& c : cases) {
        reports_.clear();
        quitStatus_.reset();
        const std::string first = WriteProject("first", 0, {"a"});
        const std::string second = WriteProject("second", 0, {"b", "c"});
        project::Batch& batch = frame_->BatchFile();
        batch.Entries.clear();
        const auto add = [&batch](std::string project, std::string report) {
            auto entry = std::make_unique<project::CBatchEntry>();
            entry->Filename = std::move(project);
            entry->Version = "V1";
            entry->Report = std::move(report);
            batch.Entries.push_back(std::move(entry));
        };
        const std::string firstReport = (root_ / "work" / "r1.html").string();
        const std::string secondReport = (root_ / "work" / "r2.csv").string();
        add(first, firstReport);
        if (c.missingProject)
            add((root_ / "work" / "none.qzp").string(), (root_ / "work" / "none.xml").string());
        add(second, secondReport);
        fs::remove(root_ / "work" / "first.res");
        fs::remove(root_ / "work" / "second.res");

        campaign_->StartBatch();
        ASSERT_TRUE(WaitUntil([&] { return Running("a"); })) << c.name;
        View("a")->Finish(1);
        ASSERT_TRUE(WaitUntil([&] { return Running("b"); })) << c.name;
        View("b")->Finish(1);
        ASSERT_TRUE(WaitUntil([&] { return Running("c"); })) << c.name;
        View("c")->Finish(1);
        ASSERT_TRUE(WaitUntil([&] { return quitStatus_.has_value(); })) << c.name;

        EXPECT_EQ(*quitStatus_, c.status) << c.name;
        ASSERT_EQ(reports_.size(), 2u) << c.name;
        EXPECT_EQ(reports_[0].project, "first");
        EXPECT_EQ(reports_[0].path, firstReport);
        EXPECT_EQ(reports_[0].kind, ReportWriterKind::Html);
        EXPECT_EQ(reports_[0].version, 0);
        EXPECT_EQ(reports_[1].project, "second");
        EXPECT_EQ(reports_[1].kind, ReportWriterKind::Csv);
        EXPECT_TRUE(fs::exists(firstReport) && fs::exists(secondReport));
        EXPECT_TRUE(fs::exists(root_ / "work" / "first.res")) << c.name;
        EXPECT_TRUE(fs::exists(root_ / "work" / "second.res")) << c.name;
        EXPECT_FALSE(fs::exists(root_ / "work" / "none.xml")) << c.name;
        // The version named by the entry had recording on.
        EXPECT_EQ(Result("Tc"), 1) << c.name;
        frame_->CloseAll(false);
    }
}

TEST_F(FrameCampaignTest, BatchCommandAsksForABatchFileAndRunsIt)
{
    project::BatchEntries entries;
    entries.push_back(std::make_unique<project::CBatchEntry>());
    entries.back()->Filename = WriteProject("first", 0, {"a"});
    entries.back()->Version = "V1";
    entries.back()->Report = (root_ / "work" / "r.xml").string();
    const std::string batch = (root_ / "work" / "b.qzb").string();
    ASSERT_TRUE(project::WriteBatchFile(batch, 0, entries));

    // A batch file that cannot be read starts nothing.
    const std::string missing = (root_ / "work" / "none.qzb").string();
    prompter_->record.Queue(PromptAnswer::Ok, missing);
    frame_->Command(kRunBatch)->trigger();
    EXPECT_EQ(prompter_->record.Texts().back(), "Impossible de charger le fichier:\n" + missing);
    EXPECT_FALSE(frame_->BatchMode());

    prompter_->record.Queue(PromptAnswer::Ok, batch);
    frame_->Command(kRunBatch)->trigger();
    ASSERT_EQ(prompter_->requests.size(), 2u);
    EXPECT_EQ(prompter_->requests[1].title, "Charger");
    EXPECT_EQ(prompter_->requests[1].filter, "Fichier batch ZOV|*.qzb|");
    EXPECT_EQ(prompter_->requests[1].initialPath, "*.qzb");
    ASSERT_TRUE(WaitUntil([&] { return Running("a"); }));
    EXPECT_TRUE(frame_->BatchMode());
    View("a")->Finish(1);
    ASSERT_TRUE(WaitUntil([&] { return quitStatus_.has_value(); }));
    EXPECT_EQ(*quitStatus_, 0);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].kind, ReportWriterKind::JUnitXml);
    EXPECT_EQ(reports_[0].version, 0);
}

// The program started beside a run ends with it: asked with SIGTERM, killed when it stays, and
// reaped either way.
TEST_F(FrameCampaignTest, BackgroundProgramIsTerminatedAndReaped)
{
    struct Case {
        const char* name;
        const char* script;
    };
    const Case cases[] = {
        {"ends on SIGTERM", "echo $$ > pid.txt; exec tail -f /dev/null"},
        {"ignores SIGTERM", "trap '' TERM; echo $$ > pid.txt; exec tail -f /dev/null"},
    };
    ASSERT_TRUE(frame_->OpenProject(WriteProject("p", 0, {"a"})));
    const fs::path pidFile = root_ / "work" / "pid.txt";
    for (const Case& c : cases) {
        fs::remove(pidFile);
        campaign_->StartBackProgram("/bin/sh", std::string("-c \"") + c.script + "\"", false);
        pid_t pid = 0;
        ASSERT_TRUE(WaitUntil([&] {
            std::ifstream file(pidFile);
            return static_cast<bool>(file >> pid) && pid > 0;
        })) << c.name;
        ASSERT_EQ(::kill(pid, 0), 0) << c.name;
        campaign_->TerminateBackProgram();
        errno = 0;
        EXPECT_EQ(::kill(pid, 0), -1) << c.name;
        EXPECT_EQ(errno, ESRCH) << c.name;
    }
}

}  // namespace
}  // namespace zov::shell
