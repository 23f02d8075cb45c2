#pragma once

// Variables, arrays and the scopes that bind their names.
//
// Names are bound while the script is analysed, so that a node holds a pointer to its variable
// and running a statement never looks a name up. Each declaration of a name (a target of an
// assignment, a loop variable, a `dim`) is one CVariable record; records that share a name
// also share one set of value cells, held by the first of them (the storage), unless a later
// declaration gives a value of another type and receives cells of its own.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/base/Messages.h"
#include "engine/base/Value.h"

namespace zov {

class CAny;
class CSymbolStore;

// A variable name holds 1 to 64 characters, compared byte for byte (case-sensitive).
inline constexpr std::size_t kMaxVariableName = 64;
// An array this large would take half a gigabyte; a script asking for more is refused rather
// than left to exhaust the machine.
inline constexpr std::int32_t kMaxArrayElements = 1 << 24;

// "<lead> '<name>' <tail>", the shape of every message about a named variable.
std::string NamedVariableMessage(std::string_view lead, std::string_view name, std::string_view tail);

// The name as a node keeps it: a copy when it holds 1 to 64 characters, else empty (an empty
// name is reported when the node is analysed).
std::string AcceptVariableName(std::string_view name);

// Outcome of an array access. Only Ok touches a value.
enum class ArrayAccess {
    Ok,
    NotAllocated,    // "Le tableau n'est pas initialise"
    NegativeIndex,   // read: the target is left as it is, without message; write: "Copie de tableau..."
    IndexTooLarge,   // "Indice trop grand pour ce tableau"
    TooManyElements  // allocation refused: "Taille de tableau trop grande"
};

// The message of a failed access, or null for Ok and for a negative index read.
const char* ArrayAccessMessage(ArrayAccess access, bool writing);

class CVariable {
public:
    CVariable(const CVariable&) = delete;
    CVariable& operator=(const CVariable&) = delete;

    const std::string& Name() const { return name_; }
    // The scope whose table binds this declaration's name.
    CSymbolStore& Scope() const { return *scope_; }

    // The declaration whose cells serve this one: itself, or the earliest declaration of the
    // name whose cells it shares. Always a storage itself, so one step reaches the cells.
    CVariable& Storage() { return *storage_; }
    const CVariable& Storage() const { return *storage_; }
    bool IsStorage() const { return storage_ == this; }
    // Gives this declaration cells of its own: a value of another type than the shared ones.
    void UseOwnStorage();
    // The declaration of the name that this one took the binding from, or null.
    CVariable* Previous() const { return previous_; }
    // Settles the cells once the analysis knows the type this declaration receives: the cells
    // of the earlier declaration when it has that type (it may itself have been given cells of
    // its own since), else cells of its own. The type is stored either way. Answers true when
    // the cells are shared.
    bool SettleStorage(TypeCode type);

    // Set when, at analysis, the name was already bound in this scope or an enclosing one.
    bool Shared() const { return shared_; }

    // The type of the declaration (for an array: the type of its elements).
    TypeCode Type() const { return type_; }
    void SetType(TypeCode type) { type_ = type; }

    // Array state belongs to the cells, so every declaration sharing them sees it.
    bool IsArray() const { return storage_->array_; }
    void MarkArray() { storage_->array_ = true; }
    // Set by the analysis of a `dim`: from there on the analysis treats the name as an array,
    // though the cells only become one when the `dim` runs (a value given to the name before
    // it still goes to the scalar cell).
    bool IsDimmed() const { return storage_->dimmed_; }
    void MarkDimmed() { storage_->dimmed_ = true; }

    // The scalar cell of the storage.
    CValue& Value() { return storage_->value_; }
    const CValue& Value() const { return storage_->value_; }

    // Reads the scalar into `out` by the declaration's type: an integer word (with its display
    // base and flag only when `out` has no base yet), the double of a real, a copy of the text,
    // else the word.
    void ReadScalar(CValue& out) const;

    // Makes the storage an array of `count` elements (below 1: one element), each a copy of
    // `initial` (texts copied one by one, an empty text kept as no text), replacing any earlier
    // elements. The type becomes `type` and the variable an array.
    ArrayAccess Allocate(std::int32_t count, TypeCode type, const CValue& initial);
    bool HasElements() const { return !storage_->elements_.empty(); }
    std::int32_t ElementCount() const { return static_cast<std::int32_t>(storage_->elements_.size()); }

    // Reads element `index` into `out` by the element type (texts copied, integers as
    // ReadScalar, other types the whole element). A negative index leaves `out` untouched.
    ArrayAccess ReadElement(std::int32_t index, CValue& out) const;
    // The element cell to write into; null unless the access is Ok.
    CValue* ElementForWrite(std::int32_t index, ArrayAccess& access);
    const CValue* Element(std::int32_t index) const;

private:
    friend class CSymbolStore;
    CVariable(std::string name, CSymbolStore& scope, std::size_t slot);

    std::string name_;
    CSymbolStore* scope_;
    std::size_t slot_;  // position of the name in the scope's table
    CVariable* storage_;
    CVariable* previous_ = nullptr;
    bool shared_ = false;
    bool array_ = false;   // meaningful on a storage only
    bool dimmed_ = false;  // meaningful on a storage only
    TypeCode type_ = kTypeUndetermined;
    CValue value_;  // meaningful on a storage only
    std::vector<CValue> elements_;
};

// One scope: the script's global scope, or the own scope of a procedure, linked to the scope
// in which the procedure is declared. Scopes live for the whole run; an enclosing scope must
// outlive the scopes inside it.
class CSymbolStore {
public:
    explicit CSymbolStore(CSymbolStore* enclosing = nullptr);
    ~CSymbolStore();
    CSymbolStore(const CSymbolStore&) = delete;
    CSymbolStore& operator=(const CSymbolStore&) = delete;

    CSymbolStore& Global();

    // A declaration met by the name analysis, always bound in this scope. When the name is
    // bound here already, or else in the nearest enclosing scope that binds it, the new
    // declaration shares the cells of that earlier declaration until SettleStorage decides by
    // the type; otherwise it has cells of its own. An enclosing scope's binding is never
    // replaced: what a name means outside a procedure does not depend on the procedure. Null
    // for a name that AcceptVariableName refuses.
    CVariable* Declare(std::string_view name);
    // As Declare, but looking at this scope's table only: a procedure's parameter is a variable
    // of the procedure even when an enclosing scope binds the same name.
    CVariable* DeclareHere(std::string_view name);

    // The declaration bound to the name in this scope's table only.
    CVariable* FindVariable(std::string_view name) const;
    // This scope's table, then each enclosing scope's outward.
    CVariable* ResolveVariable(std::string_view name) const;
    // The enclosing scopes only, outward.
    CVariable* ResolveInEnclosing(std::string_view name) const;

    // At run time: the storage that has just received a value becomes the binding of its name,
    // so that the debugger reads the cells last written. Constant time, no name lookup.
    static void Record(CVariable& storage);

    std::size_t VariableCount() const { return table_.size(); }
    // Bound names in the order they were first bound.
    std::vector<std::string_view> VariableNames() const;

    // Procedures declared in this scope. Registering fails (false) when the name is already
    // bound to a procedure node here; an entry cleared to null is taken over.
    bool RegisterProcedure(std::string_view name, CAny* node, CSymbolStore* ownScope);
    // This scope's table only / then each enclosing scope's outward. Null when absent.
    CAny* FindProcedureHere(std::string_view name) const;
    CAny* FindProcedure(std::string_view name) const;
    // The own scope registered with a procedure of this scope's table, or null.
    CSymbolStore* ProcedureScope(std::string_view name) const;
    std::size_t ProcedureCount() const { return procedures_.size(); }

private:
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;

    struct ProcedureEntry {
        CAny* node = nullptr;
        CSymbolStore* scope = nullptr;
    };

    static std::size_t Find(const NameIndex& index, std::string_view name);
    CVariable* DeclareIn(std::string_view name, bool searchEnclosing);

    CSymbolStore* enclosing_;
    // The variable table: the current binding of each name, and where each name sits.
    std::vector<CVariable*> table_;
    NameIndex variableIndex_;
    // Every declaration bound here, owned.
    std::vector<std::unique_ptr<CVariable>> declarations_;

    std::vector<ProcedureEntry> procedures_;
    NameIndex procedureIndex_;
};

}  // namespace zov
