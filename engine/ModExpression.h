#pragma once

// Child 0 mod child 1.

#include "Node.h"

namespace zov {

class CModExpression final : public CExpression {
public:
    CModExpression() = default;
};

}  // namespace zov
