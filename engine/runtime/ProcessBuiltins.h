#pragma once

// The script's built-ins that manage other programs: `exec` starts one in the background,
// `kill` and `killall` end them, `run` runs one and returns what it wrote.

#include <optional>
#include <string>
#include <string_view>

namespace zov {

// The largest output `run` keeps: chunks are appended only while the total stays below it.
inline constexpr std::size_t kRunOutputLimit = 100000;

// `exec`: starts the program of `commandLine` with /dev/null as its standard streams and adds
// it to ExecTable. Returns its 1-based position, or 0 when it could not start (the entry stays).
int BuiltinExec(std::string_view commandLine);

// `kill`: ends the program at 1-based `index` of ExecTable and removes it, so that later
// programs move down one place; "Erreur: Impossible de terminer le processus ou processus
// inexistant" on stderr for an unknown index.
void BuiltinKill(int index);

// `killall`: ends every program of ExecTable and empties it. Also registered with the engine's
// KillAllExecs.
void BuiltinKillAll();

// `run`: runs `program` (stdin and stderr /dev/null) and returns what it writes on its standard
// output, up to kRunOutputLimit bytes, until it ends or `timeLimitSec` seconds have passed
// (below 1: no limit). The program is then killed and reaped. Nothing for a missing program
// text or when the program cannot be started.
std::optional<std::string> BuiltinRun(std::optional<std::string_view> program, int timeLimitSec);

}  // namespace zov
