// Arbitrary bytes as a script with procedures and calls: parsed, name- and type-analysed with
// the 58 built-ins in the function table, and run when the run is bounded: no loops or jumps, no
// procedure that calls itself, and no built-in that waits, starts programs or builds large
// texts.

#include "CallStmt.h"
#include "Debugger.h"
#include "DimStmt.h"
#include "EngineState.h"
#include "ErrorList.h"
#include "ForStmt.h"
#include "FunctionCall.h"
#include "FunctionProc.h"
#include "FunctionTable.h"
#include "GotoStmt.h"
#include "GrammarTable.h"
#include "IdUse.h"
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
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

zov::CGrammarTable& Table()
{
    static zov::CGrammarTable* table = [] {
        zov::SetLineSink([](zov::Stream, std::string_view) {});
        auto* t = new zov::CGrammarTable;
        auto functions = std::make_unique<zov::CFunctionTable>();
        if (!t->Load(std::string(ZOV_FUZZ_BIN) + "/zov.cgt")
            || !functions->LoadGrammar(std::string(ZOV_FUZZ_BIN) + "/Function.cgt")
            || !zov::RegisterBuiltins(*functions)) {
            std::fprintf(stderr, "cannot load the grammar tables of %s\n", ZOV_FUZZ_BIN);
            std::abort();
        }
        zov::InstallFunctionTable(std::move(functions));
        return t;
    }();
    return *table;
}

bool Refused(std::string_view name)
{
    static constexpr std::string_view kRefused[] = {"pause", "exec", "kill", "killall", "run",
                                                    "waitsync", "importdata", "strrepeat"};
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
    std::vector<const zov::CAny*> pending{root};
    while (!pending.empty()) {
        const zov::CAny* node = pending.back();
        pending.pop_back();
        if (dynamic_cast<const zov::CForStmt*>(node) || dynamic_cast<const zov::CWhileStmt*>(node)
            || dynamic_cast<const zov::CRepeatStmt*>(node) || dynamic_cast<const zov::CGotoStmt*>(node)
            || dynamic_cast<const zov::CDimStmt*>(node))
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
    if (!tree.Root)
        return 0;

    zov::CSymbolStore global;
    zov::CErrorList errors;
    if (tree.Root->NameAnalysis(&global, errors) != zov::kAnalysisDone || !errors.Empty())
        return 0;
    zov::TypeCode type = zov::kTypeUndetermined;
    tree.Root->TypeAnalysis(&global, type, errors, 0);
    if (!errors.Empty() || !Bounded(tree.Root.get()))
        return 0;

    zov::EngineState& state = zov::Engine();
    state.NotifyLines = false;
    zov::CDebugger debugger(state);
    debugger.BeginRun(global);
    zov::CValue value;
    tree.Root->Execute(&global, value, debugger);
    debugger.EndRun();
    return 0;
}
