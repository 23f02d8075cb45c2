#include "engine/tree/expressions/AndExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

// Texts and reals have no and: refused here rather than combined as words of no meaning.
int CAndExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesInteger | kTakesBoolean, errors);
}

// Both operands are always evaluated: there is no short cut. Integers combine bit by bit.
JumpTarget CAndExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteLogical(
        *this, scope, valueOut, debugger, [](bool x, bool y) { return x && y; },
        [](std::int32_t x, std::int32_t y) { return x & y; });
}

}  // namespace zov
