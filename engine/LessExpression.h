#pragma once

// Comparison < of children 0 and 1; a boolean.

#include "Node.h"

namespace zov {

class CLessExpression final : public CExpression {
public:
    CLessExpression() : CExpression(OperatorClass::Ordering) {}
};

}  // namespace zov
