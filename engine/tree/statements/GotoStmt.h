#pragma once

// goto :NAME: child 0 the CLabel named.

#include "engine/tree/Node.h"

namespace zov {

class CGotoStmt final : public CStatement {
public:
    CGotoStmt() = default;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    // The label statement, found at the first jump and kept.
    CAny* target_ = nullptr;
};

}  // namespace zov
