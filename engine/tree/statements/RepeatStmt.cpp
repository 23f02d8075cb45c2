#include "engine/tree/statements/RepeatStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/statements/IfStmt.h"

namespace zov {

int CRepeatStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return AnalyseWithCondition(*this, 1, scope, typeOut, errors, passThrough);
}

// The body runs at least once. Unlike `while`, any non-zero low byte ends the loop: an integer
// 2 as the `until` condition counts as true.
JumpTarget CRepeatStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    if (debugger.Aborting())
        return nullptr;
    CAny* body = Child(0);
    CAny* condition = Child(1);
    if (!condition)
        return nullptr;
    const unsigned bodyLine = body ? body->Line() : Line();
    for (;;) {
        if (!debugger.ReportLine(bodyLine))
            return nullptr;
        if (body) {
            if (JumpTarget result = body->Execute(scope, valueOut, debugger))
                return result;
            if (debugger.Aborting())
                return nullptr;
        }
        CValue value;
        if (JumpTarget jump = condition->Execute(scope, value, debugger))
            return jump;
        debugger.ReportLine(condition->Line());
        if (value.LowByte() != 0 || debugger.Aborting())
            return nullptr;
    }
}

}  // namespace zov
