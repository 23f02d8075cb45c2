#pragma once

// An integer literal in any of its forms: decimal (a leading 0 reads octal), negative decimal,
// unsigned word ("4000000000u"), and the prefixed hexadecimal, binary and octal forms. The
// prefixed and word forms keep their unsigned value and display base, and make the modulo
// treat the left operand as unsigned.

#include <cstdint>
#include <string_view>

#include "engine/tree/Node.h"

namespace zov {

class CConstInt final : public CExpression {
public:
    CConstInt() = default;

    // From the literal's text as written. Decimal: automatic base, saturated to the 32-bit
    // range. Word: unsigned, saturated. Prefixed: the two-character prefix is skipped and the
    // digits wrap modulo 2^32.
    void SetDecimal(std::string_view image);
    void SetWord(std::string_view image);
    void SetPrefixed(std::string_view image, std::uint32_t base);

    std::uint32_t DisplayBase() const { return base_; }
    bool IsBased() const { return basedFlag_; }
    // The word that the literal evaluates to.
    std::int32_t Word() const { return basedFlag_ ? static_cast<std::int32_t>(based_) : decimal_; }

    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    std::int32_t decimal_ = 0;
    std::uint32_t based_ = 0;
    std::uint32_t base_ = kDefaultBase;
    bool basedFlag_ = false;
};

}  // namespace zov
