#include "engine/tree/Node.h"

#include <cstdint>
#include <string>

#include "engine/runtime/Debugger.h"
#include "engine/runtime/ErrorList.h"
#include "engine/base/Output.h"

namespace zov {

JumpTarget EndOfList()
{
    // All bits set, as the engine has always marked it; never the address of a node.
    return reinterpret_cast<CAny*>(~std::uintptr_t{0});
}

CAny::~CAny() = default;

int CAny::NameAnalysis(CSymbolStore* scope, CErrorList& errors)
{
    for (std::size_t i = 0, n = ChildCount(); i < n; ++i) {
        CAny* child = Child(i);
        if (!child) {
            WriteText(Stream::Out, lines::EngNullNameAnalysis);
            return kAnalysisFailed;
        }
        child->NameAnalysis(scope, errors);
    }
    return kAnalysisDone;
}

int CAny::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    for (std::size_t i = 0, n = ChildCount(); i < n; ++i) {
        CAny* child = Child(i);
        if (!child) {
            WriteText(Stream::Out, lines::EngNullTypeAnalysis);
            return kAnalysisFailed;
        }
        child->TypeAnalysis(scope, typeOut, errors, passThrough);
    }
    return kAnalysisDone;
}

// A statement list. A procedure declaration met in sequence is passed over. A jump target
// returned by a child is looked for among this list's children: found, execution goes on from
// there (a procedure found so also learns where to come back); not found, it is handed up.
JumpTarget CAny::Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger)
{
    const std::size_t count = ChildCount();
    std::size_t i = 0;
    bool resuming = false;
    JumpTarget result = nullptr;
    for (;;) {
        while (!result && i < count) {
            CAny* child = Child(i);
            if (child && (!child->IsProcedureDeclaration() || resuming)) {
                resuming = false;
                result = child->Execute(scope, valueOut, debugger);
                // After a run-time error nothing more runs, whatever the statements do.
                if (debugger.Aborting())
                    return nullptr;
            }
            ++i;
        }
        if (!result || result == EndOfList())
            return result;

        // A target remembers where it was last found, so that a loop made with goto in a long
        // list costs no search after its first turn.
        std::size_t target = result->listPosition_;
        if (target >= count || Child(target) != result) {
            target = count;
            for (std::size_t k = 0; k < count; ++k) {
                if (Child(k) == result) {
                    target = k;
                    result->listPosition_ = k;
                    break;
                }
            }
        }
        if (target == count)
            return result;
        if (result->IsProcedureDeclaration()) {
            result->SetReturnPoint(i < count ? Child(i) : EndOfList());
            resuming = true;
        }
        i = target;
        result = nullptr;
    }
}

void CAny::SetReturnPoint(JumpTarget /*resumeAt*/) {}

void CAny::AddError(CErrorList& errors, std::string_view text) const
{
    errors.AddAnalysisError(Line(), Column(), text);
}

// ---------------------------------------------------------------------------------------------

int CExpression::TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough)
{
    typeOut = kTypeUndetermined;
    CAny* left = Child(0);
    if (!left) {
        WriteText(Stream::Out, lines::EngNullTypeAnalysis);
        operandType_ = kTypeUndetermined;
        return kAnalysisFailed;
    }
    TypeCode leftType = kTypeUndetermined;
    const int leftResult = left->TypeAnalysis(scope, leftType, errors, passThrough);
    if (leftResult != kAnalysisDone && leftResult != kExpressionChecked) {
        operandType_ = kTypeUndetermined;
        return kAnalysisDone;  // the operand has reported its error
    }
    operandType_ = leftType;
    typeOut = leftType;

    if (ChildCount() > 1) {
        CAny* right = Child(1);
        if (!right) {
            WriteText(Stream::Out, lines::EngNullTypeAnalysis);
            typeOut = kTypeUndetermined;
            operandType_ = kTypeUndetermined;
            return kAnalysisFailed;
        }
        TypeCode rightType = kTypeUndetermined;
        const int rightResult = right->TypeAnalysis(scope, rightType, errors, passThrough);
        // A right operand that is itself an operator is compared like any other: skipping
        // it would let 1.0 + 2 * 3 through as a real sum of an integer product.
        if ((rightResult != kAnalysisDone && rightResult != kExpressionChecked) || rightType == kTypeUndetermined) {
            typeOut = kTypeUndetermined;
            operandType_ = kTypeUndetermined;
            return kAnalysisDone;
        }
        if (ComparableType(leftType) != ComparableType(rightType)) {
            ReportMixedTypes(*this, errors);
            return kAnalysisFailed;
        }
        if (IsComparison())
            typeOut = kTypeBoolean;
    }

    if (operatorClass_ == OperatorClass::Ordering && operandType_ == kTypeBoolean) {
        AddError(errors, nodemsg::BooleanOrdering);
        return kAnalysisFailed;
    }
    return kExpressionChecked;
}

// ---------------------------------------------------------------------------------------------

void ReportMixedTypes(const CAny& node, CErrorList& errors)
{
    if (!errors.IsScratch())
        WriteText(Stream::Out, nodemsg::DebugMixedTypes);
    node.AddError(errors, nodemsg::MixedTypes);
}

bool ReportLine(CDebugger& debugger, unsigned line)
{
    return debugger.ReportLine(line);
}

void RunTimeError(CDebugger& debugger, std::string_view message)
{
    const std::string text(message);
    WriteOut(lines::ErrLine, static_cast<int>(debugger.CurrentLine()), text.c_str());
    debugger.AbortAfterError();
}

void RunTimeError(CDebugger& debugger, std::string_view message, std::int32_t index)
{
    const std::string text(message);
    WriteOut(lines::ErrLineIndex, static_cast<int>(debugger.CurrentLine()), text.c_str(), static_cast<int>(index));
    debugger.AbortAfterError();
}

}  // namespace zov
