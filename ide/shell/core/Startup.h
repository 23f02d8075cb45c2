#pragma once
// The settings the application object reads at start-up and writes back at exit, the shipped
// defaults ("Default.ini" beside the program) that may replace ZOV.ini at exit, and the
// language chosen in the preferences.

#include "ide/shell/core/LanguageTable.h"
#include "ide/shell/core/Settings.h"

#include <memory>
#include <string>

namespace zov::shell {

struct ApplicationSettings {
    std::string defaultInterface;
    std::string defaultInterfacePath;
    std::string engine;
    std::string enginePath;
    std::string engineParams;
    int noSplash = 0;
    std::string reportPath;
    int fixReportPath = 0;
    int reportFormat = 0;
    int fontSize = 16;
    // Kept for the session by the preferences; ZOV.ini holds them too.
    int importAutoSave = 0;
    int beep = 0;
};

ApplicationSettings ReadApplicationSettings(const Settings& settings);

inline constexpr std::string_view kDefaultSettingsFile = "Default.ini";

enum class ExitSave {
    Written,           // the keys of the session
    DefaultsRestored,  // Default.ini copied over ZOV.ini, no key written
    Failed,            // ZOV.ini could not be written
};

// At exit: the default configuration asked for in the preferences replaces ZOV.ini by
// Default.ini of the program folder; without it, or when Default.ini cannot be read or copied,
// the session's keys are written, in the order DefaultInterface, DefaultInterfacePath, Engine,
// Engine_Path, Engine_Params, NoSplash, ReportPath, FixReportPath, ReportFormat.
ExitSave SaveExitSettings(const Settings& settings, const ApplicationSettings& values, bool restoreDefaults);

// Copies Default.ini of the program folder over the settings file in one step.
bool RestoreDefaultSettings(const Settings& settings);

// What the language setting brings: a table when a language file is named (empty when it
// cannot be read), and the help file, tips file and language name, each replaced by the
// file's own value when it has one.
struct LanguageSetup {
    std::unique_ptr<LanguageTable> table;
    std::string helpFile = "ZOV.chm";
    std::string tipsFile = "TipsFr.txt";
    std::string languageName = "French";
};

// The language file is Preferences/Language in the program folder.
LanguageSetup LoadLanguageSetup(const Settings& settings);

}  // namespace zov::shell
