#pragma once

// if ... then ... [else ...] end: child 0 the condition, 1 the then part (may be null), 2 the
// else part when there is one.

#include "engine/tree/Node.h"

namespace zov {

// The type analysis of a statement with a condition: every child in order, as for any
// statement, and the condition (child `condition`) refused when it is neither a boolean nor an
// integer.
int AnalyseWithCondition(CAny& statement, std::size_t condition, CSymbolStore* scope, TypeCode& typeOut,
                         CErrorList& errors, std::uint32_t passThrough);


class CIfStmt final : public CStatement {
public:
    CIfStmt() = default;
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;
};

}  // namespace zov
