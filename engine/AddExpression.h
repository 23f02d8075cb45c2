#pragma once

// Child 0 + (integers, reals; texts are joined) child 1.

#include "Node.h"

namespace zov {

class CAddExpression final : public CExpression {
public:
    CAddExpression() = default;
};

}  // namespace zov
