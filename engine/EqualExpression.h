#pragma once

// Comparison == of children 0 and 1; a boolean.

#include "Node.h"

namespace zov {

class CEqualExpression final : public CExpression {
public:
    CEqualExpression() : CExpression(OperatorClass::Equality) {}
};

}  // namespace zov
