#pragma once

// A use of a variable in an expression, with or without an index. It is bound to the
// declaration in force at its place in the script during name analysis, and reads that
// declaration's cells at run time without looking the name up again.

#include <string>
#include <string_view>

#include "engine/tree/Node.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {

class CIdUse final : public CExpression {
public:
    CIdUse() = default;

    // Keeps a name of 1 to 64 characters; a longer or empty one leaves the name empty, which
    // the name analysis reports.
    void SetVariableName(std::string_view name) { variableName_ = AcceptVariableName(name); }
    const std::string& VariableName() const { return variableName_; }

    CAny* Index() const { return Child(0); }

    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // The declaration's type; an array named without index has kTypeWholeArray. Inside a
    // procedure, an array of an enclosing scope (but an array of CLI handles) is refused.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    // Copies the value into valueOut; a bad array access is a run-time error.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

    // The declaration bound at name analysis, or null.
    CVariable* Variable() const { return variable_; }

private:
    std::string variableName_;
    CVariable* variable_ = nullptr;
};

}  // namespace zov
