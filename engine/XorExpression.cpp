#include "XorExpression.h"

#include "ExpressionSupport.h"

namespace zov {

int CXorExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesInteger | kTakesBoolean, errors);
}

// Words combined bit by bit; for booleans the low byte is the answer.
JumpTarget CXorExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CValue a = FreshOperand();
    CValue b = FreshOperand();
    bool proceed = false;
    if (JumpTarget jump = EvaluateOperands(*this, scope, a, &b, debugger, proceed))
        return jump;
    if (proceed)
        valueOut.SetWord(a.Word() ^ b.Word());
    return nullptr;
}

}  // namespace zov
