// Arbitrary bytes as a script with procedures and calls: parsed, name- and type-analysed with
// the 58 built-ins in the function table, and run when the run is bounded: no loops or jumps, no
// procedure that calls itself, and no built-in that waits, starts programs or builds large
// texts.

#include "engine/tree/procedures/CallStmt.h"
#include "engine/tree/expressions/FunctionCall.h"
#include "engine/tree/procedures/FunctionProc.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/tree/expressions/IdUse.h"
#include "engine/tree/procedures/ProcedureStmt.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"
#include "../support/ScriptFuzz.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

// The script grammar, with the built-ins installed as the process's function table.
zov::CGrammarTable& Table()
{
    static zov::CGrammarTable* table = [] {
        zov::CGrammarTable* script = &zov::fuzz::ScriptGrammar(std::string(ZOV_FUZZ_BIN) + "/zov.cgt");
        auto functions = std::make_unique<zov::CFunctionTable>();
        if (!functions->LoadGrammar(std::string(ZOV_FUZZ_BIN) + "/Function.cgt") ||
            !zov::RegisterBuiltins(*functions)) {
            std::fprintf(stderr, "cannot load the grammar tables of %s\n", ZOV_FUZZ_BIN);
            std::abort();
        }
        zov::InstallFunctionTable(std::move(functions));
        return script;
    }();
    return *table;
}

bool Refused(std::string_view name)
{
    static constexpr std::string_view kRefused[] = {"pause", "exec",     "kill",       "killall",
                                                    "run",   "waitsync", "importdata", "strrepeat"};
    return std::find(std::begin(kRefused), std::end(kRefused), name) != std::end(kRefused);
}

const std::string& CalledName(const zov::CAny& call)
{
    static const std::string none;
    const auto* name = dynamic_cast<const zov::CIdUse*>(call.Child(0));
    return name ? name->VariableName() : none;
}

// The enclosing procedure declaration of a node, or null.
const zov::CProcedureStmt* EnclosingProcedure(const zov::CAny* node)
{
    for (const zov::CAny* up = node->Parent(); up; up = up->Parent())
        if (const auto* procedure = dynamic_cast<const zov::CProcedureStmt*>(up))
            return procedure;
    return nullptr;
}

bool Bounded(const zov::CAny* root)
{
    return zov::fuzz::EveryNode(root, [](const zov::CAny* node, const zov::CAny*) {
        if (zov::fuzz::LoopJumpOrArray(node))
            return false;
        if (dynamic_cast<const zov::CFunctionCall*>(node) || dynamic_cast<const zov::CFunctionProc*>(node)) {
            if (Refused(CalledName(*node)))
                return false;
        }
        if (const auto* call = dynamic_cast<const zov::CCallStmt*>(node)) {
            const zov::CProcedureStmt* procedure = EnclosingProcedure(node);
            if (procedure && procedure->ProcedureName() == call->ProcedureName())
                return false;
        }
        return true;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (zov::fuzz::TooManyJoins(text))
        return 0;
    zov::CScriptTree tree = zov::BuildScriptTree(Table(), text);
    if (!tree.Root)
        return 0;

    zov::CSymbolStore global;
    zov::CErrorList errors;
    if (zov::AnalyseScript(*tree.Root, global, errors) != zov::AnalysisResult::Accepted || !Bounded(tree.Root.get()))
        return 0;
    zov::fuzz::Run(*tree.Root, global, zov::Engine());
    return 0;
}
