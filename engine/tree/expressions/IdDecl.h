#pragma once

// A declaration of a variable: the target of an assignment, the variable of a counting loop,
// the array of a `dim`, a procedure's parameter. It binds the name in the scope at name
// analysis and settles which value cells it uses at type analysis; the statement that owns it
// writes the value.

#include <string>
#include <string_view>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {

// The type analysis of an array index: a real's or a text's word is no index, and is refused
// rather than read as element 0.
void AnalyseArrayIndex(CAny& index, CSymbolStore* scope, CErrorList& errors, std::uint32_t passThrough);

class CIdDecl final : public CAny {
public:
    CIdDecl() = default;

    // Keeps a name of 1 to 64 characters; a longer or empty one leaves the name empty, which
    // the name analysis reports.
    void SetVariableName(std::string_view name) { variableName_ = AcceptVariableName(name); }
    const std::string& VariableName() const { return variableName_; }

    // Binds the name in the scope given to the name analysis only, never in an enclosing one
    // (a procedure's parameter).
    void DeclareInOwnScope() { ownScopeOnly_ = true; }

    // The index expression of an assignment to an array element, or null.
    CAny* Index() const { return Child(0); }
    bool HasIndex() const { return Index() != nullptr; }

    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // The type is that of the value the owning statement gives: its second child.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    // Nothing: the owning statement evaluates the index and writes the value.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

    // For a statement that has found the type of the value itself (an assignment, `dim`), in
    // place of TypeAnalysis: analyses the index and settles the cells for `type` (a value of
    // another type than the earlier declaration of the name gets cells of its own; an array
    // element cannot change type). Answers Done or Failed.
    int BindType(CSymbolStore* scope, TypeCode type, CErrorList& errors, std::uint32_t passThrough);

    // The declaration record bound at name analysis (null before, or when it failed). Write
    // through Variable()->Value() or its elements, then CSymbolStore::Record(Variable()->Storage()).
    CVariable* Variable() const { return variable_; }

private:
    void AnalyseIndex(CSymbolStore* scope, CErrorList& errors, std::uint32_t passThrough);
    int SettleType(TypeCode type, CErrorList& errors);

    std::string variableName_;
    CVariable* variable_ = nullptr;
    bool ownScopeOnly_ = false;
};

}  // namespace zov
