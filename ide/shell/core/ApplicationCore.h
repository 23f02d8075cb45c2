#pragma once
// The application object's half that needs no window: the program folder, the settings file,
// this instance's temporary folder, the language, the engine and report settings kept for the
// session, and what start-up opens. The windowed application builds one at start and calls
// Exit() when it closes.

#include "ide/shell/core/CommandLine.h"
#include "ide/shell/core/InstanceFolder.h"
#include "ide/shell/core/LanguageTable.h"
#include "ide/shell/core/Settings.h"
#include "ide/shell/core/Startup.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zov::shell {

class ApplicationCore {
public:
    struct Places {
        std::filesystem::path programFolder;
        std::filesystem::path settingsFile;
        std::filesystem::path tempBase;
    };
    // The running program's folder, ZOV.ini where SettingsFilePath puts it, DefaultTempBase().
    static Places DefaultPlaces();

    // Claims the temporary folder (purging stale ones when alone), loads the language named in
    // the settings and reads the session's settings.
    explicit ApplicationCore(const Places& places = DefaultPlaces());
    ~ApplicationCore();
    ApplicationCore(const ApplicationCore&) = delete;
    ApplicationCore& operator=(const ApplicationCore&) = delete;

    const std::filesystem::path& GetProgramFolder() const { return programFolder_; }
    // "" when this instance has none (see TempFolderMessage).
    std::string GetTempFolder() const { return instance_.Folder().string(); }
    const InstanceFolder& Instance() const { return instance_; }
    // Shown at start-up when there is no temporary folder; "" otherwise.
    std::string TempFolderMessage() const { return instance_.StartupMessage(Translator()); }

    const Settings& GetSettings() const { return settings_; }

    const LanguageTable* Language() const { return language_.table.get(); }
    std::string TranslateText(std::string_view text) const { return shell::TranslateText(Language(), text); }
    Translate Translator() const { return TranslateWith(Language()); }
    std::string LoadTranslatedString(unsigned id) const;
    const std::string& HelpFile() const { return language_.helpFile; }
    const std::string& TipsFile() const { return language_.tipsFile; }
    const std::string& LanguageName() const { return language_.languageName; }
    const std::string& VersionText() const { return version_; }

    // The session's copies, written back at exit.
    const ApplicationSettings& Values() const { return values_; }
    ApplicationSettings& Values() { return values_; }
    const std::string& GetEngine() const { return values_.engine; }
    const std::string& GetEngineParams() const { return values_.engineParams; }
    // The syntax files: "*.stx" in the engine folder (absolute, or relative to the program folder).
    std::string GetSyntaxFilePattern() const;

    // Ticked in the preferences: at exit Default.ini replaces ZOV.ini.
    void SetDefaultConfiguration(bool restore) { restoreDefaults_ = restore; }
    bool DefaultConfiguration() const { return restoreDefaults_; }

    // What start-up opens, from the program's arguments (after the program name).
    StartupRequest StartupOpen(const std::vector<std::string>& args, const std::filesystem::path& currentFolder) const;

    // Saves the session's settings (or restores the defaults), then removes the temporary
    // folder. Called once; the destructor removes the folder when it was not.
    ExitSave Exit();

private:
    std::filesystem::path programFolder_;
    Settings settings_;
    InstanceFolder instance_;
    LanguageSetup language_;
    ApplicationSettings values_;
    std::string version_;
    bool restoreDefaults_ = false;
};

}  // namespace zov::shell
