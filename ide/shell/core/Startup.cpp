#include "ide/shell/core/Startup.h"

#include "common/AtomicFile.h"

namespace zov::shell {

ApplicationSettings ReadApplicationSettings(const Settings& settings)
{
    ApplicationSettings values;
    values.defaultInterface = settings.GetString(SettingId::DefaultInterface);
    values.defaultInterfacePath = settings.GetString(SettingId::DefaultInterfacePath);
    values.engine = settings.GetString(SettingId::Engine);
    values.enginePath = settings.GetString(SettingId::EnginePath);
    values.engineParams = settings.GetString(SettingId::EngineParams);
    values.noSplash = settings.GetInt(SettingId::NoSplash);
    values.reportPath = settings.GetString(SettingId::ReportPath);
    values.fixReportPath = settings.GetInt(SettingId::FixReportPath);
    values.reportFormat = settings.GetInt(SettingId::ReportFormat);
    values.fontSize = settings.GetInt(SettingId::FontSize);
    values.importAutoSave = settings.GetInt(SettingId::ImportAutoSave);
    values.beep = settings.GetInt(SettingId::Beep);
    return values;
}

bool RestoreDefaultSettings(const Settings& settings)
{
    const std::optional<std::string> defaults = ReadWholeFile(settings.ProgramFolder() / kDefaultSettingsFile);
    return defaults && WriteFileAtomically(settings.Path(), *defaults);
}

ExitSave SaveExitSettings(const Settings& settings, const ApplicationSettings& values, bool restoreDefaults)
{
    // A missing Default.ini must not cost the session its settings as well.
    if (restoreDefaults && RestoreDefaultSettings(settings))
        return ExitSave::DefaultsRestored;
    bool written = settings.WriteString(SettingId::DefaultInterface, values.defaultInterface);
    written = settings.WriteString(SettingId::DefaultInterfacePath, values.defaultInterfacePath) && written;
    written = settings.WriteString(SettingId::Engine, values.engine) && written;
    written = settings.WriteString(SettingId::EnginePath, values.enginePath) && written;
    written = settings.WriteString(SettingId::EngineParams, values.engineParams) && written;
    written = settings.WriteInt(SettingId::NoSplash, values.noSplash) && written;
    written = settings.WriteString(SettingId::ReportPath, values.reportPath) && written;
    written = settings.WriteInt(SettingId::FixReportPath, values.fixReportPath) && written;
    written = settings.WriteInt(SettingId::ReportFormat, values.reportFormat) && written;
    return written ? ExitSave::Written : ExitSave::Failed;
}

LanguageSetup LoadLanguageSetup(const Settings& settings)
{
    LanguageSetup setup;
    const std::string language = settings.GetString(SettingId::Language);
    if (language.empty())
        return setup;
    setup.table = std::make_unique<LanguageTable>();
    setup.table->LoadLanguageFile(settings.ProgramFolder() / language);
    if (!setup.table->HelpFile().empty())
        setup.helpFile = setup.table->HelpFile();
    if (!setup.table->TipsFile().empty())
        setup.tipsFile = setup.table->TipsFile();
    if (!setup.table->LanguageName().empty())
        setup.languageName = setup.table->LanguageName();
    return setup;
}

}  // namespace zov::shell
