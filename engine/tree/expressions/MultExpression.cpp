#include "engine/tree/expressions/MultExpression.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

// Texts pass the analysis and are refused when the operator runs, as scripts have always seen.
int CMultExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

JumpTarget CMultExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteArithmetic(
        *this, scope, valueOut, debugger, [](std::int32_t x, std::int32_t y) { return WrapMultiply(x, y); },
        [](double x, double y) { return x * y; });
}

}  // namespace zov
