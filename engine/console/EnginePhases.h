#pragma once

// The hand-over from `interpret` to the engine: Initialise, Analyse and Execute.
//
// Initialise reads the script grammar into the engine object, builds the process-wide function
// table (the 58 built-ins, then the CLI lines of the interface file) and the macro table (the
// interface's CONST and MACRO lines, then the script parameters). Analyse loads the script,
// joins its continued lines, expands its macros, scans, parses, builds the node tree and runs
// the name and type analyses over it. Execute runs the tree under the debugger.

#include "engine/runtime/ErrorList.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/input/MacroTable.h"
#include "engine/tree/Node.h"
#include "engine/grammar/Parser.h"
#include "engine/runtime/SymbolStore.h"

#include <memory>
#include <string>

namespace zov {

class CDebugger;

struct GrammarFiles {
    std::string script = "zov.cgt";
    std::string function = "Function.cgt";
    std::string interface = "Interface.cgt";
};

// One run of one script.
class CEngine {
public:
    CEngine();
    ~CEngine();

    // False on failure, its lines written. The function table made here becomes the
    // process-wide one.
    bool Initialise(const GrammarFiles& grammars, const std::string& interfacePath);
    // Reads the script grammar, with its reading lines.
    bool LoadGrammar(const std::string& fileName);
    // False on failure, its lines written.
    bool Analyse(const std::string& scriptPath);
    // Runs the analysed tree; after a failed analysis only writes the refusal line. Variable
    // access through the debugger is closed before the global scope is released.
    void Execute(CDebugger& debugger);

    bool GrammarLoaded() const { return grammarLoaded_; }
    bool ScriptLoaded() const { return scriptLoaded_; }
    bool Initialised() const { return initialised_; }
    bool Analysed() const { return analysed_; }
    // The script text as the last step left it (loaded, joined, then expanded).
    const std::string& ScriptText() const { return script_; }
    const CMacroTable* Macros() const { return macros_.get(); }
    CAny* Root() const { return root_.get(); }
    // The global scope, from the name analysis until it is released.
    CSymbolStore* GlobalScope() const { return global_.get(); }

private:
    // Empties the global scope and the script's labels and releases the scope.
    void FreeScope();

    CGrammarTable grammar_;
    std::string script_;
    std::unique_ptr<CAny> root_;
    CErrorList errors_;
    bool grammarLoaded_ = false;
    bool scriptLoaded_ = false;
    std::unique_ptr<CMacroTable> macros_;
    bool initialised_ = false;
    bool analysed_ = false;
    std::unique_ptr<CSymbolStore> global_;
};

// Runs one script from start to end on the calling thread (the interpret thread): Initialise,
// Analyse, then the verdict of a verify run or Execute, then every CLI and every `exec`
// process stopped. Returns true when the script was analysed (and, outside verify mode, run).
// The engine object and its tree are kept until the process ends.
bool RunEnginePhases(const GrammarFiles& grammars, const std::string& interfacePath, const std::string& scriptPath);

}  // namespace zov
