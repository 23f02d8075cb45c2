#pragma once

// repeat ... until ...: child 0 the body, 1 the condition.

#include "Node.h"

namespace zov {

class CRepeatStmt final : public CStatement {
public:
    CRepeatStmt() = default;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
