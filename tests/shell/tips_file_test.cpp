#include "ide/shell/core/TipsFile.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

class TipsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_tips_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        settings_ = std::make_unique<Settings>(root_ / "ZOV.ini", root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    void WriteTips(const std::string& bytes) const { std::ofstream(root_ / "TipsFr.txt", std::ios::binary) << bytes; }
    // One opening of the dialog: construction reads a tip, destruction saves the position.
    std::string Open()
    {
        TipsFile tips(*settings_, "TipsFr.txt", prompter_);
        return tips.Tip();
    }
    std::string Ini() const { return ReadWholeFile(root_ / "ZOV.ini").value_or(""); }

    fs::path root_;
    std::unique_ptr<Settings> settings_;
    RecordingPrompter prompter_;
};

TEST_F(TipsFileTest, SuccessiveOpeningsGoRoundTheFile)
{
    WriteTips("; tips\r\nPremière astuce\r\n\r\n  indentée\r\n\tTAB\r\nDeuxième\r\nTroisième");
    EXPECT_EQ(Open(), "Première astuce");
    EXPECT_EQ(Open(), "Deuxième");
    EXPECT_EQ(Open(), "Troisième");
    EXPECT_EQ(Open(), "Première astuce");
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(TipsFileTest, PositionIsTheByteOffsetAfterTheTipShown)
{
    WriteTips("Un\r\nDeux\nTrois\rQuatre\r\n");
    const struct {
        const char* tip;
        int position;
    } expected[] = {{"Un", 4}, {"Deux", 9}, {"Trois", 15}, {"Quatre", 23}, {"Un", 4}};
    for (const auto& step : expected) {
        EXPECT_EQ(Open(), step.tip);
        EXPECT_EQ(settings_->GetInt(SettingId::TipsFilePos), step.position) << step.tip;
    }
}

TEST_F(TipsFileTest, MarksAreDroppedOnlyAtTheStart)
{
    const struct {
        const char* line;
        std::optional<std::string> tip;
    } cases[] = {
        {"[N]Nouveau", "Nouveau"},
        {"[C]Conseil", "Conseil"},
        {"Appuyez sur [N] pour continuer", "Appuyez sur [N] pour continuer"},
        {"[X]Autre", "[X]Autre"},
        {"", std::nullopt},
        {" blanc", std::nullopt},
        {"\ttab", std::nullopt},
        {";commentaire", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TipsFile::TipOfLine(c.line), c.tip) << c.line;
}

TEST_F(TipsFileTest, LongLinesAreOneTip)
{
    const std::string longTip(2500, 'x');
    WriteTips(longTip + "\nCourte\n");
    EXPECT_EQ(Open(), longTip);
    EXPECT_EQ(Open(), "Courte");
}

TEST_F(TipsFileTest, MissingFileGivesStringSixHundredOneAndKeepsThePosition)
{
    settings_->WriteInt(SettingId::TipsFilePos, 12);
    {
        TipsFile tips(*settings_, "TipsFr.txt", prompter_);
        EXPECT_FALSE(tips.IsOpen());
        EXPECT_EQ(tips.Tip(), "Impossible de lire le fichier d'astuces");
        tips.ReadNextTip();
        EXPECT_EQ(tips.Tip(), "");
    }
    EXPECT_EQ(settings_->GetInt(SettingId::TipsFilePos), 12);
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(TipsFileTest, NegativePositionTellsStringSixHundredTwo)
{
    WriteTips("Un\n");
    settings_->WriteInt(SettingId::TipsFilePos, -5);
    EXPECT_EQ(Open(), "");
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Problème lors de la lecture du fichier d'astuces"});
}

TEST_F(TipsFileTest, PositionPastTheEndStartsAgain)
{
    WriteTips("Un\nDeux\n");
    settings_->WriteInt(SettingId::TipsFilePos, 1000);
    EXPECT_EQ(Open(), "Un");
}

TEST_F(TipsFileTest, FileWithoutTipsEndsWithAnEmptyTip)
{
    for (const char* bytes : {"", "; rien\n\n  \n", "\r\n\r\n"}) {
        WriteTips(bytes);
        settings_->WriteInt(SettingId::TipsFilePos, 0);
        EXPECT_EQ(Open(), "") << bytes;
        EXPECT_EQ(Open(), "") << bytes;
    }
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(TipsFileTest, StartUpIsReadAtConstructionAndWrittenOnlyWhenAsked)
{
    WriteTips("Un\n");
    settings_->WriteInt(SettingId::TipsStartUp, 1);
    {
        TipsFile tips(*settings_, "TipsFr.txt", prompter_);
        EXPECT_TRUE(tips.ShowAtStartup());
    }
    EXPECT_EQ(settings_->GetInt(SettingId::TipsStartUp), 1);
    {
        TipsFile tips(*settings_, "TipsFr.txt", prompter_);
        tips.SaveShowAtStartup(false);
    }
    EXPECT_EQ(settings_->GetInt(SettingId::TipsStartUp), 0);
}

TEST_F(TipsFileTest, WindowsBytesAreDecoded)
{
    WriteTips("Astuce \xE9t\xE9\r\n");
    EXPECT_EQ(Open(), "Astuce été");
}

}  // namespace
}  // namespace zov::shell
