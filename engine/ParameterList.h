#pragma once

// The arguments of a call, one expression per argument in order.

#include "Node.h"

namespace zov {

class CParameterList final : public CAny {
public:
    CParameterList() = default;
};

}  // namespace zov
