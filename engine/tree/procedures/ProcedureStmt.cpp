#include "engine/tree/procedures/ProcedureStmt.h"

#include "engine/tree/expressions/ConstBool.h"
#include "engine/tree/expressions/ConstInt.h"
#include "engine/tree/expressions/ConstReal.h"
#include "engine/tree/expressions/ConstStr.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/tree/expressions/IdUse.h"
#include "engine/tree/procedures/IdProc.h"
#include "engine/tree/procedures/ParameterList.h"
#include "engine/tree/procedures/ProcParamList.h"
#include "engine/tree/procedures/ReturnStmt.h"

#include <vector>

namespace zov {

CProcedureStmt::~CProcedureStmt() = default;

CIdProc* CProcedureStmt::Name() const
{
    return dynamic_cast<CIdProc*>(Child(0));
}

const std::string& CProcedureStmt::ProcedureName() const
{
    static const std::string none;
    const CIdProc* name = Name();
    return name ? name->ProcedureName() : none;
}

CProcParamList* CProcedureStmt::Parameters() const
{
    return dynamic_cast<CProcParamList*>(Child(1));
}

TypeCode CProcedureStmt::ReturnType() const
{
    return returnPart_ ? returnPart_->ReturnType() : kTypeUndetermined;
}

const CValue& CProcedureStmt::NoReturnValue()
{
    static const CValue none;
    return none;
}

int CProcedureStmt::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    if (!ownScope_)
        ownScope_ = std::make_unique<CSymbolStore>(scope);
    CSymbolStore* own = ownScope_.get();
    // Arguments are copied into the parameters: a parameter never shares the cells of an outer
    // variable of its name, or a call would change the caller's variable.
    if (CProcParamList* parameters = Parameters()) {
        for (std::size_t i = 0, n = parameters->ParameterCount(); i < n; ++i) {
            if (CIdDecl* parameter = parameters->Parameter(i))
                parameter->DeclareInOwnScope();
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (CAny* child = Child(i))
            child->NameAnalysis(own, errors);
    }
    returnPart_ = dynamic_cast<CReturnStmt*>(Child(3));
    if (returnPart_)
        returnPart_->NameAnalysis(own, errors);
    parameters_ = Parameters();
    parameterVariables_.clear();
    for (std::size_t i = 0, n = parameters_ ? parameters_->ParameterCount() : 0; i < n; ++i) {
        CIdDecl* parameter = parameters_->Parameter(i);
        parameterVariables_.push_back(parameter ? parameter->Variable() : nullptr);
    }
    return kAnalysisDone;
}

int CProcedureStmt::TypeAnalysis(CSymbolStore* scope, TypeCode&, CErrorList& errors, std::uint32_t passThrough)
{
    CSymbolStore* own = ownScope_ ? ownScope_.get() : scope;
    TypeCode type = kTypeUndetermined;
    if (CAny* name = Child(0))
        name->TypeAnalysis(scope, type, errors, passThrough);
    inTypeAnalysis_ = true;
    for (std::size_t i = 1; i < 3; ++i) {
        if (CAny* child = Child(i)) {
            type = kTypeUndetermined;
            child->TypeAnalysis(own, type, errors, passThrough);
        }
    }
    if (returnPart_) {
        type = kTypeUndetermined;
        returnPart_->TypeAnalysis(own, type, errors, passThrough);
    }
    inTypeAnalysis_ = false;

    skippableDefault_.assign(parameterVariables_.size(), 0);
    everyDefaultSkippable_ = true;
    for (std::size_t i = 0; i < parameterVariables_.size(); ++i) {
        const CAny* assignment = parameters_ ? parameters_->Child(i) : nullptr;
        const CAny* value = assignment ? assignment->Child(1) : nullptr;
        const bool literal = dynamic_cast<const CConstInt*>(value) || dynamic_cast<const CConstReal*>(value) ||
                             dynamic_cast<const CConstBool*>(value) || dynamic_cast<const CConstStr*>(value);
        const TypeCode parameterType = parameterVariables_[i] ? parameterVariables_[i]->Type() : kTypeUndetermined;
        skippableDefault_[i] = literal && parameterType >= kTypeInteger && parameterType <= kTypeString;
        everyDefaultSkippable_ = everyDefaultSkippable_ && skippableDefault_[i];
    }
    return kAnalysisDone;
}

TypeCode CProcedureStmt::ProvisionalReturnType()
{
    if (!returnPart_)
        return kTypeUndetermined;
    CAny* expression = returnPart_->Expression();
    if (!expression)
        return kTypeInteger;
    // A recursive call inside the return part itself has nothing more to go on.
    if (inProvisional_)
        return kTypeUndetermined;
    inProvisional_ = true;
    CErrorList scratch(ErrorListUse::Scratch);
    TypeCode type = kTypeUndetermined;
    expression->TypeAnalysis(ownScope_.get(), type, scratch, 0);
    inProvisional_ = false;
    if (type != kTypeUndetermined && type != kTypeWholeArray)
        return type;
    // The returned variable is being given its type by the very statement that holds the
    // call; an earlier declaration of it has settled its type already.
    if (const auto* use = dynamic_cast<const CIdUse*>(expression); use && !use->Index()) {
        for (const CVariable* variable = use->Variable(); variable; variable = variable->Previous()) {
            if (variable->Type() != kTypeUndetermined)
                return variable->Type();
        }
    }
    return kTypeUndetermined;
}

JumpTarget CProcedureStmt::RunDefaults(CDebugger& debugger)
{
    CProcParamList* parameters = parameters_;
    if (!parameters)
        return nullptr;
    CSymbolStore* own = ownScope_.get();
    // Each default assignment reports the declaration's line again; with the line notification
    // on, those reports are written, so every default runs. Otherwise, when every parameter is
    // given a value of a literal's type, no default needs to run.
    std::size_t given = hasCallArguments_ ? callValues_.size() : 0;
    if (Engine().NotifyLines.load(std::memory_order_relaxed))
        given = 0;
    else if (everyDefaultSkippable_ && given >= skippableDefault_.size())
        return nullptr;
    CValue scratch;
    for (std::size_t i = 0, n = parameters->ChildCount(); i < n; ++i) {
        CAny* assignment = parameters->Child(i);
        if (!assignment)
            continue;
        if (i < given && i < skippableDefault_.size() && skippableDefault_[i])
            continue;
        if (JumpTarget jump = assignment->Execute(own, scratch, debugger))
            return jump;
        if (debugger.Aborting())
            return nullptr;
    }
    return nullptr;
}

bool CProcedureStmt::BindArguments(CDebugger& debugger)
{
    if (!hasCallArguments_)
        return true;
    const std::span<const CValue> values = callValues_;
    const std::span<const TypeCode> types = callTypes_;
    ClearCallArguments();
    const std::size_t parameterCount = parameterVariables_.size();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i >= parameterCount) {
            RunTimeError(debugger, procmsg::TooManyParameters);
            return false;
        }
        CVariable* variable = parameterVariables_[i];
        if (!variable)
            continue;
        const TypeCode type = variable->Type();
        const TypeCode given = i < types.size() ? types[i] : kTypeUndetermined;
        if (type != given) {
            RunTimeError(debugger, procmsg::WrongParameterType);
            return false;
        }
        CVariable& cells = variable->Storage();
        CValue& cell = cells.Value();
        const CValue& value = values[i];
        switch (type) {
        case kTypeInteger:
            cell.SetWord(value.Word());
            break;
        case kTypeReal:
            cell.SetReal(value.RealValue());
            break;
        case kTypeBoolean:
            cell.SetWord(value.LowByte());
            break;
        case kTypeString:
            if (value.HasText())
                cell.SetText(value.TextView());
            else
                cell.ClearText();
            break;
        default:
            // A parameter of another type keeps its default value.
            continue;
        }
        CSymbolStore::Record(cells);
    }
    return true;
}

JumpTarget CProcedureStmt::Execute(CSymbolStore*, CValue&, CDebugger& debugger)
{
    // The caller's value out may be a variable's cells (x = call p()): the statements of the
    // procedure get scratch of their own.
    CValue valueOut;
    const CAny* name = Child(0);
    if (!debugger.ReportLine(name ? name->Line() : Line())) {
        ClearCallArguments();
        return nullptr;
    }
    CSymbolStore* own = ownScope_.get();
    if (JumpTarget jump = RunDefaults(debugger)) {
        ClearCallArguments();
        return jump;
    }
    if (debugger.Aborting() || !BindArguments(debugger))
        return nullptr;

    if (CAny* body = Body()) {
        if (JumpTarget jump = body->Execute(own, valueOut, debugger))
            return jump;
    }
    if (debugger.Aborting()) {
        returnPoint_ = nullptr;
        return nullptr;
    }
    if (returnPart_)
        returnPart_->Execute(own, valueOut, debugger);
    // The return point serves the one resumption that set it; a later call must not jump there.
    JumpTarget resumeAt = returnPoint_;
    returnPoint_ = nullptr;
    return resumeAt;
}

}  // namespace zov
