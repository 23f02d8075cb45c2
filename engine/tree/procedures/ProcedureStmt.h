#pragma once

// A procedure declaration: child 0 its name (CIdProc), 1 its parameters (CProcParamList),
// 2 its body, 3 its return part (CReturnStmt). A running list passes it over; a call enters it.
//
// A procedure has one scope of its own for the whole run: its parameters and local variables
// keep their values from one call to the next (parameters are set back to their defaults at
// the start of each call), and a recursive call works on the same variables.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"
#include "engine/tree/procedures/ReturnStmt.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {

class CIdProc;
class CParameterList;
class CProcParamList;
class CReturnStmt;

class CProcedureStmt final : public CStatement {
public:
    CProcedureStmt() { MarkProcedureDeclaration(); }
    ~CProcedureStmt() override;

    CIdProc* Name() const;
    const std::string& ProcedureName() const;
    CProcParamList* Parameters() const;
    CAny* Body() const { return Child(2); }

    // The procedure's own scope; null before the first name analysis.
    CSymbolStore* OwnScope() const { return ownScope_.get(); }
    // The type of the return part: undetermined until the declaration has been analysed.
    TypeCode ReturnType() const;
    // The value of the last return part run.
    const CValue& ReturnValue() const { return returnPart_ ? returnPart_->ReturnValue() : NoReturnValue(); }
    // For a call met while the declaration itself is being analysed (recursion), before its
    // return part has a type: the type the return part will have, as far as it can be told
    // already (the returned variable's earlier declaration, as in r = 1 ... r = n * call f(n - 1)
    // ... return r). Undetermined when it cannot.
    TypeCode ProvisionalReturnType();
    bool InTypeAnalysis() const { return inTypeAnalysis_; }

    // Creates the own scope (first time only), linked to `scope`, and analyses the children in
    // it.
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // The name in the enclosing scope (which registers the procedure there), then the
    // parameters, the body and last the return part in the own scope: the body settles the
    // types of the variables that the return part names.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;

    // The arguments of the call about to enter, with their types (both owned by the call and
    // kept until the procedure has returned), or none.
    void SetCallArguments(std::span<const CValue> values, std::span<const TypeCode> types)
    {
        hasCallArguments_ = true;
        callValues_ = values;
        callTypes_ = types;
    }
    void ClearCallArguments()
    {
        hasCallArguments_ = false;
        callValues_ = {};
        callTypes_ = {};
    }

    // One call: defaults, then the arguments bound, the body, the return part. Answers the
    // return point (see SetReturnPoint) or a jump target out of the body.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
    // Where a list that resumed at this declaration goes on once it is done.
    void SetReturnPoint(JumpTarget resumeAt) override { returnPoint_ = resumeAt; }

private:
    static const CValue& NoReturnValue();
    // Runs the default assignments (those the call's arguments overwrite may be left out).
    JumpTarget RunDefaults(CDebugger& debugger);
    // Copies the call's arguments into the parameters; false after a run-time error.
    bool BindArguments(CDebugger& debugger);

    std::unique_ptr<CSymbolStore> ownScope_;
    // Found once the names are bound: the parameter list and each parameter's variable.
    CProcParamList* parameters_ = nullptr;
    std::vector<CVariable*> parameterVariables_;
    // Per parameter: its default is a literal, so a call that gives the argument need not run
    // the default assignment first (nothing but the value could tell, and it is overwritten).
    // Settled by the type analysis: a literal default of a number, boolean or text type.
    std::vector<std::uint8_t> skippableDefault_;
    bool everyDefaultSkippable_ = false;
    bool hasCallArguments_ = false;
    std::span<const CValue> callValues_;
    std::span<const TypeCode> callTypes_;
    CReturnStmt* returnPart_ = nullptr;
    JumpTarget returnPoint_ = nullptr;
    bool inTypeAnalysis_ = false;
    bool inProvisional_ = false;
};

}  // namespace zov
