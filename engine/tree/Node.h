#pragma once

// The base classes of the analysed syntax tree. Every node answers three passes, each run over
// the whole tree in turn: NameAnalysis binds names to scopes, TypeAnalysis computes types and
// reports errors, Execute runs a statement or evaluates an expression.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/base/Messages.h"
#include "engine/grammar/Parser.h"
#include "engine/base/Value.h"

namespace zov {

class CDebugger;
class CErrorList;
class CSymbolStore;

// Results of NameAnalysis and TypeAnalysis. Callers treat Done and ExpressionChecked alike,
// except the shared expression check for its right operand.
inline constexpr int kAnalysisDone = 0;
inline constexpr int kAnalysisFailed = 1;
inline constexpr int kExpressionChecked = 2;

class CAny;

// The result of Execute: null to go on with the next statement, or a jump target (a node) that
// climbs through every enclosing Execute until a statement list holding it resumes there. A
// target that no enclosing list holds ends the run quietly.
using JumpTarget = CAny*;

// A jump target meaning "past the end of a list": the return point of a procedure whose call
// was the last statement of its list. No node has this address.
JumpTarget EndOfList();

class CAny : public CTreeNode {
public:
    CAny() = default;
    ~CAny() override;

    // Default: the children in order, with the same arguments. A missing child stops the walk
    // with the NULL Pointer line and fails; otherwise Done whatever the children answered.
    virtual int NameAnalysis(CSymbolStore* scope, CErrorList& errors);
    // Default: the same walk, every child writing into the same type slot.
    virtual int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough);
    // Default: runs the children as a statement list (see Node.cpp for the jump rules).
    virtual JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger);

    // Every child of an analysed node is a CAny (the tree builder makes nothing else).
    std::size_t ChildCount() const { return GetChildren().size(); }
    // Null for a missing child and for a position past the end.
    CAny* Child(std::size_t index) const
    {
        const auto& children = GetChildren();
        return index < children.size() ? static_cast<CAny*>(children[index].get()) : nullptr;
    }
    CAny* Parent() const { return static_cast<CAny*>(GetParent()); }
    unsigned Line() const { return GetLine(); }
    unsigned Column() const { return GetColumn(); }

    // A procedure declaration is passed over by a running list and entered only by a call or
    // a jump; the list then hands it the statement to resume at afterwards.
    bool IsProcedureDeclaration() const { return procedureDeclaration_; }
    virtual void SetReturnPoint(JumpTarget resumeAt);

    // Adds an analysis error at this node's line and column.
    void AddError(CErrorList& errors, std::string_view text) const;

protected:
    void MarkProcedureDeclaration() { procedureDeclaration_ = true; }

private:
    bool procedureDeclaration_ = false;
    // Where this node was last found as a jump target in a statement list: a hint only.
    std::size_t listPosition_ = 0;
};

// Base of the statement classes; the defaults of CAny.
class CStatement : public CAny {};

// What an operator's constructor says about it; the shared type check gives a comparison a
// boolean result and refuses booleans in an ordering comparison.
enum class OperatorClass : std::int32_t {
    Plain = 0,
    Ordering = 1,  // > >= < <=
    Equality = 2,  // == <> !=
};

// The operator written in the source, kept while the tree is built.
enum : std::uint32_t {
    kContextValue = 2,  // inside parentheses: no operator context
    kContextMinus = 3,
    kContextPlus = 4,
    kContextDivide = 5,
    kContextMultiply = 6,
    kContextNone = 7,
};

// Base of the expression, constant and name classes.
class CExpression : public CAny {
public:
    explicit CExpression(OperatorClass operatorClass = OperatorClass::Plain) : operatorClass_(operatorClass) {}

    // The shared type check of operators: both operands of one type (a CLI handle counting as
    // an integer), a comparison giving a boolean, booleans never ordered. Answers
    // ExpressionChecked when it went through.
    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;

    OperatorClass GetOperatorClass() const { return operatorClass_; }
    bool IsComparison() const { return operatorClass_ != OperatorClass::Plain; }
    std::uint32_t OperatorContext() const { return operatorContext_; }
    void SetOperatorContext(std::uint32_t context) { operatorContext_ = context; }
    // The operands' type as the shared check left it; 0 before.
    TypeCode OperandType() const { return operandType_; }

protected:
    void SetOperandType(TypeCode type) { operandType_ = type; }

private:
    OperatorClass operatorClass_;
    std::uint32_t operatorContext_ = kContextNone;
    TypeCode operandType_ = kTypeUndetermined;
};

// The type an operand is compared as: a CLI handle is an integer.
constexpr TypeCode ComparableType(TypeCode type)
{
    return type == kTypeCli ? kTypeInteger : type;
}

// The mixed-types analysis error at `node`, after its debug line (not for a scratch list).
void ReportMixedTypes(const CAny& node, CErrorList& errors);

// The statement protocol, done by a statement before its work: tell the debugger the line and
// stop there when it asks. False when the run is ending: the statement must then do nothing.
bool ReportLine(CDebugger& debugger, unsigned line);

// A run-time error: "err: %03d : %s\n" with the line last reported to the debugger, every CLI
// stopped, the debugger's abort flag set. Nothing of the script runs after it; the node that
// reports it returns null.
void RunTimeError(CDebugger& debugger, std::string_view message);
// The same with an index: "err: %03d : %s (%d)\n".
void RunTimeError(CDebugger& debugger, std::string_view message, std::int32_t index);

}  // namespace zov
