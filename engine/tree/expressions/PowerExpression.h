#pragma once

// Child 0 ^ child 1.

#include "engine/tree/Node.h"

namespace zov {

class CPowerExpression final : public CExpression {
public:
    CPowerExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
