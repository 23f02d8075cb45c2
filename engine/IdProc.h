#pragma once

// The name of a procedure, in its declaration or in a call.

#include <string>

#include "Node.h"

namespace zov {

class CIdProc final : public CExpression {
public:
    CIdProc() = default;
    const std::string& ProcedureName() const { return name_; }
    void SetProcedureName(std::string name) { name_ = std::move(name); }

private:
    std::string name_;
};

}  // namespace zov
