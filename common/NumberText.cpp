#include "common/NumberText.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace zov {

namespace {

bool IsCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::int64_t ParseLeadingInt64(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // The magnitude is read unsigned, so that the most negative value and every sign stay exact.
    std::uint64_t magnitude = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (end == first)
        return 0;
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
    if (error == std::errc::result_out_of_range || magnitude > kMaxPositive + (negative ? 1 : 0))
        return negative ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
    return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

int ParseLeadingInt(std::string_view text)
{
    const std::int64_t value = ParseLeadingInt64(text);
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace zov
