#include "engine/tree/ExpressionSupport.h"

#include "engine/runtime/Debugger.h"

namespace zov {

int CheckOperandType(const CExpression& node, int sharedResult, unsigned accepted, CErrorList& errors)
{
    if (sharedResult != kExpressionChecked)
        return sharedResult;
    unsigned kind = 0;
    switch (node.OperandType()) {
    case kTypeInteger:
    case kTypeCli:
        kind = kTakesInteger;
        break;
    case kTypeReal:
        kind = kTakesReal;
        break;
    case kTypeBoolean:
        kind = kTakesBoolean;
        break;
    case kTypeString:
        kind = kTakesString;
        break;
    default:
        kind = 0;
        break;  // a whole array, a name: no operator reads them
    }
    if (kind & accepted)
        return kExpressionChecked;
    if (kind == kTakesBoolean) {
        node.AddError(errors, nodemsg::BooleanOrdering);
    } else {
        ReportMixedTypes(node, errors);
    }
    return kAnalysisFailed;
}

JumpTarget EvaluateOperands(const CExpression& node, CSymbolStore* scope, CValue& a, CValue* b, CDebugger& debugger,
                            bool& proceed)
{
    proceed = false;
    CAny* left = node.Child(0);
    if (!left)
        return nullptr;
    if (JumpTarget jump = left->Execute(scope, a, debugger))
        return jump;
    if (b) {
        CAny* right = node.Child(1);
        if (!right)
            return nullptr;
        if (JumpTarget jump = right->Execute(scope, *b, debugger))
            return jump;
    }
    proceed = !debugger.Aborting();
    return nullptr;
}

namespace {

bool RealsEqual(double a, double b)
{
    return b - 0.000001 <= a && a <= b + 0.000001;
}

template <class T>
bool Ordered(const T& a, const T& b, Relation relation)
{
    switch (relation) {
    case Relation::Greater:
        return a > b;
    case Relation::GreaterEqual:
        return a >= b;
    case Relation::Less:
        return a < b;
    case Relation::LessEqual:
        return a <= b;
    default:
        return false;
    }
}

}  // namespace

bool CompareValues(const CValue& a, const CValue& b, TypeCode type, Relation relation)
{
    const bool equality = relation == Relation::Equal || relation == Relation::NotEqual;
    bool result = false;
    switch (type) {
    case kTypeInteger:
    case kTypeCli:
        result = equality ? a.Word() == b.Word() : Ordered(a.Word(), b.Word(), relation);
        break;
    case kTypeReal:
        result = equality ? RealsEqual(a.RealValue(), b.RealValue()) : Ordered(a.RealValue(), b.RealValue(), relation);
        break;
    case kTypeBoolean:
        result = equality ? a.LowByte() == b.LowByte() : Ordered(a.LowByte(), b.LowByte(), relation);
        break;
    case kTypeString:
        if (equality)
            result = a.HasText() == b.HasText() && a.TextView() == b.TextView();
        else
            result = a.HasText() && b.HasText() && Ordered(a.TextView(), b.TextView(), relation);
        break;
    default:
        return false;
    }
    return relation == Relation::NotEqual ? !result : result;
}

JumpTarget ExecuteComparison(const CExpression& node, Relation relation, CSymbolStore* scope, CValue& valueOut,
                             CDebugger& debugger)
{
    return ExecuteBinary(node, scope, debugger, [&](const CValue& a, const CValue& b) {
        valueOut.SetBoolean(CompareValues(a, b, node.OperandType(), relation));
    });
}

}  // namespace zov
