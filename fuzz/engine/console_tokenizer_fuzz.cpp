// Console lines come from the IDE's pipe or a user's keyboard: any bytes must give tokens,
// arguments and script parameters within their limits, never a crash.

#include "engine/console/Console.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/StringHelpers.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The same bytes as they arrive on standard input: cut into lines by the console reader, with
// a small line buffer so that over-long lines are cut too.
void ReadAsConsoleInput(const std::uint8_t* data, std::size_t size)
{
    static const int fd = memfd_create("console-input", 0);
    if (fd < 0)
        return;
    if (ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != static_cast<ssize_t>(size) || lseek(fd, 0, SEEK_SET) != 0)
        return;
    constexpr std::size_t kBuffer = 64;
    zov::ConsoleReader reader(fd, false, kBuffer);
    std::string line;
    std::size_t lines = 0;
    while (reader.ReadLine(line)) {
        if (line.size() >= kBuffer || line.find_first_of("\r\n") != std::string::npos)
            __builtin_trap();
        if (++lines > size + 1)
            __builtin_trap();  // every line takes at least one byte of input
        zov::BuildCommandArgs(zov::TokenizeCommandLine(line));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);

    const zov::TokenList tokens = zov::TokenizeCommandLine(line);
    if (tokens.size() > zov::kMaxTokens)
        __builtin_trap();
    std::size_t total = 0;
    for (const std::string& t : tokens)
        total += t.size();
    if (total > line.size())
        __builtin_trap();

    const zov::CommandArgs args = zov::BuildCommandArgs(tokens);
    if (args.Has(zov::kState) && args.state > 1)
        __builtin_trap();
    if (!tokens.empty())
        zov::FindCommand(tokens[0]);

    for (const std::string& piece : zov::SplitScriptParams(args.params)) {
        if (piece.size() > zov::kParamMaxLength)
            __builtin_trap();
    }
    zov::StripPathQuotes(args.dicofn);

    // The argument list of zovrun is cut into commands the same way.
    for (const std::string_view piece : zov::SplitString(line, '|')) {
        if (piece.find('|') != std::string_view::npos)
            __builtin_trap();
    }
    if (auto bytes = zov::HexToBytes(line); bytes && zov::BytesToHex(*bytes).size() != line.size())
        __builtin_trap();

    ReadAsConsoleInput(data, size);
    return 0;
}
