#pragma once

// Run-time values of the script engine and the 32-bit integer arithmetic that scripts see.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zov {

// One type code throughout analysis, run time and the prototype table. A value does not
// carry its type: the analysis knows it (operand type of an expression, type of a variable).
using TypeCode = std::uint32_t;

inline constexpr TypeCode kTypeUndetermined = 0;
inline constexpr TypeCode kTypeInteger = 1;
inline constexpr TypeCode kTypeReal = 2;
inline constexpr TypeCode kTypeBoolean = 3;
inline constexpr TypeCode kTypeString = 4;
inline constexpr TypeCode kTypeVoid = 5;  // prototypes only
inline constexpr TypeCode kTypeName = 6;  // a procedure or label name
inline constexpr TypeCode kTypeAny = 7;   // prototype parameter that accepts every type
inline constexpr TypeCode kTypeUnknownProcedure = 8;
inline constexpr TypeCode kTypeCli = 9;  // CLI handle: 1-based index, 0 = not started
// Type of an array name used without an index. It is only ever an expression's result, never a
// variable's type (whether a variable is an array is kept apart from its element type), and
// no operator accepts it next to a scalar.
inline constexpr TypeCode kTypeWholeArray = 256;

const char* TypeName(TypeCode type);

// Display bases of an integer. kNoBase marks a value that has not received a base yet: an
// integer variable read into it passes its own base on.
inline constexpr std::uint32_t kNoBase = 0;
inline constexpr std::uint32_t kDefaultBase = 10;

// One run-time value. Numbers live inline and need no allocation; a text is owned by exactly
// one value and copying a value copies its text, so no two values ever share a buffer.
// "No text" (absent) and "empty text" are different states, as the language distinguishes them.
class CValue {
public:
    CValue() = default;
    CValue(const CValue& other);
    CValue& operator=(const CValue& other);
    CValue(CValue&&) noexcept = default;
    CValue& operator=(CValue&&) noexcept = default;
    ~CValue() = default;

    static CValue Integer(std::int32_t value, std::uint32_t base = kDefaultBase, bool based = false);
    static CValue Real(double value);
    static CValue Boolean(bool value);
    static CValue Text(std::string_view text);
    static CValue Cli(std::int32_t index);

    // The 32-bit word: an integer, a boolean in its low byte, a CLI index.
    std::int32_t Word() const { return word_; }
    void SetWord(std::int32_t word) { word_ = word; }
    std::uint8_t LowByte() const { return static_cast<std::uint8_t>(static_cast<std::uint32_t>(word_) & 0xFFu); }
    // A condition holds only when the low byte is exactly 1 (an integer 2 is not true).
    bool IsTrue() const { return LowByte() == 1; }
    void SetBoolean(bool value) { word_ = value ? 1 : 0; }

    double RealValue() const { return real_; }
    void SetReal(double value) { real_ = value; }

    std::uint32_t Base() const { return base_; }
    void SetBase(std::uint32_t base) { base_ = base; }
    // Set when the integer came from a hexadecimal, binary, octal or word literal; the modulo
    // then treats the left operand as unsigned.
    bool Based() const { return based_ != 0; }
    void SetBased(bool based) { based_ = based ? 1 : 0; }

    bool HasText() const { return text_ != nullptr; }
    // The text, or an empty view when there is none.
    std::string_view TextView() const { return text_ ? std::string_view(*text_) : std::string_view(); }
    // Replaces the text; the value's own buffer is reused when it has one.
    void SetText(std::string_view text);
    void AdoptText(std::string&& text);
    // The value's own text buffer, created empty when absent (for appending in place).
    std::string& MutableText();
    void ClearText() { text_.reset(); }
    std::unique_ptr<std::string> TakeText() { return std::move(text_); }

    // Copies only what a value of this type carries: the word for integers (with base and flag),
    // booleans and CLI handles, the double for reals, the text for strings. Buffers are reused.
    void AssignAs(TypeCode type, const CValue& from);

    // Everything back to a fresh temporary (word 0, real 0, base 10, no flag, no text).
    void Reset();

private:
    std::int32_t word_ = 0;
    std::uint32_t base_ = kDefaultBase;
    double real_ = 0.0;
    std::unique_ptr<std::string> text_;
    std::uint8_t based_ = 0;
};

// The language's integers are 32-bit and wrap. Every operation is done in unsigned arithmetic
// (or checked first), so overflow never reaches undefined behaviour on a 64-bit host.
constexpr std::int32_t WrapAdd(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapSubtract(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapMultiply(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
constexpr std::int32_t WrapNegate(std::int32_t a)
{
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
}
// Quotient truncated toward zero; the caller has refused a zero divisor. The one overflowing
// case, the smallest integer divided by -1, wraps back to the smallest integer.
constexpr std::int32_t WrapDivide(std::int32_t a, std::int32_t b)
{
    if (b == -1)
        return WrapNegate(a);
    return a / b;
}
// Remainder with the sign of the dividend; the caller has refused a zero divisor.
constexpr std::int32_t WrapRemainder(std::int32_t a, std::int32_t b)
{
    if (b == -1)
        return 0;
    return a % b;
}
// Remainder of both operands taken as unsigned 32-bit words (a based left operand).
constexpr std::int32_t UnsignedRemainder(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) % static_cast<std::uint32_t>(b));
}

// A double truncated toward zero. A value that no 32-bit integer holds (and NaN) gives the
// smallest integer, the answer of the x86 conversion the engine has always relied on.
std::int32_t TruncateToInt32(double value);

// Integer power: exact, wrapping at 32 bits like repeated multiplication (10 ^ 10 is
// 1410065408). A negative exponent gives the truncated fraction: 0 but for a base of 1 or -1.
// A zero base with a negative exponent is a division by zero, which the operator refuses.
std::int32_t IntegerPower(std::int32_t base, std::int32_t exponent);

// Clamps to the 32-bit ranges (a C long is 64 bits here, the engine's numbers are not).
std::int32_t SaturateToInt32(long long value);
std::uint32_t SaturateToUint32(unsigned long long value);

}  // namespace zov
