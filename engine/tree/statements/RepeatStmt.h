#pragma once

// repeat ... until ...: child 0 the body, 1 the condition.

#include "engine/tree/Node.h"

namespace zov {

class CRepeatStmt final : public CStatement {
public:
    CRepeatStmt() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
