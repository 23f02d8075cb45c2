#pragma once

// Turns the parser's reduction tree of a whole script into the tree of node objects that the
// analysis and the run walk: one node per construct, of the class named after its rule.

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"
#include "engine/grammar/Parser.h"

namespace zov {

class CGrammarTable;

class CTreeBuilder final {
public:
    CTreeBuilder() = default;
    ~CTreeBuilder() = default;
    CTreeBuilder(const CTreeBuilder&) = delete;
    CTreeBuilder& operator=(const CTreeBuilder&) = delete;

    // Every pass over the tree recurses once per level of it, on the stack of the thread that
    // analyses and runs the script. A tree deeper than this (blocks, brackets or operators
    // nested by the tens of thousands, as only a generated script has them) is refused rather than
    // left to exhaust that stack.
    static constexpr std::size_t kMaxDepth = 100000;

    // The tree of the parser's root entry; the caller owns it. Null when the root yields no
    // node, or when the tree would be deeper than kMaxDepth (the resource line "err: Le script
    // est trop grand, memoire insuffisante" is then printed). A construct that cannot be built
    // (an unknown terminal, a nested `with`) prints its line and leaves a null child, which the
    // name analysis reports.
    std::unique_ptr<CAny> BuildTree(const CGrammarSymbol* root);
    // Whether the last BuildTree refused a tree too deep.
    bool TooDeep() const { return tooDeep_; }

    // Converts one entry into a node built under `parent` (its parent link); null when the
    // entry yields none.
    std::unique_ptr<CAny> CreateTree(const CGrammarSymbol* entry, CAny* parent);

private:
    // The first node that a reduction child of the entry yields (terminals are skipped).
    std::unique_ptr<CAny> PassThrough(const CReduction& entry, CAny* parent);
    // Appends to `target` the elements of a right-recursive list: of each link, the children
    // below position `take`; a link with `full` children or more goes on into its last child.
    void FlattenList(CAny& target, const CReduction& entry, std::size_t take, std::size_t full, CAny* parent);
    // The same for a list whose one-element tail is trimmed: an entry not named `ruleName` is
    // one element, converted whole.
    void FlattenListNamed(CAny& target, std::string_view ruleName, const CGrammarSymbol& entry, std::size_t take,
                          std::size_t full, CAny* parent);

    std::unique_ptr<CAny> Build(const CGrammarSymbol& entry, CAny* parent);
    // The node with the subtrees of the entry's children at `positions`, in that order.
    std::unique_ptr<CAny> WithChildren(std::unique_ptr<CAny> node, const CReduction& entry,
                                       std::initializer_list<std::size_t> positions);
    // Appends one element of a statement list to the list.
    void AppendElement(CAny& target, const CGrammarSymbol* element, CAny* parent);
    // Converts a child of the entry under `parent` and appends it (null included).
    CAny* Append(CAny& node, const CReduction& entry, std::size_t position);
    std::unique_ptr<CAny> BuildStatementList(const CReduction& entry, CAny* parent);
    std::unique_ptr<CAny> BuildCaseStmt(const CReduction& entry, CAny* parent);
    std::unique_ptr<CAny> BuildCaseList(const CGrammarSymbol& entry, CAny* parent);
    std::unique_ptr<CAny> BuildCommaList(std::unique_ptr<CAny> node, std::string_view ruleName,
                                         const CReduction& entry);
    std::unique_ptr<CAny> BuildWith(const CReduction& entry, CAny* parent);
    std::unique_ptr<CAny> BuildCall(std::unique_ptr<CAny> node, const CReduction& entry);
    std::unique_ptr<CAny> BuildProcedure(const CReduction& entry, CAny* parent);
    std::unique_ptr<CAny> BuildComparison(const CReduction& entry, CAny* parent);
    std::unique_ptr<CAny> BuildOperatorChain(const CReduction& entry, int rule, CAny* parent);
    std::unique_ptr<CAny> BuildConstant(const CReduction& entry, CAny* parent);
    // The argument list of a call at `position`: a ParameterList entry as it is, a single
    // argument wrapped into a list of its own.
    void AppendArguments(CAny& node, const CReduction& entry, std::size_t position);

    // The rule of a reduction, or kRuleNone for a rule that yields no node of its own.
    static int RuleOf(const CGrammarSymbol& entry);
    static constexpr int kRuleNone = -1;

    // The CLI expression of the `with` whose body is being built, or null. Each call of the
    // body without a target of its own receives its own copy of it, so that every node keeps
    // exactly one owner.
    const CGrammarSymbol* withTarget_ = nullptr;

    // Refuses the tree, once: prints the resource line and stops every further conversion.
    void RefuseTooDeep();
    // Tree depth of the node being converted (conversions that yield no node of their own
    // count too, so it never falls short of the depth of the recursion).
    std::size_t depth_ = 0;
    bool tooDeep_ = false;
};

}  // namespace zov
