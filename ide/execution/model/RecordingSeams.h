#pragma once

// Stand-ins for the windows around a run, for tests and the probe: each records what it is told
// as one event line in a shared log, in the order it happens.
//   trace <system|script|interp|cli> <line|-> <text>   error <col0>|<col1>|<col2>
//   mark <execution|warning|error> <line> <on|off>     var <name> <kind> <value>
//   data <name>=<value>   send <command>   sync <n>   box <text>   paused <line>   ended <code>
// Line breaks inside texts are written as \r and \n.

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/EngineDriver.h"
#include "ide/execution/model/ExecutionSeams.h"
#include "ide/execution/model/RunRecord.h"
#include "ide/shell/core/Prompter.h"

namespace zov::execution {

std::string EscapeLineBreaks(std::string_view text);

class EventLog {
public:
    void Add(std::string event);
    const std::vector<std::string>& Events() const { return events_; }
    // Events that begin with `prefix`, in order.
    std::vector<std::string> Matching(std::string_view prefix) const;
    void Clear() { events_.clear(); }
    // Also called with each event as it is added (the probe prints them at once).
    std::function<void(const std::string&)> echo;

private:
    std::vector<std::string> events_;
};

class RecordingHost : public RunHost {
public:
    explicit RecordingHost(EventLog& log) : log_(log) {}
    ExecutionSettings settings;
    std::map<std::string, std::string> data;
    std::vector<std::string> watched;
    std::vector<std::string> runLogs;
    int running = 0;
    int ended = 0;
    int stopped = 0;
    int scriptErrors = 0;
    bool verifyFlag = false;

    ExecutionSettings Settings() override { return settings; }
    int CountRunningScript(bool starting) override;
    void ScriptEnded(RunRecord*) override { ++ended; }
    void UserStopped() override { ++stopped; }
    void SyncBroadcast(int n, RunRecord*) override;
    void OnScriptError() override { ++scriptErrors; }
    void SetDataValue(const std::string& name, const std::string& value) override;
    std::string GetDataValue(const std::string& name) override;
    std::vector<std::string> WatchedNames() override { return watched; }
    void AppendRunLog(const std::string& traceText, RunRecord&) override { runLogs.push_back(traceText); }
    void SetVerifyFlag(bool verify) override { verifyFlag = verify; }

private:
    EventLog& log_;
};

class RecordingInterfaces : public RunInterfaces {
public:
    bool hasInterface = true;
    std::vector<std::string> written;
    std::map<int, InterfaceDefinition> definitions;
    // When set, WriteTempInterface copies this file to the path asked for.
    std::string source;

    bool HasInterface() override { return hasInterface; }
    bool WriteTempInterface(const std::string& path) override;
    InterfaceDefinition DefinitionAtLine(int line) override;
};

class RecordingSinks : public RunSinks {
    EventLog& log_;

public:
    explicit RecordingSinks(EventLog& log, shell::Translate translate = shell::IdentityTranslate())
        : log_(log), runs(std::move(translate))
    {}
    RunsTable runs;
    bool running = false;
    bool readOnly = false;
    bool lineTimer = false;
    int executionLine = 0;
    std::set<int> warningLines;
    std::vector<std::string> traceTexts;  // every text kept, as returned

    std::string Trace(TraceCategory category, int runNumber, int line, std::string_view text) override;
    void AddError(std::string_view text, RunRecord* record) override;
    void ClearErrors() override {}
    void UpdateVariable(const std::string& name, const std::string& value, int kind, RunRecord*) override;
    void AddRun(RunRecord& record) override { runs.AddRun(record); }
    void UpdateRun(RunRecord& record, bool verify) override { runs.UpdateRun(record, verify); }
    void SetExecutionLine(int line) override;
    void ClearExecutionLine() override;
    void ToggleWarningLine(int line) override;
    void ClearWarningLines() override;
    void ClearErrorLine() override {}
    void ShowLine(int) override {}
    void SetRunning(bool on) override { running = on; }
    void SetReadOnly(bool on) override { readOnly = on; }
    void SetLineTimer(bool on) override { lineTimer = on; }
    void Paused(int line) override;
    void EngineEnded(int exitCode) override;
};

// Writes "box <text>" for every box; answers OK.
class LoggingPrompter : public shell::RecordingPrompter {
public:
    explicit LoggingPrompter(EventLog& log) : log_(log) {}
    shell::PromptAnswer Ask(const std::string& text, shell::PromptIcon icon, shell::PromptButtons buttons) override;

private:
    EventLog& log_;
};

// Takes the commands a transcript's dispatch sends (the driver's send observer logs them).
class RecordingLink : public CommandLink {
public:
    std::vector<std::string> sent;
    void Send(std::string_view text) override { sent.emplace_back(text); }
};

// A send observer for EngineDriver::SetSendObserver that writes "send <command>" events.
std::function<void(std::string_view)> LogSends(EventLog& log);

// "record <code> <line> <text> warnings=<n> history=<n>"
std::string DescribeRecord(const RunRecord& record);

}  // namespace zov::execution
