// The procedure-call loop of a script, `call add1(x)` with `x = v + 1` in the procedure, run
// through the script grammar, the tree builder and the node passes of the engine, without the
// engine process around it: the cost of one call of a script procedure. The whole-process run
// against CPython and Lua is calls.sh.

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/tree/Node.h"
#include "engine/base/Output.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace zov;

std::string LoopScript(long loops)
{
    return "x = 0\nproc add1(v = 0)\n  x = v + 1\nend\nfor i = 1 to " + std::to_string(loops) +
           " do\n  call add1(x)\nend\n";
}

struct PreparedScript {
    std::unique_ptr<CAny> root;
    std::unique_ptr<CSymbolStore> global = std::make_unique<CSymbolStore>();
};

CGrammarTable& Grammar()
{
    static CGrammarTable table;
    static const bool loaded = table.Load(std::string(ZOV_BIN_DIR) + "/zov.cgt");
    (void)loaded;
    return table;
}

void InstallBuiltins()
{
    static const bool done = [] {
        auto table = std::make_unique<CFunctionTable>();
        table->LoadGrammar(std::string(ZOV_BIN_DIR) + "/Function.cgt");
        RegisterBuiltins(*table);
        InstallFunctionTable(std::move(table));
        return true;
    }();
    (void)done;
}

bool Prepare(PreparedScript& script, long loops)
{
    CScriptTree tree = BuildScriptTree(Grammar(), LoopScript(loops));
    if (!tree.Root)
        return false;
    script.root = std::move(tree.Root);
    CErrorList errors;
    return AnalyseScript(*script.root, *script.global, errors) == AnalysisResult::Accepted;
}

// One iteration runs the whole loop; the counter reports the time per call.
void BM_ProcedureCallLoop(benchmark::State& state)
{
    const long loops = state.range(0);
    InstallBuiltins();
    Engine().NotifyLines = false;
    CDebugger debugger(Engine());
    PreparedScript script;
    if (!Prepare(script, loops)) {
        state.SkipWithError("script not accepted");
        return;
    }
    for (auto _ : state) {
        CValue value;
        script.root->Execute(script.global.get(), value, debugger);
        const CVariable* x = script.global->FindVariable("x");
        if (!x || x->Value().Word() != loops) {
            state.SkipWithError("wrong result");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * loops);
}
BENCHMARK(BM_ProcedureCallLoop)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
