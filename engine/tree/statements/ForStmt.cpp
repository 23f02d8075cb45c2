#include "engine/tree/statements/ForStmt.h"

#include <cstdint>

#include "engine/runtime/Debugger.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/base/Output.h"
#include "engine/base/Messages.h"
#include "engine/base/TypeRules.h"

namespace zov {

int CForStmt::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    const std::size_t n = ChildCount();
    for (std::size_t i = 1; i < n; ++i) {
        if (i == n - 2)
            break;  // the body: after the loop variable
        if (CAny* child = Child(i))
            child->NameAnalysis(scope, errors);
    }
    CAny* variable = Child(0);
    if (!variable || n < 5) {
        WriteText(Stream::Out, lines::EngNullNameAnalysis);
        return kAnalysisFailed;
    }
    variable->NameAnalysis(scope, errors);
    for (std::size_t i = n - 2; i < n; ++i) {
        if (CAny* child = Child(i))
            child->NameAnalysis(scope, errors);
    }
    return kAnalysisDone;
}

// The loop counts in integers: a start, end or step of another type (a real would be read
// as its empty word, 0) is refused rather than run with a value the script never gave.
int CForStmt::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    const std::size_t n = ChildCount();
    int result = kAnalysisDone;
    for (std::size_t i = 1; i + 2 < n; ++i) {
        if (CAny* bound = Child(i)) {
            TypeCode boundType = kTypeUndetermined;
            bound->TypeAnalysis(scope, boundType, errors, passThrough);
            if (!CountsAsInteger(boundType)) {
                bound->AddError(errors, stmtmsg::ForBoundNotInteger);
                result = kAnalysisFailed;
            }
        }
    }
    variable_ = dynamic_cast<CIdDecl*>(Child(0));
    if (variable_)
        variable_->BindType(scope, kTypeInteger, errors, passThrough);
    for (std::size_t i = n >= 2 ? n - 2 : n; i < n; ++i) {
        if (CAny* child = Child(i))
            child->TypeAnalysis(scope, typeOut, errors, passThrough);
    }
    return result;
}

// Start, end and step are evaluated once. The next value is counted in 64 bits from the loop
// variable as the body left it, so a loop that ends near the largest integer stops instead of
// wrapping round and starting over.
JumpTarget CForStmt::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    const std::size_t n = ChildCount();
    if (!variable_)
        variable_ = dynamic_cast<CIdDecl*>(Child(0));
    CVariable* variable = variable_ ? variable_->Variable() : nullptr;
    CAny* startNode = Child(1);
    CAny* endNode = Child(2);
    CAny* stepNode = HasStep() ? Child(3) : nullptr;
    CAny* body = n >= 2 ? Child(n - 2) : nullptr;
    CAny* endMarker = n >= 1 ? Child(n - 1) : nullptr;
    if (!variable || !startNode || !endNode || n < 5)
        return nullptr;

    CValue start;
    if (JumpTarget jump = startNode->Execute(scope, start, debugger))
        return jump;
    CValue end;
    if (JumpTarget jump = endNode->Execute(scope, end, debugger))
        return jump;
    std::int64_t step = 1;
    if (stepNode) {
        CValue stepValue;
        if (JumpTarget jump = stepNode->Execute(scope, stepValue, debugger))
            return jump;
        step = stepValue.Word();
    }
    if (debugger.Aborting())
        return nullptr;

    const std::int64_t last = end.Word();
    std::int64_t i = start.Word();
    if (!countingUp_)
        step = -step;
    CVariable& storage = variable->Storage();
    CValue& cell = storage.Value();
    const unsigned line = variable_->Line();
    JumpTarget result = nullptr;
    if (countingUp_ ? i <= last : i >= last) {
        for (;;) {
            cell.SetWord(static_cast<std::int32_t>(i));
            CSymbolStore::Record(storage);
            if (!debugger.ReportLine(line))
                return nullptr;  // the run is ending: no end line either
            if (body) {
                result = body->Execute(scope, valueOut, debugger);
                if (result || debugger.Aborting())
                    break;
            }
            i = static_cast<std::int64_t>(cell.Word()) + step;
            if (countingUp_ ? i > last : i < last)
                break;
        }
    }
    if (endMarker)
        debugger.ReportLine(endMarker->Line());
    return result;
}

}  // namespace zov
