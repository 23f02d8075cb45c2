#pragma once

// A function called as a statement: child 0 the name (CIdUse), 1 the arguments
// (CParameterList), 2 the CLI target when there is one, 3 the time-out when there is one.

#include "Node.h"

namespace zov {

class CFunctionProc final : public CAny {
public:
    CFunctionProc() = default;
};

}  // namespace zov
