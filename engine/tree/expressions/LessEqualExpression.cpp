#include "engine/tree/expressions/LessEqualExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CLessEqualExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                       std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

JumpTarget CLessEqualExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteComparison(*this, Relation::LessEqual, scope, valueOut, debugger);
}

}  // namespace zov
