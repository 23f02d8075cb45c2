// The application's language table plugged into the windows: a dialog, a menu and the message
// boxes' buttons in the language of a language file.
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/TranslateWidgets.h"
#include "ide/shell/UiLanguage.h"
#include "ide/shell/core/LanguageTable.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

using namespace zov::shell;

TEST(LanguageTableWidgetsTest, ADialogAndAMenuInTheLanguageOfTheFile)
{
    zov::testing::EnsureApplication();
    LanguageTable table;
    table.LoadText(
        "; English\r\n"
        "Nom = Name\r\n"
        "Propri\xC3\xA9t\xC3\xA9s = Properties\r\n"
        "Cr\xC3\xA9"
        "er un rapport = Create a report\r\n"
        "&Fichier = &File\r\n");
    InstallUiLanguage(TranslateWith(&table));

    ThemedDialogBase dialog;
    dialog.setWindowTitle(QString::fromUtf8("Propri\xC3\xA9t\xC3\xA9s"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel("Nom :", &dialog);
    auto* edit = new QLineEdit("Nom", &dialog);
    layout->addWidget(label);
    layout->addWidget(edit);
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), "Properties");
    EXPECT_EQ(label->text(), "Name :");
    EXPECT_EQ(edit->text(), "Nom");

    QMenu menu("&Fichier");
    QAction* report =
        menu.addAction(QString::fromUtf8("Cr\xC3\xA9"
                                         "er un rapport...\tF11"));
    TranslateMenu(menu, UiLanguage());
    EXPECT_EQ(report->text(), "Create a report...\tF11");
    InstallUiLanguage(Translate());
}

}  // namespace
