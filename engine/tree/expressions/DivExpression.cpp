#include "engine/tree/expressions/DivExpression.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

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
    return ExecuteBinary(*this, scope, debugger, [&](const CValue& a, const CValue& b) {
        auto byZero = [&] {
            valueOut.SetReal(0.0);
            RunTimeError(debugger, exprmsg::DivisionByZero);
        };
        ComputeOnNumbers(
            *this, debugger,
            [&] {
                if (b.Word() == 0)
                    byZero();
                else
                    valueOut.SetWord(WrapDivide(a.Word(), b.Word()));
            },
            [&] {
                if (b.RealValue() == 0.0)
                    byZero();
                else
                    valueOut.SetReal(a.RealValue() / b.RealValue());
            });
    });
}

}  // namespace zov
