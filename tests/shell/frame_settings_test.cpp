#include "ide/shell/core/FrameSettings.h"
#include "ide/shell/core/HelpTopic.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

class FrameSettingsFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_frame_settings_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string Touch(const std::string& name)
    {
        std::ofstream(root_ / name) << "x";
        return (root_ / name).string();
    }
    Settings Make() const { return Settings(root_ / "ZOV.ini", root_); }

    fs::path root_;
};

TEST_F(FrameSettingsFiles, DefaultsWhenNothingIsStored)
{
    const FrameSettings values = ReadFrameSettings(Make());
    EXPECT_EQ(values.theme, 0x8002);
    EXPECT_EQ(values.showExecution, 1);
    EXPECT_EQ(values.showLineNumber, 0);
    EXPECT_EQ(values.timeoutFunction, 30);
    EXPECT_EQ(values.hideOnExecution, 0);
    EXPECT_EQ(values.saveTempResult, 0);
    EXPECT_EQ(values.importAutoSave, 0);
    EXPECT_EQ(values.beep, 0);
    EXPECT_EQ(values.versionControl, 1);
    EXPECT_EQ(values.viewAllInterfaces, 1);
    EXPECT_EQ(values.backProgram, "");
    EXPECT_EQ(values.backProgramParam, "");
    EXPECT_EQ(values.backProgramHide, 0);
    EXPECT_TRUE(values.recentProjects.Entries().empty());
}

TEST_F(FrameSettingsFiles, CloseWritesTheKeysInOrder)
{
    FrameSettings values;
    values.viewAllInterfaces = 0;
    values.theme = 0x8001;
    values.showExecution = 0;
    values.showLineNumber = 1;
    values.backProgram = "/opt/sim/start";
    values.backProgramParam = "-q";
    values.backProgramHide = 1;
    values.recentProjects.Add("/w/b.qzp");
    values.recentProjects.Add("/w/a.qzp");
    values.recentFiles.Add("/w/s.qzs");
    ASSERT_TRUE(WriteFrameCloseSettings(Make(), values, "/w/a.qzp", true));
    const auto written = ReadWholeFile(root_ / "ZOV.ini");
    const auto golden = ReadWholeFile(fs::path(ZOV_SOURCE_DIR) / "tests/shell/golden/frame_close.ini");
    ASSERT_TRUE(written && golden);
    EXPECT_EQ(*written, *golden);
}

TEST_F(FrameSettingsFiles, RecentListsKeepExistingFilesMostRecentFirst)
{
    const std::string a = Touch("a.qzs");
    const std::string b = Touch("b.qzs");
    const Settings settings = Make();
    settings.WriteString(SettingId::MruFile1, b);
    settings.WriteString(SettingId::MruFile2, (root_ / "gone.qzs").string());
    settings.WriteString(SettingId::MruFile3, a);
    RecentList list = RecentList::Read(settings, RecentKind::Files);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{b, a}));
    list.Add(a);
    EXPECT_EQ(list.Entries(), (std::vector<std::string>{a, b}));
    for (int i = 0; i < 6; ++i)
        list.Add("/w/" + std::to_string(i));
    EXPECT_EQ(list.Entries().size(), 5u);
    EXPECT_EQ(list.Entries().front(), "/w/5");
    ASSERT_TRUE(list.Write(settings, RecentKind::Files));
    EXPECT_EQ(settings.GetString(SettingId::MruFile5), "/w/1");
}

TEST_F(FrameSettingsFiles, HelpPages)
{
    fs::create_directories(root_ / "ZOV");
    std::ofstream(root_ / "ZOV" / "k_Print.html") << "x";
    struct Case {
        const char* helpFile;
        const char* word;
        const char* page;
    } cases[] = {
        {"ZOV.chm", "Print", "ZOV/k_Print.html"}, {"ZOV.chm", "Missing", "ZOV/index.html"},
        {"ZOV.chm", "", "ZOV/index.html"},        {"ZOV.chm", "../etc", "ZOV/index.html"},
        {"ZOV.chm", "a b", "ZOV/index.html"},     {"Help.CHM", "Print", "Help/index.html"},
        {"ZOVHelp", "x", "ZOVHelp/index.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HelpPage(root_, c.helpFile, c.word), root_ / c.page) << c.helpFile << " " << c.word;
}

}  // namespace
}  // namespace zov::shell
