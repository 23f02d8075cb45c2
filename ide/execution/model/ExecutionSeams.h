#pragma once

// What the run driver needs from the windows around it, as plain interfaces: the settings of
// the moment, the main frame's services (RunHost), the interface set (RunInterfaces) and the
// panes and marks that show a run (RunSinks). The windowed program implements them; tests and
// the probe use the recording stand-ins of RecordingSeams.h.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/RunRecord.h"

namespace zov::execution {

// The settings a run reads, as they stand when it reads them.
struct ExecutionSettings {
    std::string programFolder;      // the IDE's own folder; Engine_Path is relative to it
    std::string tempFolder;         // the instance's temporary folder (holds Temp.qzi)
    std::string engine = "zovrun";  // Engine
    std::string enginePath;         // Engine_Path
    std::string engineParams;       // Engine_Params, split by the Windows quote rules
    int timeoutFunction = 30;       // TimeoutFunction, seconds per CLI reply
    bool showExecution = true;      // ShowExecution: show the executing line
    int linePause = 0;              // pause between lines, milliseconds (not kept in ZOV.ini)
    bool realTimeVariables = false;
};

// Services of the main frame.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual ExecutionSettings Settings() = 0;
    // Counts a run in (true) or out (false); returns the count, which numbers the run's traces.
    virtual int CountRunningScript(bool starting) = 0;
    virtual void ScriptEnded(RunRecord* record) = 0;
    virtual void UserStopped() = 0;
    // A "syn" line: every other view whose record differs from `record` passes n to its engine.
    virtual void SyncBroadcast(int n, RunRecord* record) = 0;
    virtual void OnScriptError() = 0;
    virtual void SetDataValue(const std::string& name, const std::string& value) = 0;
    virtual std::string GetDataValue(const std::string& name) = 0;  // "" when absent
    // Names of the variables pane's watch list, in list order, whatever their record.
    virtual std::vector<std::string> WatchedNames() = 0;
    virtual void AppendRunLog(const std::string& traceText, RunRecord& record) = 0;
    // The main frame's verify flag (read by the runs pane).
    virtual void SetVerifyFlag(bool verify) = 0;
};

// What the definitions at a line of the temporary interface file are.
struct InterfaceDefinition {
    int kind = 0;  // 1 CLI, 2 function, 3 constant, 4 macro, other: unknown
    std::string text;
};

// The interface set, as far as a run needs it.
class RunInterfaces {
public:
    virtual ~RunInterfaces() = default;
    virtual bool HasInterface() = 0;  // a current interface file is named
    virtual bool WriteTempInterface(const std::string& path) = 0;
    virtual InterfaceDefinition DefinitionAtLine(int line) = 0;  // 1-based line of Temp.qzi
};

enum class TraceCategory { System, Script, Interpreter, Cli };

// The panes and marks that show a run.
class RunSinks {
public:
    virtual ~RunSinks() = default;
    // Adds a trace (line < 0: none); returns the text the trace pane kept (line breaks expanded,
    // a final line break added), which script and CLI traces add to the run's log.
    virtual std::string Trace(TraceCategory category, int runNumber, int line, std::string_view text) = 0;
    virtual void AddError(std::string_view text, RunRecord* record) = 0;
    virtual void ClearErrors() = 0;
    virtual void UpdateVariable(const std::string& name, const std::string& value, int kind, RunRecord* record) = 0;
    virtual void AddRun(RunRecord& record) = 0;
    virtual void UpdateRun(RunRecord& record, bool verify) = 0;
    // Marks of the script's lines (1-based).
    virtual void SetExecutionLine(int line) = 0;  // and removes it from the previous line
    virtual void ClearExecutionLine() = 0;
    virtual void ToggleWarningLine(int line) = 0;
    virtual void ClearWarningLines() = 0;
    virtual void ClearErrorLine() = 0;
    virtual void ShowLine(int line) = 0;
    // The view: its title's running mark, its buffer's read-only state, its 30 ms line timer.
    virtual void SetRunning(bool running) = 0;
    virtual void SetReadOnly(bool readOnly) = 0;
    virtual void SetLineTimer(bool on) = 0;
    virtual void Paused(int line) = 0;
    virtual void EngineEnded(int exitCode) = 0;
};

// Runs a call later on the owner's thread (the GUI's event loop, or a CallQueue headless).
using PostCall = std::function<void(std::function<void()>)>;

}  // namespace zov::execution
