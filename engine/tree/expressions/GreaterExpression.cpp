#include "engine/tree/expressions/GreaterExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CGreaterExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                     std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

JumpTarget CGreaterExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteComparison(*this, Relation::Greater, scope, valueOut, debugger);
}

}  // namespace zov
