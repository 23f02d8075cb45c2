#pragma once

// What the operator nodes share: their run-time messages, the operand types each operator
// takes, the evaluation of operands and the six comparisons.

#include <cstdint>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"

namespace zov {

// Operand types an operator accepts once the shared check has found both operands alike. A
// CLI handle counts as an integer. Texts may be let through by an operator that refuses them
// at run time, as the language has always done for "-", "*", "/", "^" and mod.
enum : unsigned {
    kTakesInteger = 1u << 0,
    kTakesReal = 1u << 1,
    kTakesBoolean = 1u << 2,
    kTakesString = 1u << 3,
    kTakesNumbers = kTakesInteger | kTakesReal,
};

// After the shared check: an operand type outside `accepted` is an analysis error (booleans
// with the message on booleans in arithmetic, any other type with the mixed-types message), so
// that no operator ever computes on a value of a type it cannot read. Answers the shared
// check's result when it did not go through, Failed after an error, else ExpressionChecked.
int CheckOperandType(const CExpression& node, int sharedResult, unsigned accepted, CErrorList& errors);

// A temporary for an operand: no display base yet, so that an integer variable read into it
// passes its own base and flag on (the modulo reads the flag).
inline CValue FreshOperand()
{
    CValue value;
    value.SetBase(kNoBase);
    return value;
}

// Evaluates child 0 into `a` and, when `b` is given, child 1 into it. Answers a jump target of
// either operand, or null. `proceed` is false when nothing must be computed: a jump, a missing
// operand, or a run-time error inside an operand (only the first error of a run is reported).
JumpTarget EvaluateOperands(const CExpression& node, CSymbolStore* scope, CValue& a, CValue* b, CDebugger& debugger,
                            bool& proceed);

// Execute of an operator node of two operands: both are evaluated and, when there is something
// to compute, `compute(a, b)` writes the result into value out. A jump target of either operand
// is passed on.
template <class Compute>
JumpTarget ExecuteBinary(const CExpression& node, CSymbolStore* scope, CDebugger& debugger, Compute compute)
{
    CValue a = FreshOperand();
    CValue b = FreshOperand();
    bool proceed = false;
    if (JumpTarget jump = EvaluateOperands(node, scope, a, &b, debugger, proceed))
        return jump;
    if (proceed)
        compute(a, b);
    return nullptr;
}

// The same for an operator of one operand: `compute(a)`.
template <class Compute>
JumpTarget ExecuteUnary(const CExpression& node, CSymbolStore* scope, CDebugger& debugger, Compute compute)
{
    CValue a = FreshOperand();
    bool proceed = false;
    if (JumpTarget jump = EvaluateOperands(node, scope, a, nullptr, debugger, proceed))
        return jump;
    if (proceed)
        compute(a);
    return nullptr;
}

// The choice by operand type of an operator on numbers: `onInteger()` for integers and CLI
// handles, `onReal()` for reals; texts are refused at run time.
template <class OnInteger, class OnReal>
void ComputeOnNumbers(const CExpression& node, CDebugger& debugger, OnInteger onInteger, OnReal onReal)
{
    switch (node.OperandType()) {
    case kTypeInteger:
    case kTypeCli:
        onInteger();
        break;
    case kTypeReal:
        onReal();
        break;
    case kTypeString:
        RunTimeError(debugger, exprmsg::StringOperation);
        break;
    default:
        break;
    }
}

// Execute of an arithmetic node whose integers and reals each take one computation and whose
// texts are refused at run time: `integer(a, b)` gives the word, `real(a, b)` the double.
template <class IntegerOperation, class RealOperation>
JumpTarget ExecuteArithmetic(const CExpression& node, CSymbolStore* scope, CValue& valueOut, CDebugger& debugger,
                             IntegerOperation integer, RealOperation real)
{
    return ExecuteBinary(node, scope, debugger, [&](const CValue& a, const CValue& b) {
        ComputeOnNumbers(
            node, debugger, [&] { valueOut.SetWord(integer(a.Word(), b.Word())); },
            [&] { valueOut.SetReal(real(a.RealValue(), b.RealValue())); });
    });
}

// Execute of a node of and, or: booleans give `boolean(a, b)` of their truth, integers
// `word(a, b)` of their words, combined bit by bit.
template <class BooleanOperation, class WordOperation>
JumpTarget ExecuteLogical(const CExpression& node, CSymbolStore* scope, CValue& valueOut, CDebugger& debugger,
                          BooleanOperation boolean, WordOperation word)
{
    return ExecuteBinary(node, scope, debugger, [&](const CValue& a, const CValue& b) {
        if (node.OperandType() == kTypeBoolean)
            valueOut.SetBoolean(boolean(a.LowByte() != 0, b.LowByte() != 0));
        else
            valueOut.SetWord(word(a.Word(), b.Word()));
    });
}

enum class Relation { Equal, NotEqual, Greater, GreaterEqual, Less, LessEqual };

// The comparisons of two values of one operand type. Reals are equal within 1e-6 (absolute) and
// ordered exactly; texts compare byte by byte as unsigned bytes, two absent texts are equal, an
// absent text differs from any text and makes every ordering false.
bool CompareValues(const CValue& a, const CValue& b, TypeCode type, Relation relation);

// Execute of a comparison node: the boolean lands in value out; other fields are untouched.
JumpTarget ExecuteComparison(const CExpression& node, Relation relation, CSymbolStore* scope, CValue& valueOut,
                             CDebugger& debugger);

}  // namespace zov
