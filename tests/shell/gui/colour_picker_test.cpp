#include "ide/shell/ColourPicker.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/UiLanguage.h"

#include "common/IniFile.h"
#include "tests/common/gui/QtTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace zov::shell;

TEST(ColourTableTest, HoldsTheFortyNamedColoursInGridOrder)
{
    const std::vector<std::pair<std::uint32_t, std::string>> expected = {
        {0x000000, "Noir"},           {0x002AA5, "Marron"},      {0x404000, "Vert olive foncé"},
        {0x005500, "Vert foncé"},     {0x5E0000, "Teal foncé"},  {0x8B0000, "Bleu foncé"},
        {0x82004B, "Indigo"},         {0x282828, "Gris foncé"},  {0x00008B, "Rouge foncé"},
        {0x2068FF, "Orange"},         {0x008B8B, "Jaune foncé"}, {0x009300, "Vert"},
        {0x8E8E38, "Vert turquoise"}, {0xFF0000, "Bleu"},        {0xC07B7B, "Gris-bleu"},
        {0x666666, "Gris - 40"},      {0x0000FF, "Rouge"},       {0x5BADFF, "Orange clair"},
        {0x32CD32, "Citron vert"},    {0x71B33C, "Vert océan"},  {0xD4FF7F, "Eau"},
        {0xC09E7D, "Bleu clair"},     {0x800080, "Violet"},      {0x808080, "Gris - 50"},
        {0xCBC0FF, "Rose foncé"},     {0x00D7FF, "Or"},          {0x00FFFF, "Jaune"},
        {0x00FF00, "Vert lumineux"},  {0xD0E040, "Turquoise"},   {0xFFFFC0, "Bleu ciel"},
        {0x480048, "Plum"},           {0xC0C0C0, "Gris clair"},  {0xE1E4FF, "Rose"},
        {0x8CB4D2, "Cuivre"},         {0xE0FFFF, "Jaune clair"}, {0x98FB98, "Vert pâle"},
        {0xEEEEAF, "Turquoise pâle"}, {0x8B8368, "Bleu pâle"},   {0xFAE6E6, "Lavende"},
        {0xFFFFFF, "Blanc"},
    };
    ASSERT_EQ(ColourTable().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(ColourTable()[i].colour, expected[i].first) << i;
        EXPECT_EQ(std::string(ColourTable()[i].name), expected[i].second) << i;
    }
}

TEST(ColourPopupKeysTest, MoveTheHotCellAsTheTableSays)
{
    constexpr int A = kAutomaticCell, C = kCustomCell, N = kNoCell;
    struct Case {
        int from;
        PopupKey key;
        bool hasAuto;
        bool hasCustom;
        int to;
    };
    const std::vector<Case> cases = {
        // Right
        {A, PopupKey::Right, true, true, 0},
        {5, PopupKey::Right, true, true, 6},
        {7, PopupKey::Right, true, true, 8},  // to the next row's first cell
        {39, PopupKey::Right, true, true, C},
        {39, PopupKey::Right, true, false, A},
        {39, PopupKey::Right, false, false, 0},
        {C, PopupKey::Right, true, true, A},
        {C, PopupKey::Right, false, true, 0},
        {N, PopupKey::Right, false, false, 0},
        // Left
        {9, PopupKey::Left, true, true, 8},
        {8, PopupKey::Left, true, true, 7},  // to the previous row's last cell
        {0, PopupKey::Left, true, true, A},
        {0, PopupKey::Left, false, true, C},
        {0, PopupKey::Left, false, false, 39},
        {A, PopupKey::Left, true, true, C},
        {A, PopupKey::Left, true, false, 39},
        {C, PopupKey::Left, true, true, 39},
        // Down
        {3, PopupKey::Down, true, true, 11},
        {35, PopupKey::Down, true, true, C},
        {35, PopupKey::Down, true, false, A},
        {35, PopupKey::Down, false, false, 0},
        {A, PopupKey::Down, true, true, 0},
        {C, PopupKey::Down, true, true, A},
        {C, PopupKey::Down, false, true, 0},
        // Up
        {11, PopupKey::Up, true, true, 3},
        {3, PopupKey::Up, true, true, A},
        {3, PopupKey::Up, false, true, C},
        {3, PopupKey::Up, false, false, 39},
        {A, PopupKey::Up, true, true, C},
        {A, PopupKey::Up, true, false, 39},
        {N, PopupKey::Up, false, true, C},
        {C, PopupKey::Up, true, true, 39},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextCell(c.from, c.key, c.hasAuto, c.hasCustom), c.to)
            << "from " << c.from << " key " << static_cast<int>(c.key) << " auto " << c.hasAuto << " custom "
            << c.hasCustom;
    }
    // Without a default text no key ever reaches the automatic box.
    for (int cell = -2; cell < kColourCount; ++cell) {
        for (const PopupKey key : {PopupKey::Left, PopupKey::Right, PopupKey::Up, PopupKey::Down}) {
            EXPECT_NE(NextCell(cell, key, false, true), A);
            EXPECT_NE(NextCell(cell, key, false, false), A);
            EXPECT_NE(NextCell(cell, key, true, false), C);
        }
    }
}

TEST(ColourTextTest, NamesTableColoursAndSpellsOutOthers)
{
    struct Case {
        std::uint32_t colour;
        QString letters;
        bool withValues;
        QString expected;
    };
    const std::vector<Case> cases = {
        {0x0000FF, "RGB", false, "Rouge"},
        {0x0000FF, "RGB", true, "Rouge (R:255 G:0 B:0)"},
        {0x0102FF, "RGB", false, "R:255 G:2 B:1"},
        {0x0102FF, "RGB", true, "R:255 G:2 B:1"},
        {0xFAE6E6, "RVB", true, "Lavende (R:230 V:230 B:250)"},
        {0x0102FF, "X", false, "X:255  :2  :1"},
        {kAutomaticColour, "RGB", true, "Automatique"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColourText(c.colour, "Automatique", c.letters, c.withValues), c.expected) << c.colour;
}

TEST(ColourPopupGeometryTest, BlendsTheChosenCellAndStaysOnScreen)
{
    // (207 × menu + 48 × highlight) / 256, rounded down, per component.
    EXPECT_EQ(ChosenCellColour(0xF0F0F0, 0xD77800), 0xEAD8C2u);
    EXPECT_EQ(ChosenCellColour(0xFFFFFF, 0xFFFFFF), 0xFEFEFEu);
    EXPECT_EQ(ChosenCellColour(0, 0), 0u);

    const QRect screen(0, 0, 800, 600);
    const QRect button(700, 570, 100, 22);
    struct Case {
        QRect popup;
        QRect expected;
    };
    const std::vector<Case> cases = {
        {{10, 100, 148, 94}, {10, 100, 148, 94}},
        {{700, 100, 148, 94}, {652, 100, 148, 94}},  // moved left
        {{-20, 100, 148, 94}, {0, 100, 148, 94}},    // moved right
        {{700, 592, 148, 94}, {652, 476, 148, 94}},  // above the button
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeepPopupOnScreen(c.popup, button, screen), c.expected);

    // 8 × 5 boxes of 18 px in a 2 px margin; the boxes take room only with their captions.
    const PopupLayout plain = ComputePopupLayout(false, false, 0, 0);
    EXPECT_EQ(plain.window, QRect(0, 0, 148, 94));
    EXPECT_EQ(plain.grid, QRect(2, 2, 144, 90));
    EXPECT_TRUE(plain.automatic.isEmpty());
    EXPECT_TRUE(plain.custom.isEmpty());
    EXPECT_EQ(plain.CellRect(9), QRect(20, 20, 18, 18));
    EXPECT_EQ(plain.CellAt(QPoint(21, 21)), 9);
    EXPECT_EQ(plain.CellAt(QPoint(1, 1)), kNoCell);
    EXPECT_EQ(plain.CellAt(QPoint(145, 91)), 39);

    const PopupLayout boxes = ComputePopupLayout(true, true, 200, 14);
    EXPECT_EQ(boxes.window.width(), 204);
    EXPECT_EQ(boxes.automatic, QRect(2, 2, 200, 24));
    EXPECT_EQ(boxes.grid, QRect(30, 32, 144, 90));  // centred under the wider captions
    EXPECT_EQ(boxes.custom, QRect(2, 124, 200, 24));
    EXPECT_EQ(boxes.window.height(), 152);
    EXPECT_EQ(boxes.CellAt(QPoint(10, 10)), kAutomaticCell);
    EXPECT_EQ(boxes.CellAt(QPoint(10, 130)), kCustomCell);
    EXPECT_EQ(boxes.CellAt(QPoint(10, 60)), kNoCell);

    EXPECT_EQ(InitialCell(kAutomaticColour, true, true), kAutomaticCell);
    EXPECT_EQ(InitialCell(0x0000FF, true, true), 16);
    EXPECT_EQ(InitialCell(0x123456, true, true), kCustomCell);
    EXPECT_EQ(InitialCell(0x123456, false, false), kNoCell);
}

// The picker's signals in order, as "<name> <colour>".
class SignalLog : public QObject {
public:
    explicit SignalLog(CColourPickerXP& picker)
    {
        auto record = [this](const char* name) {
            return [this, name](quint32 colour, int id) {
                lines.push_back(std::string(name) + " " + std::to_string(colour));
                ids.push_back(id);
            };
        };
        connect(&picker, &CColourPickerXP::colourChanged, this, record("changed"));
        connect(&picker, &CColourPickerXP::dropDown, this, record("dropDown"));
        connect(&picker, &CColourPickerXP::closeUp, this, record("closeUp"));
        connect(&picker, &CColourPickerXP::selEndOk, this, record("selEndOk"));
        connect(&picker, &CColourPickerXP::selEndCancel, this, record("selEndCancel"));
    }
    std::vector<std::string> lines;
    std::vector<int> ids;
};

class ColourPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        folder_ = fs::temp_directory_path() / ("zov_colourpicker_" + std::to_string(::getpid()) + "_" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        errors_ = std::tmpfile();
        picker_ = std::make_unique<CColourPickerXP>();
        SetControlId(*picker_, 1231);
        picker_->SetColour(0x0000FF);
        picker_->resize(60, 24);
        picker_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(picker_.get()));
    }
    void TearDown() override
    {
        picker_.reset();
        InstallPrompter(nullptr);
        std::fclose(errors_);
        fs::remove_all(folder_);
    }

    ColourPopup& Open()
    {
        QTest::mouseClick(picker_.get(), Qt::LeftButton);
        EXPECT_TRUE(picker_->IsPopupOpen());
        return *picker_->Popup();
    }

    void Answer(const std::string& answers)
    {
        std::ofstream(folder_ / "answers.txt", std::ios::binary) << answers;
        InstallPrompter(
            std::make_unique<ScriptedShellPrompter>(folder_ / "answers.txt", PromptLog(folder_ / "log.txt"), errors_));
    }

    std::unique_ptr<CColourPickerXP> picker_;
    fs::path folder_;
    std::FILE* errors_ = nullptr;
};

TEST_F(ColourPickerTest, StartsAutomaticWithTheMoreColoursBoxAndNoAutomaticBox)
{
    CColourPickerXP fresh;
    EXPECT_EQ(fresh.GetColour(), kAutomaticColour);
    EXPECT_EQ(fresh.GetColour(true), fresh.GetDefaultColour());
    EXPECT_EQ(fresh.CustomText(), "Plus de couleurs...");
    EXPECT_TRUE(fresh.DefaultText().isEmpty());
    EXPECT_EQ(fresh.ComponentLetters(), "RGB");
    fresh.SetComponentLetters("X");
    EXPECT_EQ(fresh.ComponentLetters(), "X  ");

    ColourPopup& popup = Open();
    EXPECT_TRUE(popup.Layout().automatic.isEmpty());
    EXPECT_FALSE(popup.Layout().custom.isEmpty());
    EXPECT_EQ(popup.ChosenCell(), 16);  // "Rouge"
    popup.End(false);
}

TEST_F(ColourPickerTest, NotificationsKeepTheirNumbers)
{
    EXPECT_EQ(MsgColourChanged, 2025);
    EXPECT_EQ(MsgColourDropDown, 2026);
    EXPECT_EQ(MsgColourCloseUp, 2027);
    EXPECT_EQ(MsgColourSelEndOk, 2028);
    EXPECT_EQ(MsgColourSelEndCancel, 2029);
}

TEST_F(ColourPickerTest, EscapeAfterPreviewsRestoresTheColourFromBeforeTheOpening)
{
    SignalLog log(*picker_);
    ColourPopup& popup = Open();
    QTest::keyClick(&popup, Qt::Key_Right);  // from none to cell 0: "Noir" previewed
    EXPECT_EQ(picker_->GetColour(), 0x000000u);
    QTest::keyClick(&popup, Qt::Key_Escape);
    EXPECT_FALSE(picker_->IsPopupOpen());
    EXPECT_EQ(picker_->GetColour(), 0x0000FFu);
    const std::vector<std::string> expected = {"dropDown 255", "changed 0", "closeUp 255", "selEndCancel 255"};
    EXPECT_EQ(log.lines, expected);
    EXPECT_EQ(log.ids, std::vector<int>(4, 1231));
}

TEST_F(ColourPickerTest, TheArrowKeyOpensAndEnterTakesTheHotCell)
{
    SignalLog log(*picker_);
    picker_->setFocus();
    QTest::keyClick(picker_.get(), Qt::Key_Down);
    ASSERT_TRUE(picker_->IsPopupOpen());
    ColourPopup& popup = *picker_->Popup();
    QTest::keyClick(&popup, Qt::Key_Right);  // 0
    QTest::keyClick(&popup, Qt::Key_Down);   // 8 "Rouge foncé"
    QTest::keyClick(&popup, Qt::Key_Return);
    EXPECT_FALSE(picker_->IsPopupOpen());
    EXPECT_EQ(picker_->GetColour(), 0x00008Bu);
    const std::vector<std::string> expected = {"dropDown 255", "changed 0", "changed 139", "closeUp 139",
                                               "selEndOk 139"};
    EXPECT_EQ(log.lines, expected);
}

TEST_F(ColourPickerTest, AReleaseOverACellTakesItAndOverNoCellCancels)
{
    {
        SignalLog log(*picker_);
        ColourPopup& popup = Open();
        const QPoint cell = popup.Layout().CellRect(13).center();  // "Bleu"
        QTest::mouseMove(&popup, cell);
        QTest::mouseRelease(&popup, Qt::LeftButton, Qt::NoModifier, cell);
        EXPECT_EQ(picker_->GetColour(), 0xFF0000u);
        EXPECT_EQ(log.lines.back(), "selEndOk 16711680");
    }
    {
        SignalLog log(*picker_);
        ColourPopup& popup = Open();
        const QPoint margin(1, 1);
        QTest::mouseMove(&popup, margin);
        QTest::mouseRelease(&popup, Qt::LeftButton, Qt::NoModifier, margin);
        EXPECT_FALSE(picker_->IsPopupOpen());
        EXPECT_EQ(picker_->GetColour(), 0xFF0000u);
        EXPECT_EQ(log.lines.back(), "selEndCancel 16711680");
    }
}

TEST_F(ColourPickerTest, LeavingTheApplicationCancels)
{
    SignalLog log(*picker_);
    ColourPopup& popup = Open();
    QTest::keyClick(&popup, Qt::Key_Right);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(&popup, &deactivate);
    EXPECT_FALSE(picker_->IsPopupOpen());
    EXPECT_EQ(picker_->GetColour(), 0x0000FFu);
    EXPECT_EQ(log.lines.back(), "selEndCancel 255");
}

TEST_F(ColourPickerTest, MoreColoursAsksThePrompterAndKeepsTheCustomColoursInTheSection)
{
    const fs::path ini = folder_ / "ZOV.ini";
    zov::IniFile(ini).WriteInt("Couleurs", "CUSTOM_COLOR_3", 0x123456);
    picker_->SetCustomColourFile(ini);
    picker_->SetCustomColourSection("Couleurs");
    Answer("ok 66051\ncancel\n");

    SignalLog log(*picker_);
    ColourPopup* popup = &Open();
    QTest::keyClick(popup, Qt::Key_Left);  // none → more colours box
    EXPECT_EQ(popup->HotCell(), kCustomCell);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(picker_->GetColour(), 66051u);
    EXPECT_EQ(log.lines.back(), "changed 66051");
    EXPECT_EQ(zov::IniFile(ini).GetInt("Couleurs", "CUSTOM_COLOR_3", 0), 0x123456);
    EXPECT_EQ(zov::IniFile(ini).GetInt("Couleurs", "CUSTOM_COLOR_15", 0), 0xFFFFFF);

    // A cancelled colour dialog cancels the whole choice.
    popup = &Open();
    QTest::keyClick(popup, Qt::Key_Left);
    QTest::keyClick(popup, Qt::Key_Return);
    EXPECT_EQ(picker_->GetColour(), 66051u);
    EXPECT_EQ(log.lines.back(), "selEndCancel 66051");

    std::ifstream in(folder_ / "log.txt", std::ios::binary);
    const std::string prompts(std::istreambuf_iterator<char>(in), {});
    EXPECT_EQ(prompts, "colour\tCouleurs\ncolour\tCouleurs\n");
}

TEST_F(ColourPickerTest, ComboLookShowsTheColoursName)
{
    picker_->SetComboLook(true);
    EXPECT_EQ(picker_->height(), picker_->fontMetrics().height() + 8);
    EXPECT_EQ(picker_->DisplayText(), "Rouge");
    picker_->SetNameWithValues(true);
    EXPECT_EQ(picker_->DisplayText(), "Rouge (R:255 G:0 B:0)");
    picker_->SetColour(kAutomaticColour);
    picker_->SetDefaultText("Automatique");
    EXPECT_EQ(picker_->DisplayText(), "Automatique");
    ColourPopup& popup = Open();
    EXPECT_FALSE(popup.Layout().automatic.isEmpty());
    EXPECT_EQ(popup.ChosenCell(), kAutomaticCell);
    popup.End(false);
}

}  // namespace
