#include "Start.h"

#include "Label.h"

namespace zov {

int CStart::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    ScriptLabels().Clear();
    return CAny::NameAnalysis(scope, errors);
}

JumpTarget CStart::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CAny* list = Child(0);
    return list ? list->Execute(scope, valueOut, debugger) : nullptr;
}

}  // namespace zov
