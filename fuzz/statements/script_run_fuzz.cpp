// Arbitrary bytes as a script: parsed, analysed, and run when the analysis accepts it. Only
// straight-line scripts run (conditions, case, assignments, operators, labels): loops and
// jumps could run for ever, arrays and joined texts could ask for any amount of memory, and
// calls reach processes and the clock.

#include "engine/tree/procedures/CallStmt.h"
#include "engine/tree/expressions/FunctionCall.h"
#include "engine/tree/procedures/FunctionProc.h"
#include "engine/tree/procedures/ProcedureStmt.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"
#include "../support/ScriptFuzz.h"

#include <string_view>

namespace {

bool StraightLine(const zov::CAny* root)
{
    return zov::fuzz::EveryNode(root, [](const zov::CAny* node, const zov::CAny*) {
        return !zov::fuzz::LoopJumpOrArray(node) && !dynamic_cast<const zov::CCallStmt*>(node) &&
               !dynamic_cast<const zov::CProcedureStmt*>(node) && !dynamic_cast<const zov::CFunctionCall*>(node) &&
               !dynamic_cast<const zov::CFunctionProc*>(node);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (zov::fuzz::TooManyJoins(text))
        return 0;
    zov::CScriptTree tree = zov::BuildScriptTree(zov::fuzz::ScriptGrammar(ZOV_FUZZ_TABLE), text);
    if (!tree.Root || !StraightLine(tree.Root.get()))
        return 0;

    zov::CSymbolStore global;
    zov::CErrorList errors;
    if (zov::AnalyseScript(*tree.Root, global, errors) != zov::AnalysisResult::Accepted)
        return 0;
    static zov::EngineState* state = new zov::EngineState;
    zov::fuzz::Run(*tree.Root, global, *state);
    return 0;
}
