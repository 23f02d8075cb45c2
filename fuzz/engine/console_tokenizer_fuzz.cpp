// Console lines come from the IDE's pipe or a user's keyboard: any bytes must give tokens,
// arguments and script parameters within their limits, never a crash.

#include "Console.h"
#include "EngineState.h"
#include "StringHelpers.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

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
    return 0;
}
