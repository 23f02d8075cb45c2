#pragma once

// One case: child 0 its label (one constant or a CConstantList), child 1 its statements.

#include "engine/tree/Node.h"

namespace zov {

class CCase final : public CStatement {
public:
    CCase() = default;

    // Set by the case statement before the analysis: a label of another type than the
    // selector is refused.
    void SetSelectorType(TypeCode type) { selectorType_ = type; }
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;

    void SetSelector(const CValue& selector, TypeCode type)
    {
        selector_ = &selector;
        runType_ = type;
    }
    // Runs the statements when the label matches the selector; Matched() tells whether it did.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
    bool Matched() const { return matched_; }

private:
    TypeCode selectorType_ = kTypeUndetermined;
    const CValue* selector_ = nullptr;
    TypeCode runType_ = kTypeUndetermined;
    bool matched_ = false;
};

// Whether a case label value matches the selector, compared by the selector's type: texts by
// their bytes (an absent text matching only an absent one), reals within the tolerance of
// "==", booleans by their low byte, every other type by the word.
bool CaseValueMatches(const CValue& selector, const CValue& label, TypeCode type);

}  // namespace zov
