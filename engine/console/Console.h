#pragma once

// zovrun's console: the command-line syntax, the 17 commands, the reader of standard input
// and the start and end of the process.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

// Longest command line kept (an `interpret` line carries two paths and the parameters).
inline constexpr std::size_t kCommandBufferSize = 100100;
// Slot 0 the command word, then names and values alternately: at most 49 pairs.
inline constexpr std::size_t kMaxTokens = 100;
inline constexpr int kCommandCount = 17;
inline constexpr int kParameterCount = 7;
// The script's syntax tree is deep for a long script: the interpret thread gets a large stack.
// Address-sanitized builds have frames several times larger, so that they get a proportionally
// larger one and reach the tree builder's depth limit as the plain build does (the stack is only
// reserved, pages are used as the recursion reaches them).
#if defined(__SANITIZE_ADDRESS__)
#define ZOV_LARGE_FRAMES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZOV_LARGE_FRAMES 1
#endif
#endif
#ifdef ZOV_LARGE_FRAMES
inline constexpr std::size_t kInterpretStackSize = std::size_t{512} << 20;
#else
inline constexpr std::size_t kInterpretStackSize = std::size_t{64} << 20;
#endif

enum Parameter : int { kDicofn = 0, kScriptfn, kLine, kState, kName, kVal, kParams };

// What one command line carries, made afresh for each command.
struct CommandArgs {
    std::array<bool, kParameterCount> present{};
    std::string dicofn;
    std::string scriptfn;
    std::string params;
    std::string name;
    std::string val;
    int line = 0;
    std::uint16_t state = 0;

    bool Has(Parameter p) const { return present[static_cast<std::size_t>(p)]; }
};

using TokenList = std::vector<std::string>;
using CommandHandler = void (*)(const CommandArgs&);

// Membership codes of the help matrix.
inline constexpr std::uint16_t kNotAParameter = 1;
inline constexpr std::uint16_t kShownInAngles = 2;
inline constexpr std::uint16_t kShownInBrackets = 3;

struct CommandEntry {
    const char* name;
    const char* description;
    std::array<std::uint16_t, kParameterCount> membership;
    CommandHandler handler;
};

struct ParameterEntry {
    const char* name;
    const char* description;
};

extern const std::array<CommandEntry, kCommandCount> CommandTable;
extern const std::array<ParameterEntry, kParameterCount> ParameterTable;

// Splits one command line: trims blanks, the command word, then name/value pairs. Values are
// "quoted" (quotes removed; an unclosed quote takes the rest), {braced} (braces kept) or
// bare. Never more than kMaxTokens tokens: further pairs are dropped, and a name in the last
// slot loses its value.
TokenList TokenizeCommandLine(std::string_view line);

// Builds the arguments from a token list: names are lower-cased, unknown names ignored, a
// repeated name keeps its last value; stops at a name without value.
CommandArgs BuildCommandArgs(const TokenList& tokens);

// Index of the (lower-cased) command word in CommandTable, or -1.
int FindCommand(std::string_view word);

// The `-params` value: braces removed when longer than two characters, then cut at the first
// two ';' into %%1, %%2 and %%3 (which keeps further ';'). Each piece at most 255 characters.
std::array<std::string, 3> SplitScriptParams(std::string_view params);

// A path that begins with a double quote loses its first and last characters.
std::string StripPathQuotes(std::string_view path);

// Parses one line and runs its command. Returns 1.
int DispatchCommand(std::string_view line);

// Runs command `index` with the arguments of `tokens`. `interpret` starts on its own thread
// (the first one only); every other command runs at once on the calling thread, so commands
// take effect in the order they arrive. Returns 1.
int StartCommandThread(int index, const TokenList& tokens);

void OnExit(const CommandArgs& args);
void OnHelp(const CommandArgs& args);
void OnCls(const CommandArgs& args);
void OnInterpret(const CommandArgs& args);
void OnSetBkp(const CommandArgs& args);
void OnContinue(const CommandArgs& args);
void OnNext(const CommandArgs& args);
void OnGetVal(const CommandArgs& args);
void OnBreak(const CommandArgs& args);
void OnSetVal(const CommandArgs& args);
void OnResetBkp(const CommandArgs& args);
void OnSync(const CommandArgs& args);
void OnSpeed(const CommandArgs& args);
void OnNotifyLine(const CommandArgs& args);
void OnSetData(const CommandArgs& args);
void OnVerify(const CommandArgs& args);
void OnTimeout(const CommandArgs& args);

// The `help` listing and the -help text, as written.
std::string HelpListing();
std::string UsageListing();
void PrintUsage();

// Reads console lines from a descriptor. A line ends at CR or LF; backspace drops the last
// byte (echoed as backspace and blank when `echoBackspace`, i.e. on a terminal); bytes beyond
// `size - 1` are dropped. An empty line comes back empty.
class ConsoleReader {
public:
    explicit ConsoleReader(int fd, bool echoBackspace, std::size_t size = kCommandBufferSize);
    // False at the end of input (or a read error); an unfinished last line is handed out first.
    bool ReadLine(std::string& line);

private:
    bool Fill();

    int fd_;
    bool echoBackspace_;
    std::size_t maxLength_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
};

// The reader of standard input: dispatches every line longer than one character until the
// process ends. At the end of input an engine without a run ends; a run goes on, but cannot
// stop at a line any more, and ends as soon as nobody reads standard output.
void CommandThread();

// Stops every CLI and ends the process with `status`.
[[noreturn]] void OnSignal(int status);

// The program: flags, banner, argument commands, reader, then waits for the end of the run.
int EngineMain(int argc, char** argv);

}  // namespace zov
