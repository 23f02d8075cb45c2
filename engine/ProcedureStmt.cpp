#include "ProcedureStmt.h"

#include "Debugger.h"
#include "IdDecl.h"
#include "IdProc.h"
#include "ParameterList.h"
#include "ProcParamList.h"
#include "ReturnStmt.h"

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

const CValue& CProcedureStmt::ReturnValue() const
{
    static const CValue none;
    return returnPart_ ? returnPart_->ReturnValue() : none;
}

int CProcedureStmt::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    if (!ownScope_)
        ownScope_ = std::make_unique<CSymbolStore>(scope);
    CSymbolStore* own = ownScope_.get();
    for (std::size_t i = 0; i < 3; ++i) {
        if (CAny* child = Child(i))
            child->NameAnalysis(own, errors);
    }
    returnPart_ = dynamic_cast<CReturnStmt*>(Child(3));
    if (returnPart_)
        returnPart_->NameAnalysis(own, errors);
    return kAnalysisDone;
}

int CProcedureStmt::TypeAnalysis(CSymbolStore* scope, TypeCode&, CErrorList& errors, std::uint32_t passThrough)
{
    CSymbolStore* own = ownScope_ ? ownScope_.get() : scope;
    TypeCode type = kTypeUndetermined;
    if (CAny* name = Child(0))
        name->TypeAnalysis(scope, type, errors, passThrough);
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
    return kAnalysisDone;
}

void CProcedureStmt::SetCallArguments(CParameterList* arguments, std::span<const TypeCode> types)
{
    callArguments_ = arguments;
    callTypes_ = types;
}

bool CProcedureStmt::BindArguments(CDebugger& debugger)
{
    CParameterList* arguments = callArguments_;
    callArguments_ = nullptr;
    if (!arguments)
        return true;
    CProcParamList* parameters = Parameters();
    const std::size_t parameterCount = parameters ? parameters->ParameterCount() : 0;
    std::vector<CValue>& values = arguments->Values();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i >= parameterCount) {
            RunTimeError(debugger, procmsg::TooManyParameters);
            return false;
        }
        CIdDecl* parameter = parameters->Parameter(i);
        CVariable* variable = parameter ? parameter->Variable() : nullptr;
        if (!variable)
            continue;
        const TypeCode type = variable->Type();
        const TypeCode given = i < callTypes_.size() ? callTypes_[i] : kTypeUndetermined;
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
    if (!ReportLine(debugger, name ? name->Line() : Line())) {
        callArguments_ = nullptr;
        return nullptr;
    }
    CSymbolStore* own = ownScope_.get();
    if (CProcParamList* parameters = Parameters()) {
        if (JumpTarget jump = parameters->Execute(own, valueOut, debugger)) {
            callArguments_ = nullptr;
            return jump;
        }
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
