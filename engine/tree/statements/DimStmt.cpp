#include "engine/tree/statements/DimStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/base/Messages.h"
#include "engine/base/TypeRules.h"

namespace zov {

int CDimStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    auto* array = dynamic_cast<CIdDecl*>(Child(0));
    if (CAny* count = Child(1)) {
        TypeCode countType = kTypeUndetermined;
        count->TypeAnalysis(scope, countType, errors, passThrough);
        // A real's or a text's word is no count: refused rather than read as 0.
        if (!CountsAsInteger(countType))
            count->AddError(errors, stmtmsg::ArrayCountNotInteger);
    }
    elementType_ = kTypeUndetermined;
    if (CAny* initial = Child(2))
        initial->TypeAnalysis(scope, elementType_, errors, passThrough);
    typeOut = elementType_;
    if (array) {
        array->BindType(scope, elementType_, errors, passThrough);
        // Later uses of the bare name are whole arrays, which no expression takes.
        if (CVariable* variable = array->Variable())
            variable->MarkDimmed();
    }
    return kAnalysisDone;
}

// The element type is the one the analysis found, so no analysis runs again here.
JumpTarget CDimStmt::Execute(CSymbolStore* scope, CValue&, CDebugger& debugger)
{
    auto* array = dynamic_cast<CIdDecl*>(Child(0));
    CAny* countNode = Child(1);
    CAny* initialNode = Child(2);
    CVariable* variable = array ? array->Variable() : nullptr;
    if (!variable || !countNode || !initialNode)
        return nullptr;
    if (!debugger.ReportLine(array->Line()))
        return nullptr;
    CValue count;
    if (JumpTarget jump = countNode->Execute(scope, count, debugger))
        return jump;
    CValue initial;
    if (JumpTarget jump = initialNode->Execute(scope, initial, debugger))
        return jump;
    if (debugger.Aborting())
        return nullptr;
    const ArrayAccess access = variable->Allocate(count.Word(), elementType_, initial);
    if (const char* message = ArrayAccessMessage(access, true)) {
        RunTimeError(debugger, message);
        return nullptr;
    }
    CSymbolStore::Record(variable->Storage());
    return nullptr;
}

}  // namespace zov
