#include "engine/tree/statements/CaseList.h"

#include "engine/tree/statements/Case.h"
#include "engine/runtime/Debugger.h"

namespace zov {

CCase* CCaseList::FirstCase() const
{
    return dynamic_cast<CCase*>(Child(0));
}

CCaseList* CCaseList::Rest() const
{
    return dynamic_cast<CCaseList*>(Child(1));
}

// The chain is walked here rather than link by link, so that a long case costs no deep
// recursion.
JumpTarget CCaseList::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    matched_ = false;
    if (!selector_)
        return nullptr;
    for (CCaseList* link = this; link; link = link->Rest()) {
        CCase* one = link->FirstCase();
        if (!one)
            continue;
        if (!debugger.ReportLine(one->Line()))
            return nullptr;
        one->SetSelector(*selector_, selectorType_);
        JumpTarget result = one->Execute(scope, valueOut, debugger);
        if (one->Matched()) {
            matched_ = true;
            return result;
        }
        if (debugger.Aborting())
            return nullptr;
    }
    return nullptr;
}

}  // namespace zov
