// The dialogs of one definition: defaults, the OK button's enabling, the interface row, the
// read-only statics, the constant's value controls per type, the macro dialog's three exits,
// the executable's stored name and the new-interface folder picker.

#include "ide/interfaces/RecordDialogs.h"
#include "tests/interfaces/gui/InterfaceTestSupport.h"

#include <QCheckBox>

namespace zov::interfaces {
namespace {

using test::Find;
using test::SetText;
using test::Shown;

class RecordDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { zov::testing::EnsureApplication(); }
    test::TestPrompter prompter_;
};

TEST_F(RecordDialogsTest, NewCliStartsWithItsDefaultsAndNeedsNameAndPath)
{
    CliDialog dialog(false, {"projet"}, nullptr, prompter_);
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), " Paramètres du CLI");
    EXPECT_EQ(Find<QLineEdit>(dialog, 1126).text(), ">>");
    EXPECT_EQ(Find<QComboBox>(dialog, 1128).currentText(), "stderr");
    EXPECT_EQ(Find<QLineEdit>(dialog, 1127).text(), "");
    EXPECT_TRUE(Find<QCheckBox>(dialog, 1050).isChecked());
    EXPECT_FALSE(Find<QCheckBox>(dialog, 1051).isChecked());
    // One interface: its name in the static, the list hidden, the choice stays -1.
    EXPECT_FALSE(Shown(dialog, 1231));
    EXPECT_EQ(Find<QLabel>(dialog, 1263).text(), "projet");
    for (int id : {1257, 1258, 1259, 1260, 1261})
        EXPECT_FALSE(Shown(dialog, id)) << id;

    auto& ok = Find<QPushButton>(dialog, 1);
    EXPECT_FALSE(ok.isEnabled());
    SetText(dialog, 1025, "tool");
    EXPECT_FALSE(ok.isEnabled());
    SetText(dialog, 1062, "bin/tool");
    EXPECT_TRUE(ok.isEnabled());
    ok.click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.values.name, "tool");
    EXPECT_EQ(dialog.values.interfaceChoice, -1);
}

TEST_F(RecordDialogsTest, ReadOnlyCliShowsStaticsAndOnlyOk)
{
    CliDialog dialog(true, {"alpha"}, nullptr, prompter_);
    dialog.values = {"bin/t", "t", "RDY", 0, "bye", true, false, -1};
    dialog.InitialiseOnce();
    for (int id : {2, 1017, 1025, 1126, 1127, 1062, 1128, 1050, 1051, 1231})
        EXPECT_FALSE(Shown(dialog, id)) << id;
    const std::pair<int, const char*> statics[] = {{1257, "t"},      {1258, "bin/t"}, {1259, "RDY"},
                                                   {1260, "stdout"}, {1261, "bye"},   {1263, "alpha"}};
    for (const auto& [id, text] : statics) {
        EXPECT_TRUE(Shown(dialog, id)) << id;
        EXPECT_EQ(Find<QLabel>(dialog, id).text(), text) << id;
    }
}

TEST_F(RecordDialogsTest, ExecutableNameBesideTheInterfaceOrRelativeToTheEngine)
{
    const struct {
        const char* chosen;
        const char* expected;
    } cases[] = {
        {"/p/iface/tool", "tool"},
        {"/opt/zov/bin/cli/tool", "cli/tool"},
        {"/srv/tools/tool", "../../../srv/tools/tool"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExecutableName(c.chosen, "/p/iface/main.qzi", "/opt/zov/bin").toStdString(), c.expected) << c.chosen;

    CliDialog dialog(false, {"projet", "beta"}, nullptr, prompter_);
    dialog.SetFolders("/p/iface/main.qzi", "/opt/zov/bin");
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.values.interfaceChoice, 0);
    SetText(dialog, 1025, "typed");
    prompter_.Queue(shell::PromptAnswer::Ok, "/p/iface/tool");
    test::Click(dialog, 1017);
    EXPECT_EQ(Find<QLineEdit>(dialog, 1062).text(), "tool");
    EXPECT_EQ(Find<QLineEdit>(dialog, 1025).text(), "typed");
    EXPECT_TRUE(Find<QPushButton>(dialog, 1).isEnabled());
    EXPECT_EQ(prompter_.requests.back().title, "Charger");
    // Cancelled: nothing changes.
    test::Click(dialog, 1017);
    EXPECT_EQ(Find<QLineEdit>(dialog, 1062).text(), "tool");
    Find<QComboBox>(dialog, 1231).setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.values.interfaceChoice, 0);
}

TEST_F(RecordDialogsTest, ConstantTypeSwitchKeepsTypedValuesAndOkTakesTheCurrentType)
{
    ConstantDialog dialog(false, {"projet"}, nullptr);
    dialog.values.name = "B";
    dialog.values.type = 2;
    dialog.values.value = "true";
    dialog.InitialiseOnce();
    EXPECT_EQ(Find<QComboBox>(dialog, 1098).currentText(), "true");
    EXPECT_TRUE(Shown(dialog, 1098));
    for (int id : {1074, 1216, 1097, 1265, 1264, 1257})
        EXPECT_FALSE(Shown(dialog, id)) << id;

    auto& type = Find<QComboBox>(dialog, 1095);
    type.setCurrentIndex(1);
    EXPECT_TRUE(Shown(dialog, 1216));
    EXPECT_FALSE(Shown(dialog, 1098));
    SetText(dialog, 1216, "42");
    type.setCurrentIndex(0);
    SetText(dialog, 1074, "text");
    type.setCurrentIndex(1);
    EXPECT_EQ(Find<QLineEdit>(dialog, 1216).text(), "42");
    test::ClickOk(dialog);
    EXPECT_EQ(dialog.values.type, 1);
    EXPECT_EQ(dialog.values.value, "42");
    EXPECT_EQ(dialog.values.name, "B");
}

TEST_F(RecordDialogsTest, ConstantReadOnlyShowsTheValueOfItsType)
{
    const struct {
        int type;
        const char* value;
        const char* typeText;
    } cases[] = {
        {3, "%%TEMP%%", "Prédéfinie"}, {2, "false", "booléen"}, {1, "3.5", "entier/réel"}, {0, "abc", "Chaine"}};
    for (const auto& c : cases) {
        ConstantDialog dialog(true, {"alpha"}, nullptr);
        dialog.values.name = "K";
        dialog.values.type = c.type;
        dialog.values.value = c.value;
        dialog.InitialiseOnce();
        EXPECT_EQ(Find<QLabel>(dialog, 1265).text(), c.value) << c.type;
        EXPECT_EQ(Find<QLabel>(dialog, 1264).text(), c.typeText) << c.type;
        EXPECT_EQ(Find<QLabel>(dialog, 1257).text(), "K");
        for (int id : {2, 1025, 1095, 1074, 1216, 1097, 1098})
            EXPECT_FALSE(Shown(dialog, id)) << c.type << " " << id;
    }
}

TEST_F(RecordDialogsTest, ConstantValueMatchingNoEntryIsKeptOnOk)
{
    for (const auto& [type, value] : {std::pair{2, "TRUE"}, std::pair{3, "%%temp%%"}}) {
        ConstantDialog dialog(false, {"projet"}, nullptr);
        dialog.values.name = "K";
        dialog.values.type = type;
        dialog.values.value = value;
        dialog.InitialiseOnce();
        test::ClickOk(dialog);
        EXPECT_EQ(dialog.values.value, value);
    }
}

TEST_F(RecordDialogsTest, FunctionReadOnlyShowsItsCommandAndOnlyOk)
{
    FunctionDialog dialog(true, {"alpha"}, nullptr);
    dialog.values = {"send %% now", "f", 2, -1};
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), " Paramètres de la fonction");
    EXPECT_EQ(Find<QLabel>(dialog, 1258).text(), "send %% now");
    EXPECT_EQ(Find<QLabel>(dialog, 1262).text(), "Chaine");
    EXPECT_EQ(Find<QLabel>(dialog, 1257).text(), "f");
    for (int id : {2, 1025, 1062, 1050})
        EXPECT_FALSE(Shown(dialog, id)) << id;
    EXPECT_TRUE(Shown(dialog, 1));

    FunctionDialog edit(false, {"projet"}, nullptr);
    edit.InitialiseOnce();
    auto& ok = Find<QPushButton>(edit, 1);
    SetText(edit, 1025, "f");
    EXPECT_FALSE(ok.isEnabled());
    SetText(edit, 1062, "x");
    EXPECT_TRUE(ok.isEnabled());
    const QStringList types = {"Aucun", "Booléen", "Chaine", "Entier", "Réel"};
    auto& list = Find<QComboBox>(edit, 1050);
    for (int i = 0; i < types.size(); ++i)
        EXPECT_EQ(list.itemText(i), types[i]);
}

TEST_F(RecordDialogsTest, ParameterCountIsTheNumberOfSeparatePercentPairs)
{
    const std::pair<const char*, int> cases[] = {
        {"", 0}, {"%", 0}, {"%%", 1}, {"%%%", 1}, {"%%%%", 2}, {"a %% b %% c %%", 3}, {"%%%%%", 2}};
    for (const auto& [command, count] : cases)
        EXPECT_EQ(CountParameters(command), count) << command;
}

TEST_F(RecordDialogsTest, MacroDialogExitsAndInterfaceIndex)
{
    enum class Exit { Ok, Edit };
    const struct {
        bool viewOnly;
        bool isNew;
        QStringList names;
        int selected;
        Exit exit;
        bool openEditor;
        bool viewOnlyAfter;
        int interfaceIndex;
    } cases[] = {
        {false, false, {"projet"}, -1, Exit::Ok, false, false, -1},
        {false, false, {"projet"}, -1, Exit::Edit, true, false, -1},
        {true, false, {"alpha"}, -1, Exit::Edit, false, true, -1},
        {true, false, {"alpha"}, -1, Exit::Ok, false, false, -1},
        {false, true, {"projet", "a", "b"}, 2, Exit::Ok, false, false, 1},
        {false, false, {"projet", "a", "b"}, 0, Exit::Edit, true, false, -1},
    };
    for (const auto& c : cases) {
        MacroDialog dialog(c.viewOnly, c.names, c.isNew, nullptr);
        dialog.name = "M";
        dialog.InitialiseOnce();
        if (c.selected >= 0)
            Find<QComboBox>(dialog, 1231).setCurrentIndex(c.selected);
        test::Click(dialog, c.exit == Exit::Ok ? 1 : 3);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.openEditor, c.openEditor);
        EXPECT_EQ(dialog.viewOnly, c.viewOnlyAfter);
        EXPECT_EQ(dialog.interfaceIndex, c.interfaceIndex);
    }

    MacroDialog dialog(false, {"projet"}, false, nullptr);
    dialog.name = "M";
    dialog.InitialiseOnce();
    EXPECT_TRUE(Find<QPushButton>(dialog, 1).isEnabled());
    SetText(dialog, 1025, "");
    EXPECT_FALSE(Find<QPushButton>(dialog, 1).isEnabled());
    EXPECT_TRUE(Find<QPushButton>(dialog, 3).isEnabled());
    EXPECT_EQ(Find<QPushButton>(dialog, 3).text(), "Editer");
}

TEST_F(RecordDialogsTest, NewInterfaceFolderPicker)
{
    NewInterfaceDialog dialog(nullptr, prompter_);
    dialog.folder = "/start";
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), "Nouvelle interface");
    SetText(dialog, 1025, "demo");
    prompter_.Queue(shell::PromptAnswer::Ok, "/chosen/folder");
    test::Click(dialog, 1045);
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Sélectionner le répertoire de l'interface"});
    EXPECT_EQ(Find<QLineEdit>(dialog, 1042).text(), "/chosen/folder");
    EXPECT_EQ(Find<QLineEdit>(dialog, 1025).text(), "demo");
    test::Click(dialog, 1045);  // cancelled
    EXPECT_EQ(Find<QLineEdit>(dialog, 1042).text(), "/chosen/folder");
    test::ClickOk(dialog);
    EXPECT_EQ(dialog.name, "demo");
    EXPECT_EQ(dialog.folder, "/chosen/folder");
}

}  // namespace
}  // namespace zov::interfaces
