#include "engine/tree/statements/ConstantList.h"

#include "engine/tree/statements/Case.h"
#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

namespace {

bool InRange(const CValue& selector, const CValue& low, const CValue& high, TypeCode type)
{
    switch (type) {
    case kTypeString:
        return CompareValues(low, selector, type, Relation::Less) &&
               CompareValues(selector, high, type, Relation::Less);
    case kTypeReal:
        return low.RealValue() <= selector.RealValue() && selector.RealValue() <= high.RealValue();
    case kTypeBoolean:
        return low.LowByte() <= selector.LowByte() && selector.LowByte() <= high.LowByte();
    default:
        return low.Word() <= selector.Word() && selector.Word() <= high.Word();
    }
}

}  // namespace

// The list is walked link by link here; each link is a CConstantList of its own, whose last
// link holds two values or a range.
JumpTarget CConstantList::Execute(CSymbolStore* scope, CValue&, CDebugger& debugger)
{
    matched_ = false;
    if (!selector_)
        return nullptr;
    const CValue& selector = *selector_;
    for (CConstantList* link = this; link;) {
        CAny* first = link->Child(0);
        CAny* second = link->Child(1);
        if (!first || !second)
            return nullptr;
        CValue a = FreshOperand();
        first->Execute(scope, a, debugger);
        if (link->IsRange()) {
            CValue b = FreshOperand();
            second->Execute(scope, b, debugger);
            matched_ = InRange(selector, a, b, selectorType_);
            return nullptr;
        }
        if (CaseValueMatches(selector, a, selectorType_)) {
            matched_ = true;
            return nullptr;
        }
        auto* rest = dynamic_cast<CConstantList*>(second);
        if (!rest) {
            CValue b = FreshOperand();
            second->Execute(scope, b, debugger);
            matched_ = CaseValueMatches(selector, b, selectorType_);
            return nullptr;
        }
        rest->SetSelector(selector, selectorType_);
        link = rest;
    }
    return nullptr;
}

}  // namespace zov
