// Builds the scanner DFA: one NFA for all terminal patterns, then the subset construction.
// A DFA state that accepts several terminals keeps the one fixed text among them (keywords
// over identifiers); any other overlap is an ambiguity and fails the build.

#include "Grammar.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <queue>

namespace grammarc {
namespace {

struct NfaState {
    std::vector<std::pair<CharSet, int>> edges;
    std::vector<int> epsilon;
    int accept = -1;  // terminal symbol index
};

class Nfa {
public:
    std::vector<NfaState> states;

    int Add()
    {
        states.emplace_back();
        return static_cast<int>(states.size()) - 1;
    }

    // Thompson construction; returns the fragment's entry and exit.
    std::pair<int, int> Build(const Regex& re)
    {
        switch (re.op) {
        case Regex::Set: {
            const int a = Add();
            const int b = Add();
            states[a].edges.push_back({re.chars, b});
            return {a, b};
        }
        case Regex::Concat: {
            const int a = Add();
            int last = a;
            for (const auto& part : re.parts) {
                auto [s, e] = Build(*part);
                states[last].epsilon.push_back(s);
                last = e;
            }
            return {a, last};
        }
        case Regex::Alternation: {
            const int a = Add();
            const int b = Add();
            for (const auto& part : re.parts) {
                auto [s, e] = Build(*part);
                states[a].epsilon.push_back(s);
                states[e].epsilon.push_back(b);
            }
            return {a, b};
        }
        case Regex::Star:
        case Regex::Plus:
        case Regex::Optional: {
            const int a = Add();
            const int b = Add();
            auto [s, e] = Build(*re.parts[0]);
            states[a].epsilon.push_back(s);
            states[e].epsilon.push_back(b);
            if (re.op != Regex::Plus)
                states[a].epsilon.push_back(b);
            if (re.op != Regex::Optional)
                states[e].epsilon.push_back(s);
            return {a, b};
        }
        }
        return {Add(), Add()};
    }

    void Close(std::vector<int>& set) const
    {
        std::vector<char> seen(states.size(), 0);
        std::vector<int> work(set);
        for (int s : set)
            seen[s] = 1;
        while (!work.empty()) {
            const int s = work.back();
            work.pop_back();
            for (int t : states[s].epsilon) {
                if (!seen[t]) {
                    seen[t] = 1;
                    set.push_back(t);
                    work.push_back(t);
                }
            }
        }
        std::sort(set.begin(), set.end());
    }
};

std::string Printable(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
    }
    return out;
}

}  // namespace

bool BuildScanner(const Grammar& grammar, Tables& tables)
{
    Nfa nfa;
    const int start = nfa.Add();
    for (size_t i = 0; i < grammar.symbols.size(); ++i) {
        const Symbol& sym = grammar.symbols[i];
        if (!sym.pattern)
            continue;
        auto [s, e] = nfa.Build(*sym.pattern);
        nfa.states[start].epsilon.push_back(s);
        nfa.states[e].accept = static_cast<int>(i);
    }

    std::map<std::vector<int>, int> index;
    std::vector<std::vector<int>> sets;
    std::vector<int> parent;  // for sample texts in messages
    std::vector<unsigned char> via;
    std::vector<int> first{start};
    nfa.Close(first);
    index[first] = 0;
    sets.push_back(first);
    parent.push_back(-1);
    via.push_back(0);
    tables.dfa.clear();
    bool ok = true;

    auto sampleText = [&](int state) {
        std::string text;
        for (int s = state; parent[s] >= 0; s = parent[s])
            text.insert(text.begin(), static_cast<char>(via[s]));
        return text;
    };

    for (size_t d = 0; d < sets.size(); ++d) {
        DfaState state;
        // Acceptance.
        std::vector<int> accepted;
        for (int s : sets[d])
            if (nfa.states[s].accept >= 0)
                accepted.push_back(nfa.states[s].accept);
        std::sort(accepted.begin(), accepted.end());
        accepted.erase(std::unique(accepted.begin(), accepted.end()), accepted.end());
        if (accepted.size() == 1) {
            state.acceptSymbol = accepted[0];
        } else if (accepted.size() > 1) {
            int fixedCount = 0;
            for (int a : accepted) {
                if (grammar.symbols[a].fixedText) {
                    ++fixedCount;
                    state.acceptSymbol = a;
                }
            }
            if (fixedCount != 1) {
                std::string names;
                for (int a : accepted)
                    names += (names.empty() ? "" : ", ") + grammar.symbols[a].name + " (line " +
                             std::to_string(grammar.symbols[a].line) + ")";
                std::fprintf(stderr, "%s: error: DFA ambiguity: the text \"%s\" is accepted by %s\n",
                             grammar.sourceName.c_str(), Printable(sampleText(static_cast<int>(d))).c_str(),
                             names.c_str());
                ok = false;
            }
        }
        // Moves, byte by byte; the terminating zero never moves.
        std::vector<std::vector<int>> moves(256);
        for (int s : sets[d])
            for (const auto& [chars, target] : nfa.states[s].edges)
                for (int c = 1; c < 256; ++c)
                    if (chars.test(c))
                        moves[c].push_back(target);
        std::map<int, CharSet> byTarget;
        std::map<int, int> firstByte;
        for (int c = 1; c < 256; ++c) {
            if (moves[c].empty())
                continue;
            std::vector<int>& target = moves[c];
            std::sort(target.begin(), target.end());
            target.erase(std::unique(target.begin(), target.end()), target.end());
            nfa.Close(target);
            auto [it, inserted] = index.try_emplace(target, static_cast<int>(sets.size()));
            if (inserted) {
                sets.push_back(target);
                parent.push_back(static_cast<int>(d));
                via.push_back(static_cast<unsigned char>(c));
            }
            byTarget[it->second].set(c);
            firstByte.try_emplace(it->second, c);
        }
        std::vector<std::pair<int, int>> order;  // (first byte, target): edges by their first character
        for (const auto& [target, byte] : firstByte)
            order.push_back({byte, target});
        std::sort(order.begin(), order.end());
        for (const auto& [byte, target] : order) {
            (void)byte;
            state.edges.push_back({0, target});
            // The char-set index is assigned below, once all sets are known.
            state.edges.back().charSet = -1;
        }
        // Remember the sets of this state's edges in the same order.
        for (auto& edge : state.edges) {
            const CharSet& chars = byTarget[edge.target];
            std::string members;
            for (int c = 1; c < 256; ++c)
                if (chars.test(c))
                    members += static_cast<char>(c);
            auto found = std::find(tables.charSets.begin(), tables.charSets.end(), members);
            if (found == tables.charSets.end()) {
                tables.charSets.push_back(members);
                edge.charSet = static_cast<int>(tables.charSets.size()) - 1;
            } else {
                edge.charSet = static_cast<int>(found - tables.charSets.begin());
            }
        }
        tables.dfa.push_back(std::move(state));
    }
    tables.initialDfa = 0;
    if (tables.dfa[0].acceptSymbol >= 0) {
        std::fprintf(stderr, "%s: error: terminal %s accepts the empty text\n", grammar.sourceName.c_str(),
                     grammar.symbols[tables.dfa[0].acceptSymbol].name.c_str());
        ok = false;
    }
    return ok;
}

}  // namespace grammarc
