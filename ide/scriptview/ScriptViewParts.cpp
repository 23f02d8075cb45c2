#include "ide/scriptview/ScriptViewParts.h"

#include "ide/scriptview/ZOVView.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"

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

void AddScriptViews(shell::ApplicationParts& parts)
{
    // One host for the program's views; it lives as long as the hooks that hold it.
    auto host = std::make_shared<std::unique_ptr<FrameRunHost>>();
    auto previousParts = std::move(parts.frameParts);
    parts.frameParts = [host, previousParts](shell::FrameParts& frameParts, shell::ApplicationCore& application) {
        if (previousParts)
            previousParts(frameParts, application);
        *host = std::make_unique<FrameRunHost>(application);
        frameParts.makeView = [host, &application](shell::ScriptDocument& document, shell::MainFrame&) {
            ScriptViewServices services;
            services.host = host->get();
            services.prompter = &shell::ActivePrompter();
            services.translate = application.Translator();
            return std::unique_ptr<shell::IScriptView>(
                std::make_unique<ScriptViewAdapter>(document, std::move(services)));
        };
    };
    auto previousReady = std::move(parts.frameReady);
    parts.frameReady = [host, previousReady](shell::MainFrame& frame, shell::ApplicationCore& application) {
        if (previousReady)
            previousReady(frame, application);
        if (*host)
            (*host)->AttachFrame(&frame);
        using namespace view_commands;
        for (const int id : {kRun, kVerify, kNextLine, kStop, kBreak, kFreeze}) {
            frame.AddCommandHandler(id, [&frame, id] {
                auto* adapter = dynamic_cast<ScriptViewAdapter*>(frame.GetActiveScriptView());
                if (adapter != nullptr && adapter->View() != nullptr)
                    adapter->View()->ExecuteCommand(id);
            });
        }
    };
}

}  // namespace zov::scriptview
