#pragma once

// A case label of several values: child 0 the first value, child 1 the last value or the rest
// of the list (a CConstantList). A range holds its low and high value.

#include "engine/tree/Node.h"

namespace zov {

class CConstantList final : public CExpression {
public:
    CConstantList() = default;
    // "a to b" rather than "a, b".
    bool IsRange() const { return range_; }
    void SetRange(bool range) { range_ = range; }

    void SetSelector(const CValue& selector, TypeCode type)
    {
        selector_ = &selector;
        selectorType_ = type;
    }
    // Compares the selector with the values of the list (its rest included) or the range;
    // Matched() tells the outcome. A range of numbers holds both bounds; a range of texts holds
    // neither, as scripts have always had it.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
    bool Matched() const { return matched_; }

private:
    bool range_ = false;
    const CValue* selector_ = nullptr;
    TypeCode selectorType_ = kTypeUndetermined;
    bool matched_ = false;
};

}  // namespace zov
