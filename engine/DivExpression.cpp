#include "DivExpression.h"

#include "Debugger.h"
#include "ExpressionSupport.h"

namespace zov {

// Texts pass the analysis and are refused when the operator runs, as scripts have always seen.
int CDivExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// A zero divisor stops the run and leaves a real 0 in value out. The smallest integer divided by
// -1 wraps instead of trapping.
JumpTarget CDivExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CValue a = FreshOperand();
    CValue b = FreshOperand();
    bool proceed = false;
    if (JumpTarget jump = EvaluateOperands(*this, scope, a, &b, debugger, proceed))
        return jump;
    if (!proceed)
        return nullptr;
    switch (OperandType()) {
    case kTypeInteger:
    case kTypeCli:
        if (b.Word() == 0) {
            valueOut.SetReal(0.0);
            RunTimeError(debugger, exprmsg::DivisionByZero);
        } else {
            valueOut.SetWord(WrapDivide(a.Word(), b.Word()));
        }
        break;
    case kTypeReal:
        if (b.RealValue() == 0.0) {
            valueOut.SetReal(0.0);
            RunTimeError(debugger, exprmsg::DivisionByZero);
        } else {
            valueOut.SetReal(a.RealValue() / b.RealValue());
        }
        break;
    case kTypeString:
        RunTimeError(debugger, exprmsg::StringOperation);
        break;
    default:
        break;
    }
    return nullptr;
}

}  // namespace zov
