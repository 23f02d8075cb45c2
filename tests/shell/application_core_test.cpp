#include "ide/shell/core/ApplicationCore.h"

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

class ApplicationCoreStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_appcore_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_ / "prog");
        places_ = {root_ / "prog", root_ / "prog" / "ZOV.ini", root_ / "tmp"};
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path root_;
    ApplicationCore::Places places_;
};

TEST_F(ApplicationCoreStart, StartsWithDefaultsAndItsOwnTempFolder)
{
    ApplicationCore app(places_);
    EXPECT_EQ(app.GetProgramFolder(), root_ / "prog");
    EXPECT_EQ(app.GetTempFolder(), (root_ / "tmp" / "ZOV_TMP1").string());
    EXPECT_TRUE(fs::is_directory(app.GetTempFolder()));
    EXPECT_EQ(app.TempFolderMessage(), "");
    EXPECT_EQ(app.Language(), nullptr);
    EXPECT_EQ(app.TranslateText("Nom :"), "Nom :");
    EXPECT_EQ(app.HelpFile(), "ZOV.chm");
    EXPECT_EQ(app.VersionText(), "1.0 PR1");
    EXPECT_EQ(app.GetEngine(), "zovrun");
    EXPECT_EQ(app.Values().enginePath, (root_ / "prog").string());
    EXPECT_EQ(app.GetSyntaxFilePattern(), (root_ / "prog").string() + "/*.stx");
    EXPECT_FALSE(fs::exists(places_.settingsFile));  // nothing written before the exit
}

TEST_F(ApplicationCoreStart, ReadsTheLanguageAndTheSessionSettings)
{
    std::ofstream(root_ / "prog" / "English.lgn") << "$HELP=ZOV_en.chm\n$LANGUAGE=English\nPrêt=Ready\n";
    ASSERT_TRUE(WriteFileAtomically(places_.settingsFile,
                                    "[Preferences]\r\nLanguage=English.lgn\r\nEngine_Path=../moteur\r\n"
                                    "Engine=zovrun.exe\r\nFontSize=20\r\n"));
    ApplicationCore app(places_);
    ASSERT_NE(app.Language(), nullptr);
    EXPECT_EQ(app.LoadTranslatedString(57345), "Ready");
    EXPECT_EQ(app.Translator()("Prêt"), "Ready");
    EXPECT_EQ(app.HelpFile(), "ZOV_en.chm");
    EXPECT_EQ(app.LanguageName(), "English");
    EXPECT_EQ(app.TipsFile(), "TipsFr.txt");
    EXPECT_EQ(app.GetEngine(), "zovrun.exe");
    EXPECT_EQ(app.Values().fontSize, 20);
    EXPECT_EQ(app.GetSyntaxFilePattern(), root_.string() + "/moteur/*.stx");
}

TEST_F(ApplicationCoreStart, ExitSavesTheSessionAndRemovesTheTempFolder)
{
    ApplicationCore app(places_);
    const std::string temp = app.GetTempFolder();
    std::ofstream(fs::path(temp) / "Temp.qzi") << "x";
    app.Values().engineParams = "-v";
    EXPECT_EQ(app.Exit(), ExitSave::Written);
    EXPECT_FALSE(fs::exists(temp));
    EXPECT_EQ(app.GetTempFolder(), "");
    const IniFile ini(places_.settingsFile);
    EXPECT_EQ(ini.GetString("Preferences", "Engine_Params"), "-v");
    EXPECT_EQ(ini.KeyNames("Preferences").size(), 9u);
}

TEST_F(ApplicationCoreStart, DefaultConfigurationAtExit)
{
    ASSERT_TRUE(WriteFileAtomically(root_ / "prog" / "Default.ini", "[Preferences]\nNoSplash=0\n"));
    ApplicationCore app(places_);
    app.Values().noSplash = 1;
    app.SetDefaultConfiguration(true);
    EXPECT_EQ(app.Exit(), ExitSave::DefaultsRestored);
    EXPECT_EQ(ReadWholeFile(places_.settingsFile).value_or(""), "[Preferences]\nNoSplash=0\n");
}

TEST_F(ApplicationCoreStart, StartupOpensTheLastProjectWhenNothingIsGiven)
{
    std::ofstream(root_ / "p.qzp") << "x";
    ASSERT_TRUE(IniFile(places_.settingsFile).WriteString("Options", "LastProject", (root_ / "p.qzp").string()));
    ApplicationCore app(places_);
    const StartupRequest last = app.StartupOpen({}, root_);
    EXPECT_EQ(last.kind, StartupKind::Project);
    EXPECT_TRUE(last.fromLastProject);
    EXPECT_EQ(app.StartupOpen({"b.qzb"}, root_).kind, StartupKind::Batch);
}

// Two instances at once: each its own folder; the second never purges the first's.
TEST_F(ApplicationCoreStart, TwoInstancesShareTheBase)
{
    ApplicationCore first(places_);
    ApplicationCore second(places_);
    EXPECT_EQ(first.Instance().Number(), 1);
    EXPECT_EQ(second.Instance().Number(), 2);
    EXPECT_TRUE(first.Instance().Purged());
    EXPECT_FALSE(second.Instance().Purged());
}

}  // namespace
}  // namespace zov::shell
