#pragma once

// goto :NAME: child 0 the CLabel named.

#include "Node.h"

namespace zov {

class CGotoStmt final : public CStatement {
public:
    CGotoStmt() = default;
};

}  // namespace zov
