// Arbitrary bytes as a script: parsed, analysed, and run when the analysis accepts it. Only
// straight-line scripts run (conditions, case, assignments, operators, labels): loops and
// jumps could run for ever, arrays and joined texts could ask for any amount of memory, and
// calls reach processes and the clock.

#include "CallStmt.h"
#include "Debugger.h"
#include "DimStmt.h"
#include "EngineState.h"
#include "ErrorList.h"
#include "ForStmt.h"
#include "FunctionCall.h"
#include "FunctionProc.h"
#include "GotoStmt.h"
#include "GrammarTable.h"
#include "Node.h"
#include "Output.h"
#include "ProcedureStmt.h"
#include "RepeatStmt.h"
#include "SymbolStore.h"
#include "TreeBuilder.h"
#include "WhileStmt.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

zov::CGrammarTable& Table()
{
    static zov::CGrammarTable* table = [] {
        auto* t = new zov::CGrammarTable;
        if (!t->Load(ZOV_FUZZ_TABLE)) {
            std::fprintf(stderr, "cannot load %s\n", ZOV_FUZZ_TABLE);
            std::abort();
        }
        zov::SetLineSink([](zov::Stream, std::string_view) {});
        return t;
    }();
    return *table;
}

bool StraightLine(const zov::CAny* root)
{
    std::vector<const zov::CAny*> pending{root};
    while (!pending.empty()) {
        const zov::CAny* node = pending.back();
        pending.pop_back();
        if (dynamic_cast<const zov::CForStmt*>(node) || dynamic_cast<const zov::CWhileStmt*>(node)
            || dynamic_cast<const zov::CRepeatStmt*>(node) || dynamic_cast<const zov::CGotoStmt*>(node)
            || dynamic_cast<const zov::CDimStmt*>(node) || dynamic_cast<const zov::CCallStmt*>(node)
            || dynamic_cast<const zov::CProcedureStmt*>(node) || dynamic_cast<const zov::CFunctionCall*>(node)
            || dynamic_cast<const zov::CFunctionProc*>(node))
            return false;
        for (size_t i = 0; i < node->ChildCount(); ++i) {
            if (const zov::CAny* child = node->Child(i))
                pending.push_back(child);
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Each "+" may double a text: a few keep every run within a few megabytes.
    if (std::count(text.begin(), text.end(), '+') > 12)
        return 0;
    zov::CScriptTree tree = zov::BuildScriptTree(Table(), text);
    if (!tree.Root || !StraightLine(tree.Root.get()))
        return 0;

    zov::CSymbolStore global;
    zov::CErrorList errors;
    if (tree.Root->NameAnalysis(&global, errors) != zov::kAnalysisDone)
        return 0;
    zov::TypeCode type = zov::kTypeUndetermined;
    tree.Root->TypeAnalysis(&global, type, errors, 0);
    if (!errors.Empty())
        return 0;

    static zov::EngineState* state = [] {
        auto* s = new zov::EngineState;
        s->NotifyLines = false;
        return s;
    }();
    zov::CDebugger debugger(*state);
    debugger.BeginRun(global);
    zov::CValue value;
    tree.Root->Execute(&global, value, debugger);
    debugger.EndRun();
    return 0;
}
