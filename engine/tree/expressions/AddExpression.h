#pragma once

// Child 0 + (integers, reals; texts are joined) child 1.

#include "engine/tree/Node.h"

namespace zov {

class CAddExpression final : public CExpression {
public:
    CAddExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
