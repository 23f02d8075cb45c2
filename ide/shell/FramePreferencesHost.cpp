#include "ide/shell/FramePreferencesHost.h"

#include "ide/shell/MainFrame.h"

namespace zov::shell {

FramePreferences FramePreferencesHost::FrameValues() const
{
    const FrameSettings& values = frame_.Values();
    FramePreferences preferences;
    preferences.theme = values.theme;
    preferences.versionControl = values.versionControl;
    preferences.linePauseMs = values.linePauseMs;
    preferences.timeoutFunction = values.timeoutFunction;
    preferences.hideOnExecution = values.hideOnExecution != 0;
    preferences.saveTempResult = values.saveTempResult != 0;
    preferences.showExecution = values.showExecution != 0;
    preferences.showLineNumber = values.showLineNumber != 0;
    return preferences;
}

void FramePreferencesHost::StoreFrameValues(const FramePreferences& preferences)
{
    FrameSettings& values = frame_.Values();
    values.theme = preferences.theme;
    values.versionControl = preferences.versionControl;
    values.linePauseMs = preferences.linePauseMs;
    values.timeoutFunction = preferences.timeoutFunction;
    values.hideOnExecution = preferences.hideOnExecution ? 1 : 0;
    values.saveTempResult = preferences.saveTempResult ? 1 : 0;
    values.showExecution = preferences.showExecution ? 1 : 0;
    values.showLineNumber = preferences.showLineNumber ? 1 : 0;
    for (ScriptDocument* document : frame_.Documents()) {
        if (document->View() != nullptr)
            document->View()->SetShowExecution(preferences.showExecution);
    }
    frame_.ApplyViewSettings();
}

void FramePreferencesHost::SetTheme(int theme)
{
    frame_.Values().theme = theme;
    frame_.ApplyTheme(theme);
}

bool FramePreferencesHost::IsProjectOpen() const
{
    return !frame_.ProjectPath().empty();
}

void FramePreferencesHost::ReloadDefaultInterface(const std::string& path)
{
    frame_.Interfaces().Clear();
    frame_.Interfaces().RemoveInserted();
    frame_.Interfaces().Load(path);
    frame_.Explorer().RefreshInterfaceLists();
}

void FramePreferencesHost::RefreshScriptViews()
{
    frame_.RefreshAllViews();
    frame_.ApplyViewSettings();
}

void FramePreferencesHost::RefreshViews()
{
    frame_.RefreshAllViews();
}

}  // namespace zov::shell
