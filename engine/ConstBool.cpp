#include "ConstBool.h"

namespace zov {

void CConstBool::SetFromImage(std::string_view image)
{
    static constexpr std::string_view kTrue = "true";
    value_ = image.size() == kTrue.size();
    for (size_t i = 0; value_ && i < image.size(); ++i) {
        char c = image[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        value_ = c == kTrue[i];
    }
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
