#pragma once

// The codes of the compiled grammar table format (version 1), shared by the grammar compiler that
// writes the tables and the engine that reads them.

#include <cstdint>

namespace zov::cgt {

// The file's first text, a NUL-terminated string of 16-bit code units.
inline constexpr char kHeader[] = "GOLD Parser Tables/v1.0";

// Every record is one 'M' followed by its entry count and its entries; the first entry is a byte
// entry naming the record's content.
inline constexpr unsigned char kMultiTypeRecord = 'M';

enum RecordContent : unsigned char {
    ParametersRecord = 'P',
    TableCountsRecord = 'T',
    InitialStatesRecord = 'I',
    SymbolRecord = 'S',
    CharSetRecord = 'C',
    RuleRecord = 'R',
    DfaStateRecord = 'D',
    LalrStateRecord = 'L',
};

enum EntryType : unsigned char {
    EmptyEntry = 'E',
    ByteEntry = 'b',
    BooleanEntry = 'B',
    IntegerEntry = 'I',  // 16-bit, little-endian
    StringEntry = 'S',   // 16-bit code units up to a NUL
};

enum SymbolKind : std::uint32_t {
    Nonterminal = 0,
    Terminal = 1,
    Whitespace = 2,
    EndOfInput = 3,
    CommentStart = 4,
    CommentEnd = 5,
    CommentLine = 6,
    ErrorSymbol = 7,
};

enum ActionKind : std::uint32_t {
    Shift = 1,
    Reduce = 2,
    Goto = 3,
    Accept = 4,
};

}  // namespace zov::cgt
