#pragma once

// if ... then ... [else ...] end: child 0 the condition, 1 the then part (may be null), 2 the
// else part when there is one.

#include "Node.h"

namespace zov {

class CIfStmt final : public CStatement {
public:
    CIfStmt() = default;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
