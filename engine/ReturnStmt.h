#pragma once

// The return part that closes a procedure: child 0 the returned expression, when there is one.

#include "Node.h"

namespace zov {

class CReturnStmt final : public CStatement {
public:
    CReturnStmt() = default;
};

}  // namespace zov
