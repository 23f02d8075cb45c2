#pragma once

// The table-driven scanner: turns an 8-bit text into tokens with the DFA of a grammar table.

#include "engine/grammar/Parser.h"

#include <cstddef>
#include <string_view>
#include <vector>

namespace zov {

class CScanner {
public:
    explicit CScanner(const CGrammarTable& table);
    CScanner(const CScanner&) = delete;
    CScanner& operator=(const CScanner&) = delete;

    // Scans the text up to its terminating zero (or its first zero byte) with longest match.
    // True when all of it became tokens, the last being "EOF"; false with one error record
    // (an unrecognised character, an unfinished last token, or an empty text).
    bool Tokenize(const char* text);
    bool Tokenize(std::string_view text);

    // The tokens of one text may take at most this much memory (their table and their texts): a
    // longer script is refused as soon as its tokens reach it, with the working-set error, rather
    // than take more memory than the parser could ever use (it stops at about 2 GB).
    static constexpr std::size_t kDefaultMemoryBudget = std::size_t{1} << 30;
    void SetMemoryBudget(std::size_t bytes) { memoryBudget_ = bytes; }

    const std::vector<CToken>& GetTokens() const { return tokens_; }
    const CParseErrors& GetErrors() const { return errors_; }

private:
    const CGrammarTable& table_;
    std::size_t memoryBudget_ = kDefaultMemoryBudget;
    std::vector<CToken> tokens_;
    CParseErrors errors_;
};

}  // namespace zov
