#include "engine/tree/expressions/ConstBool.h"
#include "common/AsciiCase.h"

#include "engine/base/StringHelpers.h"

namespace zov {

void CConstBool::SetFromImage(std::string_view image)
{
    value_ = ToLowerAscii(image) == "true";
}

int CConstBool::TypeAnalysis(CSymbolStore*, TypeCode& typeOut, CErrorList&, std::uint32_t)
{
    typeOut = kTypeBoolean;
    return kAnalysisDone;
}

JumpTarget CConstBool::Execute(CSymbolStore*, CValue& valueOut, CDebugger&)
{
    valueOut.SetBoolean(value_);
    return nullptr;
}

}  // namespace zov
