#pragma once

// What a script does with its CLIs: start one from its interface line, send a command, read the
// reply with the run's time-out, echo it as "out:" lines, and stop them at the end of the run.

#include "engine/base/CliSettings.h"

#include <span>
#include <string>
#include <string_view>

namespace zov {

// Starts the CLI of an interface line and reads its start-up output up to the terminator.
// Returns its 1-based index, or 0 ("Erreur: Impossible d'executer le CLI ou le CLI est
// inexistant" on stderr; the slot stays).
int StartCLI(std::string_view commandLine, const CliSettings& settings);
// Names the newest CLI after the variable its start was assigned to ("out:[h] ..."), unless it
// has a name already.
void NameNewestCli(std::string name);
// Stops the CLI at 0-based `index` (exit command, then forced end) and empties its slot.
void StopCli(int index);
// Stops every CLI. Also registered with the engine's StopAllClis.
void StopAllCliProcesses();
// Seconds a CLI gets to end after its exit command when the engine is being ended from outside
// (a signal, `exit`, the IDE gone): the reply time-out may be minutes, and the engine must not
// wait that long to go. The ordinary end of a run keeps the whole reply time-out.
inline constexpr int kEndingStopGraceSec = 5;
// From now on every stop gives a CLI at most kEndingStopGraceSec seconds.
void ShortenCliStops();

// Sends `text` to the CLI at 1-based `index`; the exit command stops that CLI.
void SendCliCommand(int index, std::string_view text);
// The reply of the CLI at 1-based `index`, with the time-out of the call (CallTimeout when
// set, else CliTimeoutSec). Sets or clears TimedOut; writes the "out:" echo lines.
std::string ReadCliReply(int index);
// As ReadCliReply with an explicit time-out in seconds.
std::string ReadCliReply(int index, int timeoutSec);

// The command built-ins of CLI functions: fill the template, send it, read the reply and
// convert it (void, text, bool, int, double). An empty `args` sends the template as it is.
void CmdFunction0(std::string_view commandTemplate, int index, std::span<const std::string> args);
std::string CmdFunction1(std::string_view commandTemplate, int index, std::span<const std::string> args);
bool CmdFunction2(std::string_view commandTemplate, int index, std::span<const std::string> args);
int CmdFunction3(std::string_view commandTemplate, int index, std::span<const std::string> args);
double CmdFunction4(std::string_view commandTemplate, int index, std::span<const std::string> args);
void CmdFunction0_0(std::string_view commandTemplate, int index);
std::string CmdFunction1_0(std::string_view commandTemplate, int index);
bool CmdFunction2_0(std::string_view commandTemplate, int index);
int CmdFunction3_0(std::string_view commandTemplate, int index);
double CmdFunction4_0(std::string_view commandTemplate, int index);

// The leading floating value of a reply, as atof reads it.
double ReplyToDouble(std::string_view reply);

}  // namespace zov
