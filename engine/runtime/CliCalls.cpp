#include "engine/runtime/CliCalls.h"

#include "common/NumberText.h"
#include "engine/processes/CliProcess.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"

#include <climits>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace zov {

// ---------------------------------------------------------------------------------------------
// The script-facing operations

namespace {

constexpr std::size_t kMaxSettingText = 255;

int CallReplyTimeout()
{
    const int call = Engine().CallTimeout.load();
    return call != -1 ? call : Engine().CliTimeoutSec.load();
}

void RegisterStopHook()
{
    static std::once_flag once;
    std::call_once(once, [] { AddStopAllClisHook(&StopAllCliProcesses); });
}

// The echo line of a call that timed out shows at most this much of what came: a CLI that floods
// its stream without a terminator would otherwise make one line of tens of megabytes. The script
// still gets it all; an answer's echo line is whole.
constexpr std::size_t kMaxEchoBytes = 4096;

// The part of `text` an echo line shows, and how much it leaves out.
std::string EchoText(const std::string& text)
{
    if (text.size() <= kMaxEchoBytes)
        return text;
    return text.substr(0, kMaxEchoBytes) + FormatLine(exprmsg::EchoCut, text.size() - kMaxEchoBytes);
}

void WriteEcho(const CCliProcess& cli, const CliReply& reply)
{
    const std::string shown = reply.TimedOut ? EchoText(reply.SyncText) : reply.SyncText;
    const std::string cliName = cli.Name();
    const char* name = cliName.c_str();
    if (reply.TimedOut) {
        if (reply.Interrupted)
            return;
        if (shown.empty()) {
            if (cliName.empty())
                WriteOut(lines::OutUnnamedTimeoutEmpty);
            else
                WriteOut(lines::OutNamedTimeoutEmpty, name);
        } else if (cliName.empty()) {
            WriteOut(lines::OutUnnamedTimeout, shown.c_str());
        } else {
            WriteOut(lines::OutNamedTimeout, name, shown.c_str());
        }
        return;
    }
    if (cli.Settings().SyncMode != 1 || shown.empty())
        return;
    if (cliName.empty())
        WriteOut(lines::OutUnnamed, shown.c_str());
    else
        WriteOut(lines::OutNamed, name, shown.c_str());
}

std::string CallCliFunction(std::string_view commandTemplate, int index, std::span<const std::string> args)
{
    SendCliCommand(index, FillCommandTemplate(commandTemplate, args));
    return ReadCliReply(index);
}

}  // namespace

int StartCLI(std::string_view commandLine, const CliSettings& settings)
{
    RegisterStopHook();
    const std::string line(commandLine);
    if (Engine().CliTrace)
        WriteOut(lines::EngCliDebugStart, line.c_str());
    if (NewProcessesRefused())
        return 0;
    ReleaseEndedProcesses();
    auto cli = std::make_shared<CCliProcess>(line);
    CliSettings cut = settings;
    cut.Terminator.resize(std::min(cut.Terminator.size(), kMaxSettingText));
    cut.ExitCommand.resize(std::min(cut.ExitCommand.size(), kMaxSettingText));
    cli->Apply(cut);
    const int index = CliTable.Add(cli);
    cli->Start();
    if (!cli->Started()) {
        WriteErr(lines::ErrCliCannotStart);
        return 0;
    }
    // The start-up output ends with the terminator once the CLI is ready for commands; that
    // read replaces any fixed delay.
    ReadCliReply(index, Engine().CliTimeoutSec.load());
    return index;
}

namespace {

std::atomic<bool> ShortStops{false};
// One stop at a time: the end of the process must not overtake a stop that the script's thread
// has begun (the CLI would outlive the engine).
std::mutex StopLock;

}  // namespace

void NameNewestCli(std::string name)
{
    const int size = CliTable.Size();
    if (size < 1)
        return;
    if (std::shared_ptr<CCliProcess> cli = CliTable.At(size); cli && cli->Name().empty())
        cli->SetName(std::move(name));
}

void ShortenCliStops()
{
    ShortStops = true;
}

namespace {

int StopGraceSec()
{
    const int grace = Engine().CliTimeoutSec.load();
    return ShortStops.load() ? std::min(grace, kEndingStopGraceSec) : grace;
}

// StopLock held.
void StopTaken(const std::vector<std::shared_ptr<CCliProcess>>& taken)
{
    std::vector<CCliProcess*> clis;
    for (const std::shared_ptr<CCliProcess>& cli : taken)
        clis.push_back(cli.get());
    CCliProcess::StopAll(clis, StopGraceSec(), [](CCliProcess& cli, bool before) {
        if (!Engine().Verbose)
            return;
        if (before)
            WriteOut(lines::EngCliStopping, cli.Name().c_str());
        else
            WriteOut(lines::EngCliStopped);
    });
}

}  // namespace

void StopCli(int index)
{
    if (index < 0) {
        WriteErr(lines::ErrCliCannotStop);
        return;
    }
    const std::lock_guard<std::mutex> one(StopLock);
    // Taken out of its slot first, so that two threads stopping at once stop it only once.
    std::shared_ptr<CCliProcess> cli = CliTable.Empty(index + 1);
    if (!cli)
        return;
    StopTaken({cli});
}

void StopAllCliProcesses()
{
    const std::lock_guard<std::mutex> one(StopLock);
    // Until the table holds none: a CLI added while the others were stopping (a start racing
    // with the end of the engine) is stopped too.
    for (;;) {
        std::vector<std::shared_ptr<CCliProcess>> taken;
        const int count = CliTable.Size();
        for (int i = 1; i <= count; ++i)
            if (std::shared_ptr<CCliProcess> cli = CliTable.Empty(i))
                taken.push_back(std::move(cli));
        if (taken.empty())
            return;
        StopTaken(taken);
    }
}

void SendCliCommand(int index, std::string_view text)
{
    if (index < 1) {
        WriteErr(lines::ErrCliMissing);
        return;
    }
    std::shared_ptr<CCliProcess> cli = CliTable.At(index);
    if (!cli)
        return;
    std::string sent(text);
    if (cli->Settings().StripQuotes)
        std::replace(sent.begin(), sent.end(), '"', ' ');
    cli->Write(sent, CallReplyTimeout());
    if (Engine().CliTrace)
        WriteOut(lines::EngCliDebugIn, cli->Name().c_str(), sent.c_str());
    if (sent == cli->Settings().ExitCommand)
        StopCli(index - 1);
}

std::string ReadCliReply(int index)
{
    return ReadCliReply(index, CallReplyTimeout());
}

std::string ReadCliReply(int index, int timeoutSec)
{
    Engine().TimedOut = false;
    std::shared_ptr<CCliProcess> cli = CliTable.At(index);
    if (!cli) {
        WriteErr(lines::ErrCliMissing);
        return {};
    }
    CliReply reply = cli->ReadReply(timeoutSec);
    if (reply.TooLong) {
        // A reply past the longest text is never given cut: the script would take a part for
        // the whole. It stops the run as a text made too long by the script does.
        CDebugger& debugger = Debugger();
        WriteOut(lines::ErrLine, static_cast<int>(debugger.CurrentLine()), exprmsg::TextTooLong);
        debugger.AbortAfterError();
        return {};
    }
    if (reply.TimedOut)
        Engine().TimedOut = true;
    WriteEcho(*cli, reply);
    if (Engine().CliTrace)
        WriteOut(lines::EngCliDebugOut, cli->Name().c_str(), reply.Text.c_str());
    return std::move(reply.Text);
}

double ReplyToDouble(std::string_view reply)
{
    const std::string text(reply);
    return std::strtod(text.c_str(), nullptr);
}

void CmdFunction0(std::string_view commandTemplate, int index, std::span<const std::string> args)
{
    CallCliFunction(commandTemplate, index, args);
}

std::string CmdFunction1(std::string_view commandTemplate, int index, std::span<const std::string> args)
{
    return CallCliFunction(commandTemplate, index, args);
}

bool CmdFunction2(std::string_view commandTemplate, int index, std::span<const std::string> args)
{
    return ParseLeadingInt(CallCliFunction(commandTemplate, index, args)) != 0;
}

int CmdFunction3(std::string_view commandTemplate, int index, std::span<const std::string> args)
{
    return ParseLeadingInt(CallCliFunction(commandTemplate, index, args));
}

double CmdFunction4(std::string_view commandTemplate, int index, std::span<const std::string> args)
{
    return ReplyToDouble(CallCliFunction(commandTemplate, index, args));
}

void CmdFunction0_0(std::string_view commandTemplate, int index)
{
    CmdFunction0(commandTemplate, index, {});
}

std::string CmdFunction1_0(std::string_view commandTemplate, int index)
{
    return CmdFunction1(commandTemplate, index, {});
}

bool CmdFunction2_0(std::string_view commandTemplate, int index)
{
    return CmdFunction2(commandTemplate, index, {});
}

int CmdFunction3_0(std::string_view commandTemplate, int index)
{
    return CmdFunction3(commandTemplate, index, {});
}

double CmdFunction4_0(std::string_view commandTemplate, int index)
{
    return CmdFunction4(commandTemplate, index, {});
}

}  // namespace zov
