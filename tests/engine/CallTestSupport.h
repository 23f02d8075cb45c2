#pragma once

// Runs a script text with calls at library level: the script grammar's table, the function
// table with the 58 built-ins and the interface lines given (installed as the process's
// table), the tree builder, name and type analysis into one error list, then the run on the
// calling thread under a debugger of the process's engine state, every output line captured.

#include "engine/runtime/CliCalls.h"
#include "engine/processes/CliProcess.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/input/InterfaceLines.h"
#include "LineCapture.h"
#include "engine/input/MacroTable.h"
#include "engine/tree/Node.h"
#include "engine/runtime/ProcessBuiltins.h"
#include "ScriptRunner.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/tree/TreeBuilder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zov::test {

inline const std::string kTestCli = std::string(ZOV_BIN_DIR) + "/zovtestcli";

// A function table with the built-ins and `interfaceText` (interface file lines), made the
// process's table. False when a line was refused.
inline bool InstallFunctions(std::string_view interfaceText = {})
{
    auto table = std::make_unique<CFunctionTable>();
    if (!table->LoadGrammar(std::string(ZOV_BIN_DIR) + "/Function.cgt") || !RegisterBuiltins(*table))
        return false;
    int refused = 0;
    if (!interfaceText.empty()) {
        if (!table->LoadGrammar(std::string(ZOV_BIN_DIR) + "/Interface.cgt"))
            return false;
        static CMacroTable macros;
        refused = ReadInterfaceText(*table, macros, interfaceText);
    }
    InstallFunctionTable(std::move(table));
    return refused == 0;
}

// The declaration line of the test CLI under `name`, with extra switches.
inline std::string TestCliLine(std::string_view name, std::string_view switches = {})
{
    std::string program = kTestCli;
    if (!switches.empty())
        program.append(" ").append(switches);
    return "CLI " + std::string(name) + " : \"" + program + "|>>|1|exit|1\"\n";
}

// A script run under the process's engine state and debugger, with the process's function table.
class CallScript : public ScriptHost {
public:
    explicit CallScript(std::string_view interfaceText = {}) : ScriptHost(Debugger())
    {
        // Every run of the engine starts with no CLI: the first one started is CLI 1.
        StopAllCliProcesses();
        CliTable.RemoveAll();
        Engine().Reset();
        Engine().NotifyLines = false;
        Debugger().Reset();
        installed_ = InstallFunctions(interfaceText);
        EXPECT_TRUE(installed_) << "interface lines refused: " << capture_.Out();
        capture_.Clear();
    }
    ~CallScript()
    {
        StopAllCliProcesses();
        CliTable.RemoveAll();
        BuiltinKillAll();
        Engine().Reset();
        Debugger().Reset();
    }

    // Analyses and runs; fails the test on a syntax or analysis error. The lines written.
    std::string Execute(std::string_view text) { return AnalyseAndRun(text) ? capture_.Out() : std::string(); }

private:
    bool installed_ = false;
};

// `count` arguments "1, 1, ..." for a call.
inline std::string Ones(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += i == 0 ? "1" : ", 1";
    return text;
}

}  // namespace zov::test
