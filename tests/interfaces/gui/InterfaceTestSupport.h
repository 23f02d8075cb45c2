// Doubles for the widget tests of the interface lists and dialogs: a prompter that records every
// prompt and answers dialogs with handlers queued by the test, and a main frame that records
// the macro windows it was asked to open and the refreshes.
#pragma once

#include "ide/interfaces/InterfaceHost.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"
#include "tests/common/gui/QtTestSupport.h"
#include "tests/shell/gui/DialogQueue.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zov::interfaces::test {

// Answers Ask and the file dialogs from a queue, like RecordingPrompter; a modal dialog is
// initialised as showing would, then handed to the next queued handler, which fills its controls
// and ends it (clicking a button or calling accept/reject). No handler: the dialog is cancelled.
class TestPrompter final : public shell::test::RecordedShellPrompter {
public:
    using Handler = shell::test::DialogQueue::Handler;

    void Queue(shell::PromptAnswer answer, std::string value = {}) { record.Queue(answer, std::move(value)); }
    void QueueDialog(Handler handler) { dialogQueue_.Push(std::move(handler)); }

    int Exec(QDialog& dialog) override
    {
        dialogTitles.push_back(dialog.windowTitle().toStdString());
        return dialogQueue_.Run(dialog);
    }

    // Prompt texts (message boxes, questions, file and folder dialogs), in order.
    std::vector<std::string> Texts() const { return record.Texts(); }
    const std::vector<shell::RecordingPrompter::Prompt>& Prompts() const { return record.Prompts(); }
    int Beeps() const { return record.Beeps(); }
    std::size_t PendingDialogs() const { return dialogQueue_.Pending(); }

    std::vector<std::string> dialogTitles;

private:
    shell::test::DialogQueue dialogQueue_;
};

// The main frame as the lists see it.
class RecordingHost final : public InterfaceHost {
public:
    void OpenMacroFile(MacroRecord& record) override { calls.push_back("open " + record.name); }
    void ShowMacroReadOnly(const MacroRecord& record) override { calls.push_back("show " + record.name); }
    void CloseMacroFile(const std::string& name) override { calls.push_back("close " + name); }
    void InterfacesChanged() override { ++refreshes; }
    std::string EngineFolder() const override { return engineFolder; }

    std::vector<std::string> calls;
    int refreshes = 0;
    std::string engineFolder;
};

// Control helpers for handlers.
template <typename Control>
Control& Find(QWidget& window, int id)
{
    auto* control = shell::FindControl<Control>(window, id);
    if (control == nullptr)
        throw std::runtime_error("no control " + std::to_string(id));
    return *control;
}

inline void SetText(QWidget& window, int id, const QString& text)
{
    if (auto* edit = shell::FindControl<QLineEdit>(window, id))
        edit->setText(text);
    else
        Find<QPlainTextEdit>(window, id).setPlainText(text);
}

inline void Click(QWidget& window, int id)
{
    Find<QAbstractButton>(window, id).click();
}

inline void ClickOk(QDialog& dialog)
{
    Click(dialog, 1);
}

// Whether the control shows once its window is shown.
inline bool Shown(QWidget& window, int id)
{
    QWidget* control = shell::FindControl<QWidget>(window, id);
    return control != nullptr && control->isVisibleTo(&window);
}

}  // namespace zov::interfaces::test
