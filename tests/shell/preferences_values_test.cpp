#include "ide/shell/core/PreferencesValues.h"

#include "common/AtomicFile.h"
#include "ide/shell/core/ApplicationCore.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceDir = ZOV_SOURCE_DIR;

// Keeps the frame's values like the stand-in and writes down every call, in order.
class RecordingHost : public NullPreferencesHost {
public:
    void StoreFrameValues(const FramePreferences& values) override
    {
        calls.push_back("frame");
        NullPreferencesHost::StoreFrameValues(values);
    }
    void SetTheme(int theme) override
    {
        calls.push_back("theme " + std::to_string(theme));
        NullPreferencesHost::SetTheme(theme);
    }
    bool IsProjectOpen() const override { return projectOpen; }
    void ReloadDefaultInterface(const std::string& path) override { calls.push_back("interface " + path); }
    void RefreshScriptViews() override { calls.push_back("script views"); }
    void ReloadTraceColours() override { calls.push_back("trace colours"); }
    void RefreshViews() override { calls.push_back("views"); }
    void ReloadTraceOptions() override { calls.push_back("trace options"); }

    bool projectOpen = false;
    std::vector<std::string> calls;
};

class PreferencesValuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_prefs_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        program_ = (root_ / "prog").string();
        settings_ = std::make_unique<Settings>(root_ / "prog" / "ZOV.ini", root_ / "prog");
        app_ = ReadApplicationSettings(*settings_);
    }
    void TearDown() override { fs::remove_all(root_); }

    PreferencesStore Store() { return PreferencesStore{*settings_, app_, defaultConfiguration_}; }
    // One run of the command: the sheet shows what was loaded, `edit` changes it, then OK.
    void RunWithOk(const std::function<void(PreferencesValues&)>& edit = {})
    {
        PreferencesStore store = Store();
        PreferencesValues values = LoadPreferences(store, host_);
        if (edit)
            edit(values);
        StorePreferences(values, store, host_, prompter_);
    }
    std::string Ini() const { return ReadWholeFile(settings_->Path()).value_or("<missing>"); }

    fs::path root_;
    std::string program_;
    std::unique_ptr<Settings> settings_;
    ApplicationSettings app_;
    bool defaultConfiguration_ = false;
    RecordingHost host_;
    RecordingPrompter prompter_;
};

TEST_F(PreferencesValuesTest, OkWithoutChangeWritesTheKeysInOrderAndSaysNothing)
{
    ASSERT_TRUE(WriteFileAtomically(settings_->Path(),
                                    "[Preferences]\r\nDefaultInterface=Banc.qzi\r\nDefaultInterfacePath=/opt/banc\r\n"
                                    "Engine=zovrun\r\nEngine_Path=../moteur\r\nLanguage=english.lgn\r\n"
                                    "[Options]\r\nMaximize=1\r\n"));
    app_ = ReadApplicationSettings(*settings_);
    EXPECT_EQ(LoadPreferences(Store(), host_).defaultInterface, "/opt/banc/Banc.qzi");
    EXPECT_EQ(LoadPreferences(Store(), host_).engine, "../moteur/zovrun");
    RunWithOk();
    EXPECT_EQ(Ini(), ReadWholeFile(std::string(kSourceDir) + "/tests/shell/golden/preferences_ok.ini"));
    EXPECT_TRUE(prompter_.Prompts().empty());
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"theme 32770", "frame", "script views", "trace colours", "views",
                                                     "trace options"}));
    EXPECT_EQ(app_.defaultInterfacePath, "/opt/banc");
    EXPECT_EQ(app_.defaultInterface, "Banc.qzi");
    EXPECT_EQ(app_.enginePath, "../moteur");
    EXPECT_EQ(app_.engine, "zovrun");
    // A second run writes the same again.
    RunWithOk();
    EXPECT_EQ(Ini(), ReadWholeFile(std::string(kSourceDir) + "/tests/shell/golden/preferences_ok.ini"));
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(PreferencesValuesTest, LoadShowsStoredValuesAndTheFramesOwn)
{
    settings_->WriteInt(SettingId::FontSize, 18);
    settings_->WriteInt(SettingId::EditClr3, 0x123456);
    settings_->WriteInt(SettingId::TraceClr2, 0xABCDEF);
    settings_->WriteInt(SettingId::MaxLines, 5000);
    settings_->WriteInt(SettingId::Beep, 1);
    FramePreferences frame;
    frame.theme = kThemeStandard;
    frame.linePauseMs = 200;
    frame.timeoutFunction = 60;
    frame.showExecution = false;
    frame.editorNames = {"a", "#b"};
    host_.StoreFrameValues(frame);
    const PreferencesValues values = LoadPreferences(Store(), host_);
    EXPECT_EQ(values.defaultInterface, "Default.qzi");
    EXPECT_EQ(values.engine, "zovrun");
    EXPECT_EQ(values.fontChoice, 1);
    EXPECT_EQ(values.themeChoice, 0);
    EXPECT_TRUE(values.beep);
    EXPECT_EQ(values.editColours[0], 0xFF0000u);
    EXPECT_EQ(values.editColours[3], 0x123456u);
    EXPECT_EQ(values.traceColours[2], 0xABCDEFu);
    EXPECT_EQ(values.maxLines, 5000);
    EXPECT_EQ(values.linePauseMs, 200);
    EXPECT_EQ(values.timeoutFunction, 60);
    EXPECT_FALSE(values.showExecution);
    EXPECT_EQ(values.editorNames, frame.editorNames);
}

TEST_F(PreferencesValuesTest, EachChangeForTheNextStartHasItsOneMessage)
{
    const struct {
        const char* name;
        std::function<void(PreferencesValues&)> edit;
        std::vector<std::string> messages;
    } cases[] = {
        {"language",
         [](PreferencesValues& v) { v.language = "english.lgn"; },
         {"La nouvelle langue sera pris en compte au redémarrage de l'application."}},
        {"default configuration",
         [](PreferencesValues& v) { v.defaultConfiguration = true; },
         {"La configuration par défaut sera pris en compte au redémarrage de l'application."}},
        {"font",
         [](PreferencesValues& v) { v.fontChoice = 2; },
         {"La nouvelle police sera pris en compte au redémarrage de l'application."}},
        {"all three, in order",
         [](PreferencesValues& v) {
             v.fontChoice = 1;
             v.defaultConfiguration = true;
             v.language = "english.lgn";
         },
         {"La nouvelle langue sera pris en compte au redémarrage de l'application.",
          "La configuration par défaut sera pris en compte au redémarrage de l'application.",
          "La nouvelle police sera pris en compte au redémarrage de l'application."}},
        {"colours, traces, theme",
         [](PreferencesValues& v) {
             v.editColours[1] = 7;
             v.traceCli = false;
             v.themeChoice = 0;
             v.linePauseMs = 500;
         },
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        RunWithOk(c.edit);
        EXPECT_EQ(prompter_.Texts(), c.messages);
        prompter_ = RecordingPrompter();
        defaultConfiguration_ = false;
    }
}

TEST_F(PreferencesValuesTest, ChangesAreWrittenKeptAndApplied)
{
    RunWithOk([](PreferencesValues& v) {
        v.language = "english.lgn";
        v.fontChoice = 2;
        v.beep = true;
        v.editColours[7] = 0x00FF00;
        v.traceColours[3] = 0x0000FF;
        v.maxLines = 2000;
        v.timeoutFunction = 86400;
        v.hideOnExecution = true;
        v.themeChoice = 0;
        v.linePauseMs = 1000;
        v.showLineNumber = true;
        v.noSplash = true;
        v.defaultConfiguration = true;
        v.editorNames = {"x"};
        v.engineParams = "-v";
    });
    EXPECT_EQ(settings_->GetString(SettingId::Language), "english.lgn");
    EXPECT_EQ(settings_->GetInt(SettingId::FontSize), 20);
    EXPECT_EQ(settings_->GetInt(SettingId::Beep), 1);
    EXPECT_EQ(app_.beep, 1);
    EXPECT_EQ(settings_->GetInt(SettingId::EditClr7), 0x00FF00);
    EXPECT_EQ(settings_->GetInt(SettingId::TraceClr3), 0x0000FF);
    EXPECT_EQ(settings_->GetInt(SettingId::MaxLines), 2000);
    EXPECT_EQ(settings_->GetInt(SettingId::TimeoutFunction), 86400);
    EXPECT_EQ(settings_->GetInt(SettingId::HideOnExecution), 1);
    // Kept by the frame and the application object, written at close or exit.
    EXPECT_EQ(Ini().find("ShowLineNumber"), std::string::npos);
    EXPECT_EQ(Ini().find("NoSplash"), std::string::npos);
    EXPECT_EQ(Ini().find("Engine_Params"), std::string::npos);
    const FramePreferences frame = host_.FrameValues();
    EXPECT_EQ(frame.theme, kThemeStandard);
    EXPECT_EQ(frame.linePauseMs, 1000);
    EXPECT_TRUE(frame.showLineNumber);
    EXPECT_TRUE(frame.hideOnExecution);
    EXPECT_EQ(frame.timeoutFunction, 86400);
    EXPECT_EQ(frame.editorNames, std::vector<std::string>{"x"});
    EXPECT_EQ(app_.noSplash, 1);
    EXPECT_EQ(app_.engineParams, "-v");
    EXPECT_TRUE(defaultConfiguration_);
    EXPECT_EQ(host_.calls.front(), "theme 32769");
}

TEST_F(PreferencesValuesTest, DefaultInterfaceChangesOnlyWhenItsResolvedPathDoes)
{
    const struct {
        const char* field;
        bool projectOpen;
        const char* folder;  // stored after OK
        const char* name;
        const char* reloaded;  // nullptr: no reload; paths below the program folder start with "@"
    } cases[] = {
        {"Default.qzi", false, "@", "Default.qzi", nullptr},
        {"./Default.qzi", false, "@", "Default.qzi", nullptr},
        {"Autre.qzi", false, "", "Autre.qzi", "@/Autre.qzi"},
        {"sub/Autre.qzi", false, "sub", "Autre.qzi", "@/sub/Autre.qzi"},
        {"/opt/i/Banc.qzi", false, "/opt/i", "Banc.qzi", "/opt/i/Banc.qzi"},
        {"Autre.qzi", true, "", "Autre.qzi", nullptr},
    };
    const auto expand = [this](const std::string& text) {
        return text.starts_with('@') ? program_ + text.substr(1) : text;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        SetUp();
        host_ = RecordingHost();
        host_.projectOpen = c.projectOpen;
        RunWithOk([&](PreferencesValues& v) { v.defaultInterface = c.field; });
        EXPECT_EQ(app_.defaultInterfacePath, expand(c.folder));
        EXPECT_EQ(app_.defaultInterface, c.name);
        const bool reloaded = std::find_if(host_.calls.begin(), host_.calls.end(), [](const std::string& call) {
                                  return call.starts_with("interface ");
                              }) != host_.calls.end();
        EXPECT_EQ(reloaded, c.reloaded != nullptr);
        if (c.reloaded != nullptr) {
            EXPECT_EQ(host_.calls.front(), "interface " + expand(c.reloaded));
        }
    }
}

TEST_F(PreferencesValuesTest, EngineFieldKeepsStoredValuesUnlessItsPathChanges)
{
    app_.enginePath = program_ + "/";
    RunWithOk();
    EXPECT_EQ(app_.enginePath, program_ + "/");
    EXPECT_EQ(app_.engine, "zovrun");
    RunWithOk([](PreferencesValues& v) { v.engine = "bin/zovrun2"; });
    EXPECT_EQ(app_.enginePath, "bin");
    EXPECT_EQ(app_.engine, "zovrun2");
    EXPECT_EQ(LoadPreferences(Store(), host_).engine, "bin/zovrun2");
}

TEST(PreferencesDisplay, PathsAreShownAndSplitAtTheLastSlash)
{
    const struct {
        const char* folder;
        const char* name;
        const char* shown;
    } cases[] = {
        {"/prog", "Default.qzi", "Default.qzi"}, {"/prog/", "Default.qzi", "Default.qzi"},
        {"", "Default.qzi", "Default.qzi"},      {".", "zovrun", "zovrun"},
        {"/prog/../prog", "a.qzi", "a.qzi"},     {"/opt", "a.qzi", "/opt/a.qzi"},
        {"sub", "a.qzi", "sub/a.qzi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DisplayedPath("/prog", c.folder, c.name), c.shown) << c.folder;
    EXPECT_EQ(SplitDisplayedPath("a/b/c.qzi"), (std::pair<std::string, std::string>{"a/b", "c.qzi"}));
    EXPECT_EQ(SplitDisplayedPath("c.qzi"), (std::pair<std::string, std::string>{"", "c.qzi"}));
    EXPECT_EQ(SplitDisplayedPath("/c.qzi"), (std::pair<std::string, std::string>{"", "c.qzi"}));
}

TEST(PreferencesLists, FontSizesAndPausesMapBothWays)
{
    const int sizes[][2] = {{16, 0}, {18, 1}, {20, 2}, {17, 0}, {0, 0}, {-20, 0}};
    for (const auto& s : sizes)
        EXPECT_EQ(FontChoiceOfSize(s[0]), s[1]) << s[0];
    const int choices[][2] = {{0, 16}, {1, 18}, {2, 20}, {3, 16}, {-1, 16}};
    for (const auto& c : choices)
        EXPECT_EQ(FontSizeOfChoice(c[0]), c[1]) << c[0];
    const int pauses[] = {0, 10, 30, 50, 100, 200, 500, 1000};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(PauseMsOfIndex(i), pauses[i]);
        EXPECT_EQ(PauseIndexOfMs(pauses[i]), i);
    }
    EXPECT_EQ(PauseMsOfIndex(-1), 0);
    EXPECT_EQ(PauseMsOfIndex(8), 0);
    EXPECT_EQ(PauseIndexOfMs(25), 0);
}

}  // namespace
}  // namespace zov::shell

namespace zov::shell {
namespace {

TEST(PreferencesOverApplication, MessagesAreTranslatedAndTheDefaultsAreRestoredAtExit)
{
    const fs::path root = fs::temp_directory_path() / ("zov_prefs_app_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "prog");
    std::ofstream(root / "prog" / "English.lgn")
        << "$LANGUAGE=English\n"
           "La configuration par défaut sera pris en compte au redémarrage de l'application. = Defaults next time\n";
    std::ofstream(root / "prog" / "Default.ini", std::ios::binary) << "[Preferences]\r\nFontSize=16\r\n";
    ASSERT_TRUE(WriteFileAtomically(root / "prog" / "ZOV.ini", "[Preferences]\r\nLanguage=English.lgn\r\n"));
    {
        ApplicationCore app({root / "prog", root / "prog" / "ZOV.ini", root / "tmp"});
        NullPreferencesHost host;
        RecordingPrompter prompter;
        PreferencesValues values = LoadPreferences(app, host);
        EXPECT_EQ(values.language, "English.lgn");
        EXPECT_FALSE(values.defaultConfiguration);
        values.defaultConfiguration = true;
        StorePreferences(values, app, host, prompter);
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Defaults next time"});
        EXPECT_TRUE(app.DefaultConfiguration());
        EXPECT_TRUE(LoadPreferences(app, host).defaultConfiguration);
        EXPECT_EQ(app.Exit(), ExitSave::DefaultsRestored);
    }
    EXPECT_EQ(ReadWholeFile(root / "prog" / "ZOV.ini"), "[Preferences]\r\nFontSize=16\r\n");
    fs::remove_all(root);
}

}  // namespace
}  // namespace zov::shell
