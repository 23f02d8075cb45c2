// Arbitrary values typed for every kind: an accepted value is sent on one line, a number kind
// sends a decimal the engine reads back, and the text shown parses again to the same value.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ide/execution/model/TypedValue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const int kind = static_cast<int>(data[0] % 10) - 1;  // -1 .. 8: outside 0..7 too
    const std::string_view typed(reinterpret_cast<const char*>(data) + 1, size - 1);
    const zov::execution::TypedValue value = zov::execution::ParseTypedValue(kind, typed);
    if (!value.ok)
        return 0;
    if (kind < 0 || kind > 7)
        std::abort();
    if (value.sent.find_first_of("\r\n") != std::string::npos ||
        value.stored.find_first_of("\r\n") != std::string::npos)
        std::abort();
    if (kind <= 4) {
        // Decimal, with an optional minus sign.
        const std::string_view digits = value.sent[0] == '-' ? std::string_view(value.sent).substr(1) : value.sent;
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
            std::abort();
    }
    // What the dialog shows is accepted again and sends the same.
    const zov::execution::TypedValue again = zov::execution::ParseTypedValue(kind, value.stored);
    if (kind != 5 && (!again.ok || again.sent != value.sent))
        std::abort();
    const std::string line = zov::execution::OneLineValue(typed);
    if (line.size() != typed.size() || line.find_first_of("\r\n") != std::string::npos)
        std::abort();
    return 0;
}
