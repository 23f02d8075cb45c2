#include "engine/tree/expressions/IdUse.h"

#include "engine/tree/expressions/IdDecl.h"

namespace zov {

int CIdUse::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    if (variableName_.empty()) {
        AddError(errors, varmsg::NameTooLong);
        return kAnalysisFailed;
    }
    if (!scope) {
        AddError(errors, varmsg::ScopeCorrupted);
        return kAnalysisFailed;
    }
    if (CAny* index = Index())
        index->NameAnalysis(scope, errors);
    variable_ = scope->ResolveVariable(variableName_);
    if (!variable_) {
        AddError(errors, NamedVariableMessage(varmsg::VariableLead, variableName_, varmsg::NotInitialised));
        return kAnalysisFailed;
    }
    return kAnalysisDone;
}

int CIdUse::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    if (!variable_) {
        typeOut = kTypeUndetermined;
        return kAnalysisFailed;
    }
    if (CAny* index = Index()) {
        AnalyseArrayIndex(*index, scope, errors, passThrough);
        variable_->MarkArray();
        typeOut = variable_->Type();
    } else {
        typeOut = variable_->IsArray() || variable_->IsDimmed() ? kTypeWholeArray : variable_->Type();
    }
    SetOperandType(typeOut);

    // The variable belongs to an enclosing scope when its cells are held there: bound there, or
    // declared again in this procedure with the outer variable's type.
    if (scope && &variable_->Storage().Scope() != scope) {
        if ((variable_->IsArray() || variable_->IsDimmed()) && variable_->Type() != kTypeCli) {
            AddError(errors, NamedVariableMessage(varmsg::VariableLead, variableName_, varmsg::ArrayMisuse));
            return kAnalysisFailed;
        }
    }
    return kAnalysisDone;
}

JumpTarget CIdUse::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    const CVariable* variable = variable_;
    if (!variable)
        return nullptr;
    if (!variable->IsArray()) {
        variable->ReadScalar(valueOut);
        return nullptr;
    }

    std::int32_t index = -1;
    if (CAny* indexNode = Index()) {
        CValue indexValue;
        if (JumpTarget jump = indexNode->Execute(scope, indexValue, debugger))
            return jump;
        index = indexValue.Word();
    }
    const ArrayAccess access = variable->ReadElement(index, valueOut);
    if (const char* message = ArrayAccessMessage(access, false)) {
        // Only an integer array names the index that was too large.
        if (access == ArrayAccess::IndexTooLarge && variable->Storage().Type() == kTypeInteger)
            RunTimeError(debugger, message, index);
        else
            RunTimeError(debugger, message);
    }
    return nullptr;
}

}  // namespace zov
