#pragma once

// One case: child 0 its label (one constant or a CConstantList), child 1 its statements.

#include "Node.h"

namespace zov {

class CCase final : public CStatement {
public:
    CCase() = default;
};

}  // namespace zov
