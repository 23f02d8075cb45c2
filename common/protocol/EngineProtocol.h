#pragma once

// The engine's console protocol as both sides see it: the command words written to its standard
// input, and the three-letter tags that start the lines it writes on standard output and
// standard error. A reader takes the first tag of kLineTags that begins the line; a line that
// none begins continues whatever the previous tagged line started.

#include <array>
#include <string_view>

namespace zov::protocol {

// Tags of the engine's output lines, in the order a reader tries them.
enum class LineTag {
    Out,   // "out:" echo of a CLI program's output
    Trc,   // "trc: <line>:<text>" trace call of the script
    Eng,   // "eng:" the engine's own log
    Err,   // "err: <line> : <message>" script error
    Dpb,   // "dpb: <line>:<text>" error in the interface file
    Syn,   // "syn: <n>" synchronisation number released by the script
    Vrf,   // "vrf : 1|0" result of a verification
    Exp,   // "exp: <name> : <value>" exported data value
    Imp,   // "imp: <name>" the script waits for a data value
    Cmd,   // "cmd: <word> ..." debugger and verdict lines, "cmd:val:..." answers
    None,  // untagged: continues the previous tagged line
};

inline constexpr std::string_view kTagOut = "out";
inline constexpr std::string_view kTagTrc = "trc";
inline constexpr std::string_view kTagEng = "eng";
inline constexpr std::string_view kTagErr = "err";
inline constexpr std::string_view kTagDpb = "dpb";
inline constexpr std::string_view kTagSyn = "syn";
inline constexpr std::string_view kTagVrf = "vrf";
inline constexpr std::string_view kTagExp = "exp";
inline constexpr std::string_view kTagImp = "imp";
inline constexpr std::string_view kTagCmd = "cmd";

struct TagEntry {
    LineTag tag;
    std::string_view text;
};

// Tried in this order; the first whose text begins the line (case-sensitive) decides.
inline constexpr std::array<TagEntry, 10> kLineTags{{
    {LineTag::Out, kTagOut},
    {LineTag::Trc, kTagTrc},
    {LineTag::Eng, kTagEng},
    {LineTag::Err, kTagErr},
    {LineTag::Dpb, kTagDpb},
    {LineTag::Syn, kTagSyn},
    {LineTag::Vrf, kTagVrf},
    {LineTag::Exp, kTagExp},
    {LineTag::Imp, kTagImp},
    {LineTag::Cmd, kTagCmd},
}};

// The tag that begins `line`, or LineTag::None.
LineTag ClassifyLine(std::string_view line);

// The tag's three letters; "" for LineTag::None.
std::string_view TagText(LineTag tag);

// Words of "cmd" lines, behind "cmd:" and before the next ':'.
inline constexpr std::string_view kCmdBreakpoint = "bk";  // "cmd: bk : <line>"
inline constexpr std::string_view kCmdRun = "run";        // "cmd: run : <line>"
inline constexpr std::string_view kCmdOk = "ok";          // "cmd: ok : <line> : <text>"
inline constexpr std::string_view kCmdNok = "nok";        // "cmd: nok : <line> : <text>"
inline constexpr std::string_view kCmdWarning = "wng";    // "cmd: wng : <line> : <text>"
inline constexpr std::string_view kCmdInfo = "inf";       // "cmd: inf : <text>"
inline constexpr std::string_view kCmdValue = "val";      // "cmd:val:<name>:<kind>:<value>"

// The first line of every engine run.
inline constexpr std::string_view kEngineBanner = "ZOV Engine - Initialisation";

// Console command words (first word of a command line written to the engine).
inline constexpr std::string_view kCommandInterpret = "interpret";
inline constexpr std::string_view kCommandSetBreakpoint = "setbkp";
inline constexpr std::string_view kCommandResetBreakpoints = "resetbkp";
inline constexpr std::string_view kCommandContinue = "continue";
inline constexpr std::string_view kCommandNext = "next";
inline constexpr std::string_view kCommandBreak = "break";
inline constexpr std::string_view kCommandExit = "exit";
inline constexpr std::string_view kCommandGetValue = "getval";
inline constexpr std::string_view kCommandSetValue = "setval";
inline constexpr std::string_view kCommandVerify = "verify";
inline constexpr std::string_view kCommandNotifyLine = "notifyline";
inline constexpr std::string_view kCommandSpeed = "speed";
inline constexpr std::string_view kCommandTimeout = "timeout";
inline constexpr std::string_view kCommandSync = "sync";
inline constexpr std::string_view kCommandSetData = "setdata";
// Not a command of the engine's table: the engine ignores the line.
inline constexpr std::string_view kCommandDebugStep = "debugstep";

// A variable name travels with each ':' written as '|' (the engine's command parser would
// otherwise cut it); answers carry it back the same way.
inline constexpr char kNameColonOnWire = '|';

}  // namespace zov::protocol
