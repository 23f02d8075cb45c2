#pragma once

// What the output panes need from the windows around them, given once when the bar is made: the
// language, the prompter, and the main frame's services as plain calls (empty calls do nothing),
// so that the panes stand alone in tests and in the preview.

#include <functional>
#include <string>

#include "ide/execution/model/RunRecord.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/Translate.h"

namespace zov::output {

struct OutputContext {
    shell::Translate translate = shell::IdentityTranslate();
    // Null: the IDE's active prompter.
    shell::ShellPrompter* prompter = nullptr;

    // Opens a script at a 1-based line; `errorMark` puts the error mark on it.
    std::function<void(const std::string& path, int line, bool errorMark)> openScriptAtLine;
    // Opens the test's script at its result line (runs pane "Charge le script").
    std::function<void(execution::RunRecord& record)> openTestScript;
    // True while a campaign step is current (the runs list must not change then).
    std::function<bool()> campaignStepCurrent;
    // True while a script runs.
    std::function<bool()> scriptRunning;
    // The active script view sends a watched variable's new value to its engine.
    std::function<void(const std::string& name, const std::string& value)> sendSetVal;
    // Commands the panes' toolbars carry that the main frame handles (find in scripts and the
    // like); the id of the command.
    std::function<void(int command)> frameCommand;

    std::string Tr(std::string_view text) const { return translate ? translate(text) : std::string(text); }
    shell::ShellPrompter& Prompter() const { return prompter ? *prompter : shell::ActivePrompter(); }
};

}  // namespace zov::output
