#include "engine/tree/expressions/ConstInt.h"

#include <cstdlib>
#include <string>

namespace zov {

void CConstInt::SetDecimal(std::string_view image)
{
    // strtoll with base 0 reads "010" as octal, as scripts have always had it; it saturates at
    // the 64-bit range, which is then brought into the 32-bit one.
    const std::string text(image);
    decimal_ = SaturateToInt32(std::strtoll(text.c_str(), nullptr, 0));
    based_ = static_cast<std::uint32_t>(decimal_);
    base_ = kDefaultBase;
    basedFlag_ = false;
}

void CConstInt::SetWord(std::string_view image)
{
    const std::string text(image);
    based_ = SaturateToUint32(std::strtoull(text.c_str(), nullptr, 0));
    decimal_ = static_cast<std::int32_t>(based_);
    base_ = kDefaultBase;
    basedFlag_ = true;
}

void CConstInt::SetPrefixed(std::string_view image, std::uint32_t base)
{
    std::uint32_t sum = 0;
    std::uint32_t place = 1;
    for (size_t i = image.size(); i > 2; --i) {
        const unsigned char c = static_cast<unsigned char>(image[i - 1]);
        std::uint32_t digit;
        if (base == 16) {
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else
                digit = static_cast<std::uint32_t>(c) - 55u;
        } else {
            digit = static_cast<std::uint32_t>(c) - '0';
        }
        sum += digit * place;  // unsigned: wraps modulo 2^32
        place *= base;
    }
    based_ = sum;
    decimal_ = static_cast<std::int32_t>(sum);
    base_ = base;
    basedFlag_ = true;
}

int CConstInt::TypeAnalysis(CSymbolStore*, TypeCode& typeOut, CErrorList&, std::uint32_t)
{
    typeOut = kTypeInteger;
    return kAnalysisDone;
}

JumpTarget CConstInt::Execute(CSymbolStore*, CValue& valueOut, CDebugger&)
{
    valueOut.SetWord(Word());
    valueOut.SetBase(base_);
    valueOut.SetBased(basedFlag_);
    return nullptr;
}

}  // namespace zov
