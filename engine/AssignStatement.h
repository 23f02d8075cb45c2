#pragma once

// An assignment: child 0 the target (CIdDecl, with an index for an array element), child 1
// the value. Also the form of one procedure parameter and its default value.

#include "Node.h"

namespace zov {

class CAssignStatement final : public CStatement {
public:
    CAssignStatement() = default;
};

}  // namespace zov
