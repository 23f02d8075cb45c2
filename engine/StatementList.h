#pragma once

// A flat list of statements, run in order by the default Execute of CAny.

#include "Node.h"

namespace zov {

class CStatementList final : public CAny {
public:
    CStatementList() = default;
};

}  // namespace zov
