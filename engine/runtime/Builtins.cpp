// The built-ins that talk to the IDE (verdicts, traces, sync values, data exchange), the time
// and date built-ins, `random`, `min` and `max`, and the handler lookup by name.

#include "engine/runtime/Builtins.h"
#include "engine/runtime/BuiltinsArgs.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <optional>
#include <random>
#include <thread>
#include <vector>

namespace zov {

using namespace builtin_args;

namespace {

class SystemBuiltinClock final : public BuiltinClock {
public:
    double EpochSeconds() const override
    {
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
        return static_cast<double>(ms) / 1000.0;
    }

    LocalDateTime Local() const override
    {
        const std::time_t now = std::time(nullptr);
        std::tm parts{};
        localtime_r(&now, &parts);
        return LocalDateTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                             parts.tm_hour,        parts.tm_min,     parts.tm_sec};
    }
};

std::string TwoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// The year as the date built-ins have always written it: "20" and the two-digit year.
std::string DateYear(const LocalDateTime& t)
{
    return "20" + TwoDigits(((t.Year % 100) + 100) % 100);
}

std::string JoinDate(const std::string& a, const std::string& b, const std::string& c)
{
    return a + "/" + b + "/" + c;
}

std::mutex randomLock;
std::mt19937 randomGenerator;
bool randomSeeded = false;

std::uint32_t NextRandom(const BuiltinClock& clock)
{
    std::lock_guard<std::mutex> hold(randomLock);
    if (!randomSeeded) {
        randomGenerator.seed(static_cast<std::uint32_t>(static_cast<long long>(clock.EpochSeconds())));
        randomSeeded = true;
    }
    return static_cast<std::uint32_t>(randomGenerator());
}

// The texts of a message built-in's arguments written one after the other; a value without a
// text adds nothing.
std::string JoinTexts(std::span<const CValue> args)
{
    std::string joined;
    for (const CValue& v : args)
        joined.append(v.TextView());
    return joined;
}

}  // namespace

const BuiltinClock& SystemClock()
{
    static const SystemBuiltinClock clock;
    return clock;
}

BuiltinContext CallContext(int line)
{
    return BuiltinContext{Debugger(), Engine(), SystemClock(), line};
}

// ---------------------------------------------------------------------------------------------
// Verdict, trace and information lines

namespace {

// A CLI is given up to the CLI time-out to end after its exit command: the IDE's getval and
// setval are answered meanwhile, as during any other wait of the script.
void StopEveryCliWhileServing(CDebugger& debugger)
{
    CDebugger::ScriptPause pause(debugger);
    StopAllClis();
}

}  // namespace

void WriteTraceLine(int line, std::string_view text)
{
    WriteOut(lines::Trace, line, std::string(text).c_str());
}

void WriteOkLine(CDebugger& debugger, int line, std::string_view text)
{
    WriteOut(lines::CmdOk, line, std::string(text).c_str());
    StopEveryCliWhileServing(debugger);
    debugger.SetAbort(true);
}

void WriteNokLine(CDebugger& debugger, int line, std::string_view text)
{
    WriteOut(lines::CmdNok, line, std::string(text).c_str());
    StopEveryCliWhileServing(debugger);
    debugger.SetAbort(true);
}

void WriteWarningLine(int line, std::string_view text)
{
    WriteOut(lines::CmdWarning, line, std::string(text).c_str());
}

void WriteInfoLine(std::string_view text)
{
    WriteOut(lines::CmdInfo, std::string(text).c_str());
}

void WriteScriptMessage(ScriptMessage kind, BuiltinContext& context, std::span<const CValue> values,
                        std::span<const TypeCode> types)
{
    const auto typeOf = [&](std::size_t i) { return i < types.size() ? types[i] : kTypeUndetermined; };
    const bool conditional = values.size() >= 2 && typeOf(0) == kTypeBoolean;

    std::string text;
    text.reserve(256);
    for (std::size_t i = conditional ? 1 : 0; i < values.size(); ++i)
        text += TraceValueText(values[i], typeOf(i));

    if (conditional) {
        if (values[0].LowByte() != 0)
            WriteTraceLine(context.Line, text);
        return;
    }
    switch (kind) {
    case ScriptMessage::Trace:
        WriteTraceLine(context.Line, text);
        break;
    case ScriptMessage::Ok:
        WriteOkLine(context.Debugger, context.Line, text);
        break;
    case ScriptMessage::Nok:
        WriteNokLine(context.Debugger, context.Line, text);
        break;
    case ScriptMessage::Warning:
        WriteWarningLine(context.Line, text);
        break;
    }
}

CValue BuiltinOk(BuiltinContext& context, std::span<const CValue> args)
{
    WriteOkLine(context.Debugger, context.Line, Text(args, 0).value_or(std::string_view()));
    return {};
}

CValue BuiltinNok(BuiltinContext& context, std::span<const CValue> args)
{
    WriteNokLine(context.Debugger, context.Line, Text(args, 0).value_or(std::string_view()));
    return {};
}

CValue BuiltinWarning(BuiltinContext& context, std::span<const CValue> args)
{
    WriteWarningLine(context.Line, Text(args, 0).value_or(std::string_view()));
    return {};
}

CValue BuiltinInfo(BuiltinContext&, std::span<const CValue> args)
{
    WriteInfoLine(Text(args, 0).value_or(std::string_view()));
    return {};
}

CValue BuiltinTrace(BuiltinContext& context, std::span<const CValue> args)
{
    WriteTraceLine(context.Line, JoinTexts(args));
    return {};
}

// ---------------------------------------------------------------------------------------------
// Waits, sync values and data exchange

CValue BuiltinPause(BuiltinContext&, std::span<const CValue> args)
{
    const std::int32_t ms = Word(args, 0);
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return {};
}

CValue BuiltinSync(BuiltinContext&, std::span<const CValue> args)
{
    WriteOut(lines::SyncSent, static_cast<int>(Word(args, 0)));
    return {};
}

std::int32_t WaitForSyncValue(EngineState& state, std::span<const std::int32_t> wanted, std::int32_t timeoutMs)
{
    const auto taken = state.WaitForSync(wanted, std::chrono::milliseconds(std::max<std::int32_t>(timeoutMs, 0)));
    return taken ? *taken : -1;
}

std::int32_t WaitForWantedSync(EngineState& state, int argumentCount)
{
    if (argumentCount < 1)
        return -1;
    const int count = std::min(argumentCount, kSyncSlots);
    const std::array<int, kSyncSlots> wanted = state.WantedSync();
    return WaitForSyncValue(state, std::span<const int>(wanted.data(), static_cast<std::size_t>(count - 1)),
                            wanted[static_cast<std::size_t>(count - 1)]);
}

CValue BuiltinWaitSync(BuiltinContext& context, std::span<const CValue> args)
{
    if (args.empty())
        return CValue::Integer(-1);
    std::vector<std::int32_t> wanted;
    wanted.reserve(args.size() - 1);
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        wanted.push_back(args[i].Word());
        context.State.SetWantedSync(static_cast<int>(i), args[i].Word());
    }
    context.State.SetWantedSync(static_cast<int>(args.size() - 1), args.back().Word());
    return CValue::Integer(WaitForSyncValue(context.State, wanted, args.back().Word()));
}

CValue BuiltinExportData(BuiltinContext&, std::span<const CValue> args)
{
    WriteOut(lines::ExportData, std::string(Text(args, 0).value_or(std::string_view())).c_str(),
             std::string(Text(args, 1).value_or(std::string_view())).c_str());
    return {};
}

std::string ImportData(EngineState& state, std::string_view name, CDebugger* serveMeanwhile)
{
    // The request is out and DataReady cleared before getval and setval are served: an IDE
    // that answers them and then sends the data cannot have it cleared after it.
    state.ClearDataReady();
    WriteOut(lines::ImportRequest, std::string(name).c_str());
    const long long timeoutMs = std::max(0LL, static_cast<long long>(state.CliTimeoutSec.load()) * 1000);
    std::optional<CDebugger::ScriptPause> pause;
    if (serveMeanwhile)
        pause.emplace(*serveMeanwhile);
    const bool ready = state.WaitForDataReady(std::chrono::milliseconds(timeoutMs));
    pause.reset();
    if (!ready)
        return {};
    state.ClearDataReady();
    return state.ImportValue();
}

CValue BuiltinImportData(BuiltinContext& context, std::span<const CValue> args)
{
    return TextResult(ImportData(context.State, Text(args, 0).value_or(std::string_view())));
}

// ---------------------------------------------------------------------------------------------
// Time and date

double ElapsedSeconds(const BuiltinClock& clock, double start)
{
    return RoundToDecimals(clock.EpochSeconds() - start, 3);
}

CValue BuiltinTime(BuiltinContext& context, std::span<const CValue>)
{
    return CValue::Real(context.Clock.EpochSeconds());
}

CValue BuiltinElapsedTime(BuiltinContext& context, std::span<const CValue> args)
{
    return CValue::Real(ElapsedSeconds(context.Clock, Real(args, 0)));
}

CValue BuiltinDate(BuiltinContext& context, std::span<const CValue>)
{
    const LocalDateTime t = context.Clock.Local();
    return TextResult(JoinDate(DateYear(t), TwoDigits(t.Month), TwoDigits(t.Day)));
}

CValue BuiltinDateDMY(BuiltinContext& context, std::span<const CValue>)
{
    const LocalDateTime t = context.Clock.Local();
    return TextResult(JoinDate(TwoDigits(t.Day), TwoDigits(t.Month), DateYear(t)));
}

CValue BuiltinDateMDY(BuiltinContext& context, std::span<const CValue>)
{
    const LocalDateTime t = context.Clock.Local();
    return TextResult(JoinDate(TwoDigits(t.Month), TwoDigits(t.Day), DateYear(t)));
}

CValue BuiltinHour(BuiltinContext& context, std::span<const CValue>)
{
    const LocalDateTime t = context.Clock.Local();
    return TextResult(TwoDigits(t.Hour) + ":" + TwoDigits(t.Minute) + ":" + TwoDigits(t.Second));
}

// ---------------------------------------------------------------------------------------------
// random, min, max

void SeedBuiltinRandom(std::uint32_t seed)
{
    std::lock_guard<std::mutex> hold(randomLock);
    randomGenerator.seed(seed);
    randomSeeded = true;
}

CValue BuiltinRandom(BuiltinContext& context, std::span<const CValue> args)
{
    // (time in seconds + the generator's next value) modulo the width of the range, plus its
    // low end. The width is taken in 64 bits, so that the full 32-bit range is not the empty
    // one; bounds given the wrong way round are the same range.
    const std::int32_t first = Word(args, 0);
    const std::int32_t second = Word(args, 1);
    const std::int64_t low = std::min(first, second);
    const std::int64_t high = std::max(first, second);
    const auto width = static_cast<std::uint64_t>(high - low + 1);
    const double seconds = std::floor(context.Clock.EpochSeconds());
    const auto timePart = std::isfinite(seconds) && std::fabs(seconds) < 9e18
                              ? static_cast<std::uint64_t>(static_cast<std::int64_t>(seconds))
                              : 0u;
    const std::uint64_t draw = timePart + NextRandom(context.Clock);
    return CValue::Integer(static_cast<std::int32_t>(low + static_cast<std::int64_t>(draw % width)));
}

std::int32_t MinOf(std::span<const std::int32_t> values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

std::int32_t MaxOf(std::span<const std::int32_t> values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double MinOf(std::span<const double> values)
{
    return values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
}

double MaxOf(std::span<const double> values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

namespace {

std::vector<std::int32_t> Words(std::span<const CValue> args)
{
    std::vector<std::int32_t> out;
    out.reserve(args.size());
    for (const CValue& v : args)
        out.push_back(v.Word());
    return out;
}

std::vector<double> Reals(std::span<const CValue> args)
{
    std::vector<double> out;
    out.reserve(args.size());
    for (const CValue& v : args)
        out.push_back(v.RealValue());
    return out;
}

}  // namespace

CValue BuiltinMinInteger(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Integer(MinOf(std::span<const std::int32_t>(Words(args))));
}

CValue BuiltinMaxInteger(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Integer(MaxOf(std::span<const std::int32_t>(Words(args))));
}

CValue BuiltinMinReal(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Real(MinOf(std::span<const double>(Reals(args))));
}

CValue BuiltinMaxReal(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Real(MaxOf(std::span<const double>(Reals(args))));
}

// ---------------------------------------------------------------------------------------------
// Lookup by name

namespace {

struct NamedHandler {
    std::string_view Name;
    BuiltinHandler Handler;
};

// In the order of the built-in prototypes; the process built-ins are served elsewhere.
constexpr NamedHandler kHandlers[] = {
    {"pause", &BuiltinPause},
    {"ok", &BuiltinOk},
    {"nok", &BuiltinNok},
    {"warning", &BuiltinWarning},
    {"info", &BuiltinInfo},
    {"strlower", &BuiltinStrLower},
    {"strupper", &BuiltinStrUpper},
    {"strsize", &BuiltinStrSize},
    {"strfind", &BuiltinStrFind},
    {"strcount", &BuiltinStrCount},
    {"strextract", &BuiltinStrExtract},
    {"strpos", &BuiltinStrPos},
    {"strleft", &BuiltinStrLeft},
    {"strright", &BuiltinStrRight},
    {"strcopy", &BuiltinStrCopy},
    {"strreplace", &BuiltinStrReplace},
    {"strtrim", &BuiltinStrTrim},
    {"strreverse", &BuiltinStrReverse},
    {"strrepeat", &BuiltinStrRepeat},
    {"strregular", &BuiltinNoResult},
    {"time", &BuiltinTime},
    {"elapsedtime", &BuiltinElapsedTime},
    {"trace", &BuiltinTrace},
    {"str2int", &BuiltinStr2Int},
    {"str2real", &BuiltinStr2Real},
    {"str2bool", &BuiltinStr2Bool},
    {"int2str", &BuiltinNoResult},
    {"real2str", &BuiltinNoResult},
    {"bool2str", &BuiltinBool2Str},
    {"int2bool", &BuiltinInt2Bool},
    {"date", &BuiltinDate},
    {"dateDMY", &BuiltinDateDMY},
    {"dateMDY", &BuiltinDateMDY},
    {"hour", &BuiltinHour},
    {"hex2int", &BuiltinHex2Int},
    {"int2hex", &BuiltinInt2Hex},
    {"str2hex", &BuiltinStr2Hex},
    {"hex2str", &BuiltinHex2Str},
    {"int2real", &BuiltinInt2Real},
    {"real2int", &BuiltinReal2Int},
    {"round", &BuiltinRound},
    {"sqrt", &BuiltinRealZero},
    {"ceil", &BuiltinRealZero},
    {"floor", &BuiltinRealZero},
    {"abs", &BuiltinNoResult},
    {"endianlong", &BuiltinEndianLong},
    {"endianshort", &BuiltinEndianShort},
    {"random", &BuiltinRandom},
    {"waitsync", &BuiltinWaitSync},
    {"sync", &BuiltinSync},
    {"exportdata", &BuiltinExportData},
    {"importdata", &BuiltinImportData},
    {"min", &BuiltinMinInteger},
    {"max", &BuiltinMaxInteger},
};

}  // namespace

BuiltinHandler FindBuiltinHandler(std::string_view name)
{
    for (const NamedHandler& entry : kHandlers)
        if (entry.Name == name)
            return entry.Handler;
    return nullptr;
}

}  // namespace zov
