#pragma once

// A label standing as a statement, where a goto resumes: child 0 the CLabel.

#include "engine/tree/Node.h"

namespace zov {

class CLabelStmt final : public CStatement {
public:
    CLabelStmt() = default;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
