#include "IfStmt.h"

#include "Debugger.h"

namespace zov {

// Only a low byte of exactly 1 is true: an integer 2 as condition takes the else part. A jump
// out of the condition (a CLI time-out) is passed on like one out of either part.
JumpTarget CIfStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CAny* condition = Child(0);
    if (!condition)
        return nullptr;
    if (!debugger.ReportLine(condition->Line()))
        return nullptr;
    CValue value;
    if (JumpTarget jump = condition->Execute(scope, value, debugger))
        return jump;
    if (debugger.Aborting())
        return nullptr;
    if (value.IsTrue()) {
        CAny* thenPart = Child(1);
        return thenPart ? thenPart->Execute(scope, valueOut, debugger) : nullptr;
    }
    CAny* elsePart = ChildCount() > 2 ? Child(2) : nullptr;
    return elsePart ? elsePart->Execute(scope, valueOut, debugger) : nullptr;
}

}  // namespace zov
