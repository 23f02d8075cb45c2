#pragma once

// A compiled grammar table (version 1 format): the symbols, the scanner's character sets and
// DFA, the rules and the LALR(1) actions of one language. The engine reads three of them at
// run time and drives its one scanner and parser with whichever is loaded.

#include <cstdint>
#include <iosfwd>
#include <memory>
#include "common/cgt/CgtFormat.h"

#include <string>
#include <vector>

namespace zov {

class CScanner;
class CParser;

struct CGrammarParameters {
    std::string Name;
    std::string Version;
    std::string Author;
    std::string About;
};

struct CSymbolEntry {
    std::string Name;
    uint32_t Kind = 0;
};

struct CDfaEdge {
    uint32_t CharSet = 0;
    uint32_t Target = 0;
};

struct CDfaState {
    bool Accepting = false;
    uint32_t AcceptSymbol = 0;
    std::vector<CDfaEdge> Edges;
};

struct CRuleEntry {
    uint32_t Head = 0;
    std::vector<uint32_t> Body;
};

struct CLalrAction {
    uint32_t Symbol = 0;
    uint32_t Action = 0;
    uint32_t Target = 0;
};

struct CLalrState {
    std::vector<CLalrAction> Actions;
};

class CGrammarTable {
public:
    // No DFA edge for this byte, in the per-state transition rows.
    static constexpr uint16_t NoTarget = 0xFFFF;

    CGrammarTable();
    virtual ~CGrammarTable();
    CGrammarTable(const CGrammarTable&) = delete;
    CGrammarTable& operator=(const CGrammarTable&) = delete;

    // Reads a table file, opened by the name given (a bare name is looked up in the current
    // folder). False when the file is missing, unreadable or not a sound table.
    bool Load(const std::string& fileName);
    // Reads the header and every record. The tables are always left consistent (every stored
    // index within its table), even when the load fails part-way.
    bool ReadRecords(std::istream& in);
    bool ReadRecords(const unsigned char* data, size_t size);

    // The last failure of a load, or nullptr.
    const char* GetLastError() const { return lastError_; }

    // The scanner and parser over the current tables. The table owns them; making a new one,
    // or loading tables anew, discards the previous one.
    CScanner* CreateScanner();
    CParser* CreateParser();

    const std::string& GetHeader() const { return header_; }
    const CGrammarParameters& GetParameters() const { return parameters_; }
    bool IsCaseSensitive() const { return caseSensitive_ != 0; }
    uint32_t GetStartSymbol() const { return startSymbol_; }
    uint32_t GetInitialDfaState() const { return initialDfa_; }
    uint32_t GetInitialLalrState() const { return initialLalr_; }
    const std::vector<CSymbolEntry>& GetSymbols() const { return symbols_; }
    const std::vector<std::string>& GetCharSets() const { return charSets_; }
    const std::vector<CDfaState>& GetDfaStates() const { return dfa_; }
    const std::vector<CRuleEntry>& GetRules() const { return rules_; }
    const std::vector<CLalrState>& GetLalrStates() const { return lalr_; }

    // 256 targets of one DFA state, by input byte, after the case folding of the grammar:
    // the first edge (in file order) whose set holds the compared character, or NoTarget.
    const uint16_t* GetDfaRow(uint32_t state) const { return &dfaRows_[static_cast<size_t>(state) * 256]; }
    // The first action of a LALR state for a symbol, or nullptr.
    const CLalrAction* FindAction(uint32_t state, uint32_t symbol) const;

private:
    class EntryReader;
    bool ReadAll(EntryReader& reader);
    bool ReadRecord(EntryReader& reader, unsigned contentType);
    bool Fail(const char* message);
    void DiscardEngines();
    void PrepareLookups();

    std::string header_;
    CGrammarParameters parameters_;
    uint8_t caseSensitive_ = 0;
    uint32_t startSymbol_ = 0;
    const char* lastError_ = nullptr;
    bool haveCounts_ = false;
    std::vector<std::string> charSets_;
    std::vector<CSymbolEntry> symbols_;
    std::vector<CDfaState> dfa_;
    std::vector<CRuleEntry> rules_;
    std::vector<CLalrState> lalr_;
    uint32_t initialDfa_ = 0;
    uint32_t initialLalr_ = 0;

    std::vector<uint16_t> dfaRows_;
    // Index + 1 of the first action of (state, symbol), or 0; empty when the table would be
    // too large, and the actions are then searched.
    std::vector<uint32_t> actionIndex_;

    std::unique_ptr<CScanner> scanner_;
    std::unique_ptr<CParser> parser_;
};

}  // namespace zov
