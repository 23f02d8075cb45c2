#pragma once

// From a script's text to an analysed node tree: scanning, parsing and building with the script
// grammar, then the name and type analyses into one error list. `interpret` and every test, fuzz
// target and benchmark go through these two functions, so that what they accept is what the
// engine accepts.

#include "engine/grammar/Parser.h"
#include "engine/runtime/ErrorList.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/tree/Node.h"

#include <memory>
#include <string>
#include <string_view>

namespace zov {

class CGrammarTable;

struct CScriptTree {
    std::unique_ptr<CAny> Root;
    // The first syntax error line (without its line feed) when the text did not scan or parse,
    // the resource line when the tree was too deep; empty else.
    std::string Error;
};

struct ScriptBuildOptions {
    // Writes the engine's lines: every syntax error, and the empty-tree line when no tree came.
    bool writeErrors = false;
    // Writes the verbose step line with the token count.
    bool verbose = false;
};

CScriptTree BuildScriptTree(CGrammarTable& table, std::string_view text, const ScriptBuildOptions& options = {});

enum class AnalysisResult { Accepted, NameErrors, TypeErrors };

// Name analysis, then type analysis when every name resolved. The labels of an earlier script
// are forgotten first. With `verbose`, writes the engine's step lines between the analyses; the
// errors themselves are left in `errors` for the caller to show.
AnalysisResult AnalyseScript(CAny& root, CSymbolStore& global, CErrorList& errors, bool verbose = false);

}  // namespace zov
