#include "ide/shell/ShellPrompter.h"

#include "common/gui/FolderPicker.h"
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/UiLanguage.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>

namespace zov::shell {

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string ToUtf8(const QString& text)
{
    return text.toStdString();
}

QMessageBox::Icon BoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::None:
        return QMessageBox::NoIcon;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QColor FromColourRef(std::uint32_t colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

std::uint32_t ToColourRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

void InitialiseThemed(QDialog& dialog)
{
    if (auto* themed = qobject_cast<ThemedDialogBase*>(&dialog))
        themed->InitialiseOnce();
}

std::unique_ptr<ShellPrompter>& Active()
{
    static std::unique_ptr<ShellPrompter> prompter;
    return prompter;
}

}  // namespace

WindowPrompter::WindowPrompter(QWidget* parent, PromptLog log) : parent_(parent), log_(std::move(log)) {}

PromptAnswer WindowPrompter::Ask(const std::string& text, PromptIcon icon, PromptButtons buttons)
{
    log_.Write(KindOfBox(buttons), text);
    QMessageBox box(BoxIcon(icon), QString::fromLatin1(kBoxTitle), FromUtf8(text), QMessageBox::NoButton,
                    parent_.data());
    struct Choice {
        PromptAnswer answer;
        const char* text;
        QMessageBox::ButtonRole role;
    };
    std::vector<Choice> choices;
    switch (buttons) {
    case PromptButtons::Ok:
        choices = {{PromptAnswer::Ok, kButtonOk, QMessageBox::AcceptRole}};
        break;
    case PromptButtons::OkCancel:
        choices = {{PromptAnswer::Ok, kButtonOk, QMessageBox::AcceptRole},
                   {PromptAnswer::Cancel, kButtonCancel, QMessageBox::RejectRole}};
        break;
    case PromptButtons::YesNo:
        choices = {{PromptAnswer::Yes, kButtonYes, QMessageBox::YesRole},
                   {PromptAnswer::No, kButtonNo, QMessageBox::NoRole}};
        break;
    case PromptButtons::YesNoCancel:
        choices = {{PromptAnswer::Yes, kButtonYes, QMessageBox::YesRole},
                   {PromptAnswer::No, kButtonNo, QMessageBox::NoRole},
                   {PromptAnswer::Cancel, kButtonCancel, QMessageBox::RejectRole}};
        break;
    }
    std::vector<QPushButton*> pushButtons;
    for (const Choice& choice : choices)
        pushButtons.push_back(box.addButton(TranslateLabel(QString::fromUtf8(choice.text)), choice.role));
    box.setDefaultButton(pushButtons.front());
    // Escape (or the close button) answers as a batch run would.
    const PromptAnswer escape = EscapeAnswer(buttons);
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (choices[i].answer == escape)
            box.setEscapeButton(pushButtons[i]);
    }
    box.exec();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (box.clickedButton() == pushButtons[i])
            return choices[i].answer;
    }
    return escape;
}

std::optional<std::string> WindowPrompter::OpenFile(const FileRequest& request)
{
    log_.Write(PromptKind::Open, request.title);
    const QString path =
        QFileDialog::getOpenFileName(parent_.data(), FromUtf8(request.title), FromUtf8(request.initialPath),
                                     FromUtf8(ConvertFileFilter(request.filter)));
    if (path.isEmpty())
        return std::nullopt;
    return ToUtf8(path);
}

std::optional<std::string> WindowPrompter::SaveFile(const FileRequest& request)
{
    log_.Write(PromptKind::Save, request.title);
    const QString path =
        QFileDialog::getSaveFileName(parent_.data(), FromUtf8(request.title), FromUtf8(request.initialPath),
                                     FromUtf8(ConvertFileFilter(request.filter)));
    if (path.isEmpty())
        return std::nullopt;
    return ToUtf8(path);
}

std::optional<std::string> WindowPrompter::BrowseFolder(const std::string& title, const std::string& initialFolder)
{
    log_.Write(PromptKind::Folder, title);
    CFolderPicker picker;
    picker.title = FromUtf8(title);
    picker.caption = QString::fromLatin1(kBoxTitle);
    picker.initialFolder = FromUtf8(initialFolder);
    if (picker.Browse(parent_.data()) != 1)
        return std::nullopt;
    return ToUtf8(picker.result);
}

std::optional<std::uint32_t> WindowPrompter::ChooseColour(const std::string& title, std::uint32_t initial)
{
    log_.Write(PromptKind::Colour, title);
    const QColor colour = QColorDialog::getColor(FromColourRef(initial), parent_.data(), FromUtf8(title));
    if (!colour.isValid())
        return std::nullopt;
    return ToColourRef(colour);
}

void WindowPrompter::Beep()
{
    QApplication::beep();
}

int WindowPrompter::Exec(QDialog& dialog)
{
    InitialiseThemed(dialog);
    log_.Write(PromptKind::Dialog, ToUtf8(dialog.windowTitle()));
    return dialog.exec();
}

ScriptedShellPrompter::ScriptedShellPrompter(std::filesystem::path script, PromptLog log, std::FILE* errors)
    : answers_(std::move(script), std::move(log), errors)
{}

PromptAnswer ScriptedShellPrompter::Ask(const std::string& text, PromptIcon icon, PromptButtons buttons)
{
    return answers_.Ask(text, icon, buttons);
}

std::optional<std::string> ScriptedShellPrompter::OpenFile(const FileRequest& request)
{
    return answers_.OpenFile(request);
}

std::optional<std::string> ScriptedShellPrompter::SaveFile(const FileRequest& request)
{
    return answers_.SaveFile(request);
}

std::optional<std::string> ScriptedShellPrompter::BrowseFolder(const std::string& title,
                                                               const std::string& initialFolder)
{
    return answers_.BrowseFolder(title, initialFolder);
}

std::optional<std::uint32_t> ScriptedShellPrompter::ChooseColour(const std::string& title, std::uint32_t initial)
{
    return answers_.ChooseColour(title, initial);
}

int ScriptedShellPrompter::Exec(QDialog& dialog)
{
    InitialiseThemed(dialog);
    const bool ok = answers_.AnswerDialog(ToUtf8(dialog.windowTitle()));
    // A result no handler gives tells whether accept() or reject() really ended the dialog.
    constexpr int kNotEnded = -1;
    dialog.setResult(kNotEnded);
    if (ok) {
        dialog.accept();
        if (dialog.result() == kNotEnded)
            answers_.RefuseLastAnswer();
    }
    if (dialog.result() == kNotEnded)
        dialog.reject();
    if (dialog.result() == kNotEnded)
        dialog.setResult(QDialog::Rejected);
    return dialog.result();
}

std::unique_ptr<ShellPrompter> MakePrompterFromEnvironment(bool batch)
{
    const char* script = std::getenv(kPrompterScriptVariable);
    if (script != nullptr && script[0] != '\0')
        return std::make_unique<ScriptedShellPrompter>(script, PromptLog::FromEnvironment());
    if (batch)
        return std::make_unique<ScriptedShellPrompter>(std::filesystem::path(), PromptLog::FromEnvironment());
    return std::make_unique<WindowPrompter>();
}

ShellPrompter& ActivePrompter()
{
    std::unique_ptr<ShellPrompter>& active = Active();
    if (!active)
        active = std::make_unique<WindowPrompter>();
    return *active;
}

void InstallPrompter(std::unique_ptr<ShellPrompter> prompter)
{
    Active() = std::move(prompter);
}

namespace {

class ForwardToActive final : public Prompter {
public:
    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override
    {
        return ActivePrompter().Ask(text, icon, buttons);
    }
    std::optional<std::string> OpenFile(const FileRequest& request) override
    {
        return ActivePrompter().OpenFile(request);
    }
    std::optional<std::string> SaveFile(const FileRequest& request) override
    {
        return ActivePrompter().SaveFile(request);
    }
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override
    {
        return ActivePrompter().BrowseFolder(title, initialFolder);
    }
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override
    {
        return ActivePrompter().ChooseColour(title, initial);
    }
    void Beep() override { ActivePrompter().Beep(); }
};

}  // namespace

Prompter& ActivePrompterForward()
{
    static ForwardToActive forward;
    return forward;
}

}  // namespace zov::shell
