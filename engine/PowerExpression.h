#pragma once

// Child 0 ^ child 1.

#include "Node.h"

namespace zov {

class CPowerExpression final : public CExpression {
public:
    CPowerExpression() = default;
};

}  // namespace zov
