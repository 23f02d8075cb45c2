#pragma once

// The root of a script's tree: its one child is the script's statement list.

#include "engine/tree/Node.h"

namespace zov {

class CStart final : public CAny {
public:
    CStart() = default;
    // Begins the analysis of a script: the labels of an earlier script are forgotten.
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;
    // Runs the script; a jump that reaches the root unresolved is a run-time error.
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
