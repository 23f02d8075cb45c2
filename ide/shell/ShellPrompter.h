#pragma once
// The prompters of the windowed IDE: every message box, file, folder and colour dialog and every
// modal dialog of the IDE runs through one of them. The window prompter shows real windows; the
// scripted one answers from a file (ZOV_IDE_PROMPTER_SCRIPT) or, in a batch run without a file,
// escapes every prompt, so that tests and batch runs never wait on a window.

#include "ide/shell/ScriptedPrompter.h"
#include "ide/shell/core/Prompter.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QDialog;

namespace zov::shell {

class ShellPrompter : public Prompter {
public:
    // Runs a modal dialog to its end: QDialog::Accepted or QDialog::Rejected, as exec() gives. A
    // themed dialog is initialised first (translated, data in).
    virtual int Exec(QDialog& dialog) = 0;
};

// Message boxes titled "ZOV" with the buttons "OK", "Oui", "Non", "Annuler" in the installed
// language; the toolkit's file and colour dialogs; the shared folder picker.
class WindowPrompter final : public ShellPrompter {
public:
    explicit WindowPrompter(QWidget* parent = nullptr, PromptLog log = PromptLog::FromEnvironment());

    // The window the prompts are shown over (the main frame once it exists).
    void SetParent(QWidget* parent) { parent_ = parent; }

    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override;
    std::optional<std::string> OpenFile(const FileRequest& request) override;
    std::optional<std::string> SaveFile(const FileRequest& request) override;
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override;
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override;
    void Beep() override;
    int Exec(QDialog& dialog) override;

private:
    QPointer<QWidget> parent_;
    PromptLog log_;
};

// A scripted dialog is initialised as showing would and then ended through its own accept() or
// reject(), so that what its OK handling does happens, without being shown. When its accept()
// refuses to end it, it is ended through reject() instead.
class ScriptedShellPrompter final : public ShellPrompter {
public:
    ScriptedShellPrompter(std::filesystem::path script, PromptLog log, std::FILE* errors = stderr);

    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override;
    std::optional<std::string> OpenFile(const FileRequest& request) override;
    std::optional<std::string> SaveFile(const FileRequest& request) override;
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override;
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override;
    int Exec(QDialog& dialog) override;

private:
    ScriptedPrompter answers_;
};

// The file named by ZOV_IDE_PROMPTER_SCRIPT answers when set; otherwise a batch run escapes every
// prompt (and writes it to standard error) and an interactive run shows windows.
std::unique_ptr<ShellPrompter> MakePrompterFromEnvironment(bool batch);

// The prompter the IDE's windows use; a window prompter until another is installed.
ShellPrompter& ActivePrompter();
void InstallPrompter(std::unique_ptr<ShellPrompter> prompter);

// For objects that keep a prompter for good: each prompt goes to the prompter active at the time.
Prompter& ActivePrompterForward();

// The button texts of the message boxes, before translation.
inline constexpr const char* kBoxTitle = "ZOV";
inline constexpr const char* kButtonOk = "OK";
inline constexpr const char* kButtonYes = "Oui";
inline constexpr const char* kButtonNo = "Non";
inline constexpr const char* kButtonCancel = "Annuler";

}  // namespace zov::shell
