#include "engine/input/MacroTable.h"

#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"

#include <array>
#include <new>

namespace zov {

void CMacroTable::Add(std::string_view name, std::string_view value, std::uint8_t kind)
{
    entries_.push_back(MacroEntry{std::string(name), std::string(value), kind});
    // try_emplace keeps an existing index: the first definition stays the one found.
    first_.try_emplace(std::string(name), static_cast<int>(entries_.size() - 1));
}

int CMacroTable::Lookup(std::string_view name, std::uint8_t& kind) const
{
    const auto found = first_.find(name);
    if (found == first_.end()) {
        kind = 0;
        return -1;
    }
    kind = entries_[static_cast<std::size_t>(found->second)].kind;
    return found->second;
}

const MacroEntry* CMacroTable::Find(std::string_view name) const
{
    const auto found = first_.find(name);
    return found == first_.end() ? nullptr : &entries_[static_cast<std::size_t>(found->second)];
}

void AddScriptParameters(CMacroTable& table, const EngineState& state)
{
    static constexpr std::array<std::string_view, kParamCount> names = {"%%1", "%%2", "%%3"};
    for (int n = 0; n < kParamCount; ++n) {
        const std::string value = state.ParamValue(n);
        if (!value.empty())
            table.Add(names[static_cast<std::size_t>(n)], value, kMacroKindConstant);
    }
}

std::string JoinContinuedLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    std::size_t swallowed = 0;  // line breaks removed since the last line end was written
    std::size_t i = 0;
    while (i < n) {
        const char c = text[i];
        if (c == '\\' && i + 1 < n) {
            std::size_t lineEnd = 0;
            if (text[i + 1] == '\n')
                lineEnd = 1;
            else if (text[i + 1] == '\r' && i + 2 < n && text[i + 2] == '\n')
                lineEnd = 2;
            if (lineEnd != 0) {
                i += 1 + lineEnd;
                ++swallowed;
                while (i < n && text[i] == '\t')
                    ++i;
                // The next character goes through the ordinary rules: a line that is itself
                // continued joins too, and an empty line gets the swallowed breaks at once.
                continue;
            }
        }
        out.push_back(c);
        ++i;
        // The breaks are given back after CR (before the LF of its pair, as scripts saved on
        // Windows have it) or after an LF that follows no CR.
        const bool lineEnd = c == '\r' || (c == '\n' && (i < 2 || text[i - 2] != '\r'));
        if (lineEnd && swallowed != 0) {
            out.append(swallowed, '\n');
            swallowed = 0;
        }
    }
    // A text that ends inside a continuation still ends with its line breaks.
    out.append(swallowed, '\n');
    return out;
}

namespace {

// Characters that end a word (besides the double quote, which runs a word to its closing quote).
constexpr std::array<bool, 256> MakeWordEnds()
{
    std::array<bool, 256> ends{};
    for (const unsigned char c : std::string_view(" \r\n(),+-/*^<>=!\t"))
        ends[c] = true;
    return ends;
}
constexpr std::array<bool, 256> kWordEnds = MakeWordEnds();

}  // namespace

namespace {

// Walks one pass over `text`, giving `take` each piece of the result in order (a word as it is,
// a macro's value in place of the word that names it, a separator); stops as soon as `take`
// returns false. Returns whether a word was replaced.
template <typename Take>
bool WalkExpansion(const CMacroTable& table, std::string_view text, Take&& take)
{
    bool changed = false;
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t e = i;
        while (e < n && !kWordEnds[static_cast<unsigned char>(text[e])]) {
            if (text[e] == '"') {
                ++e;
                while (e < n && text[e] != '"' && text[e] != '\n')
                    ++e;
                break;
            }
            ++e;
        }
        const std::string_view word = text.substr(i, e - i);
        // No macro can bear an empty name, so the empty words between two separators are
        // never looked up.
        const MacroEntry* macro = word.empty() ? nullptr : table.Find(word);
        if (macro)
            changed = true;
        if (!take(macro ? std::string_view(macro->value) : word))
            return changed;
        if (e < n && !take(text.substr(e, 1)))
            return changed;
        i = e + 1;
    }
    return changed;
}

}  // namespace

std::optional<std::size_t> ExpandedSize(const CMacroTable& table, std::string_view text, std::size_t limit)
{
    if (text.size() > limit)
        return std::nullopt;
    std::size_t size = 0;
    bool fits = true;
    WalkExpansion(table, text, [&](std::string_view piece) {
        fits = piece.size() <= limit - size;
        if (fits)
            size += piece.size();
        return fits;
    });
    if (!fits)
        return std::nullopt;
    return size;
}

std::optional<std::string> ExpandMacros(const CMacroTable& table, std::string_view text, bool& changed,
                                        std::size_t limit, MacroExpandError* error)
{
    changed = false;
    const auto fail = [&](MacroExpandError why) -> std::optional<std::string> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    // The size of the result is known before any of it is built: a text that would grow past
    // the bound is refused without taking its memory, and the one accepted takes no more than
    // it needs.
    const std::optional<std::size_t> size = ExpandedSize(table, text, limit);
    if (!size)
        return fail(MacroExpandError::TooLarge);
    std::string out;
    try {
        out.reserve(*size);
    } catch (const std::bad_alloc&) {
        return fail(MacroExpandError::NoMemory);
    }
    changed = WalkExpansion(table, text, [&](std::string_view piece) {
        out.append(piece);
        return true;
    });
    if (error)
        *error = MacroExpandError::None;
    return out;
}

bool RunMacroPasses(const CMacroTable& table, std::string& text, std::size_t limit)
{
    const bool verbose = Engine().Verbose;
    if (verbose)
        WriteOut(lines::EngMacros);
    bool changed = false;
    for (int pass = 0; pass < kMaxMacroPasses; ++pass) {
        MacroExpandError error = MacroExpandError::None;
        std::optional<std::string> expanded = ExpandMacros(table, text, changed, limit, &error);
        if (!expanded) {
            if (error == MacroExpandError::TooLarge)
                WriteOut(lines::EngMacroTooLarge, CountForLine(limit));
            else
                WriteOut(lines::EngMacroNoMemory);
            return false;
        }
        text = std::move(*expanded);
        if (!changed)
            break;
    }
    if (verbose)
        WriteOut(lines::EngExpandedSize, CountForLine(text.size()));
    if (changed) {
        WriteOut(lines::EngMacroTooDeep);
        return false;
    }
    if (verbose)
        WriteOut(lines::EngStepSuccess);
    return true;
}

}  // namespace zov
