#pragma once

// Child 0 / child 1.

#include "engine/tree/Node.h"

namespace zov {

class CDivExpression final : public CExpression {
public:
    CDivExpression() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
