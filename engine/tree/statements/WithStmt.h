#pragma once

// with cli ... end: child 0 the CLI expression, 1 the body, 2 the end marker. The calls of the
// body that name no target of their own were given a copy of the CLI expression when the tree
// was built.

#include "engine/tree/Node.h"

namespace zov {

class CWithStmt final : public CStatement {
public:
    CWithStmt() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
