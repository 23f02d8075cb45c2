#pragma once

// A procedure declaration: child 0 its name (CIdProc), 1 its parameters (CProcParamList),
// 2 its body, 3 its return part (CReturnStmt). A running list passes it over; a call enters it.

#include "Node.h"

namespace zov {

class CProcedureStmt final : public CStatement {
public:
    CProcedureStmt() { MarkProcedureDeclaration(); }
};

}  // namespace zov
