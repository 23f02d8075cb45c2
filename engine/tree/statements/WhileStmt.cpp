#include "engine/tree/statements/WhileStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/statements/IfStmt.h"

namespace zov {

int CWhileStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return AnalyseWithCondition(*this, 0, scope, typeOut, errors, passThrough);
}

// The condition's line is reported before each pass, not before the first test; leaving the
// loop shows its end line. The loop goes on only while the low byte is exactly 1.
JumpTarget CWhileStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CAny* condition = Child(0);
    CAny* body = Child(1);
    CAny* endMarker = Child(2);
    if (!condition)
        return nullptr;
    JumpTarget result = nullptr;
    CValue value;
    if (JumpTarget jump = condition->Execute(scope, value, debugger))
        return jump;
    const unsigned line = condition->Line();
    while (value.IsTrue()) {
        if (debugger.Aborting() || !debugger.ReportLine(line))
            return nullptr;
        if (body) {
            result = body->Execute(scope, valueOut, debugger);
            if (result)
                break;
        }
        if (debugger.Aborting())
            return nullptr;
        if (JumpTarget jump = condition->Execute(scope, value, debugger)) {
            result = jump;
            break;
        }
    }
    if (endMarker)
        debugger.ReportLine(endMarker->Line());
    return result;
}

}  // namespace zov
