//------------------------------------------------------------------------------
// File    : main.cpp
// Author  :
// Date    :
// Purpose : start-up, the line reader and the main loop
//------------------------------------------------------------------------------
#include "main.h"

#include "MainCmd.h"
#include "NewCmd.h"
#include "strfunc.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

CMainCmd* g_pCmd = nullptr;

// SIGINT, SIGTERM and SIGHUP are taken by a watcher thread with sigwait and handed to the main thread
// through a pipe, so that no handler runs inside an interrupted call.
int g_aiSignalPipe[2] = {-1, -1};
std::atomic<int> g_iSignal(0);
// A command that does not return must not keep a signalled program alive.
const int SignalGraceMs = 3000;

void StartSignalWatcher()
{
    if (pipe(g_aiSignalPipe) != 0) {
        g_aiSignalPipe[0] = g_aiSignalPipe[1] = -1;
    } else {
        fcntl(g_aiSignalPipe[0], F_SETFD, FD_CLOEXEC);
        fcntl(g_aiSignalPipe[1], F_SETFD, FD_CLOEXEC);
    }
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    signal(SIGPIPE, SIG_IGN);
    std::thread([set] {
        int value = 0;
        while (sigwait(&set, &value) != 0) {
        }
        g_iSignal.store(value);
        const char byte = 1;
        while (write(g_aiSignalPipe[1], &byte, 1) < 0 && errno == EINTR) {
        }
        poll(nullptr, 0, SignalGraceMs);
        _exit(value);
    }).detach();
}

// Input is read in blocks; only this reader consumes standard input.
unsigned char g_aucInput[4096];
size_t g_uInputPos = 0;
size_t g_uInputLength = 0;
bool g_bInputEnd = false;

// Returns the next byte, or XSHELL_END_OF_INPUT / XSHELL_SIGNAL.
int NextByte()
{
    if (g_uInputPos < g_uInputLength)
        return g_aucInput[g_uInputPos++];
    if (g_bInputEnd)
        return XSHELL_END_OF_INPUT;
    for (;;) {
        if (g_iSignal.load() != 0)
            return XSHELL_SIGNAL;
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {g_aiSignalPipe[0], POLLIN, 0}};
        const int ready = poll(fds, g_aiSignalPipe[0] >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            g_bInputEnd = true;
            return XSHELL_END_OF_INPUT;
        }
        if (g_iSignal.load() != 0 || (fds[1].revents & POLLIN) != 0)
            return XSHELL_SIGNAL;
        if (fds[0].revents == 0)
            continue;
        const ssize_t got = read(STDIN_FILENO, g_aucInput, sizeof g_aucInput);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0) {
            g_bInputEnd = true;
            return XSHELL_END_OF_INPUT;
        }
        g_uInputPos = 1;
        g_uInputLength = static_cast<size_t>(got);
        return g_aucInput[0];
    }
}

void Finish(int code)
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
        const unsigned char byte = static_cast<unsigned char>(next);
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

    // Replies are gathered per line and leave in one write each (CMainCmd::EndLine).
    static char stdoutBuffer[1 << 16];
    static char stderrBuffer[1 << 14];
    std::setvbuf(stdout, stdoutBuffer, _IOFBF, sizeof stdoutBuffer);
    std::setvbuf(stderr, stderrBuffer, _IOFBF, sizeof stderrBuffer);

    char* line = new char[MAX_CMDSIZE];

    ClearScreen();
    std::printf("%s %s\n", "Demo", VERSION_NO);
    std::fputs("Copyright ACME Test\n", stdout);
    std::fflush(stdout);
    // The first marker goes to standard error whatever stream the commands use.
    std::fputs(SYNCHRO, stderr);
    std::fflush(stderr);

    g_pCmd = new CNewCmd();

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
        for (int i = 0; pieces != nullptr && i < MAX_SPLIT_WORD && pieces[i] != nullptr; ++i)
            g_pCmd->TraiteCmd(pieces[i]);
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
            // The driver is gone: release what the program holds and end normally.
            delete[] line;
            Finish(0);
        }
    }
}
