// The script view inside the main window: each document's view, its kind from the loaded file,
// and the window's run commands reaching the active view.
#include "ide/scriptview/ScriptViewParts.h"
#include "ide/scriptview/ZOVView.h"

#include "ide/shell/MainFrame.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/CommandTable.h"

#include "tests/common/gui/QtTestSupport.h"
#include "tests/support/FileText.h"

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace zov::scriptview {
namespace {

namespace fs = std::filesystem;

class LoggedPrompter final : public shell::ShellPrompter {
public:
    shell::RecordingPrompter record;
    shell::PromptAnswer Ask(const std::string& text, shell::PromptIcon icon, shell::PromptButtons buttons) override
    {
        return record.Ask(text, icon, buttons);
    }
    std::optional<std::string> OpenFile(const shell::FileRequest& request) override { return record.OpenFile(request); }
    std::optional<std::string> SaveFile(const shell::FileRequest& request) override { return record.SaveFile(request); }
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& folder) override
    {
        return record.BrowseFolder(title, folder);
    }
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override
    {
        return record.ChooseColour(title, initial);
    }
    int Exec(QDialog&) override { return 0; }
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
        application_ = std::make_unique<shell::ApplicationCore>(
            shell::ApplicationCore::Places{root_ / "prog", root_ / "prog" / "ZOV.ini", root_ / "tmp"});
        shell::ApplicationParts parts;
        AddScriptViews(parts);
        shell::FrameParts frameParts;
        parts.frameParts(frameParts, *application_);
        frame_ = std::make_unique<shell::MainFrame>(*application_, std::move(frameParts));
        parts.frameReady(*frame_, *application_);
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

}  // namespace
}  // namespace zov::scriptview
