// Find in scripts over 1 000 scripts of 200 lines, in 20 ms slices as the find pane drives it,
// beside `grep -rnF` (case kept) and `grep -rniF` (case ignored) on the same tree. Before timing,
// both sides must agree on the number of matching lines.
//
//   zov_find_bench [Google Benchmark options]

#include "ide/shell/search/ScriptSearch.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using zov::shell::ScriptSearch;
using zov::shell::SearchQuery;

constexpr int kScripts = 1000;
constexpr int kLines = 200;

struct Tree {
    fs::path folder;
    std::vector<std::string> entries;

    Tree()
    {
        folder = fs::temp_directory_path() / ("zov_find_bench_" + std::to_string(::getpid()));
        fs::create_directories(folder);
        for (int s = 0; s < kScripts; ++s) {
            const std::string entry = "s" + std::to_string(s) + ".qzs";
            std::ofstream out(folder / entry, std::ios::binary);
            for (int l = 0; l < kLines; ++l) {
                if (l % 17 == 0)
                    out << "\tAppel Mesure_Tension(" << l << ", \"valeur\")\r\n";
                else if (l % 23 == 0)
                    out << "\tappel mesure_tension(" << l << ")\r\n";
                else
                    out << "\tsi compteur_" << l << " > " << s << " alors afficher \"ligne ordinaire\"\r\n";
            }
            entries.push_back(entry);
        }
    }
    ~Tree() { fs::remove_all(folder); }
};

Tree& SharedTree()
{
    static Tree tree;
    return tree;
}

std::size_t SearchAll(const SearchQuery& query)
{
    ScriptSearch search;
    search.Start(query, SharedTree().entries, SharedTree().folder.string());
    std::size_t hits = 0;
    while (search.Running())
        hits += search.Step(std::chrono::milliseconds(20)).size();
    return hits;
}

std::size_t Grep(const char* options, const std::string& text)
{
    const std::string command =
        std::string("grep ") + options + " '" + text + "' '" + SharedTree().folder.string() + "' | wc -l";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return 0;
    unsigned long count = 0;
    if (std::fscanf(pipe, "%lu", &count) != 1)
        count = 0;
    ::pclose(pipe);
    return count;
}

void CheckSameCounts(benchmark::State& state, const SearchQuery& query, const char* grepOptions)
{
    const std::size_t ours = SearchAll(query);
    const std::size_t theirs = Grep(grepOptions, query.text);
    if (ours != theirs || ours == 0)
        state.SkipWithError(("counts differ: " + std::to_string(ours) + " vs grep " + std::to_string(theirs)).c_str());
}

void FindMatchCase(benchmark::State& state)
{
    const SearchQuery query{"Mesure_Tension", true, false};
    CheckSameCounts(state, query, "-rnF");
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchAll(query));
}
void GrepMatchCase(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Grep("-rnF", "Mesure_Tension"));
}
void FindIgnoreCase(benchmark::State& state)
{
    const SearchQuery query{"mesure_tension", false, false};
    CheckSameCounts(state, query, "-rniF");
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchAll(query));
}
void GrepIgnoreCase(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Grep("-rniF", "mesure_tension"));
}

BENCHMARK(FindMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(GrepMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(FindIgnoreCase)->Unit(benchmark::kMillisecond);
BENCHMARK(GrepIgnoreCase)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
