#pragma once

// call name(arguments): child 0 the procedure's name (CIdProc), 1 the arguments
// (CParameterList).

#include "Node.h"

namespace zov {

class CCallStmt final : public CStatement {
public:
    CCallStmt() = default;
};

}  // namespace zov
