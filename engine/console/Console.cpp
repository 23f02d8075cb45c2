#include "engine/console/Console.h"
#include "common/AsciiCase.h"
#include "common/NumberText.h"

#include "engine/runtime/CliCalls.h"
#include "engine/runtime/Debugger.h"
#include "engine/console/EnginePhases.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "engine/base/StringHelpers.h"

#include <cerrno>
#include <memory>
#include <new>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

namespace zov {

namespace {

constexpr std::uint16_t N = kNotAParameter;
constexpr std::uint16_t B = kShownInBrackets;

}  // namespace

//                                            -dicofn -scriptfn -line -state -name -val -params
const std::array<CommandEntry, kCommandCount> CommandTable = {{
    {"exit", "Permet la sortie du programme.", {N, N, N, N, N, N, N}, OnExit},
    {"help",
     "Affiche cette aide (possibilite de filtrer en specifiant une commande ex: help exit).",
     {N, N, N, N, N, N, N},
     OnHelp},
    {"cls", "Efface l'ecran.", {N, N, N, N, N, N, N}, OnCls},
    {"interpret", "function d'interpretation de script.", {B, B, N, N, N, N, B}, OnInterpret},
    {"setbkp", "Defini l'etat d'un breakpoint pour une ligne donnee (etat on/off).", {N, N, B, B, N, N, N}, OnSetBkp},
    {"continue", "Permet la continuation du programme apres un point d'arret.", {N, N, N, N, N, N, N}, OnContinue},
    {"next", "Permet d'executer la prochaine instruction (mode pas a pas).", {N, N, N, N, N, N, N}, OnNext},
    {"getval", "Permet d'obtenir l'etat (type, valeur) d'une variable.", {N, N, N, N, B, N, N}, OnGetVal},
    {"break",
     "Permet de mettre d'arreter le programme sur la ligne en cours d'execution.",
     {N, N, N, N, N, N, N},
     OnBreak},
    {"setval", "Permet de modifier la valeur d'une variable.", {N, N, N, N, B, B, N}, OnSetVal},
    {"resetbkp", "Permet d'effacer tous les points d'arrets.", {N, N, N, N, N, N, N}, OnResetBkp},
    {"sync", "Permet d'envoyer un message de synchro.", {N, N, N, N, N, B, N}, OnSync},
    {"speed", "Permet de mettre une pause entre 2 notification de ligne.", {N, N, N, N, N, B, N}, OnSpeed},
    {"notifyline", "Permet de notifie chaque ligne exécutee.", {N, N, N, N, N, B, N}, OnNotifyLine},
    {"setdata", "Permet d'ajouter une donnée extern.", {N, N, N, N, B, B, N}, OnSetData},
    {"verify", "Permet de verifier le script sans l'exécuter.", {N, N, N, N, N, B, N}, OnVerify},
    {"timeout", "Durée du timeout lors de l'appel d'une fonction d'un CLI.", {N, N, N, N, N, B, N}, OnTimeout},
}};

const std::array<ParameterEntry, kParameterCount> ParameterTable = {{
    {"-dicofn", "Specifie le fichier dictionnaire"},
    {"-scriptfn", "Specifie le fichier script"},
    {"-line", "Specifie la ligne"},
    {"-state", "Specifie l'etat"},
    {"-name", "Specifie le nom d'une variable."},
    {"-val", "Specifie la valeur d'une variable."},
    {"-params", "Specifie les parametres externes du script"},
}};

TokenList TokenizeCommandLine(std::string_view line)
{
    TokenList tokens;
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return tokens;
    line = line.substr(first, line.find_last_not_of(' ') - first + 1);

    std::size_t pos = line.find(' ');
    tokens.emplace_back(line.substr(0, pos));
    while (pos < line.size() && tokens.size() < kMaxTokens) {
        const std::size_t nameStart = line.find('-', pos);
        if (nameStart == std::string_view::npos)
            break;
        std::size_t nameEnd = line.find(' ', nameStart);
        if (nameEnd == std::string_view::npos)
            nameEnd = line.size();
        tokens.emplace_back(line.substr(nameStart, nameEnd - nameStart));
        pos = nameEnd;
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (tokens.size() >= kMaxTokens)
            break;  // no slot left for the value: the name stays without one
        if (pos < line.size() && line[pos] == '"') {
            const std::size_t close = line.find('"', pos + 1);
            if (close == std::string_view::npos) {
                tokens.emplace_back(line.substr(pos + 1));
                pos = line.size();
            } else {
                tokens.emplace_back(line.substr(pos + 1, close - pos - 1));
                pos = close + 1;
            }
        } else if (pos < line.size() && line[pos] == '{') {
            const std::size_t close = line.find('}', pos);
            if (close == std::string_view::npos) {
                tokens.emplace_back(line.substr(pos));
                pos = line.size();
            } else {
                tokens.emplace_back(line.substr(pos, close - pos + 1));
                pos = close + 1;
            }
        } else {
            std::size_t end = line.find(' ', pos);
            if (end == std::string_view::npos)
                end = line.size();
            tokens.emplace_back(line.substr(pos, end - pos));
            pos = end;
        }
    }
    return tokens;
}

CommandArgs BuildCommandArgs(const TokenList& tokens)
{
    CommandArgs args;
    for (std::size_t i = 1; i + 1 < tokens.size(); i += 2) {
        const std::string name = ToLowerAscii(tokens[i]);
        const std::string& value = tokens[i + 1];
        int which = -1;
        for (int p = 0; p < kParameterCount; ++p) {
            if (name == ParameterTable[static_cast<std::size_t>(p)].name) {
                which = p;
                break;
            }
        }
        switch (which) {
        case kDicofn:
            args.dicofn = value;
            break;
        case kScriptfn:
            args.scriptfn = value;
            break;
        case kName:
            args.name = value;
            break;
        case kVal:
            args.val = value;
            break;
        case kParams:
            args.params = value;
            break;
        case kLine:
            args.line = ParseLeadingInt(value);
            break;
        case kState:
            // Values keep their case: "ON" is no state.
            if (value == "on") {
                args.state = 1;
            } else if (value == "off") {
                args.state = 0;
            } else {
                args.state = 0;
                args.present[kState] = false;
                continue;
            }
            break;
        default:
            continue;
        }
        args.present[static_cast<std::size_t>(which)] = true;
    }
    return args;
}

int FindCommand(std::string_view word)
{
    const std::string lower = ToLowerAscii(word);
    for (int i = 0; i < kCommandCount; ++i) {
        if (lower == CommandTable[static_cast<std::size_t>(i)].name)
            return i;
    }
    return -1;
}

std::array<std::string, 3> SplitScriptParams(std::string_view params)
{
    std::array<std::string, 3> values;
    if (params.size() <= 2)
        return values;
    std::string_view rest = params.substr(1, params.size() - 2);
    for (int i = 0; i < 3; ++i) {
        std::size_t cut = i < 2 ? rest.find(';') : std::string_view::npos;
        values[static_cast<std::size_t>(i)] = rest.substr(0, std::min(cut, kParamMaxLength));
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }
    return values;
}

std::string StripPathQuotes(std::string_view path)
{
    if (!path.empty() && path.front() == '"') {
        if (path.size() < 2)
            return {};
        return std::string(path.substr(1, path.size() - 2));
    }
    return std::string(path);
}

int DispatchCommand(std::string_view line)
{
    const TokenList tokens = TokenizeCommandLine(line);
    if (tokens.empty())
        return 1;
    // Unknown words (the IDE sends "debugstep") are ignored without output.
    const int index = FindCommand(tokens[0]);
    if (index >= 0)
        StartCommandThread(index, tokens);
    return 1;
}

namespace {

void* InterpretThreadMain(void* arg)
{
    std::unique_ptr<CommandArgs> args(static_cast<CommandArgs*>(arg));
    try {
        OnInterpret(*args);
    } catch (const std::bad_alloc&) {
        // Out of memory before or after the run itself (loading, analysis): the engine ends
        // with its line and takes its processes with it.
        WriteOut(lines::ErrScriptNoMemory);
        StopAllClis();
        KillAllExecs();
        Engine().RequestQuit(1);
    }
    return nullptr;
}

void StartInterpretThread(CommandArgs args)
{
    if (Engine().InterpretStarted.exchange(true))
        return;
    auto owned = std::make_unique<CommandArgs>(std::move(args));
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, kInterpretStackSize);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t thread;
    const int rc = pthread_create(&thread, &attr, InterpretThreadMain, owned.get());
    pthread_attr_destroy(&attr);
    if (rc == 0) {
        owned.release();
    } else {
        // Without its thread the run cannot take place; end as a finished run does.
        Engine().RequestQuit(1);
    }
}

bool ScriptIsRunning()
{
    return Engine().ScriptRunning.load() == 1;
}

}  // namespace

int StartCommandThread(int index, const TokenList& tokens)
{
    if (index < 0 || index >= kCommandCount)
        return 1;
    CommandArgs args = BuildCommandArgs(tokens);
    const CommandHandler handler = CommandTable[static_cast<std::size_t>(index)].handler;
    if (handler == OnInterpret)
        StartInterpretThread(std::move(args));
    else
        handler(args);
    return 1;
}

void OnExit(const CommandArgs&)
{
    // The IDE wants the engine gone: a CLI that ignores its exit command does not hold the end
    // for the whole reply time-out.
    RefuseNewProcesses();
    ShortenCliStops();
    KillAllExecs();
    Engine().RequestQuit(0);
}

std::string HelpListing()
{
    std::string text = lines::HelpStart;
    for (const CommandEntry& command : CommandTable) {
        text += FormatLine(lines::HelpCommand, command.name);
        text += FormatLine(lines::HelpDescription, command.description);
        text += lines::HelpParameters;
        bool any = false;
        for (int p = 0; p < kParameterCount; ++p) {
            const std::uint16_t code = command.membership[static_cast<std::size_t>(p)];
            const ParameterEntry& param = ParameterTable[static_cast<std::size_t>(p)];
            if (code == kShownInBrackets)
                text += FormatLine(lines::HelpParameterSquare, param.name, param.description);
            else if (code == kShownInAngles)
                text += FormatLine(lines::HelpParameterAngle, param.name, param.description);
            else
                continue;
            any = true;
        }
        if (!any)
            text += lines::HelpNoParameter;
        text += lines::HelpBlockEnd;
    }
    return text;
}

void OnHelp(const CommandArgs&)
{
    if (ScriptIsRunning())
        return;
    WriteText(Stream::Out, HelpListing());
}

void OnCls(const CommandArgs&)
{
    if (ScriptIsRunning())
        return;
    // The IDE reads a pipe: escape sequences there would be noise in its trace.
    if (isatty(STDOUT_FILENO))
        WriteText(Stream::Out, lines::ClearScreen);
}

void OnInterpret(const CommandArgs& args)
{
    EngineState& engine = Engine();
    if (!args.Has(kDicofn)) {
        WriteOut(lines::EngMissingInterface);
    } else if (!args.Has(kScriptfn)) {
        WriteOut(lines::EngMissingScript);
    } else if (!args.Has(kParams)) {
        WriteOut(lines::EngMissingParams);
    } else {
        const GrammarFiles grammars;
        const std::string interfacePath = StripPathQuotes(args.dicofn);
        const std::string scriptPath = StripPathQuotes(args.scriptfn);
        const std::array<std::string, 3> params = SplitScriptParams(args.params);
        engine.SetParamValues(params[0], params[1], params[2]);
        WriteOut(lines::EngineInitialisation);
        RunEnginePhases(grammars, interfacePath, scriptPath);
    }
    engine.RequestQuit(1);
}

void OnSetBkp(const CommandArgs& args)
{
    bool refused = false;
    if (!args.Has(kLine)) {
        WriteOut(lines::EngMissingLine);
        refused = true;
    }
    if (!args.Has(kState)) {
        WriteOut(lines::EngMissingState);
        refused = true;
    }
    if (refused)
        return;
    if (args.line < 1 || args.line > kMaxBreakpointLine) {
        WriteOut(lines::EngBreakpointLineOutOfRange, kMaxBreakpointLine);
        return;
    }
    Debugger().SetBreakpoint(args.line, args.state == 1 ? kBreakpointOn : kBreakpointOff);
}

void OnContinue(const CommandArgs&)
{
    if (ScriptIsRunning())
        Debugger().Continue();
}

void OnNext(const CommandArgs&)
{
    if (ScriptIsRunning())
        Debugger().Next();
}

void OnGetVal(const CommandArgs& args)
{
    if (ScriptIsRunning() && args.Has(kName))
        Debugger().GetValue(args.name);
}

void OnBreak(const CommandArgs&)
{
    if (ScriptIsRunning())
        Debugger().Break();
}

void OnSetVal(const CommandArgs& args)
{
    if (ScriptIsRunning() && args.Has(kName) && args.Has(kVal))
        Debugger().SetValue(args.name, args.val);
}

void OnResetBkp(const CommandArgs&)
{
    Debugger().ResetBreakpoints();
}

void OnSync(const CommandArgs& args)
{
    if (args.Has(kVal))
        Engine().AddSync(ParseLeadingInt(args.val));
}

void OnSpeed(const CommandArgs& args)
{
    if (args.Has(kVal)) {
        Engine().LineDelayMs = ParseLeadingInt(args.val);
        Debugger().DelayChanged();
    }
}

void OnNotifyLine(const CommandArgs& args)
{
    if (args.Has(kVal))
        Engine().NotifyLines = ParseLeadingInt(args.val) != 0;
}

void OnSetData(const CommandArgs& args)
{
    if (args.Has(kName) && args.Has(kVal))
        Engine().SetImport(args.name, args.val);
    Engine().SetDataReady();
}

void OnVerify(const CommandArgs& args)
{
    if (args.Has(kVal))
        Engine().VerifyOnly = ParseLeadingInt(args.val) == 1;
}

void OnTimeout(const CommandArgs& args)
{
    if (args.Has(kVal))
        Engine().CliTimeoutSec = ParseLeadingInt(args.val);
}

std::string UsageListing()
{
    std::string text = FormatLine(lines::UsageBanner, lines::VersionText);
    text += lines::MakerLine;
    text += lines::EmptyLine;
    text += lines::UsageText;
    return text;
}

void PrintUsage()
{
    WriteText(Stream::Out, UsageListing());
}

ConsoleReader::ConsoleReader(int fd, bool echoBackspace, std::size_t size)
    : fd_(fd), echoBackspace_(echoBackspace), maxLength_(size > 1 ? size - 1 : 0), buffer_(4096)
{}

bool ConsoleReader::Fill()
{
    if (ended_)
        return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n > 0) {
            begin_ = 0;
            end_ = static_cast<std::size_t>(n);
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A parent may hand over a non-blocking descriptor: wait for input, do not spin.
            pollfd ready{fd_, POLLIN, 0};
            if (::poll(&ready, 1, -1) >= 0 || errno == EINTR)
                continue;
        }
        ended_ = true;
        return false;
    }
}

bool ConsoleReader::ReadLine(std::string& line)
{
    line.clear();
    bool any = false;
    for (;;) {
        if (begin_ == end_ && !Fill())
            return any;  // the unfinished last line, if there is one
        any = true;
        const char c = buffer_[begin_++];
        if (c == '\n' || c == '\r')
            return true;
        if (c == '\b') {
            if (!line.empty()) {
                line.pop_back();
            }
            if (echoBackspace_)
                WriteText(Stream::Out, lines::BackspaceEcho);
            continue;
        }
        if (line.size() < maxLength_)
            line.push_back(c);
    }
}

}  // namespace zov
