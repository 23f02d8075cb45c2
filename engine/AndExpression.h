#pragma once

// Logical or bitwise and of children 0 and 1.

#include "Node.h"

namespace zov {

class CAndExpression final : public CExpression {
public:
    CAndExpression() = default;
};

}  // namespace zov
