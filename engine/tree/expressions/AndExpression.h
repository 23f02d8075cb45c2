#pragma once

// Logical or bitwise and of children 0 and 1.

#include "engine/tree/Node.h"

namespace zov {

class CAndExpression final : public CExpression {
public:
    CAndExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
