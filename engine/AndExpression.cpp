#include "AndExpression.h"

#include "ExpressionSupport.h"

namespace zov {

// Texts and reals have no and: refused here rather than combined as words of no meaning.
int CAndExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesInteger | kTakesBoolean, errors);
}

// Both operands are always evaluated: there is no short cut. Integers combine bit by bit.
JumpTarget CAndExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CValue a = FreshOperand();
    CValue b = FreshOperand();
    bool proceed = false;
    if (JumpTarget jump = EvaluateOperands(*this, scope, a, &b, debugger, proceed))
        return jump;
    if (!proceed)
        return nullptr;
    if (OperandType() == kTypeBoolean)
        valueOut.SetBoolean(a.LowByte() != 0 && b.LowByte() != 0);
    else
        valueOut.SetWord(a.Word() & b.Word());
    return nullptr;
}

}  // namespace zov
