#pragma once

// The return part that closes a procedure: child 0 the returned expression, when there is one.
// Its value is the procedure's result and stays here until the next call ends.

#include "engine/tree/Node.h"

namespace zov {

class CReturnStmt final : public CStatement {
public:
    CReturnStmt() = default;

    CAny* Expression() const { return ChildCount() == 1 ? Child(0) : nullptr; }

    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // Keeps the expression's type as the procedure's return type; without an expression the
    // procedure returns the integer 0.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

    TypeCode ReturnType() const { return type_; }
    const CValue& ReturnValue() const { return value_; }

private:
    CValue value_;
    TypeCode type_ = kTypeUndetermined;
};

}  // namespace zov
