#pragma once

// The name of a procedure, in its declaration or in a call. The name of a declaration
// registers the procedure in the scope that encloses it when the types are analysed, so that a
// call met earlier in the script does not find it.

#include <string>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"

namespace zov {

class CIdProc final : public CExpression {
public:
    CIdProc() = default;
    const std::string& ProcedureName() const { return name_; }
    void SetProcedureName(std::string name) { name_ = std::move(name); }

    // Type 6. The name of a declaration registers it in `scope`; a second declaration of the
    // name in that scope is refused.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    std::string name_;
};

}  // namespace zov
