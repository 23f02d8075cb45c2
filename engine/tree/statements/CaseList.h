#pragma once

// A chain of cases: child 0 one CCase, child 1 the rest of the chain (a CCaseList) when
// there is more than one case left.

#include "engine/tree/Node.h"

namespace zov {

class CCase;

class CCaseList final : public CStatement {
public:
    CCaseList() = default;

    CCase* FirstCase() const;
    CCaseList* Rest() const;

    // The selector lives in the running case statement; the chain only borrows it.
    void SetSelector(const CValue& selector, TypeCode type)
    {
        selector_ = &selector;
        selectorType_ = type;
    }
    // Tries the cases of the chain in order, each reporting its line; the first that matches
    // runs and ends the search. A selector must have been set.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
    // Whether a case of the chain matched in the last Execute.
    bool Matched() const { return matched_; }

private:
    const CValue* selector_ = nullptr;
    TypeCode selectorType_ = kTypeUndetermined;
    bool matched_ = false;
};

}  // namespace zov
