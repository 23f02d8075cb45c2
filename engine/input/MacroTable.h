#pragma once

// The purely textual steps a script goes through before it is scanned: continued lines are
// joined, then words that name a macro are replaced by the macro's text, pass after pass.
// Macros come from the CONST and MACRO lines of the interface file and from the three script
// parameters %%1..%%3.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zov {

class EngineState;

// Kind of an entry: what added it. Lookup reports it; expansion does not act on it.
inline constexpr std::uint8_t kMacroKindConstant = 0;  // CONST lines and script parameters
inline constexpr std::uint8_t kMacroKindMacro = 1;     // MACRO lines

// A chain of up to nine macros expands fully; the tenth pass that still changes the text
// means recursion.
inline constexpr int kMaxMacroPasses = 10;

// No real script comes near this once expanded; a text that would grow past it comes from
// macros that multiply themselves, and is refused rather than left to exhaust the machine.
inline constexpr std::size_t kMaxExpandedScript = std::size_t{256} << 20;

struct MacroEntry {
    std::string name;
    std::string value;
    std::uint8_t kind = kMacroKindConstant;
};

// An ordered list of macros. Entries are only appended; several may bear the same name, and
// the one added first is the one found (an interface constant added before the script
// parameters hides a parameter of the same name).
class CMacroTable {
public:
    void Add(std::string_view name, std::string_view value, std::uint8_t kind);

    // Index of the first entry named `name` (exact bytes), its kind in `kind`; -1 and kind 0
    // when there is none.
    int Lookup(std::string_view name, std::uint8_t& kind) const;
    // The first entry named `name`, or null.
    const MacroEntry* Find(std::string_view name) const;

    std::size_t Size() const { return entries_.size(); }
    const MacroEntry& Entry(std::size_t index) const { return entries_[index]; }
    const std::vector<MacroEntry>& Entries() const { return entries_; }

private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    std::vector<MacroEntry> entries_;
    // Name -> index of its first entry. Expansion looks up every word of the script, so the
    // lookup must not grow with the table.
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> first_;
};

// Adds "%%1", "%%2", "%%3" for each script parameter that is not empty, in that order, with
// kind 0. Called after the interface file is read, so an interface constant of the same name
// stays the one found.
void AddScriptParameters(CMacroTable& table, const EngineState& state);

// Joins every line that ends with a backslash to the next one. The continuation is a
// backslash right before CR LF or before a bare LF; the TABs that open the next line are
// skipped (blanks are not). The line breaks swallowed are given back as extra LFs after the
// next line end, or at the end of the text, so every later line keeps its number: the
// result holds exactly as many LFs as the input and is never longer.
std::string JoinContinuedLines(std::string_view text);

// Why a pass gave no text.
enum class MacroExpandError { None, TooLarge, NoMemory };

// The length of one pass's result, counted without building it; nothing as soon as it goes
// past `limit` (or when `text` itself does).
std::optional<std::size_t> ExpandedSize(const CMacroTable& table, std::string_view text,
                                        std::size_t limit = kMaxExpandedScript);

// One expansion pass. Words end at blank, TAB, CR, LF and ( ) , + - / * ^ < > = !; a double
// quote inside a word runs the word to the next double quote or LF, so quoted text is never
// replaced. A word that names a macro is replaced by the value of its first entry and sets
// `changed` (also when the value equals the name). Returns no text (and says why in `error`)
// when the result would exceed `limit` bytes, which is known before any of it is built, or
// when memory runs out; the memory taken is the result's length, once.
std::optional<std::string> ExpandMacros(const CMacroTable& table, std::string_view text, bool& changed,
                                        std::size_t limit = kMaxExpandedScript, MacroExpandError* error = nullptr);

// The macro step of the analysis: at most ten passes, each replacing `text`, until one
// changes nothing. Writes the verbose lines of the step and, on failure, its error line
// (recursion, a text that would grow past `limit`, or no memory). Returns false on failure.
bool RunMacroPasses(const CMacroTable& table, std::string& text, std::size_t limit = kMaxExpandedScript);

}  // namespace zov
