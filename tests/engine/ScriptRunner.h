#pragma once

// Runs a script text as the engine does, at library level: the script grammar's table, the
// tree builder, name and type analysis into one error list, then the run under a debugger of
// its own with every output line captured.

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/grammar/GrammarTable.h"
#include "LineCapture.h"
#include "engine/tree/Node.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/tree/ScriptAnalysis.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zov::test {

inline CGrammarTable& ScriptGrammar()
{
    static CGrammarTable* table = [] {
        auto* loaded = new CGrammarTable;
        const bool ok = loaded->Load(std::string(ZOV_BIN_DIR) + "/zov.cgt");
        EXPECT_TRUE(ok) << "zov.cgt beside the programs";
        return loaded;
    }();
    return *table;
}

// What every script runner of the tests shares: the parse and the two analyses into one error
// list, the run under a debugger the runner names, the global variables and every output line.
class ScriptHost {
public:
    ScriptHost(const ScriptHost&) = delete;
    ScriptHost& operator=(const ScriptHost&) = delete;

    // Parses and analyses as `interpret` does; true when the script may run.
    bool Analyse(std::string_view text)
    {
        CScriptTree tree = BuildScriptTree(ScriptGrammar(), text);
        syntaxError_ = tree.Error;
        root_ = std::move(tree.Root);
        if (!root_)
            return false;
        return AnalyseScript(*root_, global_, errors_) == AnalysisResult::Accepted;
    }

    // Runs the analysed script on the calling thread; the jump target it ended with.
    JumpTarget Run()
    {
        if (!root_)
            return nullptr;
        runDebugger_.BeginRun(global_);
        CValue value;
        JumpTarget end = root_->Execute(&global_, value, runDebugger_);
        runDebugger_.EndRun();
        return end;
    }

    // The value of a global variable as the debugger would read it; a failure when absent.
    const CValue& Value(std::string_view name) const
    {
        static const CValue none;
        const CVariable* variable = global_.FindVariable(name);
        if (!variable) {
            ADD_FAILURE() << "no variable " << name;
            return none;
        }
        return variable->Value();
    }
    std::int32_t Word(std::string_view name) const { return Value(name).Word(); }
    double Real(std::string_view name) const { return Value(name).RealValue(); }
    std::string Text(std::string_view name) const { return std::string(Value(name).TextView()); }
    bool Has(std::string_view name) const { return global_.FindVariable(name) != nullptr; }

    std::string FirstError() const { return errors_.Empty() ? std::string() : errors_.Errors()[0].text; }
    const CErrorList& Errors() const { return errors_; }
    const std::string& SyntaxError() const { return syntaxError_; }
    std::string Out() const { return capture_.Out(); }
    std::string Err() const { return capture_.Err(); }
    CSymbolStore& Global() { return global_; }

protected:
    // `debugger` runs the scripts; it may be a member of the runner not built yet.
    explicit ScriptHost(CDebugger& debugger) : runDebugger_(debugger) {}
    ~ScriptHost() = default;

    // Analyses and runs; fails the test on a syntax or analysis error, and answers false then.
    bool AnalyseAndRun(std::string_view text)
    {
        if (!Analyse(text)) {
            ADD_FAILURE() << "not accepted: " << syntaxError_ << FirstError() << "\n" << text;
            return false;
        }
        Run();
        return true;
    }

    LineCapture capture_;

private:
    CDebugger& runDebugger_;
    CSymbolStore global_;
    CErrorList errors_;
    std::string syntaxError_;
    std::unique_ptr<CAny> root_;
};

// A script run with an engine state and a debugger of its own.
class ScriptRunner : public ScriptHost {
public:
    ScriptRunner() : ScriptHost(debugger_), debugger_(state_) { state_.NotifyLines = false; }

    // Analyses and runs; fails the test on a syntax or analysis error.
    void Execute(std::string_view text) { AnalyseAndRun(text); }

    EngineState& State() { return state_; }
    CDebugger& Debugger() { return debugger_; }

private:
    EngineState state_;
    CDebugger debugger_;
};

}  // namespace zov::test
