#include "engine/tree/statements/LabelStmt.h"

#include "engine/runtime/Debugger.h"

namespace zov {

// A place where the debugger can stop, and nothing else.
JumpTarget CLabelStmt::Execute(CSymbolStore*, CValue&, CDebugger& debugger)
{
    if (CAny* label = Child(0))
        debugger.ReportLine(label->Line());
    return nullptr;
}

}  // namespace zov
