#include "SubtractExpression.h"

#include "Debugger.h"
#include "ExpressionSupport.h"

namespace zov {

// Texts pass the analysis and are refused when the operator runs, as scripts have always seen.
int CSubtractExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

JumpTarget CSubtractExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
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
        valueOut.SetWord(WrapSubtract(a.Word(), b.Word()));
        break;
    case kTypeReal:
        valueOut.SetReal(a.RealValue() - b.RealValue());
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
