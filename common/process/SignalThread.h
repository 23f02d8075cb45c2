#pragma once
// The signals that end a program (SIGINT, SIGTERM, SIGHUP) are blocked in every thread and taken
// by one waiting thread, so that ending never runs inside a signal handler. SIGSEGV, SIGILL,
// SIGFPE and SIGABRT keep their default action: a fault must not be survived.

#include <signal.h>

#include <functional>

namespace zov {

sigset_t EndingSignals();

// Blocks the ending signals in the calling thread, so call it before any other thread starts
// (they inherit the mask); ignores SIGPIPE; then starts a detached thread that calls `onSignal`
// with each ending signal as it arrives. Children started later get the default mask back
// (SpawnChild resets it).
void StartSignalThread(std::function<void(int signal)> onSignal);

}  // namespace zov
