// The text, conversion, hexadecimal and byte-order built-ins. Texts are byte strings: sizes and
// offsets count bytes, and case changes touch ASCII letters only.

#include "engine/runtime/Builtins.h"
#include "common/AsciiCase.h"
#include "common/NumberText.h"
#include "engine/runtime/BuiltinsArgs.h"
#include "engine/base/Output.h"
#include "engine/base/StringHelpers.h"
#include "engine/runtime/Debugger.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace zov {

using namespace builtin_args;

namespace {

constexpr std::size_t npos = std::string_view::npos;

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Occurrences of `pattern` in `text` as `strcount` and `strextract` walk them: each search
// resumes one byte after the start of the previous occurrence, so overlapping ones count.
// Calls `visit(offset)` for each; stops early when it returns false.
template <typename Visit>
void ForEachOccurrence(std::string_view text, std::string_view pattern, Visit visit)
{
    if (pattern.empty())
        return;  // an empty separator occurs nowhere: the whole text is one field
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t at = text.find(pattern, from);
        if (at == npos || !visit(at))
            return;
        from = at + 1;
    }
}

// A text past the longest one the engine makes stops the run as a join past it does; nothing
// is made (the request alone could take all the memory).
CValue RefuseTooLongText(BuiltinContext& context)
{
    WriteOut(lines::ErrLine, context.Line, exprmsg::TextTooLong);
    context.Debugger.AbortAfterError();
    return NoText();
}

// A hexadecimal digit's value; any other byte reads as 0.
int LenientHexDigit(char c)
{
    return std::max(0, HexDigitValue(c));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Texts

CValue BuiltinStrLower(BuiltinContext&, std::span<const CValue> args)
{
    return TextResult(ToLowerAscii(Text(args, 0).value_or(std::string_view())));
}

CValue BuiltinStrUpper(BuiltinContext&, std::span<const CValue> args)
{
    std::string out(Text(args, 0).value_or(std::string_view()));
    for (char& c : out)
        c = UpperAscii(c);
    return TextResult(std::move(out));
}

CValue BuiltinStrSize(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const std::size_t size = text ? text->size() : 0;
    return CValue::Integer(
        static_cast<std::int32_t>(std::min<std::size_t>(size, std::numeric_limits<std::int32_t>::max())));
}

CValue BuiltinStrFind(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const auto pattern = Text(args, 1);
    return CValue::Boolean(text && pattern && text->find(*pattern) != npos);
}

CValue BuiltinStrCount(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const auto separator = Text(args, 1);
    if (!text || !separator || text->empty())
        return CValue::Integer(0);
    std::int32_t count = 1;
    ForEachOccurrence(*text, *separator, [&](std::size_t) {
        ++count;
        return true;
    });
    return CValue::Integer(count);
}

CValue BuiltinStrExtract(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const auto separator = Text(args, 1);
    const std::int32_t wanted = Word(args, 2);
    if (wanted < 1 || !text || !separator || text->empty())
        return NoText();
    // Field k starts just past occurrence k-1 and runs to occurrence k. Occurrences are walked
    // as strcount counts them, overlapping ones included: a field between two occurrences that
    // overlap is empty, so that there are always as many fields as strcount says.
    std::int32_t field = 1;
    std::size_t start = 0;
    std::optional<std::string_view> found;
    ForEachOccurrence(*text, *separator, [&](std::size_t at) {
        if (field == wanted) {
            found = at > start ? text->substr(start, at - start) : std::string_view();
            return false;
        }
        ++field;
        start = at + separator->size();
        return true;
    });
    if (!found && field == wanted)
        found = text->substr(std::min(start, text->size()));
    if (!found)
        return NoText();
    return CValue::Text(*found);
}

CValue BuiltinStrPos(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const auto pattern = Text(args, 1);
    if (!text || !pattern || text->empty() || pattern->empty())
        return CValue::Integer(-1);
    const std::size_t at = text->find(*pattern);
    if (at == npos || at > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return CValue::Integer(-1);
    return CValue::Integer(static_cast<std::int32_t>(at));
}

CValue BuiltinStrLeft(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const std::int32_t count = Word(args, 1);
    if (!text || count <= 0 || static_cast<std::size_t>(count) > text->size())
        return CValue::Text({});
    return CValue::Text(text->substr(0, static_cast<std::size_t>(count)));
}

CValue BuiltinStrRight(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const std::int32_t offset = Word(args, 1);
    if (!text || offset < 0 || static_cast<std::size_t>(offset) >= text->size())
        return CValue::Text({});
    return CValue::Text(text->substr(static_cast<std::size_t>(offset)));
}

CValue BuiltinStrCopy(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const std::int32_t offset = Word(args, 1);
    const std::int32_t length = Word(args, 2);
    // A negative offset lies outside the text like one past its end; a negative length
    // copies nothing.
    if (!text || offset < 0 || static_cast<std::size_t>(offset) > text->size())
        return NoText();
    if (length <= 0)
        return CValue::Text({});
    return CValue::Text(text->substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(length)));
}

CValue BuiltinStrReplace(BuiltinContext& context, std::span<const CValue> args)
{
    const std::string_view text = Text(args, 0).value_or(std::string_view());
    const std::string_view pattern = Text(args, 1).value_or(std::string_view());
    const std::string_view replacement = Text(args, 2).value_or(std::string_view());
    // An empty pattern matches nothing (it would otherwise match forever at one place).
    if (text.empty() || pattern.empty())
        return CValue::Text(text);

    std::size_t matches = 0;
    for (std::size_t at = text.find(pattern); at != npos; at = text.find(pattern, at + pattern.size()))
        ++matches;
    if (replacement.size() > pattern.size()) {
        const std::size_t growth = replacement.size() - pattern.size();
        if (matches > (kMaxBuiltinTextBytes - text.size()) / growth)
            return RefuseTooLongText(context);
    }

    std::string out;
    out.reserve(text.size() - matches * pattern.size() + matches * replacement.size());
    std::size_t from = 0;
    for (std::size_t at = text.find(pattern); at != npos; at = text.find(pattern, from)) {
        out.append(text.substr(from, at - from));
        out.append(replacement);
        from = at + pattern.size();
    }
    out.append(text.substr(from));
    return TextResult(std::move(out));
}

CValue BuiltinStrTrim(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    if (!text)
        return NoText();
    const std::size_t first = text->find_first_not_of(' ');
    if (first == npos)
        return NoText();  // empty or only blanks
    const std::size_t last = text->find_last_not_of(' ');
    return CValue::Text(text->substr(first, last - first + 1));
}

CValue BuiltinStrReverse(BuiltinContext& context, std::span<const CValue> args)
{
    const std::string_view text = Text(args, 0).value_or(std::string_view());
    if (text.size() > kMaxBuiltinTextBytes)
        return RefuseTooLongText(context);
    return TextResult(std::string(text.rbegin(), text.rend()));
}

CValue BuiltinStrRepeat(BuiltinContext& context, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    const std::int32_t times = Word(args, 1);
    if (!text || times < 1 || text->empty())
        return CValue::Text({});
    if (static_cast<std::size_t>(times) > kMaxBuiltinTextBytes / text->size())
        return RefuseTooLongText(context);
    std::string out;
    out.reserve(text->size() * static_cast<std::size_t>(times));
    for (std::int32_t i = 0; i < times; ++i)
        out.append(*text);
    return TextResult(std::move(out));
}

CValue BuiltinNoResult(BuiltinContext&, std::span<const CValue>)
{
    return NoText();
}

// ---------------------------------------------------------------------------------------------
// Conversions and numbers

CValue BuiltinStr2Int(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    return CValue::Integer(text ? ParseLeadingInt(*text) : 0);
}

CValue BuiltinStr2Real(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    if (!text)
        return CValue::Real(0.0);
    // The leading number as the C library reads it (blanks, a sign, digits, a fraction, an
    // exponent, or inf / nan), independent of the process's locale.
    std::string_view rest = *text;
    while (!rest.empty() && IsCSpace(rest.front()))
        rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (rest.empty() || rest.front() == '+' || rest.front() == '-')
        return CValue::Real(0.0);
    double value = 0.0;
    const auto result = std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument)
        return CValue::Real(0.0);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large gives infinity, too small zero, as the C library answers.
        const std::size_t digitsEnd = static_cast<std::size_t>(result.ptr - rest.data());
        const std::string_view number = rest.substr(0, digitsEnd);
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != npos && e + 1 < number.size() && number[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return CValue::Real(negative ? -value : value);
}

CValue BuiltinStr2Bool(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    if (!text)
        return CValue::Boolean(false);
    const std::string lowered = ToLowerAscii(*text);
    return CValue::Boolean(lowered == "true" || lowered == "1");
}

CValue BuiltinBool2Str(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Text(Boolean(args, 0) ? "true" : "false");
}

CValue BuiltinInt2Bool(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Boolean(Word(args, 0) != 0);
}

CValue BuiltinInt2Real(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Real(static_cast<double>(Word(args, 0)));
}

CValue BuiltinReal2Int(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Integer(RealToIntSaturated(Real(args, 0)));
}

CValue BuiltinRound(BuiltinContext&, std::span<const CValue> args)
{
    return CValue::Real(RoundToDecimals(Real(args, 0), Word(args, 1)));
}

CValue BuiltinRealZero(BuiltinContext&, std::span<const CValue>)
{
    return CValue::Real(0.0);
}

CValue BuiltinHex2Int(BuiltinContext&, std::span<const CValue> args)
{
    const auto text = Text(args, 0);
    if (!text)
        return CValue::Integer(0);
    // Each byte is a digit without any check: 0-9 by their value, anything else by its
    // lower-cased code minus 87 (so a-f are 10-15). The sum wraps at 32 bits.
    std::uint32_t sum = 0;
    for (const char c : *text) {
        const std::uint32_t digit = (c >= '0' && c <= '9')
                                        ? static_cast<std::uint32_t>(c - '0')
                                        : static_cast<std::uint32_t>(static_cast<unsigned char>(LowerAscii(c))) - 87u;
        sum = sum * 16u + digit;
    }
    return CValue::Integer(static_cast<std::int32_t>(sum));
}

CValue BuiltinInt2Hex(BuiltinContext&, std::span<const CValue> args)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    const auto word = static_cast<std::uint32_t>(Word(args, 0));
    std::string out(8, '0');
    for (int i = 0; i < 8; ++i)
        out[static_cast<std::size_t>(7 - i)] = kDigits[(word >> (4 * i)) & 0xFu];
    return TextResult(std::move(out));
}

CValue BuiltinStr2Hex(BuiltinContext& context, std::span<const CValue> args)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    const auto text = Text(args, 0);
    if (!text)
        return NoText();
    if (text->size() > kMaxBuiltinTextBytes / 2)
        return RefuseTooLongText(context);
    std::string out;
    out.reserve(text->size() * 2);
    for (const char c : *text) {
        const auto byte = static_cast<unsigned char>(c);
        out.push_back(kDigits[byte >> 4]);
        out.push_back(kDigits[byte & 0xFu]);
    }
    return TextResult(std::move(out));
}

CValue BuiltinHex2Str(BuiltinContext&, std::span<const CValue> args)
{
    const auto digits = Text(args, 0);
    if (!digits)
        return NoText();
    std::string out;
    out.reserve(digits->size() / 2);
    for (std::size_t i = 0; i + 1 < digits->size(); i += 2) {
        const int byte = LenientHexDigit((*digits)[i]) * 16 + LenientHexDigit((*digits)[i + 1]);
        // The engine's texts end at a zero byte, as every consumer of the result reads them.
        if (byte == 0)
            break;
        out.push_back(static_cast<char>(byte));
    }
    return TextResult(std::move(out));
}

CValue BuiltinEndianShort(BuiltinContext&, std::span<const CValue> args)
{
    const auto word = static_cast<std::uint32_t>(Word(args, 0));
    return CValue::Integer(static_cast<std::int32_t>(((word & 0xFFu) << 8) | ((word >> 8) & 0xFFu)));
}

CValue BuiltinEndianLong(BuiltinContext&, std::span<const CValue> args)
{
    const auto word = static_cast<std::uint32_t>(Word(args, 0));
    const std::uint32_t swapped =
        ((word & 0xFFu) << 24) | ((word & 0xFF00u) << 8) | ((word >> 8) & 0xFF00u) | (word >> 24);
    return CValue::Integer(static_cast<std::int32_t>(swapped));
}

// ---------------------------------------------------------------------------------------------
// Value-to-text rules and number helpers

std::string IntegerInBase(std::int32_t value, std::uint32_t base, bool withPrefix)
{
    const auto word = static_cast<std::uint32_t>(value);
    char buffer[40];
    switch (base) {
    case 2: {
        std::string out = withPrefix ? "0b" : "";
        int top = 31;
        while (top > 0 && ((word >> top) & 1u) == 0)
            --top;
        for (int bit = top; bit >= 0; --bit)
            out.push_back(((word >> bit) & 1u) ? '1' : '0');
        return out;
    }
    case 8:
        std::snprintf(buffer, sizeof buffer, withPrefix ? "0o%o" : "%o", word);
        return buffer;
    case 10:
        std::snprintf(buffer, sizeof buffer, "%u", word);
        return buffer;
    case 16:
        std::snprintf(buffer, sizeof buffer, withPrefix ? "0x%X" : "%X", word);
        return buffer;
    default:
        std::snprintf(buffer, sizeof buffer, "%d", value);
        return buffer;
    }
}

std::string IntegerToText(const CValue& value)
{
    if (value.Based())
        return IntegerInBase(value.Word(), value.Base(), false);
    return std::to_string(value.Word());
}

std::string RealToText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

std::string TraceValueText(const CValue& value, TypeCode type)
{
    switch (type) {
    case kTypeInteger:
    case kTypeCli:
        if (value.Based())
            return IntegerInBase(value.Word(), value.Base(), true);
        return std::to_string(value.Word());
    case kTypeReal:
        return RealToText(value.RealValue());
    case kTypeBoolean:
        return value.LowByte() == 1 ? "true" : "false";
    case kTypeString:
        return std::string(value.TextView());
    default:
        return {};
    }
}

std::int32_t RealToIntSaturated(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<std::int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int32_t AbsInteger(std::int32_t value)
{
    return value < 0 ? WrapNegate(value) : value;
}

double RoundToDecimals(double value, std::int32_t precision)
{
    // Beyond ~340 decimals every double is exact already; the bound keeps the buffer finite.
    constexpr std::int32_t kMostDecimals = 340;
    const int decimals = precision < 0 ? 0 : std::min(precision, kMostDecimals);
    if (!std::isfinite(value))
        return value;
    char buffer[720];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return value;
    double back = 0.0;
    std::from_chars(buffer, written.ptr, back, std::chars_format::fixed);
    return back;
}

}  // namespace zov
