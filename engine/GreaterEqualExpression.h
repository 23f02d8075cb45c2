#pragma once

// Comparison >= of children 0 and 1; a boolean.

#include "Node.h"

namespace zov {

class CGreaterEqualExpression final : public CExpression {
public:
    CGreaterEqualExpression() : CExpression(OperatorClass::Ordering) {}
};

}  // namespace zov
