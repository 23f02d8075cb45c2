#include "ide/shell/ObjectNames.h"
#include "ide/shell/TranslateWidgets.h"

#include "tests/common/gui/QtTestSupport.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace zov::shell;

Translate Table()
{
    static const std::map<std::string, std::string, std::less<>> table = {
        {"Cr\xC3\xA9"
         "er un rapport",
         "Create a report"},
        {"&Fichier", "&File"},
        {"&Ouvrir", "&Open"},
        {"Fichiers r\xC3\xA9"
         "cents",
         "Recent files"},
        {"Effacer la liste", "Clear the list"},
        {"Vide", ""},
    };
    return [](std::string_view text) {
        const auto found = table.find(text);
        return found == table.end() ? std::string(text) : found->second;
    };
}

TEST(TranslateMenuTest, ItemTexts)
{
    const Translate table = Table();
    const std::pair<QString, QString> cases[] = {
        {QString::fromUtf8("Cr\xC3\xA9"
                           "er un rapport...\tF11"),
         "Create a report...\tF11"},
        {QString::fromUtf8("Cr\xC3\xA9"
                           "er un rapport\tCtrl+R"),
         "Create a report\tCtrl+R"},
        {QString::fromUtf8("Cr\xC3\xA9"
                           "er un rapport..."),
         "Create a report..."},
        {"&Fichier", "&File"},
        {"Fichier", "Fichier"},  // looked up with its '&'
        {"&Ouvrir...\tCtrl+O", "&Open...\tCtrl+O"},
        {"Vide...\tF2", "Vide...\tF2"},  // an empty translation keeps the text
        {"Inconnu\tF3", "Inconnu\tF3"},
        {"", ""},
    };
    for (const auto& [text, translated] : cases)
        EXPECT_EQ(TranslateMenuText(text, table), translated) << text.toStdString();
    EXPECT_EQ(TranslateMenuText("&Fichier", Translate()), "&Fichier");
}

TEST(TranslateMenuTest, WholeMenusAndSubmenus)
{
    zov::testing::EnsureApplication();
    QMenuBar bar;
    QMenu* file = bar.addMenu("&Fichier");
    QAction* open = MakeCommand(file, 57601, "&Ouvrir...\tCtrl+O");
    file->addAction(open);
    QAction* separator = file->addSeparator();
    QMenu* recent =
        file->addMenu(QString::fromUtf8("Fichiers r\xC3\xA9"
                                        "cents"));
    QAction* clear = recent->addAction("Effacer la liste");
    QAction* report =
        file->addAction(QString::fromUtf8("Cr\xC3\xA9"
                                          "er un rapport...\tF11"));

    TranslateMenu(bar, Table());
    EXPECT_EQ(file->title(), "&File");
    EXPECT_EQ(open->text(), "&Open...\tCtrl+O");
    EXPECT_TRUE(separator->text().isEmpty());
    EXPECT_EQ(recent->title(), "Recent files");
    EXPECT_EQ(clear->text(), "Clear the list");
    EXPECT_EQ(report->text(), "Create a report...\tF11");
    // The command keeps its name and id through the translation.
    EXPECT_EQ(file->findChild<QAction*>("cmd57601"), open);
    EXPECT_EQ(CommandId(*open), 57601);
}

TEST(TranslateMenuTest, ControlsAndCommandsAreFoundByTheirIds)
{
    zov::testing::EnsureApplication();
    QWidget window;
    auto* control = new QWidget(&window);
    SetControlId(*control, 1231);
    EXPECT_EQ(control->objectName(), "c1231");
    EXPECT_EQ(FindControl(window, 1231), control);
    EXPECT_EQ(FindControl(window, 1232), nullptr);
    QAction* command = MakeCommand(&window, 32844,
                                   "Ex\xC3\xA9"
                                   "cuter");
    EXPECT_EQ(command->objectName(), "cmd32844");
    EXPECT_EQ(command->data().toInt(), 32844);
    QAction plain("x");
    EXPECT_EQ(CommandId(plain), 0);
}

}  // namespace
