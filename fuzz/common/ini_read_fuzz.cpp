// Feeds arbitrary bytes to the settings reader and to an update of the text read, and checks
// the promises the rest of the system relies on: decoding always yields UTF-8, an untouched
// text is given back byte for byte, and an accepted write reads back as written.
#include "common/IniFile.h"
#include "common/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = zov::DecodeText(bytes);
    if (!zov::IsValidUtf8(text)) {
        std::abort();
    }
    zov::IniDocument document(text);
    if (document.Text() != text) {
        std::abort();
    }
    // Look up every section and key the text names, as readers of unknown files do.
    for (const std::string& section : document.SectionNames()) {
        for (const std::string& key : document.KeyNames(section)) {
            (void)document.Get(section, key);
            (void)zov::ParseProfileInt(document.Get(section, key).value_or(""), -1);
        }
    }
    // Use the first line of the input as section, key and value of a write.
    const std::string_view view(text);
    const size_t cut1 = view.size() / 3;
    const size_t cut2 = 2 * view.size() / 3;
    const std::string section(view.substr(0, cut1));
    const std::string key(view.substr(cut1, cut2 - cut1));
    const std::string value(view.substr(cut2));
    if (document.Set(section, key, value)) {
        const zov::IniDocument reread(document.Text());
        if (reread.Get(section, key) != value) {
            std::abort();
        }
    }
    return 0;
}
