#pragma once

// Comparison > of children 0 and 1; a boolean.

#include "Node.h"

namespace zov {

class CGreaterExpression final : public CExpression {
public:
    CGreaterExpression() : CExpression(OperatorClass::Ordering) {}
};

}  // namespace zov
