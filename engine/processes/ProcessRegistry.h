#pragma once

// The engine ends its children before it ends: every CLI, and on `exit` every program started
// by the script's `exec`. The units that own those processes register how to stop them here,
// so the console does not depend on them.

#include "common/process/ProcessSpawn.h"

#include <functional>
#include <optional>
#include <string_view>
#include <sys/types.h>

namespace zov {

using StopHook = std::function<void()>;

// Adds a hook run by StopAllClis (hooks run in the order they were added).
void AddStopAllClisHook(StopHook hook);
// Stops every CLI and ends every program `run` waits for; safe to call from any thread, any
// number of times.
void StopAllClis();

// Adds a hook run by KillAllExecs.
void AddKillAllExecsHook(StopHook hook);
// Ends every process started by `exec`.
void KillAllExecs();

// Removes every hook (tests).
void ClearProcessHooks();

// Once the engine is ending (exit, a signal, its console gone), no CLI or program starts any
// more: a start racing with the end must not leave a process that nobody stops.
void RefuseNewProcesses();
bool NewProcessesRefused();
// Lets processes start again (tests, which end many runs in one process).
void AllowNewProcesses();

// The programs that `run` waits for, so that the end of the engine ends them (their process
// groups) too. Release ends and reaps it, so that its pid is never signalled once the system may
// have reused it.
// The start and the registration happen under one lock with the end, so the engine cannot end
// between them; nothing when the engine is ending or the program cannot start.
std::optional<SpawnedChild> SpawnRunningProgram(std::string_view commandLine);
void ReleaseRunningProgram(pid_t pid);
// Ends every registered program's process group; each stays registered until released.
void EndRunningPrograms();

}  // namespace zov
