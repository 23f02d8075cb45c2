#include "engine/tree/procedures/IdProc.h"

#include "engine/tree/procedures/ProcedureStmt.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {

int CIdProc::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t)
{
    typeOut = kTypeName;
    auto* declaration = dynamic_cast<CProcedureStmt*>(Parent());
    if (!declaration || declaration->Child(0) != this || !scope)
        return kAnalysisDone;
    if (!scope->RegisterProcedure(name_, declaration, declaration->OwnScope())) {
        std::string text(procmsg::AlreadyDefinedLead);
        text.append(" '").append(name_).append("' ").append(procmsg::AlreadyDefinedTail);
        AddError(errors, text);
        return kAnalysisFailed;
    }
    return kAnalysisDone;
}

JumpTarget CIdProc::Execute(CSymbolStore*, CValue&, CDebugger&)
{
    return nullptr;
}

}  // namespace zov
