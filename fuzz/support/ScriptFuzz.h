#pragma once

// What the script harnesses share: the script grammar loaded once (or the harness stops), the
// walk over a syntax tree, the nodes that could make a run last for ever or grow without bound,
// and the analyses and the run as the engine does them.

#include "engine/runtime/Debugger.h"
#include "engine/tree/statements/DimStmt.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/tree/statements/ForStmt.h"
#include "engine/tree/statements/GotoStmt.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/tree/Node.h"
#include "engine/base/Output.h"
#include "engine/tree/statements/RepeatStmt.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/tree/statements/WhileStmt.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zov::fuzz {

// Silences the engine's output: its messages would flood the fuzzer's.
inline void SilenceLines()
{
    SetLineSink([](Stream, std::string_view) {});
}

// The script grammar table at `path`, loaded on the first call; the harness stops when it is
// missing, since no input could be tried.
inline CGrammarTable& ScriptGrammar(const std::string& path)
{
    static CGrammarTable* table = [&] {
        SilenceLines();
        auto* loaded = new CGrammarTable;
        if (!loaded->Load(path)) {
            std::fprintf(stderr, "cannot load %s\n", path.c_str());
            std::abort();
        }
        return loaded;
    }();
    return *table;
}

// Calls `visit(node, parent)` on every node below and including `root` (parent null for the
// root), depth first; stops and answers false as soon as `visit` does.
template <class Visit>
bool EveryNode(const CAny* root, Visit visit)
{
    std::vector<std::pair<const CAny*, const CAny*>> pending{{root, nullptr}};
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        if (!visit(node, parent))
            return false;
        for (size_t i = 0; i < node->ChildCount(); ++i) {
            if (const CAny* child = node->Child(i))
                pending.emplace_back(child, node);
        }
    }
    return true;
}

// Loops and jumps could run for ever, arrays could ask for any amount of memory.
inline bool LoopJumpOrArray(const CAny* node)
{
    return dynamic_cast<const CForStmt*>(node) || dynamic_cast<const CWhileStmt*>(node) ||
           dynamic_cast<const CRepeatStmt*>(node) || dynamic_cast<const CGotoStmt*>(node) ||
           dynamic_cast<const CDimStmt*>(node);
}

// Each "+" may double a text: a few keep every run within a few megabytes.
inline bool TooManyJoins(std::string_view text)
{
    return std::count(text.begin(), text.end(), '+') > 12;
}

// Runs an analysed script on the calling thread under a debugger of `state`, line notification
// off.
inline void Run(CAny& root, CSymbolStore& global, EngineState& state)
{
    state.NotifyLines = false;
    CDebugger debugger(state);
    debugger.BeginRun(global);
    CValue value;
    root.Execute(&global, value, debugger);
    debugger.EndRun();
}

}  // namespace zov::fuzz
