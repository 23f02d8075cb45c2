// Label texts come from scripts and settings: any bytes must parse and lay out, in both dialects,
// and valid UTF-8 in must give valid UTF-8 runs out (a code letter never splits a character).
#include "common/Markup.h"
#include "common/TextCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool validInput = zov::IsValidUtf8(text);
    for (const auto dialect : {zov::markup::Dialect::Message, zov::markup::Dialect::Caption}) {
        const auto items = zov::markup::Parse(text, dialect);
        size_t runBytes = 0;
        for (const auto& item : items) {
            if (item.kind != zov::markup::Item::Kind::Run) {
                continue;
            }
            if (item.text.empty() || (validInput && !zov::IsValidUtf8(item.text))) {
                std::abort();
            }
            runBytes += item.text.size();
        }
        if (runBytes > text.size()) {
            std::abort();
        }
        const auto placed = zov::markup::Layout(items, [](const std::string& run, const zov::markup::Style& style) {
            return zov::markup::Extent{static_cast<int>(run.size() % 1000), style.sizeTenths / 10};
        });
        for (const auto& run : placed) {
            if (run.x < zov::markup::kMargin || run.y < zov::markup::kMargin) {
                std::abort();
            }
        }
    }
    return 0;
}
