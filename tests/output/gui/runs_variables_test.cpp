#include "ide/output/RunsPane.h"
#include "ide/output/VariablesPane.h"
#include "tests/output/gui/OutputTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zov::output {
namespace {

using execution::RunRecord;

using RunsVariablesTest = testing::PaneTest;

TEST_F(RunsVariablesTest, RunsColumnsAndRowColours)
{
    CExecuteView runs(context);
    const std::pair<const char*, int> columns[] = {
        {"Campagne", 130}, {"Ensemble de tests", 150}, {"Test", 210}, {"Début", 70}, {"Durée", 60},
        {"#", 40},         {"Résultat", 80},           {"Avert", 50}, {"Info", 300},
    };
    ASSERT_EQ(runs.columnCount(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(runs.horizontalHeaderItem(i)->text(), QString::fromUtf8(columns[i].first));
        EXPECT_EQ(runs.columnWidth(i), columns[i].second) << i;
    }
    RunRecord record;
    record.testName = "T";
    record.testSetName = "S";
    record.hasTestSet = true;
    record.campaignName = "C";
    RunRecord other;
    runs.UpdateRun(other, false);  // not listed: nothing
    EXPECT_EQ(runs.rowCount(), 0);
    runs.AddRun(record);
    runs.AddRun(record);
    ASSERT_EQ(runs.rowCount(), 1);
    EXPECT_EQ(runs.GetItemText(0, 0), " C");
    EXPECT_EQ(runs.GetItemText(0, 2), " T");

    const std::pair<int, QColor> colours[] = {
        {0, QColor(255, 230, 230)}, {2, QColor(192, 255, 192)},  {3, QColor(255, 255, 160)}, {4, QColor(255, 255, 160)},
        {5, QColor(255, 255, 160)}, {11, QColor(255, 230, 230)}, {1, QColor(255, 255, 255)},
    };
    for (const auto& [code, colour] : colours) {
        record.resultCode = code;
        runs.UpdateRun(record, false);
        EXPECT_EQ(runs.item(0, 4)->data(Qt::BackgroundRole).value<QColor>(), colour) << code;
    }
    record.resultCode = 6;
    runs.UpdateRun(record, false);
    EXPECT_FALSE(runs.item(0, 4)->data(Qt::BackgroundRole).isValid()) << "code 6 keeps the list's colour";
    EXPECT_EQ(runs.GetItemText(0, 6), " ???");
    EXPECT_EQ(runs.GetItemText(0, 5), "2") << "the two OK/NOK results above went into the history";
}

TEST_F(RunsVariablesTest, DeleteAllAsksAndWaitsForTheCampaignStep)
{
    bool stepCurrent = true;
    context.campaignStepCurrent = [&] { return stepCurrent; };
    CExecuteView runs(context);
    RunRecord record;
    runs.AddRun(record);
    runs.OnDeleteAll();
    EXPECT_TRUE(prompter.record.Prompts().empty());
    stepCurrent = false;
    prompter.record.Queue(shell::PromptAnswer::No);
    runs.OnDeleteAll();
    EXPECT_EQ(runs.rowCount(), 1);
    prompter.record.Queue(shell::PromptAnswer::Yes);
    runs.OnDeleteAll();
    EXPECT_EQ(runs.rowCount(), 0);
    EXPECT_TRUE(runs.Runs().empty());
    EXPECT_EQ(prompter.record.Texts().back(), "Supprimer tous les tests de la liste d'exécution ?");
}

TEST_F(RunsVariablesTest, SummaryCountsAndIterations)
{
    CExecuteView runs(context);
    RunRecord a, b;
    a.testName = "A";
    b.testName = "B";
    runs.LoadRuns({&a, &b});
    for (const int code : {1, 1}) {
        a.resultCode = 2;
        runs.UpdateRun(a, false);
        a.resultCode = code;
        a.resultText = "fine";
        runs.UpdateRun(a, false);
    }
    b.resultCode = 2;
    runs.UpdateRun(b, false);
    b.resultCode = 0;
    b.resultText = "";
    b.warnings = {"w1", "w2"};
    runs.UpdateRun(b, false);
    b.resultCode = 10;
    runs.UpdateRun(b, true);  // a verification keeps no history
    EXPECT_EQ(runs.GetItemText(runs.RowOf(a), 5), "2");
    EXPECT_EQ(runs.GetItemText(runs.RowOf(b), 5), "1");

    runs.SelectOnly(runs.RowOf(b));
    prompter.onExec = [](QDialog& dialog) {
        auto& summary = static_cast<RunsSummaryDialog&>(dialog);
        EXPECT_EQ(summary.Total("Nb. tests"), "3");
        EXPECT_EQ(summary.Total("Réussis"), "2");
        EXPECT_EQ(summary.Total("Manqués"), "1");
        EXPECT_EQ(summary.Total("Non passés"), "0");
        EXPECT_EQ(summary.Total("Avertissements"), "2");
        EXPECT_EQ(summary.Total("Durée"), " 00:00:03");
        EXPECT_EQ(summary.Tests()->count(), 3);
        EXPECT_EQ(summary.Tests()->itemText(0), "<Aucun>");
        EXPECT_EQ(summary.Tests()->currentIndex(), 2);
        EXPECT_EQ(summary.Iterations()->count(), 1);
        EXPECT_EQ(summary.Result()->text(), " NOK :  <Aucun>");
        EXPECT_EQ(summary.Warnings()->count(), 2);
        summary.Tests()->setCurrentIndex(1);
        EXPECT_EQ(summary.Iterations()->count(), 2);
        EXPECT_EQ(summary.Result()->text(), " OK : fine");
        summary.findChild<QCheckBox*>()->setChecked(false);
        return int(QDialog::Accepted);
    };
    runs.OnShowResults();
    EXPECT_EQ(prompter.dialogs, 1);
    EXPECT_FALSE(runs.ShowSummaryAtEnd());
}

TEST_F(RunsVariablesTest, VariablesArePerRecordAndEditedOnlyWithAValue)
{
    CVariableView vars(context);
    EXPECT_EQ(vars.columnWidth(2), 400);
    RunRecord first, second;
    first.testName = "T1";
    second.testName = "T2";
    vars.AddVariable("x", &first);
    vars.AddVariable("x", &second);
    vars.AddVariable("x", &first);
    vars.AddVariable("y", nullptr);
    ASSERT_EQ(vars.rowCount(), 2);
    EXPECT_EQ(vars.GetItemText(1, 0), " T2");
    EXPECT_EQ(vars.GetItemText(1, 1), " x");
    EXPECT_EQ(vars.GetItemText(1, 2), " ");

    EXPECT_FALSE(vars.EditRow(0)) << "no value yet";
    EXPECT_EQ(prompter.dialogs, 0);
    vars.UpdateVariable("x", "31", 2, &second);
    EXPECT_EQ(vars.GetItemText(0, 2), " ");
    EXPECT_EQ(vars.GetItemText(1, 2), "31");

    // A wrong value is refused and the dialog stays; a right one is stored and sent in decimal.
    prompter.onExec = [this](QDialog& dialog) {
        auto& value = static_cast<NewValueDialog&>(dialog);
        value.ValueField()->setText("zz");
        value.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(prompter.record.Texts(), std::vector<std::string>{"Valeur incorrecte !"});
        value.ValueField()->setText(" 1f ");
        value.accept();
        return dialog.result();
    };
    EXPECT_TRUE(vars.EditRow(1));
    EXPECT_EQ(vars.GetItemText(1, 2), "0x1F");
    EXPECT_EQ(calls, std::vector<std::string>{"setval x=31"});

    vars.SelectOnly(0);
    vars.DeleteSelected();
    EXPECT_EQ(vars.Names(), std::vector<std::string>{"x"});
    EXPECT_FALSE(vars.IsWatched("x", &first));
}

TEST_F(RunsVariablesTest, NewVariableDialogNeedsAName)
{
    NewVariableDialog dialog;
    dialog.InitialiseOnce();
    EXPECT_EQ(dialog.windowTitle(), "Nouvelle variable");
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    dialog.SetName("count");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.Name(), "count");
}

}  // namespace
}  // namespace zov::output
