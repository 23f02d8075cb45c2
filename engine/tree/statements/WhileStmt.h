#pragma once

// while ... do ... end: child 0 the condition, 1 the body, 2 the end marker.

#include "engine/tree/Node.h"

namespace zov {

class CWhileStmt final : public CStatement {
public:
    CWhileStmt() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
