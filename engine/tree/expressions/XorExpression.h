#pragma once

// Logical or bitwise xor of children 0 and 1.

#include "engine/tree/Node.h"

namespace zov {

class CXorExpression final : public CExpression {
public:
    CXorExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
