#pragma once

// Unary minus of child 0.

#include "Node.h"

namespace zov {

class CNegateExpression final : public CExpression {
public:
    CNegateExpression() = default;
};

}  // namespace zov
