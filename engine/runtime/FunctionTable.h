#pragma once

// The table of every function a script may call by name: the 58 built-ins, registered from
// their C-style prototypes, then the CLI declarations and CLI functions of the interface file.
// A function's index is its position in the table; a name is found at its first entry, so a
// built-in hides an interface function of the same name and an earlier interface line a later
// one.

#include "engine/runtime/Builtins.h"
#include "engine/runtime/CliCalls.h"
#include "engine/grammar/GrammarTable.h"
#include "engine/base/Value.h"

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zov {

class CMacroTable;
struct CFunctionEntry;

// The most parameters a prototype or an interface function may declare.
inline constexpr int kMaxFunctionParams = 16;
// How many built-ins initialisation must have registered.
inline constexpr int kBuiltinCount = 58;

// The handler of an interface entry (StartCLI or one of the ten CLI command handlers). It
// receives the call's values as the call node lays them out: the command text, the CLI index
// (1-based), then one text per declared parameter. The entry gives the command text and the
// CLI settings when the values do not.
using InterfaceHandler = CValue (*)(const CFunctionEntry& entry, std::span<const CValue> args);

struct CFunctionEntry {
    // Exactly one of the two is set: built-ins have a BuiltinHandler, interface entries an
    // InterfaceHandler.
    BuiltinHandler Builtin = nullptr;
    InterfaceHandler Interface = nullptr;
    std::string Name;
    TypeCode ReturnType = kTypeUndetermined;
    int ParamCount = 0;
    std::array<TypeCode, kMaxFunctionParams> ParamTypes{};
    int InterfaceFlag = 0;        // 1 for every entry made from an interface line
    bool CliDeclaration = false;  // a "CLI" line: Settings apply
    // CLI declaration: the program command line; CLI function: the command template.
    std::string CommandText;
    CliSettings Settings;
};

// Type code of a prototype's type terminal, by its symbol name: "int" 1, "double" 2, "bool" 3,
// "char*" 4, "void" 5, "void*" 7; any other name 0.
TypeCode TypeCodeFromName(std::string_view symbolName);

class CGrammarSymbol;
class CReduction;
class CTerminal;

// Reading the trimmed tree of one prototype or interface line by position: a child that is
// missing, or not of the kind asked for, is null.
namespace line_tree {
const CReduction* AsReduction(const CGrammarSymbol* symbol);
const CTerminal* AsTerminal(const CGrammarSymbol* symbol);
const CGrammarSymbol* ChildAt(const CReduction& node, std::size_t index);

// Appends the parameter types of a parameter list to `entry`. A link is the parameter, its
// name, ',' and the next link; the last link is the parameter and its name; an empty list has
// no children. `typeOf` reads a link's first child, and gives nothing to end the list there.
// False past kMaxFunctionParams.
bool ReadParamTypes(const CReduction* list, CFunctionEntry& entry,
                    std::optional<TypeCode> (*typeOf)(const CGrammarSymbol* parameter));
}  // namespace line_tree

class CFunctionTable : public CGrammarTable {
public:
    // Reads a grammar table into this object (the prototype grammar, later the interface
    // grammar, which replaces it) and writes the reading lines. Clears the loaded flag first.
    bool LoadGrammar(const std::string& fileName);
    bool IsLoaded() const { return loaded_; }

    // Parses a prototype ("int strsize(char* str)") with the current grammar and appends its
    // entry. 0 on success; 1 when the grammar is not loaded, the text does not scan or parse
    // (its "err:" lines are written) or it declares more than kMaxFunctionParams parameters.
    int AddBuiltin(BuiltinHandler handler, std::string_view prototype);
    void Add(CFunctionEntry entry);

    int GetCount() const { return static_cast<int>(entries_.size()); }
    // The first entry whose name equals `name` exactly (case-sensitive), or -1.
    int IndexOf(std::string_view name) const;
    // The entry at `index`, or null outside the table. Entries never move once added.
    const CFunctionEntry* GetEntry(int index) const;
    TypeCode GetReturnType(int index) const;
    int GetParamCount(int index) const;
    std::span<const TypeCode> GetParamTypes(int index) const;

    // Calls the entry at `index` with the call's values (typed, in parameter order; for an
    // interface entry laid out as InterfaceHandler says). The handler's result is stored into
    // `result` by the entry's return type: void nothing, double the real, char* the text (no
    // text when the handler gave none), any other type the word. `result` may be null (a call
    // used as a statement). False when there is no such entry.
    bool Invoke(int index, std::span<const CValue> args, CValue* result, BuiltinContext& context) const;

    // Parses one line of the interface file with the current (interface) grammar and applies
    // it: a function entry or a macro table entry. 0 when applied, 1 when refused; `errorFlag`
    // is set for every refused line and a "dpb:" line names the interface line. Defined with
    // the interface reader (InterfaceLines.cpp).
    int ReadInterfaceLine(std::string_view line, CMacroTable& macros, int lineNumber, bool& errorFlag);

private:
    bool loaded_ = false;
    std::vector<std::unique_ptr<CFunctionEntry>> entries_;
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    // Name -> index of its first entry.
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> first_;
};

// One row of the built-in table: the prototype and the handler that serves it.
struct BuiltinPrototype {
    std::string_view Prototype;
    BuiltinHandler Handler;
};

// The 58 built-ins in registration order (function index = row).
extern const std::array<BuiltinPrototype, kBuiltinCount> BuiltinTable;

// Adds every row of BuiltinTable in order; then the table must hold exactly kBuiltinCount
// entries, else "eng: Mauvaise initialisation des fonctions (count - 58)" is written and the
// result is false.
bool RegisterBuiltins(CFunctionTable& table);

// The process-wide function table, kept from initialisation to the end of the process; null
// before the first initialisation.
CFunctionTable* GetFunctionTable();
// Makes `table` the process-wide one (and returns it). The previous table is kept alive, since
// nodes of an earlier analysis may still hold its entries.
CFunctionTable* InstallFunctionTable(std::unique_ptr<CFunctionTable> table);

}  // namespace zov
