#include "ide/shell/Preferences.h"

#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "tests/shell/gui/RecordedShellPrompter.h"
#include "ide/shell/UiLanguage.h"

#include "common/AtomicFile.h"
#include "tests/common/gui/QtTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using namespace zov::shell;
namespace fs = std::filesystem;

// Answers like RecordingPrompter; a dialog is initialised, handed to `onExec`, then ended with
// accept() when it returns true (as a click on OK), else reject().
class TestPrompter : public test::RecordedShellPrompter {
public:
    int Exec(QDialog& dialog) override
    {
        if (auto* themed = dynamic_cast<ThemedDialogBase*>(&dialog))
            themed->InitialiseOnce();
        const bool ok = onExec ? onExec(dialog) : true;
        if (ok)
            dialog.accept();
        if (dialog.result() != QDialog::Accepted)
            dialog.reject();
        return dialog.result();
    }

    std::function<bool(QDialog&)> onExec;
};

template <typename Control = QWidget>
Control& Find(const QWidget& window, int id)
{
    auto* control = FindControl<Control>(window, id);
    if (control == nullptr)
        throw std::runtime_error("no control " + std::to_string(id));
    return *control;
}

QStringList Items(const QComboBox& combo)
{
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    return items;
}

class PreferencesSheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        root_ = fs::temp_directory_path() / ("zov_prefsheet_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        settings_ = std::make_unique<Settings>(root_ / "ZOV.ini", root_);
        app_ = ReadApplicationSettings(*settings_);
    }
    void TearDown() override
    {
        InstallUiLanguage({});
        fs::remove_all(root_);
    }
    PreferencesStore Store() { return PreferencesStore{*settings_, app_, defaultConfiguration_}; }

    fs::path root_;
    std::unique_ptr<Settings> settings_;
    ApplicationSettings app_;
    bool defaultConfiguration_ = false;
    NullPreferencesHost host_;
    TestPrompter prompter_;
};

TEST_F(PreferencesSheetTest, SheetHasTheFivePagesInOrderAndOnlyOkAndCancel)
{
    CPreferences sheet(root_, prompter_);
    sheet.InitialiseOnce();
    EXPECT_EQ(sheet.windowTitle(), "Préférences");
    QStringList titles;
    for (int i = 0; i < sheet.PageTree()->topLevelItemCount(); ++i)
        titles << sheet.PageTree()->topLevelItem(i)->text(0);
    EXPECT_EQ(titles, (QStringList{"Générale", "Interpréteur", "Editeur", "Traces", "Exécution"}));
    QStringList buttons;
    for (QAbstractButton* button : sheet.Buttons()->buttons())
        buttons << button->text();
    EXPECT_EQ(buttons, (QStringList{"OK", "Annuler"}));
    EXPECT_TRUE(sheet.PageFrame()->IsCaptionShown());
    EXPECT_FALSE(sheet.PageTree()->topLevelItem(0)->icon(0).isNull());
}

TEST_F(PreferencesSheetTest, ControlsCarryTheirTexts)
{
    CPreferences sheet(root_, prompter_);
    const struct {
        QWidget* page;
        int id;
        const char* text;
    } checks[] = {
        {&sheet.General(), 1007, "Ne pas afficher la fenêtre de démarrage"},
        {&sheet.General(), 1032, "Signal sonore à la fin ou à l'arrêt d'un script"},
        {&sheet.General(), 1027, "Configuration par défaut"},
        {&sheet.General(), 1214, "Sauvegarde automatique des fichiers exigences && FT"},
        {&sheet.Interpreter(), 1026, "Afficher la ligne d'exécution en cours"},
        {&sheet.Editor(), 1028, "Afficher les numéros de ligne"},
        {&sheet.Trace(), 1008, "Afficher les traces des scripts"},
        {&sheet.Trace(), 1031, "Afficher les traces des CLI"},
        {&sheet.Trace(), 1014, "Afficher les traces de l'interpréteur"},
        {&sheet.Trace(), 1194, "Afficher chaque trace sur une ligne"},
        {&sheet.Exec(), 1190, "Enregistrer temporairement les résultats"},
        {&sheet.Exec(), 1009, "Cacher durant l'exécution"},
        {&sheet.Exec(), 1010, "Enregistrer les traces pour le rapport"},
    };
    for (const auto& c : checks)
        EXPECT_EQ(Find<QCheckBox>(*c.page, c.id).text(), QString::fromUtf8(c.text)) << c.id;
    QStringList labels;
    for (QWidget* page : {static_cast<QWidget*>(&sheet.Interpreter()), static_cast<QWidget*>(&sheet.Trace())}) {
        for (QLabel* label : page->findChildren<QLabel*>())
            labels << label->text();
    }
    for (const char* text : {"Pause entre chaque ligne :", "Timeout sur appel de fonction :", "secondes",
                             "Interpréteur :", "Paramètres :", "Couleurs :", "Taille du tampon :", "lignes"})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    EXPECT_EQ(Find<QPushButton>(sheet.General(), 1023).text(), "...");
    EXPECT_EQ(Find<QPushButton>(sheet.Interpreter(), 1010).text(), "...");
    EXPECT_EQ(Find<QPushButton>(sheet.Editor(), 1024).text(), "Color");
    EXPECT_EQ(Items(Find<QComboBox>(sheet.General(), 1205)), (QStringList{"<Aucun>", "GIT (bientôt)"}));
    EXPECT_EQ(Items(Find<QComboBox>(sheet.General(), 1256)),
              (QStringList{"Normal", "Grandes polices", "Très grands caractères"}));
    EXPECT_EQ(Items(Find<QComboBox>(sheet.General(), 1257)), (QStringList{"Standard", "Thème 2003"}));
    EXPECT_EQ(Items(Find<QComboBox>(sheet.Interpreter(), 1064)),
              (QStringList{"<Aucune>", "10 ms", "30 ms", "50 ms", "100 ms", "200 ms", "500 ms", "1 s"}));
    const auto rows = [](const QListWidget& list) {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.item(i)->text();
        return texts;
    };
    EXPECT_EQ(rows(Find<QListWidget>(sheet.Editor(), 1001)),
              (QStringList{"Mot clé", "Fonction", "CLI", "Constante", "Macro instruction", "Commentaire", "Nombre",
                           "Chaine de caractères"}));
    EXPECT_EQ(rows(Find<QListWidget>(sheet.Trace(), 1001)),
              (QStringList{"Système", "Interpréteur", "Traces des scripts", "CLI"}));
    auto& timeout = Find<QSpinBox>(sheet.Interpreter(), 1201);
    EXPECT_EQ(timeout.minimum(), 2);
    EXPECT_EQ(timeout.maximum(), 86400);
    auto& maxLines = Find<QSpinBox>(sheet.Trace(), 1236);
    EXPECT_EQ(maxLines.minimum(), 1000);
    EXPECT_EQ(maxLines.maximum(), 100000);
}

TEST_F(PreferencesSheetTest, ValuesGoInAndComeBackUnchanged)
{
    PreferencesValues values;
    values.defaultInterface = "sub/Banc.qzi";
    values.versionControl = 1;
    values.fontChoice = 2;
    values.themeChoice = 1;
    values.noSplash = values.beep = values.importAutoSave = true;
    values.showExecution = false;
    values.linePauseMs = 500;
    values.timeoutFunction = 120;
    values.engine = "zovrun";
    values.engineParams = "-x 1";
    for (int i = 0; i < 8; ++i)
        values.editColours[i] = 0x010101u * i;
    values.showLineNumber = true;
    values.editorNames = {"un", "#deux"};
    values.traceColours = {1, 2, 3, 4};
    values.traceCli = false;
    values.maxLines = 20000;
    values.traceOneLine = true;
    values.saveTempResult = true;
    CPreferences sheet(root_, prompter_);
    sheet.InitialiseOnce();
    sheet.SetValues(values);
    EXPECT_EQ(sheet.Values(), values);
    EXPECT_EQ(Find<QComboBox>(sheet.General(), 1256).currentText(), "Très grands caractères");
    EXPECT_EQ(Find<QComboBox>(sheet.Interpreter(), 1064).currentText(), "500 ms");
    EXPECT_FALSE(Find<QComboBox>(sheet.Interpreter(), 1064).isEnabled());
    EXPECT_FALSE(Find<QLabel>(sheet.Interpreter(), 1066).isEnabled());
    Find<QCheckBox>(sheet.Interpreter(), 1026).setChecked(true);
    EXPECT_TRUE(Find<QComboBox>(sheet.Interpreter(), 1064).isEnabled());
    EXPECT_TRUE(Find<QLabel>(sheet.Interpreter(), 1066).isEnabled());
}

TEST_F(PreferencesSheetTest, ColourButtonShowsAndChangesTheSelectedCategory)
{
    CPreferences sheet(root_, prompter_);
    PreferencesValues values;
    values.traceColours = {10, 20, 30, 40};
    sheet.SetValues(values);
    auto& list = Find<QListWidget>(sheet.Trace(), 1001);
    auto& button = Find<PreferencesColourButton>(sheet.Trace(), 1024);
    EXPECT_EQ(button.Colour(), 10u);
    list.setCurrentRow(2);
    EXPECT_EQ(button.Colour(), 30u);
    prompter_.record.Queue(PromptAnswer::Ok, "255");
    button.click();
    EXPECT_EQ(sheet.Values().traceColours, (std::array<std::uint32_t, 4>{10, 20, 255, 40}));
    button.click();  // cancelled: nothing changes
    EXPECT_EQ(sheet.Values().traceColours[2], 255u);
}

TEST_F(PreferencesSheetTest, EditorNamesAreTickedUnlessMarkedAndUntickingDropsThem)
{
    CPreferences sheet(root_, prompter_);
    auto& names = Find<QComboBox>(sheet.Editor(), 1018);
    PreferencesValues values;
    sheet.SetValues(values);
    EXPECT_FALSE(names.isEnabled());
    values.editorNames = {"alpha", "#beta", "gamma"};
    sheet.SetValues(values);
    EXPECT_TRUE(names.isEnabled());
    auto* model = static_cast<QStandardItemModel*>(names.model());
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->item(1)->text(), "beta");
    EXPECT_EQ(model->item(0)->checkState(), Qt::Checked);
    EXPECT_EQ(model->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(sheet.Values().editorNames, values.editorNames);
    model->item(2)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(sheet.Values().editorNames, std::vector<std::string>{"alpha"});
}

TEST_F(PreferencesSheetTest, LanguagesComeFromTheLanguageFiles)
{
    std::ofstream(root_ / "english.lgn", std::ios::binary) << "$LANGUAGE=English\r\n";
    std::ofstream(root_ / "deutsch.lgn", std::ios::binary) << " $LANGUE = Deutsch \r\n";
    std::ofstream(root_ / "notes.lgn", std::ios::binary) << "pas de langue\r\n";
    CPreferences sheet(root_, prompter_);
    auto& language = Find<QComboBox>(sheet.General(), 1018);
    EXPECT_EQ(Items(language), (QStringList{"Deutsch", "English"}));
    PreferencesValues values;
    values.language = "english.lgn";
    sheet.SetValues(values);
    EXPECT_EQ(language.currentText(), "English");
    language.setCurrentIndex(0);
    EXPECT_EQ(sheet.Values().language, "deutsch.lgn");

    fs::remove(root_ / "english.lgn");
    fs::remove(root_ / "deutsch.lgn");
    CPreferences empty(root_, prompter_);
    EXPECT_EQ(Find<QComboBox>(empty.General(), 1018).count(), 0);
    empty.SetValues(values);
    EXPECT_EQ(empty.Values().language, "english.lgn");
}

TEST_F(PreferencesSheetTest, BrowseButtonsPutPathsRelativeToTheProgramFolder)
{
    CPreferences sheet(root_, prompter_);
    prompter_.record.Queue(PromptAnswer::Ok, (root_ / "interfaces" / "Banc.qzi").string());
    Find<QPushButton>(sheet.General(), 1023).click();
    EXPECT_EQ(Find<QLineEdit>(sheet.General(), 1022).text(), "interfaces/Banc.qzi");
    prompter_.record.Queue(PromptAnswer::Ok, (root_ / "zovrun").string());
    Find<QPushButton>(sheet.Interpreter(), 1010).click();
    EXPECT_EQ(Find<QLineEdit>(sheet.Interpreter(), 1013).text(), "zovrun");
    Find<QPushButton>(sheet.Interpreter(), 1010).click();  // cancelled
    EXPECT_EQ(Find<QLineEdit>(sheet.Interpreter(), 1013).text(), "zovrun");
    ASSERT_EQ(prompter_.requests.size(), 3u);
    EXPECT_EQ(prompter_.requests[0].title, "Sélectionner");
    EXPECT_EQ(prompter_.requests[0].filter, "Interface|*.qzi|");
    EXPECT_EQ(prompter_.requests[0].initialPath, "*.qzi");
    EXPECT_EQ(prompter_.requests[1].filter, "Interpréteur|*|");
}

TEST_F(PreferencesSheetTest, CommandStoresAfterOkAndReopensOnTheLastPage)
{
    PreferencesCommand command;
    prompter_.onExec = [](QDialog& dialog) {
        auto& sheet = static_cast<CPreferences&>(dialog);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        sheet.PageTree()->setCurrentItem(sheet.FindPageItem(3));
        Find<QSpinBox>(sheet.Trace(), 1236).setValue(3000);
        return true;
    };
    EXPECT_TRUE(command.Run(Store(), host_, prompter_));
    EXPECT_EQ(settings_->GetInt(SettingId::MaxLines), 3000);
    EXPECT_EQ(command.LastPage(), 3);
    EXPECT_TRUE(prompter_.record.Prompts().empty());

    prompter_.onExec = [](QDialog& dialog) {
        auto& sheet = static_cast<CPreferences&>(dialog);
        EXPECT_EQ(sheet.GetActiveIndex(), 3);
        EXPECT_EQ(sheet.PageTree()->currentItem()->text(0), "Traces");
        sheet.PageTree()->setCurrentItem(sheet.FindPageItem(1));
        Find<QSpinBox>(sheet.Trace(), 1236).setValue(4000);
        return false;
    };
    EXPECT_FALSE(command.Run(Store(), host_, prompter_));
    EXPECT_EQ(settings_->GetInt(SettingId::MaxLines), 3000);
    EXPECT_EQ(command.LastPage(), 3);
}

TEST_F(PreferencesSheetTest, TextsAreTranslated)
{
    InstallUiLanguage([](std::string_view text) -> std::string {
        if (text == "Préférences")
            return "Preferences";
        if (text == "Générale")
            return "General";
        if (text == "Annuler")
            return "Cancel";
        if (text == "Normal")
            return "Regular";
        if (text == "Mot clé")
            return "Keyword";
        return std::string(text);
    });
    CPreferences sheet(root_, prompter_);
    sheet.InitialiseOnce();
    EXPECT_EQ(sheet.windowTitle(), "Preferences");
    EXPECT_EQ(sheet.PageTree()->topLevelItem(0)->text(0), "General");
    EXPECT_EQ(sheet.Buttons()->buttons().at(1)->text(), "Cancel");
    EXPECT_EQ(Find<QComboBox>(sheet.General(), 1256).itemText(0), "Regular");
    EXPECT_EQ(Find<QListWidget>(sheet.Editor(), 1001).item(0)->text(), "Keyword");
}

}  // namespace
