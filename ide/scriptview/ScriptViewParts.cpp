#include "ide/scriptview/ScriptViewParts.h"

#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/output/OutputBar.h"
#include "ide/scriptview/ZOVView.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/core/DocumentRules.h"

#include <QAction>

#include <memory>

namespace zov::scriptview {

execution::ExecutionSettings FrameRunHost::Settings()
{
    execution::ExecutionSettings settings;
    settings.programFolder = application_.GetProgramFolder().string();
    settings.tempFolder = application_.GetTempFolder();
    const shell::ApplicationSettings& values = application_.Values();
    if (!values.engine.empty())
        settings.engine = values.engine;
    settings.enginePath = values.enginePath;
    settings.engineParams = values.engineParams;
    if (frame_ != nullptr) {
        const shell::FrameSettings& frame = frame_->Values();
        settings.showExecution = frame.showExecution != 0;
        settings.timeoutFunction = frame.timeoutFunction;
        settings.linePause = frame.linePauseMs;
    }
    return settings;
}

PanesFactory OutputBarPanes()
{
    return [](shell::MainFrame& frame, const std::string& scriptPath) -> std::unique_ptr<execution::RunSinks> {
        auto* bar = dynamic_cast<output::OutputPaneBar*>(&frame.Output());
        if (bar == nullptr)
            return nullptr;
        return std::make_unique<output::PaneRunSinks>(
            *bar, output::ScriptEntry{std::string(shell::BaseFileName(scriptPath)), scriptPath});
    };
}

namespace {

// What the program's views share; it lives as long as the factory that holds it.
struct SharedRunParts {
    explicit SharedRunParts(shell::ApplicationCore& application) : host(application) {}
    FrameRunHost host;
    std::unique_ptr<InterfaceSetRun> interfaces;
    interfaces::InterfaceSet* set = nullptr;
    shell::MainFrame* commandsFrame = nullptr;
};

void AddRunCommands(shell::MainFrame& frame)
{
    using namespace view_commands;
    for (const int id : {kRun, kVerify, kNextLine, kStop, kBreak, kFreeze}) {
        frame.AddCommandHandler(id, [&frame, id] {
            auto* adapter = dynamic_cast<ScriptViewAdapter*>(frame.GetActiveScriptView());
            if (adapter != nullptr && adapter->View() != nullptr)
                adapter->View()->ExecuteCommand(id);
        });
    }
}

}  // namespace

void PlugScriptViews(shell::FrameParts& parts, shell::ApplicationCore& application, PanesFactory makePanes)
{
    auto shared = std::make_shared<SharedRunParts>(application);
    parts.makeView = [shared, makePanes, &application](shell::ScriptDocument& document, shell::MainFrame& frame) {
        shared->host.AttachFrame(&frame);
        if (shared->commandsFrame != &frame) {
            shared->commandsFrame = &frame;
            AddRunCommands(frame);
        }
        interfaces::InterfaceSet* set = frame.Interfaces().Model();
        if (set != shared->set) {
            shared->set = set;
            shared->interfaces = set != nullptr ? std::make_unique<InterfaceSetRun>(*set) : nullptr;
        }
        ScriptViewServices services;
        services.host = &shared->host;
        services.interfaces = shared->interfaces.get();
        services.prompter = &shell::ActivePrompter();
        services.translate = application.Translator();
        services.settings = &frame.GetSettings();
        if (set != nullptr) {
            services.names = set;
            services.expandMacro = [set](const std::string& name, int depth) { return set->ExpandMacro(name, depth); };
            services.findLanguage = [set](const std::string& name) { return set->FindSyntaxLanguage(name); };
        }
        if (makePanes) {
            services.makePanes = [makePanes, &frame](const std::string& scriptPath) {
                return makePanes(frame, scriptPath);
            };
        }
        services.forwardCommand = [&frame](int id) {
            if (QAction* command = frame.Command(id); command != nullptr && command->isEnabled())
                command->trigger();
        };
        return std::unique_ptr<shell::IScriptView>(std::make_unique<ScriptViewAdapter>(document, std::move(services)));
    };
}

}  // namespace zov::scriptview
