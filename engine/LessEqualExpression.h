#pragma once

// Comparison <= of children 0 and 1; a boolean.

#include "Node.h"

namespace zov {

class CLessEqualExpression final : public CExpression {
public:
    CLessEqualExpression() : CExpression(OperatorClass::Ordering) {}
};

}  // namespace zov
