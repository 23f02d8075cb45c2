// Builds the LALR(1) table: the LR(0) automaton, then look-aheads by spontaneous generation
// and propagation. Every shift/reduce or reduce/reduce conflict is reported with its rules and
// look-ahead and fails the build: the table format has no way to carry a resolution.

#include "Grammar.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <set>

namespace grammarc {
namespace {

class Bits {
public:
    explicit Bits(size_t n = 0) : words_((n + 63) / 64, 0) {}
    void Set(size_t i) { words_[i / 64] |= uint64_t{1} << (i % 64); }
    void Reset(size_t i) { words_[i / 64] &= ~(uint64_t{1} << (i % 64)); }
    bool Test(size_t i) const { return (words_[i / 64] >> (i % 64)) & 1; }
    bool Merge(const Bits& other)
    {
        bool changed = false;
        for (size_t i = 0; i < words_.size(); ++i) {
            const uint64_t v = words_[i] | other.words_[i];
            changed |= v != words_[i];
            words_[i] = v;
        }
        return changed;
    }

private:
    std::vector<uint64_t> words_;
};

struct Item {
    int rule;
    int dot;
    bool operator<(const Item& o) const { return rule != o.rule ? rule < o.rule : dot < o.dot; }
    bool operator==(const Item& o) const { return rule == o.rule && dot == o.dot; }
};

class Builder {
public:
    Builder(const Grammar& g) : g_(g)
    {
        rules_ = g.rules;
        augmented_ = static_cast<int>(rules_.size());
        rules_.push_back({-1, {g.startSymbol}, 0});
        nsym_ = g.symbols.size();
        dummy_ = nsym_;  // the propagation marker among the look-aheads
        byHead_.resize(nsym_);
        for (size_t r = 0; r < g.rules.size(); ++r)
            byHead_[g.rules[r].head].push_back(static_cast<int>(r));
        ComputeFirst();
    }

    bool Run(Tables& tables);

private:
    bool IsNonterminal(int s) const { return s >= 0 && g_.symbols[s].kind == Nonterminal; }
    int SymbolAfterDot(const Item& item) const
    {
        const auto& body = rules_[item.rule].body;
        return item.dot < static_cast<int>(body.size()) ? body[item.dot] : -1;
    }

    void ComputeFirst();
    std::vector<Item> Closure0(const std::vector<Item>& kernel) const;
    // LR(1) closure of items with look-ahead sets.
    std::map<Item, Bits> Closure1(const std::map<Item, Bits>& kernel) const;
    std::string Show(const Item& item) const
    {
        if (item.rule == augmented_) {
            const std::string start = "<" + g_.symbols[g_.startSymbol].name + ">";
            return item.dot ? "(accept) ::= " + start + " ." : "(accept) ::= . " + start;
        }
        return DescribeRule(g_, rules_[item.rule], item.dot);
    }

    const Grammar& g_;
    std::vector<Rule> rules_;
    int augmented_ = 0;
    size_t nsym_ = 0;
    size_t dummy_ = 0;
    std::vector<std::vector<int>> byHead_;
    std::vector<char> nullable_;
    std::vector<Bits> first_;
};

void Builder::ComputeFirst()
{
    nullable_.assign(nsym_, 0);
    first_.assign(nsym_, Bits(nsym_ + 1));
    for (size_t s = 0; s < nsym_; ++s)
        if (!IsNonterminal(static_cast<int>(s)))
            first_[s].Set(s);
    bool changed = true;
    while (changed) {
        changed = false;
        for (const Rule& r : g_.rules) {
            bool allNullable = true;
            for (int s : r.body) {
                changed |= first_[r.head].Merge(first_[s]);
                if (!nullable_[s]) {
                    allNullable = false;
                    break;
                }
            }
            if (allNullable && !nullable_[r.head]) {
                nullable_[r.head] = 1;
                changed = true;
            }
        }
    }
}

std::vector<Item> Builder::Closure0(const std::vector<Item>& kernel) const
{
    std::vector<Item> items(kernel);
    std::vector<char> added(nsym_, 0);
    for (size_t i = 0; i < items.size(); ++i) {
        const int s = SymbolAfterDot(items[i]);
        if (IsNonterminal(s) && !added[s]) {
            added[s] = 1;
            for (int r : byHead_[s])
                items.push_back({r, 0});
        }
    }
    return items;
}

std::map<Item, Bits> Builder::Closure1(const std::map<Item, Bits>& kernel) const
{
    std::map<Item, Bits> items(kernel);
    bool changed = true;
    while (changed) {
        changed = false;
        for (auto& [item, look] : items) {
            const int s = SymbolAfterDot(item);
            if (!IsNonterminal(s))
                continue;
            // Look-aheads of the new items: FIRST of what follows s, plus ours if that is nullable.
            Bits follow(nsym_ + 1);
            const auto& body = rules_[item.rule].body;
            bool restNullable = true;
            for (size_t k = item.dot + 1; k < body.size(); ++k) {
                follow.Merge(first_[body[k]]);
                if (!nullable_[body[k]]) {
                    restNullable = false;
                    break;
                }
            }
            if (restNullable)
                follow.Merge(look);
            for (int r : byHead_[s]) {
                auto [it, inserted] = items.try_emplace(Item{r, 0}, Bits(nsym_ + 1));
                changed |= it->second.Merge(follow) || inserted;
            }
        }
    }
    return items;
}

bool Builder::Run(Tables& tables)
{
    // LR(0) automaton over kernels.
    std::vector<std::vector<Item>> kernels;
    std::map<std::vector<Item>, int> stateOf;
    std::vector<std::map<int, int>> transitions;
    kernels.push_back({{augmented_, 0}});
    stateOf[kernels[0]] = 0;
    for (size_t st = 0; st < kernels.size(); ++st) {
        std::map<int, std::vector<Item>> next;
        for (const Item& item : Closure0(kernels[st])) {
            const int s = SymbolAfterDot(item);
            if (s >= 0)
                next[s].push_back({item.rule, item.dot + 1});
        }
        std::map<int, int> trans;
        for (auto& [symbol, kernel] : next) {
            std::sort(kernel.begin(), kernel.end());
            kernel.erase(std::unique(kernel.begin(), kernel.end()), kernel.end());
            auto [it, inserted] = stateOf.try_emplace(kernel, static_cast<int>(kernels.size()));
            if (inserted)
                kernels.push_back(kernel);
            trans[symbol] = it->second;
        }
        transitions.push_back(std::move(trans));
    }

    // Look-aheads of kernel items.
    const size_t nstates = kernels.size();
    std::vector<std::vector<Bits>> look(nstates);
    for (size_t st = 0; st < nstates; ++st)
        look[st].assign(kernels[st].size(), Bits(nsym_ + 1));
    look[0][0].Set(0);  // EOF after the start symbol
    struct Link {
        int fromState, fromItem, toState, toItem;
    };
    std::vector<Link> links;
    auto kernelIndex = [&](int st, const Item& item) {
        const auto& k = kernels[st];
        return static_cast<int>(std::lower_bound(k.begin(), k.end(), item) - k.begin());
    };
    for (size_t st = 0; st < nstates; ++st) {
        for (size_t k = 0; k < kernels[st].size(); ++k) {
            std::map<Item, Bits> seed;
            Bits marker(nsym_ + 1);
            marker.Set(dummy_);
            seed.emplace(kernels[st][k], marker);
            for (auto& [item, la] : Closure1(seed)) {
                const int s = SymbolAfterDot(item);
                if (s < 0)
                    continue;
                const int to = transitions[st].at(s);
                const int toItem = kernelIndex(to, Item{item.rule, item.dot + 1});
                Bits spontaneous = la;
                if (la.Test(dummy_)) {
                    links.push_back({static_cast<int>(st), static_cast<int>(k), to, toItem});
                    spontaneous.Reset(dummy_);
                }
                look[to][toItem].Merge(spontaneous);
            }
        }
    }
    bool changed = true;
    while (changed) {
        changed = false;
        for (const Link& l : links)
            changed |= look[l.toState][l.toItem].Merge(look[l.fromState][l.fromItem]);
    }

    // Actions.
    bool ok = true;
    tables.lalr.assign(nstates, {});
    for (size_t st = 0; st < nstates; ++st) {
        std::map<Item, Bits> kernel;
        for (size_t k = 0; k < kernels[st].size(); ++k)
            kernel.emplace(kernels[st][k], look[st][k]);
        const auto items = Closure1(kernel);
        // For each symbol: the chosen action and the items behind it, for conflict reports.
        std::map<int, LalrAction> actions;
        std::map<int, std::vector<Item>> reasons;
        for (const auto& [symbol, target] : transitions[st]) {
            actions[symbol] = {symbol, static_cast<int>(IsNonterminal(symbol) ? Goto : Shift), target};
            for (const auto& [item, la] : items)
                if (SymbolAfterDot(item) == symbol)
                    reasons[symbol].push_back(item);
        }
        for (const auto& [item, la] : items) {
            if (SymbolAfterDot(item) >= 0)
                continue;
            for (size_t t = 0; t < nsym_; ++t) {
                if (!la.Test(t))
                    continue;
                const LalrAction action = item.rule == augmented_ ? LalrAction{static_cast<int>(t), Accept, 0}
                                                                  : LalrAction{static_cast<int>(t), Reduce, item.rule};
                auto [it, inserted] = actions.try_emplace(static_cast<int>(t), action);
                if (!inserted) {
                    const char* kind = it->second.action == Shift ? "shift/reduce" : "reduce/reduce";
                    std::fprintf(stderr, "%s: error: LALR conflict (%s) in state %zu on look-ahead '%s' between:\n",
                                 g_.sourceName.c_str(), kind, st, g_.symbols[t].name.c_str());
                    for (const Item& other : reasons[static_cast<int>(t)])
                        std::fprintf(stderr, "    %s  (line %d)\n", Show(other).c_str(),
                                     other.rule == augmented_ ? 0 : rules_[other.rule].line);
                    std::fprintf(stderr, "    %s  (line %d)\n", Show(item).c_str(),
                                 item.rule == augmented_ ? 0 : rules_[item.rule].line);
                    ok = false;
                }
                reasons[static_cast<int>(t)].push_back(item);
            }
        }
        for (const auto& [symbol, action] : actions)
            tables.lalr[st].push_back(action);
    }
    tables.initialLalr = 0;
    return ok;
}

}  // namespace

bool BuildParser(const Grammar& grammar, Tables& tables)
{
    // Nonterminals that derive no terminal text would leave states with no way out.
    std::vector<char> productive(grammar.symbols.size(), 0);
    for (size_t s = 0; s < grammar.symbols.size(); ++s)
        productive[s] = grammar.symbols[s].kind != Nonterminal;
    bool changed = true;
    while (changed) {
        changed = false;
        for (const Rule& r : grammar.rules) {
            if (productive[r.head])
                continue;
            if (std::all_of(r.body.begin(), r.body.end(), [&](int s) { return productive[s] != 0; })) {
                productive[r.head] = 1;
                changed = true;
            }
        }
    }
    bool ok = true;
    for (size_t s = 0; s < grammar.symbols.size(); ++s) {
        if (!productive[s]) {
            std::fprintf(stderr, "%s:%d: error: <%s> never derives a text (endless recursion)\n",
                         grammar.sourceName.c_str(), grammar.symbols[s].line, grammar.symbols[s].name.c_str());
            ok = false;
        }
    }
    if (!ok)
        return false;

    // Unused symbols are legal but usually a slip: say so without failing.
    std::vector<char> used(grammar.symbols.size(), 0);
    std::vector<int> work{grammar.startSymbol};
    used[grammar.startSymbol] = 1;
    while (!work.empty()) {
        const int head = work.back();
        work.pop_back();
        for (const Rule& r : grammar.rules) {
            if (r.head != head)
                continue;
            for (int s : r.body) {
                if (!used[s]) {
                    used[s] = 1;
                    if (grammar.symbols[s].kind == Nonterminal)
                        work.push_back(s);
                }
            }
        }
    }
    for (size_t s = 0; s < grammar.symbols.size(); ++s) {
        const Symbol& sym = grammar.symbols[s];
        if (used[s] || (sym.kind != Nonterminal && sym.kind != Terminal))
            continue;
        std::fprintf(stderr, "%s:%d: warning: %s%s%s is not reachable from the start symbol\n",
                     grammar.sourceName.c_str(), sym.line, sym.kind == Nonterminal ? "<" : "", sym.name.c_str(),
                     sym.kind == Nonterminal ? ">" : "");
    }

    Builder builder(grammar);
    return builder.Run(tables);
}

}  // namespace grammarc
