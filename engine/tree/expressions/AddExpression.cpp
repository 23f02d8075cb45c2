#include "engine/tree/expressions/AddExpression.h"

#include <string>

#include "engine/runtime/Builtins.h"
#include "engine/runtime/Debugger.h"
#include "engine/tree/ExpressionSupport.h"

namespace zov {

int CAddExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    return CheckOperandType(*this, CExpression::TypeAnalysis(scope, typeOut, errors, passThrough),
                            kTakesNumbers | kTakesString, errors);
}

// Integers wrap at 32 bits; texts are joined, an absent text counting as empty, up to the
// longest text a built-in makes. The display base of value out is left as it is.
JumpTarget CAddExpression::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    return ExecuteBinary(*this, scope, debugger, [&](CValue& a, const CValue& b) {
        switch (OperandType()) {
        case kTypeInteger:
        case kTypeCli:
            valueOut.SetWord(WrapAdd(a.Word(), b.Word()));
            break;
        case kTypeReal:
            valueOut.SetReal(a.RealValue() + b.RealValue());
            break;
        case kTypeString: {
            // A join past the longest text the built-ins make stops the run, rather than let a
            // loop that doubles a text take all the memory; the target keeps its text.
            if (a.TextView().size() + b.TextView().size() > kMaxBuiltinTextBytes) {
                RunTimeError(debugger, exprmsg::TextTooLong);
                break;
            }
            // The left operand's buffer becomes the result: value out may be the variable that
            // the left operand has just been copied from.
            std::string& joined = a.MutableText();
            joined.append(b.TextView());
            valueOut.AdoptText(std::move(joined));
            break;
        }
        default:
            break;
        }
    });
}

}  // namespace zov
