// Every Brunox command through its real dialog, answered by the test, and the placements that
// Brunox.ini keeps between runs.
#include "BrunoxApplication.h"
#include "BrunoxCmd.h"
#include "BrunoxDialogs.h"
#include "CaptureOutput.h"
#include "common/gui/FolderPicker.h"
#include "common/IniFile.h"
#include "QtTestSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using brunox_test::RunLine;

QPoint Centred(const QRect& screen, QSize size)
{
    return screen.topLeft() + QPoint((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2);
}

class BrunoxDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QCoreApplication::instance() == nullptr) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "brunox";
            static char* argv[] = {name, nullptr};
            InitBrunoxApplication(argc, argv);
            zov::testing::DeleteApplicationAtEnd();
        }
        ASSERT_TRUE(BrunoxHasDisplay());
        m_folder = fs::temp_directory_path() / ("zov_brunox_" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_cmd = std::make_unique<CDialogCmd>(m_folder / "Brunox.ini");
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string Ini(const char* section, const char* key)
    {
        return zov::IniFile(m_folder / "Brunox.ini").GetString(section, key, "<none>");
    }

    static void Click(QWidget* dialog, const char* buttonName)
    {
        QTest::mouseClick(dialog->findChild<QPushButton*>(buttonName), Qt::LeftButton);
    }

    fs::path m_folder;
    std::unique_ptr<CDialogCmd> m_cmd;
};

TEST_F(BrunoxDialogs, MsgBoxShowsTitleAndMarkupTextAndAnswersAnEmptyLine)
{
    QString caption;
    std::string labelText;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        caption = dialog->windowTitle();
        labelText = dialog->findChild<zov::CFormatLabel*>(CWhiteDlg::kLabelName)->Text();
        Click(dialog, CWhiteDlg::kOkName);
    });
    const auto output = RunLine(*m_cmd,
                                "msgbox -title \"Contr\xC3\xB4le\" -text \"#BAttention#N : brancher le c\xC3\xA2"
                                "ble\"");
    EXPECT_TRUE(*answered);
    EXPECT_EQ(output.out, "\n");
    EXPECT_EQ(output.err, ">>");
    EXPECT_EQ(caption, QString::fromUtf8("Contr\xC3\xB4le"));
    EXPECT_EQ(labelText,
              "#BAttention#N : brancher le c\xC3\xA2"
              "ble");
}

TEST_F(BrunoxDialogs, MsgBoxClosedOtherwiseStillAnswersAnEmptyLine)
{
    auto answered = zov::testing::AnswerNextModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    EXPECT_EQ(RunLine(*m_cmd, "msgbox -title t -text x").out, "\n");
    EXPECT_TRUE(*answered);
}

TEST_F(BrunoxDialogs, AskBoxAnswersOneForOuiAndZeroOtherwise)
{
    struct Case {
        const char* name;
        std::function<void(QWidget*)> answer;
        const char* expected;
    };
    const Case cases[] = {
        {"Oui", [](QWidget* d) { Click(d, CWhiteDlg::kOkName); }, "1\n"},
        {"Non", [](QWidget* d) { Click(d, CWhiteDlg::kCancelName); }, "0\n"},
        {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }, "0\n"},
        {"Enter takes the default button", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }, "1\n"},
    };
    for (const Case& c : cases) {
        QString yes, no;
        auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
            yes = dialog->findChild<QPushButton*>(CWhiteDlg::kOkName)->text();
            no = dialog->findChild<QPushButton*>(CWhiteDlg::kCancelName)->text();
            c.answer(dialog);
        });
        const auto output = RunLine(*m_cmd, "askbox -title Question -text \"Le voyant est-il vert ?\"");
        EXPECT_TRUE(*answered) << c.name;
        EXPECT_EQ(output.out, c.expected) << c.name;
        EXPECT_EQ(output.err, ">>") << c.name;
        EXPECT_EQ(yes, "Oui");
        EXPECT_EQ(no, "Non");
    }
}

TEST_F(BrunoxDialogs, EditBoxAnswersTheTypedTextOrAnEmptyLine)
{
    auto typed = zov::testing::AnswerNextModal([](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(CEditDlg::kEditName);
        // QTest types Latin letters only; the accented one is sent as a key with its text.
        QTest::keyClicks(edit, "num");
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Eacute, QString::fromUtf8("\xC3\xA9"), Qt::NoModifier);
        QTest::keyClicks(edit, "ro 42");
        Click(dialog, CWhiteDlg::kOkName);
    });
    EXPECT_EQ(RunLine(*m_cmd, "editbox -title Saisie -text \"Num\xC3\xA9ro de s\xC3\xA9rie :\"").out,
              "num\xC3\xA9ro 42\n");
    EXPECT_TRUE(*typed);

    QString cancelText;
    auto cancelled = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        auto* edit = dialog->findChild<QLineEdit*>(CEditDlg::kEditName);
        QTest::keyClicks(edit, "ignored");
        cancelText = dialog->findChild<QPushButton*>(CWhiteDlg::kCancelName)->text();
        Click(dialog, CWhiteDlg::kCancelName);
    });
    EXPECT_EQ(RunLine(*m_cmd, "editbox -title Saisie -text x").out, "\n");
    EXPECT_TRUE(*cancelled);
    EXPECT_EQ(cancelText, "Annuler");
}

TEST_F(BrunoxDialogs, ComboBoxPreselectsValueAndAnswersTheIndex)
{
    struct Case {
        const char* line;
        bool ok;
        QStringList items;
        QString preselected;
        const char* expected;
    };
    const Case cases[] = {
        {"combobox -title Choix -text Mode -data \"a|b|c\" -value 1", true, {"a", "b", "c"}, "b", "1\n"},
        {"combobox -title Choix -text Mode -data \"a|b|c\" -value 1", false, {"a", "b", "c"}, "b", "-1\n"},
        {"combobox -title Choix -text Mode -data \"a|b|c\" -value 3", true, {"a", "b", "c"}, "", "-1\n"},
        {"combobox -title Choix -text Mode -data \"x|\" -value 0", true, {"x", ""}, "x", "0\n"},
        {"combobox -title Choix -text Mode -data \"\" -value 0", true, {""}, "", "0\n"},
    };
    for (const Case& c : cases) {
        QStringList items;
        QString preselected;
        auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
            auto* combo = dialog->findChild<QComboBox*>(CComboDlg::kComboName);
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            preselected = combo->currentText();
            Click(dialog, c.ok ? CWhiteDlg::kOkName : CWhiteDlg::kCancelName);
        });
        EXPECT_EQ(RunLine(*m_cmd, c.line).out, c.expected) << c.line;
        EXPECT_TRUE(*answered);
        EXPECT_EQ(items, c.items) << c.line;
        EXPECT_EQ(preselected, c.preselected) << c.line;
    }
}

TEST_F(BrunoxDialogs, LoadFileUsesTitleAndExtensionAndAnswersThePath)
{
    const fs::path file = m_folder / "mesure.csv";
    std::ofstream(file) << "1;2\n";
    QString caption;
    QStringList filters;
    bool opening = false;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        opening = dialog->acceptMode() == QFileDialog::AcceptOpen;
        dialog->selectFile(QString::fromStdString(file.string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const auto output = RunLine(*m_cmd, "loadfile -title \"Fichier de mesures\" -ext csv");
    EXPECT_TRUE(*answered);
    EXPECT_EQ(output.out, file.string() + "\n");
    EXPECT_EQ(caption, "Fichier de mesures");
    EXPECT_EQ(filters, QStringList{"Fichier csv (*.csv)"});
    EXPECT_TRUE(opening);

    auto cancelled = zov::testing::AnswerNextModal([](QWidget* widget) { qobject_cast<QDialog*>(widget)->reject(); });
    EXPECT_EQ(RunLine(*m_cmd, "loadfile -title t -ext csv").out, "\n");
    EXPECT_TRUE(*cancelled);
}

TEST_F(BrunoxDialogs, SaveFileAnswersTheNewPath)
{
    const fs::path file = m_folder / "rapport.txt";
    QString caption;
    QStringList filters;
    bool saving = false;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* widget) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        saving = dialog->acceptMode() == QFileDialog::AcceptSave;
        dialog->selectFile(QString::fromStdString(file.string()));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(RunLine(*m_cmd, "savefile -title Enregistrer -ext txt").out, file.string() + "\n");
    EXPECT_TRUE(*answered);
    EXPECT_EQ(caption, "Enregistrer");
    EXPECT_EQ(filters, QStringList{"Fichier txt (*.txt)"});
    EXPECT_TRUE(saving);
}

TEST_F(BrunoxDialogs, SelectPathAnswersTheChosenFolder)
{
    fs::create_directories(m_folder / "sortie");
    const QString wanted = QString::fromStdString((m_folder / "sortie").string());
    QString titleShown;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        titleShown = dialog->findChild<QLabel*>(zov::CFolderPicker::kTitleName)->text();
        auto* tree = dialog->findChild<QTreeView*>(zov::CFolderPicker::kTreeName);
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        tree->setCurrentIndex(model->index(wanted));
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    EXPECT_EQ(RunLine(*m_cmd, "selectpath -title \"Dossier de sortie\"").out, wanted.toStdString() + "\n");
    EXPECT_TRUE(*answered);
    EXPECT_EQ(titleShown, "Dossier de sortie");

    auto cancelled = zov::testing::AnswerNextModal([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    EXPECT_EQ(RunLine(*m_cmd, "selectpath -title t").out, "\n");
    EXPECT_TRUE(*cancelled);
}

TEST_F(BrunoxDialogs, LongTextsAndWindows1252ArgumentsArriveWhole)
{
    // 600 characters: far beyond the 127 of a fixed 128-byte buffer.
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "mot" + std::to_string(1000000 + i);
    ASSERT_EQ(longText.size(), 600u);
    std::string shown;
    QString caption;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        shown = dialog->findChild<zov::CFormatLabel*>(CWhiteDlg::kLabelName)->Text();
        caption = dialog->windowTitle();
        Click(dialog, CWhiteDlg::kOkName);
    });
    // The title in Windows-1252 bytes, as a console made on Windows sends it.
    RunLine(*m_cmd,
            "msgbox -title \"Pr\xE9"
            "f\xE9rences\" -text \"" +
                longText + "\"");
    EXPECT_TRUE(*answered);
    EXPECT_EQ(shown, longText);
    EXPECT_EQ(caption, QString::fromUtf8("Pr\xC3\xA9"
                                         "f\xC3\xA9rences"));
}

TEST_F(BrunoxDialogs, MissingSwitchRefusesTheCommandWithoutADialog)
{
    const auto output = RunLine(*m_cmd, "combobox -title t -text x -data \"a|b\"");
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err, "Arguments incorrectes!\n>>");
}

TEST_F(BrunoxDialogs, FirstUseCentresThenReopensWhereTheOperatorLeftIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QPoint firstPosition;
    QSize firstSize;
    auto first = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        firstPosition = dialog->pos();
        firstSize = dialog->size();
        dialog->move(30, 40);
        dialog->resize(420, 230);
        EXPECT_TRUE(
            QTest::qWaitFor([dialog] { return dialog->pos() == QPoint(30, 40) && dialog->size() == QSize(420, 230); }));
        Click(dialog, CWhiteDlg::kOkName);
    });
    RunLine(*m_cmd, "msgbox -title t -text x");
    ASSERT_TRUE(*first);
    EXPECT_EQ(firstPosition, Centred(screen, firstSize));
    EXPECT_EQ(Ini("WAITDLG", "POSITION"), "30,40");
    EXPECT_EQ(Ini("waitdlg", "size"), "420,230");
    EXPECT_EQ(Ini("ASKDLG", "POSITION"), "<none>");  // each dialog has its own section

    QPoint secondPosition;
    QSize secondSize;
    auto second = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        secondPosition = dialog->pos();
        secondSize = dialog->size();
        Click(dialog, CWhiteDlg::kOkName);
    });
    RunLine(*m_cmd, "msgbox -title t -text x");
    ASSERT_TRUE(*second);
    EXPECT_EQ(secondPosition, QPoint(30, 40));
    EXPECT_EQ(secondSize, QSize(420, 230));
}

TEST_F(BrunoxDialogs, PlacementOffEveryScreenOrUnreadableIsNotUsed)
{
    struct Case {
        const char* position;
        const char* size;
        bool centred;
    };
    const Case cases[] = {
        {"-5000,-5000", "400,200", true},  // a screen that is no longer there
        {"garbage", "also garbage", true},
        {"99999999999,5", "400,200", true},  // out of range: not a number, so not a position
        {"-1,-1", "-1,-1", true},
        {"2147483647,2147483647", "2147483647,2147483647", true},  // no overflow, no giant window
        {"50,60", "10,10", false},  // too small for the resizable dialog: its minimum holds
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const Case& c : cases) {
        const zov::IniFile ini(m_folder / "Brunox.ini");
        ASSERT_TRUE(ini.WriteString("ASKDLG", "POSITION", c.position));
        ASSERT_TRUE(ini.WriteString("ASKDLG", "SIZE", c.size));
        QPoint position;
        QSize size;
        auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
            position = dialog->pos();
            size = dialog->size();
            Click(dialog, CWhiteDlg::kOkName);
        });
        RunLine(*m_cmd, "askbox -title t -text x");
        ASSERT_TRUE(*answered) << c.position;
        if (c.centred)
            EXPECT_EQ(position, Centred(screen, size)) << c.position;
        else
            EXPECT_EQ(position, QPoint(50, 60));
        EXPECT_GE(size.width(), 300) << c.position;
        EXPECT_GE(size.height(), 150) << c.position;
        EXPECT_LE(size.width(), screen.width()) << c.position;
        EXPECT_LE(size.height(), screen.height()) << c.position;
    }
}

TEST_F(BrunoxDialogs, ResizedMessageKeepsOkCentredAtTheBottom)
{
    QRect ok;
    QRect label;
    QSize size;
    QSize minimum;
    auto answered = zov::testing::AnswerNextModal([&](QWidget* dialog) {
        dialog->resize(500, 300);
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->size() == QSize(500, 300); }));
        ok = dialog->findChild<QPushButton*>(CWhiteDlg::kOkName)->geometry();
        label =
            dialog->findChild<zov::CFormatLabel*>(CWhiteDlg::kLabelName)->parentWidget()->parentWidget()->geometry();
        size = dialog->size();
        dialog->resize(100, 50);
        EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->size() != QSize(500, 300); }));
        minimum = dialog->size();
        Click(dialog, CWhiteDlg::kOkName);
    });
    RunLine(*m_cmd, "msgbox -title t -text x");
    ASSERT_TRUE(*answered);
    EXPECT_EQ(ok.x(), 500 / 2 - ok.width() / 2);
    EXPECT_EQ(ok.bottom() + 1, 300 - 8);
    EXPECT_EQ(label.right() + 1, 500 - 8);
    EXPECT_EQ(label.height(), 300 - 2 * ok.height() - 16);
    EXPECT_EQ(minimum, QSize(300, 150));
}

}  // namespace
