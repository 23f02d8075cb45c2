#include "PowerExpression.h"

#include <cmath>

#include "Debugger.h"
#include "ExpressionSupport.h"

namespace zov {

// Texts pass the analysis and are refused when the operator runs, as scripts have always seen.
int CPowerExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// Integers are raised as doubles and the result truncated: 2 ^ -1 is 0.
JumpTarget CPowerExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
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
        valueOut.SetWord(IntegerPower(a.Word(), b.Word()));
        break;
    case kTypeReal:
        valueOut.SetReal(std::pow(a.RealValue(), b.RealValue()));
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
