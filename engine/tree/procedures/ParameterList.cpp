#include "engine/tree/procedures/ParameterList.h"

#include "engine/runtime/Debugger.h"
#include "engine/runtime/ErrorList.h"

namespace zov {

int CParameterList::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    values_.reserve(ChildCount());
    return CAny::NameAnalysis(scope, errors);
}

int CParameterList::CheckTypes(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                               std::span<const TypeCode> expected, bool skip)
{
    bool reported = false;
    for (std::size_t i = 0, n = ChildCount(); i < n; ++i) {
        CAny* argument = Child(i);
        if (!argument)
            continue;
        typeOut = kTypeUndetermined;
        argument->TypeAnalysis(scope, typeOut, errors, skip ? 1u : 0u);
        if (skip || reported || i >= expected.size())
            continue;
        const TypeCode wanted = expected[i];
        if (wanted != kTypeUndetermined && wanted != kTypeAny && wanted != typeOut) {
            AddError(errors, callmsg::WrongParameterType);
            reported = true;
        }
    }
    return kAnalysisDone;
}

JumpTarget CParameterList::Execute(CSymbolStore* scope, CValue&, CDebugger& debugger)
{
    return Evaluate(scope, values_, debugger);
}

JumpTarget CParameterList::Evaluate(CSymbolStore* scope, std::vector<CValue>& values, CDebugger& debugger)
{
    const std::size_t count = ChildCount();
    if (values.size() != count)
        values.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        // A fresh value, with no base yet, so that an integer variable passes its own on.
        CValue& value = values[i];
        if (value.HasText())
            value.ClearText();
        value.SetWord(0);
        value.SetReal(0.0);
        value.SetBase(kNoBase);
        value.SetBased(false);
        CAny* argument = Child(i);
        if (!argument)
            continue;
        if (JumpTarget jump = argument->Execute(scope, value, debugger))
            return jump;
        if (debugger.Aborting())
            return nullptr;
        if (value.Base() == kNoBase)
            value.SetBase(kDefaultBase);
    }
    return nullptr;
}

void CParameterList::LearnTypes(CSymbolStore* scope)
{
    CErrorList scratch(ErrorListUse::Scratch);
    types_.assign(ChildCount(), kTypeUndetermined);
    for (std::size_t i = 0; i < types_.size(); ++i) {
        if (CAny* argument = Child(i))
            argument->TypeAnalysis(scope, types_[i], scratch, 0);
    }
    typesKnown_ = true;
}

}  // namespace zov
