#pragma once

// A case label of several values: child 0 the first value, child 1 the last value or the rest
// of the list (a CConstantList). A range holds its low and high value.

#include "Node.h"

namespace zov {

class CConstantList final : public CExpression {
public:
    CConstantList() = default;
    // "a to b" rather than "a, b".
    bool IsRange() const { return range_; }
    void SetRange(bool range) { range_ = range; }

private:
    bool range_ = false;
};

}  // namespace zov
