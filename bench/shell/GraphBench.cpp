// The results synthesis chart at its fullest: 500 bars of 5 stacked values painted into an
// image the size of the dialog's chart, solid and gradient bars. Beside it, the same 2 500
// rectangles filled straight with QPainter::fillRect, as the peer. Run offscreen.
#include "ide/shell/GraphControl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using zov::shell::GraphControl;
using zov::shell::kGraphSlots;
using zov::shell::kGraphStack;

constexpr int kWidth = 1200;
constexpr int kHeight = 400;

void Fill(GraphControl& graph)
{
    graph.resize(kWidth, kHeight);
    graph.Plot().axisColour = 0;
    graph.Plot().SetYLabelCount(6);
    graph.Plot().SetYGridCount(6);
    const std::uint32_t colours[kGraphStack] = {0x32CD32, 0x0000FF, 0x808080, 0xFF0000, 0x00D7FF};
    graph.SetSeriesColours(kGraphStack, colours);
    graph.SetPointCount(kGraphSlots);
    graph.SetYRange(0, 60);
    for (int i = 0; i < kGraphSlots; ++i) {
        const int values[kGraphStack] = {1 + i % 9, 2 + i % 5, 3, 1 + i % 4, 2};
        graph.SetPointValues(i, kGraphStack, values);
        graph.SetPointLabel(i, QStringLiteral("V%1").arg(i + 1));
    }
}

void PaintGraph(benchmark::State& state)
{
    GraphControl graph;
    Fill(graph);
    graph.SetDrawStyle(static_cast<std::uint16_t>(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        graph.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(state.range(0) == 1 ? "solid bars" : "gradient bars");
}
BENCHMARK(PaintGraph)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void PaintPlainRectangles(benchmark::State& state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const QColor colours[kGraphStack] = {Qt::green, Qt::red, Qt::gray, Qt::blue, Qt::yellow};
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        for (int i = 0; i < kGraphSlots; ++i) {
            int top = kHeight - 20;
            for (int level = 0; level < kGraphStack; ++level) {
                const int height = 5 + (i + level) % 7;
                top -= height;
                painter.fillRect(QRect(20 + i * 2, top, 1, height), colours[level]);
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(PaintPlainRectangles)->Unit(benchmark::kMillisecond);

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
