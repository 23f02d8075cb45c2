#pragma once

// The engine ends its children before it ends: every CLI, and on `exit` every program started
// by the script's `exec`. The units that own those processes register how to stop them here,
// so the console does not depend on them.

#include <functional>

namespace zov {

using StopHook = std::function<void()>;

// Adds a hook run by StopAllClis (hooks run in the order they were added).
void AddStopAllClisHook(StopHook hook);
// Stops every CLI; safe to call from any thread, any number of times.
void StopAllClis();

// Adds a hook run by KillAllExecs.
void AddKillAllExecsHook(StopHook hook);
// Ends every process started by `exec`.
void KillAllExecs();

// Removes every hook (tests).
void ClearProcessHooks();

}  // namespace zov
