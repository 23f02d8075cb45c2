// Statement and expression nodes in a tight loop, run through the engine's library: the script
// grammar's table, the tree builder, the analysis and the run, with line notification off.
//
//   zov_loop_bench [Google Benchmark options]      per-iteration cost of the loop forms
//   zov_loop_bench --script FILE                   runs one script once and prints "x = <x>"

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/tree/Node.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace {

using namespace zov;

CGrammarTable* LoadGrammar()
{
    static CGrammarTable table;
    static const bool loaded = table.Load(std::string(ZOV_BIN_DIR) + "/zov.cgt");
    return loaded ? &table : nullptr;
}

// One analysed script with its own scope and debugger.
class LoadedScript {
public:
    explicit LoadedScript(const std::string& text) : debugger_(state_)
    {
        state_.NotifyLines = false;
        CGrammarTable* table = LoadGrammar();
        if (!table) {
            error_ = "zov.cgt not found in " ZOV_BIN_DIR;
            return;
        }
        CScriptTree tree = BuildScriptTree(*table, text);
        root_ = std::move(tree.Root);
        if (!root_) {
            error_ = tree.Error.empty() ? "no tree" : tree.Error;
            return;
        }
        if (AnalyseScript(*root_, global_, errors_) != AnalysisResult::Accepted)
            error_ = errors_.Empty() ? "analysis failed" : errors_.Errors()[0].text;
    }

    const std::string& Error() const { return error_; }

    void Run()
    {
        debugger_.BeginRun(global_);
        CValue value;
        root_->Execute(&global_, value, debugger_);
        debugger_.EndRun();
    }

    std::int32_t Word(const char* name) const
    {
        const CVariable* variable = global_.FindVariable(name);
        return variable ? variable->Value().Word() : 0;
    }

private:
    EngineState state_;
    CDebugger debugger_;
    CSymbolStore global_;
    CErrorList errors_;
    std::unique_ptr<CAny> root_;
    std::string error_;
};

void Loop(benchmark::State& state, const std::string& text)
{
    LoadedScript script(text);
    if (!script.Error().empty()) {
        state.SkipWithError(script.Error().c_str());
        return;
    }
    for (auto _ : state)
        script.Run();
    if (script.Word("x") != 1000000)
        state.SkipWithError("x is not 1000000 after the loop");
    state.SetItemsProcessed(state.iterations() * 1000000);
}

void BM_ForLoopAdd(benchmark::State& state)
{
    Loop(state, "x = 0\nfor i = 1 to 1000000 do\n  x = x + 1\nend\n");
}
BENCHMARK(BM_ForLoopAdd)->Unit(benchmark::kMillisecond);

void BM_WhileLoopAdd(benchmark::State& state)
{
    Loop(state, "x = 0\nwhile x < 1000000 do\n  x = x + 1\nend\n");
}
BENCHMARK(BM_WhileLoopAdd)->Unit(benchmark::kMillisecond);

void BM_RepeatLoopIf(benchmark::State& state)
{
    Loop(state,
         "x = 0\ny = 0\nrepeat\n  x = x + 1\n  if x mod 2 == 0 then\n    y = y + 1\n  end\nuntil x == 1000000\n");
}
BENCHMARK(BM_RepeatLoopIf)->Unit(benchmark::kMillisecond);

int RunScriptFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    LoadedScript script(text.str());
    if (!script.Error().empty()) {
        std::fprintf(stderr, "%s\n", script.Error().c_str());
        return 2;
    }
    script.Run();
    std::printf("x = %d\n", script.Word("x"));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--script") == 0)
        return RunScriptFile(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
