#include "engine/tree/statements/CaseStmt.h"

#include "engine/tree/statements/Case.h"
#include "engine/tree/statements/CaseList.h"
#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CCaseStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    selectorType_ = kTypeUndetermined;
    if (CAny* selector = Child(0))
        selector->TypeAnalysis(scope, selectorType_, errors, passThrough);
    auto* cases = dynamic_cast<CCaseList*>(Child(1));
    for (CCaseList* link = cases; link; link = link->Rest()) {
        if (CCase* one = link->FirstCase())
            one->SetSelectorType(selectorType_);
    }
    for (std::size_t i = 1, n = ChildCount(); i < n; ++i) {
        if (CAny* child = Child(i))
            child->TypeAnalysis(scope, typeOut, errors, passThrough);
    }
    return kAnalysisDone;
}

JumpTarget CCaseStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CAny* selector = Child(0);
    auto* cases = dynamic_cast<CCaseList*>(Child(1));
    if (!selector || !cases)
        return nullptr;
    if (!debugger.ReportLine(selector->Line()))
        return nullptr;
    CValue value = FreshOperand();
    if (JumpTarget jump = selector->Execute(scope, value, debugger))
        return jump;
    if (debugger.Aborting())
        return nullptr;
    cases->SetSelector(value, selectorType_);
    JumpTarget result = cases->Execute(scope, valueOut, debugger);
    if (result || debugger.Aborting())
        return result;
    if (ChildCount() == 4 && !cases->Matched()) {
        if (CAny* elsePart = Child(2))
            return elsePart->Execute(scope, valueOut, debugger);
    }
    return nullptr;
}

}  // namespace zov
