// Helpers of the editor dialog tests: a prompter that records messages and hands each modal
// dialog to a queued handler, and a settings file of the test's own.
#pragma once

#include "tests/editor/gui/EditorViewTestSupport.h"

#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/Settings.h"
#include "tests/shell/gui/DialogQueue.h"

#include <QDialog>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace zov::editor::test {

// Messages are recorded and answered OK; a modal dialog is initialised as showing would, then
// handed to the next queued handler, which fills its controls and ends it. No handler: cancelled.
class DialogPrompter final : public shell::ShellPrompter {
public:
    using Handler = shell::test::DialogQueue::Handler;

    void QueueDialog(Handler handler) { dialogQueue_.Push(std::move(handler)); }

    shell::PromptAnswer Ask(const std::string& text, shell::PromptIcon, shell::PromptButtons) override
    {
        messages.push_back(text);
        return shell::PromptAnswer::Ok;
    }
    std::optional<std::string> OpenFile(const shell::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> SaveFile(const shell::FileRequest&) override { return std::nullopt; }
    std::optional<std::string> BrowseFolder(const std::string&, const std::string&) override { return std::nullopt; }
    std::optional<std::uint32_t> ChooseColour(const std::string&, std::uint32_t) override { return std::nullopt; }
    void Beep() override { ++beeps; }

    int Exec(QDialog& dialog) override
    {
        dialogs.push_back(dialog.objectName().toStdString());
        return dialogQueue_.Run(dialog);
    }

    std::vector<std::string> messages;
    std::vector<std::string> dialogs;  // object names, in order
    int beeps = 0;

private:
    shell::test::DialogQueue dialogQueue_;
};

// A shown editor with its own ZOV.ini and prompter.
class EditorWithSettings : public ShownEditor {
protected:
    void SetUp() override
    {
        ShownEditor::SetUp();
        folder_ =
            std::filesystem::temp_directory_path() / ("zov_editor_dialogs_" + std::to_string(::getpid()) + "_" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        settings_ = std::make_unique<shell::Settings>(folder_ / "ZOV.ini", folder_);
    }
    void TearDown() override
    {
        view_.reset();
        std::filesystem::remove_all(folder_);
    }

    // Shows the text in a view whose commands use this test's settings and prompter.
    void ShowWithCommands(std::string_view text)
    {
        Show(text);
        view_->Commands().SetSettings(settings_.get());
        view_->Commands().SetPrompter(&prompter_);
    }

    std::filesystem::path folder_;
    std::unique_ptr<shell::Settings> settings_;
    DialogPrompter prompter_;
};

}  // namespace zov::editor::test
