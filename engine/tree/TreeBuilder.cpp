#include "engine/tree/TreeBuilder.h"

#include <unordered_map>
#include <vector>

#include "engine/tree/expressions/AddExpression.h"
#include "engine/tree/expressions/AndExpression.h"
#include "engine/tree/statements/AssignStatement.h"
#include "engine/tree/procedures/CallStmt.h"
#include "engine/tree/statements/Case.h"
#include "engine/tree/statements/CaseList.h"
#include "engine/tree/statements/CaseStmt.h"
#include "engine/tree/statements/CaseStmtEnd.h"
#include "engine/tree/expressions/ConstBool.h"
#include "engine/tree/expressions/ConstInt.h"
#include "engine/tree/expressions/ConstReal.h"
#include "engine/tree/expressions/ConstStr.h"
#include "engine/tree/statements/ConstantList.h"
#include "engine/tree/statements/DimStmt.h"
#include "engine/tree/expressions/DivExpression.h"
#include "engine/tree/expressions/EqualExpression.h"
#include "engine/tree/statements/ForStmt.h"
#include "engine/tree/expressions/FunctionCall.h"
#include "engine/tree/procedures/FunctionProc.h"
#include "engine/tree/statements/GotoStmt.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/tree/expressions/GreaterEqualExpression.h"
#include "engine/tree/expressions/GreaterExpression.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/tree/procedures/IdProc.h"
#include "engine/tree/expressions/IdUse.h"
#include "engine/tree/statements/IfStmt.h"
#include "engine/runtime/Label.h"
#include "engine/tree/statements/LabelStmt.h"
#include "engine/tree/expressions/LessEqualExpression.h"
#include "engine/tree/expressions/LessExpression.h"
#include "engine/tree/expressions/ModExpression.h"
#include "engine/tree/expressions/MultExpression.h"
#include "engine/tree/expressions/NegateExpression.h"
#include "engine/tree/expressions/NotEqualExpression.h"
#include "engine/tree/expressions/NotExpression.h"
#include "engine/tree/expressions/OrExpression.h"
#include "engine/base/Output.h"
#include "engine/tree/procedures/ParameterList.h"
#include "engine/tree/expressions/PowerExpression.h"
#include "engine/tree/procedures/ProcParamList.h"
#include "engine/tree/procedures/ProcedureStmt.h"
#include "engine/tree/statements/RepeatStmt.h"
#include "engine/tree/procedures/ReturnStmt.h"
#include "engine/grammar/Scanner.h"
#include "engine/tree/statements/Start.h"
#include "engine/tree/statements/StatementList.h"
#include "engine/tree/expressions/SubtractExpression.h"
#include "engine/grammar/SyntaxMessages.h"
#include "engine/tree/statements/WhileStmt.h"
#include "engine/tree/statements/WithStmt.h"
#include "engine/tree/expressions/XorExpression.h"

namespace zov {

namespace {

enum class Rule {
    Start,
    StatementList,
    AssignStatement,
    IfStmt,
    CaseStmt,
    CaseList,
    Case,
    CaseStmtEnd,
    ConstantList,
    ForStmt,
    WhileStmt,
    RepeatStmt,
    WithStmt,
    LabelStmt,
    GotoStmt,
    Label,
    DimStmt,
    ProcedureStmt,
    IdProc,
    ProcParamList,
    ReturnStmt,
    CallStmt,
    FunctionCall,
    FunctionProc,
    ParameterList,
    OrExpression,
    AndExpression,
    XorExpression,
    NotExpression,
    CompareExpression,
    AddExpression,
    MultExpression,
    NegateExpression,
    PowerExpression,
    ModExpression,
    IdDecl,
    IdUse,
    ConstInt,
    ConstIntNeg,
    ConstWord,
    ConstHexa,
    ConstBin,
    ConstOct,
    ConstReal,
    ConstBool,
    ConstStr,
};

const std::unordered_map<std::string, Rule>& Rules()
{
    static const std::unordered_map<std::string, Rule> rules = {
        {"Start", Rule::Start},
        {"StatementList", Rule::StatementList},
        {"AssignStatement", Rule::AssignStatement},
        {"IfStmt", Rule::IfStmt},
        {"CaseStmt", Rule::CaseStmt},
        {"CaseList", Rule::CaseList},
        {"Case", Rule::Case},
        {"CaseStmtEnd", Rule::CaseStmtEnd},
        {"ConstantList", Rule::ConstantList},
        {"ForStmt", Rule::ForStmt},
        {"WhileStmt", Rule::WhileStmt},
        {"RepeatStmt", Rule::RepeatStmt},
        {"WithStmt", Rule::WithStmt},
        {"LabelStmt", Rule::LabelStmt},
        {"GotoStmt", Rule::GotoStmt},
        {"Label", Rule::Label},
        {"DimStmt", Rule::DimStmt},
        {"ProcedureStmt", Rule::ProcedureStmt},
        {"IdProc", Rule::IdProc},
        {"ProcParamList", Rule::ProcParamList},
        {"ReturnStmt", Rule::ReturnStmt},
        {"CallStmt", Rule::CallStmt},
        {"FunctionCall", Rule::FunctionCall},
        {"FunctionProc", Rule::FunctionProc},
        {"ParameterList", Rule::ParameterList},
        {"OrExpression", Rule::OrExpression},
        {"AndExpression", Rule::AndExpression},
        {"XorExpression", Rule::XorExpression},
        {"NotExpression", Rule::NotExpression},
        {"CompareExpression", Rule::CompareExpression},
        {"AddExpression", Rule::AddExpression},
        {"MultExpression", Rule::MultExpression},
        {"NegateExpression", Rule::NegateExpression},
        {"PowerExpression", Rule::PowerExpression},
        {"ModExpression", Rule::ModExpression},
        {"IdDecl", Rule::IdDecl},
        {"IdUse", Rule::IdUse},
        {"ConstInt", Rule::ConstInt},
        {"ConstIntNeg", Rule::ConstIntNeg},
        {"ConstWord", Rule::ConstWord},
        {"ConstHexa", Rule::ConstHexa},
        {"ConstBin", Rule::ConstBin},
        {"ConstOct", Rule::ConstOct},
        {"ConstReal", Rule::ConstReal},
        {"ConstBool", Rule::ConstBool},
        {"ConstStr", Rule::ConstStr},
    };
    return rules;
}

const CGrammarSymbol* ChildAt(const CReduction& entry, std::size_t position)
{
    return position < entry.Children.size() ? entry.Children[position].get() : nullptr;
}

const std::string& ImageAt(const CReduction& entry, std::size_t position)
{
    static const std::string none;
    const CGrammarSymbol* child = ChildAt(entry, position);
    return child && child->Kind == 1 ? static_cast<const CTerminal*>(child)->Image : none;
}

bool IsNamed(const CGrammarSymbol* entry, std::string_view name)
{
    return entry && entry->SymbolName == name;
}

// A new node filled from the entry's child at `position` (the entry itself when there is no
// such child), built under `parent`.
template <class Node>
std::unique_ptr<Node> NewNode(const CReduction& entry, std::size_t position, CAny* parent)
{
    auto node = std::make_unique<Node>();
    const CGrammarSymbol* from = ChildAt(entry, position);
    node->SetFromReduction(from ? *from : entry);
    node->SetParent(parent);
    return node;
}

template <class Node>
std::unique_ptr<Node> NewNodeFromEntry(const CGrammarSymbol& entry, CAny* parent)
{
    auto node = std::make_unique<Node>();
    node->SetFromReduction(entry);
    node->SetParent(parent);
    return node;
}

// Sets the builder's depth for one conversion and puts the former depth back after it.
class DepthAt {
public:
    DepthAt(std::size_t& depth, std::size_t at) : depth_(depth), saved_(depth) { depth_ = at; }
    ~DepthAt() { depth_ = saved_; }
    DepthAt(const DepthAt&) = delete;
    DepthAt& operator=(const DepthAt&) = delete;

private:
    std::size_t& depth_;
    std::size_t saved_;
};

}  // namespace

std::unique_ptr<CAny> CTreeBuilder::BuildTree(const CGrammarSymbol* root)
{
    withTarget_ = nullptr;
    depth_ = 0;
    tooDeep_ = false;
    std::unique_ptr<CAny> tree = CreateTree(root, nullptr);
    if (tooDeep_)
        return nullptr;
    return tree;
}

void CTreeBuilder::RefuseTooDeep()
{
    if (tooDeep_)
        return;
    tooDeep_ = true;
    WriteText(Stream::Out, lines::ErrScriptNoMemory);
}

std::unique_ptr<CAny> CTreeBuilder::CreateTree(const CGrammarSymbol* entry, CAny* parent)
{
    if (!entry || tooDeep_)
        return nullptr;
    if (depth_ >= kMaxDepth) {
        RefuseTooDeep();
        return nullptr;
    }
    DepthAt level(depth_, depth_ + 1);
    return Build(*entry, parent);
}

CAny* CTreeBuilder::Append(CAny& node, const CReduction& entry, std::size_t position)
{
    std::unique_ptr<CAny> child = CreateTree(ChildAt(entry, position), &node);
    return static_cast<CAny*>(node.AddChild(std::move(child)));
}

std::unique_ptr<CAny> CTreeBuilder::WithChildren(std::unique_ptr<CAny> node, const CReduction& entry,
                                                 std::initializer_list<std::size_t> positions)
{
    for (const std::size_t position : positions)
        Append(*node, entry, position);
    return node;
}

std::unique_ptr<CAny> CTreeBuilder::Build(const CGrammarSymbol& entry, CAny* parent)
{
    if (entry.Kind == 1) {
        if (entry.SymbolName == "end") {
            // The closing word of a block becomes its end marker; the one of a `with` also ends
            // the body in which calls receive the `with` target.
            if (dynamic_cast<CWithStmt*>(parent))
                withTarget_ = nullptr;
            return NewNodeFromEntry<CCaseStmtEnd>(entry, parent);
        }
        WriteText(Stream::Out, std::string(buildmsg::UnknownToken) + entry.SymbolName + ")\n");
        return nullptr;
    }
    const auto& reduction = static_cast<const CReduction&>(entry);
    const int rule = RuleOf(entry);
    if (rule < 0)
        return PassThrough(reduction, parent);  // Statement, Value and every wrapping rule

    const std::size_t n = reduction.Children.size();
    switch (static_cast<Rule>(rule)) {
    case Rule::Start: {
        withTarget_ = nullptr;
        auto node = NewNode<CStart>(reduction, 0, parent);
        Append(*node, reduction, 0);
        return node;
    }
    case Rule::StatementList:
        return BuildStatementList(reduction, parent);
    case Rule::AssignStatement:
        return WithChildren(NewNode<CAssignStatement>(reduction, 0, parent), reduction, {0, 2});
    case Rule::IfStmt:  // the else part when there is one
        return n == 7 ? WithChildren(NewNode<CIfStmt>(reduction, 0, parent), reduction, {1, 3, 5})
                      : WithChildren(NewNode<CIfStmt>(reduction, 0, parent), reduction, {1, 3});
    case Rule::CaseStmt:
        return BuildCaseStmt(reduction, parent);
    case Rule::CaseList:
        return BuildCaseList(reduction, parent);
    case Rule::Case:
        return WithChildren(NewNode<CCase>(reduction, 0, parent), reduction, {0, 2});
    case Rule::CaseStmtEnd: {
        auto node = NewNodeFromEntry<CCaseStmtEnd>(reduction, parent);
        if (n == 3)
            Append(*node, reduction, 1);
        return node;
    }
    case Rule::ConstantList: {
        auto node = NewNode<CConstantList>(reduction, 0, parent);
        node->SetRange(IsNamed(ChildAt(reduction, 1), "to"));
        Append(*node, reduction, 0);
        Append(*node, reduction, 2);
        return node;
    }
    case Rule::ForStmt: {
        auto node = NewNode<CForStmt>(reduction, 0, parent);
        node->SetCountingUp(!IsNamed(ChildAt(reduction, 4), "downto"));
        // With a step: start, end, step, body and end marker; without: start, end, body, marker.
        return n > 9 ? WithChildren(std::move(node), reduction, {1, 3, 5, 7, 9, 10})
                     : WithChildren(std::move(node), reduction, {1, 3, 5, 7, 8});
    }
    case Rule::WhileStmt:
        return WithChildren(NewNode<CWhileStmt>(reduction, 0, parent), reduction, {1, 3, 4});
    case Rule::RepeatStmt:
        return WithChildren(NewNode<CRepeatStmt>(reduction, 0, parent), reduction, {1, 3});
    case Rule::WithStmt:
        return BuildWith(reduction, parent);
    case Rule::LabelStmt:
        return WithChildren(NewNodeFromEntry<CLabelStmt>(reduction, parent), reduction, {1});
    case Rule::GotoStmt:
        return WithChildren(NewNodeFromEntry<CGotoStmt>(reduction, parent), reduction, {1});
    case Rule::Label: {
        auto node = NewNode<CLabel>(reduction, 0, parent);
        node->SetLabelName(ImageAt(reduction, 0));
        return node;
    }
    case Rule::DimStmt:
        return WithChildren(NewNode<CDimStmt>(reduction, 0, parent), reduction, {1, 3, 6});
    case Rule::ProcedureStmt:
        return BuildProcedure(reduction, parent);
    case Rule::IdProc: {
        auto node = NewNode<CIdProc>(reduction, 0, parent);
        node->SetProcedureName(ImageAt(reduction, 0));
        return node;
    }
    case Rule::ProcParamList:
        return BuildCommaList(NewNode<CProcParamList>(reduction, 0, parent), "ProcParamList", reduction);
    case Rule::ParameterList:
        return BuildCommaList(NewNode<CParameterList>(reduction, 0, parent), "ParameterList", reduction);
    case Rule::ReturnStmt: {
        auto node = NewNodeFromEntry<CReturnStmt>(reduction, parent);
        if (n > 1)
            Append(*node, reduction, 1);
        return node;
    }
    case Rule::CallStmt: {
        auto node = NewNodeFromEntry<CCallStmt>(reduction, parent);
        Append(*node, reduction, 1);
        AppendArguments(*node, reduction, 3);
        return node;
    }
    case Rule::FunctionCall:
        return BuildCall(NewNode<CFunctionCall>(reduction, 0, parent), reduction);
    case Rule::FunctionProc:
        return BuildCall(NewNode<CFunctionProc>(reduction, 0, parent), reduction);
    case Rule::OrExpression:
    case Rule::AndExpression:
    case Rule::XorExpression:
    case Rule::ModExpression:
    case Rule::AddExpression:
    case Rule::MultExpression:
        return BuildOperatorChain(reduction, rule, parent);
    case Rule::PowerExpression:
        return WithChildren(NewNode<CPowerExpression>(reduction, 0, parent), reduction, {0, 2});
    case Rule::NotExpression:
        return WithChildren(NewNode<CNotExpression>(reduction, 0, parent), reduction, {1});
    case Rule::NegateExpression:
        return WithChildren(NewNode<CNegateExpression>(reduction, 0, parent), reduction, {1});
    case Rule::CompareExpression:
        return BuildComparison(reduction, parent);
    case Rule::IdDecl: {
        auto node = NewNode<CIdDecl>(reduction, 0, parent);
        node->SetVariableName(ImageAt(reduction, 0));
        if (n > 1)
            Append(*node, reduction, 1);
        return node;
    }
    case Rule::IdUse: {
        auto node = NewNode<CIdUse>(reduction, 0, parent);
        node->SetVariableName(ImageAt(reduction, 0));
        if (n > 1)
            Append(*node, reduction, 1);
        return node;
    }
    case Rule::ConstInt:
    case Rule::ConstIntNeg:
    case Rule::ConstWord:
    case Rule::ConstHexa:
    case Rule::ConstBin:
    case Rule::ConstOct:
    case Rule::ConstReal:
    case Rule::ConstBool:
    case Rule::ConstStr:
        return BuildConstant(reduction, parent);
    }
    return nullptr;
}

void CTreeBuilder::AppendElement(CAny& target, const CGrammarSymbol* element, CAny* parent)
{
    // An empty statement (a blank line, a comment line) yields nothing and is left out. Any
    // other element that yields no node failed to build (a nested `with`, an unknown terminal)
    // and stays as a null child, so that the analysis fails instead of running the script
    // without it.
    if (!element || (element->Kind == 0 && static_cast<const CReduction*>(element)->Children.empty()))
        return;
    target.AddChild(CreateTree(element, parent));
}

int CTreeBuilder::RuleOf(const CGrammarSymbol& entry)
{
    const auto& rules = Rules();
    const auto found = rules.find(entry.SymbolName);
    return found == rules.end() ? kRuleNone : static_cast<int>(found->second);
}

std::unique_ptr<CAny> CTreeBuilder::PassThrough(const CReduction& entry, CAny* parent)
{
    for (const auto& child : entry.Children) {
        if (!child || child->Kind != 0)
            continue;
        if (std::unique_ptr<CAny> node = CreateTree(child.get(), parent))
            return node;
    }
    return nullptr;
}

void CTreeBuilder::FlattenList(CAny& target, const CReduction& entry, std::size_t take, std::size_t full, CAny* parent)
{
    // Iterative: a script of many thousand lines is one chain of that many links.
    const CReduction* link = &entry;
    while (link) {
        const std::size_t n = link->Children.size();
        if (n == 0)
            return;
        const std::size_t upTo = n >= full ? n - 1 : n;
        for (std::size_t i = 0; i < upTo && i < take; ++i)
            AppendElement(target, link->Children[i].get(), parent);
        const CGrammarSymbol* last = link->Children[n - 1].get();
        link = n >= full && last && last->Kind == 0 ? static_cast<const CReduction*>(last) : nullptr;
    }
}

void CTreeBuilder::FlattenListNamed(CAny& target, std::string_view ruleName, const CGrammarSymbol& entry,
                                    std::size_t take, std::size_t full, CAny* parent)
{
    const CGrammarSymbol* link = &entry;
    while (link) {
        if (link->SymbolName != ruleName || link->Kind != 0) {
            // The trimmed one-element tail.
            target.AddChild(CreateTree(link, parent));
            return;
        }
        const auto& reduction = static_cast<const CReduction&>(*link);
        const std::size_t n = reduction.Children.size();
        if (n == 0)
            return;
        if (n < full) {
            for (std::size_t i = 0; i < n && i < take; ++i) {
                if (std::unique_ptr<CAny> node = CreateTree(reduction.Children[i].get(), parent))
                    target.AddChild(std::move(node));
            }
            return;
        }
        for (std::size_t i = 0; i + 1 < n && i < take; ++i) {
            const CGrammarSymbol* child = reduction.Children[i].get();
            if (!child || child->Kind != 0)
                continue;
            if (std::unique_ptr<CAny> node = CreateTree(child, parent))
                target.AddChild(std::move(node));
        }
        const CGrammarSymbol* last = reduction.Children[n - 1].get();
        link = last && last->Kind == 0 ? last : nullptr;
    }
}

std::unique_ptr<CAny> CTreeBuilder::BuildStatementList(const CReduction& entry, CAny* parent)
{
    auto node = NewNode<CStatementList>(entry, 0, parent);
    AppendElement(*node, ChildAt(entry, 0), node.get());
    if (entry.Children.size() == 3 && entry.Children[2] && entry.Children[2]->Kind == 0)
        FlattenList(*node, static_cast<const CReduction&>(*entry.Children[2]), 1, 3, node.get());
    return node;
}

std::unique_ptr<CAny> CTreeBuilder::BuildCaseStmt(const CReduction& entry, CAny* parent)
{
    auto node = NewNode<CCaseStmt>(entry, 0, parent);
    Append(*node, entry, 1);
    const CGrammarSymbol* cases = ChildAt(entry, 4);
    node->AddChild(cases ? BuildCaseList(*cases, node.get()) : nullptr);
    const CGrammarSymbol* end = ChildAt(entry, 5);
    if (IsNamed(end, "CaseStmtEnd") && end->Kind == 0 && static_cast<const CReduction*>(end)->Children.size() == 3) {
        // The else statements and the closing end become children of the case itself.
        const auto& elsePart = static_cast<const CReduction&>(*end);
        Append(*node, elsePart, 1);
        Append(*node, elsePart, 2);
    } else {
        Append(*node, entry, 5);
    }
    return node;
}

std::unique_ptr<CAny> CTreeBuilder::BuildCaseList(const CGrammarSymbol& entry, CAny* parent)
{
    // Every link of the chain is a CCaseList holding one case and the rest of the chain; a
    // single case, which the parser delivers bare, gets a link of its own too, so that the
    // rest of a chain is always a list.
    auto head = NewNodeFromEntry<CCaseList>(entry, parent);
    CCaseList* link = head.get();
    const CGrammarSymbol* linkEntry = &entry;
    // Each link stands one level below the one before it.
    for (std::size_t linkDepth = depth_ + 1;; ++linkDepth) {
        if (linkDepth >= kMaxDepth) {
            RefuseTooDeep();
            break;
        }
        DepthAt level(depth_, linkDepth);
        if (!IsNamed(linkEntry, "CaseList") || linkEntry->Kind != 0) {
            link->AddChild(CreateTree(linkEntry, link));
            break;
        }
        const auto& reduction = static_cast<const CReduction&>(*linkEntry);
        Append(*link, reduction, 0);
        const std::size_t n = reduction.Children.size();
        const CGrammarSymbol* rest = n >= 2 ? reduction.Children[n - 1].get() : nullptr;
        if (!rest || rest->Kind != 0)
            break;
        auto next = NewNodeFromEntry<CCaseList>(*rest, link);
        CCaseList* nextLink = next.get();
        link->AddChild(std::move(next));
        link = nextLink;
        linkEntry = rest;
    }
    return head;
}

// A list written "a, b, c": the first element, then those of the nested list of the same rule,
// flattened into one node.
std::unique_ptr<CAny> CTreeBuilder::BuildCommaList(std::unique_ptr<CAny> node, std::string_view ruleName,
                                                   const CReduction& entry)
{
    const std::size_t n = entry.Children.size();
    if (n > 0) {
        Append(*node, entry, 0);
        if (n == 3)
            FlattenListNamed(*node, ruleName, *entry.Children[2], 1, 3, node.get());
    }
    return node;
}

std::unique_ptr<CAny> CTreeBuilder::BuildWith(const CReduction& entry, CAny* parent)
{
    if (withTarget_) {
        WriteText(Stream::Out, buildmsg::NestedWith);
        return nullptr;
    }
    auto node = NewNode<CWithStmt>(entry, 0, parent);
    Append(*node, entry, 1);
    withTarget_ = ChildAt(entry, 1);
    const std::size_t n = entry.Children.size();
    if (n > 4)
        Append(*node, entry, 3);
    Append(*node, entry, n - 1);  // its end clears the target
    withTarget_ = nullptr;
    return node;
}

std::unique_ptr<CAny> CTreeBuilder::BuildCall(std::unique_ptr<CAny> node, const CReduction& entry)
{
    const std::size_t n = entry.Children.size();
    Append(*node, entry, 0);
    AppendArguments(*node, entry, 2);
    if (n > 5) {
        Append(*node, entry, 5);
    } else if (withTarget_) {
        // A copy of the `with` target; a call inside the target itself gets none.
        const CGrammarSymbol* target = withTarget_;
        withTarget_ = nullptr;
        node->AddChild(CreateTree(target, node.get()));
        withTarget_ = target;
    }
    if (n > 7)
        Append(*node, entry, 7);
    return node;
}

void CTreeBuilder::AppendArguments(CAny& node, const CReduction& entry, std::size_t position)
{
    const CGrammarSymbol* arguments = ChildAt(entry, position);
    if (IsNamed(arguments, "ParameterList")) {
        Append(node, entry, position);
        return;
    }
    auto list = NewNode<CParameterList>(entry, 0, &node);
    list->AddChild(CreateTree(arguments, list.get()));
    node.AddChild(std::move(list));
}

std::unique_ptr<CAny> CTreeBuilder::BuildProcedure(const CReduction& entry, CAny* parent)
{
    auto node = NewNode<CProcedureStmt>(entry, 0, parent);
    Append(*node, entry, 1);
    const CGrammarSymbol* parameters = ChildAt(entry, 3);
    if (IsNamed(parameters, "AssignStatement")) {
        auto list = NewNode<CProcParamList>(entry, 0, node.get());
        list->AddChild(CreateTree(parameters, list.get()));
        node->AddChild(std::move(list));
    } else {
        Append(*node, entry, 3);
    }
    Append(*node, entry, 5);
    Append(*node, entry, 6);
    return node;
}

std::unique_ptr<CAny> CTreeBuilder::BuildComparison(const CReduction& entry, CAny* parent)
{
    if (entry.Children.size() < 2)
        return nullptr;
    const std::string& op = entry.Children[1]->SymbolName;
    std::unique_ptr<CAny> node;
    if (op == "==")
        node = NewNode<CEqualExpression>(entry, 0, parent);
    else if (op == "<>" || op == "!=")
        node = NewNode<CNotEqualExpression>(entry, 0, parent);
    else if (op == ">")
        node = NewNode<CGreaterExpression>(entry, 0, parent);
    else if (op == ">=")
        node = NewNode<CGreaterEqualExpression>(entry, 0, parent);
    else if (op == "<")
        node = NewNode<CLessExpression>(entry, 0, parent);
    else if (op == "<=")
        node = NewNode<CLessEqualExpression>(entry, 0, parent);
    else
        return nullptr;
    Append(*node, entry, 0);
    Append(*node, entry, 2);
    return node;
}

namespace {

bool IsOperatorChain(int rule)
{
    switch (static_cast<Rule>(rule)) {
    case Rule::OrExpression:
    case Rule::AndExpression:
    case Rule::XorExpression:
    case Rule::ModExpression:
    case Rule::AddExpression:
    case Rule::MultExpression:
        return true;
    default:
        return false;
    }
}

// The node of a left-recursive operator rule, without its operands; null when the rule has no
// operator or an unknown one. The grammar writes the chains left-recursive, so the tree has the
// order of evaluation as it stands and each written operator maps to its own class.
std::unique_ptr<CAny> NewOperatorNode(const CReduction& entry, int rule, CAny* parent)
{
    switch (static_cast<Rule>(rule)) {
    case Rule::OrExpression:
        return NewNode<COrExpression>(entry, 0, parent);
    case Rule::AndExpression:
        return NewNode<CAndExpression>(entry, 0, parent);
    case Rule::XorExpression:
        return NewNode<CXorExpression>(entry, 0, parent);
    case Rule::ModExpression:
        return NewNode<CModExpression>(entry, 0, parent);
    default:
        break;
    }
    if (entry.Children.size() < 2 || !entry.Children[1])
        return nullptr;
    const std::string& op = entry.Children[1]->SymbolName;
    std::unique_ptr<CExpression> node;
    if (static_cast<Rule>(rule) == Rule::AddExpression) {
        if (op == "+") {
            node = NewNode<CAddExpression>(entry, 0, parent);
            node->SetOperatorContext(kContextPlus);
        } else {
            node = NewNode<CSubtractExpression>(entry, 0, parent);
            node->SetOperatorContext(kContextMinus);
        }
    } else if (op == "*") {
        node = NewNode<CMultExpression>(entry, 0, parent);
        node->SetOperatorContext(kContextMultiply);
    } else if (op == "/") {
        node = NewNode<CDivExpression>(entry, 0, parent);
        node->SetOperatorContext(kContextDivide);
    }
    return node;
}

}  // namespace

std::unique_ptr<CAny> CTreeBuilder::BuildOperatorChain(const CReduction& entry, int rule, CAny* parent)
{
    // a + b - c + ... arrives as a spine of left operands as long as the chain; the spine is
    // walked in a loop (only the right operands are built by recursion), so that a long chain
    // needs no deep stack. The nodes are made top-down, for their parent links, and given their
    // operands bottom-up, in the order of evaluation.
    std::vector<const CReduction*> spine;
    std::vector<std::unique_ptr<CAny>> nodes;
    const CReduction* link = &entry;
    int linkRule = rule;
    CAny* linkParent = parent;
    bool leftIsNull = false;
    for (;;) {
        std::unique_ptr<CAny> node = NewOperatorNode(*link, linkRule, linkParent);
        if (!node) {
            leftIsNull = !nodes.empty();
            break;
        }
        spine.push_back(link);
        linkParent = node.get();
        nodes.push_back(std::move(node));
        const CGrammarSymbol* left = ChildAt(*link, 0);
        if (!left || left->Kind != 0)
            break;
        linkRule = RuleOf(*left);
        if (!IsOperatorChain(linkRule))
            break;
        link = static_cast<const CReduction*>(left);
    }
    if (nodes.empty())
        return nullptr;

    // Node i of the spine stands i levels below the first; its operands one further.
    const std::size_t base = depth_;
    const std::size_t deepest = nodes.size() - 1;
    if (base + deepest >= kMaxDepth) {
        RefuseTooDeep();
        return nullptr;
    }
    {
        DepthAt level(depth_, base + deepest);
        if (leftIsNull)
            nodes[deepest]->AddChild(nullptr);
        else
            Append(*nodes[deepest], *spine[deepest], 0);
        Append(*nodes[deepest], *spine[deepest], 2);
    }
    for (std::size_t i = deepest; i-- > 0;) {
        nodes[i]->AddChild(std::move(nodes[i + 1]));
        DepthAt level(depth_, base + i);
        Append(*nodes[i], *spine[i], 2);
    }
    return std::move(nodes[0]);
}

std::unique_ptr<CAny> CTreeBuilder::BuildConstant(const CReduction& entry, CAny* parent)
{
    const std::string& name = entry.SymbolName;
    // The literal is the last child: a negative constant is the minus and its digits.
    const std::size_t last = entry.Children.empty() ? 0 : entry.Children.size() - 1;
    const std::string& image = ImageAt(entry, last);
    if (name == "ConstReal") {
        auto node = NewNode<CConstReal>(entry, 0, parent);
        node->SetFromImage(image);
        return node;
    }
    if (name == "ConstBool") {
        auto node = NewNode<CConstBool>(entry, 0, parent);
        node->SetFromImage(image);
        return node;
    }
    if (name == "ConstStr") {
        auto node = NewNode<CConstStr>(entry, 0, parent);
        node->SetFromImage(image);
        return node;
    }
    auto node = NewNode<CConstInt>(entry, 0, parent);
    if (name == "ConstIntNeg")
        node->SetDecimal(last > 0 ? "-" + image : image);
    else if (name == "ConstWord")
        node->SetWord(image);
    else if (name == "ConstHexa")
        node->SetPrefixed(image, 16);
    else if (name == "ConstBin")
        node->SetPrefixed(image, 2);
    else if (name == "ConstOct")
        node->SetPrefixed(image, 8);
    else
        node->SetDecimal(image);
    return node;
}

}  // namespace zov
