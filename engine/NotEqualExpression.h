#pragma once

// Comparison <> or != of children 0 and 1; a boolean.

#include "Node.h"

namespace zov {

class CNotEqualExpression final : public CExpression {
public:
    CNotEqualExpression() : CExpression(OperatorClass::Equality) {}
};

}  // namespace zov
