#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/SplashWindow.h"
#include "ide/shell/TipOfTheDay.h"

#include "common/AtomicFile.h"
#include "common/gui/FormatLabel.h"
#include "ide/shell/core/ApplicationCore.h"
#include "tests/common/gui/QtTestSupport.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace zov::shell;
namespace fs = std::filesystem;

class SplashWindowTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

TEST_F(SplashWindowTest, CaptionIsOneBoldArialLineOnWhite)
{
    const Translate english = [](std::string_view text) {
        return text == "Version" ? std::string("Release") : std::string(text);
    };
    SplashWindow splash("1.0 PR1", english);
    EXPECT_EQ(splash.windowTitle(), "Zovatron");
    zov::CFormatLabel& caption = splash.Caption();
    EXPECT_EQ(caption.objectName(), "c1111");
    EXPECT_EQ(caption.Text(), "#BZ.O.V. Release 1.0 PR1");
    EXPECT_EQ(caption.BackgroundColour(), 0xFFFFFFu);
    const std::vector<zov::markup::PlacedRun> runs = caption.PlacedRuns();
    ASSERT_FALSE(runs.empty());
    for (const auto& run : runs) {
        EXPECT_TRUE(run.style.bold);
        EXPECT_EQ(run.style.face, "Arial");
        EXPECT_EQ(run.style.sizeTenths, 100);
        EXPECT_EQ(run.style.colour, 0u);
        EXPECT_EQ(run.y, runs.front().y);
    }
    EXPECT_EQ(SplashWindow::CaptionText("1.0 PR1", IdentityTranslate()), "#BZ.O.V. Version 1.0 PR1");
}

TEST_F(SplashWindowTest, EndsWithZeroAfterItsTime)
{
    SplashWindow splash("1.0 PR1", IdentityTranslate(), nullptr, 50);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(splash.exec(), 0);
    EXPECT_GE(clock.elapsed(), 45);
}

TEST_F(SplashWindowTest, SpaceAndEscapeEndIt)
{
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Escape}) {
        SplashWindow splash("1.0 PR1", IdentityTranslate(), nullptr, 60000);
        auto answered = zov::testing::AnswerNextModal([key](QWidget* window) { QTest::keyClick(window, key); });
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(splash.exec(), 0);
        EXPECT_TRUE(*answered);
        EXPECT_LT(clock.elapsed(), 10000);
    }
}

TEST_F(SplashWindowTest, NoSplashSkipsIt)
{
    const fs::path root = fs::temp_directory_path() / ("zov_splash_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "prog");
    ASSERT_TRUE(zov::WriteFileAtomically(root / "prog" / "ZOV.ini", "[Preferences]\r\nNoSplash=1\r\n"));
    {
        ApplicationCore app({root / "prog", root / "prog" / "ZOV.ini", root / "tmp"});
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(RunSplashWindow(app), -1);
        EXPECT_LT(clock.elapsed(), 2000);
    }
    fs::remove_all(root);
}

class TipOfTheDayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        root_ = fs::temp_directory_path() / ("zov_tipdlg_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        settings_ = std::make_unique<Settings>(root_ / "ZOV.ini", root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    void WriteTips(const std::string& bytes) const { std::ofstream(root_ / "TipsFr.txt", std::ios::binary) << bytes; }
    static QString Shown(const TipOfTheDay& dialog) { return FindControl<QLabel>(dialog, 1609)->text(); }

    fs::path root_;
    std::unique_ptr<Settings> settings_;
    RecordingPrompter prompter_;
};

TEST_F(TipOfTheDayTest, ShowsTipsInTurnAndNextTipMovesOn)
{
    WriteTips("; astuces\n[N]Première\nDeuxième\n");
    {
        TipOfTheDay dialog(*settings_, "TipsFr.txt", prompter_);
        dialog.InitialiseOnce();
        EXPECT_EQ(dialog.windowTitle(), "Astuce du jour");
        EXPECT_EQ(Shown(dialog), "Première");
        auto* next = FindControl<QPushButton>(dialog, 1606);
        EXPECT_EQ(next->text(), "Astuce suivante");
        EXPECT_TRUE(next->isEnabled());
        next->click();
        EXPECT_EQ(Shown(dialog), "Deuxième");
        next->click();
        EXPECT_EQ(Shown(dialog), "Première");
        EXPECT_EQ(FindControl<QCheckBox>(dialog, 1605)->text(), "A&fficher les astuces au démarrage");
        dialog.reject();
    }
    TipOfTheDay again(*settings_, "TipsFr.txt", prompter_);
    EXPECT_EQ(again.Tip(), "Deuxième");
}

TEST_F(TipOfTheDayTest, OkWritesTheStartUpChoiceAndOtherClosesDoNot)
{
    WriteTips("Un\n");
    {
        TipOfTheDay dialog(*settings_, "TipsFr.txt", prompter_);
        EXPECT_FALSE(dialog.ShowAtStartup());
        dialog.InitialiseOnce();
        FindControl<QCheckBox>(dialog, 1605)->setChecked(true);
        dialog.reject();
    }
    EXPECT_EQ(settings_->GetInt(SettingId::TipsStartUp), 0);
    {
        TipOfTheDay dialog(*settings_, "TipsFr.txt", prompter_);
        dialog.InitialiseOnce();
        FindControl<QCheckBox>(dialog, 1605)->setChecked(true);
        FindControl<QPushButton>(dialog, 1)->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(settings_->GetInt(SettingId::TipsStartUp), 1);
    TipOfTheDay dialog(*settings_, "TipsFr.txt", prompter_);
    EXPECT_TRUE(dialog.ShowAtStartup());
    dialog.InitialiseOnce();
    EXPECT_TRUE(FindControl<QCheckBox>(dialog, 1605)->isChecked());
}

TEST_F(TipOfTheDayTest, MissingFileDisablesNextTip)
{
    TipOfTheDay dialog(*settings_, "Absent.txt", prompter_);
    dialog.InitialiseOnce();
    EXPECT_EQ(Shown(dialog), "Impossible de lire le fichier d'astuces");
    EXPECT_FALSE(FindControl<QPushButton>(dialog, 1606)->isEnabled());
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(TipOfTheDayTest, StartUpShowsTheDialogOnlyWhenAskedButUsesATipEitherWay)
{
    const fs::path program = root_ / "prog";
    fs::create_directories(program);
    std::ofstream(program / "TipsFr.txt", std::ios::binary) << "Un\nDeux\n";
    std::ofstream(root_ / "answers.txt") << "ok\n";
    ScriptedShellPrompter prompter(root_ / "answers.txt", PromptLog(root_ / "log.txt"));
    {
        ApplicationCore app({program, program / "ZOV.ini", root_ / "tmp"});
        EXPECT_EQ(RunTipOfTheDay(app, prompter, true), -1);
        EXPECT_EQ(app.GetSettings().GetInt(SettingId::TipsFilePos), 3);
        EXPECT_EQ(RunTipOfTheDay(app, prompter, false), QDialog::Accepted);
        EXPECT_EQ(app.GetSettings().GetInt(SettingId::TipsFilePos), 8);
        EXPECT_EQ(app.GetSettings().GetInt(SettingId::TipsStartUp), 0);
        app.GetSettings().WriteInt(SettingId::TipsStartUp, 1);
        std::ofstream(root_ / "answers.txt") << "cancel\n";
        ScriptedShellPrompter cancelling(root_ / "answers.txt", PromptLog(root_ / "log.txt"));
        EXPECT_EQ(RunTipOfTheDay(app, cancelling, true), QDialog::Rejected);
        EXPECT_EQ(app.GetSettings().GetInt(SettingId::TipsFilePos), 3);
    }
}

}  // namespace
