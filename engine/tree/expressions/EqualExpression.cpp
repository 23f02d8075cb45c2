#include "engine/tree/expressions/EqualExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CEqualExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                   std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesBoolean | kTakesString, errors);
}

JumpTarget CEqualExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteComparison(*this, Relation::Equal, scope, valueOut, debugger);
}

}  // namespace zov
