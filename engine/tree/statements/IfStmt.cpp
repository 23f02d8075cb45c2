#include "engine/tree/statements/IfStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/base/Output.h"
#include "engine/base/Messages.h"
#include "engine/base/TypeRules.h"

namespace zov {

int AnalyseWithCondition(CAny& statement, std::size_t condition, CSymbolStore* scope, TypeCode& typeOut,
                         CErrorList& errors, std::uint32_t passThrough)
{
    for (std::size_t i = 0, n = statement.ChildCount(); i < n; ++i) {
        CAny* child = statement.Child(i);
        if (!child) {
            WriteText(Stream::Out, lines::EngNullTypeAnalysis);
            return kAnalysisFailed;
        }
        if (i != condition) {
            child->TypeAnalysis(scope, typeOut, errors, passThrough);
            continue;
        }
        TypeCode type = kTypeUndetermined;
        child->TypeAnalysis(scope, type, errors, passThrough);
        if (type != kTypeUndetermined)
            typeOut = type;
        if (!CountsAsCondition(type))
            child->AddError(errors, stmtmsg::ConditionNotBoolean);
    }
    return kAnalysisDone;
}

int CIfStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return AnalyseWithCondition(*this, 0, scope, typeOut, errors, passThrough);
}

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
