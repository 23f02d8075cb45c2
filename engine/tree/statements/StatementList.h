#pragma once

// A flat list of statements, run in order by the default Execute of CAny.

#include "engine/tree/Node.h"

namespace zov {

class CStatementList final : public CAny {
public:
    CStatementList() = default;
};

}  // namespace zov
