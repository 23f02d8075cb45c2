#include "engine/tree/procedures/CallStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/tree/procedures/IdProc.h"
#include "engine/tree/procedures/ParameterList.h"
#include "engine/tree/procedures/ProcedureStmt.h"
#include "engine/runtime/SymbolStore.h"


namespace zov {

namespace {
// Calls running on this thread, each inside the previous one.
thread_local int callDepth = 0;
}  // namespace

const std::string& CCallStmt::ProcedureName() const
{
    static const std::string none;
    const auto* name = dynamic_cast<const CIdProc*>(Child(0));
    return name ? name->ProcedureName() : none;
}

int CCallStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    if (CAny* arguments = Child(1)) {
        TypeCode argumentType = kTypeUndetermined;
        arguments->TypeAnalysis(scope, argumentType, errors, passThrough);
    }
    const std::string& name = ProcedureName();
    CAny* found = scope ? scope->FindProcedureHere(name) : nullptr;
    if (!found && scope)
        found = scope->Global().FindProcedureHere(name);
    if (auto* procedure = dynamic_cast<CProcedureStmt*>(found)) {
        typeOut = procedure->ReturnType();
        if (typeOut == kTypeUndetermined && procedure->InTypeAnalysis())
            typeOut = procedure->ProvisionalReturnType();
        return kAnalysisDone;
    }
    typeOut = kTypeUnknownProcedure;
    AddError(errors, std::string(procmsg::MissingLead) + " " + procmsg::MissingTail);
    return kAnalysisDone;
}

JumpTarget CCallStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    if (!resolved_) {
        const CAny* name = Child(0);
        reportedLine_ = name ? name->Line() : Line();
        procedure_ = scope ? dynamic_cast<CProcedureStmt*>(scope->FindProcedure(ProcedureName())) : nullptr;
        arguments_ = dynamic_cast<CParameterList*>(Child(1));
        resolved_ = true;
    }
    if (!debugger.ReportLine(reportedLine_))
        return nullptr;
    CProcedureStmt* procedure = procedure_;
    if (!procedure) {
        RunTimeError(debugger, procmsg::MissingAtRunTime);
        return nullptr;
    }
    if (!arguments_) {
        procedure->ClearCallArguments();
        return Enter(*procedure, scope, valueOut, debugger);
    }
    CArgumentFrame frame(*arguments_);
    if (JumpTarget jump = frame.Evaluate(scope, debugger))
        return jump;
    if (debugger.Aborting())
        return nullptr;
    procedure->SetCallArguments(frame.Values(), arguments_->Types(scope));
    return Enter(*procedure, scope, valueOut, debugger);
}

JumpTarget CCallStmt::Enter(CProcedureStmt& procedure, CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    if (callDepth >= kMaxCallDepth) {
        procedure.ClearCallArguments();
        RunTimeError(debugger, procmsg::TooDeep);
        return nullptr;
    }
    ++callDepth;
    // An error later in the calling statement must name the caller's line, not the callee's last.
    const std::uint32_t callerLine = debugger.CurrentLine();
    JumpTarget result = procedure.Execute(scope, valueOut, debugger);
    --callDepth;
    debugger.RestoreLine(callerLine);
    if (debugger.Aborting())
        return nullptr;
    valueOut = procedure.ReturnValue();
    return result;
}

}  // namespace zov
