#pragma once

// The "Exécution" pane: one row per test run, where it belongs, when it started, how long it ran
// and its result, coloured by result; and the "Résultats des tests" summary dialog.

#include <functional>
#include <vector>

#include "ide/execution/model/RunRecord.h"
#include "ide/output/OutputContext.h"
#include "ide/shell/SortableListCtrl.h"
#include "ide/shell/ThemedDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace zov::output {

class CExecuteView : public shell::SortableListCtrl {
    Q_OBJECT

public:
    explicit CExecuteView(const OutputContext& context, QWidget* parent = nullptr);

    // Replaces the list with the given tests, each back to "not run" with its history unmarked.
    void LoadRuns(const std::vector<execution::RunRecord*>& records);
    void AddRun(execution::RunRecord& record);
    void UpdateRun(execution::RunRecord& record, bool verify);
    void DeleteAllItems();
    const std::vector<execution::RunRecord*>& Runs() const { return runs_; }
    int RowOf(const execution::RunRecord& record) const;

    // Commands 32810 (load the selected test's script), 32809 (summary), 38500 (empty the list,
    // asks first).
    void OnLoadScript();
    void OnShowResults();
    void OnDeleteAll();
    bool CanLoadScript() const;
    bool CanShowResults() const { return !runs_.empty(); }
    bool CanDeleteAll() const;

    // Called with the test whose script "Charge le script" opened, so that its traces are shown.
    std::function<void(const execution::RunRecord&)> showRunTraces;

    // The summary dialog's check box, carried from one dialog to the next.
    bool ShowSummaryAtEnd() const { return showSummary_; }
    void SetShowSummaryAtEnd(bool show) { showSummary_ = show; }

private:
    void FillRow(int row);
    OutputContext context_;
    execution::RunsTable table_;
    std::vector<execution::RunRecord*> runs_;
    bool showSummary_ = true;
};

// "Résultats des tests": the global counts over every kept result, and one test's iterations.
class RunsSummaryDialog : public shell::ThemedDialogBase {
    Q_OBJECT

public:
    RunsSummaryDialog(const OutputContext& context, std::vector<const execution::RunRecord*> records,
                      const execution::RunRecord* chosen, bool showAtEnd, QWidget* parent = nullptr);
    bool ShowAtEnd() const;
    // The label texts of the global result, by their heading.
    QString Total(const char* heading) const;
    QComboBox* Tests() const { return tests_; }
    QComboBox* Iterations() const { return iterations_; }
    QLabel* Times() const { return times_; }
    QLabel* Result() const { return result_; }
    QListWidget* Warnings() const { return warnings_; }

private:
    void ChooseTest(int index);
    void ChooseIteration(int index);

    const OutputContext& context_;
    std::vector<const execution::RunRecord*> records_;
    std::vector<execution::ResultEntry> shown_;
    std::vector<std::pair<QString, QLabel*>> totals_;
    QComboBox* tests_;
    QComboBox* iterations_;
    QLabel* times_;
    QLabel* result_;
    QListWidget* warnings_;
    QCheckBox* showAtEnd_;
};

}  // namespace zov::output
