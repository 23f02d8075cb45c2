#include "engine/base/Value.h"

#include <cmath>
#include <limits>

namespace zov {

const char* TypeName(TypeCode type)
{
    switch (type) {
    case kTypeUndetermined:
        return "undetermined";
    case kTypeInteger:
        return "integer";
    case kTypeReal:
        return "real";
    case kTypeBoolean:
        return "boolean";
    case kTypeString:
        return "string";
    case kTypeVoid:
        return "void";
    case kTypeName:
        return "name";
    case kTypeAny:
        return "any";
    case kTypeUnknownProcedure:
        return "unknown procedure";
    case kTypeCli:
        return "CLI handle";
    case kTypeWholeArray:
        return "whole array";
    default:
        return "invalid";
    }
}

CValue::CValue(const CValue& other)
    : word_(other.word_),
      base_(other.base_),
      real_(other.real_),
      text_(other.text_ ? std::make_unique<std::string>(*other.text_) : nullptr),
      based_(other.based_)
{}

CValue& CValue::operator=(const CValue& other)
{
    if (this == &other)
        return *this;
    word_ = other.word_;
    base_ = other.base_;
    real_ = other.real_;
    based_ = other.based_;
    if (other.text_)
        SetText(std::string_view(*other.text_));
    else
        text_.reset();
    return *this;
}

CValue CValue::Integer(std::int32_t value, std::uint32_t base, bool based)
{
    CValue v;
    v.word_ = value;
    v.base_ = base;
    v.based_ = based ? 1 : 0;
    return v;
}

CValue CValue::Real(double value)
{
    CValue v;
    v.real_ = value;
    return v;
}

CValue CValue::Boolean(bool value)
{
    CValue v;
    v.SetBoolean(value);
    return v;
}

CValue CValue::Text(std::string_view text)
{
    CValue v;
    v.SetText(text);
    return v;
}

CValue CValue::Cli(std::int32_t index)
{
    CValue v;
    v.word_ = index;
    return v;
}

void CValue::SetText(std::string_view text)
{
    if (text_) {
        // The view may point into our own buffer; assign copes with that.
        text_->assign(text.data(), text.size());
    } else {
        text_ = std::make_unique<std::string>(text);
    }
}

void CValue::AdoptText(std::string&& text)
{
    if (text_)
        *text_ = std::move(text);
    else
        text_ = std::make_unique<std::string>(std::move(text));
}

std::string& CValue::MutableText()
{
    if (!text_)
        text_ = std::make_unique<std::string>();
    return *text_;
}

void CValue::AssignAs(TypeCode type, const CValue& from)
{
    if (this == &from)
        return;
    switch (type) {
    case kTypeInteger:
        word_ = from.word_;
        base_ = from.base_;
        based_ = from.based_;
        break;
    case kTypeReal:
        real_ = from.real_;
        break;
    case kTypeString:
        if (from.text_)
            SetText(std::string_view(*from.text_));
        else
            text_.reset();
        break;
    default:
        word_ = from.word_;
        break;
    }
}

void CValue::Reset()
{
    word_ = 0;
    base_ = kDefaultBase;
    real_ = 0.0;
    based_ = 0;
    text_.reset();
}

std::int32_t TruncateToInt32(double value)
{
    // The bounds are exact doubles; anything outside (or NaN) has no 32-bit answer.
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::int32_t IntegerPower(std::int32_t base, std::int32_t exponent)
{
    if (exponent < 0) {
        // 1 / base^|exponent| truncated: only 1 and -1 keep a whole part. A zero base has no
        // answer; the operator refuses it before asking.
        if (base == 1)
            return 1;
        if (base == -1)
            return (exponent & 1) ? -1 : 1;
        if (base == 0)
            return std::numeric_limits<std::int32_t>::min();
        return 0;
    }
    // Square and multiply in unsigned words: exact, and wrapping as a chain of products does.
    std::uint32_t result = 1;
    std::uint32_t factor = static_cast<std::uint32_t>(base);
    for (std::uint32_t e = static_cast<std::uint32_t>(exponent); e != 0; e >>= 1) {
        if (e & 1u)
            result *= factor;
        factor *= factor;
    }
    return static_cast<std::int32_t>(result);
}

std::int32_t SaturateToInt32(long long value)
{
    if (value > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

std::uint32_t SaturateToUint32(unsigned long long value)
{
    if (value > std::numeric_limits<std::uint32_t>::max())
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value);
}

}  // namespace zov
