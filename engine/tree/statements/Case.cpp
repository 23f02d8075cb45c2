#include "engine/tree/statements/Case.h"

#include "engine/tree/statements/ConstantList.h"
#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

bool CaseValueMatches(const CValue& selector, const CValue& label, TypeCode type)
{
    switch (type) {
    case kTypeInteger:
    case kTypeReal:
    case kTypeBoolean:
    case kTypeString:
    case kTypeCli:
        return CompareValues(selector, label, type, Relation::Equal);
    default:
        return selector.Word() == label.Word();
    }
}

int CCase::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    int result = kAnalysisDone;
    if (CAny* label = Child(0)) {
        TypeCode labelType = kTypeUndetermined;
        const int labelResult = label->TypeAnalysis(scope, labelType, errors, passThrough);
        if ((labelResult == kAnalysisDone || labelResult == kExpressionChecked) && labelType != kTypeUndetermined &&
            selectorType_ != kTypeUndetermined && ComparableType(labelType) != ComparableType(selectorType_)) {
            // A label of another type could only be compared as words of no meaning.
            ReportMixedTypes(*label, errors);
            result = kAnalysisFailed;
        }
    }
    if (CAny* body = Child(1))
        body->TypeAnalysis(scope, typeOut, errors, passThrough);
    return result;
}

JumpTarget CCase::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    matched_ = false;
    CAny* label = Child(0);
    if (!label || !selector_)
        return nullptr;
    bool hit = false;
    if (auto* list = dynamic_cast<CConstantList*>(label)) {
        list->SetSelector(*selector_, runType_);
        CValue scratch;
        list->Execute(scope, scratch, debugger);
        hit = list->Matched();
    } else {
        CValue value = FreshOperand();
        label->Execute(scope, value, debugger);
        hit = CaseValueMatches(*selector_, value, runType_);
    }
    if (!hit || debugger.Aborting())
        return nullptr;
    JumpTarget result = nullptr;
    if (CAny* body = Child(1))
        result = body->Execute(scope, valueOut, debugger);
    // Set after the body: a call inside it may have run this case again.
    matched_ = true;
    return result;
}

}  // namespace zov
