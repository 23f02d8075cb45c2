// Scanning, parsing and building the syntax tree of a generated 10 000-line script: the blocks of
// bench/script/generate.py (assignments, if/else, for, trace), the same text the end-to-end
// analysis benchmark gives the engine. Also the loading of the script grammar table, which every
// run pays once. CPython compiles the equivalent program in about a tenth of a second; the
// analysis up to the tree should take a small part of that.

#include "engine/grammar/GrammarTable.h"
#include "engine/tree/Node.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string AnalysisScript(int lines)
{
    std::string text;
    for (int i = 0; i < lines / 10; ++i) {
        const std::string n = std::to_string(i);
        const std::string v = "v" + std::to_string(i % 10);
        text += v + " = " + n + " + 2 * 3\n";
        text += "if " + v + " > 10 and " + v + " <> 20 then\n";
        text += "  w = " + v + " - 1\n";
        text += "else\n";
        text += "  w = " + v + " + 1\n";
        text += "end\n";
        text += "for j = 1 to 3 do\n";
        text += "  " + v + " = " + v + " + j * w\n";
        text += "end\n";
        text += "trace(\"block \", " + n + ", \" gives \", " + v + ")\n";
    }
    return text;
}

struct Fixture {
    zov::CGrammarTable table;
    std::string text = AnalysisScript(10000);

    Fixture()
    {
        if (!table.Load(ZOV_BENCH_TABLE)) {
            std::fprintf(stderr, "cannot load %s\n", ZOV_BENCH_TABLE);
            std::abort();
        }
        if (!zov::BuildScriptTree(table, text).Root) {
            std::fprintf(stderr, "the generated script does not parse\n");
            std::abort();
        }
    }
};

Fixture& Shared()
{
    static Fixture fixture;
    return fixture;
}

void BM_LoadScriptGrammar(benchmark::State& state)
{
    for (auto _ : state) {
        zov::CGrammarTable table;
        benchmark::DoNotOptimize(table.Load(ZOV_BENCH_TABLE));
    }
}

void BM_ScanParseBuild10000Lines(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        zov::CScriptTree tree = zov::BuildScriptTree(f.table, f.text);
        benchmark::DoNotOptimize(tree.Root.get());
    }
    state.counters["lines/s"] =
        benchmark::Counter(10000.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_LoadScriptGrammar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScanParseBuild10000Lines)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
