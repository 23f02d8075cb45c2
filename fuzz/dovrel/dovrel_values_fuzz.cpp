// Dovrel's decoders of switch values: the escapes of writeline, the hex of write and the
// wildcard masks of findfile, on arbitrary bytes. The first byte splits mask from name.
#include "DovrelFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (dovrel::Unescape(text).size() > text.size())
        std::abort();
    const std::string bytes = dovrel::HexToBytes(text);
    if (bytes.size() != text.size() / 2)
        std::abort();
    if (dovrel::BytesToHex(bytes).size() != 2 * bytes.size())
        std::abort();
    // Text that write accepts comes back from read as it was typed, in lower case.
    if (dovrel::IsHexText(text) && text.size() % 2 == 0) {
        const std::string hex = dovrel::BytesToHex(bytes);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i] >= 'A' && text[i] <= 'F' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
            if (hex[i] != c)
                std::abort();
        }
    }
    if (!text.empty()) {
        const std::size_t cut = static_cast<unsigned char>(text[0]) % text.size();
        const std::string_view mask = text.substr(1, cut);
        const std::string_view name = text.substr(1 + cut > text.size() ? text.size() : 1 + cut);
        const bool match = dovrel::MatchMask(mask, name);
        // A mask without wildcards matches exactly the names equal to it (letters without case).
        if (mask.find_first_of("*?") == std::string_view::npos && mask != name && match && mask.size() != name.size()) {
            std::abort();
        }
    }
    return 0;
}
