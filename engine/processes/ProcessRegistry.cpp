#include "engine/processes/ProcessRegistry.h"

#include <mutex>
#include <vector>

namespace zov {

namespace {

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

}  // namespace zov
