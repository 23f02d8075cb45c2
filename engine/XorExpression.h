#pragma once

// Logical or bitwise xor of children 0 and 1.

#include "Node.h"

namespace zov {

class CXorExpression final : public CExpression {
public:
    CXorExpression() = default;
};

}  // namespace zov
