// One engine run of 100 000 "trc:" and 200 000 "cmd: run" lines, timed two ways in the same
// iteration: zovrun alone with its output to /dev/null (the peer), and zovrun under the IDE's
// runner, run driver and line dispatch with panes that keep nothing. Counters: both times, their
// ratio, the largest runner queue seen, and the time from the start call to its return (the
// first commands are written by then).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ide/execution/model/CallQueue.h"
#include "ide/execution/model/EngineDriver.h"
#include "ide/shell/core/Prompter.h"

extern char** environ;

namespace {

using namespace zov::execution;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class NullHost : public RunHost {
public:
    ExecutionSettings settings;
    ExecutionSettings Settings() override { return settings; }
    int CountRunningScript(bool) override { return 1; }
    void ScriptEnded(RunRecord*) override {}
    void UserStopped() override {}
    void SyncBroadcast(int, RunRecord*) override {}
    void OnScriptError() override {}
    void SetDataValue(const std::string&, const std::string&) override {}
    std::string GetDataValue(const std::string&) override { return {}; }
    std::vector<std::string> WatchedNames() override { return {}; }
    void AppendRunLog(const std::string&, RunRecord&) override {}
    void SetVerifyFlag(bool) override {}
};

class NullInterfaces : public RunInterfaces {
public:
    fs::path source;
    bool HasInterface() override { return true; }
    bool WriteTempInterface(const std::string& path) override
    {
        fs::copy_file(source, path, fs::copy_options::overwrite_existing);
        return true;
    }
    InterfaceDefinition DefinitionAtLine(int) override { return {}; }
};

class NullSinks : public RunSinks {
public:
    bool ended = false;
    std::size_t traces = 0;
    std::string Trace(TraceCategory, int, int, std::string_view) override
    {
        ++traces;
        return {};
    }
    void AddError(std::string_view, RunRecord*) override {}
    void ClearErrors() override {}
    void UpdateVariable(const std::string&, const std::string&, int, RunRecord*) override {}
    void AddRun(RunRecord&) override {}
    void UpdateRun(RunRecord&, bool) override {}
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
    void EngineEnded(int) override { ended = true; }
};

struct Files {
    fs::path folder, script, interface;
    Files()
    {
        char pattern[] = "/tmp/zov-execution-bench-XXXXXX";
        folder = ::mkdtemp(pattern);
        script = folder / "trace100k.qzs";
        interface = folder / "source.qzi";
        std::ofstream(script) << "for i = 1 to 100000 do\n  trace(i)\nend\n";
        std::ofstream(interface) << ";bench\n";
    }
    ~Files() { fs::remove_all(folder); }
};

double EngineAlone(const Files& files)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, ZOV_BIN_DIR);
    const std::string program = std::string(ZOV_BIN_DIR) + "/zovrun";
    const std::string interface = files.interface.string();
    const std::string script = files.script.string();
    const char* argv[] = {program.c_str(), "interpret", "-dicofn", interface.c_str(), "-scriptfn", script.c_str(),
                          "-params",       "{}",        nullptr};
    const auto start = Clock::now();
    pid_t pid = -1;
    if (::posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char**>(argv), environ) == 0)
        ::waitpid(pid, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Ours {
    double seconds = 0;
    double startCall = 0;
    std::size_t maxQueue = 0;
    std::size_t traces = 0;
};

Ours ThroughTheDriver(const Files& files)
{
    NullHost host;
    host.settings.programFolder = ZOV_BIN_DIR;
    host.settings.tempFolder = files.folder.string();
    NullInterfaces interfaces;
    interfaces.source = files.interface;
    NullSinks sinks;
    zov::shell::RecordingPrompter prompter;
    CallQueue queue;
    EngineDriver driver(host, interfaces, sinks, prompter, zov::shell::IdentityTranslate(),
                        [&queue](std::function<void()> call) { queue.Post(std::move(call)); });
    Ours ours;
    const auto start = Clock::now();
    driver.RunScript(files.script.string(), {}, nullptr);
    ours.startCall = std::chrono::duration<double>(Clock::now() - start).count();
    queue.RunUntil(
        [&] {
            if (const EngineProcess* runner = driver.Runner())
                ours.maxQueue = std::max(ours.maxQueue, runner->QueuedBytes());
            return sinks.ended;
        },
        std::chrono::seconds(120));
    ours.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ours.traces = sinks.traces;
    return ours;
}

void BM_Trace100k(benchmark::State& state)
{
    const Files files;
    double peer = 0, mine = 0, startCall = 0;
    std::size_t maxQueue = 0, traces = 0;
    for (auto _ : state) {
        peer += EngineAlone(files);
        const Ours ours = ThroughTheDriver(files);
        mine += ours.seconds;
        startCall = startCall == 0 ? ours.startCall : std::min(startCall, ours.startCall);
        maxQueue = std::max(maxQueue, ours.maxQueue);
        traces = ours.traces;
        state.SetIterationTime(ours.seconds);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["zovrun_alone_s"] = peer / n;
    state.counters["runner_driver_dispatch_s"] = mine / n;
    state.counters["ratio"] = peer > 0 ? mine / peer : 0;
    state.counters["start_call_ms"] = startCall * 1000;
    state.counters["max_queue_bytes"] = static_cast<double>(maxQueue);
    state.counters["traces"] = static_cast<double>(traces);
}
BENCHMARK(BM_Trace100k)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
