#pragma once

// Child 0 mod child 1.

#include "engine/tree/Node.h"

namespace zov {

class CModExpression final : public CExpression {
public:
    CModExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
