#pragma once

// Unary minus of child 0.

#include "engine/tree/Node.h"

namespace zov {

class CNegateExpression final : public CExpression {
public:
    CNegateExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
