// The runs pane of a long campaign holds one row per run: 10 000 rows inserted, then sorted by a
// click on a heading. Beside it, a plain QTableWidget filled with the same texts and sorted with
// sortItems (its own locale-free QString order), as the peer. Run offscreen.
#include "ide/shell/SortableListCtrl.h"

#include <QApplication>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using zov::shell::SortableListCtrl;

constexpr int kRows = 10000;

QString TestName(int row)
{
    // Not in order, with shared prefixes, as test names are.
    return QStringLiteral("T%1_Campagne_%2").arg((row * 7919) % kRows).arg(row % 13);
}

void FillSortable(SortableListCtrl& list)
{
    for (int row = 0; row < kRows; ++row) {
        list.InsertItem(row, TestName(row), -1, row % 7);
        list.SetItemText(row, 1, row % 3 == 0 ? "NOK" : "OK");
        list.SetItemText(row, 2, QString::number((row * 31) % 1000));
        list.SetItemText(row, 3, QStringLiteral("Commentaire %1").arg(row % 101));
    }
}

void FillPlain(QTableWidget& table)
{
    table.setRowCount(kRows);
    for (int row = 0; row < kRows; ++row) {
        table.setItem(row, 0, new QTableWidgetItem(TestName(row)));
        table.setItem(row, 1, new QTableWidgetItem(row % 3 == 0 ? "NOK" : "OK"));
        table.setItem(row, 2, new QTableWidgetItem(QString::number((row * 31) % 1000)));
        table.setItem(row, 3, new QTableWidgetItem(QStringLiteral("Commentaire %1").arg(row % 101)));
    }
}

void MakeColumns(SortableListCtrl& list)
{
    for (const char* heading : {"Test", "R\xC3\xA9sultat",
                                "Dur\xC3\xA9"
                                "e",
                                "Commentaire"})
        list.InsertColumn(list.columnCount(), QString::fromUtf8(heading));
}

void BM_SortableListInsert(benchmark::State& state)
{
    for (auto _ : state) {
        auto list = std::make_unique<SortableListCtrl>();
        MakeColumns(*list);
        FillSortable(*list);
        benchmark::DoNotOptimize(list->rowCount());
        state.PauseTiming();  // the list's destruction is not part of filling it
        list.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortableListInsert)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_TableWidgetInsert(benchmark::State& state)
{
    for (auto _ : state) {
        auto table = std::make_unique<QTableWidget>(0, 4);
        FillPlain(*table);
        benchmark::DoNotOptimize(table->rowCount());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TableWidgetInsert)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SortableListSort(benchmark::State& state)
{
    SortableListCtrl list;
    MakeColumns(list);
    FillSortable(list);
    int column = 0;
    for (auto _ : state) {
        // A new column each time: one full sort per click.
        list.SortByColumn(column);
        column = (column + 1) % 4;
    }
}
BENCHMARK(BM_SortableListSort)->Unit(benchmark::kMillisecond)->Iterations(8);

void BM_TableWidgetSortItems(benchmark::State& state)
{
    QTableWidget table(0, 4);
    FillPlain(table);
    int column = 0;
    for (auto _ : state) {
        table.sortItems(column, Qt::AscendingOrder);
        column = (column + 1) % 4;
    }
}
BENCHMARK(BM_TableWidgetSortItems)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
