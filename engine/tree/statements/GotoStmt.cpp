#include "engine/tree/statements/GotoStmt.h"

#include "engine/runtime/Debugger.h"
#include "engine/runtime/Label.h"
#include "engine/base/Messages.h"

namespace zov {

// The label statement is the jump target: the statement list that holds it resumes there.
JumpTarget CGotoStmt::Execute(CSymbolStore*, CValue&, CDebugger& debugger)
{
    auto* label = dynamic_cast<CLabel*>(Child(0));
    if (!label)
        return nullptr;
    if (!debugger.ReportLine(label->Line()))
        return nullptr;
    if (!target_)
        target_ = ScriptLabels().Find(label->LabelName());
    if (!target_) {
        RunTimeError(debugger, stmtmsg::UnknownLabel);
        return nullptr;
    }
    return target_;
}

}  // namespace zov
