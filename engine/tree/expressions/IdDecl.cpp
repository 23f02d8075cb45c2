#include "engine/tree/expressions/IdDecl.h"

#include "engine/runtime/ErrorList.h"
#include "engine/base/Messages.h"
#include "engine/base/TypeRules.h"

namespace zov {

int CIdDecl::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    if (!scope) {
        AddError(errors, varmsg::ScopeCorrupted);
        return kAnalysisFailed;
    }
    if (variableName_.empty()) {
        AddError(errors, varmsg::NameTooLong);
        return kAnalysisFailed;
    }
    // The index names variables that exist before this declaration does.
    if (CAny* index = Index())
        index->NameAnalysis(scope, errors);
    variable_ = ownScopeOnly_ ? scope->DeclareHere(variableName_) : scope->Declare(variableName_);
    return variable_ ? kAnalysisDone : kAnalysisFailed;
}

void AnalyseArrayIndex(CAny& index, CSymbolStore* scope, CErrorList& errors, std::uint32_t passThrough)
{
    TypeCode indexType = kTypeUndetermined;
    index.TypeAnalysis(scope, indexType, errors, passThrough);
    if (!CountsAsInteger(indexType))
        index.AddError(errors, stmtmsg::ArrayIndexNotInteger);
}

void CIdDecl::AnalyseIndex(CSymbolStore* scope, CErrorList& errors, std::uint32_t passThrough)
{
    if (CAny* index = Index())
        AnalyseArrayIndex(*index, scope, errors, passThrough);
}

int CIdDecl::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    if (!variable_)
        return kAnalysisFailed;
    int result = kAnalysisDone;
    AnalyseIndex(scope, errors, passThrough);

    // The value's own errors are reported by the statement that holds it; analysing it a second
    // time here only learns its type.
    TypeCode type = variable_->Type();
    CAny* owner = Parent();
    if (CAny* value = owner ? owner->Child(1) : nullptr) {
        CErrorList scratch(ErrorListUse::Scratch);
        type = kTypeUndetermined;
        value->TypeAnalysis(scope, type, scratch, passThrough);
        if (type == kTypeUndetermined) {
            AddError(errors, NamedVariableMessage(variable_->Shared() ? varmsg::ExpressionLead : varmsg::VariableLead,
                                                  variableName_, varmsg::UndefinedType));
            result = kAnalysisFailed;
        }
    }
    if (SettleType(type, errors) != kAnalysisDone)
        result = kAnalysisFailed;
    typeOut = variable_->Type();
    return result;
}

int CIdDecl::BindType(CSymbolStore* scope, TypeCode type, CErrorList& errors, std::uint32_t passThrough)
{
    if (!variable_)
        return kAnalysisFailed;
    AnalyseIndex(scope, errors, passThrough);
    return SettleType(type, errors);
}

int CIdDecl::SettleType(TypeCode type, CErrorList& errors)
{
    if (!variable_)
        return kAnalysisFailed;
    if (type == kTypeUndetermined) {
        variable_->SetType(type);
        return kAnalysisDone;
    }
    if (HasIndex()) {
        // An element takes the type of its array; the array keeps its cells.
        CVariable* earlier = variable_->Previous();
        if (earlier && earlier->Type() != type && earlier->Type() != kTypeUndetermined) {
            AddError(errors, declmsg::ArrayTypeMismatch);
            variable_->SetType(earlier->Type());
            return kAnalysisFailed;
        }
    }
    variable_->SettleStorage(type);
    if (HasIndex())
        variable_->MarkArray();
    return kAnalysisDone;
}

JumpTarget CIdDecl::Execute(CSymbolStore*, CValue&, CDebugger&)
{
    return nullptr;
}

}  // namespace zov
