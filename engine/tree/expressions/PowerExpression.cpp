#include "engine/tree/expressions/PowerExpression.h"

#include <cmath>

#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

// Texts pass the analysis and are refused when the operator runs, as scripts have always seen.
int CPowerExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                   std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// Integers wrap as products do and a negative exponent truncates the fraction (2 ^ -1 is 0);
// 0 raised to a negative integer divides by 0 and stops the run as the division does. Reals
// follow the floating-point power.
JumpTarget CPowerExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteBinary(*this, scope, debugger, [&](const CValue& a, const CValue& b) {
        ComputeOnNumbers(
            *this, debugger,
            [&] {
                if (a.Word() == 0 && b.Word() < 0)
                    RunTimeError(debugger, exprmsg::DivisionByZero);
                else
                    valueOut.SetWord(IntegerPower(a.Word(), b.Word()));
            },
            [&] { valueOut.SetReal(std::pow(a.RealValue(), b.RealValue())); });
    });
}

}  // namespace zov
