#include "ide/shell/core/FrameSettings.h"

namespace zov::shell {

FrameSettings ReadFrameSettings(const Settings& settings)
{
    FrameSettings values;
    values.versionControl = settings.GetInt(SettingId::VersionControl);
    values.theme = settings.GetInt(SettingId::Theme);
    values.showExecution = settings.GetInt(SettingId::ShowExecution);
    values.showLineNumber = settings.GetInt(SettingId::ShowLineNumber);
    values.timeoutFunction = settings.GetInt(SettingId::TimeoutFunction);
    values.hideOnExecution = settings.GetInt(SettingId::HideOnExecution);
    values.saveTempResult = settings.GetInt(SettingId::SaveTempResult);
    values.importAutoSave = settings.GetInt(SettingId::ImportAutoSave);
    values.beep = settings.GetInt(SettingId::Beep);
    values.recentProjects = RecentList::Read(settings, RecentKind::Projects);
    values.recentFiles = RecentList::Read(settings, RecentKind::Files);
    values.viewAllInterfaces = settings.GetInt(SettingId::ViewAllInterface);
    values.backProgram = settings.GetString(SettingId::BackProgram);
    values.backProgramParam = settings.GetString(SettingId::BackProgramParam);
    values.backProgramHide = settings.GetInt(SettingId::BackProgramHide);
    values.maximize = settings.GetInt(SettingId::Maximize);
    return values;
}

bool WriteFrameCloseSettings(const Settings& settings, const FrameSettings& values, const std::string& lastProject,
                             bool maximised)
{
    bool written = settings.WriteString(SettingId::LastProject, lastProject);
    written = settings.WriteInt(SettingId::Maximize, maximised ? 1 : 0) && written;
    written = settings.WriteInt(SettingId::ViewAllInterface, values.viewAllInterfaces) && written;
    written = settings.WriteInt(SettingId::Theme, values.theme) && written;
    written = settings.WriteInt(SettingId::ShowExecution, values.showExecution) && written;
    written = settings.WriteInt(SettingId::ShowLineNumber, values.showLineNumber) && written;
    written = settings.WriteString(SettingId::BackProgram, values.backProgram) && written;
    written = settings.WriteString(SettingId::BackProgramParam, values.backProgramParam) && written;
    written = settings.WriteInt(SettingId::BackProgramHide, values.backProgramHide != 0 ? 1 : 0) && written;
    written = values.recentProjects.Write(settings, RecentKind::Projects) && written;
    written = values.recentFiles.Write(settings, RecentKind::Files) && written;
    return written;
}

}  // namespace zov::shell
