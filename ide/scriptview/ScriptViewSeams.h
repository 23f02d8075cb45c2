#pragma once
// Stand-ins and adapters around the script view's run: the interface set as a run sees it, and
// the quiet defaults a view gets when the window gives no host, interfaces or panes.

#include "ide/execution/model/ExecutionSeams.h"
#include "ide/shell/FrameSeams.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zov::interfaces {
class InterfaceSet;
}

namespace zov::scriptview {

// A run over the loaded interface set: the temporary file is the set's own Temp.qzi.
class InterfaceSetRun final : public execution::RunInterfaces {
public:
    explicit InterfaceSetRun(interfaces::InterfaceSet& set) : set_(set) {}
    bool HasInterface() override;
    bool WriteTempInterface(const std::string& path) override;
    execution::InterfaceDefinition DefinitionAtLine(int line) override;

private:
    interfaces::InterfaceSet& set_;
};

// No interface: every run is refused with the view's message.
class NoInterfaces final : public execution::RunInterfaces {
public:
    bool HasInterface() override { return false; }
    bool WriteTempInterface(const std::string&) override { return false; }
    execution::InterfaceDefinition DefinitionAtLine(int) override { return {}; }
};

// Panes that show nothing; a trace keeps its text with a final line break, as the trace pane
// gives it back for the run's log.
class QuietPanes : public execution::RunSinks {
public:
    std::string Trace(execution::TraceCategory, int, int, std::string_view text) override;
    void AddError(std::string_view, execution::RunRecord*) override {}
    void ClearErrors() override {}
    void UpdateVariable(const std::string&, const std::string&, int, execution::RunRecord*) override {}
    void AddRun(execution::RunRecord&) override {}
    void UpdateRun(execution::RunRecord&, bool) override {}
    void SetExecutionLine(int) override {}
    void ClearExecutionLine() override {}
    void ToggleWarningLine(int) override {}
    void ClearWarningLines() override {}
    void ClearErrorLine() override {}
    void ShowLine(int) override {}
    void SetRunning(bool) override {}
    void SetReadOnly(bool) override {}
    void SetLineTimer(bool) override {}
    void Paused(int) override {}
    void EngineEnded(int) override {}
};

// Settings as given, one run counted at a time, every frame service a no-op.
class PlainRunHost : public execution::RunHost {
public:
    explicit PlainRunHost(execution::ExecutionSettings settings = {}) : settings_(std::move(settings)) {}
    execution::ExecutionSettings Settings() override { return settings_; }
    int CountRunningScript(bool starting) override;
    void ScriptEnded(execution::RunRecord*) override {}
    void UserStopped() override {}
    void SyncBroadcast(int, execution::RunRecord*) override {}
    void OnScriptError() override {}
    void SetDataValue(const std::string&, const std::string&) override {}
    std::string GetDataValue(const std::string&) override { return {}; }
    std::vector<std::string> WatchedNames() override { return {}; }
    void AppendRunLog(const std::string&, execution::RunRecord&) override {}
    void SetVerifyFlag(bool) override {}

protected:
    execution::ExecutionSettings settings_;
    int running_ = 0;
};

// The run host of one view: settings and panes' services come from the host the views share; the
// run's end, stop, error and "syn" lines go to the frame's run events with the view itself and the
// ticket of the campaign's start, so that the campaign counts each of its tests once and a
// synchronisation skips exactly the view that sent it. Without run events, all goes to the shared
// host.
class ViewRunHost final : public execution::RunHost {
public:
    using EventsOf = std::function<shell::IRunEvents*()>;
    ViewRunHost(execution::RunHost& shared, EventsOf events) : shared_(shared), events_(std::move(events)) {}
    void SetView(shell::IScriptView* view) { view_ = view; }
    // The campaign's start of the next run; it is quoted until that run has ended.
    void SetTicket(std::optional<shell::RunTicket> ticket) { ticket_ = ticket; }
    std::optional<shell::RunTicket> Ticket() const { return ticket_; }

    execution::ExecutionSettings Settings() override { return shared_.Settings(); }
    int CountRunningScript(bool starting) override;
    void ScriptEnded(execution::RunRecord* record) override;
    void UserStopped() override;
    void SyncBroadcast(int n, execution::RunRecord* record) override;
    void OnScriptError() override;
    void SetDataValue(const std::string& name, const std::string& value) override { shared_.SetDataValue(name, value); }
    std::string GetDataValue(const std::string& name) override { return shared_.GetDataValue(name); }
    std::vector<std::string> WatchedNames() override { return shared_.WatchedNames(); }
    void AppendRunLog(const std::string& traceText, execution::RunRecord& record) override
    {
        shared_.AppendRunLog(traceText, record);
    }
    void SetVerifyFlag(bool verify) override { shared_.SetVerifyFlag(verify); }

private:
    shell::IRunEvents* Events() const;

    execution::RunHost& shared_;
    EventsOf events_;
    shell::IScriptView* view_ = nullptr;
    std::optional<shell::RunTicket> ticket_;
};

}  // namespace zov::scriptview
