#include "engine/tree/expressions/NegateExpression.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CNegateExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                    std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// An integer keeps the display base of its operand; the smallest integer negates to itself.
JumpTarget CNegateExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteUnary(*this, scope, debugger, [&](const CValue& a) {
        ComputeOnNumbers(
            *this, debugger,
            [&] {
                valueOut.SetWord(WrapNegate(a.Word()));
                valueOut.SetBase(a.Base() == kNoBase ? kDefaultBase : a.Base());
            },
            [&] { valueOut.SetReal(-a.RealValue()); });
    });
}

}  // namespace zov
