#include "Console.h"

#include "EngineState.h"
#include "Output.h"
#include "ProcessRegistry.h"
#include "StringHelpers.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace zov {

namespace {

// The signals that end the engine. They are blocked in every thread and taken by one
// waiting thread, so that ending the process never runs inside a signal handler. SIGSEGV,
// SIGILL, SIGFPE and SIGABRT keep their default action: a fault must not be survived.
sigset_t EndingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

void SignalThread(sigset_t set)
{
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) == 0)
            Engine().RequestQuit(signal);
    }
}

bool StartsWith(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
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
    // End of input: the engine keeps running (a script may still be going) until the run
    // ends or a signal comes; this thread has nothing more to do.
}

void OnSignal(int status)
{
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

    // Blocked before any thread starts, so every thread inherits the mask.
    const sigset_t ending = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    std::thread(SignalThread, ending).detach();

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

    OnSignal(engine.WaitForQuit());
}

}  // namespace zov
