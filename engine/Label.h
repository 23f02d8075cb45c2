#pragma once

// A label named by a label statement or a goto; its name keeps the leading ':' as written
// (a CLI time-out jumps to ":TIMEOUT").

#include <string>

#include "Node.h"

namespace zov {

class CLabel final : public CExpression {
public:
    CLabel() = default;
    const std::string& LabelName() const { return name_; }
    void SetLabelName(std::string name) { name_ = std::move(name); }

private:
    std::string name_;
};

}  // namespace zov
