// The first line of a language file, any bytes: the name offered is valid UTF-8 with no blank at
// either end, and is only offered for a line that starts with '$' and holds '='.
#include "common/TextCodec.h"
#include "ide/shell/core/LanguageChoices.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> name = zov::shell::LanguageNameOfFirstLine(line);
    if (!name)
        return 0;
    if (!zov::IsValidUtf8(*name) || line.find('=') == std::string_view::npos ||
        line.find('$') == std::string_view::npos)
        std::abort();
    if (!name->empty() && (name->front() == ' ' || name->back() == ' ' || name->back() == '\t'))
        std::abort();
    return 0;
}
