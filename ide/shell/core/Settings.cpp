#include "ide/shell/core/Settings.h"

#include "common/SettingsLocation.h"

#include <cassert>
#include <utility>

namespace zov::shell {

Settings::Settings(std::filesystem::path iniPath, std::filesystem::path programFolder)
    : ini_(std::move(iniPath)), programFolder_(std::move(programFolder))
{}

Settings Settings::ForProgram(const std::filesystem::path& programFolder)
{
    return Settings(SettingsFilePath("ZOV.ini", programFolder), programFolder);
}

std::string Settings::DefaultText(SettingId id) const
{
    const SettingEntry& row = SettingOf(id);
    if (row.programFolderDefault)
        return programFolder_.string();
    if (row.type == SettingType::Int)
        return std::to_string(row.intDefault);
    return std::string(row.textDefault);
}

int Settings::GetInt(SettingId id) const
{
    const SettingEntry& row = SettingOf(id);
    assert(row.type == SettingType::Int);
    return ini_.GetInt(row.section, row.key, row.intDefault);
}

std::string Settings::GetString(SettingId id) const
{
    const SettingEntry& row = SettingOf(id);
    assert(row.type == SettingType::String);
    return ini_.GetString(row.section, row.key, DefaultText(id));
}

bool Settings::WriteInt(SettingId id, int value) const
{
    const SettingEntry& row = SettingOf(id);
    assert(row.type == SettingType::Int);
    return ini_.WriteInt(row.section, row.key, value);
}

bool Settings::WriteString(SettingId id, std::string_view value) const
{
    const SettingEntry& row = SettingOf(id);
    assert(row.type == SettingType::String);
    return ini_.WriteString(row.section, row.key, value);
}

}  // namespace zov::shell
