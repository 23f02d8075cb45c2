#pragma once

// Child 0 / child 1.

#include "Node.h"

namespace zov {

class CDivExpression final : public CExpression {
public:
    CDivExpression() = default;
};

}  // namespace zov
