#include "engine/tree/expressions/ModExpression.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

// Reals and texts pass the analysis and are refused when the operator runs.
int CModExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// The remainder has the sign of the dividend, unless the dividend came from a hexadecimal,
// binary, octal or word literal: both are then taken as unsigned words. A zero divisor stops
// the run as the division does.
JumpTarget CModExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteBinary(*this, scope, debugger, [&](const CValue& a, const CValue& b) {
        ComputeOnNumbers(
            *this, debugger,
            [&] {
                if (b.Word() == 0)
                    RunTimeError(debugger, exprmsg::DivisionByZero);
                else if (a.Based())
                    valueOut.SetWord(UnsignedRemainder(a.Word(), b.Word()));
                else
                    valueOut.SetWord(WrapRemainder(a.Word(), b.Word()));
            },
            [&] { RunTimeError(debugger, exprmsg::StringOperation); });
    });
}

}  // namespace zov
