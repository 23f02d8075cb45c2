// zovprobe run / dispatch: one engine run, or one recorded engine output, through the run
// driver and the line dispatch with recording panes; every event is printed as it happens.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "ide/execution/model/CallQueue.h"
#include "ide/execution/model/EngineDriver.h"
#include "ide/execution/model/RecordingSeams.h"
#include "tests/probe/ProbeCommands.h"

namespace zov::probe {
namespace {

using namespace zov::execution;
namespace fs = std::filesystem;

void Print(const std::string& event)
{
    std::fputs(event.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Kind and text of a line of the temporary interface file, read from its first word (a stand-in
// for the interface set's own reading).
class FileInterfaces : public RecordingInterfaces {
public:
    std::string tempPath;
    InterfaceDefinition DefinitionAtLine(int line) override
    {
        std::ifstream in(tempPath);
        std::string text;
        for (int i = 1; std::getline(in, text); ++i) {
            if (i != line)
                continue;
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            int kind = 0;
            if (text.rfind("CLI", 0) == 0)
                kind = 1;
            else if (text.rfind("$", 0) == 0)
                kind = 2;
            else if (text.rfind("#", 0) == 0)
                kind = 3;
            else if (text.rfind("MACRO", 0) == 0)
                kind = 4;
            return {kind, text};
        }
        return {};
    }
};

fs::path ProgramFolder()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::current_path() : self.parent_path();
}

void PrintEnd(const EngineDriver& driver, const RunRecord* record)
{
    if (record)
        Print(DescribeRecord(*record));
    if (!driver.PendingText().empty())
        Print("pending " + EscapeLineBreaks(driver.PendingText()));
}

int RunCommand(std::span<char* const> args)
{
    std::string engineDir, params, recordName, onPause = "continue";
    bool verify = false;
    std::vector<int> breakpoints;
    std::vector<std::string> watched, positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--engine" && hasValue)
            engineDir = args[++i];
        else if (a == "--params" && hasValue)
            params = args[++i];
        else if (a == "--verify")
            verify = true;
        else if (a == "--bkp" && hasValue)
            breakpoints.push_back(std::atoi(args[++i]));
        else if (a == "--watch" && hasValue)
            watched.emplace_back(args[++i]);
        else if (a == "--on-pause" && hasValue)
            onPause = args[++i];
        else if (a == "--record" && hasValue)
            recordName = args[++i];
        else
            positional.push_back(a);
    }
    if (positional.size() != 2 || (onPause != "continue" && onPause != "next" && onPause != "exit")) {
        std::fputs("usage: zovprobe run [options] SCRIPT QZI\n", stderr);
        return 2;
    }
    const fs::path script = fs::absolute(positional[0]);
    const fs::path qzi = fs::absolute(positional[1]);
    char pattern[] = "/tmp/zovprobe-run-XXXXXX";
    if (!::mkdtemp(pattern)) {
        std::perror("zovprobe: temporary folder");
        return 1;
    }
    const fs::path temp = pattern;

    EventLog log;
    log.echo = Print;
    RecordingHost host(log);
    host.settings.programFolder = ProgramFolder().string();
    host.settings.enginePath = engineDir.empty() ? "" : fs::absolute(engineDir).string();
    host.settings.tempFolder = temp.string();
    host.watched = watched;
    FileInterfaces interfaces;
    interfaces.source = qzi.string();
    interfaces.tempPath = (temp / "Temp.qzi").string();
    RecordingSinks sinks(log);
    LoggingPrompter prompter(log);
    CallQueue queue;
    EngineDriver driver(host, interfaces, sinks, prompter, shell::IdentityTranslate(),
                        [&queue](std::function<void()> call) { queue.Post(std::move(call)); });
    driver.SetSendObserver(LogSends(log));

    RunRecord record;
    record.testName = recordName;
    record.parameters = params;
    RunRecord* r = recordName.empty() && params.empty() ? nullptr : &record;

    bool ended = false;
    bool wasPaused = false;
    if (verify)
        driver.VerifyScript(script.string(), breakpoints, r);
    else
        driver.RunScript(script.string(), breakpoints, r);
    const bool finished = queue.RunUntil(
        [&] {
            ended = !log.Matching("ended").empty();
            if (!ended && driver.IsPaused() && !wasPaused) {
                wasPaused = true;
                // The answers to the pause's questions come first.
                queue.Post([&] {
                    wasPaused = false;
                    if (!driver.IsPaused())
                        return;
                    if (onPause == "continue")
                        driver.RunScript(script.string(), breakpoints, r);
                    else if (onPause == "next")
                        driver.NextLine();
                    else
                        driver.StopScript();
                });
            }
            return ended;
        },
        std::chrono::seconds(120));
    if (!finished) {
        std::fputs("zovprobe: the engine did not end within 120 s\n", stderr);
        driver.StopScript();
        queue.RunUntil([&] { return !log.Matching("ended").empty(); }, std::chrono::seconds(5));
    }
    PrintEnd(driver, r);
    fs::remove_all(temp);
    return finished ? 0 : 1;
}

int DispatchCommand(std::span<char* const> args)
{
    std::string recordName, qzi;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string a = args[i];
        if (a == "--record" && i + 1 < args.size())
            recordName = args[++i];
        else if (a == "--qzi" && i + 1 < args.size())
            qzi = args[++i];
        else
            positional.push_back(a);
    }
    if (positional.size() != 1) {
        std::fputs("usage: zovprobe dispatch TRANSCRIPT [--record NAME] [--qzi TEMP]\n", stderr);
        return 2;
    }
    std::ifstream in(positional[0], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zovprobe: cannot read %s\n", positional[0].c_str());
        return 1;
    }
    std::stringstream bytes;
    bytes << in.rdbuf();

    EventLog log;
    log.echo = Print;
    RecordingHost host(log);
    FileInterfaces interfaces;
    interfaces.tempPath = qzi;
    RecordingSinks sinks(log);
    LoggingPrompter prompter(log);
    EngineDriver driver(host, interfaces, sinks, prompter, shell::IdentityTranslate(), [](std::function<void()>) {});
    driver.SetSendObserver(LogSends(log));
    RecordingLink link;
    RunRecord record;
    record.testName = recordName;
    RunRecord* r = recordName.empty() ? nullptr : &record;
    if (r)
        record.resultCode = kResultRunning;
    driver.AttachTranscript(r, link, false);
    driver.FeedTranscript(bytes.str());
    PrintEnd(driver, r);
    return 0;
}

CommandRegistration runRegistration{
    "run",
    "[--engine DIR] [--params P] [--verify] [--bkp N]... [--watch NAME]... [--on-pause continue|next|exit] "
    "[--record NAME] SCRIPT QZI",
    RunCommand};
CommandRegistration dispatchRegistration{"dispatch", "TRANSCRIPT [--record NAME] [--qzi TEMP]", DispatchCommand};

}  // namespace
}  // namespace zov::probe
