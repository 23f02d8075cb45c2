#pragma once

// A function called as a statement: child 0 the name (CIdUse), 1 the arguments
// (CParameterList), 2 the CLI target when there is one, 3 the time-out when there is one.
// See CallNode.h.

#include "engine/tree/procedures/CallNode.h"
#include "engine/tree/Node.h"

namespace zov {

class CFunctionProc final : public CAny {
public:
    CFunctionProc() = default;

    int FunctionIndex() const { return site_.FunctionIndex(); }

    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    // Reports the line, then calls; the answer is null or the statement of ":TIMEOUT".
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    CCallSite site_{true};
};

}  // namespace zov
