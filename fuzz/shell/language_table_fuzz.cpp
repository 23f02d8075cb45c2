// Loads arbitrary bytes as a language file and translates every line of it, checking what the
// IDE relies on: texts come out as valid UTF-8 whatever the file held, a text without entry
// comes back unchanged, and an empty text stays empty.
#include "common/TextCodec.h"
#include "ide/shell/core/LanguageTable.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zov::shell::LanguageTable table;
    table.LoadText(bytes);
    if (!zov::IsValidUtf8(table.HelpFile()) || !zov::IsValidUtf8(table.TipsFile()) ||
        !zov::IsValidUtf8(table.LanguageName()))
        std::abort();
    if (!zov::shell::TranslateText(&table, "").empty())
        std::abort();
    const std::string text = zov::DecodeText(bytes);
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t end = text.find('\n', begin);
        const std::string_view line =
            std::string_view(text).substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        const std::string translated = table.Lookup(line);
        if (!zov::IsValidUtf8(translated))
            std::abort();
        const std::string_view key = line.substr(0, line.find('='));
        (void)table.Lookup(key);
        if (end == std::string::npos)
            break;
        begin = end + 1;
    }
    // A text that no line of the file holds is given back as it came.
    const std::string absent = "\x01\x02 absent \x03";
    if (text.find(absent) == std::string::npos && table.Lookup(absent) != absent)
        std::abort();
    return 0;
}
