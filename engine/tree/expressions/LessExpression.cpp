#include "engine/tree/expressions/LessExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CLessExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

JumpTarget CLessExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteComparison(*this, Relation::Less, scope, valueOut, debugger);
}

}  // namespace zov
