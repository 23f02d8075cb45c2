#include "engine/tree/expressions/NotEqualExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CNotEqualExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                      std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesBoolean | kTakesString, errors);
}

JumpTarget CNotEqualExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteComparison(*this, Relation::NotEqual, scope, valueOut, debugger);
}

}  // namespace zov
