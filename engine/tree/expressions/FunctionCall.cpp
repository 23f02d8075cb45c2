#include "engine/tree/expressions/FunctionCall.h"

namespace zov {

int CFunctionCall::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    return site_.NameAnalysis(*this, scope, errors);
}

int CFunctionCall::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    const int result = site_.TypeAnalysis(*this, scope, typeOut, errors, passThrough);
    SetOperandType(typeOut);
    return result;
}

JumpTarget CFunctionCall::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return site_.Execute(*this, scope, &valueOut, debugger);
}

}  // namespace zov
