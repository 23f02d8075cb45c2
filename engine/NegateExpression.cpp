#include "NegateExpression.h"

#include "Debugger.h"
#include "ExpressionSupport.h"

namespace zov {

int CNegateExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// An integer keeps the display base of its operand; the smallest integer negates to itself.
JumpTarget CNegateExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CValue a = FreshOperand();
    bool proceed = false;
    if (JumpTarget jump = EvaluateOperands(*this, scope, a, nullptr, debugger, proceed))
        return jump;
    if (!proceed)
        return nullptr;
    switch (OperandType()) {
    case kTypeInteger:
    case kTypeCli:
        valueOut.SetWord(WrapNegate(a.Word()));
        valueOut.SetBase(a.Base() == kNoBase ? kDefaultBase : a.Base());
        break;
    case kTypeReal:
        valueOut.SetReal(-a.RealValue());
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
