#include "ide/shell/core/PreferencesValues.h"

#include "common/PathUtils.h"
#include "ide/shell/core/ApplicationCore.h"

#include <iterator>

namespace zov::shell {
namespace {

std::string ResolvedPath(const std::string& programFolder, const std::string& folder, const std::string& name)
{
    return MakeAbsolutePath(programFolder, folder) + "/" + name;
}

// A field whose resolved path did not change keeps the stored folder and name as they are.
bool StoreChangedPath(const std::string& programFolder, const std::string& field, std::string& folder,
                      std::string& name)
{
    auto [newFolder, newName] = SplitDisplayedPath(field);
    if (ResolvedPath(programFolder, newFolder, newName) == ResolvedPath(programFolder, folder, name))
        return false;
    folder = std::move(newFolder);
    name = std::move(newName);
    return true;
}

}  // namespace

int FontChoiceOfSize(int size)
{
    for (int i = 0; i < static_cast<int>(std::size(kFontSizes)); ++i) {
        if (kFontSizes[i] == size)
            return i;
    }
    return 0;
}

int FontSizeOfChoice(int choice)
{
    return choice >= 0 && choice < static_cast<int>(std::size(kFontSizes)) ? kFontSizes[choice] : kFontSizes[0];
}

int PauseIndexOfMs(int milliseconds)
{
    for (int i = 0; i < static_cast<int>(std::size(kPauseMs)); ++i) {
        if (kPauseMs[i] == milliseconds)
            return i;
    }
    return 0;
}

int PauseMsOfIndex(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(kPauseMs)) ? kPauseMs[index] : 0;
}

std::string DisplayedPath(const std::string& programFolder, const std::string& folder, const std::string& name)
{
    if (MakeAbsolutePath(programFolder, folder) == MakeAbsolutePath(programFolder, ""))
        return name;
    return folder + "/" + name;
}

std::pair<std::string, std::string> SplitDisplayedPath(const std::string& field)
{
    const std::size_t slash = field.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), field};
    return {field.substr(0, slash), field.substr(slash + 1)};
}

PreferencesValues LoadPreferences(const PreferencesStore& store, const PreferencesHost& host)
{
    const Settings& settings = store.settings;
    const ApplicationSettings& app = store.application;
    const std::string program = settings.ProgramFolder().string();
    const FramePreferences frame = host.FrameValues();

    PreferencesValues values;
    values.defaultInterface = DisplayedPath(program, app.defaultInterfacePath, app.defaultInterface);
    values.language = settings.GetString(SettingId::Language);
    values.versionControl = frame.versionControl;
    values.fontChoice = FontChoiceOfSize(settings.GetInt(SettingId::FontSize));
    values.themeChoice = frame.theme == kTheme2003 ? 1 : 0;
    values.noSplash = app.noSplash != 0;
    values.beep = settings.GetInt(SettingId::Beep) != 0;
    values.defaultConfiguration = store.defaultConfiguration;
    values.importAutoSave = settings.GetInt(SettingId::ImportAutoSave) != 0;

    values.showExecution = frame.showExecution;
    values.linePauseMs = frame.linePauseMs;
    values.timeoutFunction = frame.timeoutFunction;
    values.engine = DisplayedPath(program, app.enginePath, app.engine);
    values.engineParams = app.engineParams;

    for (int i = 0; i < kEditorColourCategories; ++i)
        values.editColours[i] = static_cast<std::uint32_t>(settings.GetInt(EditColourSetting(i)));
    values.showLineNumber = frame.showLineNumber;
    values.editorNames = frame.editorNames;

    for (int i = 0; i < kTraceColourCategories; ++i)
        values.traceColours[i] = static_cast<std::uint32_t>(settings.GetInt(TraceColourSetting(i)));
    values.traceScript = settings.GetInt(SettingId::TraceScript) != 0;
    values.traceCli = settings.GetInt(SettingId::TraceCLI) != 0;
    values.traceInterpreter = settings.GetInt(SettingId::TraceInterpreter) != 0;
    values.maxLines = settings.GetInt(SettingId::MaxLines);
    values.traceOneLine = settings.GetInt(SettingId::TraceOneLine) != 0;

    values.saveTempResult = frame.saveTempResult;
    values.hideOnExecution = frame.hideOnExecution;
    return values;
}

void StorePreferences(const PreferencesValues& values, const PreferencesStore& store, PreferencesHost& host,
                      Prompter& prompter)
{
    const Settings& settings = store.settings;
    ApplicationSettings& app = store.application;
    const std::string program = settings.ProgramFolder().string();

    if (values.language != settings.GetString(SettingId::Language)) {
        settings.WriteString(SettingId::Language, values.language);
        prompter.Tell(store.translate(kLanguageChangedMessage));
    }

    store.defaultConfiguration = values.defaultConfiguration;
    if (values.defaultConfiguration)
        prompter.Tell(store.translate(kDefaultConfigurationMessage));

    settings.WriteInt(SettingId::ImportAutoSave, values.importAutoSave ? 1 : 0);
    settings.WriteInt(SettingId::Beep, values.beep ? 1 : 0);
    app.importAutoSave = values.importAutoSave ? 1 : 0;
    app.beep = values.beep ? 1 : 0;
    const int fontSize = FontSizeOfChoice(values.fontChoice);
    settings.WriteInt(SettingId::FontSize, fontSize);
    if (fontSize != app.fontSize)
        prompter.Tell(store.translate(kFontChangedMessage));

    // Comparing resolved paths: the field shows "Default.qzi" for the stored program folder, and
    // that is no change. An open project keeps its own interfaces until it closes.
    if (StoreChangedPath(program, values.defaultInterface, app.defaultInterfacePath, app.defaultInterface) &&
        !host.IsProjectOpen()) {
        host.ReloadDefaultInterface(ResolvedPath(program, app.defaultInterfacePath, app.defaultInterface));
    }

    host.SetTheme(values.themeChoice == 1 ? kTheme2003 : kThemeStandard);

    StoreChangedPath(program, values.engine, app.enginePath, app.engine);
    app.engineParams = values.engineParams;
    app.noSplash = values.noSplash ? 1 : 0;
    FramePreferences frame = host.FrameValues();
    frame.versionControl = values.versionControl;
    frame.linePauseMs = values.linePauseMs;
    frame.timeoutFunction = values.timeoutFunction;
    frame.hideOnExecution = values.hideOnExecution;
    frame.saveTempResult = values.saveTempResult;
    frame.showExecution = values.showExecution;
    frame.showLineNumber = values.showLineNumber;
    frame.editorNames = values.editorNames;
    host.StoreFrameValues(frame);

    for (int i = 0; i < kEditorColourCategories; ++i)
        settings.WriteInt(EditColourSetting(i), static_cast<int>(values.editColours[i]));
    host.RefreshScriptViews();

    for (int i = 0; i < kTraceColourCategories; ++i)
        settings.WriteInt(TraceColourSetting(i), static_cast<int>(values.traceColours[i]));
    host.ReloadTraceColours();

    settings.WriteInt(SettingId::TraceScript, values.traceScript ? 1 : 0);
    settings.WriteInt(SettingId::TraceInterpreter, values.traceInterpreter ? 1 : 0);
    settings.WriteInt(SettingId::TraceCLI, values.traceCli ? 1 : 0);
    settings.WriteInt(SettingId::MaxLines, values.maxLines);
    settings.WriteInt(SettingId::TraceOneLine, values.traceOneLine ? 1 : 0);
    settings.WriteInt(SettingId::TimeoutFunction, values.timeoutFunction);
    settings.WriteInt(SettingId::HideOnExecution, values.hideOnExecution ? 1 : 0);
    settings.WriteInt(SettingId::SaveTempResult, values.saveTempResult ? 1 : 0);

    host.RefreshViews();
    host.ReloadTraceOptions();
}

PreferencesValues LoadPreferences(ApplicationCore& application, const PreferencesHost& host)
{
    bool restore = application.DefaultConfiguration();
    PreferencesStore store{application.GetSettings(), application.Values(), restore, application.Translator()};
    return LoadPreferences(store, host);
}

void StorePreferences(const PreferencesValues& values, ApplicationCore& application, PreferencesHost& host,
                      Prompter& prompter)
{
    bool restore = application.DefaultConfiguration();
    PreferencesStore store{application.GetSettings(), application.Values(), restore, application.Translator()};
    StorePreferences(values, store, host, prompter);
    application.SetDefaultConfiguration(restore);
}

}  // namespace zov::shell
