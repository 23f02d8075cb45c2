#pragma once
// The values of the preferences sheet, as the Preferences command loads them from ZOV.ini, the
// application object and the main frame, and stores them back after OK. The sheet only shows and
// edits a PreferencesValues; what OK writes and applies happens here, without any window.

#include "ide/shell/core/PreferencesHost.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Settings.h"
#include "ide/shell/core/Startup.h"
#include "ide/shell/core/Translate.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zov::shell {

class ApplicationCore;

inline constexpr int kEditorColourCategories = 8;
inline constexpr int kTraceColourCategories = 4;

struct PreferencesValues {
    // Générale
    std::string defaultInterface;  // file name alone when it lies in the program folder
    std::string language;          // language file name, "" for none
    int versionControl = 0;
    int fontChoice = 0;   // "Normal", "Grandes polices", "Très grands caractères"
    int themeChoice = 0;  // "Standard", "Thème 2003"
    bool noSplash = false;
    bool beep = false;
    bool defaultConfiguration = false;
    bool importAutoSave = false;
    // Interpréteur
    bool showExecution = true;
    int linePauseMs = 0;
    int timeoutFunction = 30;
    std::string engine;  // program name alone when it lies in the program folder
    std::string engineParams;
    // Editeur
    std::array<std::uint32_t, kEditorColourCategories> editColours{};
    bool showLineNumber = false;
    std::vector<std::string> editorNames;
    // Traces
    std::array<std::uint32_t, kTraceColourCategories> traceColours{};
    bool traceScript = true;
    bool traceCli = true;
    bool traceInterpreter = true;
    int maxLines = 10000;
    bool traceOneLine = false;
    // Exécution
    bool saveTempResult = false;
    bool hideOnExecution = false;

    bool operator==(const PreferencesValues&) const = default;
};

// The texts of the lists, before translation.
inline constexpr const char* kFontChoices[] = {"Normal", "Grandes polices", "Très grands caractères"};
inline constexpr int kFontSizes[] = {16, 18, 20};
inline constexpr const char* kThemeChoices[] = {"Standard", "Thème 2003"};
inline constexpr const char* kVersionControlChoices[] = {"<Aucun>", "GIT (bientôt)"};
inline constexpr const char* kPauseChoices[] = {"<Aucune>", "10 ms",  "30 ms",  "50 ms",
                                                "100 ms",   "200 ms", "500 ms", "1 s"};
inline constexpr int kPauseMs[] = {0, 10, 30, 50, 100, 200, 500, 1000};
inline constexpr const char* kEditorColourNames[kEditorColourCategories] = {
    "Mot clé", "Fonction", "CLI", "Constante", "Macro instruction", "Commentaire", "Nombre", "Chaine de caractères"};
inline constexpr const char* kTraceColourNames[kTraceColourCategories] = {"Système", "Interpréteur",
                                                                          "Traces des scripts", "CLI"};

// Any other size shows "Normal"; any other choice stores 16.
int FontChoiceOfSize(int size);
int FontSizeOfChoice(int choice);
// A pause that is none of the list's shows "<Aucune>"; an index outside the list stands for 0 ms.
int PauseIndexOfMs(int milliseconds);
int PauseMsOfIndex(int index);

// How a folder and a file name are shown in one field: the name alone when the folder resolves
// to the program folder, else folder + "/" + name.
std::string DisplayedPath(const std::string& programFolder, const std::string& folder, const std::string& name);
// A field split at its last "/": {folder, name}; no "/" gives the folder "".
std::pair<std::string, std::string> SplitDisplayedPath(const std::string& field);

// The texts the command shows after OK.
inline constexpr const char* kLanguageChangedMessage =
    "La nouvelle langue sera pris en compte au redémarrage de l'application.";
inline constexpr const char* kDefaultConfigurationMessage =
    "La configuration par défaut sera pris en compte au redémarrage de l'application.";
inline constexpr const char* kFontChangedMessage =
    "La nouvelle police sera pris en compte au redémarrage de l'application.";

// What the command works on besides the frame: ZOV.ini, the application object's session values
// and its default-configuration flag.
struct PreferencesStore {
    const Settings& settings;
    ApplicationSettings& application;
    bool& defaultConfiguration;
    Translate translate = IdentityTranslate();
};

PreferencesValues LoadPreferences(const PreferencesStore& store, const PreferencesHost& host);

// After OK: writes, keeps and applies every value, in the command's order, and shows the
// messages of what takes effect at the next start.
void StorePreferences(const PreferencesValues& values, const PreferencesStore& store, PreferencesHost& host,
                      Prompter& prompter);

// The same over the application object (its settings, values, flag and language).
PreferencesValues LoadPreferences(ApplicationCore& application, const PreferencesHost& host);
void StorePreferences(const PreferencesValues& values, ApplicationCore& application, PreferencesHost& host,
                      Prompter& prompter);

}  // namespace zov::shell
