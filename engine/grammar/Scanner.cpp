#include "engine/grammar/Scanner.h"

#include "engine/grammar/GrammarTable.h"

#include <algorithm>
#include <cstring>

namespace zov {

CScanner::CScanner(const CGrammarTable& table) : table_(table) {}

bool CScanner::Tokenize(const char* text)
{
    return Tokenize(std::string_view(text ? text : "", text ? std::strlen(text) : 0));
}

bool CScanner::Tokenize(std::string_view text)
{
    tokens_.clear();
    errors_ = CParseErrors();
    if (const size_t zero = text.find('\0'); zero != std::string_view::npos)
        text = text.substr(0, zero);

    const auto& dfa = table_.GetDfaStates();
    const auto& symbols = table_.GetSymbols();
    const uint32_t initial = table_.GetInitialDfaState();
    if (initial >= dfa.size()) {
        errors_.AddError(ErrorKindScan, ScanErrorCharacter, 1, 1);
        return false;
    }

    const size_t n = text.size();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const uint16_t* const rows = table_.GetDfaRow(0);
    uint32_t state = initial;
    const uint16_t* row = rows + static_cast<size_t>(state) * 256;
    size_t start = 0;    // first character of the token being scanned
    int32_t line = 1;    // line of the character at i
    int32_t column = 1;  // column of the character at i
    int32_t startColumn = 1;
    int32_t lastLine = 1;  // line of the last character taken into the token
    bool inComment = false;
    size_t i = 0;
    // A guess for the usual script (a token every few characters); a long one grows as it goes,
    // so that the reservation itself never outgrows the budget.
    tokens_.reserve(std::min(n / 4 + 2, memoryBudget_ / sizeof(CToken) / 4));
    std::size_t memory = 0;
    // A string's own buffer beyond the one inside it.
    const auto heapBytes = [](const std::string& value) {
        return value.capacity() > std::string().capacity() ? value.capacity() + 1 : 0;
    };

    for (;;) {
        const unsigned c = i < n ? bytes[i] : 0;
        if (inComment) {
            if (c == 0)
                break;
            if (c != '\n') {
                ++i;
                ++column;
                continue;
            }
            // The line feed ends the comment and is scanned as usual.
            inComment = false;
            start = i;
            startColumn = column;
        }
        const uint16_t target = row[c];
        if (target != CGrammarTable::NoTarget) {
            state = target;
            row = rows + static_cast<size_t>(state) * 256;
            lastLine = line;
            ++i;
            if (c == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
            continue;
        }
        const CDfaState& current = dfa[state];
        // An accepting state that took no character would accept forever; only a broken
        // table has one, and it is a scan error like any other.
        if (!current.Accepting || (i == start && c != 0)) {
            errors_.AddError(ErrorKindScan, ScanErrorCharacter, line, startColumn);
            return false;
        }
        const CSymbolEntry& symbol = symbols[current.AcceptSymbol];
        switch (symbol.Kind) {
        case cgt::Terminal: {
            CToken& token = tokens_.emplace_back();
            token.SymbolName = symbol.Name;
            token.Image.assign(text.data() + start, i - start);
            token.SymbolIndex = current.AcceptSymbol;
            token.Line = lastLine;
            token.Column = startColumn;
            token.Kind = 1;
            memory += sizeof(CToken) + heapBytes(token.SymbolName) + heapBytes(token.Image);
            if (memory > memoryBudget_) {
                tokens_.clear();
                tokens_.shrink_to_fit();
                errors_.AddError(ErrorKindScan, ScanErrorWorkingSet, lastLine, startColumn);
                return false;
            }
            break;
        }
        case cgt::CommentLine:
            inComment = true;
            break;
        default:  // whitespace, end of input and the kinds without a scanner mode keep nothing
            break;
        }
        state = initial;
        row = rows + static_cast<size_t>(state) * 256;
        start = i;
        startColumn = column;
        if (c == 0)
            break;
    }

    CToken& eof = tokens_.emplace_back();
    eof.SymbolName = "EOF";
    eof.Image = "EOF";
    eof.SymbolIndex = 0;
    eof.Line = line;
    eof.Column = column;
    eof.Kind = 0;
    return true;
}

}  // namespace zov
