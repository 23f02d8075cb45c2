#include "engine/console/Console.h"

#include "engine/runtime/CliCalls.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "common/process/SignalThread.h"
#include "engine/base/StringHelpers.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace zov {

namespace {

bool StartsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// Blocks until nobody reads standard output any more (the pipe's reader is gone, the terminal
// hung up). Returns false when there is no such reader to watch (standard output closed, or a
// file, which never reports either).
bool WaitUntilOutputIsUnread()
{
    for (;;) {
        pollfd out{STDOUT_FILENO, 0, 0};
        const int rc = ::poll(&out, 1, -1);
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc < 0 || (out.revents & POLLNVAL))
            return false;
        if (out.revents & (POLLERR | POLLHUP))
            return true;
    }
}

// Standard input has ended: no command can come any more. An engine with no run ends now, or it
// would wait for ever with nobody to send it anything. A run goes on while its output is read
// (commands fed by a pipe that closes after `interpret`), but a stop can no longer be resumed;
// once the output has no reader either (the IDE is gone), the run ends with its processes.
void ConsoleInputEnded()
{
    EngineState& engine = Engine();
    if (engine.QuitRequested())
        return;
    if (!engine.InterpretStarted.load()) {
        engine.RequestQuit(1);
        return;
    }
    Debugger().ConsoleEnded();
    if (!WaitUntilOutputIsUnread())
        return;
    ShortenCliStops();
    KillAllExecs();
    engine.RequestQuit(1);
}

}  // namespace

namespace {

// Nobody reads the engine's output any more (the IDE is gone) while its input stays open (a
// process that inherited it, say): the engine ends as when both are gone, with its processes.
void OutputWatchThread()
{
    if (!WaitUntilOutputIsUnread())
        return;
    RefuseNewProcesses();
    ShortenCliStops();
    KillAllExecs();
    Engine().RequestQuit(1);
}

}  // namespace

void CommandThread()
{
    EngineState& engine = Engine();
    ConsoleReader reader(STDIN_FILENO, isatty(STDIN_FILENO) == 1);
    std::string line;
    while (!engine.QuitRequested()) {
        if (!reader.ReadLine(line))
            break;
        if (line.size() <= 1)
            continue;
        if (engine.QuitRequested())
            break;
        if (engine.Verbose)
            WriteOut(lines::CommandEcho, line.c_str());
        DispatchCommand(line);
    }
    ConsoleInputEnded();
}

void OnSignal(int status)
{
    // The script goes no further while its CLIs are stopped: it would otherwise run on (its CLI
    // reply interrupted) and could even start a CLI that nobody stops. What it writes while it
    // unwinds is not shown: the process ends here.
    KeepOutputToThisThread();
    RefuseNewProcesses();
    Debugger().SetAbort(true);
    // The programs of `exec` end with the engine however it ends, not only at `exit`.
    KillAllExecs();
    StopAllClis();
    // No static destructors: the interpret thread may still be using engine objects.
    std::_Exit(status);
}

int EngineMain(int argc, char** argv)
{
    EngineState& engine = Engine();
    engine.Reset();

    for (int i = 1; i < argc; ++i) {
        if (StartsWith(argv[i], "-v")) {
            engine.Verbose = true;
        } else if (StartsWith(argv[i], "-c")) {
            engine.CliTrace = true;
        } else if (StartsWith(argv[i], "-help")) {
            PrintUsage();
            return 0;
        }
    }
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    if (engine.Verbose) {
        WriteText(Stream::Out, FormatLine(lines::VerboseBanner, lines::VersionText) + lines::MakerLine);
    }

    // Before any thread starts, so every thread inherits the blocked signals.
    StartSignalThread([](int signal) {
        RefuseNewProcesses();
        ShortenCliStops();
        Engine().RequestQuit(signal);
    });

    if (argc > 1) {
        std::string joined;
        for (int i = 1; i < argc && joined.size() < kCommandBufferSize - 1; ++i) {
            joined += argv[i];
            joined += ' ';
        }
        if (joined.size() > kCommandBufferSize - 1)
            joined.resize(kCommandBufferSize - 1);
        // A flag stays in its piece: "-v interpret ..." has the word -v and runs nothing.
        for (const std::string_view piece : SplitString(joined, '|'))
            DispatchCommand(piece);
    }

    std::thread(CommandThread).detach();
    std::thread(OutputWatchThread).detach();

    OnSignal(engine.WaitForQuit());
}

}  // namespace zov
