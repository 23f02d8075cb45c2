#include "engine/tree/statements/WithStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/base/Messages.h"

namespace zov {

int CWithStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    if (ChildCount() == 3) {
        if (CAny* body = Child(1))
            body->TypeAnalysis(scope, typeOut, errors, passThrough);
    }
    typeOut = kTypeUndetermined;
    if (CAny* target = Child(0))
        target->TypeAnalysis(scope, typeOut, errors, passThrough);
    if (typeOut == kTypeCli)
        return kAnalysisDone;
    AddError(errors, stmtmsg::CliVariableRequired);
    return kAnalysisFailed;
}

// The body's result is passed on, so that a goto or a time-out jump out of the body resumes
// where it should instead of being lost at the end of the `with`.
JumpTarget CWithStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CAny* target = Child(0);
    if (!target)
        return nullptr;
    if (!debugger.ReportLine(target->Line()))
        return nullptr;
    CValue handle;
    if (JumpTarget jump = target->Execute(scope, handle, debugger))
        return jump;
    if (debugger.Aborting())
        return nullptr;
    if (handle.Word() == 0) {
        RunTimeError(debugger, stmtmsg::CliNotStarted);
        return nullptr;
    }
    CAny* body = ChildCount() == 3 ? Child(1) : nullptr;
    return body ? body->Execute(scope, valueOut, debugger) : nullptr;
}

}  // namespace zov
