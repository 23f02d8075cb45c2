#pragma once

// The closing 'end' of a block: the line the debugger shows when a loop is left. As the
// last part of a case it holds the else statements when there are some.

#include "engine/tree/Node.h"

namespace zov {

class CCaseStmtEnd final : public CStatement {
public:
    CCaseStmtEnd() = default;
};

}  // namespace zov
