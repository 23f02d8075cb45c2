#pragma once

// case ... of ... [else ...] end: child 0 the selector, 1 the case list (a CCaseList), then
// either the end marker, or the else part and the end marker.

#include "engine/tree/Node.h"

namespace zov {

class CCaseStmt final : public CStatement {
public:
    CCaseStmt() = default;

    // The selector's type is kept: every label is compared by it, and a label of another type
    // is refused here.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    // The first matching case runs; the else part runs when none matched. A jump out of either
    // is passed on.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;


private:
    TypeCode selectorType_ = kTypeUndetermined;
};

}  // namespace zov
