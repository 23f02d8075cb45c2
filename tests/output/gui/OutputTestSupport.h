// A prompter for the panes' tests: boxes and file dialogs answer from a queue and are recorded;
// modal dialogs are handed to a function that fills them and says how they end.
#pragma once

#include "ide/output/OutputContext.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"
#include "ide/shell/ThemedDialog.h"
#include "tests/common/gui/QtTestSupport.h"

#include <QDialog>

#include <gtest/gtest.h>

#include <functional>

namespace zov::output::testing {

class PanePrompter final : public shell::test::RecordedShellPrompter {
public:
    // Null: every dialog is cancelled.
    std::function<int(QDialog&)> onExec;
    int dialogs = 0;

    int Exec(QDialog& dialog) override
    {
        ++dialogs;
        if (auto* themed = qobject_cast<shell::ThemedDialogBase*>(&dialog))
            themed->InitialiseOnce();
        if (!onExec)
            return QDialog::Rejected;
        const int result = onExec(dialog);
        return result;
    }
};

// A context whose prompter is `prompter`, with every frame call recorded in `calls`.
inline OutputContext MakeContext(PanePrompter& prompter, std::vector<std::string>& calls)
{
    OutputContext context;
    context.prompter = &prompter;
    context.openScriptAtLine = [&calls](const std::string& path, int line, bool mark) {
        calls.push_back("open " + path + ":" + std::to_string(line) + (mark ? " mark" : ""));
    };
    context.openTestScript = [&calls](execution::RunRecord& record) { calls.push_back("test " + record.testName); };
    context.sendSetVal = [&calls](const std::string& name, const std::string& value) {
        calls.push_back("setval " + name + "=" + value);
    };
    context.frameCommand = [&calls](int id) { calls.push_back("command " + std::to_string(id)); };
    return context;
}

// A pane test's fixture: the application, a recording prompter, and a context whose frame calls
// are recorded in `calls`.
class PaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        context = MakeContext(prompter, calls);
    }
    PanePrompter prompter;
    std::vector<std::string> calls;
    OutputContext context;
};

}  // namespace zov::output::testing
