#pragma once

// for v = a to|downto b [step s] do ... end: child 0 the loop variable (CIdDecl), 1 the
// start, 2 the end, then either 3 the body and 4 the end marker, or 3 the step, 4 the body and
// 5 the end marker.

#include "engine/tree/Node.h"

namespace zov {

class CIdDecl;

class CForStmt final : public CStatement {
public:
    CForStmt() = default;
    // The bounds and the step name the variables in force before the loop variable is bound.
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // The loop variable is an integer.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
    // False for "downto".
    bool IsCountingUp() const { return countingUp_; }
    void SetCountingUp(bool countingUp) { countingUp_ = countingUp; }
    bool HasStep() const { return ChildCount() > 5; }

private:
    bool countingUp_ = true;
    // Child 0, found once.
    CIdDecl* variable_ = nullptr;
};

}  // namespace zov
