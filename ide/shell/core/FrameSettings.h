#pragma once
// The main window's own settings: read when it is created, written back when it closes with a
// project open (nothing is written when it closes without one, or in a batch run).

#include "ide/shell/core/RecentLists.h"
#include "ide/shell/core/Settings.h"

#include <string>

namespace zov::shell {

inline constexpr int kThemePlatform = 0x8001;
inline constexpr int kThemeFusion = 0x8002;

struct FrameSettings {
    int theme = kThemeFusion;
    int showExecution = 1;
    int showLineNumber = 0;
    int timeoutFunction = 30;
    int hideOnExecution = 0;
    int saveTempResult = 0;
    int importAutoSave = 0;
    int beep = 0;
    int versionControl = 1;
    int viewAllInterfaces = 1;
    std::string backProgram;
    std::string backProgramParam;
    int backProgramHide = 0;
    int maximize = 0;
    RecentList recentProjects;
    RecentList recentFiles;
};

FrameSettings ReadFrameSettings(const Settings& settings);

// In this order: Options LastProject, Maximize, ViewAllInterface; Preferences Theme,
// ShowExecution, ShowLineNumber; Options BackProgram, BackProgramParam, BackProgramHide ("1" or
// "0"); MRUProjects File1-5; MRUFiles File1-5. False when a key could not be written.
bool WriteFrameCloseSettings(const Settings& settings, const FrameSettings& values, const std::string& lastProject,
                             bool maximised);

}  // namespace zov::shell
