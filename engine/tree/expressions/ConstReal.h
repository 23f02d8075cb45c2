#pragma once

// A real literal ("2.5", "1e-3").

#include <string_view>

#include "engine/tree/Node.h"

namespace zov {

class CConstReal final : public CExpression {
public:
    CConstReal() = default;

    // The text as the C library reads a double.
    void SetFromImage(std::string_view image);
    double Value() const { return value_; }

    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    double value_ = 0.0;
};

}  // namespace zov
