#pragma once

// The parameters of a procedure, each a CAssignStatement giving the parameter its default
// value (whose type is the parameter's type). The parameters are variables of the procedure's
// own scope.

#include <cstddef>

#include "engine/tree/Node.h"

namespace zov {

class CIdDecl;

class CProcParamList final : public CAny {
public:
    CProcParamList() = default;

    std::size_t ParameterCount() const { return ChildCount(); }
    // The variable declaration of parameter `index`, or null.
    CIdDecl* Parameter(std::size_t index) const;

    // Runs every default assignment in order: each call starts with the defaults.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
