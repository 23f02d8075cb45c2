#include "engine/tree/expressions/XorExpression.h"

#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CXorExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesInteger | kTakesBoolean, errors);
}

// Words combined bit by bit; for booleans the low byte is the answer.
JumpTarget CXorExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteBinary(*this, scope, debugger,
                         [&](const CValue& a, const CValue& b) { valueOut.SetWord(a.Word() ^ b.Word()); });
}

}  // namespace zov
