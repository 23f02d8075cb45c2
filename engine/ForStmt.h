#pragma once

// for v = a to|downto b [step s] do ... end: child 0 the loop variable (CIdDecl), 1 the
// start, 2 the end, then either 3 the body and 4 the end marker, or 3 the step, 4 the body and
// 5 the end marker.

#include "Node.h"

namespace zov {

class CForStmt final : public CStatement {
public:
    CForStmt() = default;
    // False for "downto".
    bool IsCountingUp() const { return countingUp_; }
    void SetCountingUp(bool countingUp) { countingUp_ = countingUp; }
    bool HasStep() const { return ChildCount() > 5; }

private:
    bool countingUp_ = true;
};

}  // namespace zov
