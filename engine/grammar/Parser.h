#pragma once

// The LALR(1) parser over a compiled grammar table, the tokens it reads, the reduction tree it
// builds, the error records of scanning and parsing, and the base of the syntax-tree nodes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace zov {

class CGrammarTable;

struct CToken {
    std::string SymbolName;  // "EOF" for the final token
    std::string Image;       // the characters as written; "EOF" for the final token
    uint32_t SymbolIndex = 0;
    int32_t Line = 0;    // 1-based line of the token's last character
    int32_t Column = 0;  // 1-based column of its first character
    int32_t State = 0;   // LALR state entered when the parser shifted it
    int32_t Kind = 0;    // 1 for a scanned terminal, 0 for the final token

};

// An entry of the parse stack and a node of the reduction tree.
class CGrammarSymbol {
public:
    virtual ~CGrammarSymbol() = default;

    // A long script makes several entries per token, most of them kept as long as its tree:
    // they come from large blocks kept per thread rather than one heap block each.
    static void* operator new(std::size_t size);
    static void operator delete(void* entry, std::size_t size);

    int32_t Kind = 0;  // 1 terminal, 0 nonterminal
    std::string SymbolName;
    uint32_t SymbolIndex = 0;
    uint32_t State = 0;
    int32_t Line = 0;
    int32_t Column = 0;
    bool Trimmed = false;
};

class CTerminal final : public CGrammarSymbol {
public:
    CTerminal() { Kind = 1; }
    std::string Image;
};

class CReduction final : public CGrammarSymbol {
public:
    CReduction() { Kind = 0; }
    // Frees the subtree without recursion: right-recursive rules make trees as deep as a
    // script is long.
    ~CReduction() override;

    std::vector<std::unique_ptr<CGrammarSymbol>> Children;
};

// Copy of a parse-stack entry kept in an error record.
struct CTracebackEntry {
    int32_t Kind = 0;
    std::string SymbolName;
    uint32_t SymbolIndex = 0;
    uint32_t State = 0;
    int32_t Line = 0;
    int32_t Column = 0;
};

enum : int32_t {
    ErrorKindParse = 0,
    ErrorKindScan = 1,
};
enum : int32_t {
    ScanErrorCharacter = 0,
    ScanErrorWorkingSet = 2,
    ScanErrorMemoryLoad = 3,
    ParseErrorUnexpectedToken = 1,
    // A reduction whose head has no goto in the table: the table is unsound for this text.
    ParseErrorNoGoto = 2,
    // Reductions that go on without reading a token: only an unsound table loops like that.
    ParseErrorNoProgress = 3,
};

struct CParseError {
    int32_t Kind = 0;
    int32_t Subtype = 0;
    // The reduction last returned before a parse error; owned by the parser that made it.
    const CReduction* LastReduction = nullptr;
    int32_t Line = 0;
    int32_t Column = 0;
    std::vector<std::string> Expected;
    std::vector<CTracebackEntry> Traceback;  // the parse stack, top first
    CTerminal OffendingToken;
};

class CParseErrors {
public:
    void AddError(int32_t kind, int32_t subtype, int32_t line, int32_t column);
    void AddParseError(int32_t kind, int32_t subtype, const CReduction* lastReduction, const CTerminal& offending,
                       std::vector<std::string> expected, std::vector<CTracebackEntry> traceback, int32_t line,
                       int32_t column);

    bool empty() const { return errors_.empty(); }
    size_t size() const { return errors_.size(); }
    const CParseError& operator[](size_t i) const { return errors_[i]; }
    std::vector<CParseError>::const_iterator begin() const { return errors_.begin(); }
    std::vector<CParseError>::const_iterator end() const { return errors_.end(); }

private:
    std::vector<CParseError> errors_;
};

// The probes of the resource stop; replaceable so that tests can simulate a full machine.
struct CResourceProbes {
    long (*WorkingSetKb)() = nullptr;
    int (*MemoryLoad)() = nullptr;
};
// Probes that read the system at most every few milliseconds and reuse the last reading in
// between, so that a check per source line stays cheap.
CResourceProbes DefaultResourceProbes();

enum : int32_t {
    ParseResultNone = 0,
    ParseResultStopped = 1,
    ParseResultAccepted = 2,
};

class CParser {
public:
    explicit CParser(const CGrammarTable& table);
    ~CParser();
    CParser(const CParser&) = delete;
    CParser& operator=(const CParser&) = delete;

    // Parses the tokens (the last one being "EOF"), trimming single-nonterminal rules and
    // stopping at the first error. Returns the root reduction when the text was accepted, else
    // nullptr with the reason in GetErrors(). The tree stays owned by the parser until the next
    // Parse or TakeTree().
    CReduction* Parse(const std::vector<CToken>& tokens);
    int32_t GetResult() const { return result_; }
    const CParseErrors& GetErrors() const { return errors_; }
    // Hands the accepted tree to the caller.
    std::unique_ptr<CReduction> TakeTree();

    void SetResourceProbes(const CResourceProbes& probes) { probes_ = probes; }

private:
    CReduction* ParseStep();
    std::vector<std::string> GetExpectedTokens() const;
    std::vector<CTracebackEntry> BuildTraceback() const;
    void Stop(int32_t subtype);
    void TableError(int32_t subtype, const CToken* token);

    const CGrammarTable& table_;
    const std::vector<CToken>* tokens_ = nullptr;
    size_t tokenIndex_ = 0;
    uint32_t state_ = 0;
    std::vector<std::unique_ptr<CGrammarSymbol>> stack_;
    // Trimmed entries already replaced by their child, each with one null child, for reuse.
    std::vector<std::unique_ptr<CReduction>> spare_;
    int32_t lastLine_ = 0;
    int32_t lastColumn_ = 0;
    CReduction* lastReduction_ = nullptr;
    CTerminal current_;
    int32_t result_ = ParseResultNone;
    int32_t lastLineChecked_ = 0;
    size_t stackAtShift_ = 0;
    size_t reductionsSinceShift_ = 0;
    CParseErrors errors_;
    CResourceProbes probes_;
};

// Writes a reduction tree on the given stream, one entry a line, for debugging.
void PrintReductionTree(const CGrammarSymbol* node, int depth = 0, std::FILE* out = stdout);

// The base of the syntax-tree nodes. A node owns its children; the parent link does not own.
class CTreeNode {
public:
    CTreeNode() = default;
    virtual ~CTreeNode();
    CTreeNode(const CTreeNode&) = delete;
    CTreeNode& operator=(const CTreeNode&) = delete;

    // Name, image (the token image of a terminal, the symbol name of a nonterminal), line and
    // column of a parser entry; the parent link is cleared.
    void SetFromReduction(const CGrammarSymbol& entry);

    void SetName(std::string name) { name_ = std::move(name); }
    void SetImage(std::string image) { image_ = std::move(image); }
    std::string GetName() const { return name_; }
    std::string GetImage() const { return image_; }
    const std::string& Name() const { return name_; }
    const std::string& Image() const { return image_; }

    std::vector<std::unique_ptr<CTreeNode>>& GetChildren() { return children_; }
    const std::vector<std::unique_ptr<CTreeNode>>& GetChildren() const { return children_; }
    // Appends a child (an empty one stands for a missing sub-construct); returns it.
    CTreeNode* AddChild(std::unique_ptr<CTreeNode> child);

    CTreeNode* GetParent() const { return parent_; }
    void SetParent(CTreeNode* parent) { parent_ = parent; }

    // The mark of a node whose position was never set.
    static constexpr uint32_t kUnfilledLine = 0xFFFFFFFFu;

    uint32_t GetLine() const { return line_; }
    uint32_t GetColumn() const { return column_; }
    void SetPosition(uint32_t line, uint32_t column)
    {
        line_ = line;
        column_ = column;
    }

    // Writes the subtree, one node a line: depth blanks, name, ":", image.
    void Print(int depth = 0, std::FILE* out = stdout) const;

private:
    std::vector<std::unique_ptr<CTreeNode>> children_;
    std::string name_;
    std::string image_;
    CTreeNode* parent_ = nullptr;
    // 32 bits: a script may be longer than 65535 lines, and its run-time errors and stops must
    // name the line they happen on.
    uint32_t line_ = kUnfilledLine;
    uint32_t column_ = 0;
};

}  // namespace zov
