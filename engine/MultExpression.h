#pragma once

// Child 0 * child 1.

#include "Node.h"

namespace zov {

class CMultExpression final : public CExpression {
public:
    CMultExpression() = default;
};

}  // namespace zov
