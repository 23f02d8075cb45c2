// The four interface lists over a set with a main interface and two inserted ones: columns, row
// order and texts, header rows, colours, the edit state told to the owner, and adding, changing,
// deleting, copying and moving records through the dialogs.

#include "ide/interfaces/InterfaceListCtrl.h"
#include "ide/interfaces/RecordDialogs.h"
#include "tests/interfaces/gui/InterfaceTestSupport.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QSignalSpy>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace zov::interfaces {
namespace {

namespace fs = std::filesystem;
using shell::PromptAnswer;
using test::ClickOk;
using test::Find;
using test::SetText;

std::vector<std::string> Column(const shell::SortableListCtrl& list, int column)
{
    std::vector<std::string> texts;
    for (int row = 0; row < list.rowCount(); ++row)
        texts.push_back(list.GetItemText(row, column).toStdString());
    return texts;
}

int RowOf(const shell::SortableListCtrl& list, const std::string& text)
{
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.GetItemText(row, 0).toStdString() == text)
            return row;
    }
    return -1;
}

class InterfaceListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        zov::testing::EnsureApplication();
        dir_ = fs::temp_directory_path() / ("zov-ilist-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
        std::ofstream(dir_ / "projet.qzi") << "";
        set_ = MakeSet(dir_ / "projet.qzi");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<InterfaceSet> MakeSet(const fs::path& main)
    {
        auto set = std::make_unique<InterfaceSet>(
            InterfaceFolders{dir_.string(), dir_.string(), (dir_ / "tmp").string()}, setPrompter_);
        set->Load(main.string());
        return set;
    }

    // Main interface, "alpha" (inserted 0, read-only) and "beta" (inserted 1, open for editing).
    void InsertTwo()
    {
        set_->InsertInterface("alpha.qzi", (dir_ / "none").string(), 0, 0);
        set_->InsertInterface("beta.qzi", (dir_ / "none").string(), 1, 1);
    }

    template <class List>
    std::unique_ptr<List> MakeList(QObject* owner = nullptr)
    {
        auto list = std::make_unique<List>();
        list->SetHost(host_);
        list->SetPrompter(prompter_);
        list->SetInterfaceSet(set_.get());
        list->Init(owner, true, true);
        list->Refill();
        return list;
    }

    fs::path dir_;
    shell::RecordingPrompter setPrompter_;
    std::unique_ptr<InterfaceSet> set_;
    test::TestPrompter prompter_;
    test::RecordingHost host_;
};

TEST_F(InterfaceListsTest, ColumnsOfTheFourLists)
{
    struct Case {
        std::unique_ptr<InterfaceListCtrl> list;
        std::vector<std::pair<std::string, int>> columns;
    };
    Case cases[] = {
        {std::make_unique<CliListCtrl>(), {{"Nom", 100}, {"Exécutable", 200}}},
        {std::make_unique<FunctionListCtrl>(), {{"Nom", 100}, {"Action", 120}, {"Retour", 70}, {"#", 30}}},
        {std::make_unique<ConstantListCtrl>(), {{"Nom", 100}, {"Type", 65}, {"Valeur", 200}}},
        {std::make_unique<MacroListCtrl>(), {{"Nom", 100}, {"Valeur", 200}}},
    };
    for (Case& c : cases) {
        c.list->Init(nullptr, true, true);
        ASSERT_EQ(c.list->columnCount(), static_cast<int>(c.columns.size()));
        for (int column = 0; column < c.list->columnCount(); ++column) {
            EXPECT_EQ(c.list->horizontalHeaderItem(column)->text().toStdString(), c.columns[column].first);
            EXPECT_EQ(c.list->columnWidth(column), c.columns[column].second);
            EXPECT_TRUE(c.list->IsColumnResizable(column));
            EXPECT_EQ(c.list->ColumnFormat(column), Qt::AlignLeft);
        }
    }
}

TEST_F(InterfaceListsTest, RowsGroupedByInterfaceWithHeadersAndColours)
{
    InsertTwo();
    set_->AddConstant("zeta", "1", 1, 0);
    set_->AddConstant("b", "x", 0, -1);
    set_->AddConstant("Cat", "true", 2, 0);
    set_->AddConstant("m", "%%TEMP%%", 3, 1);
    set_->AddConstant("a", "y", 0, -1);
    // Added to the main interface after the inserted ones were read: it still joins the main group.
    set_->AddConstant("late", "z", 0, -1);
    auto list = MakeList<ConstantListCtrl>();

    EXPECT_EQ(Column(*list, 0),
              (std::vector<std::string>{" a", " b", " late", " [alpha]", " Cat", " zeta", " [beta]", " m"}));
    EXPECT_EQ(Column(*list, 1), (std::vector<std::string>{" Chaine", " Chaine", " Chaine", "", " Booléen",
                                                          " Entier/réel", "", " Prédéfinie"}));
    EXPECT_EQ(Column(*list, 2), (std::vector<std::string>{" y", " x", " z", "", " true", " 1", "", " %%TEMP%%"}));

    const QColor none;
    const QColor header(153, 213, 209);
    const QColor readOnly(190, 245, 255);
    const std::vector<QColor> expected = {none, none, none, header, readOnly, readOnly, header, none};
    for (int row = 0; row < list->rowCount(); ++row) {
        for (int column = 0; column < list->columnCount(); ++column) {
            const QVariant background = list->item(row, column)->data(Qt::BackgroundRole);
            const QColor shown = background.isValid() ? background.value<QBrush>().color() : QColor();
            if (expected[row].isValid())
                EXPECT_EQ(shown, expected[row]) << row << "," << column;
            else
                EXPECT_TRUE(!background.isValid() || background.value<QBrush>().style() == Qt::NoBrush) << row;
        }
    }

    list->SetViewAllInterfaces(false);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{" a", " b", " late"}));
    list->SetViewAllInterfaces(true);
    EXPECT_EQ(list->rowCount(), 8);
}

TEST_F(InterfaceListsTest, RowTextsOfEachKind)
{
    set_->AddCli("cli", "bin/tool", ">>", 1, "", 1, 0, -1);
    set_->AddFunction("f", "run %% %%", 2, 3, -1);
    set_->AddFunction("g", "x", 0, 9, -1);
    set_->AddMacro("m1", "a = 1 & b = 2", -1);
    set_->AddMacro("m2", std::string(51, 'x'), -1);
    set_->AddMacro("m3", std::string(50, 'y'), -1);
    set_->AddMacro("m4", std::string(55, 'z') + " & w", -1);
    auto clis = MakeList<CliListCtrl>();
    auto functions = MakeList<FunctionListCtrl>();
    auto macros = MakeList<MacroListCtrl>();
    EXPECT_EQ(Column(*clis, 1), std::vector<std::string>{" bin/tool"});
    EXPECT_EQ(Column(*functions, 1), (std::vector<std::string>{" run %% %%", " x"}));
    EXPECT_EQ(Column(*functions, 2), (std::vector<std::string>{" Entier", " "}));
    EXPECT_EQ(Column(*functions, 3), (std::vector<std::string>{" 2", " 0"}));
    EXPECT_EQ(Column(*macros, 1),
              (std::vector<std::string>{" a = 1 ...", " " + std::string(50, 'x') + "...", " " + std::string(50, 'y'),
                                        " " + std::string(50, 'z') + "..."}));

    // After its text was edited, a row shows the body by the length rule alone.
    MacroRecord* m1 = set_->All().macros.Find("m1");
    m1->body = std::string(20, 'q') + " & " + std::string(40, 'r');
    macros->UpdateMacroRow(*m1);
    EXPECT_EQ(macros->GetItemText(0, 1).toStdString(), " " + m1->body.substr(0, 50) + "...");
}

TEST_F(InterfaceListsTest, EditStateToldToTheOwner)
{
    InsertTwo();
    set_->AddCli("main", "p", ">>", 1, "", 1, 0, -1);
    set_->AddCli("ro", "p", ">>", 1, "", 1, 0, 0);
    set_->AddCli("rw", "p", ">>", 1, "", 1, 0, 1);
    QObject owner;
    auto list = MakeList<CliListCtrl>(&owner);
    QSignalSpy spy(list.get(), &InterfaceListCtrl::EditStateChanged);
    const std::pair<const char*, bool> cases[] = {
        {" main", true}, {" [alpha]", false}, {" ro", false}, {" [beta]", true}, {" rw", true},
    };
    for (const auto& [row, editable] : cases) {
        spy.clear();
        list->SelectOnly(RowOf(*list, row));
        ASSERT_FALSE(spy.isEmpty()) << row;
        EXPECT_EQ(spy.last().at(0).toBool(), editable) << row;
    }
    spy.clear();
    list->clearSelection();
    list->setCurrentCell(-1, -1);
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_FALSE(spy.last().at(0).toBool());

    // Without an owner nothing is told.
    auto silent = MakeList<CliListCtrl>(nullptr);
    QSignalSpy quiet(silent.get(), &InterfaceListCtrl::EditStateChanged);
    silent->SelectOnly(0);
    EXPECT_TRUE(quiet.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Adding

TEST_F(InterfaceListsTest, AddCliChecksRequiredFieldsAndDuplicates)
{
    set_->AddCli("tool", "t", ">>", 1, "", 1, 0, -1);
    auto list = MakeList<CliListCtrl>();
    struct Case {
        const char* name;
        const char* path;
        int beeps;
        std::vector<std::string> texts;
        bool added;
    };
    const Case cases[] = {
        {"", "p", 1, {}, false},
        {"n", "", 1, {}, false},
        {"tool", "p", 0, {"Ce CLI existe déjà !"}, false},
        {"new", "bin/new", 0, {}, true},
    };
    for (const Case& c : cases) {
        test::TestPrompter prompter;
        list->SetPrompter(prompter);
        const int refreshes = host_.refreshes;
        prompter.QueueDialog([&](QDialog& dialog) {
            // The dialog itself keeps OK disabled; the list checks again whatever ends it.
            auto& cli = static_cast<CliDialog&>(dialog);
            SetText(dialog, 1025, c.name);
            SetText(dialog, 1062, c.path);
            cli.accept();
        });
        EXPECT_EQ(list->AddRecord(), c.added) << c.name;
        EXPECT_EQ(prompter.Beeps(), c.beeps) << c.name;
        EXPECT_EQ(prompter.Texts(), c.texts) << c.name;
        EXPECT_EQ(host_.refreshes, refreshes + (c.added ? 1 : 0));
    }
    const CliRecord* added = set_->All().clis.Find("new");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->path, "bin/new");
    EXPECT_EQ(added->syncMessage, ">>");
    EXPECT_EQ(added->syncMode, 1);
    EXPECT_EQ(added->stopMessage, "");
    EXPECT_EQ(added->stripLineBreaks, 1);
    EXPECT_EQ(added->stripQuotes, 0);
    EXPECT_EQ(added->interfaceIndex, -1);
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{" new", " tool"}));
}

TEST_F(InterfaceListsTest, AddOffersTheInterfacesOpenForEditing)
{
    InsertTwo();
    set_->InsertInterface("gamma.qzi", (dir_ / "none").string(), 2, 1);
    auto list = MakeList<ConstantListCtrl>();
    const std::pair<int, int> cases[] = {{0, -1}, {1, 1}, {2, 2}};
    int n = 0;
    for (const auto& [entry, target] : cases) {
        const std::string name = "K" + std::to_string(n++);
        prompter_.QueueDialog([&](QDialog& dialog) {
            auto& combo = Find<QComboBox>(dialog, 1231);
            EXPECT_EQ(combo.count(), 3);
            EXPECT_EQ(combo.itemText(0), "projet");
            EXPECT_EQ(combo.itemText(1), "beta");
            EXPECT_EQ(combo.itemText(2), "gamma");
            combo.setCurrentIndex(entry);
            SetText(dialog, 1025, QString::fromStdString(name));
            ClickOk(dialog);
        });
        ASSERT_TRUE(list->AddRecord());
        EXPECT_EQ(set_->All().constants.Find(name)->interfaceIndex, target) << entry;
    }
}

TEST_F(InterfaceListsTest, AddFunctionCountsParametersAndConstantChecksDuplicates)
{
    set_->AddConstant("K", "1", 0, -1);
    set_->AddFunction("f", "x", 0, 0, -1);
    auto functions = MakeList<FunctionListCtrl>();
    auto constants = MakeList<ConstantListCtrl>();

    struct Case {
        const char* name;
        const char* command;
        int returnType;
        int count;
    };
    const Case cases[] = {{"a", "%%%", 1, 1}, {"b", "%%%%", 4, 2}, {"c", "go %% %% %%", 2, 3}, {"d", "", 0, 0}};
    for (const Case& c : cases) {
        prompter_.QueueDialog([&](QDialog& dialog) {
            SetText(dialog, 1025, c.name);
            SetText(dialog, 1062, c.command);
            Find<QComboBox>(dialog, 1050).setCurrentIndex(c.returnType);
            static_cast<FunctionDialog&>(dialog).accept();
        });
        ASSERT_TRUE(functions->AddRecord()) << c.name;
        const FunctionRecord* added = set_->All().functions.Find(c.name);
        EXPECT_EQ(added->paramCount, c.count) << c.name;
        EXPECT_EQ(added->returnType, c.returnType) << c.name;
    }

    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "f");
        SetText(dialog, 1062, "y");
        ClickOk(dialog);
    });
    EXPECT_FALSE(functions->AddRecord());
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "K");
        ClickOk(dialog);
    });
    EXPECT_FALSE(constants->AddRecord());
    prompter_.QueueDialog([](QDialog& dialog) { static_cast<ConstantDialog&>(dialog).accept(); });
    EXPECT_FALSE(constants->AddRecord());
    EXPECT_EQ(prompter_.Texts(),
              (std::vector<std::string>{"Cette fonction existe déjà !", "Cette constante existe déjà !"}));
    EXPECT_EQ(prompter_.Beeps(), 1);
    // Cancelled: nothing.
    EXPECT_FALSE(constants->AddRecord());
    EXPECT_EQ(set_->All().constants.Size(), 1u);
}

// ---------------------------------------------------------------------------------------------
// Changing

TEST_F(InterfaceListsTest, ModifyAcceptsItsOwnNameAndRefusesAnother)
{
    set_->AddConstant("K", "1", 0, -1);
    set_->AddConstant("L", "2", 0, -1);
    auto list = MakeList<ConstantListCtrl>();
    list->SelectOnly(RowOf(*list, " K"));

    prompter_.QueueDialog([](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(dialog, 1025).text(), "K");
        SetText(dialog, 1074, "new value");
        ClickOk(dialog);
    });
    EXPECT_TRUE(list->ModifyRecord());
    EXPECT_EQ(set_->All().constants.Find("K")->value, "new value");
    EXPECT_EQ(host_.refreshes, 1);

    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "L");
        ClickOk(dialog);
    });
    EXPECT_FALSE(list->ModifyRecord());
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Cette constante existe déjà !"});
    EXPECT_NE(set_->All().constants.Find("K"), nullptr);

    // Renamed: the rows are sorted again and the row follows.
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "Z");
        ClickOk(dialog);
    });
    EXPECT_TRUE(list->ModifyRecord());
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{" L", " Z"}));
    EXPECT_EQ(list->SelectedRow(), 1);
    EXPECT_TRUE(set_->All().constants.Find("Z") != nullptr);
}

TEST_F(InterfaceListsTest, ModifyOfEachKindWritesTheDialogValues)
{
    set_->AddCli("c", "p", ">>", 1, "", 1, 0, -1);
    set_->AddFunction("f", "a %%", 1, 1, -1);
    auto clis = MakeList<CliListCtrl>();
    auto functions = MakeList<FunctionListCtrl>();
    clis->SelectOnly(0);
    functions->SelectOnly(0);

    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1126, "OK>");
        Find<QComboBox>(dialog, 1128).setCurrentIndex(0);
        SetText(dialog, 1127, "quit");
        Find<QCheckBox>(dialog, 1050).setChecked(false);
        Find<QCheckBox>(dialog, 1051).setChecked(true);
        ClickOk(dialog);
    });
    EXPECT_TRUE(clis->ModifyRecord());
    const CliRecord* cli = set_->All().clis.Find("c");
    EXPECT_EQ(cli->syncMessage, "OK>");
    EXPECT_EQ(cli->syncMode, 0);
    EXPECT_EQ(cli->stopMessage, "quit");
    EXPECT_EQ(cli->stripLineBreaks, 0);
    EXPECT_EQ(cli->stripQuotes, 1);

    // A function being changed needs its command too.
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1062, "");
        static_cast<FunctionDialog&>(dialog).accept();
    });
    EXPECT_FALSE(functions->ModifyRecord());
    EXPECT_EQ(prompter_.Beeps(), 1);
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1062, "b %% %% %%");
        ClickOk(dialog);
    });
    EXPECT_TRUE(functions->ModifyRecord());
    EXPECT_EQ(set_->All().functions.Find("f")->paramCount, 3);
    EXPECT_EQ(functions->GetItemText(0, 3), " 3");
}

TEST_F(InterfaceListsTest, ReadOnlyRecordsHeadersAndTheEditFlag)
{
    InsertTwo();
    set_->AddFunction("ro", "cmd %%", 1, 2, 0);
    auto list = MakeList<FunctionListCtrl>();
    list->SelectOnly(RowOf(*list, " ro"));
    prompter_.QueueDialog([](QDialog& dialog) {
        EXPECT_FALSE(test::Shown(dialog, 1025));
        EXPECT_TRUE(test::Shown(dialog, 1258));
        EXPECT_EQ(Find<QLabel>(dialog, 1263).text(), "alpha");
        ClickOk(dialog);
    });
    EXPECT_FALSE(list->ModifyRecord());
    EXPECT_EQ(prompter_.PendingDialogs(), 0u);
    EXPECT_EQ(host_.refreshes, 0);

    // A header row, or the edit flag off: no dialog at all.
    list->SelectOnly(RowOf(*list, " [alpha]"));
    EXPECT_FALSE(list->ModifyRecord());
    EXPECT_FALSE(list->DeleteRecord());
    EXPECT_EQ(prompter_.dialogTitles.size(), 1u);
    EXPECT_TRUE(prompter_.Texts().empty());
    FunctionListCtrl noEdit;
    noEdit.SetPrompter(prompter_);
    noEdit.SetInterfaceSet(set_.get());
    noEdit.Init(nullptr, true, false);
    noEdit.Refill();
    noEdit.SelectOnly(RowOf(noEdit, " ro"));
    EXPECT_FALSE(noEdit.ModifyRecord());
    EXPECT_EQ(prompter_.dialogTitles.size(), 1u);
}

TEST_F(InterfaceListsTest, EditConstantIgnoresTheEditFlag)
{
    set_->AddConstant("K", "1", 1, -1);
    ConstantListCtrl list;
    list.SetPrompter(prompter_);
    list.SetHost(host_);
    list.SetInterfaceSet(set_.get());
    list.Init(nullptr, true, false);
    list.Refill();
    EXPECT_FALSE(list.EditConstant("k"));
    EXPECT_TRUE(prompter_.dialogTitles.empty());
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1216, "2");
        ClickOk(dialog);
    });
    EXPECT_TRUE(list.EditConstant("K"));
    EXPECT_EQ(set_->All().constants.Find("K")->value, "2");
    EXPECT_EQ(list.GetItemText(0, 2), " 2");
    EXPECT_EQ(host_.refreshes, 1);
}

// ---------------------------------------------------------------------------------------------
// Deleting, copying, moving

TEST_F(InterfaceListsTest, DeleteAsksTheConfirmationOfItsKind)
{
    set_->AddCli("c", "p", ">>", 1, "", 1, 0, -1);
    set_->AddFunction("f", "x", 0, 0, -1);
    set_->AddConstant("k", "1", 0, -1);
    set_->AddMacro("m", "a", -1);
    std::vector<std::unique_ptr<InterfaceListCtrl>> lists;
    lists.push_back(MakeList<CliListCtrl>());
    lists.push_back(MakeList<FunctionListCtrl>());
    lists.push_back(MakeList<ConstantListCtrl>());
    lists.push_back(MakeList<MacroListCtrl>());
    const char* questions[] = {"Supprimer le CLI sélectionné ?", "Supprimer la fonction sélectionnée ?",
                               "Supprimer la constante sélectionnée ?", "Supprimer la macro sélectionnée ?"};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        test::TestPrompter prompter;
        lists[i]->SetPrompter(prompter);
        EXPECT_FALSE(lists[i]->DeleteRecord());  // nothing selected
        lists[i]->SelectOnly(0);
        prompter.Queue(PromptAnswer::No);
        EXPECT_FALSE(lists[i]->DeleteRecord());
        EXPECT_EQ(lists[i]->rowCount(), 1);
        prompter.Queue(PromptAnswer::Yes);
        EXPECT_TRUE(lists[i]->DeleteRecord());
        EXPECT_EQ(lists[i]->rowCount(), 0);
        EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{questions[i], questions[i]}));
    }
    EXPECT_TRUE(set_->All().clis.Empty() && set_->All().functions.Empty() && set_->All().constants.Empty() &&
                set_->All().macros.Empty());
    EXPECT_EQ(host_.refreshes, 4);
    // The macro's text window is closed before the record goes.
    EXPECT_EQ(host_.calls, std::vector<std::string>{"close m"});
}

TEST_F(InterfaceListsTest, CopyAndMoveBetweenSetsRefuseDuplicates)
{
    std::ofstream(dir_ / "other.qzi") << "";
    auto other = MakeSet(dir_ / "other.qzi");
    set_->AddConstant("K", "1", 2, -1);
    set_->AddConstant("L", "x", 0, -1);
    other->AddConstant("K", "9", 0, -1);
    auto list = MakeList<ConstantListCtrl>();

    list->SelectOnly(RowOf(*list, " K"));
    EXPECT_FALSE(list->CopyRecordTo(*other));
    EXPECT_FALSE(list->MoveRecordTo(*other));
    EXPECT_EQ(prompter_.Texts(),
              (std::vector<std::string>{"Cette constante existe déjà !", "Cette constante existe déjà !"}));
    EXPECT_EQ(list->rowCount(), 2);
    EXPECT_EQ(other->All().constants.Find("K")->value, "9");

    list->SelectOnly(RowOf(*list, " L"));
    EXPECT_TRUE(list->CopyRecordTo(*other));
    EXPECT_EQ(other->All().constants.Find("L")->interfaceIndex, -1);
    EXPECT_EQ(set_->All().constants.Size(), 2u);
    other->RemoveConstant(other->All().constants.Find("L"));
    EXPECT_TRUE(list->MoveRecordTo(*other));
    EXPECT_EQ(set_->All().constants.Find("L"), nullptr);
    EXPECT_EQ(Column(*list, 0), std::vector<std::string>{" K"});
    EXPECT_EQ(other->All().constants.Find("L")->value, "x");
}

// ---------------------------------------------------------------------------------------------
// Macros

TEST_F(InterfaceListsTest, ApplyMacroTextFoldsTheTextAndOpensWhenAsked)
{
    auto list = MakeList<MacroListCtrl>();
    const struct {
        const char* name;
        std::string text;
        std::string body;
    } cases[] = {
        {"m1", "a = 1\r\n\r\n\r\nb = 2\r\n", "a = 1 & b = 2"},
        {"m2", "x\t= 1", "x    = 1"},
        {"m3", "", ""},
        // Lines ending in a lone line feed (a text saved on Linux) fold the same way.
        {"m4", "a = 1\n\nb = 2\n", "a = 1 & b = 2"},
    };
    for (const auto& c : cases) {
        MacroRecord* record = list->ApplyMacroText(c.name, c.text, c.name == std::string("m1"), -1);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->body, c.body) << c.name;
    }
    EXPECT_EQ(list->rowCount(), 4);
    EXPECT_EQ(host_.calls, std::vector<std::string>{"open m1"});
    EXPECT_EQ(host_.refreshes, 0);
}

TEST_F(InterfaceListsTest, AddMacroChecksNamesAndOpensTheNewText)
{
    set_->AddConstant("Delay", "1", 1, -1);
    set_->AddMacro("M", "a", -1);
    auto list = MakeList<MacroListCtrl>();
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"M", {"Cette macro existe déjà !"}},
        {"Delay", {"Ce nom est invalide, il est déjà définit !"}},
        {"MACRO", {}},
    };
    for (const auto& [name, texts] : cases) {
        test::TestPrompter prompter;
        list->SetPrompter(prompter);
        prompter.QueueDialog([&](QDialog& dialog) {
            EXPECT_FALSE(test::Shown(dialog, 3));  // a new macro has no "Editer"
            SetText(dialog, 1025, name);
            ClickOk(dialog);
        });
        EXPECT_EQ(list->AddRecord(), texts.empty()) << name;
        EXPECT_EQ(prompter.Texts(), texts) << name;
    }
    ASSERT_NE(set_->All().macros.Find("MACRO"), nullptr);
    EXPECT_EQ(set_->All().macros.Find("MACRO")->body, "");
    EXPECT_EQ(host_.calls, std::vector<std::string>{"open MACRO"});
    EXPECT_EQ(host_.refreshes, 0);
}

TEST_F(InterfaceListsTest, ModifyMacroRenamesOpensAndRefusesMacro)
{
    InsertTwo();
    set_->AddMacro("M", "a", -1);
    set_->AddMacro("N", "b", -1);
    set_->AddMacro("R", "c", 0);
    auto list = MakeList<MacroListCtrl>();

    list->SelectOnly(RowOf(*list, " M"));
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "MACRO");
        ClickOk(dialog);
    });
    EXPECT_FALSE(list->ModifyRecord());
    EXPECT_EQ(prompter_.Beeps(), 1);
    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "N");
        ClickOk(dialog);
    });
    EXPECT_FALSE(list->ModifyRecord());
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Cette macro existe déjà !"});

    prompter_.QueueDialog([](QDialog& dialog) {
        SetText(dialog, 1025, "P");
        test::Click(dialog, 3);  // "Editer"
    });
    EXPECT_TRUE(list->ModifyRecord());
    EXPECT_EQ(set_->All().macros.Find("P")->body, "a");
    EXPECT_EQ(Column(*list, 0), (std::vector<std::string>{" N", " P", " [alpha]", " R"}));
    EXPECT_EQ(host_.refreshes, 1);

    // Read-only: "Afficher" shows the text, OK does nothing.
    list->SelectOnly(RowOf(*list, " R"));
    prompter_.QueueDialog([](QDialog& dialog) {
        EXPECT_EQ(Find<QPushButton>(dialog, 3).text(), "Afficher");
        EXPECT_FALSE(test::Shown(dialog, 2));
        test::Click(dialog, 3);
    });
    EXPECT_FALSE(list->ModifyRecord());
    prompter_.QueueDialog([](QDialog& dialog) { ClickOk(dialog); });
    EXPECT_FALSE(list->ModifyRecord());
    EXPECT_EQ(host_.calls,
              (std::vector<std::string>{"close M", "close M", "close M", "open P", "close R", "show R", "close R"}));
    EXPECT_EQ(host_.refreshes, 1);
}

TEST_F(InterfaceListsTest, OpenMacroEditableOnlyInTheMainInterface)
{
    InsertTwo();
    set_->AddMacro("M", "a", -1);
    set_->AddMacro("B", "b", 1);
    auto list = MakeList<MacroListCtrl>();
    list->OpenMacro("M");
    list->OpenMacro("B");  // open for editing, still read-only here
    list->OpenMacro("nothing");
    list->OpenMacro("m");
    EXPECT_EQ(host_.calls, (std::vector<std::string>{"open M", "show B"}));
    EXPECT_EQ(host_.refreshes, 1);
}

}  // namespace
}  // namespace zov::interfaces
