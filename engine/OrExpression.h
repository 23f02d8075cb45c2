#pragma once

// Logical or bitwise or of children 0 and 1.

#include "Node.h"

namespace zov {

class COrExpression final : public CExpression {
public:
    COrExpression() = default;
};

}  // namespace zov
