#include "engine/tree/procedures/ReturnStmt.h"

#include "engine/runtime/Debugger.h"

namespace zov {

int CReturnStmt::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    if (CAny* expression = Expression())
        return expression->NameAnalysis(scope, errors);
    return kAnalysisDone;
}

int CReturnStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    if (CAny* expression = Expression()) {
        typeOut = kTypeUndetermined;
        const int result = expression->TypeAnalysis(scope, typeOut, errors, passThrough);
        type_ = typeOut;
        return result == kAnalysisFailed ? kAnalysisFailed : kAnalysisDone;
    }
    typeOut = kTypeInteger;
    type_ = kTypeInteger;
    return kAnalysisDone;
}

JumpTarget CReturnStmt::Execute(CSymbolStore* scope, CValue&, CDebugger& debugger)
{
    value_.SetWord(0);
    CAny* expression = Expression();
    if (!expression)
        return nullptr;
    if (!debugger.ReportLine(expression->Line()))
        return nullptr;
    value_.SetBase(kNoBase);
    JumpTarget jump = expression->Execute(scope, value_, debugger);
    if (value_.Base() == kNoBase)
        value_.SetBase(kDefaultBase);
    return jump;
}

}  // namespace zov
