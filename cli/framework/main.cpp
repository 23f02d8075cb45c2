#include "main.h"

#include "strfunc.h"

#include "common/process/SignalThread.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

CMainCmd* g_pCmd = nullptr;

// Terminating signals are taken by a watcher thread with sigwait and handed to the main thread
// through a pipe, so that no handler runs inside an interrupted call.
int g_aiSignalPipe[2] = {-1, -1};
std::atomic<int> g_iSignal{0};
// A command that does not return (an operator dialog) must not keep a signalled tool alive.
constexpr int SignalGraceMs = 3000;

// The first ending signal is handed to the main thread through the pipe; the tool then has a grace
// period to stop as its handler says before it is ended here.
void OnEndingSignal(int signal)
{
    g_iSignal.store(signal);
    const char byte = 1;
    while (write(g_aiSignalPipe[1], &byte, 1) < 0 && errno == EINTR) {
    }
    poll(nullptr, 0, SignalGraceMs);
    _exit(signal);
}

void StartSignalWatcher()
{
    if (pipe2(g_aiSignalPipe, O_CLOEXEC) != 0)
        g_aiSignalPipe[0] = g_aiSignalPipe[1] = -1;
    zov::StartSignalThread(OnEndingSignal);
}

// Input is read in blocks; only this reader consumes standard input.
struct TInput {
    unsigned char aBuffer[4096];
    size_t uPos = 0;
    size_t uLength = 0;
    bool bEnd = false;
};
TInput g_tInput;

// Returns the next byte, or XSHELL_END_OF_INPUT / XSHELL_SIGNAL.
int NextByte()
{
    if (g_tInput.uPos < g_tInput.uLength)
        return g_tInput.aBuffer[g_tInput.uPos++];
    if (g_tInput.bEnd)
        return XSHELL_END_OF_INPUT;
    for (;;) {
        if (g_iSignal.load() != 0)
            return XSHELL_SIGNAL;
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {g_aiSignalPipe[0], POLLIN, 0}};
        const int ready = poll(fds, g_aiSignalPipe[0] >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            g_tInput.bEnd = true;
            return XSHELL_END_OF_INPUT;
        }
        if (g_iSignal.load() != 0 || (fds[1].revents & POLLIN) != 0)
            return XSHELL_SIGNAL;
        if (fds[0].revents == 0)
            continue;
        const ssize_t got = read(STDIN_FILENO, g_tInput.aBuffer, sizeof g_tInput.aBuffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0) {
            g_tInput.bEnd = true;
            return XSHELL_END_OF_INPUT;
        }
        g_tInput.uPos = 1;
        g_tInput.uLength = static_cast<size_t>(got);
        return g_tInput.aBuffer[0];
    }
}

[[noreturn]] void Finish(int code)
{
    if (g_pCmd != nullptr)
        g_pCmd->Clean();
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(code);
}

}  // namespace

extern "C" int xshell(char* buffer, int size)
{
    if (buffer == nullptr || size < 2)
        return 0;
    int stored = 0;
    bool refused = false;
    for (;;) {
        const int next = NextByte();
        if (next == XSHELL_SIGNAL)
            return XSHELL_SIGNAL;
        if (next == XSHELL_END_OF_INPUT) {
            if (stored == 0)
                return XSHELL_END_OF_INPUT;
            break;  // a last line without its line end is still a line
        }
        auto byte = static_cast<unsigned char>(next);
        if (g_tToolInfo.pInputMap != nullptr)
            byte = g_tToolInfo.pInputMap[byte];
        if (byte == '\r' || byte == '\n') {
            if (stored == 0)
                buffer[stored++] = '\n';
            break;
        }
        if (byte == '\b') {
            if (stored > 0) {
                --stored;
                // Echo only to a person at a terminal: a driver's pipe gets answers only.
                if (StdoutIsTerminal()) {
                    std::fputs("\b ", stdout);
                    std::fflush(stdout);
                }
            }
            continue;
        }
        if (byte == '\0' || stored >= size - 1)
            refused = true;
        else
            buffer[stored++] = static_cast<char>(byte);
    }
    buffer[stored] = '\0';
    return refused ? XSHELL_LINE_REFUSED : 1;
}

void handler(int value)
{
    Finish(value);
}

int main(int argc, char** argv)
{
    StartSignalWatcher();

    // Replies are gathered per line and leave in one write each (CMainCmd::EndLine); an unbuffered
    // stream would write every fragment separately.
    static char stdoutBuffer[1 << 16];
    static char stderrBuffer[1 << 14];
    std::setvbuf(stdout, stdoutBuffer, _IOFBF, sizeof stdoutBuffer);
    std::setvbuf(stderr, stderrBuffer, _IOFBF, sizeof stderrBuffer);

    if (g_tToolInfo.pInit != nullptr && !g_tToolInfo.pInit(argc, argv)) {
        std::fflush(stderr);
        return 1;
    }

    auto* line = new char[MAX_CMDSIZE];

    ClearScreen();
    std::printf("%s %s\n", g_tToolInfo.pName, VERSION_NO);
    std::printf("%s\n", g_tToolInfo.pMaker);
    CMainCmd::EndLine();

    g_pCmd = g_tToolInfo.pCreate();
    if (g_pCmd == nullptr)
        return 1;

    if (argc > 1) {
        // Arguments joined with a blank after each; pieces separated by '|' are lines of their own.
        size_t used = 0;
        bool cut = false;
        for (int i = 1; i < argc; ++i) {
            const char* p = argv[i];
            for (; *p != '\0' && used < MAX_CMDSIZE - 2; ++p)
                line[used++] = *p;
            cut = cut || *p != '\0';
            if (used < MAX_CMDSIZE - 1)
                line[used++] = ' ';
        }
        line[used] = '\0';
        std::fputs("\n", stdout);
        // Arguments that do not fit are refused whole: the pieces behind the cut would be lost.
        char** pieces = nullptr;
        if (cut)
            CMainCmd::RefuseLine();
        else
            pieces = split(line, '|');
        for (int i = 0; pieces != nullptr && i < MAX_SPLIT_WORD && pieces[i] != nullptr; ++i) {
            g_pCmd->TraiteCmd(pieces[i]);
            if (g_tToolInfo.bEndAfterInterface && std::strcmp(pieces[i], "interface") == 0) {
                std::free(pieces);
                delete g_pCmd;
                g_pCmd = nullptr;
                delete[] line;
                Finish(1);
            }
        }
        std::free(pieces);
    }

    for (;;) {
        const int got = xshell(line, MAX_CMDSIZE);
        if (got == 1) {
            g_pCmd->TraiteCmd(line);
        } else if (got == XSHELL_LINE_REFUSED) {
            CMainCmd::RefuseLine();
        } else if (got == XSHELL_SIGNAL) {
            handler(g_iSignal.load());
        } else {
            // The driver is gone: release what the tool holds and end normally.
            g_pCmd->Clean();
            delete g_pCmd;
            g_pCmd = nullptr;
            delete[] line;
            Finish(0);
        }
    }
}
