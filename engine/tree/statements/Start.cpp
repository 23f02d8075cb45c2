#include "engine/tree/statements/Start.h"

#include "engine/runtime/Debugger.h"
#include "engine/runtime/Label.h"
#include "engine/base/Messages.h"

namespace zov {

int CStart::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    ScriptLabels().Clear();
    return CAny::NameAnalysis(scope, errors);
}

// A jump that no statement list on its way up holds (a goto to a label inside a block that does
// not enclose it) would end the run as if it had reached its end: it is reported instead, as a
// label that cannot be reached from there.
JumpTarget CStart::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    CAny* list = Child(0);
    JumpTarget result = list ? list->Execute(scope, valueOut, debugger) : nullptr;
    if (result && result != EndOfList() && !debugger.Aborting())
        RunTimeError(debugger, stmtmsg::UnknownLabel);
    return result;
}

}  // namespace zov
