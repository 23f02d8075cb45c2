#include "ide/output/RunsPane.h"

#include "ide/output/PanePictures.h"
#include "ide/output/model/PaneRules.h"
#include "ide/shell/ObjectNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace zov::output {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

qint64 DataOf(const execution::RunRecord& record)
{
    return static_cast<qint64>(reinterpret_cast<quintptr>(&record));
}

}  // namespace

CExecuteView::CExecuteView(const OutputContext& context, QWidget* parent)
    : SortableListCtrl(parent), context_(context), table_(context.translate)
{
    shell::SetControlId(*this, 0x7105);
    struct Column {
        const char* heading;
        int width;
        Qt::Alignment alignment;
    };
    const Column columns[] = {
        {"Campagne", 130, Qt::AlignLeft}, {"Ensemble de tests", 150, Qt::AlignLeft},
        {"Test", 210, Qt::AlignLeft},     {"Début", 70, Qt::AlignLeft},
        {"Durée", 60, Qt::AlignLeft},     {"#", 40, Qt::AlignHCenter},
        {"Résultat", 80, Qt::AlignLeft},  {"Avert", 50, Qt::AlignHCenter},
        {"Info", 300, Qt::AlignLeft},
    };
    int index = 0;
    for (const Column& column : columns) {
        const QString heading = index == 5 ? QString("#") : Q(context_.Tr(column.heading));
        InsertColumn(index++, heading, column.alignment, column.width);
    }
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int, int) { OnLoadScript(); });
}

int CExecuteView::RowOf(const execution::RunRecord& record) const
{
    return FindItemByData(DataOf(record));
}

void CExecuteView::LoadRuns(const std::vector<execution::RunRecord*>& records)
{
    DeleteAllItems();
    for (execution::RunRecord* record : records) {
        if (record == nullptr)
            continue;
        AddRun(*record);
        record->resultCode = execution::kResultNotRun;
        for (execution::ResultEntry& entry : record->history)
            entry.marker = -1;
    }
}

void CExecuteView::AddRun(execution::RunRecord& record)
{
    if (RowOf(record) >= 0)
        return;
    table_.AddRun(record);
    runs_.push_back(&record);
    const int row = InsertItem(rowCount(), QString(), -1, DataOf(record));
    FillRow(row);
}

void CExecuteView::FillRow(int row)
{
    auto* record = reinterpret_cast<execution::RunRecord*>(static_cast<quintptr>(GetItemData(row)));
    const execution::RunRow* texts = record ? table_.Find(*record) : nullptr;
    if (texts == nullptr)
        return;
    const std::string* cells[] = {&texts->campaign, &texts->testSet, &texts->test,     &texts->start, &texts->duration,
                                  &texts->count,    &texts->result,  &texts->warnings, &texts->info};
    for (int column = 0; column < 9; ++column)
        SetItemText(row, column, Q(*cells[column]));
    const auto background = RunRowBackground(record->resultCode);
    for (int column = 0; column < 9; ++column) {
        if (QTableWidgetItem* cell = item(row, column)) {
            if (background) {
                const std::uint32_t v = *background;
                cell->setData(Qt::BackgroundRole, QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                                                         static_cast<int>((v >> 16) & 0xFF)));
            } else {
                cell->setData(Qt::BackgroundRole, QVariant());
            }
        }
    }
}

void CExecuteView::UpdateRun(execution::RunRecord& record, bool verify)
{
    const int row = RowOf(record);
    if (row < 0)
        return;
    table_.UpdateRun(record, verify);
    FillRow(row);
    if (QTableWidgetItem* cell = item(row, 0))
        scrollToItem(cell);
}

void CExecuteView::DeleteAllItems()
{
    setRowCount(0);
    table_.Clear();
    runs_.clear();
}

bool CExecuteView::CanLoadScript() const
{
    return !(context_.campaignStepCurrent && context_.campaignStepCurrent());
}

bool CExecuteView::CanDeleteAll() const
{
    return !(context_.scriptRunning && context_.scriptRunning());
}

void CExecuteView::OnLoadScript()
{
    if (!CanLoadScript())
        return;
    std::vector<unsigned> rows;
    if (GetSelectedItems(rows) < 1)
        return;
    auto* record = reinterpret_cast<execution::RunRecord*>(static_cast<quintptr>(GetItemData(rows.front())));
    if (record == nullptr)
        return;
    if (context_.openTestScript)
        context_.openTestScript(*record);
    if (showRunTraces)
        showRunTraces(*record);
}

void CExecuteView::OnShowResults()
{
    if (runs_.empty())
        return;
    const execution::RunRecord* chosen = nullptr;
    std::vector<unsigned> rows;
    if (GetSelectedItems(rows) >= 1)
        chosen = reinterpret_cast<const execution::RunRecord*>(static_cast<quintptr>(GetItemData(rows.front())));
    RunsSummaryDialog dialog(context_, {runs_.begin(), runs_.end()}, chosen, showSummary_, this);
    context_.Prompter().Exec(dialog);
    showSummary_ = dialog.ShowAtEnd();
}

void CExecuteView::OnDeleteAll()
{
    if (!CanLoadScript())
        return;
    if (context_.Prompter().Ask(context_.Tr("Supprimer tous les tests de la liste d'exécution ?"),
                                shell::PromptIcon::Question, shell::PromptButtons::YesNo) == shell::PromptAnswer::Yes)
        DeleteAllItems();
}

RunsSummaryDialog::RunsSummaryDialog(const OutputContext& context, std::vector<const execution::RunRecord*> records,
                                     const execution::RunRecord* chosen, bool showAtEnd, QWidget* parent)
    : ThemedDialogBase(parent), context_(context), records_(std::move(records))
{
    shell::SetControlId(*this, 157);
    setWindowTitle("Résultats des tests");
    auto* layout = new QVBoxLayout(this);

    auto* global = new QGroupBox("Résultat global", this);
    auto* grid = new QGridLayout(global);
    const RunSummary summary = SummariseRuns(records_);
    const std::pair<const char*, QString> totals[] = {
        {"Nb. tests", QString::number(summary.tests)},      {"Durée", Q(FormatTotalDuration(summary.duration))},
        {"Réussis", QString::number(summary.passed)},       {"Manqués", QString::number(summary.failed)},
        {"Non passés", QString::number(summary.notPassed)}, {"Avertissements", QString::number(summary.warnings)},
    };
    int index = 0;
    for (const auto& [heading, value] : totals) {
        auto* label = new QLabel(value, global);
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumWidth(80);
        grid->addWidget(new QLabel(Q(heading), global), index / 3, (index % 3) * 2);
        grid->addWidget(label, index / 3, (index % 3) * 2 + 1);
        totals_.emplace_back(Q(heading), label);
        ++index;
    }
    layout->addWidget(global);

    auto* single = new QGroupBox("Résultat individuel", this);
    auto* singleLayout = new QVBoxLayout(single);
    tests_ = new QComboBox(single);
    tests_->setObjectName("tests");
    tests_->setMinimumWidth(360);
    singleLayout->addWidget(tests_);
    auto* iterationRow = new QHBoxLayout;
    iterationRow->addWidget(new QLabel("Itération :", single));
    iterations_ = new QComboBox(single);
    iterations_->setObjectName("iterations");
    iterationRow->addWidget(iterations_, 1);
    singleLayout->addLayout(iterationRow);
    times_ = new QLabel(single);
    times_->setObjectName("times");
    result_ = new QLabel(single);
    result_->setObjectName("result");
    singleLayout->addWidget(times_);
    singleLayout->addWidget(result_);
    warnings_ = new QListWidget(single);
    warnings_->setObjectName("warnings");
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::Monospace);
    warnings_->setFont(fixed);
    singleLayout->addWidget(warnings_, 1);
    layout->addWidget(single, 1);

    showAtEnd_ = new QCheckBox("Afficher cette fenêtre à la fin de l'exécution des tests", this);
    showAtEnd_->setChecked(showAtEnd);
    layout->addWidget(showAtEnd_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    // Data goes in after the template texts: test names are never translated.
    tests_->addItem(Q(context_.Tr("<Aucun>")));
    int chosenIndex = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const execution::RunRecord& record = *records_[i];
        tests_->addItem(PanePicture(AllIterationsOk(record) ? PanePictureId::ResultOk : PanePictureId::ResultFailed),
                        Q(SummaryTestName(record)));
        if (&record == chosen)
            chosenIndex = static_cast<int>(i) + 1;
    }
    connect(tests_, &QComboBox::currentIndexChanged, this, &RunsSummaryDialog::ChooseTest);
    connect(iterations_, &QComboBox::currentIndexChanged, this, &RunsSummaryDialog::ChooseIteration);
    tests_->setCurrentIndex(chosenIndex);
    ChooseTest(chosenIndex);
}

bool RunsSummaryDialog::ShowAtEnd() const
{
    return showAtEnd_->isChecked();
}

QString RunsSummaryDialog::Total(const char* heading) const
{
    for (const auto& [name, label] : totals_)
        if (name == Q(heading))
            return label->text();
    return {};
}

void RunsSummaryDialog::ChooseTest(int index)
{
    const QSignalBlocker block(iterations_);
    iterations_->clear();
    shown_.clear();
    if (index >= 1 && static_cast<std::size_t>(index) <= records_.size())
        shown_ = SummaryIterations(*records_[index - 1]);
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        iterations_->addItem(
            PanePicture(shown_[i].code == execution::kResultOk ? PanePictureId::ResultOk : PanePictureId::ResultFailed),
            QString::number(static_cast<int>(i) + 1));
    }
    iterations_->setCurrentIndex(shown_.empty() ? -1 : 0);
    ChooseIteration(iterations_->currentIndex());
}

void RunsSummaryDialog::ChooseIteration(int index)
{
    warnings_->clear();
    if (index < 0 || static_cast<std::size_t>(index) >= shown_.size()) {
        times_->clear();
        result_->clear();
        return;
    }
    const execution::ResultEntry& entry = shown_[static_cast<std::size_t>(index)];
    times_->setText(Q(IterationTimes(entry, context_.translate)));
    result_->setText(Q(IterationResult(entry, context_.translate)));
    for (const std::string& warning : entry.warnings)
        warnings_->addItem(Q(warning));
}

}  // namespace zov::output
