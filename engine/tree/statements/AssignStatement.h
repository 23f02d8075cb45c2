#pragma once

// An assignment: child 0 the target (CIdDecl, with an index for an array element), child 1
// the value. Also the form of one procedure parameter and its default value.

#include "engine/tree/Node.h"

namespace zov {

class CIdDecl;

class CAssignStatement final : public CStatement {
public:
    CAssignStatement() = default;
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // The target takes the type of the value; a value of no type, or a whole array, is refused.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    CIdDecl* Target();

    // Child 0, found once.
    CIdDecl* target_ = nullptr;
};

}  // namespace zov
