#pragma once

// Logical or bitwise not of child 0.

#include "Node.h"

namespace zov {

class CNotExpression final : public CExpression {
public:
    CNotExpression() = default;
};

}  // namespace zov
