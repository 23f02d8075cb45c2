#pragma once

// case ... of ... [else ...] end: child 0 the selector, 1 the case list (a CCaseList), then
// either the end marker, or the else part and the end marker.

#include "Node.h"

namespace zov {

class CCaseStmt final : public CStatement {
public:
    CCaseStmt() = default;
};

}  // namespace zov
