#pragma once

// dim name(count) = value: child 0 the array (CIdDecl), 1 the element count, 2 the value every
// element starts with.

#include "engine/tree/Node.h"

namespace zov {

class CDimStmt final : public CStatement {
public:
    CDimStmt() = default;
    // The array takes the type of its initial value.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    TypeCode elementType_ = kTypeUndetermined;
};

}  // namespace zov
