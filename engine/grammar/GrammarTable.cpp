#include "engine/grammar/GrammarTable.h"

#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"

#include <array>
#include <fstream>
#include <iterator>

namespace zov {

namespace {

constexpr const char* RecordTypeNotSupported = "Record type is not supported\n";
constexpr const char* ErrorReadingEntry = "Error reading entry\n";
constexpr const char* RecordCountMismatch = "Record does not end where its entry count says\n";
constexpr const char* UnexpectedEntryType = "Unexpected entry type\n";
constexpr const char* RecordBeforeCounts = "Table record before the table counts\n";
constexpr const char* IndexOutOfRange = "Table index out of range\n";
constexpr const char* StringTooLong = "String longer than 511 characters\n";
constexpr const char* UnknownAction = "Unknown LALR action\n";
constexpr const char* CannotOpen = "Cannot open the table file\n";

constexpr size_t MaxStringLength = 511;
// Above this many (state, symbol) pairs the actions are searched instead of indexed.
constexpr size_t MaxActionIndex = size_t{1} << 22;

}  // namespace

// Reads typed entries from the bytes of a table file. Every read checks the remaining bytes and
// the entry count of the current record, so a short or lying file fails instead of being read
// past its end or into the next record.
class CGrammarTable::EntryReader {
public:
    EntryReader(const unsigned char* data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return pos_ >= size_; }
    bool Byte(unsigned& out)
    {
        if (pos_ >= size_)
            return false;
        out = data_[pos_++];
        return true;
    }
    bool Word(uint32_t& out)
    {
        if (pos_ > size_ || size_ - pos_ < 2)
            return false;
        out = static_cast<uint32_t>(data_[pos_]) | (static_cast<uint32_t>(data_[pos_ + 1]) << 8);
        pos_ += 2;
        return true;
    }
    // UTF-16LE up to a zero unit, each unit reduced to its low byte. The text ends at the first
    // unit whose low byte is zero, as an 8-bit text cannot hold that character.
    const char* ReadWideString(std::string& out)
    {
        out.clear();
        bool ended = false;
        for (;;) {
            uint32_t unit = 0;
            if (!Word(unit))
                return ErrorReadingEntry;
            if (unit == 0)
                return nullptr;
            if ((unit & 0xFF) == 0)
                ended = true;
            if (!ended) {
                if (out.size() >= MaxStringLength)
                    return StringTooLong;
                out += static_cast<char>(unit & 0xFF);
            }
        }
    }

    void BeginRecord(uint32_t count)
    {
        count_ = count;
        consumed_ = 0;
    }
    bool RecordDone() const { return consumed_ == count_; }
    bool RecordHasMore() const { return consumed_ < count_; }

    // One entry; integer destinations take 'I', 'B' and 'b', and keep their value on 'E'.
    const char* ReadEntry(uint32_t& out)
    {
        unsigned type = 0;
        if (const char* error = EntryType(type))
            return error;
        switch (type) {
        case cgt::IntegerEntry:
            return Word(out) ? nullptr : ErrorReadingEntry;
        case cgt::BooleanEntry: {
            unsigned b = 0;
            if (!Byte(b))
                return ErrorReadingEntry;
            out = b != 0 ? 1 : 0;
            return nullptr;
        }
        case cgt::ByteEntry: {
            unsigned b = 0;
            if (!Byte(b))
                return ErrorReadingEntry;
            out = b;
            return nullptr;
        }
        case cgt::EmptyEntry:
            return nullptr;
        default:
            return UnexpectedEntryType;
        }
    }
    const char* ReadEntry(std::string& out)
    {
        unsigned type = 0;
        if (const char* error = EntryType(type))
            return error;
        if (type == cgt::EmptyEntry) {
            out.clear();
            return nullptr;
        }
        if (type != cgt::StringEntry)
            return UnexpectedEntryType;
        return ReadWideString(out);
    }
    // A reserved entry: any well-formed entry is skipped.
    const char* Skip()
    {
        unsigned type = 0;
        if (const char* error = EntryType(type))
            return error;
        unsigned b = 0;
        uint32_t w = 0;
        std::string s;
        switch (type) {
        case cgt::EmptyEntry:
            return nullptr;
        case cgt::BooleanEntry:
        case cgt::ByteEntry:
            return Byte(b) ? nullptr : ErrorReadingEntry;
        case cgt::IntegerEntry:
            return Word(w) ? nullptr : ErrorReadingEntry;
        case cgt::StringEntry:
            return ReadWideString(s);
        default:
            return UnexpectedEntryType;
        }
    }

private:
    const char* EntryType(unsigned& type)
    {
        if (consumed_ >= count_)
            return RecordCountMismatch;
        ++consumed_;
        if (!Byte(type))
            return ErrorReadingEntry;
        if (type != cgt::BooleanEntry && type != cgt::IntegerEntry && type != cgt::StringEntry &&
            type != cgt::ByteEntry && type != cgt::EmptyEntry)
            return UnexpectedEntryType;
        return nullptr;
    }

    const unsigned char* data_;
    size_t size_;
    size_t pos_ = 0;
    uint32_t count_ = 0;
    uint32_t consumed_ = 0;
};

CGrammarTable::CGrammarTable() = default;

CGrammarTable::~CGrammarTable()
{
    DiscardEngines();
}

void CGrammarTable::DiscardEngines()
{
    // The parser may hold tokens of the scanner: it goes first.
    parser_.reset();
    scanner_.reset();
}

bool CGrammarTable::Fail(const char* message)
{
    lastError_ = message;
    return false;
}

bool CGrammarTable::Load(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return Fail(CannotOpen);
    return ReadRecords(in);
}

bool CGrammarTable::ReadRecords(std::istream& in)
{
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Fail(ErrorReadingEntry);
    return ReadRecords(bytes.data(), bytes.size());
}

bool CGrammarTable::ReadRecords(const unsigned char* data, size_t size)
{
    lastError_ = nullptr;
    // Each file must give its own counts before filling a table; the tables of an earlier
    // load stay in place until then, but their counts are not this file's.
    haveCounts_ = false;
    EntryReader reader(data, size);
    const bool ok = ReadAll(reader);
    PrepareLookups();
    return ok;
}

bool CGrammarTable::ReadAll(EntryReader& reader)
{
    if (const char* error = reader.ReadWideString(header_))
        return Fail(error);
    while (!reader.AtEnd()) {
        unsigned kind = 0;
        uint32_t count = 0;
        if (!reader.Byte(kind))
            return Fail(ErrorReadingEntry);
        if (kind != cgt::kMultiTypeRecord)
            return Fail(RecordTypeNotSupported);
        if (!reader.Word(count))
            return Fail(ErrorReadingEntry);
        reader.BeginRecord(count);
        uint32_t contentType = 0;
        if (const char* error = reader.ReadEntry(contentType))
            return Fail(error);
        if (!ReadRecord(reader, contentType))
            return false;
        if (!reader.RecordDone())
            return Fail(RecordCountMismatch);
    }
    if (haveCounts_ &&
        ((!dfa_.empty() && initialDfa_ >= dfa_.size()) || (!lalr_.empty() && initialLalr_ >= lalr_.size())))
        return Fail(IndexOutOfRange);
    return true;
}

bool CGrammarTable::ReadRecord(EntryReader& reader, unsigned contentType)
{
#define ZOV_READ(call)                      \
    do {                                    \
        if (const char* readError = (call)) \
            return Fail(readError);         \
    } while (0)

    auto index = [&](uint32_t& out, size_t limit) -> const char* {
        if (const char* error = reader.ReadEntry(out))
            return error;
        return out < limit ? nullptr : IndexOutOfRange;
    };
    const bool fills = contentType == cgt::SymbolRecord || contentType == cgt::CharSetRecord ||
                       contentType == cgt::RuleRecord || contentType == cgt::DfaStateRecord ||
                       contentType == cgt::LalrStateRecord;
    if (fills && !haveCounts_)
        return Fail(RecordBeforeCounts);

    switch (contentType) {
    case cgt::ParametersRecord: {
        CGrammarParameters p;
        uint32_t caseSensitive = 0;
        uint32_t start = 0;
        ZOV_READ(reader.ReadEntry(p.Name));
        ZOV_READ(reader.ReadEntry(p.Version));
        ZOV_READ(reader.ReadEntry(p.Author));
        ZOV_READ(reader.ReadEntry(p.About));
        ZOV_READ(reader.ReadEntry(caseSensitive));
        ZOV_READ(reader.ReadEntry(start));
        parameters_ = std::move(p);
        caseSensitive_ = static_cast<uint8_t>(caseSensitive & 0xFF);
        startSymbol_ = start;
        return true;
    }
    case cgt::TableCountsRecord: {
        uint32_t counts[5] = {};
        for (uint32_t& c : counts)
            ZOV_READ(reader.ReadEntry(c));
        // Scanners and parsers made earlier point into the tables being replaced.
        DiscardEngines();
        symbols_.assign(counts[0], {});
        charSets_.assign(counts[1], {});
        rules_.assign(counts[2], {});
        dfa_.assign(counts[3], {});
        lalr_.assign(counts[4], {});
        haveCounts_ = true;
        return true;
    }
    case cgt::InitialStatesRecord: {
        uint32_t dfaStart = 0;
        uint32_t lalrStart = 0;
        ZOV_READ(reader.ReadEntry(dfaStart));
        ZOV_READ(reader.ReadEntry(lalrStart));
        initialDfa_ = dfaStart;
        initialLalr_ = lalrStart;
        return true;
    }
    case cgt::SymbolRecord: {
        uint32_t i = 0;
        CSymbolEntry entry;
        ZOV_READ(index(i, symbols_.size()));
        ZOV_READ(reader.ReadEntry(entry.Name));
        ZOV_READ(reader.ReadEntry(entry.Kind));
        symbols_[i] = std::move(entry);
        return true;
    }
    case cgt::CharSetRecord: {
        uint32_t i = 0;
        std::string chars;
        ZOV_READ(index(i, charSets_.size()));
        ZOV_READ(reader.ReadEntry(chars));
        charSets_[i] = std::move(chars);
        return true;
    }
    case cgt::RuleRecord: {
        uint32_t i = 0;
        CRuleEntry rule;
        ZOV_READ(index(i, rules_.size()));
        ZOV_READ(index(rule.Head, symbols_.size()));
        ZOV_READ(reader.Skip());
        while (reader.RecordHasMore()) {
            uint32_t symbol = 0;
            ZOV_READ(index(symbol, symbols_.size()));
            rule.Body.push_back(symbol);
        }
        rules_[i] = std::move(rule);
        return true;
    }
    case cgt::DfaStateRecord: {
        uint32_t i = 0;
        uint32_t accepting = 0;
        CDfaState state;
        ZOV_READ(index(i, dfa_.size()));
        ZOV_READ(reader.ReadEntry(accepting));
        ZOV_READ(reader.ReadEntry(state.AcceptSymbol));
        ZOV_READ(reader.Skip());
        state.Accepting = (accepting & 0xFF) != 0;
        if (state.Accepting && state.AcceptSymbol >= symbols_.size())
            return Fail(IndexOutOfRange);
        if (!state.Accepting)
            state.AcceptSymbol = 0;
        while (reader.RecordHasMore()) {
            CDfaEdge edge;
            ZOV_READ(index(edge.CharSet, charSets_.size()));
            ZOV_READ(index(edge.Target, dfa_.size()));
            ZOV_READ(reader.Skip());
            state.Edges.push_back(edge);
        }
        dfa_[i] = std::move(state);
        return true;
    }
    case cgt::LalrStateRecord: {
        uint32_t i = 0;
        CLalrState state;
        ZOV_READ(index(i, lalr_.size()));
        ZOV_READ(reader.Skip());
        while (reader.RecordHasMore()) {
            CLalrAction action;
            ZOV_READ(index(action.Symbol, symbols_.size()));
            ZOV_READ(reader.ReadEntry(action.Action));
            ZOV_READ(reader.ReadEntry(action.Target));
            ZOV_READ(reader.Skip());
            switch (action.Action) {
            case cgt::Shift:
            case cgt::Goto:
                if (action.Target >= lalr_.size())
                    return Fail(IndexOutOfRange);
                break;
            case cgt::Reduce:
                if (action.Target >= rules_.size())
                    return Fail(IndexOutOfRange);
                break;
            case cgt::Accept:
                break;
            default:
                return Fail(UnknownAction);
            }
            state.Actions.push_back(action);
        }
        lalr_[i] = std::move(state);
        return true;
    }
    default:
        // A record of another kind is skipped only when it holds nothing more.
        if (reader.RecordHasMore())
            return Fail(RecordTypeNotSupported);
        return true;
    }
#undef ZOV_READ
}

void CGrammarTable::PrepareLookups()
{
    dfaRows_.assign(dfa_.size() * 256, NoTarget);
    for (size_t s = 0; s < dfa_.size(); ++s) {
        std::array<uint16_t, 256> byCompared;
        byCompared.fill(NoTarget);
        for (const CDfaEdge& edge : dfa_[s].Edges) {
            for (unsigned char c : charSets_[edge.CharSet])
                if (byCompared[c] == NoTarget)
                    byCompared[c] = static_cast<uint16_t>(edge.Target);
        }
        uint16_t* row = &dfaRows_[s * 256];
        for (int c = 1; c < 256; ++c) {
            const int compared = (!caseSensitive_ && c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
            row[c] = byCompared[compared];
        }
    }

    actionIndex_.clear();
    const size_t cells = symbols_.size() * lalr_.size();
    if (cells == 0 || cells > MaxActionIndex)
        return;
    actionIndex_.assign(cells, 0);
    for (size_t s = 0; s < lalr_.size(); ++s) {
        const auto& actions = lalr_[s].Actions;
        for (size_t a = actions.size(); a-- > 0;)  // backwards, so the first action wins
            actionIndex_[s * symbols_.size() + actions[a].Symbol] = static_cast<uint32_t>(a + 1);
    }
}

const CLalrAction* CGrammarTable::FindAction(uint32_t state, uint32_t symbol) const
{
    if (state >= lalr_.size() || symbol >= symbols_.size())
        return nullptr;
    const auto& actions = lalr_[state].Actions;
    if (!actionIndex_.empty()) {
        const uint32_t a = actionIndex_[static_cast<size_t>(state) * symbols_.size() + symbol];
        return a ? &actions[a - 1] : nullptr;
    }
    for (const CLalrAction& action : actions)
        if (action.Symbol == symbol)
            return &action;
    return nullptr;
}

CScanner* CGrammarTable::CreateScanner()
{
    // A parser made earlier may still refer to the old scanner's tokens.
    scanner_ = std::make_unique<CScanner>(*this);
    return scanner_.get();
}

CParser* CGrammarTable::CreateParser()
{
    parser_ = std::make_unique<CParser>(*this);
    return parser_.get();
}

}  // namespace zov
