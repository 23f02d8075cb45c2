// Test support for widget code that asks through the prompter: message boxes, file, folder and
// colour requests are answered from the queue of a RecordingPrompter and logged there (file
// requests also kept whole); a modal dialog is cancelled unless the test overrides Exec.
#pragma once

#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/Prompter.h"

#include <QDialog>

#include <vector>

namespace zov::shell::test {

class RecordedShellPrompter : public ShellPrompter {
public:
    RecordingPrompter record;
    std::vector<FileRequest> requests;

    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override
    {
        return record.Ask(text, icon, buttons);
    }
    std::optional<std::string> OpenFile(const FileRequest& request) override
    {
        requests.push_back(request);
        return record.OpenFile(request);
    }
    std::optional<std::string> SaveFile(const FileRequest& request) override
    {
        requests.push_back(request);
        return record.SaveFile(request);
    }
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override
    {
        return record.BrowseFolder(title, initialFolder);
    }
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override
    {
        return record.ChooseColour(title, initial);
    }
    void Beep() override { record.Beep(); }
    int Exec(QDialog&) override { return QDialog::Rejected; }
};

}  // namespace zov::shell::test
