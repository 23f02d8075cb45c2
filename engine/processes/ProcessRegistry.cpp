#include "engine/processes/ProcessRegistry.h"

#include "common/process/ProcessSpawn.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace zov {

namespace {

std::atomic<bool> Refused{false};

struct RunningPrograms {
    std::mutex lock;
    std::vector<pid_t> pids;
};

RunningPrograms& Running()
{
    static RunningPrograms running;
    return running;
}

struct Hooks {
    std::mutex lock;
    std::vector<StopHook> stopClis;
    std::vector<StopHook> killExecs;
};

Hooks& TheHooks()
{
    static Hooks hooks;
    return hooks;
}

// Hooks run outside the lock: a hook may take a while (a CLI gets time to end) and must not
// keep another thread from registering.
void RunHooks(std::vector<StopHook> Hooks::*which)
{
    std::vector<StopHook> copy;
    {
        std::lock_guard<std::mutex> hold(TheHooks().lock);
        copy = TheHooks().*which;
    }
    for (const StopHook& hook : copy) {
        if (hook)
            hook();
    }
}

void AddHook(std::vector<StopHook> Hooks::*which, StopHook hook)
{
    std::lock_guard<std::mutex> hold(TheHooks().lock);
    (TheHooks().*which).push_back(std::move(hook));
}

}  // namespace

void AddStopAllClisHook(StopHook hook)
{
    AddHook(&Hooks::stopClis, std::move(hook));
}

void StopAllClis()
{
    EndRunningPrograms();
    RunHooks(&Hooks::stopClis);
}

void AddKillAllExecsHook(StopHook hook)
{
    AddHook(&Hooks::killExecs, std::move(hook));
}

void KillAllExecs()
{
    RunHooks(&Hooks::killExecs);
}

void ClearProcessHooks()
{
    std::lock_guard<std::mutex> hold(TheHooks().lock);
    TheHooks().stopClis.clear();
    TheHooks().killExecs.clear();
}

void RefuseNewProcesses()
{
    Refused = true;
}

bool NewProcessesRefused()
{
    return Refused.load();
}

void AllowNewProcesses()
{
    Refused = false;
}

std::optional<SpawnedChild> SpawnRunningProgram(std::string_view commandLine)
{
    std::lock_guard<std::mutex> hold(Running().lock);
    // Checked under the lock that EndRunningPrograms takes: a program started here is either
    // seen by an end that comes later, or never started.
    if (Refused.load())
        return std::nullopt;
    std::optional<SpawnedChild> child = SpawnChild(commandLine, ChildStreams::OutputPipe);
    if (child)
        Running().pids.push_back(child->Pid);
    return child;
}

void ReleaseRunningProgram(pid_t pid)
{
    std::lock_guard<std::mutex> hold(Running().lock);
    std::vector<pid_t>& pids = Running().pids;
    pids.erase(std::remove(pids.begin(), pids.end(), pid), pids.end());
    KillAndReap(pid);
}

void EndRunningPrograms()
{
    std::lock_guard<std::mutex> hold(Running().lock);
    for (const pid_t pid : Running().pids)
        KillProcessGroup(pid);
}

}  // namespace zov
