#pragma once

// The script's built-in function library: texts, conversions, time and date, hexadecimal,
// byte order, random numbers, synchronisation with the IDE, data exchange and the verdict and
// trace lines. `exec`, `kill`, `killall` and `run` live with the processes (ProcessBuiltins.h).
//
// Every built-in the function table calls is a BuiltinHandler: it takes the call's argument
// values in prototype order and returns one value (a text, the word, or the real, by the
// prototype's return type; nothing for void). A text argument without a text is the "null"
// of the language and is read as documented per built-in; a text result without a text is the
// "no text" result, which every consumer treats as an empty text.
//
// A few built-ins need the context of the call (its script line, the debugger, the engine
// state, the clock): the call node builds a BuiltinContext, usually with CallContext(line).

#include "engine/base/Value.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zov {

class CDebugger;
class EngineState;

// The local date and time as the date built-ins show it.
struct LocalDateTime {
    int Year = 1970;  // four digits
    int Month = 1;    // 1..12
    int Day = 1;      // 1..31
    int Hour = 0;     // 0..23
    int Minute = 0;
    int Second = 0;
};

// Where the time built-ins read the clock; tests put a fixed clock in its place.
class BuiltinClock {
public:
    virtual ~BuiltinClock() = default;
    // Seconds since 1970-01-01 00:00 UTC, milliseconds as the fraction.
    virtual double EpochSeconds() const = 0;
    virtual LocalDateTime Local() const = 0;
};

// The system's clock, in the local time zone.
const BuiltinClock& SystemClock();

struct BuiltinContext {
    CDebugger& Debugger;  // `ok` and `nok` end the run through it
    EngineState& State;   // sync slots, imported data, CLI time-out
    const BuiltinClock& Clock;
    int Line = 0;  // the script line of the call (the debugger's current line)
};

// The context of a call at `line` in the running engine: the process's debugger and engine
// state, and the system clock.
BuiltinContext CallContext(int line);

using BuiltinHandler = CValue (*)(BuiltinContext& context, std::span<const CValue> args);

// The handler of a built-in by its name as scripts call it ("strlower", "dateDMY", ...), or
// null for a name this library does not serve (the process built-ins, interface functions).
// "int2str", "real2str", "abs" and "strregular" share one handler (no text), as do "sqrt",
// "ceil" and "floor" (the real 0): the call node carries all of these but `strregular` out
// itself and never reaches their handlers.
BuiltinHandler FindBuiltinHandler(std::string_view name);

// Longest text a built-in makes. `strrepeat` and `strreplace` could otherwise be asked for
// gigabytes by one line of script; a result that would be longer stops the run with the same
// error as a join past it.
inline constexpr std::size_t kMaxBuiltinTextBytes = std::size_t{64} << 20;

// ---------------------------------------------------------------------------------------------
// The handlers, one per built-in (argument order as in the prototypes).

// Script messages and waits.
CValue BuiltinPause(BuiltinContext& context, std::span<const CValue> args);    // (int ms)
CValue BuiltinOk(BuiltinContext& context, std::span<const CValue> args);       // (text)
CValue BuiltinNok(BuiltinContext& context, std::span<const CValue> args);      // (text)
CValue BuiltinWarning(BuiltinContext& context, std::span<const CValue> args);  // (text)
CValue BuiltinInfo(BuiltinContext& context, std::span<const CValue> args);     // (text)
// The table's `trace`: each argument's text is written one after the other. The call node
// normally assembles the text itself (TraceValueText) and calls WriteTraceLine.
CValue BuiltinTrace(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinSync(BuiltinContext& context, std::span<const CValue> args);  // (int)
// (awaited values..., time-out in ms) -> the sync value taken, or -1.
CValue BuiltinWaitSync(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinExportData(BuiltinContext& context, std::span<const CValue> args);  // (name, data)
CValue BuiltinImportData(BuiltinContext& context, std::span<const CValue> args);  // (name) -> text

// Texts.
CValue BuiltinStrLower(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrUpper(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrSize(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrFind(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrCount(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrExtract(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrPos(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrLeft(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrRight(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrCopy(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrReplace(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrTrim(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrReverse(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStrRepeat(BuiltinContext& context, std::span<const CValue> args);
// `strregular` does nothing and gives no text; it also stands for the table entries of
// `int2str`, `real2str` and `abs` (no text, word 0).
CValue BuiltinNoResult(BuiltinContext& context, std::span<const CValue> args);

// Time and date.
CValue BuiltinTime(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinElapsedTime(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinDate(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinDateDMY(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinDateMDY(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinHour(BuiltinContext& context, std::span<const CValue> args);

// Conversions and numbers.
CValue BuiltinStr2Int(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStr2Real(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStr2Bool(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinBool2Str(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinInt2Bool(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinInt2Real(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinReal2Int(BuiltinContext& context, std::span<const CValue> args);  // argument's real
CValue BuiltinRound(BuiltinContext& context, std::span<const CValue> args);     // (real, int)
// The table entries of `sqrt`, `ceil` and `floor`: the real 0.
CValue BuiltinRealZero(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinHex2Int(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinInt2Hex(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinStr2Hex(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinHex2Str(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinEndianShort(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinEndianLong(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinRandom(BuiltinContext& context, std::span<const CValue> args);
// (values...) by the first argument's type: the call node picks the integer or the real form.
CValue BuiltinMinInteger(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinMaxInteger(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinMinReal(BuiltinContext& context, std::span<const CValue> args);
CValue BuiltinMaxReal(BuiltinContext& context, std::span<const CValue> args);

// ---------------------------------------------------------------------------------------------
// Routines the call node uses with unpacked values.

// The verdict and trace lines; `ok` and `nok` then stop every CLI and set the debugger's abort
// flag, so that the script ends.
void WriteTraceLine(int line, std::string_view text);
void WriteOkLine(CDebugger& debugger, int line, std::string_view text);
void WriteNokLine(CDebugger& debugger, int line, std::string_view text);
void WriteWarningLine(int line, std::string_view text);
void WriteInfoLine(std::string_view text);

enum class ScriptMessage { Trace, Ok, Nok, Warning };

// The statement form of `trace`, `ok`, `nok` and `warning`: the pieces of every argument
// (TraceValueText) joined without separator. With two or more arguments a boolean first
// argument is the condition: the joined rest is then written as a trace line when it holds,
// and nothing else happens, whatever the name. `types` holds one type per value.
void WriteScriptMessage(ScriptMessage kind, BuiltinContext& context, std::span<const CValue> values,
                        std::span<const TypeCode> types);

// The text of one value as `trace` shows it: a text as it is (no text: empty); an integer or
// CLI handle with its based flag by its display base with prefix, otherwise signed decimal;
// a real "%.15G"; a boolean "true" when its low byte is 1; any other type nothing.
std::string TraceValueText(const CValue& value, TypeCode type);

// An integer written in a display base: 2 the binary digits, most significant first, without
// leading zeros; 8 octal; 10 unsigned decimal; 16 upper-case hexadecimal; any other base
// signed decimal. With the prefix: "0b", "0o" and "0x" before bases 2, 8 and 16.
std::string IntegerInBase(std::int32_t value, std::uint32_t base, bool withPrefix);

// `int2str` of an integer value: by its display base without prefix when it is based,
// otherwise signed decimal (so that -3 reads -3, as `trace` shows it).
std::string IntegerToText(const CValue& value);

// A real as the engine writes it ("%.15G").
std::string RealToText(double value);

// The real truncated toward zero; a value beyond the 32-bit range gives the nearest limit,
// NaN gives 0.
std::int32_t RealToIntSaturated(double value);

// Absolute value of an integer; the smallest integer has none and stays as it is, as the
// integer arithmetic wraps.
std::int32_t AbsInteger(std::int32_t value);

// The real written with `precision` decimals and read back (a negative precision counts as 0).
double RoundToDecimals(double value, std::int32_t precision);

// The current time minus `start`, to the millisecond.
double ElapsedSeconds(const BuiltinClock& clock, double start);

// Waits for one of `wanted` among the values posted by the console's `sync`, up to `timeoutMs`
// (0 or less: one look); a value found frees its slot. The value, or -1.
std::int32_t WaitForSyncValue(EngineState& state, std::span<const std::int32_t> wanted, std::int32_t timeoutMs);

// `waitsync` as the call node does it once the integer arguments are in WantedSync: the first
// `argumentCount` - 1 entries are awaited, the last one is the time-out. At most the 32 places
// of WantedSync are read.
std::int32_t WaitForWantedSync(EngineState& state, int argumentCount);

// `importdata`: clears DataReady, writes "imp: name", waits for the console's `setdata` up to
// the CLI time-out and gives its value (whatever name it carried), or an empty text. With a
// debugger, getval and setval are served during the wait.
std::string ImportData(EngineState& state, std::string_view name, CDebugger* serveMeanwhile = nullptr);

// Random number generator of `random`; seeded from the clock at first use unless seeded here.
void SeedBuiltinRandom(std::uint32_t seed);

// Min and max over a list (the first when there is one value, 0 or 0.0 when there is none).
std::int32_t MinOf(std::span<const std::int32_t> values);
std::int32_t MaxOf(std::span<const std::int32_t> values);
double MinOf(std::span<const double> values);
double MaxOf(std::span<const double> values);

}  // namespace zov
