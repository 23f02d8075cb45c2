#pragma once

// dim name(count) = value: child 0 the array (CIdDecl), 1 the element count, 2 the value every
// element starts with.

#include "Node.h"

namespace zov {

class CDimStmt final : public CStatement {
public:
    CDimStmt() = default;
};

}  // namespace zov
