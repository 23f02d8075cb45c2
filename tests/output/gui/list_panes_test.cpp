#include "ide/output/ListPanes.h"
#include "tests/output/gui/OutputTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zov::output {
namespace {


using ListPanesTest = testing::PaneTest;

TEST_F(ListPanesTest, ErrorRowsOpenTheirScriptWithTheErrorMark)
{
    context.translate = [](std::string_view text) {
        return text == " Erreur de syntaxe" ? std::string(" Syntax error") : std::string(text);
    };
    CErrorView errors(context);
    EXPECT_EQ(errors.columnCount(), 3);
    EXPECT_EQ(errors.horizontalHeaderItem(0)->text(), "Script");
    EXPECT_EQ(errors.columnWidth(0), 150);
    EXPECT_EQ(errors.columnWidth(1), 50);
    EXPECT_EQ(errors.columnWidth(2), 300);

    auto script = std::make_shared<const ScriptEntry>(ScriptEntry{"main.qzs", "/p/main.qzs"});
    errors.AddError("12: Erreur de syntaxe", script);
    errors.AddError("no line", nullptr);
    ASSERT_EQ(errors.rowCount(), 2);
    EXPECT_EQ(errors.GetItemText(0, 0), " main.qzs");
    EXPECT_EQ(errors.GetItemText(0, 1), " 12");
    EXPECT_EQ(errors.GetItemText(0, 2), "  Syntax error");
    EXPECT_EQ(errors.GetItemText(1, 0), " ");
    EXPECT_EQ(errors.GetItemText(1, 2), " no line");

    // Sorting moves rows; each keeps its own script.
    errors.SortByColumn(0);
    errors.SortByColumn(0);
    const int scripted = errors.GetItemText(0, 0) == " main.qzs" ? 0 : 1;
    emit errors.cellDoubleClicked(scripted, 2);
    EXPECT_FALSE(errors.OpenRow(1 - scripted));
    EXPECT_EQ(calls, std::vector<std::string>{"open /p/main.qzs:12 mark"});
    errors.DeleteAllItems();
    EXPECT_EQ(errors.rowCount(), 0);
}

TEST_F(ListPanesTest, DataRowsKeepTheirFlagAndPicture)
{
    CDataView data(context);
    EXPECT_EQ(data.columnWidth(0), 150);
    EXPECT_EQ(data.columnWidth(1), 700);
    data.SetData("A", "1", true);
    data.SetData("a", "2", false);
    data.SetData("A", "3", false);
    ASSERT_EQ(data.rowCount(), 2);
    EXPECT_EQ(data.GetItemText(0, 1), "3");
    EXPECT_EQ(data.GetData("A"), "3");
    EXPECT_EQ(data.GetData("a"), "2");
    EXPECT_EQ(data.item(0, 0)->icon().cacheKey(), data.FlagPicture(true).cacheKey());
    EXPECT_EQ(data.item(1, 0)->icon().cacheKey(), data.FlagPicture(false).cacheKey());
    std::vector<std::string> names, values;
    data.GetAll(names, values);
    EXPECT_EQ(names, std::vector<std::string>{"A"});
    EXPECT_EQ(values, std::vector<std::string>{"3"});

    // Editing the selected row: new value and flag, new picture.
    data.SelectOnly(1);
    prompter.onExec = [](QDialog& dialog) {
        auto& edit = static_cast<DataValueDialog&>(dialog);
        EXPECT_EQ(edit.Name(), "a");
        edit.ValueField()->setText("20");
        edit.SaveBox()->setChecked(true);
        return int(QDialog::Accepted);
    };
    data.OnEditItem();
    EXPECT_EQ(data.GetItemText(1, 1), "20");
    EXPECT_EQ(data.item(1, 0)->icon().cacheKey(), data.FlagPicture(true).cacheKey());
    data.GetAll(names, values);
    EXPECT_EQ(values, (std::vector<std::string>{"3", "20"}));

    // Delete asks; No keeps the row.
    prompter.record.Queue(shell::PromptAnswer::No);
    data.OnDelete();
    EXPECT_EQ(data.rowCount(), 2);
    prompter.record.Queue(shell::PromptAnswer::Yes);
    data.OnDelete();
    EXPECT_EQ(data.rowCount(), 1);
    EXPECT_EQ(data.GetData("a"), "");
    EXPECT_EQ(prompter.record.Texts().back(), "Supprimer la donnée sélectionnée ?");
}

TEST_F(ListPanesTest, NewDataDialogNeedsAName)
{
    CDataView data(context);
    prompter.onExec = [](QDialog& dialog) {
        auto& add = static_cast<DataValueDialog&>(dialog);
        EXPECT_EQ(add.objectName(), "c9009");
        auto* ok = dialog.findChild<QPushButton*>();
        EXPECT_FALSE(ok->isEnabled());
        add.NameField()->setText("N");
        EXPECT_TRUE(ok->isEnabled());
        add.ValueField()->setText("V");
        return int(QDialog::Accepted);
    };
    data.OnAdd();
    EXPECT_EQ(data.GetData("N"), "V");
}

TEST_F(ListPanesTest, FindRowsOpenAtTheLineAndWrap)
{
    CFindView find(context);
    find.AddLine("Recherche de \"x\"");
    find.AddResult("a.qzs(3): x\r\n", "C:\\s\\a.qzs:3");
    find.AddResult("b.qzs(9): x", "b.qzs:9");
    EXPECT_EQ(find.item(1)->text(), "a.qzs(3): x");
    find.SelectNext();  // none selected: the first row, a heading that opens nothing
    EXPECT_EQ(find.currentRow(), 0);
    EXPECT_TRUE(calls.empty());
    find.SelectNext();
    find.SelectNext();
    EXPECT_EQ(calls, (std::vector<std::string>{"open C:\\s\\a.qzs:3", "open b.qzs:9"}));
    find.SelectNext();  // wraps
    EXPECT_EQ(find.currentRow(), 0);
    find.SelectPrevious();  // stays on the first
    EXPECT_EQ(find.currentRow(), 0);
    find.setCurrentRow(2);
    find.SelectPrevious();
    EXPECT_EQ(find.currentRow(), 1);
    find.Clear();
    EXPECT_EQ(find.count(), 0);
    EXPECT_TRUE(find.Keys().empty());
}

}  // namespace
}  // namespace zov::output
