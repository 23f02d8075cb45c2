#pragma once

// Child 0 - child 1.

#include "Node.h"

namespace zov {

class CSubtractExpression final : public CExpression {
public:
    CSubtractExpression() = default;
};

}  // namespace zov
