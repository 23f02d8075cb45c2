#include "ide/shell/core/Startup.h"

#include "common/AtomicFile.h"
#include "common/IniFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSourceDir = ZOV_SOURCE_DIR;

class StartupFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_startup_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        fs::create_directories(root_ / "config");
    }
    void TearDown() override { fs::remove_all(root_); }

    // The settings file apart from the program folder, as when it lives in the user's folder.
    Settings Make() const { return Settings(root_ / "config" / "ZOV.ini", root_ / "prog"); }
    static ApplicationSettings Session()
    {
        ApplicationSettings values;
        values.defaultInterface = "Banc.qzi";
        values.defaultInterfacePath = "/opt/banc/interfaces";
        values.engine = "zovrun";
        values.enginePath = "../moteur";
        values.engineParams = "-t 5";
        values.noSplash = 1;
        values.reportPath = "/home/essai/rapports";
        values.fixReportPath = 1;
        values.reportFormat = 2;
        return values;
    }
    static std::string Read(const fs::path& path) { return ReadWholeFile(path).value_or("<missing>"); }

    fs::path root_;
};

TEST_F(StartupFiles, ExitWritesTheSessionKeysInOrder)
{
    const Settings settings = Make();
    EXPECT_EQ(SaveExitSettings(settings, Session(), false), ExitSave::Written);
    EXPECT_EQ(Read(settings.Path()), Read(std::string(kSourceDir) + "/tests/shell/golden/exit_settings.ini"));
    // What was written is what the next start reads.
    const ApplicationSettings back = ReadApplicationSettings(settings);
    EXPECT_EQ(back.enginePath, "../moteur");
    EXPECT_EQ(back.engineParams, "-t 5");
    EXPECT_EQ(back.noSplash, 1);
    EXPECT_EQ(back.reportFormat, 2);
    EXPECT_EQ(back.fontSize, 16);
}

TEST_F(StartupFiles, DefaultConfigurationReplacesTheFile)
{
    const Settings settings = Make();
    ASSERT_TRUE(WriteFileAtomically(settings.Path(), "[Options]\r\nLastProject=/p/a.qzp\r\n"));
    ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "Default.ini", "[Preferences]\nFontSize=12\n"));
    EXPECT_EQ(SaveExitSettings(settings, Session(), true), ExitSave::DefaultsRestored);
    EXPECT_EQ(Read(settings.Path()), "[Preferences]\nFontSize=12\n");  // no key of the session
    EXPECT_EQ(settings.GetInt(SettingId::FontSize), 12);
}

// Without Default.ini the session's keys are written as usual rather than lost.
TEST_F(StartupFiles, MissingDefaultsKeepTheSession)
{
    const Settings settings = Make();
    EXPECT_FALSE(RestoreDefaultSettings(settings));
    EXPECT_EQ(SaveExitSettings(settings, Session(), true), ExitSave::Written);
    EXPECT_EQ(Read(settings.Path()), Read(std::string(kSourceDir) + "/tests/shell/golden/exit_settings.ini"));
}

TEST_F(StartupFiles, UnwritableSettingsAreReported)
{
    const Settings settings(root_ / "config" / "missing-folder" / "ZOV.ini", root_ / "prog");
    EXPECT_EQ(SaveExitSettings(settings, Session(), false), ExitSave::Failed);
}

// The shipped file holds every Preferences default except the two folders, which default to
// the program folder wherever it is installed.
TEST(DefaultIni, HoldsThePreferencesDefaults)
{
    const fs::path shipped = fs::path(kSourceDir) / "ide/shell/core/Default.ini";
    const IniFile file(shipped);
    ASSERT_EQ(file.SectionNames(), std::vector<std::string>{"Preferences"});
    const Settings settings(shipped, "/nowhere");
    size_t expected = 0;
    for (const SettingEntry& row : kSettingTable) {
        if (row.section != kPreferences)
            continue;
        const std::optional<std::string> stored =
            IniDocument(ReadWholeFile(shipped).value_or("")).Get(row.section, row.key);
        if (row.programFolderDefault) {
            EXPECT_FALSE(stored.has_value()) << row.key;
            EXPECT_EQ(settings.GetString(row.id), "/nowhere") << row.key;
            continue;
        }
        ++expected;
        ASSERT_TRUE(stored.has_value()) << row.key;
        EXPECT_EQ(*stored, settings.DefaultText(row.id)) << row.key;
    }
    EXPECT_EQ(file.KeyNames("Preferences").size(), expected);
}

TEST_F(StartupFiles, LanguageSetupFromThePreferences)
{
    const Settings settings = Make();
    LanguageSetup none = LoadLanguageSetup(settings);
    EXPECT_EQ(none.table, nullptr);
    EXPECT_EQ(none.helpFile, "ZOV.chm");
    EXPECT_EQ(none.tipsFile, "TipsFr.txt");
    EXPECT_EQ(none.languageName, "French");

    std::ofstream(root_ / "prog" / "English.lgn") << "$TIPS=TipsEn.txt\n$language=English\nNom=Name\n";
    ASSERT_TRUE(settings.WriteString(SettingId::Language, "English.lgn"));
    LanguageSetup english = LoadLanguageSetup(settings);
    ASSERT_NE(english.table, nullptr);
    EXPECT_EQ(english.table->Lookup("Nom"), "Name");
    EXPECT_EQ(english.helpFile, "ZOV.chm");
    EXPECT_EQ(english.tipsFile, "TipsEn.txt");
    EXPECT_EQ(english.languageName, "English");

    // A file that cannot be read: an empty table, every text as written.
    ASSERT_TRUE(settings.WriteString(SettingId::Language, "Missing.lgn"));
    LanguageSetup missing = LoadLanguageSetup(settings);
    ASSERT_NE(missing.table, nullptr);
    EXPECT_EQ(TranslateText(missing.table.get(), "Nom"), "Nom");
    EXPECT_EQ(missing.languageName, "French");
}

}  // namespace
}  // namespace zov::shell
