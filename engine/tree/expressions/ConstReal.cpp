#include "engine/tree/expressions/ConstReal.h"

#include <cstdlib>
#include <string>

namespace zov {

void CConstReal::SetFromImage(std::string_view image)
{
    const std::string text(image);
    value_ = std::strtod(text.c_str(), nullptr);
}

int CConstReal::TypeAnalysis(CSymbolStore*, TypeCode& typeOut, CErrorList&, std::uint32_t)
{
    typeOut = kTypeReal;
    return kAnalysisDone;
}

JumpTarget CConstReal::Execute(CSymbolStore*, CValue& valueOut, CDebugger&)
{
    valueOut.SetReal(value_);
    return nullptr;
}

}  // namespace zov
