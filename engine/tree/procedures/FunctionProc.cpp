#include "engine/tree/procedures/FunctionProc.h"

namespace zov {

int CFunctionProc::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    return site_.NameAnalysis(*this, scope, errors);
}

int CFunctionProc::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return site_.TypeAnalysis(*this, scope, typeOut, errors, passThrough);
}

JumpTarget CFunctionProc::Execute(CSymbolStore* scope, CValue&, CDebugger& debugger)
{
    return site_.Execute(*this, scope, nullptr, debugger);
}

}  // namespace zov
