#include "engine/tree/expressions/GreaterEqualExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CGreaterEqualExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                          std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

JumpTarget CGreaterEqualExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteComparison(*this, Relation::GreaterEqual, scope, valueOut, debugger);
}

}  // namespace zov
