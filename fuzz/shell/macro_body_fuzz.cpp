// A macro body read from a user's interface file, laid out on lines for the editor and joined
// again on save: the split never invents characters, and a body that went through one open and
// save is stable under the next ones.
#include "ide/shell/core/TextFiles.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string body(reinterpret_cast<const char*>(data), size);
    const auto lines = zov::shell::SplitMacroBody(body);
    size_t kept = 0;
    for (const std::string& line : lines)
        kept += line.size();
    if (kept > body.size())
        std::abort();
    const std::string saved = zov::shell::JoinMacroLines(lines);
    if (zov::shell::SplitMacroBody(saved) != lines)
        std::abort();
    if (zov::shell::JoinMacroLines(zov::shell::SplitMacroBody(saved)) != saved)
        std::abort();
    return 0;
}
