#pragma once

// Comparison > of children 0 and 1; a boolean.

#include "engine/tree/Node.h"

namespace zov {

class CGreaterExpression final : public CExpression {
public:
    CGreaterExpression() : CExpression(OperatorClass::Ordering) {}
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
