#include "engine/console/EnginePhases.h"

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/input/InterfaceLines.h"
#include "engine/runtime/Label.h"
#include "engine/base/MemoryProbes.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "engine/grammar/Scanner.h"
#include "engine/input/ScriptLoader.h"
#include "engine/grammar/SyntaxMessages.h"
#include "engine/tree/ScriptAnalysis.h"

#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace zov {

namespace {

bool Verbose()
{
    return Engine().Verbose.load();
}

// Nodes hold pointers into the tree and into the function table for as long as the process
// lives, so a finished engine is parked here rather than destroyed under a late reader.
void KeepUntilExit(std::unique_ptr<CEngine> engine)
{
    static std::mutex lock;
    static std::vector<std::unique_ptr<CEngine>> kept;
    std::lock_guard<std::mutex> hold(lock);
    kept.push_back(std::move(engine));
}

}  // namespace

CEngine::CEngine() = default;
CEngine::~CEngine() = default;

bool CEngine::LoadGrammar(const std::string& fileName)
{
    grammarLoaded_ = LoadGrammarFile(grammar_, fileName);
    return grammarLoaded_;
}

bool CEngine::Initialise(const GrammarFiles& grammars, const std::string& interfacePath)
{
    const bool verbose = Verbose();
    if (verbose)
        WriteOut(lines::EngInitStart);
    macros_ = std::make_unique<CMacroTable>();
    if (!LoadGrammar(grammars.script))
        return false;

    // A missing prototype grammar shows as one failure line per built-in, then the count.
    auto owned = std::make_unique<CFunctionTable>();
    owned->LoadGrammar(grammars.function);
    CFunctionTable& functions = *InstallFunctionTable(std::move(owned));
    if (!RegisterBuiltins(functions))
        return false;

    initialised_ = true;
    functions.LoadGrammar(grammars.interface);
    const int errors = ReadInterfaceFile(functions, *macros_, interfacePath);
    if (errors < 0) {
        initialised_ = false;
        return false;
    }
    // After the interface's constants, so that a CONST of the same name is the one found.
    AddScriptParameters(*macros_, Engine());
    if (errors > 0) {
        WriteOut(lines::EngInitErrors, errors);
        initialised_ = false;
        return false;
    }
    if (verbose) {
        WriteOut(lines::EngStepSuccess);
        WriteOut(lines::EngInitEnd);
    }
    return true;
}

bool CEngine::Analyse(const std::string& scriptPath)
{
    const bool verbose = Verbose();
    WriteOut(lines::EngAnalyseStart);
    analysed_ = false;
    if (!initialised_) {
        WriteOut(lines::EngAnalyseRefused);
        return false;
    }

    if (verbose)
        WriteOut(lines::EngReadScript, scriptPath.c_str());
    std::optional<std::string> loaded = LoadScriptFile(scriptPath);
    scriptLoaded_ = loaded.has_value();
    if (!scriptLoaded_) {
        WriteCannotRead(scriptPath, verbose);
        return false;
    }
    script_ = std::move(*loaded);
    if (verbose) {
        WriteOut(lines::EngStepSuccess);
        WriteOut(lines::EngJoinLines);
    }
    script_ = JoinContinuedLines(script_);
    if (verbose)
        WriteOut(lines::EngStepSuccess);
    if (!RunMacroPasses(*macros_, script_))
        return false;

    CScriptTree tree = BuildScriptTree(grammar_, script_, {.writeErrors = true, .verbose = verbose});
    root_ = std::move(tree.Root);
    if (!root_)
        return false;

    global_ = std::make_unique<CSymbolStore>();
    switch (AnalyseScript(*root_, *global_, errors_, verbose)) {
    case AnalysisResult::NameErrors:
        FreeScope();
        errors_.PrintAnalysisErrors();
        return false;
    case AnalysisResult::TypeErrors:
        WriteOut(lines::EngTypeAnalysisFailed);
        errors_.PrintAnalysisErrors();
        return false;
    case AnalysisResult::Accepted:
        break;
    }
    analysed_ = true;
    return true;
}

void CEngine::Execute(CDebugger& debugger)
{
    if (!analysed_ || !root_ || !global_) {
        WriteOut(lines::EngExecuteRefused);
        FreeScope();
        return;
    }
    // The run is open before its line is written: a `getval` sent on seeing the line is served.
    debugger.BeginRun(*global_);
    WriteOut(lines::EngExecuteStart);
    CValue result;
    try {
        root_->Execute(global_.get(), result, debugger);
    } catch (const std::bad_alloc&) {
        // Out of memory anywhere in the run: said, and ended as any run-time error, its CLIs
        // stopped, rather than the process aborting with them left running.
        WriteOut(lines::ErrLine, static_cast<int>(debugger.CurrentLine()), exprmsg::OutOfMemory);
        debugger.AbortAfterError();
    }
    // From here `getval` and `setval` find no run, so none can reach the scope released below.
    debugger.EndRun();
    WriteOut(lines::EngExecuteEnd);
    FreeScope();
}

void CEngine::FreeScope()
{
    ScriptLabels().Clear();
    global_.reset();
}

bool RunEnginePhases(const GrammarFiles& grammars, const std::string& interfacePath, const std::string& scriptPath)
{
    EngineState& state = Engine();
    auto engine = std::make_unique<CEngine>();
    bool ran = false;
    if (!engine->Initialise(grammars, interfacePath)) {
        // The IDE waits for a verdict; without one it could only show the run as unknown.
        if (state.VerifyOnly) {
            WriteOut(lines::EngVerifyNok);
            WriteOut(lines::VrfNok);
        }
    } else {
        const bool verbose = state.Verbose.load();
        const long before = verbose ? GetWorkingSetKb() : 0;
        const bool analysed = engine->Analyse(scriptPath);
        if (verbose) {
            const long growth = GetWorkingSetKb() - before;
            WriteOut(lines::EngScriptMemory, CountForLine(growth));
        }
        ran = analysed;
        if (state.VerifyOnly) {
            WriteOut(analysed ? lines::EngVerifyOk : lines::EngVerifyNok);
            WriteOut(analysed ? lines::VrfOk : lines::VrfNok);
        } else {
            state.ScriptRunning = 1;
            engine->Execute(Debugger());
            StopAllClis();
            KillAllExecs();
        }
    }
    KeepUntilExit(std::move(engine));
    return ran;
}

}  // namespace zov
