#include "ide/shell/core/Settings.h"

#include "common/IniFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <variant>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("zov_settings_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "prog");
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Ini() const { return folder_ / "ZOV.ini"; }
    Settings Make() const { return Settings(Ini(), folder_ / "prog"); }

    fs::path folder_;
};

struct DefaultCase {
    const char* section;
    const char* key;
    std::variant<int, const char*> value;  // nullptr: the program folder
};

// Every key of a missing ZOV.ini reads as its default, found by its section and key names.
TEST_F(SettingsFile, DefaultsOfAMissingFile)
{
    const DefaultCase cases[] = {
        {"Preferences", "Language", ""},
        {"Preferences", "DefaultInterface", "Default.qzi"},
        {"Preferences", "DefaultInterfacePath", nullptr},
        {"Preferences", "Engine", "zovrun"},
        {"Preferences", "Engine_Path", nullptr},
        {"Preferences", "Engine_Params", ""},
        {"Preferences", "NoSplash", 0},
        {"Preferences", "ReportPath", ""},
        {"Preferences", "FixReportPath", 0},
        {"Preferences", "ReportFormat", 0},
        {"Preferences", "FontSize", 16},
        {"Preferences", "ImportAutoSave", 0},
        {"Preferences", "Beep", 0},
        {"Preferences", "VersionControl", 1},
        {"Preferences", "Theme", 32770},
        {"Preferences", "ShowExecution", 1},
        {"Preferences", "ShowLineNumber", 0},
        {"Preferences", "TimeoutFunction", 30},
        {"Preferences", "HideOnExecution", 0},
        {"Preferences", "SaveTempResult", 0},
        {"Preferences", "EditClr0", 16711680},
        {"Preferences", "EditClr1", 8421440},
        {"Preferences", "EditClr2", 8405120},
        {"Preferences", "EditClr3", 4227200},
        {"Preferences", "EditClr4", 13377723},
        {"Preferences", "EditClr5", 32768},
        {"Preferences", "EditClr6", 128},
        {"Preferences", "EditClr7", 13377723},
        {"Preferences", "EditClr8", 7961110},
        {"Preferences", "TraceClr0", 16711680},
        {"Preferences", "TraceClr1", 8405120},  // the trace pane's colours, for the sheet too
        {"Preferences", "TraceClr2", 8421440},
        {"Preferences", "TraceClr3", 4227200},
        {"Preferences", "TraceScript", 1},
        {"Preferences", "TraceInterpreter", 1},
        {"Preferences", "TraceCLI", 1},
        {"Preferences", "MaxLines", 10000},
        {"Preferences", "TraceOneLine", 0},
        {"Preferences", "SaveTrace", 0},
        {"Preferences", "HTML_Header", ""},
        {"Preferences", "HTML_Footer", ""},
        {"Preferences", "PDF_Header", ""},
        {"Preferences", "XML_XSL", ""},
        {"Preferences", "PDF_HeaderAlign", 0},
        {"Preferences", "XML_FORMAT", 0},
        {"Preferences", "CSV_Sep", 0},
        {"Preferences", "CSV_TxtChar", 0},
        {"Preferences", "ReportExt", "xml"},
        {"Options", "LastProject", ""},
        {"Options", "Maximize", 0},
        {"Options", "ViewAllInterface", 1},
        {"Options", "BackProgram", ""},
        {"Options", "BackProgramParam", ""},
        {"Options", "BackProgramHide", 0},
        {"MRUProjects", "File1", ""},
        {"MRUProjects", "File2", ""},
        {"MRUProjects", "File3", ""},
        {"MRUProjects", "File4", ""},
        {"MRUProjects", "File5", ""},
        {"MRUFiles", "File1", ""},
        {"MRUFiles", "File2", ""},
        {"MRUFiles", "File3", ""},
        {"MRUFiles", "File4", ""},
        {"MRUFiles", "File5", ""},
        {"Tips", "FilePos", 0},
        {"Tips", "StartUp", 0},
        {"CrystalEdit\\Find", "MatchCase", 0},
        {"CrystalEdit\\Find", "WholeWord", 0},
        {"CrystalEdit\\Find", "FindWhat", ""},
        {"CrystalEdit\\Replace", "MatchCase", 0},
        {"CrystalEdit\\Replace", "WholeWord", 0},
        {"CrystalEdit\\Replace", "FindWhat", ""},
        {"CrystalEdit\\Replace", "ReplaceWith", ""},
        {"CrystalEdit\\PageSetup", "LeftMargin", 1000},
        {"CrystalEdit\\PageSetup", "RightMargin", 1000},
        {"CrystalEdit\\PageSetup", "TopMargin", 1000},
        {"CrystalEdit\\PageSetup", "BottomMargin", 1000},
    };
    const Settings settings = Make();
    std::set<std::string> seen;
    for (const DefaultCase& c : cases) {
        const SettingEntry* row = nullptr;
        for (const SettingEntry& entry : kSettingTable) {
            if (entry.section == c.section && entry.key == c.key)
                row = &entry;
        }
        ASSERT_NE(row, nullptr) << c.section << "/" << c.key;
        seen.insert(std::string(c.section) + "/" + c.key);
        if (std::holds_alternative<int>(c.value)) {
            ASSERT_EQ(row->type, SettingType::Int) << c.key;
            EXPECT_EQ(settings.GetInt(row->id), std::get<int>(c.value)) << c.key;
        } else {
            ASSERT_EQ(row->type, SettingType::String) << c.key;
            const char* text = std::get<const char*>(c.value);
            EXPECT_EQ(settings.GetString(row->id), text ? std::string(text) : (folder_ / "prog").string()) << c.key;
        }
    }
    EXPECT_FALSE(fs::exists(Ini()));
    // Every row is a distinct key of the file.
    std::set<std::string> keys;
    for (const SettingEntry& entry : kSettingTable)
        EXPECT_TRUE(keys.insert(std::string(entry.section) + "/" + std::string(entry.key)).second) << entry.key;
    EXPECT_EQ(seen.size(), kSettingCount);  // and none is left out above
}

// Each read goes to the file: what another writer stored is seen at once.
TEST_F(SettingsFile, NothingIsCached)
{
    const Settings settings = Make();
    EXPECT_EQ(settings.GetInt(SettingId::FontSize), 16);
    const IniFile other(Ini());
    ASSERT_TRUE(other.WriteString("preferences", "fontsize", "22"));
    EXPECT_EQ(settings.GetInt(SettingId::FontSize), 22);
    ASSERT_TRUE(other.WriteString("Preferences", "Engine", "zovrun.exe"));
    EXPECT_EQ(settings.GetString(SettingId::Engine), "zovrun.exe");  // a Windows value is kept as stored
    ASSERT_TRUE(other.DeleteKey("Preferences", "FontSize"));
    EXPECT_EQ(settings.GetInt(SettingId::FontSize), 16);
}

TEST_F(SettingsFile, WritesReadBackAndCreateTheFile)
{
    const Settings settings = Make();
    ASSERT_TRUE(settings.WriteInt(SettingId::Maximize, 1));
    ASSERT_TRUE(fs::exists(Ini()));
    ASSERT_TRUE(settings.WriteString(SettingId::MruProject3, "/p/é.qzp"));
    ASSERT_TRUE(settings.WriteInt(TraceColourSetting(2), 255));
    ASSERT_TRUE(settings.WriteString(SettingId::ReplaceWith, "  x  "));
    EXPECT_EQ(settings.GetInt(SettingId::Maximize), 1);
    EXPECT_EQ(settings.GetString(RecentProjectSetting(2)), "/p/é.qzp");
    EXPECT_EQ(settings.GetInt(SettingId::TraceClr2), 255);
    EXPECT_EQ(settings.GetString(SettingId::ReplaceWith), "  x  ");
    const IniFile raw(Ini());
    EXPECT_EQ(raw.GetString("MRUProjects", "File3"), "/p/é.qzp");
    EXPECT_EQ(raw.GetString("CrystalEdit\\Replace", "ReplaceWith"), "  x  ");
    // Sections of the same key names stay apart.
    EXPECT_EQ(settings.GetString(SettingId::MruFile3), "");
}

TEST(SettingsFamilies, NumberedRowsFollowTheirFirst)
{
    for (int i = 0; i < kEditColourCount; ++i)
        EXPECT_EQ(SettingOf(EditColourSetting(i)).key, "EditClr" + std::to_string(i));
    for (int i = 0; i < kTraceColourCount; ++i)
        EXPECT_EQ(SettingOf(TraceColourSetting(i)).key, "TraceClr" + std::to_string(i));
    for (int i = 0; i < kRecentCount; ++i) {
        EXPECT_EQ(SettingOf(RecentProjectSetting(i)).key, "File" + std::to_string(i + 1));
        EXPECT_EQ(SettingOf(RecentProjectSetting(i)).section, "MRUProjects");
        EXPECT_EQ(SettingOf(RecentFileSetting(i)).section, "MRUFiles");
    }
}

}  // namespace
}  // namespace zov::shell
