#pragma once

// Helpers of the grammar-table, scanner, parser and message tests: where the compiled test
// grammars are, and a writer of hand-made table files for the reader's edge cases.

#include "engine/grammar/GrammarTable.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zov::test {

// Compiled from tests/engine/grammars/<name>.grm by the build.
inline std::string TestTable(const std::string& name)
{
    return std::string(ZOV_BIN_DIR) + "/../tests/grammars/" + name + ".cgt";
}

// One typed entry of a record.
struct Entry {
    char type;
    uint32_t value = 0;
    std::u16string text;
};
inline Entry I(uint32_t v)
{
    return {'I', v, {}};
}
inline Entry B(bool v)
{
    return {'B', v ? 1u : 0u, {}};
}
inline Entry Byte(uint8_t v)
{
    return {'b', v, {}};
}
inline Entry S(std::u16string text)
{
    return {'S', 0, std::move(text)};
}
inline Entry E()
{
    return {'E', 0, {}};
}

inline void PutWord(std::string& out, uint32_t w)
{
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>((w >> 8) & 0xFF);
}

inline std::string WideString(const std::u16string& text)
{
    std::string out;
    for (char16_t c : text)
        PutWord(out, c);
    PutWord(out, 0);
    return out;
}

inline std::string Record(const std::vector<Entry>& entries, char kind = 'M')
{
    std::string out;
    out += kind;
    PutWord(out, static_cast<uint32_t>(entries.size()));
    for (const Entry& e : entries) {
        out += e.type;
        switch (e.type) {
        case 'I':
            PutWord(out, e.value);
            break;
        case 'B':
        case 'b':
            out += static_cast<char>(e.value);
            break;
        case 'S':
            out += WideString(e.text);
            break;
        default:
            break;
        }
    }
    return out;
}

inline std::string Header()
{
    return WideString(u"GOLD Parser Tables/v1.0");
}

// A complete table for the language of one word: <S> ::= a, where a is the letter 'a'.
inline std::vector<std::string> OneWordRecords(std::u16string name = u"One")
{
    return {
        Record({Byte('P'), S(name), S(u"1"), S(u"me"), S(u"about"), B(true), I(2)}),
        Record({Byte('T'), I(3), I(1), I(1), I(2), I(3)}),
        Record({Byte('I'), I(0), I(0)}),
        Record({Byte('S'), I(0), S(u"EOF"), I(3)}),
        Record({Byte('S'), I(1), S(u"a"), I(1)}),
        Record({Byte('S'), I(2), S(u"S"), I(0)}),
        Record({Byte('C'), I(0), S(u"a")}),
        Record({Byte('R'), I(0), I(2), E(), I(1)}),
        Record({Byte('D'), I(0), B(false), I(0), E(), I(0), I(1), E()}),
        Record({Byte('D'), I(1), B(true), I(1), E()}),
        Record({Byte('L'), I(0), E(), I(1), I(1), I(1), E(), I(2), I(3), I(2), E()}),
        Record({Byte('L'), I(1), E(), I(0), I(2), I(0), E()}),
        Record({Byte('L'), I(2), E(), I(0), I(4), I(0), E()}),
    };
}

inline std::string Join(const std::vector<std::string>& records)
{
    std::string out = Header();
    for (const auto& r : records)
        out += r;
    return out;
}

inline bool LoadBytes(CGrammarTable& table, const std::string& bytes)
{
    return table.ReadRecords(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace zov::test
