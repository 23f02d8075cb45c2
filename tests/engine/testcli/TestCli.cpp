// A small CLI that follows the line protocol, for the engine's process tests and benchmark.
// Every line read gets one answer ended by the terminator (on stderr, or on stdout with
// --sync 0); options make it misbehave in the ways the engine must survive.
//
//   --sync 0|1          stream of the terminator (default 1: stderr)
//   --term TEXT         terminator (default ">>")
//   --no-banner         no start-up output (and no start-up terminator)
//   --silent-empty      empty lines get no answer at all
//   --delay-empty MS    the answer to an empty line comes MS milliseconds late
//   --ignore-exit       the exit command is ignored
//   --record FILE       every byte read is appended to FILE
//
// Commands: echo TEXT (TEXT on stdout), err TEXT (TEXT on stderr), crlf ("a\r\nb" on stdout),
// flood N (N bytes on stdout), both N (N bytes on each stream, interleaved), crash (part of a
// reply, then killed), part TEXT (TEXT on the terminator's stream, no terminator),
// spew (writes on stdout without end), deaf (reads nothing more, never answers), hang (no answer), delay MS TEXT, notifyline ... ("1" on stdout),
// helper (starts a child in its process group that lives 100 s, its pid on stdout), exit.
// Anything else: "?" on stdout. Unknown switches are ignored (a test may tag its CLIs).
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

int SyncFd = 2;
std::string Terminator = ">>";
int RecordFd = -1;

void Put(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            std::_Exit(3);
        done += static_cast<std::size_t>(n);
    }
}

void Answer()
{
    Put(SyncFd, Terminator);
}

void Pause(long ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string Rest(const std::string& line)
{
    const std::size_t blank = line.find(' ');
    return blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

void Flood(int fd, long count, char fill)
{
    const std::string block(65536, fill);
    while (count > 0) {
        const long n = count < 65536 ? count : 65536;
        Put(fd, block.substr(0, static_cast<std::size_t>(n)));
        count -= n;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bool banner = true;
    bool silentEmpty = false;
    bool ignoreExit = false;
    long delayEmpty = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--sync") {
            SyncFd = std::atoi(next) == 0 ? 1 : 2;
            ++i;
        } else if (arg == "--term") {
            Terminator = next;
            ++i;
        } else if (arg == "--no-banner") {
            banner = false;
        } else if (arg == "--silent-empty") {
            silentEmpty = true;
        } else if (arg == "--delay-empty") {
            delayEmpty = std::atol(next);
            ++i;
        } else if (arg == "--ignore-exit") {
            ignoreExit = true;
        } else if (arg == "--record") {
            RecordFd = ::open(next, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
            ++i;
        }
    }
    if (ignoreExit)
        std::signal(SIGTERM, SIG_IGN);
    if (banner) {
        Put(1, "TestCli 1.0\nfor the engine tests\n");
        Answer();
    }
    std::string line;
    char byte = 0;
    while (true) {
        const ssize_t got = ::read(0, &byte, 1);
        if (got <= 0) {
            if (ignoreExit) {
                Pause(100000);
                continue;
            }
            return 0;
        }
        if (RecordFd >= 0) [[maybe_unused]]
            const ssize_t w = ::write(RecordFd, &byte, 1);
        if (byte != '\r' && byte != '\n') {
            line += byte;
            continue;
        }
        const std::string command = line.substr(0, line.find(' '));
        const std::string rest = Rest(line);
        line.clear();
        if (command.empty()) {
            if (silentEmpty)
                continue;
            if (delayEmpty > 0)
                Pause(delayEmpty);
            Answer();
        } else if (command == "exit") {
            if (!ignoreExit)
                return 0;
            Answer();
        } else if (command == "echo") {
            Put(1, rest + "\n");
            Answer();
        } else if (command == "err") {
            Put(2, rest);
            Answer();
        } else if (command == "crlf") {
            Put(1, "a\r\nb");
            Answer();
        } else if (command == "flood") {
            Flood(1, std::atol(rest.c_str()), 'x');
            Answer();
        } else if (command == "both") {
            long count = std::atol(rest.c_str());
            while (count > 0) {
                const long n = count < 4096 ? count : 4096;
                Flood(1, n, 'o');
                Flood(2, n, 'e');
                count -= n;
            }
            Answer();
        } else if (command == "crash") {
            Put(1, "partial");
            Put(SyncFd == 2 ? 2 : 1, "half");
            ::kill(::getpid(), SIGKILL);
        } else if (command == "part") {
            Put(SyncFd, rest);
        } else if (command == "spew") {
            while (true)
                Flood(1, 65536, 'y');
        } else if (command == "deaf") {
            // Stops reading: whatever the engine writes next fills the pipe.
            while (true)
                Pause(100000);
        } else if (command == "hang") {
            continue;
        } else if (command == "delay") {
            Pause(std::atol(rest.c_str()));
            Put(1, Rest(rest) + "\n");
            Answer();
        } else if (command == "helper") {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(0);
                ::close(1);
                ::close(2);
                Pause(100000);
                std::_Exit(0);
            }
            Put(1, std::to_string(child) + "\n");
            Answer();
        } else if (command == "notifyline") {
            Put(1, "1\n");
            Answer();
        } else {
            Put(1, "?\n");
            Answer();
        }
    }
}
