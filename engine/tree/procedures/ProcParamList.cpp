#include "engine/tree/procedures/ProcParamList.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/expressions/IdDecl.h"

namespace zov {

CIdDecl* CProcParamList::Parameter(std::size_t index) const
{
    CAny* assignment = Child(index);
    return assignment ? dynamic_cast<CIdDecl*>(assignment->Child(0)) : nullptr;
}

JumpTarget CProcParamList::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    for (std::size_t i = 0, n = ChildCount(); i < n; ++i) {
        CAny* assignment = Child(i);
        if (!assignment)
            continue;
        if (JumpTarget jump = assignment->Execute(scope, valueOut, debugger))
            return jump;
        if (debugger.Aborting())
            return nullptr;
    }
    return nullptr;
}

}  // namespace zov
