#include "ide/execution/model/TypedValue.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "common/AsciiCase.h"
#include "common/NumberText.h"
#include "common/TextTrim.h"

namespace zov::execution {

namespace {

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

// An unsigned conversion as scanf's %X and %o make it: blanks, one sign, for base 16 an optional
// "0x", then digits up to the first other character. The magnitude saturates as strtoul's does,
// the sign negates it, and the result is cut to the 32 bits of an unsigned int.
bool ScanUnsigned(std::string_view text, int base, std::uint32_t& value)
{
    std::size_t i = 0;
    while (i < text.size() && IsAsciiBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    bool digits = false;
    if (base == 16 && i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        i += 2;
        digits = true;  // "0x" reads as 0 when no hexadecimal digit follows
    }
    std::uint64_t magnitude = 0;
    bool saturated = false;
    for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
        digits = true;
        const unsigned d = static_cast<unsigned>(DigitValue(text[i]));
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / static_cast<unsigned>(base))
            saturated = true;
        else
            magnitude = magnitude * static_cast<unsigned>(base) + d;
    }
    if (!digits)
        return false;
    if (saturated)
        magnitude = std::numeric_limits<std::uint64_t>::max();
    if (negative)
        magnitude = 0 - magnitude;
    value = static_cast<std::uint32_t>(magnitude);
    return true;
}

std::string Decimal(std::uint32_t bits)
{
    return std::to_string(static_cast<std::int32_t>(bits));
}

std::string Printf(const char* format, unsigned value)
{
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

TypedValue ParseTypedValue(int kind, std::string_view typed)
{
    TypedValue result;
    const std::string_view value = TrimBlanks(typed);
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return result;
    switch (kind) {
    case kKindInteger:
    case kKindInteger2: {
        const int n = ParseLeadingInt(typed);
        result.stored = std::to_string(n);
        result.sent = result.stored;
        break;
    }
    case kKindHex: {
        std::uint32_t n = 0;
        if (!ScanUnsigned(value, 16, n))  // digits of either case, as after upper-casing
            return result;
        result.stored = Printf("0x%X", n);
        result.sent = Decimal(n);
        break;
    }
    case kKindBinary: {
        std::string_view digits = value;
        if (digits.substr(0, 2) == "0b")
            digits.remove_prefix(2);
        std::uint32_t n = 0;
        for (const char c : digits) {
            if (c != '0' && c != '1')
                return result;
            n = (n << 1) | static_cast<std::uint32_t>(c - '0');
        }
        result.stored = "0b" + std::string(digits);
        result.sent = Decimal(n);
        break;
    }
    case kKindOctal: {
        std::string_view digits = value;
        if (digits.substr(0, 2) == "0o")
            digits.remove_prefix(2);
        std::uint32_t n = 0;
        if (!ScanUnsigned(digits, 8, n))
            return result;
        result.stored = Printf("0o%o", n);
        result.sent = Decimal(n);
        break;
    }
    case kKindReal: {
        const std::string text(value);
        char* end = nullptr;
        errno = 0;
        const float real = std::strtof(text.c_str(), &end);
        if (end == text.c_str())
            return result;
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(real));
        result.stored = buffer;
        result.sent = result.stored;
        break;
    }
    case kKindBoolean: {
        const std::string lower = ToLowerAscii(value);
        if (lower != "true" && lower != "false")
            return result;
        result.stored = lower;
        result.sent = lower;
        break;
    }
    case kKindString:
        result.stored = std::string(value);
        result.sent = result.stored;
        break;
    default:
        return result;
    }
    result.ok = true;
    return result;
}

std::string OneLineValue(std::string_view value)
{
    std::string line(value);
    for (char& c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    return line;
}

}  // namespace zov::execution
