#pragma once

// The parameters of a procedure, each a CAssignStatement giving the parameter its default
// value (whose type is the parameter's type).

#include "Node.h"

namespace zov {

class CProcParamList final : public CAny {
public:
    CProcParamList() = default;
};

}  // namespace zov
