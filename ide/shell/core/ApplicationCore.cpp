#include "ide/shell/core/ApplicationCore.h"

#include "common/PathUtils.h"
#include "common/SettingsLocation.h"
#include "ide/shell/core/StringTable.h"

namespace zov::shell {

ApplicationCore::Places ApplicationCore::DefaultPlaces()
{
    Places places;
    places.programFolder = ProgramFolder();
    places.settingsFile = SettingsFilePath("ZOV.ini", places.programFolder);
    places.tempBase = DefaultTempBase();
    return places;
}

ApplicationCore::ApplicationCore(const Places& places)
    : programFolder_(places.programFolder),
      settings_(places.settingsFile, places.programFolder),
      instance_(places.tempBase),
      language_(LoadLanguageSetup(settings_)),
      values_(ReadApplicationSettings(settings_)),
      version_(LoadStringResource(string_ids::kVersion))
{}

ApplicationCore::~ApplicationCore() = default;

std::string ApplicationCore::LoadTranslatedString(unsigned id) const
{
    return shell::LoadTranslatedString(id, Language());
}

std::string ApplicationCore::GetSyntaxFilePattern() const
{
    return MakeAbsolutePath(programFolder_.string(), values_.enginePath) + "/*.stx";
}

StartupRequest ApplicationCore::StartupOpen(const std::vector<std::string>& args,
                                            const std::filesystem::path& currentFolder) const
{
    return ClassifyCommandLine(args, settings_.GetString(SettingId::LastProject), currentFolder);
}

ExitSave ApplicationCore::Exit()
{
    const ExitSave saved = SaveExitSettings(settings_, values_, restoreDefaults_);
    instance_.Release();
    return saved;
}

}  // namespace zov::shell
