#include "engine/tree/statements/AssignStatement.h"

#include <cstdint>
#include <utility>

#include "engine/runtime/Debugger.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/base/Output.h"
#include "engine/base/Messages.h"

namespace zov {

// The value names the variables in force before the target is bound: in "x = x + 1" the x
// read is the earlier one.
int CAssignStatement::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    CAny* target = Child(0);
    CAny* value = Child(1);
    if (!target || !value) {
        WriteText(Stream::Out, lines::EngNullNameAnalysis);
        return kAnalysisFailed;
    }
    value->NameAnalysis(scope, errors);
    target->NameAnalysis(scope, errors);
    return kAnalysisDone;
}

CIdDecl* CAssignStatement::Target()
{
    if (!target_)
        target_ = dynamic_cast<CIdDecl*>(Child(0));
    return target_;
}

int CAssignStatement::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                                   std::uint32_t passThrough)
{
    CIdDecl* target = Target();
    CAny* value = Child(1);
    if (!target || !value) {
        WriteText(Stream::Out, lines::EngNullTypeAnalysis);
        return kAnalysisFailed;
    }
    TypeCode type = kTypeUndetermined;
    value->TypeAnalysis(scope, type, errors, passThrough);
    if (type == kTypeUndetermined) {
        AddError(errors, stmtmsg::UndeterminedType);
    } else if (type == kTypeWholeArray) {
        // An array named without index has no value to copy.
        AddError(errors, varmsg::ArrayCopy);
        type = kTypeUndetermined;
    }
    target->BindType(scope, type, errors, passThrough);
    typeOut = type;
    return kAnalysisDone;
}

// The value is evaluated straight into the variable's cell (or the element's), so a number
// costs no copy and a text reuses the cell's buffer.
JumpTarget CAssignStatement::Execute(CSymbolStore* scope, CValue&, CDebugger& debugger)
{
    CIdDecl* target = Target();
    CAny* value = Child(1);
    CVariable* variable = target ? target->Variable() : nullptr;
    if (!variable || !value)
        return nullptr;
    if (!debugger.ReportLine(target->Line()))
        return nullptr;
    CVariable& storage = variable->Storage();
    if (!variable->IsArray()) {
        JumpTarget result = value->Execute(scope, storage.Value(), debugger);
        CSymbolStore::Record(storage);
        return result;
    }

    if (!variable->HasElements()) {
        RunTimeError(debugger, varmsg::ArrayNotInitialised);
        return nullptr;
    }
    CAny* indexNode = target->Index();
    if (!indexNode) {
        RunTimeError(debugger, varmsg::ArrayCopy);
        return nullptr;
    }
    CValue index;
    if (JumpTarget jump = indexNode->Execute(scope, index, debugger))
        return jump;
    if (debugger.Aborting())
        return nullptr;
    ArrayAccess access = ArrayAccess::Ok;
    const std::int32_t at = index.Word();
    CValue* element = variable->ElementForWrite(at, access);
    if (!element) {
        RunTimeError(debugger, ArrayAccessMessage(access, true));
        return nullptr;
    }
    // The value is computed aside, starting from the element as it is (an operator leaves the
    // display base of its value out alone), and stored afterwards: a procedure called by the
    // expression may dim the array again, which releases the element it was computed into.
    CValue computed = *element;
    JumpTarget result = value->Execute(scope, computed, debugger);
    element = variable->ElementForWrite(at, access);
    if (!element) {
        if (!debugger.Aborting())
            RunTimeError(debugger, ArrayAccessMessage(access, true));
        return nullptr;
    }
    *element = std::move(computed);
    CSymbolStore::Record(storage);
    return result;
}

}  // namespace zov
