// Writes the compiled grammar table, version 1: the header text, then one record per item, each
// table's records in index order.

#include "common/AtomicFile.h"
#include "Grammar.h"

#include <cstdio>

namespace grammarc {
namespace {

class RecordWriter {
public:
    explicit RecordWriter(std::string& out) : out_(out) {}

    void Begin(zov::cgt::RecordContent contentType, size_t entries)
    {
        out_ += static_cast<char>(zov::cgt::kMultiTypeRecord);
        Word(static_cast<uint16_t>(entries));
        Byte(zov::cgt::ByteEntry);
        Byte(static_cast<unsigned char>(contentType));
    }
    void Integer(int value)
    {
        Byte(zov::cgt::IntegerEntry);
        Word(static_cast<uint16_t>(value));
    }
    void Boolean(bool value)
    {
        Byte(zov::cgt::BooleanEntry);
        Byte(value ? 1 : 0);
    }
    void Empty() { Byte(zov::cgt::EmptyEntry); }
    void String(const std::string& text)
    {
        Byte(zov::cgt::StringEntry);
        Raw(text);
    }
    // Latin-1 code units, as the tables hold 8-bit characters.
    void Raw(const std::string& text)
    {
        for (unsigned char c : text)
            Word(c);
        Word(0);
    }

private:
    void Byte(unsigned char b) { out_ += static_cast<char>(b); }
    void Word(uint16_t w)
    {
        Byte(static_cast<unsigned char>(w & 0xFF));
        Byte(static_cast<unsigned char>(w >> 8));
    }
    std::string& out_;
};

}  // namespace

bool WriteTables(const std::string& path, const Grammar& g, const Tables& t)
{
    auto tooMany = [&](size_t n, const char* what) {
        if (n <= 0xFFFF)
            return false;
        std::fprintf(stderr, "%s: error: too many %s for the table format (%zu)\n", g.sourceName.c_str(), what, n);
        return true;
    };
    if (tooMany(g.symbols.size(), "symbols") || tooMany(t.charSets.size(), "character sets") ||
        tooMany(g.rules.size(), "rules") || tooMany(t.dfa.size(), "DFA states") ||
        tooMany(t.lalr.size(), "LALR states"))
        return false;
    for (const auto& state : t.dfa)
        if (tooMany(5 + 3 * state.edges.size(), "DFA edges in one state"))
            return false;
    for (const auto& state : t.lalr)
        if (tooMany(3 + 4 * state.size(), "actions in one LALR state"))
            return false;
    for (const auto& rule : g.rules)
        if (tooMany(4 + rule.body.size(), "symbols in one rule"))
            return false;

    std::string out;
    RecordWriter w(out);
    w.Raw(zov::cgt::kHeader);

    w.Begin(zov::cgt::ParametersRecord, 7);
    w.String(g.name);
    w.String(g.version);
    w.String(g.author);
    w.String(g.about);
    w.Boolean(g.caseSensitive);
    w.Integer(g.startSymbol);

    w.Begin(zov::cgt::TableCountsRecord, 6);
    w.Integer(static_cast<int>(g.symbols.size()));
    w.Integer(static_cast<int>(t.charSets.size()));
    w.Integer(static_cast<int>(g.rules.size()));
    w.Integer(static_cast<int>(t.dfa.size()));
    w.Integer(static_cast<int>(t.lalr.size()));

    w.Begin(zov::cgt::InitialStatesRecord, 3);
    w.Integer(t.initialDfa);
    w.Integer(t.initialLalr);

    for (size_t i = 0; i < g.symbols.size(); ++i) {
        w.Begin(zov::cgt::SymbolRecord, 4);
        w.Integer(static_cast<int>(i));
        w.String(g.symbols[i].name);
        w.Integer(g.symbols[i].kind);
    }
    for (size_t i = 0; i < t.charSets.size(); ++i) {
        w.Begin(zov::cgt::CharSetRecord, 3);
        w.Integer(static_cast<int>(i));
        w.String(t.charSets[i]);
    }
    for (size_t i = 0; i < g.rules.size(); ++i) {
        const Rule& r = g.rules[i];
        w.Begin(zov::cgt::RuleRecord, 4 + r.body.size());
        w.Integer(static_cast<int>(i));
        w.Integer(r.head);
        w.Empty();
        for (int s : r.body)
            w.Integer(s);
    }
    for (size_t i = 0; i < t.dfa.size(); ++i) {
        const DfaState& d = t.dfa[i];
        w.Begin(zov::cgt::DfaStateRecord, 5 + 3 * d.edges.size());
        w.Integer(static_cast<int>(i));
        w.Boolean(d.acceptSymbol >= 0);
        w.Integer(d.acceptSymbol >= 0 ? d.acceptSymbol : 0);
        w.Empty();
        for (const DfaEdge& e : d.edges) {
            w.Integer(e.charSet);
            w.Integer(e.target);
            w.Empty();
        }
    }
    for (size_t i = 0; i < t.lalr.size(); ++i) {
        w.Begin(zov::cgt::LalrStateRecord, 3 + 4 * t.lalr[i].size());
        w.Integer(static_cast<int>(i));
        w.Empty();
        for (const LalrAction& a : t.lalr[i]) {
            w.Integer(a.symbol);
            w.Integer(a.action);
            w.Integer(a.target);
            w.Empty();
        }
    }

    // Written beside the target and renamed, so that an interrupted build leaves no half table.
    if (!zov::WriteFileAtomically(path, out)) {
        std::fprintf(stderr, "%s: error: cannot write %s\n", g.sourceName.c_str(), path.c_str());
        return false;
    }
    return true;
}

}  // namespace grammarc
