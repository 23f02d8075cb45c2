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
    return ExecuteArithmetic(
        *this, scope, valueOut, debugger, [](std::int32_t x, std::int32_t y) { return IntegerPower(x, y); },
        [](double x, double y) { return std::pow(x, y); });
}

}  // namespace zov
