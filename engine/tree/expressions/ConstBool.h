#pragma once

// A boolean literal: true or false, in any case.

#include <string_view>

#include "engine/tree/Node.h"

namespace zov {

class CConstBool final : public CExpression {
public:
    CConstBool() = default;

    // True for "true" in any mix of cases (the language's keywords ignore case), else false.
    void SetFromImage(std::string_view image);
    bool Value() const { return value_; }

    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    bool value_ = false;
};

}  // namespace zov
