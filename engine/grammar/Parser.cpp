#include "engine/grammar/Parser.h"

#include "engine/grammar/GrammarTable.h"
#include "engine/base/MemoryProbes.h"

#include <chrono>
#include <mutex>
#include <new>
#include <utility>

namespace zov {

namespace {

// The parse stops when the machine is this full or the process this large.
constexpr int MemoryLoadLimit = 90;
constexpr long WorkingSetLimitKb = 1899999;

// A reading of /proc costs microseconds while a source line parses in less; a reading a few
// milliseconds old is as good for a guard against runaway memory.
constexpr auto ProbeRefresh = std::chrono::milliseconds(5);

// The reading of `Probe`, taken again once the last one is ProbeRefresh old.
template <auto Probe>
auto CachedReading()
{
    thread_local std::chrono::steady_clock::time_point next{};
    thread_local decltype(Probe()) value{};
    const auto now = std::chrono::steady_clock::now();
    if (now >= next) {
        value = Probe();
        next = now + ProbeRefresh;
    }
    return value;
}

// Sanitizer builds give every entry its own heap block, so that a use after free is still seen.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kPooledEntries = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kPooledEntries = false;
#else
constexpr bool kPooledEntries = true;
#endif
#else
constexpr bool kPooledEntries = true;
#endif

// Entries are carved from blocks in steps of 16 bytes; a freed entry waits in its thread's
// list for the next entry of its size. Blocks are never given back: a parse that made many
// entries is likely to be followed by another one.
constexpr std::size_t kEntryStep = 16;
constexpr std::size_t kEntrySizes = 16;
constexpr std::size_t kEntryBlockSize = 64 * 1024;

struct EntryPool {
    void* freeEntries[kEntrySizes] = {};
    char* next = nullptr;
    char* end = nullptr;
};
thread_local EntryPool entryPool;

char* NewEntryBlock()
{
    static std::mutex lock;
    // Every block stays listed, so that leak checkers see its entries as reachable.
    static std::vector<void*> blocks;
    void* block = ::operator new(kEntryBlockSize);
    std::lock_guard<std::mutex> hold(lock);
    blocks.push_back(block);
    return static_cast<char*>(block);
}

}  // namespace

void* CGrammarSymbol::operator new(std::size_t size)
{
    const std::size_t steps = (size + kEntryStep - 1) / kEntryStep;
    if (!kPooledEntries || steps == 0 || steps > kEntrySizes)
        return ::operator new(size);
    EntryPool& pool = entryPool;
    if (void* entry = pool.freeEntries[steps - 1]) {
        pool.freeEntries[steps - 1] = *static_cast<void**>(entry);
        return entry;
    }
    const std::size_t bytes = steps * kEntryStep;
    if (static_cast<std::size_t>(pool.end - pool.next) < bytes) {
        pool.next = NewEntryBlock();
        pool.end = pool.next + kEntryBlockSize;
    }
    void* entry = pool.next;
    pool.next += bytes;
    return entry;
}

void CGrammarSymbol::operator delete(void* entry, std::size_t size)
{
    if (!entry)
        return;
    const std::size_t steps = (size + kEntryStep - 1) / kEntryStep;
    if (!kPooledEntries || steps == 0 || steps > kEntrySizes) {
        ::operator delete(entry);
        return;
    }
    EntryPool& pool = entryPool;
    *static_cast<void**>(entry) = pool.freeEntries[steps - 1];
    pool.freeEntries[steps - 1] = entry;
}

CResourceProbes DefaultResourceProbes()
{
    CResourceProbes probes;
    probes.WorkingSetKb = &CachedReading<&GetWorkingSetKb>;
    probes.MemoryLoad = &CachedReading<&GetMemoryLoad>;
    return probes;
}

CReduction::~CReduction()
{
    std::vector<std::unique_ptr<CGrammarSymbol>> pending = std::move(Children);
    while (!pending.empty()) {
        std::unique_ptr<CGrammarSymbol> node = std::move(pending.back());
        pending.pop_back();
        if (node && node->Kind == 0) {
            auto& children = static_cast<CReduction&>(*node).Children;
            for (auto& child : children)
                pending.push_back(std::move(child));
            children.clear();
        }
    }
}

void CParseErrors::AddError(int32_t kind, int32_t subtype, int32_t line, int32_t column)
{
    CParseError& e = errors_.emplace_back();
    e.Kind = kind;
    e.Subtype = subtype;
    e.Line = line;
    e.Column = column;
}

void CParseErrors::AddParseError(int32_t kind, int32_t subtype, const CReduction* lastReduction,
                                 const CTerminal& offending, std::vector<std::string> expected,
                                 std::vector<CTracebackEntry> traceback, int32_t line, int32_t column)
{
    CParseError& e = errors_.emplace_back();
    e.Kind = kind;
    e.Subtype = subtype;
    e.LastReduction = lastReduction;
    e.OffendingToken.SymbolName = offending.SymbolName;
    e.OffendingToken.SymbolIndex = offending.SymbolIndex;
    e.OffendingToken.Image = offending.Image;
    e.OffendingToken.Line = offending.Line;
    e.OffendingToken.Column = offending.Column;
    e.Expected = std::move(expected);
    e.Traceback = std::move(traceback);
    e.Line = line;
    e.Column = column;
}

CParser::CParser(const CGrammarTable& table) : table_(table), probes_(DefaultResourceProbes()) {}

CParser::~CParser() = default;

CReduction* CParser::Parse(const std::vector<CToken>& tokens)
{
    tokens_ = &tokens;
    stack_.clear();
    auto start = std::make_unique<CGrammarSymbol>();
    start->State = table_.GetInitialLalrState();
    stack_.push_back(std::move(start));
    state_ = table_.GetInitialLalrState();
    tokenIndex_ = 0;
    lastLine_ = 0;
    lastColumn_ = 0;
    lastReduction_ = nullptr;
    errors_ = CParseErrors();
    result_ = ParseResultNone;
    lastLineChecked_ = 0;
    stackAtShift_ = stack_.size();
    reductionsSinceShift_ = 0;

    bool resourceStop = false;
    for (;;) {
        CReduction* reduction = ParseStep();
        if (tokenIndex_ < tokens.size() && tokens[tokenIndex_].Line != lastLineChecked_) {
            lastLineChecked_ = tokens[tokenIndex_].Line;
            if (probes_.MemoryLoad && probes_.MemoryLoad() >= MemoryLoadLimit) {
                Stop(ScanErrorMemoryLoad);
                resourceStop = true;
                break;
            }
            if (probes_.WorkingSetKb && probes_.WorkingSetKb() > WorkingSetLimitKb) {
                Stop(ScanErrorWorkingSet);
                resourceStop = true;
                break;
            }
        }
        if (reduction)
            lastReduction_ = reduction;
        else if (result_ == ParseResultStopped || result_ == ParseResultAccepted)
            break;
    }
    tokens_ = nullptr;
    return result_ == ParseResultAccepted && !resourceStop ? lastReduction_ : nullptr;
}

void CParser::TableError(int32_t subtype, const CToken* token)
{
    current_.SymbolName = token->SymbolName;
    current_.Image = token->Image;
    current_.SymbolIndex = token->SymbolIndex;
    current_.Line = token->Line;
    current_.Column = token->Column;
    errors_.AddParseError(ErrorKindParse, subtype, lastReduction_, current_, GetExpectedTokens(), BuildTraceback(),
                          token->Line, token->Column);
    result_ = ParseResultStopped;
}

void CParser::Stop(int32_t subtype)
{
    errors_.AddError(ErrorKindScan, subtype, 0, 0);
    result_ = ParseResultStopped;
}

std::unique_ptr<CReduction> CParser::TakeTree()
{
    if (result_ != ParseResultAccepted || !lastReduction_ || stack_.empty() || stack_.back().get() != lastReduction_)
        return nullptr;
    std::unique_ptr<CGrammarSymbol> top = std::move(stack_.back());
    stack_.pop_back();
    lastReduction_ = nullptr;
    return std::unique_ptr<CReduction>(static_cast<CReduction*>(top.release()));
}

std::vector<std::string> CParser::GetExpectedTokens() const
{
    std::vector<std::string> expected;
    const auto& states = table_.GetLalrStates();
    if (state_ >= states.size())
        return expected;
    const auto& symbols = table_.GetSymbols();
    for (const CLalrAction& action : states[state_].Actions)
        if (symbols[action.Symbol].Kind == cgt::Terminal)
            expected.push_back(symbols[action.Symbol].Name);
    return expected;
}

std::vector<CTracebackEntry> CParser::BuildTraceback() const
{
    std::vector<CTracebackEntry> traceback;
    // The bottom entry only holds the initial state: it is no symbol of the text.
    for (size_t i = stack_.size(); i-- > 1;) {
        const CGrammarSymbol& s = *stack_[i];
        CTracebackEntry& e = traceback.emplace_back();
        e.Kind = s.Kind;
        e.SymbolName = s.SymbolName;
        e.SymbolIndex = s.SymbolIndex;
        e.State = s.State;
        e.Line = s.Line;
        e.Column = s.Column;
    }
    return traceback;
}

CReduction* CParser::ParseStep()
{
    const auto& symbols = table_.GetSymbols();
    const auto& rules = table_.GetRules();
    for (;;) {
        const bool haveToken = tokenIndex_ < tokens_->size();
        const CToken* token = haveToken ? &(*tokens_)[tokenIndex_] : nullptr;
        const CLalrAction* action = token ? table_.FindAction(state_, token->SymbolIndex) : nullptr;
        if (!action) {
            // Also when the tokens ran out without an "EOF": the text ended too early.
            current_.SymbolName = token ? token->SymbolName : "EOF";
            current_.Image = token ? token->Image : "EOF";
            current_.SymbolIndex = token ? token->SymbolIndex : 0;
            current_.Line = token ? token->Line : lastLine_;
            current_.Column = token ? token->Column : lastColumn_;
            errors_.AddParseError(ErrorKindParse, ParseErrorUnexpectedToken, lastReduction_, current_,
                                  GetExpectedTokens(), BuildTraceback(), current_.Line, current_.Column);
            result_ = ParseResultStopped;
            return nullptr;
        }
        switch (action->Action) {
        case cgt::Shift: {
            state_ = action->Target;
            lastLine_ = token->Line;
            lastColumn_ = token->Column;
            auto terminal = std::make_unique<CTerminal>();
            terminal->SymbolName = token->SymbolName;
            terminal->Image = token->Image;
            terminal->SymbolIndex = token->SymbolIndex;
            terminal->State = state_;
            terminal->Line = token->Line;
            terminal->Column = token->Column;
            stack_.push_back(std::move(terminal));
            ++tokenIndex_;
            stackAtShift_ = stack_.size();
            reductionsSinceShift_ = 0;
            continue;
        }
        case cgt::Reduce: {
            const CRuleEntry& rule = rules[action->Target];
            const size_t count = rule.Body.size();
            const bool trimmed = count == 1 && symbols[rule.Body[0]].Kind == cgt::Nonterminal;
            // Most reductions are trimmed ones, dropped as soon as their parent is built: their
            // entries are reused rather than freed and allocated again.
            std::unique_ptr<CReduction> reduction;
            if (trimmed && !spare_.empty()) {
                reduction = std::move(spare_.back());
                spare_.pop_back();
            } else {
                reduction = std::make_unique<CReduction>();
            }
            reduction->SymbolName = symbols[rule.Head].Name;
            reduction->SymbolIndex = rule.Head;
            reduction->State = 0;
            reduction->Line = lastLine_;
            reduction->Column = lastColumn_;
            reduction->Trimmed = trimmed;
            const CLalrAction* go = nullptr;
            if (stack_.size() > count) {
                reduction->Children.resize(count);
                for (size_t k = count; k-- > 0;) {
                    std::unique_ptr<CGrammarSymbol> entry = std::move(stack_.back());
                    stack_.pop_back();
                    if (entry->Trimmed && entry->Kind == 0) {
                        auto& only = static_cast<CReduction&>(*entry).Children;
                        if (only.size() == 1) {
                            reduction->Children[k] = std::move(only[0]);
                            spare_.push_back(std::unique_ptr<CReduction>(static_cast<CReduction*>(entry.release())));
                            continue;
                        }
                    }
                    reduction->Children[k] = std::move(entry);
                }
                go = table_.FindAction(stack_.back()->State, rule.Head);
            }
            if (!go || go->Action != cgt::Goto) {
                // Only an unsound table gets here; the caller still needs an error to report.
                TableError(ParseErrorNoGoto, token);
                return nullptr;
            }
            // A sound table reads a token before the stack outgrows its states or the
            // reductions repeat without end.
            const size_t states = table_.GetLalrStates().size();
            if (stack_.size() + 1 > stackAtShift_ + states + 1 ||
                ++reductionsSinceShift_ > (stackAtShift_ + states + 1) * (rules.size() + 1)) {
                TableError(ParseErrorNoProgress, token);
                return nullptr;
            }
            state_ = go->Target;
            reduction->State = state_;
            CReduction* made = reduction.get();
            stack_.push_back(std::move(reduction));
            return made;
        }
        case cgt::Goto:
            state_ = action->Target;
            ++tokenIndex_;
            continue;
        default:  // accept; the table reader lets no other action through
            result_ = ParseResultAccepted;
            return nullptr;
        }
    }
}

void PrintReductionTree(const CGrammarSymbol* node, int depth, std::FILE* out)
{
    std::vector<std::pair<const CGrammarSymbol*, int>> pending{{node, depth}};
    while (!pending.empty()) {
        auto [n, d] = pending.back();
        pending.pop_back();
        std::fprintf(out, "%*s", d, "");
        if (!n) {
            std::fprintf(out, "NULL\n");
        } else if (n->Kind == 1) {
            std::fprintf(out, "%s:%s\n", n->SymbolName.c_str(), static_cast<const CTerminal*>(n)->Image.c_str());
        } else {
            std::fprintf(out, "%d : %s \n", n->Line, n->SymbolName.c_str());
            const auto& children = static_cast<const CReduction*>(n)->Children;
            for (size_t i = children.size(); i-- > 0;)
                pending.push_back({children[i].get(), d + 1});
        }
    }
}

CTreeNode::~CTreeNode()
{
    std::vector<std::unique_ptr<CTreeNode>> pending = std::move(children_);
    while (!pending.empty()) {
        std::unique_ptr<CTreeNode> node = std::move(pending.back());
        pending.pop_back();
        if (node) {
            for (auto& child : node->children_)
                pending.push_back(std::move(child));
            node->children_.clear();
        }
    }
}

void CTreeNode::SetFromReduction(const CGrammarSymbol& entry)
{
    name_ = entry.SymbolName;
    image_ = entry.Kind == 1 ? static_cast<const CTerminal&>(entry).Image : entry.SymbolName;
    auto clamp = [](int32_t v) { return static_cast<uint32_t>(v < 0 ? 0 : v); };
    line_ = clamp(entry.Line);
    column_ = clamp(entry.Column);
    parent_ = nullptr;
}

CTreeNode* CTreeNode::AddChild(std::unique_ptr<CTreeNode> child)
{
    children_.push_back(std::move(child));
    return children_.back().get();
}

void CTreeNode::Print(int depth, std::FILE* out) const
{
    std::vector<std::pair<const CTreeNode*, int>> pending{{this, depth}};
    while (!pending.empty()) {
        auto [n, d] = pending.back();
        pending.pop_back();
        if (!n) {
            std::fprintf(out, "%*sNULL\n", d, "");
            continue;
        }
        std::fprintf(out, "%*s%s:%s\n", d, "", n->name_.c_str(), n->image_.c_str());
        for (size_t i = n->children_.size(); i-- > 0;)
            pending.push_back({n->children_[i].get(), d + 1});
    }
}

}  // namespace zov
