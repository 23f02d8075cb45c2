#pragma once

// Logical or bitwise not of child 0.

#include "engine/tree/Node.h"

namespace zov {

class CNotExpression final : public CExpression {
public:
    CNotExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
