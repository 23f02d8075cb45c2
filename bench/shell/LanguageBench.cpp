// The language table as the IDE uses it: one load of a 2 000-line file at start-up, then a
// translation each time a message, caption or column title is built (hit or miss).
//
//   zov_language_bench [Google Benchmark options]

#include "ide/shell/core/LanguageTable.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using zov::shell::LanguageTable;

constexpr int kLines = 2000;

std::string Key(int i)
{
    return "Libellé français numéro " + std::to_string(i);
}

std::string LanguageFile()
{
    std::string text = "; English\r\n$LANGUAGE=English\r\n$HELP=ZOV_en.chm\r\n";
    for (int i = 0; i < kLines; ++i)
        text += Key(i) + " = English caption number " + std::to_string(i) + "\\twith a tab\r\n";
    return text;
}

void LoadLanguageFile(benchmark::State& state)
{
    const std::string file = LanguageFile();
    for (auto _ : state) {
        LanguageTable table;
        table.LoadText(file);
        benchmark::DoNotOptimize(table.EntryCount());
    }
    state.SetLabel(std::to_string(kLines) + " lines");
}
BENCHMARK(LoadLanguageFile)->Unit(benchmark::kMillisecond);

void TranslateHit(benchmark::State& state)
{
    LanguageTable table;
    table.LoadText(LanguageFile());
    const std::string text = Key(1234) + " :";
    for (auto _ : state)
        benchmark::DoNotOptimize(zov::shell::TranslateText(&table, text));
}
BENCHMARK(TranslateHit);

void TranslateMiss(benchmark::State& state)
{
    LanguageTable table;
    table.LoadText(LanguageFile());
    const std::string text = "Impossible de charger le fichier:\n%s";
    for (auto _ : state)
        benchmark::DoNotOptimize(zov::shell::TranslateText(&table, text));
}
BENCHMARK(TranslateMiss);

}  // namespace

BENCHMARK_MAIN();
