// The dialog offscreen: its texts in both languages, its defaults, the OK rule, the picker, the
// about box and the generation, with the folder opener, picker and message box replaced.
#include "generator/GeneratorAboutDlg.h"
#include "generator/VantoroDlg.h"

#include "common/gui/FolderPicker.h"

#include "GeneratorTestSupport.h"
#include "QtTestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QFileSystemModel>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using zov::vantoro::CVantoroDlg;
using zov::vantoro::DialogLanguage;
using zov::vantoro::test::FileNames;
using zov::vantoro::test::ScratchFolder;

// The dialog with every outside effect recorded instead of shown.
struct DialogUnderTest {
    explicit DialogUnderTest(DialogLanguage language = DialogLanguage::French)
        : dialog(std::make_unique<CVantoroDlg>(language))
    {
        dialog->SetFolderOpener([this](const QString& folder) {
            opened.push_back(folder);
            // Everything must be on disk when the folder is shown.
            filesWhenOpened = fs::exists(folder.toStdString()) ? FileNames(folder.toStdString()).size() : 0;
        });
        dialog->SetErrorReporter([this](const QString& text) { errors.push_back(text); });
        dialog->show();
    }

    template <typename T>
    T* Find(const char* name) const
    {
        T* widget = dialog->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }
    QPushButton* Ok() const { return Find<QPushButton>(CVantoroDlg::kOkButton); }

    void Type(const char* name, const QString& text) const
    {
        QLineEdit* edit = Edit(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

    std::unique_ptr<CVantoroDlg> dialog;
    std::vector<QString> opened;
    size_t filesWhenOpened = 0;
    std::vector<QString> errors;
};

class VantoroDialogTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
};

std::vector<QString> FormLabels(const CVantoroDlg& dialog)
{
    std::vector<QString> labels;
    auto* form = dialog.findChild<QFormLayout*>();
    for (int row = 0; form != nullptr && row < form->rowCount(); ++row) {
        auto* label = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
        labels.push_back(label != nullptr ? label->text() : QString());
    }
    return labels;
}

struct LanguageCase {
    DialogLanguage language;
    std::vector<QString> labels;
    QString cancel;
};

TEST_F(VantoroDialogTest, LabelsTitleAndButtonsInEachLanguage)
{
    const LanguageCase cases[] = {
        {DialogLanguage::French,
         {"Nom:", QString::fromUtf8("Répertoire:"), "Type de projet:", "Copyright:", "Version:", "Message de synchro:",
          "Interface de synchro:", "Message de sortie:"},
         "Annuler"},
        {DialogLanguage::English,
         {"Name:", "Path:", "Project type:", "Copyright:", "Version:", "Synchro message:", "Synchro interface:",
          "Exit message:"},
         "Cancel"},
    };
    for (const LanguageCase& c : cases) {
        DialogUnderTest t(c.language);
        EXPECT_EQ(t.dialog->windowTitle(), "Vantoro 0.9.9");
        EXPECT_EQ(FormLabels(*t.dialog), c.labels);
        EXPECT_EQ(t.Find<QPushButton>(CVantoroDlg::kCancelButton)->text(), c.cancel);
        EXPECT_EQ(t.Ok()->text(), "OK");
        EXPECT_EQ(t.Find<QPushButton>(CVantoroDlg::kBrowseButton)->text(), "...");
        EXPECT_FALSE(t.dialog->windowIcon().isNull());
    }
}

TEST_F(VantoroDialogTest, EnglishOnlyForAnEnglishLocale)
{
    EXPECT_EQ(zov::vantoro::LanguageOf(QLocale(QLocale::English, QLocale::UnitedStates)), DialogLanguage::English);
    EXPECT_EQ(zov::vantoro::LanguageOf(QLocale(QLocale::English, QLocale::UnitedKingdom)), DialogLanguage::English);
    EXPECT_EQ(zov::vantoro::LanguageOf(QLocale(QLocale::French, QLocale::France)), DialogLanguage::French);
    EXPECT_EQ(zov::vantoro::LanguageOf(QLocale(QLocale::German, QLocale::Germany)), DialogLanguage::French);
    EXPECT_EQ(zov::vantoro::LanguageOf(QLocale::c()), DialogLanguage::French);
}

TEST_F(VantoroDialogTest, DefaultsAndListEntries)
{
    DialogUnderTest t;
    EXPECT_EQ(t.Edit(CVantoroDlg::kNameEdit)->text(), "");
    EXPECT_EQ(t.Edit(CVantoroDlg::kFolderEdit)->text(), "");
    EXPECT_EQ(t.Edit(CVantoroDlg::kCopyrightEdit)->text(), "<my name>");
    EXPECT_EQ(t.Edit(CVantoroDlg::kVersionEdit)->text(), "1.0");
    EXPECT_EQ(t.Edit(CVantoroDlg::kSynchroEdit)->text(), ">>");
    EXPECT_EQ(t.Edit(CVantoroDlg::kExitEdit)->text(), "exit");

    auto entries = [](QComboBox* list) {
        std::vector<QString> texts;
        for (int i = 0; i < list->count(); ++i)
            texts.push_back(list->itemText(i));
        return texts;
    };
    auto* type = t.Find<QComboBox>(CVantoroDlg::kTypeList);
    EXPECT_EQ(entries(type), (std::vector<QString>{"Visual C++ 6.0", "Visual C++ 2008 Express", "DevC++ 5.0"}));
    EXPECT_EQ(type->currentText(), "Visual C++ 6.0");
    auto* stream = t.Find<QComboBox>(CVantoroDlg::kStreamList);
    EXPECT_EQ(entries(stream), (std::vector<QString>{"stderr", "stdout"}));
    EXPECT_EQ(stream->currentIndex(), 0);
    EXPECT_FALSE(t.Ok()->isEnabled());
}

TEST_F(VantoroDialogTest, OkIsEnabledExactlyWhenNameAndFolderAreNotEmpty)
{
    struct Case {
        QString name;
        QString folder;
        bool enabled;
    };
    const Case cases[] = {
        {"", "", false}, {"Tool", "", false}, {"", "/tmp/x", false}, {"Tool", "/tmp/x", true}, {" ", "  ", true},
    };
    DialogUnderTest t;
    for (const Case& c : cases) {
        t.Type(CVantoroDlg::kNameEdit, c.name);
        t.Type(CVantoroDlg::kFolderEdit, c.folder);
        EXPECT_EQ(t.Ok()->isEnabled(), c.enabled) << c.name.toStdString() << "|" << c.folder.toStdString();
    }
    // Emptied again: disabled again, and Enter in an edit writes nothing.
    t.Type(CVantoroDlg::kNameEdit, "");
    EXPECT_FALSE(t.Ok()->isEnabled());
    QTest::keyClick(t.Edit(CVantoroDlg::kFolderEdit), Qt::Key_Return);
    EXPECT_TRUE(t.dialog->isVisible());
    EXPECT_TRUE(t.opened.empty());
}

TEST_F(VantoroDialogTest, BrowseOpensThePickerAtTheFolderAndTakesItsChoice)
{
    DialogUnderTest t;
    t.Type(CVantoroDlg::kNameEdit, "Tool");
    t.Type(CVantoroDlg::kFolderEdit, "/srv/work/");
    QString title;
    QString initial;
    int answer = 1;
    t.dialog->SetFolderBrowser([&](zov::CFolderPicker& picker) {
        title = picker.title;
        initial = picker.initialFolder;
        picker.result = "/home/chosen";
        return answer;
    });
    QTest::mouseClick(t.Find<QPushButton>(CVantoroDlg::kBrowseButton), Qt::LeftButton);
    EXPECT_EQ(title, QString::fromUtf8("Sélectionner un répertoire"));
    EXPECT_EQ(initial, "/srv/work/");
    EXPECT_EQ(t.Edit(CVantoroDlg::kFolderEdit)->text(), "/home/chosen");

    // A cancelled picker changes nothing.
    answer = 0;
    t.Type(CVantoroDlg::kFolderEdit, "/kept");
    QTest::mouseClick(t.Find<QPushButton>(CVantoroDlg::kBrowseButton), Qt::LeftButton);
    EXPECT_EQ(t.Edit(CVantoroDlg::kFolderEdit)->text(), "/kept");
    EXPECT_TRUE(t.Ok()->isEnabled());
}

// The real picker: its prompt, the folder it starts at (trailing separator dropped), cancelled.
TEST_F(VantoroDialogTest, TheRealPickerShowsThePromptAndStartsAtTheFolder)
{
    ScratchFolder scratch;
    fs::create_directories(scratch.path() / "start");
    DialogUnderTest t;
    const QString start = QString::fromStdString((scratch.path() / "start").string());
    t.Type(CVantoroDlg::kFolderEdit, start + "/");
    QString prompt;
    QString selected;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* picker) {
        if (auto* label = picker->findChild<QLabel*>(zov::CFolderPicker::kTitleName))
            prompt = label->text();
        if (auto* tree = picker->findChild<QTreeView*>(zov::CFolderPicker::kTreeName))
            selected = tree->currentIndex().data(QFileSystemModel::FilePathRole).toString();
        picker->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    });
    QTest::mouseClick(t.Find<QPushButton>(CVantoroDlg::kBrowseButton), Qt::LeftButton);
    ASSERT_TRUE(*answered);
    EXPECT_EQ(prompt, QString::fromUtf8("Sélectionner un répertoire"));
    EXPECT_EQ(selected, start);
    EXPECT_EQ(t.Edit(CVantoroDlg::kFolderEdit)->text(), start + "/");
}

TEST_F(VantoroDialogTest, TheAboutEntryShowsTheAboutBox)
{
    DialogUnderTest t;
    auto* about = t.dialog->findChild<QAction*>(CVantoroDlg::kAboutAction);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&A propos de Vantoro...");
    EXPECT_TRUE(t.dialog->actions().contains(about));
    EXPECT_EQ(t.dialog->contextMenuPolicy(), Qt::ActionsContextMenu);

    QString title;
    QString text;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* box) {
        title = box->windowTitle();
        if (auto* label = box->findChild<QLabel*>(zov::vantoro::CGeneratorAboutDlg::kTextName))
            text = label->text();
        box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    about->trigger();
    ASSERT_TRUE(*answered);
    EXPECT_EQ(title, "A propos de Vantoro");
    EXPECT_EQ(text, "Vantoro version 0.9.9");
    EXPECT_TRUE(t.dialog->isVisible());

    // The help key opens it as well.
    t.dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(t.dialog.get()));
    auto again = zov::testing::AnswerNextModal(
        [](QWidget* box) { box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click(); });
    QTest::keyClick(t.Edit(CVantoroDlg::kNameEdit), Qt::Key_F1);
    EXPECT_TRUE(*again);
}

TEST_F(VantoroDialogTest, OkWritesTheProjectThenOpensTheFolderAndCloses)
{
    ScratchFolder scratch;
    const QString folder = QString::fromStdString((scratch.path() / "out" / "Tool").string());
    DialogUnderTest t;
    t.Type(CVantoroDlg::kNameEdit, "Tool");
    t.Type(CVantoroDlg::kFolderEdit, folder);
    t.Type(CVantoroDlg::kVersionEdit, "3.1");
    t.Find<QComboBox>(CVantoroDlg::kTypeList)->setCurrentIndex(2);
    t.Find<QComboBox>(CVantoroDlg::kStreamList)->setCurrentIndex(1);

    const zov::vantoro::GeneratorSettings settings = t.dialog->Settings();
    EXPECT_EQ(settings.cliName, "Tool");
    EXPECT_EQ(settings.projectType, 2);
    EXPECT_EQ(settings.synchroStream, 1);
    EXPECT_EQ(settings.version, "3.1");

    QTest::mouseClick(t.Ok(), Qt::LeftButton);
    EXPECT_TRUE(t.errors.empty());
    ASSERT_EQ(t.opened.size(), 1u);
    EXPECT_EQ(t.opened[0], folder);
    EXPECT_EQ(t.filesWhenOpened, 9u);
    EXPECT_EQ(t.dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(t.dialog->isVisible());
    const std::string mainH = zov::test::ReadFile(scratch.path() / "out" / "Tool" / "main.h");
    EXPECT_NE(mainH.find("#define VERSION_NO \"3.1\"\r\n"), std::string::npos);
    const std::string mainCmd = zov::test::ReadFile(scratch.path() / "out" / "Tool" / "MainCmd.cpp");
    EXPECT_NE(mainCmd.find("FILE* const marker = stdout;"), std::string::npos);
}

// A failure is said and the dialog stays open, so the user can pick another folder; the folder is
// not opened.
TEST_F(VantoroDialogTest, AFolderThatCannotBeWrittenIsSaidAndTheDialogStays)
{
    ScratchFolder scratch;
    zov::test::WriteFile(scratch.path() / "blocker", "a file");
    const QString folder = QString::fromStdString((scratch.path() / "blocker" / "sub").string());
    DialogUnderTest t;
    t.Type(CVantoroDlg::kNameEdit, "Tool");
    t.Type(CVantoroDlg::kFolderEdit, folder);
    QTest::mouseClick(t.Ok(), Qt::LeftButton);
    ASSERT_EQ(t.errors.size(), 1u);
    EXPECT_EQ(t.errors[0], "Impossible d'enregistrer le fichier:\n" + folder);
    EXPECT_TRUE(t.opened.empty());
    EXPECT_TRUE(t.dialog->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the wait cursor is gone

    // Another folder, and it works.
    t.Type(CVantoroDlg::kFolderEdit, QString::fromStdString((scratch.path() / "fine").string()));
    QTest::mouseClick(t.Ok(), Qt::LeftButton);
    EXPECT_EQ(t.errors.size(), 1u);
    EXPECT_EQ(t.opened.size(), 1u);
    EXPECT_FALSE(t.dialog->isVisible());
}

TEST_F(VantoroDialogTest, CancelWritesNothing)
{
    ScratchFolder scratch;
    DialogUnderTest t;
    t.Type(CVantoroDlg::kNameEdit, "Tool");
    t.Type(CVantoroDlg::kFolderEdit, QString::fromStdString((scratch.path() / "never").string()));
    QTest::mouseClick(t.Find<QPushButton>(CVantoroDlg::kCancelButton), Qt::LeftButton);
    EXPECT_EQ(t.dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(fs::exists(scratch.path() / "never"));
    EXPECT_TRUE(t.opened.empty());
}

}  // namespace
