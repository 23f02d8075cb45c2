#pragma once

// The grammar model shared by the stages of the compiler: the source reader fills it, the
// scanner and parser builders derive tables from it, the writer stores them.

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/cgt/CgtFormat.h"

namespace grammarc {

using CharSet = std::bitset<256>;

// Symbol and action kinds as the table format stores them.
using SymbolKind = zov::cgt::SymbolKind;
using ActionKind = zov::cgt::ActionKind;
using enum zov::cgt::SymbolKind;
using enum zov::cgt::ActionKind;

struct Regex {
    enum Op { Set, Concat, Alternation, Star, Plus, Optional };
    Op op = Set;
    CharSet chars;
    std::vector<std::unique_ptr<Regex>> parts;
};

struct Symbol {
    std::string name;
    int kind = Terminal;
    int line = 0;  // source line of its definition (or first use), for messages
    // Terminals only: the pattern, and whether it is a fixed text. A fixed text wins over a
    // pattern accepting the same characters (keywords over identifiers).
    std::unique_ptr<Regex> pattern;
    bool fixedText = false;
};

struct Rule {
    int head = 0;
    std::vector<int> body;
    int line = 0;
};

struct Grammar {
    std::string sourceName;
    std::string name, version, author, about;
    bool caseSensitive = false;
    int startSymbol = -1;
    std::vector<Symbol> symbols;  // index 0 is "EOF", index 1 "Error"
    std::vector<Rule> rules;
};

struct DfaEdge {
    int charSet = 0;
    int target = 0;
};

struct DfaState {
    int acceptSymbol = -1;
    std::vector<DfaEdge> edges;
};

struct LalrAction {
    int symbol = 0;
    int action = 0;  // an ActionKind
    int target = 0;
};

struct Tables {
    std::vector<std::string> charSets;  // each set as its member bytes, ascending
    std::vector<DfaState> dfa;
    std::vector<std::vector<LalrAction>> lalr;
    int initialDfa = 0;
    int initialLalr = 0;
};

// Each stage reports problems on standard error in "file:line: error: ..." form and returns
// false when the grammar cannot be compiled.
bool ReadGrammar(const std::string& path, Grammar& grammar);
bool BuildScanner(const Grammar& grammar, Tables& tables);
bool BuildParser(const Grammar& grammar, Tables& tables);
bool WriteTables(const std::string& path, const Grammar& grammar, const Tables& tables);

std::string DescribeRule(const Grammar& grammar, const Rule& rule, int dot = -1);

}  // namespace grammarc
