// Reads the grammar notation described in README.md into the grammar model.

#include "Grammar.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

namespace grammarc {
namespace {

enum class Tok {
    End,
    Newline,
    Param,        // "Name"
    SetName,      // {Name}
    Nonterminal,  // <Name>
    Literal,      // 'text'
    SetLiteral,   // [chars]
    Word,         // bare identifier
    Define,       // =
    Produces,     // ::=
    Bar,
    Star,
    PlusOp,
    Question,
    Minus,
    Open,
    Close,
};

struct Token {
    Tok kind = Tok::End;
    std::string text;
    int line = 0;
};

bool IsWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '.' || c == '-' || u >= 0x80;
}

class Reader {
public:
    Reader(std::string file, std::string text) : file_(std::move(file)), text_(std::move(text)) {}

    bool Run(Grammar& grammar);

private:
    bool Fail(int line, const std::string& message)
    {
        std::fprintf(stderr, "%s:%d: error: %s\n", file_.c_str(), line, message.c_str());
        ok_ = false;
        return false;
    }

    bool Tokenize();
    const Token& Peek() const { return tokens_[pos_]; }
    Token Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
    // After a line end, a line that starts with one of the given operators continues the
    // current definition.
    bool Continues(std::initializer_list<Tok> ops);

    bool ReadParameter(Grammar& grammar);
    bool ReadSet();
    bool ReadTerminal(Grammar& grammar);
    bool ReadRules(Grammar& grammar);

    bool EvalSet(const std::string& name, int line, CharSet& out);
    bool SetItem(CharSet& out);
    std::unique_ptr<Regex> RegexAlternation(bool& fixed);
    std::unique_ptr<Regex> RegexSequence(bool& fixed);
    std::unique_ptr<Regex> RegexFactor(bool& fixed);

    std::unique_ptr<Regex> LiteralRegex(const std::string& text) const;
    CharSet Fold(CharSet set) const;

    std::string file_;
    std::string text_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    bool ok_ = true;
    bool caseSensitive_ = false;

    struct PendingSet {
        std::vector<Token> expr;
        int line = 0;
    };
    std::map<std::string, PendingSet> setSources_;
    std::map<std::string, CharSet> sets_;
    std::set<std::string> evaluating_;

    struct PendingTerminal {
        std::string name;
        std::vector<Token> expr;
        int line = 0;
    };
    std::vector<PendingTerminal> terminals_;
    struct PendingRule {
        std::string head;
        std::vector<Token> body;
        int line = 0;
    };
    std::vector<PendingRule> rules_;
    std::string startName_;
    int startLine_ = 0;
};

bool Reader::Tokenize()
{
    size_t i = 0;
    int line = 1;
    const size_t n = text_.size();
    auto push = [&](Tok kind, std::string text) { tokens_.push_back({kind, std::move(text), line}); };
    auto delimited = [&](char close, Tok kind) -> bool {
        const int startLine = line;
        size_t j = i + 1;
        std::string body;
        while (j < n && text_[j] != close && text_[j] != '\n')
            body += text_[j++];
        if (j >= n || text_[j] != close)
            return Fail(startLine, std::string("missing '") + close + "'");
        tokens_.push_back({kind, body, startLine});
        i = j + 1;
        return true;
    };
    while (i < n) {
        const char c = text_[i];
        if (c == '\n') {
            push(Tok::Newline, "");
            ++line;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
        } else if (c == '!') {
            if (i + 1 < n && text_[i + 1] == '*') {
                const int startLine = line;
                i += 2;
                while (i + 1 < n && !(text_[i] == '*' && text_[i + 1] == '!')) {
                    if (text_[i] == '\n')
                        ++line;
                    ++i;
                }
                if (i + 1 >= n)
                    return Fail(startLine, "comment not closed with '*!'");
                i += 2;
            } else {
                while (i < n && text_[i] != '\n')
                    ++i;
            }
        } else if (c == '"') {
            if (!delimited('"', Tok::Param))
                return false;
        } else if (c == '{') {
            if (!delimited('}', Tok::SetName))
                return false;
        } else if (c == '<') {
            if (!delimited('>', Tok::Nonterminal))
                return false;
        } else if (c == '\'' || c == '[') {
            // Inside quotes '' stands for one quote; inside brackets a quoted run holds
            // characters that would otherwise close the bracket.
            const int startLine = line;
            std::string body;
            size_t j = i + 1;
            bool closed = false;
            if (c == '\'') {
                while (j < n && text_[j] != '\n') {
                    if (text_[j] == '\'') {
                        if (j + 1 < n && text_[j + 1] == '\'') {
                            body += '\'';
                            j += 2;
                            continue;
                        }
                        closed = true;
                        break;
                    }
                    body += text_[j++];
                }
            } else {
                while (j < n && text_[j] != '\n') {
                    if (text_[j] == ']') {
                        closed = true;
                        break;
                    }
                    if (text_[j] == '\'') {
                        ++j;
                        if (j < n && text_[j] == '\'') {
                            body += '\'';
                            ++j;
                            continue;
                        }
                        while (j < n && text_[j] != '\'' && text_[j] != '\n')
                            body += text_[j++];
                        if (j >= n || text_[j] != '\'')
                            return Fail(startLine, "quoted run in a set not closed");
                        ++j;
                        continue;
                    }
                    body += text_[j++];
                }
            }
            if (!closed)
                return Fail(startLine, c == '\'' ? "text not closed with a quote" : "set not closed with ']'");
            tokens_.push_back({c == '\'' ? Tok::Literal : Tok::SetLiteral, body, startLine});
            i = j + 1;
        } else if (c == ':' && text_.compare(i, 3, "::=") == 0) {
            push(Tok::Produces, "::=");
            i += 3;
        } else if (c == '=') {
            push(Tok::Define, "=");
            ++i;
        } else if (c == '|') {
            push(Tok::Bar, "|");
            ++i;
        } else if (c == '*') {
            push(Tok::Star, "*");
            ++i;
        } else if (c == '+') {
            push(Tok::PlusOp, "+");
            ++i;
        } else if (c == '?') {
            push(Tok::Question, "?");
            ++i;
        } else if (c == '(') {
            push(Tok::Open, "(");
            ++i;
        } else if (c == ')') {
            push(Tok::Close, ")");
            ++i;
        } else if (c == '-' && (i + 1 >= n || !IsWordChar(text_[i + 1]))) {
            push(Tok::Minus, "-");
            ++i;
        } else if (IsWordChar(c)) {
            size_t j = i;
            while (j < n && IsWordChar(text_[j]))
                ++j;
            push(Tok::Word, text_.substr(i, j - i));
            i = j;
        } else {
            return Fail(line, std::string("unexpected character '") + c + "'");
        }
    }
    push(Tok::Newline, "");
    push(Tok::End, "");
    return true;
}

bool Reader::Continues(std::initializer_list<Tok> ops)
{
    size_t j = pos_;
    while (tokens_[j].kind == Tok::Newline)
        ++j;
    for (Tok op : ops) {
        if (tokens_[j].kind == op) {
            pos_ = j;
            return true;
        }
    }
    return false;
}

// Predefined sets, named as grammar authors expect them.
bool PredefinedSet(const std::string& name, CharSet& out)
{
    out.reset();
    auto range = [&](int a, int b) {
        for (int c = a; c <= b; ++c)
            out.set(c);
    };
    std::string key;
    for (char c : name)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key == "ht")
        out.set(9);
    else if (key == "lf")
        out.set(10);
    else if (key == "vt")
        out.set(11);
    else if (key == "ff")
        out.set(12);
    else if (key == "cr")
        out.set(13);
    else if (key == "space")
        out.set(32);
    else if (key == "nbsp")
        out.set(160);
    else if (key == "digit")
        range('0', '9');
    else if (key == "letter")
        range('a', 'z'), range('A', 'Z');
    else if (key == "alphanumeric")
        range('a', 'z'), range('A', 'Z'), range('0', '9');
    else if (key == "printable")
        range(32, 126);
    else if (key == "whitespace")
        range(9, 13), out.set(32), out.set(160);
    else if (key == "letter extended")
        range(192, 214), range(216, 246), range(248, 255);
    else if (key == "printable extended")
        range(160, 255);
    else if (key == "all valid")
        range(1, 255);
    else
        return false;
    return true;
}

// {#65}, {&41}, {#48..#57}, {&30..&39}: characters by decimal or hexadecimal code.
bool CodeSet(const std::string& name, CharSet& out)
{
    auto code = [](const std::string& s, int& value) {
        if (s.size() < 2 || (s[0] != '#' && s[0] != '&'))
            return false;
        char* end = nullptr;
        const long v = std::strtol(s.c_str() + 1, &end, s[0] == '#' ? 10 : 16);
        if (*end != '\0' || v < 1 || v > 255)
            return false;
        value = static_cast<int>(v);
        return true;
    };
    std::string compact;
    for (char c : name)
        if (c != ' ')
            compact += c;
    const size_t dots = compact.find("..");
    int a = 0;
    int b = 0;
    if (dots == std::string::npos) {
        if (!code(compact, a))
            return false;
        b = a;
    } else if (!code(compact.substr(0, dots), a) || !code(compact.substr(dots + 2), b) || b < a) {
        return false;
    }
    out.reset();
    for (int c = a; c <= b; ++c)
        out.set(c);
    return true;
}

bool Reader::EvalSet(const std::string& name, int line, CharSet& out)
{
    if (auto it = sets_.find(name); it != sets_.end()) {
        out = it->second;
        return true;
    }
    auto src = setSources_.find(name);
    if (src == setSources_.end()) {
        if (PredefinedSet(name, out) || CodeSet(name, out))
            return true;
        return Fail(line, "unknown character set {" + name + "}");
    }
    if (!evaluating_.insert(name).second)
        return Fail(src->second.line, "character set {" + name + "} is defined in terms of itself");
    // Evaluate the stored expression with a temporary token stream.
    std::vector<Token> saved;
    saved.swap(tokens_);
    const size_t savedPos = pos_;
    tokens_ = src->second.expr;
    tokens_.push_back({Tok::End, "", src->second.line});
    pos_ = 0;
    CharSet value;
    bool good = SetItem(value);
    while (good && (Peek().kind == Tok::PlusOp || Peek().kind == Tok::Minus)) {
        const bool add = Next().kind == Tok::PlusOp;
        CharSet item;
        good = SetItem(item);
        if (add)
            value |= item;
        else
            value &= ~item;
    }
    if (good && Peek().kind != Tok::End)
        good = Fail(Peek().line, "unexpected '" + Peek().text + "' in the definition of {" + name + "}");
    tokens_.swap(saved);
    pos_ = savedPos;
    evaluating_.erase(name);
    if (!good)
        return false;
    value.reset(0);
    sets_[name] = value;
    out = value;
    return true;
}

bool Reader::SetItem(CharSet& out)
{
    const Token t = Next();
    out.reset();
    if (t.kind == Tok::SetLiteral) {
        for (char c : t.text)
            out.set(static_cast<unsigned char>(c));
        return true;
    }
    if (t.kind == Tok::SetName)
        return EvalSet(t.text, t.line, out);
    return Fail(t.line, "a character set ({Name} or [chars]) was expected, not '" + t.text + "'");
}

CharSet Reader::Fold(CharSet set) const
{
    if (caseSensitive_)
        return set;
    // The scanner lowers only 'A' to 'Z' before matching, so the sets hold the lower case.
    for (int c = 'A'; c <= 'Z'; ++c) {
        if (set.test(c)) {
            set.reset(c);
            set.set(c + ('a' - 'A'));
        }
    }
    return set;
}

std::unique_ptr<Regex> Reader::LiteralRegex(const std::string& text) const
{
    auto seq = std::make_unique<Regex>();
    seq->op = Regex::Concat;
    for (char c : text) {
        auto one = std::make_unique<Regex>();
        CharSet s;
        s.set(static_cast<unsigned char>(c));
        one->chars = Fold(s);
        seq->parts.push_back(std::move(one));
    }
    return seq;
}

std::unique_ptr<Regex> Reader::RegexAlternation(bool& fixed)
{
    auto first = RegexSequence(fixed);
    if (!first)
        return nullptr;
    if (Peek().kind != Tok::Bar && !Continues({Tok::Bar}))
        return first;
    auto alt = std::make_unique<Regex>();
    alt->op = Regex::Alternation;
    alt->parts.push_back(std::move(first));
    fixed = false;
    while (Peek().kind == Tok::Bar || Continues({Tok::Bar})) {
        Next();
        bool unused = false;
        auto part = RegexSequence(unused);
        if (!part)
            return nullptr;
        alt->parts.push_back(std::move(part));
    }
    return alt;
}

std::unique_ptr<Regex> Reader::RegexSequence(bool& fixed)
{
    auto seq = std::make_unique<Regex>();
    seq->op = Regex::Concat;
    fixed = true;
    for (;;) {
        const Tok k = Peek().kind;
        if (k != Tok::SetName && k != Tok::SetLiteral && k != Tok::Literal && k != Tok::Open)
            break;
        bool partFixed = false;
        auto part = RegexFactor(partFixed);
        if (!part)
            return nullptr;
        fixed = fixed && partFixed;
        seq->parts.push_back(std::move(part));
    }
    if (seq->parts.empty()) {
        const Token& t = Peek();
        if (t.kind == Tok::Word)
            Fail(t.line, "literal text in a pattern must be quoted: '" + t.text + "'");
        else
            Fail(t.line, "a pattern was expected");
        return nullptr;
    }
    return seq;
}

std::unique_ptr<Regex> Reader::RegexFactor(bool& fixed)
{
    const Token t = Next();
    std::unique_ptr<Regex> atom;
    fixed = false;
    if (t.kind == Tok::Literal) {
        if (t.text.empty()) {
            Fail(t.line, "empty quoted text in a pattern");
            return nullptr;
        }
        atom = LiteralRegex(t.text);
        fixed = true;
    } else if (t.kind == Tok::SetName || t.kind == Tok::SetLiteral) {
        --pos_;
        CharSet s;
        if (!SetItem(s))
            return nullptr;
        if (s.none()) {
            Fail(t.line, "empty character set in a pattern");
            return nullptr;
        }
        atom = std::make_unique<Regex>();
        atom->chars = Fold(s);
    } else {  // '('
        bool unused = false;
        atom = RegexAlternation(unused);
        if (!atom)
            return nullptr;
        if (Next().kind != Tok::Close) {
            Fail(t.line, "')' expected");
            return nullptr;
        }
    }
    for (;;) {
        const Tok k = Peek().kind;
        Regex::Op op;
        if (k == Tok::Star)
            op = Regex::Star;
        else if (k == Tok::PlusOp)
            op = Regex::Plus;
        else if (k == Tok::Question)
            op = Regex::Optional;
        else
            break;
        Next();
        auto wrap = std::make_unique<Regex>();
        wrap->op = op;
        wrap->parts.push_back(std::move(atom));
        atom = std::move(wrap);
        fixed = false;
    }
    return atom;
}

bool Reader::ReadParameter(Grammar& grammar)
{
    const Token name = Next();
    if (Next().kind != Tok::Define)
        return Fail(name.line, "'=' expected after \"" + name.text + "\"");
    std::string value;
    const Token v = Next();
    if (v.kind == Tok::Literal || v.kind == Tok::Param || v.kind == Tok::Word || v.kind == Tok::Nonterminal)
        value = v.text;
    else
        return Fail(v.line, "a value was expected for \"" + name.text + "\"");
    while (Peek().kind == Tok::Word)  // several words, as in: "About" = a b c
        value += " " + Next().text;
    std::string key;
    for (char c : name.text)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key == "name")
        grammar.name = value;
    else if (key == "version")
        grammar.version = value;
    else if (key == "author")
        grammar.author = value;
    else if (key == "about")
        grammar.about = value;
    else if (key == "case sensitive") {
        std::string lower;
        for (char c : value)
            lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower != "true" && lower != "false")
            return Fail(v.line, "\"Case Sensitive\" is True or False");
        grammar.caseSensitive = caseSensitive_ = lower == "true";
    } else if (key == "start symbol") {
        if (v.kind != Tok::Nonterminal)
            return Fail(v.line, "\"Start Symbol\" names a <Nonterminal>");
        startName_ = value;
        startLine_ = v.line;
    } else {
        std::fprintf(stderr, "%s:%d: warning: unknown parameter \"%s\" ignored\n", file_.c_str(), name.line,
                     name.text.c_str());
    }
    return true;
}

bool Reader::ReadSet()
{
    const Token name = Next();
    if (Next().kind != Tok::Define)
        return Fail(name.line, "'=' expected after {" + name.text + "}");
    PendingSet set;
    set.line = name.line;
    for (;;) {
        while (Peek().kind != Tok::Newline && Peek().kind != Tok::End)
            set.expr.push_back(Next());
        if (!Continues({Tok::PlusOp, Tok::Minus}))
            break;
    }
    if (set.expr.empty())
        return Fail(name.line, "empty definition of {" + name.text + "}");
    if (setSources_.count(name.text))
        return Fail(name.line, "character set {" + name.text + "} defined twice");
    setSources_[name.text] = std::move(set);
    return true;
}

bool Reader::ReadTerminal(Grammar&)
{
    PendingTerminal term;
    term.line = Peek().line;
    while (Peek().kind == Tok::Word) {
        if (!term.name.empty())
            term.name += ' ';
        term.name += Next().text;
    }
    if (Next().kind != Tok::Define)
        return Fail(term.line, "'=' expected after the terminal name " + term.name);
    for (;;) {
        while (Peek().kind != Tok::Newline && Peek().kind != Tok::End)
            term.expr.push_back(Next());
        if (!Continues({Tok::Bar}))
            break;
    }
    terminals_.push_back(std::move(term));
    return true;
}

bool Reader::ReadRules(Grammar&)
{
    const Token head = Next();
    if (Next().kind != Tok::Produces)
        return Fail(head.line, "'::=' expected after <" + head.text + ">");
    PendingRule rule{head.text, {}, head.line};
    for (;;) {
        while (Peek().kind != Tok::Newline && Peek().kind != Tok::End) {
            const Token t = Next();
            if (t.kind == Tok::Bar) {
                rules_.push_back(rule);
                rule.body.clear();
                rule.line = t.line;
                continue;
            }
            if (t.kind != Tok::Nonterminal && t.kind != Tok::Word && t.kind != Tok::Literal)
                return Fail(t.line, "unexpected '" + t.text + "' in a rule");
            rule.body.push_back(t);
        }
        if (!Continues({Tok::Bar}))
            break;
        rules_.push_back(rule);
        rule.body.clear();
        rule.line = Next().line;
    }
    rules_.push_back(rule);
    return true;
}

bool Reader::Run(Grammar& grammar)
{
    if (!Tokenize())
        return false;
    while (Peek().kind != Tok::End) {
        const Token& t = Peek();
        if (t.kind == Tok::Newline) {
            Next();
            continue;
        }
        bool good = true;
        if (t.kind == Tok::Param)
            good = ReadParameter(grammar);
        else if (t.kind == Tok::SetName)
            good = ReadSet();
        else if (t.kind == Tok::Word)
            good = ReadTerminal(grammar);
        else if (t.kind == Tok::Nonterminal)
            good = ReadRules(grammar);
        else
            good = Fail(t.line, "a definition was expected, not '" + t.text + "'");
        if (!good)
            return false;
        if (Peek().kind != Tok::Newline && Peek().kind != Tok::End)
            return Fail(Peek().line, "unexpected '" + Peek().text + "' at the end of a definition");
    }

    grammar.caseSensitive = caseSensitive_;
    grammar.symbols.clear();
    grammar.symbols.push_back({"EOF", EndOfInput, 0, nullptr, false});
    grammar.symbols.push_back({"Error", ErrorSymbol, 0, nullptr, false});
    std::map<std::string, int> terminalIndex;
    std::map<std::string, int> nonterminalIndex;

    for (auto& pending : terminals_) {
        Symbol sym;
        sym.name = pending.name;
        sym.line = pending.line;
        if (pending.name == "EOF" || pending.name == "Error")
            return Fail(pending.line, "the name " + pending.name + " is reserved");
        if (pending.name == "Whitespace")
            sym.kind = Whitespace;
        else if (pending.name == "Comment Line")
            sym.kind = CommentLine;
        else if (pending.name == "Comment Start" || pending.name == "Comment End")
            return Fail(pending.line, "block comments are not supported; use a Comment Line terminal");
        if (terminalIndex.count(pending.name))
            return Fail(pending.line, "terminal " + pending.name + " defined twice");
        tokens_ = pending.expr;
        tokens_.push_back({Tok::End, "", pending.line});
        pos_ = 0;
        bool fixed = false;
        sym.pattern = RegexAlternation(fixed);
        if (!sym.pattern)
            return false;
        if (Peek().kind != Tok::End)
            return Fail(Peek().line, "unexpected '" + Peek().text + "' in the pattern of " + pending.name);
        sym.fixedText = fixed;
        terminalIndex[sym.name] = static_cast<int>(grammar.symbols.size());
        grammar.symbols.push_back(std::move(sym));
    }

    // A quoted text or an undefined bare word in a rule is a terminal of that very name that
    // matches exactly that text.
    for (const auto& rule : rules_) {
        for (const auto& t : rule.body) {
            if (t.kind == Tok::Nonterminal || terminalIndex.count(t.text))
                continue;
            if (t.text.empty())
                return Fail(t.line, "empty quoted terminal");
            if (t.text == "EOF" || t.text == "Error")
                return Fail(t.line, "the name " + t.text + " is reserved");
            Symbol sym;
            sym.name = t.text;
            sym.line = t.line;
            sym.pattern = LiteralRegex(t.text);
            sym.fixedText = true;
            terminalIndex[sym.name] = static_cast<int>(grammar.symbols.size());
            grammar.symbols.push_back(std::move(sym));
        }
    }
    for (const auto& rule : rules_) {
        if (!nonterminalIndex.count(rule.head)) {
            nonterminalIndex[rule.head] = static_cast<int>(grammar.symbols.size());
            grammar.symbols.push_back({rule.head, Nonterminal, rule.line, nullptr, false});
        }
    }
    for (const auto& rule : rules_) {
        Rule r;
        r.head = nonterminalIndex[rule.head];
        r.line = rule.line;
        for (const auto& t : rule.body) {
            if (t.kind == Tok::Nonterminal) {
                auto it = nonterminalIndex.find(t.text);
                if (it == nonterminalIndex.end())
                    return Fail(t.line, "<" + t.text + "> is used but has no rule");
                r.body.push_back(it->second);
            } else {
                const int index = terminalIndex[t.text];
                const int kind = grammar.symbols[index].kind;
                if (kind != Terminal)
                    return Fail(t.line, t.text + " is skipped by the scanner and cannot appear in a rule");
                r.body.push_back(index);
            }
        }
        grammar.rules.push_back(std::move(r));
    }
    if (startName_.empty())
        return Fail(1, "the grammar has no \"Start Symbol\" parameter");
    auto start = nonterminalIndex.find(startName_);
    if (start == nonterminalIndex.end())
        return Fail(startLine_, "the start symbol <" + startName_ + "> has no rule");
    grammar.startSymbol = start->second;

    for (const auto& sym : grammar.symbols) {
        if (sym.name.size() > 511)
            return Fail(sym.line, "symbol name longer than 511 characters");
    }
    for (const std::string* text : {&grammar.name, &grammar.version, &grammar.author, &grammar.about}) {
        if (text->size() > 511)
            return Fail(1, "parameter text longer than 511 characters");
    }
    return ok_;
}

}  // namespace

bool ReadGrammar(const std::string& path, Grammar& grammar)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: error: cannot open the grammar\n", path.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    grammar.sourceName = path;
    Reader reader(path, text.str());
    return reader.Run(grammar);
}

std::string DescribeRule(const Grammar& grammar, const Rule& rule, int dot)
{
    auto show = [&](int symbol) {
        const Symbol& s = grammar.symbols[symbol];
        return s.kind == Nonterminal ? "<" + s.name + ">" : "'" + s.name + "'";
    };
    std::string text = show(rule.head) + " ::=";
    for (size_t i = 0; i <= rule.body.size(); ++i) {
        if (static_cast<int>(i) == dot)
            text += " .";
        if (i < rule.body.size())
            text += " " + show(rule.body[i]);
    }
    return text;
}

}  // namespace grammarc
