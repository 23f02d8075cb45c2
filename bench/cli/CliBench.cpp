// One CLI function called many times: through the engine's CLI layer, or through a minimal
// driver over raw pipes (the floor). Both send the same bytes ("notifyline -val 0", then the
// empty line that follows every command with parameters) to the same test CLI and wait for the
// same terminator.
//
//   zovclibench engine|raw <cli program> [calls]
// prints: "<mode> <calls> calls <total ms> ms <per call us> us/call"
#include "engine/runtime/CliCalls.h"
#include "engine/runtime/EngineState.h"
#include "common/process/ProcessSpawn.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using zov::Clock;

int RunEngine(const std::string& cli, int calls)
{
    zov::CliSettings settings;
    settings.Terminator = ">>";
    settings.SyncMode = 1;
    settings.ExitCommand = "exit";
    const int index = zov::StartCLI(cli, settings);
    if (index == 0)
        return 1;
    const std::vector<std::string> args{"0"};
    int failures = 0;
    for (int i = 0; i < calls; ++i)
        if (zov::CmdFunction3("notifyline -val %s", index, args) != 1)
            ++failures;
    zov::StopAllCliProcesses();
    return failures;
}

// The floor: write the command, poll both pipes, stop at the terminators.
int RunRaw(const std::string& cli, int calls)
{
    auto child = zov::SpawnChild(cli, zov::ChildStreams::CliPipes);
    if (!child)
        return 1;
    const int out = child->Stdout.Get();
    const int err = child->Stderr.Get();
    std::string stdoutText;
    std::string stderrText;
    char buffer[4096];
    auto waitFor = [&](std::size_t markers) {
        while (true) {
            std::size_t found = 0;
            for (std::size_t at = stderrText.find(">>"); at != std::string::npos; at = stderrText.find(">>", at + 2))
                ++found;
            if (found >= markers)
                return;
            pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
            ::poll(fds, 2, 5000);
            for (int k = 0; k < 2; ++k) {
                const ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
                if (n > 0)
                    (k == 0 ? stdoutText : stderrText).append(buffer, static_cast<std::size_t>(n));
            }
        }
    };
    waitFor(1);  // start-up
    const std::string command = "notifyline -val 0\n\n";
    int failures = 0;
    for (int i = 0; i < calls; ++i) {
        stdoutText.clear();
        stderrText.clear();
        if (::write(child->Stdin.Get(), command.data(), command.size()) != static_cast<ssize_t>(command.size()))
            return 1;
        waitFor(2);  // the command's terminator and the empty line's
        if (stdoutText != "1\n")
            ++failures;
    }
    const std::string exitLine = "exit\n";
    [[maybe_unused]] const ssize_t w = ::write(child->Stdin.Get(), exitLine.data(), exitLine.size());
    ::waitpid(child->Pid, nullptr, 0);
    return failures;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: zovclibench engine|raw <cli program> [calls]\n");
        return 2;
    }
    const std::string mode = argv[1];
    const std::string cli = argv[2];
    const int calls = argc > 3 ? std::atoi(argv[3]) : 10000;
    const auto start = Clock::now();
    const int failures = mode == "raw" ? RunRaw(cli, calls) : RunEngine(cli, calls);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%s %d calls %.1f ms %.2f us/call%s\n", mode.c_str(), calls, ms, ms * 1000.0 / calls,
                failures ? " (FAILURES)" : "");
    return failures ? 1 : 0;
}
