#pragma once

// The root of a script's tree: its one child is the script's statement list.

#include "Node.h"

namespace zov {

class CStart final : public CAny {
public:
    CStart() = default;
};

}  // namespace zov
