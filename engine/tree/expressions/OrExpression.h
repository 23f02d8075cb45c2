#pragma once

// Logical or bitwise or of children 0 and 1.

#include "engine/tree/Node.h"

namespace zov {

class COrExpression final : public CExpression {
public:
    COrExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
