#pragma once

// Leading integers of texts read as the C library's atoi and strtoll read them (blanks skipped,
// one sign, digits up to the first other character, 0 when there is no digit), but saturated
// instead of undefined when the value does not fit.

#include <cstdint>
#include <string_view>

namespace zov {

// Saturated at the limits of a 64-bit integer, as strtoll.
std::int64_t ParseLeadingInt64(std::string_view text);
// Saturated at the limits of int.
int ParseLeadingInt(std::string_view text);

}  // namespace zov
