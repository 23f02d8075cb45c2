// The dialogs over whole interface files: inserted files and their configurations, the
// insertion problems as a tree, the interfaces open for editing, and the copy between two files.

#include "ide/interfaces/InterfaceFileDialogs.h"
#include "ide/interfaces/InterfaceListCtrl.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "tests/interfaces/gui/InterfaceTestSupport.h"
#include "tests/support/FileText.h"

#include <QListWidget>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include <filesystem>
#include <unistd.h>

namespace zov::interfaces {
namespace {

namespace fs = std::filesystem;
using shell::PromptAnswer;
using test::Find;

std::vector<std::pair<std::string, bool>> Entries(QWidget& dialog)
{
    auto& list = Find<QListWidget>(dialog, 1001);
    std::vector<std::pair<std::string, bool>> entries;
    for (int row = 0; row < list.count(); ++row)
        entries.emplace_back(list.item(row)->text().toStdString(), list.item(row)->checkState() == Qt::Checked);
    return entries;
}

void Tick(QWidget& dialog, int row, bool ticked)
{
    Find<QListWidget>(dialog, 1001).item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

class InterfaceFileDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        dir_ = fs::temp_directory_path() / ("zov-ifile-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        zov::test::WriteFile(path, text);
        return path.string();
    }

    InterfaceFolders Folders() const { return {dir_.string(), dir_.string(), (dir_ / "tmp").string()}; }

    fs::path dir_;
    test::TestPrompter prompter_;
};

// ---------------------------------------------------------------------------------------------
// Insert interfaces

TEST_F(InterfaceFileDialogsTest, InactiveEntriesStartUnticked)
{
    InsertInterfacesDialog dialog({"a.qzi", "#b.qzi", "{zov}/c.qzi"}, "", "/p", "/opt/zov", {}, nullptr, prompter_);
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), "Insérer des interfaces");
    EXPECT_EQ(Entries(dialog),
              (std::vector<std::pair<std::string, bool>>{{"a.qzi", true}, {"b.qzi", false}, {"{zov}/c.qzi", true}}));
    auto& combo = Find<QComboBox>(dialog, 1096);
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.itemText(0), "<Défaut>");
    dialog.accept();
    EXPECT_EQ(dialog.names, (QStringList{"a.qzi", "b.qzi", "{zov}/c.qzi"}));
    EXPECT_EQ(dialog.ticks, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(dialog.currentConfiguration, "");
}

TEST_F(InterfaceFileDialogsTest, ConfigurationsTickTheirFiles)
{
    const QStringList names = {"a.qzi", "b.qzi", "c.qzi", "A.qzi"};
    const QStringList configurations = {"one=a.qzi|b.qzi|", "", "two=C.QZI", "dup=a.qzi|a.qzi|"};
    const struct {
        const char* current;
        std::vector<bool> ticks;
    } cases[] = {
        {"one", {true, true, false, false}},
        {"TWO", {false, false, true, false}},
        // The same name twice ticks the first two entries of that text.
        {"dup", {true, false, false, true}},
        {"unknown", {true, true, true, true}},
    };
    for (const auto& c : cases) {
        InsertInterfacesDialog dialog(names, c.current, "/p", "/opt/zov", configurations, nullptr, prompter_);
        dialog.InitialiseOnce();
        const auto entries = Entries(dialog);
        for (std::size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(entries[i].second, c.ticks[i]) << c.current << " " << i;
    }

    InsertInterfacesDialog dialog(names, "one", "/p", "/opt/zov", configurations, nullptr, prompter_);
    dialog.InitialiseOnce();
    auto& combo = Find<QComboBox>(dialog, 1096);
    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(combo.currentText(), "one");
    dialog.SelectConfiguration(0);
    EXPECT_EQ(Entries(dialog)[2].second, true);
    combo.setCurrentIndex(1);
    dialog.accept();
    EXPECT_EQ(dialog.currentConfiguration, "one");
}

TEST_F(InterfaceFileDialogsTest, NewStoreAndDeleteConfiguration)
{
    InsertInterfacesDialog dialog({"a.qzi", "b.qzi", "c.qzi"}, "", "/p", "/opt/zov", {"old=c.qzi"}, nullptr, prompter_);
    dialog.InitialiseOnce();
    Tick(dialog, 1, false);
    // Every ticked entry but the list's last is followed by "|".
    prompter_.QueueDialog([](QDialog& d) {
        test::SetText(d, 1025, "mine");
        test::ClickOk(d);
    });
    test::Click(dialog, 1105);
    EXPECT_EQ(prompter_.dialogTitles, std::vector<std::string>{"Nouvelle configuration"});
    EXPECT_EQ(dialog.configurations, (QStringList{"old=c.qzi", "mine=a.qzi|c.qzi"}));
    EXPECT_EQ(Find<QComboBox>(dialog, 1096).currentText(), "mine");

    Tick(dialog, 2, false);
    test::Click(dialog, 1103);
    EXPECT_EQ(dialog.configurations, (QStringList{"old=c.qzi", "mine=a.qzi|"}));

    dialog.askConfigurationName = [] { return QString("OLD"); };
    test::Click(dialog, 1105);
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"La configuration OLD existe déjà !"});
    EXPECT_EQ(dialog.configurations.size(), 2);

    Find<QComboBox>(dialog, 1096).setCurrentIndex(1);
    test::Click(dialog, 1000);
    EXPECT_EQ(dialog.configurations, QStringList{"mine=a.qzi|"});
    EXPECT_EQ(Find<QComboBox>(dialog, 1096).currentIndex(), 0);
    // "<Défaut>": store and delete do nothing.
    test::Click(dialog, 1103);
    test::Click(dialog, 1000);
    EXPECT_EQ(dialog.configurations, QStringList{"mine=a.qzi|"});
    EXPECT_EQ(Entries(dialog)[0], (std::pair<std::string, bool>{"a.qzi", true}));
}

TEST_F(InterfaceFileDialogsTest, AddedFilesAreNamedFromTheInstallationOrProjectFolder)
{
    const struct {
        const char* chosen;
        const char* entry;
    } cases[] = {
        {"/opt/zov/interfaces/std.qzi", "{zov}/interfaces/std.qzi"},
        {"/p/sub/x.qzi", "sub/x.qzi"},
        {"/srv/y.qzi", "../srv/y.qzi"},
        {"/opt/zovextra/z.qzi", "../opt/zovextra/z.qzi"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InsertInterfacesDialog::EntryName(c.chosen, "/p", "/opt/zov").toStdString(), c.entry) << c.chosen;

    InsertInterfacesDialog dialog({"sub/x.qzi"}, "", "/p", "/opt/zov", {}, nullptr, prompter_);
    dialog.InitialiseOnce();
    prompter_.Queue(PromptAnswer::Ok, "/opt/zov/std.qzi");
    test::Click(dialog, 1035);
    prompter_.Queue(PromptAnswer::Ok, "/p/SUB/X.qzi");  // already listed, whatever the case
    test::Click(dialog, 1035);
    EXPECT_EQ(Entries(dialog),
              (std::vector<std::pair<std::string, bool>>{{"sub/x.qzi", true}, {"{zov}/std.qzi", false}}));
    EXPECT_EQ(prompter_.requests.front().title, "Charger");
    EXPECT_EQ(prompter_.requests.front().initialPath, "*.qzi");
    Find<QListWidget>(dialog, 1001).setCurrentRow(0);
    test::Click(dialog, 1037);
    dialog.accept();
    EXPECT_EQ(dialog.names, QStringList{"{zov}/std.qzi"});
    EXPECT_EQ(dialog.ticks, std::vector<int>{0});
}

// ---------------------------------------------------------------------------------------------
// Insertion errors

TEST_F(InterfaceFileDialogsTest, ErrorsShownUnderInterfaceAndKind)
{
    InsertionErrorDialog dialog({"a.qzi", "b.qzi", "c.qzi"},
                                {"1;CONST:Delay <dupliquée>", "1;CLI:tool <dupliqué>", "0;FILE:a.qzi <illisible>",
                                 "1;CONST:K <dupliquée>", "2;CONSTANT:x", "x;CLI:y"});
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), "Erreur d'insertion");
    auto& tree = Find<QTreeWidget>(dialog, 1065);
    ASSERT_EQ(tree.topLevelItemCount(), 2);
    QTreeWidgetItem* first = tree.topLevelItem(0);
    EXPECT_EQ(first->text(0), "a.qzi");
    ASSERT_EQ(first->childCount(), 1);
    EXPECT_EQ(first->child(0)->text(0), "Fichier");
    EXPECT_EQ(first->child(0)->child(0)->text(0), "a.qzi <illisible>");
    QTreeWidgetItem* second = tree.topLevelItem(1);
    EXPECT_EQ(second->text(0), "b.qzi");
    ASSERT_EQ(second->childCount(), 2);
    EXPECT_EQ(second->child(0)->text(0), "CLI");
    EXPECT_EQ(second->child(1)->text(0), "Constante");
    ASSERT_EQ(second->child(1)->childCount(), 2);
    EXPECT_EQ(second->child(1)->child(0)->text(0), "Delay <dupliquée>");
    EXPECT_EQ(second->child(1)->child(1)->text(0), "K <dupliquée>");
    EXPECT_TRUE(second->isExpanded());
    EXPECT_TRUE(second->child(1)->isExpanded());
}

// ---------------------------------------------------------------------------------------------
// Edit interfaces

TEST_F(InterfaceFileDialogsTest, EditSavesPendingChangesBeforeTheTicksApply)
{
    const std::string main = Put("main.qzi", "CONST M : 1\r\n");
    const std::string a = Put("a.qzi", "CONST A : 1\r\n");
    Put("b.qzi", "CONST B : 1\r\n");
    shell::RecordingPrompter setPrompter;
    InterfaceSet set(Folders(), setPrompter);
    ASSERT_TRUE(set.Load(main));
    set.InsertInterface("a.qzi", dir_.string(), 0, 1);
    set.InsertInterface("b.qzi", dir_.string(), 1, 0);
    set.AddConstant("A2", "2", 0, 0);

    prompter_.QueueDialog([](QDialog& dialog) {
        EXPECT_EQ(Entries(dialog)[0].second, true);
        EXPECT_EQ(Entries(dialog)[1].second, false);
        Tick(dialog, 0, false);
        Tick(dialog, 1, true);
        test::ClickOk(dialog);
    });
    EXPECT_TRUE(EditInsertedInterfaces(set, nullptr, prompter_));
    EXPECT_EQ(prompter_.dialogTitles, std::vector<std::string>{"Editer une interface"});
    EXPECT_NE(zov::test::ReadFile(a).find("A2"), std::string::npos);
    EXPECT_FALSE(set.IsInterfaceEditable(0));
    EXPECT_TRUE(set.IsInterfaceEditable(1));

    // Cancelled: nothing saved, nothing changed.
    set.AddConstant("B2", "2", 0, 1);
    EXPECT_FALSE(EditInsertedInterfaces(set, nullptr, prompter_));
    EXPECT_EQ(zov::test::ReadFile((dir_ / "b.qzi").string()).find("B2"), std::string::npos);
    EXPECT_TRUE(set.IsInterfaceEditable(1));
}

// ---------------------------------------------------------------------------------------------
// Copy interfaces

TEST_F(InterfaceFileDialogsTest, CopyDialogButtonsFollowTheLoadedSides)
{
    const std::string left = Put("left.qzi", "CONST K : 1\r\nCONST L : 2\r\n");
    const std::string right = Put("right.qzi", "CONST K : 9\r\n");
    CopyInterfacesDialog dialog(Folders(), nullptr, prompter_);
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), "Copier les interfaces");
    const int buttons[] = {1059, 1061, 1067, 1053, 1056, 1063};
    for (int id : buttons)
        EXPECT_FALSE(Find<QToolButton>(dialog, id).isEnabled()) << id;

    prompter_.Queue(PromptAnswer::Ok, left);
    test::Click(dialog, 1072);
    EXPECT_TRUE(Find<QToolButton>(dialog, 1059).isEnabled());
    for (int id : {1061, 1067, 1053, 1056, 1063})
        EXPECT_FALSE(Find<QToolButton>(dialog, id).isEnabled()) << id;

    // The same file on the other side is refused; the side keeps what it had.
    prompter_.Queue(PromptAnswer::Ok, left);
    test::Click(dialog, 1051);
    EXPECT_EQ(prompter_.Texts().back(), "Cette interface est déjà chargée !");
    EXPECT_TRUE(dialog.PathOf(CopyInterfacesDialog::Right).isEmpty());

    prompter_.Queue(PromptAnswer::Ok, right);
    test::Click(dialog, 1051);
    for (int id : buttons)
        EXPECT_TRUE(Find<QToolButton>(dialog, id).isEnabled()) << id;
    EXPECT_EQ(prompter_.requests.back().title, "Charger");
    EXPECT_EQ(prompter_.requests.back().filter, "Interface ZOV|*.qzi|");

    Find<QTabBar>(dialog, 1075).setCurrentIndex(2);
    EXPECT_EQ(dialog.CurrentList(CopyInterfacesDialog::Left).objectName(), "c1077");
    EXPECT_EQ(dialog.CurrentList(CopyInterfacesDialog::Right).objectName(), "c1086");
    EXPECT_EQ(dialog.CurrentList(CopyInterfacesDialog::Left).rowCount(), 2);
}

TEST_F(InterfaceFileDialogsTest, CopyDialogMovesAndSavesOnlyOnOk)
{
    const std::string leftText = "CONST K : 1\r\nCONST L : 2\r\n";
    const std::string rightText = "CONST K : 9\r\n";
    const std::string left = Put("left.qzi", leftText);
    const std::string right = Put("right.qzi", rightText);
    for (const bool confirm : {false, true}) {
        zov::test::WriteFile(left, leftText);
        zov::test::WriteFile(right, rightText);
        test::TestPrompter prompter;
        CopyInterfacesDialog dialog(Folders(), nullptr, prompter);
        dialog.InitialiseOnce();
        dialog.LoadSide(CopyInterfacesDialog::Left, QString::fromStdString(left));
        dialog.LoadSide(CopyInterfacesDialog::Right, QString::fromStdString(right));
        Find<QTabBar>(dialog, 1075).setCurrentIndex(2);
        InterfaceListCtrl& leftList = dialog.CurrentList(CopyInterfacesDialog::Left);
        InterfaceListCtrl& rightList = dialog.CurrentList(CopyInterfacesDialog::Right);

        leftList.SelectOnly(0);  // K: the right side has it
        test::Click(dialog, 1067);
        test::Click(dialog, 1061);
        EXPECT_EQ(prompter.Texts(),
                  (std::vector<std::string>{"Cette constante existe déjà !", "Cette constante existe déjà !"}));
        EXPECT_EQ(leftList.rowCount(), 2);

        leftList.SelectOnly(1);  // L
        test::Click(dialog, 1061);
        EXPECT_EQ(leftList.rowCount(), 1);
        EXPECT_EQ(rightList.rowCount(), 2);
        rightList.SelectOnly(0);
        prompter.Queue(PromptAnswer::Yes);
        test::Click(dialog, 1053);
        EXPECT_EQ(rightList.rowCount(), 1);

        if (confirm)
            test::ClickOk(dialog);
        else
            dialog.reject();
        const std::string leftNow = zov::test::ReadFile(left);
        const std::string rightNow = zov::test::ReadFile(right);
        if (confirm) {
            EXPECT_EQ(leftNow.find("CONST L"), std::string::npos);
            EXPECT_EQ(rightNow.find("CONST K"), std::string::npos);
            EXPECT_NE(rightNow.find("CONST L"), std::string::npos);
        } else {
            EXPECT_EQ(leftNow, leftText);
            EXPECT_EQ(rightNow, rightText);
        }
    }
}

}  // namespace
}  // namespace zov::interfaces
