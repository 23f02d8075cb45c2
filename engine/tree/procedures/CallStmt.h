#pragma once

// call name(arguments): child 0 the procedure's name (CIdProc), 1 the arguments
// (CParameterList). Used as a statement, or as a value: the procedure's return value.

#include <string>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"

namespace zov {

class CParameterList;
class CProcedureStmt;

// How many procedure calls may be running at once (each one inside the previous).
inline constexpr int kMaxCallDepth = 5000;

class CCallStmt final : public CStatement {
public:
    CCallStmt() = default;

    const std::string& ProcedureName() const;

    // Analyses the arguments and finds the procedure in this scope's table or the global one;
    // the type is its return type (8 when there is none).
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    // Evaluates the arguments, runs the procedure and copies its return value into valueOut.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    // Runs the procedure, its arguments set, and copies its return value.
    JumpTarget Enter(CProcedureStmt& procedure, CSymbolStore* scope, CValue& valueOut, CDebugger& debugger);

    // Found once: the procedure tables do not change after the analysis.
    CProcedureStmt* procedure_ = nullptr;
    CParameterList* arguments_ = nullptr;
    unsigned reportedLine_ = 0;
    bool resolved_ = false;
};

}  // namespace zov
