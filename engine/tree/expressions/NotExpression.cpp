#include "engine/tree/expressions/NotExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CNotExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesInteger | kTakesBoolean, errors);
}

// An integer is complemented bit by bit (not 0 is -1); a boolean is negated.
JumpTarget CNotExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteUnary(*this, scope, debugger, [&](const CValue& a) {
        if (OperandType() == kTypeBoolean)
            valueOut.SetBoolean(a.LowByte() == 0);
        else
            valueOut.SetWord(static_cast<std::int32_t>(~static_cast<std::uint32_t>(a.Word())));
    });
}

}  // namespace zov
