#pragma once

// A chain of cases: child 0 one CCase, child 1 the rest of the chain (a CCaseList) when
// there is more than one case left.

#include "Node.h"

namespace zov {

class CCaseList final : public CStatement {
public:
    CCaseList() = default;
};

}  // namespace zov
