#include "engine/runtime/SymbolStore.h"

#include <new>

namespace zov {

std::string NamedVariableMessage(std::string_view lead, std::string_view name, std::string_view tail)
{
    std::string text;
    text.reserve(lead.size() + name.size() + tail.size() + 4);
    text.append(lead).append(" '").append(name).append("' ").append(tail);
    return text;
}

std::string AcceptVariableName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxVariableName)
        return std::string();
    return std::string(name);
}

const char* ArrayAccessMessage(ArrayAccess access, bool writing)
{
    switch (access) {
    case ArrayAccess::Ok:
        return nullptr;
    case ArrayAccess::NotAllocated:
        return varmsg::ArrayNotInitialised;
    case ArrayAccess::NegativeIndex:
        return writing ? varmsg::ArrayCopy : nullptr;
    case ArrayAccess::IndexTooLarge:
        return varmsg::IndexTooLarge;
    case ArrayAccess::TooManyElements:
        return varmsg::ArrayTooLarge;
    }
    return nullptr;
}

namespace {

// An integer cell: its display base and flag go along only when `out` has no base yet.
void ReadInteger(const CValue& cell, CValue& out)
{
    out.SetWord(cell.Word());
    if (out.Base() == kNoBase) {
        out.SetBase(cell.Base());
        out.SetBased(cell.Based());
    }
}

void ReadText(const CValue& cell, CValue& out)
{
    if (cell.HasText())
        out.SetText(cell.TextView());
    else
        out.ClearText();
}

}  // namespace

// ---------------------------------------------------------------------------------------------

CVariable::CVariable(std::string name, CSymbolStore& scope, std::size_t slot)
    : name_(std::move(name)), scope_(&scope), slot_(slot), storage_(this)
{}

void CVariable::UseOwnStorage()
{
    if (storage_ == this)
        return;
    storage_ = this;
    array_ = false;
    dimmed_ = false;
    value_.Reset();
    elements_.clear();
}

bool CVariable::SettleStorage(TypeCode type)
{
    type_ = type;
    if (previous_ && previous_->type_ == type) {
        storage_ = previous_->storage_;
        return true;
    }
    UseOwnStorage();
    return false;
}

void CVariable::ReadScalar(CValue& out) const
{
    const CValue& cell = storage_->value_;
    switch (type_) {
    case kTypeInteger:
        ReadInteger(cell, out);
        break;
    case kTypeReal:
        out.SetReal(cell.RealValue());
        break;
    case kTypeString:
        if (&out != &cell)
            ReadText(cell, out);
        break;
    default:
        out.SetWord(cell.Word());
        break;
    }
}

ArrayAccess CVariable::Allocate(std::int32_t count, TypeCode type, const CValue& initial)
{
    CVariable& cells = *storage_;
    if (count < 1)
        count = 1;
    if (count > kMaxArrayElements)
        return ArrayAccess::TooManyElements;

    // Build the new table aside: `initial` may be one of the old elements.
    std::vector<CValue> elements;
    try {
        elements.reserve(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        return ArrayAccess::TooManyElements;
    }
    CValue model;
    if (type == kTypeString) {
        if (initial.HasText() && !initial.TextView().empty())
            model.SetText(initial.TextView());
    } else {
        model = initial;
        model.ClearText();
    }
    elements.assign(static_cast<std::size_t>(count), model);

    cells.elements_ = std::move(elements);
    type_ = type;
    cells.type_ = type;
    cells.array_ = true;
    return ArrayAccess::Ok;
}

const CValue* CVariable::Element(std::int32_t index) const
{
    const std::vector<CValue>& elements = storage_->elements_;
    if (index < 0 || static_cast<std::size_t>(index) >= elements.size())
        return nullptr;
    return &elements[static_cast<std::size_t>(index)];
}

ArrayAccess CVariable::ReadElement(std::int32_t index, CValue& out) const
{
    const std::vector<CValue>& elements = storage_->elements_;
    if (elements.empty())
        return ArrayAccess::NotAllocated;
    if (index < 0)
        return ArrayAccess::NegativeIndex;
    if (static_cast<std::size_t>(index) >= elements.size())
        return ArrayAccess::IndexTooLarge;
    const CValue& cell = elements[static_cast<std::size_t>(index)];
    if (&out == &cell)
        return ArrayAccess::Ok;
    // By the type the elements were made with, whichever declaration of the name reads them.
    switch (storage_->type_) {
    case kTypeInteger:
        ReadInteger(cell, out);
        break;
    case kTypeString:
        ReadText(cell, out);
        break;
    default:
        // The whole element but its text: only string elements own one.
        out.SetWord(cell.Word());
        out.SetReal(cell.RealValue());
        out.SetBase(cell.Base());
        out.SetBased(cell.Based());
        break;
    }
    return ArrayAccess::Ok;
}

CValue* CVariable::ElementForWrite(std::int32_t index, ArrayAccess& access)
{
    std::vector<CValue>& elements = storage_->elements_;
    if (elements.empty())
        access = ArrayAccess::NotAllocated;
    else if (index < 0)
        access = ArrayAccess::NegativeIndex;
    else if (static_cast<std::size_t>(index) >= elements.size())
        access = ArrayAccess::IndexTooLarge;
    else
        access = ArrayAccess::Ok;
    return access == ArrayAccess::Ok ? &elements[static_cast<std::size_t>(index)] : nullptr;
}

// ---------------------------------------------------------------------------------------------

CSymbolStore::CSymbolStore(CSymbolStore* enclosing) : enclosing_(enclosing) {}

CSymbolStore::~CSymbolStore() = default;

CSymbolStore& CSymbolStore::Global()
{
    CSymbolStore* scope = this;
    while (scope->enclosing_)
        scope = scope->enclosing_;
    return *scope;
}

std::size_t CSymbolStore::Find(const NameIndex& index, std::string_view name)
{
    auto it = index.find(name);
    return it == index.end() ? static_cast<std::size_t>(-1) : it->second;
}

CVariable* CSymbolStore::Declare(std::string_view name)
{
    return DeclareIn(name, true);
}

CVariable* CSymbolStore::DeclareHere(std::string_view name)
{
    return DeclareIn(name, false);
}

CVariable* CSymbolStore::DeclareIn(std::string_view name, bool searchEnclosing)
{
    if (name.empty() || name.size() > kMaxVariableName)
        return nullptr;

    // The scope that already binds the name: this one, else the nearest enclosing one.
    CSymbolStore* binder = nullptr;
    std::size_t slot = static_cast<std::size_t>(-1);
    for (CSymbolStore* scope = this; scope; scope = searchEnclosing ? scope->enclosing_ : nullptr) {
        slot = Find(scope->variableIndex_, name);
        if (slot != static_cast<std::size_t>(-1) && scope->table_[slot]) {
            binder = scope;
            break;
        }
    }

    CVariable* earlier = binder ? binder->table_[slot] : nullptr;
    const bool rebinding = binder == this;
    if (!rebinding)
        slot = table_.size();
    auto declaration = std::unique_ptr<CVariable>(new CVariable(std::string(name), *this, slot));
    CVariable* raw = declaration.get();
    if (earlier) {
        // A name declared again shares the earlier cells until its type is known. A name of an
        // enclosing scope declared again in a procedure shares the outer cells while its type is
        // theirs (the procedure sets the outer variable), but its binding stays in the
        // procedure, so a value of another type makes a variable of the procedure and never
        // changes what the name means outside it.
        raw->storage_ = earlier->storage_;
        raw->previous_ = earlier;
        raw->shared_ = true;
    }
    declarations_.push_back(std::move(declaration));
    if (rebinding) {
        table_[slot] = raw;
    } else {
        table_.push_back(raw);
        variableIndex_.emplace(std::string(name), slot);
    }
    return raw;
}

CVariable* CSymbolStore::FindVariable(std::string_view name) const
{
    const std::size_t slot = Find(variableIndex_, name);
    return slot == static_cast<std::size_t>(-1) ? nullptr : table_[slot];
}

CVariable* CSymbolStore::ResolveVariable(std::string_view name) const
{
    for (const CSymbolStore* scope = this; scope; scope = scope->enclosing_) {
        if (CVariable* found = scope->FindVariable(name))
            return found;
    }
    return nullptr;
}

CVariable* CSymbolStore::ResolveInEnclosing(std::string_view name) const
{
    return enclosing_ ? enclosing_->ResolveVariable(name) : nullptr;
}

void CSymbolStore::Record(CVariable& storage)
{
    storage.scope_->table_[storage.slot_] = &storage;
}

std::vector<std::string_view> CSymbolStore::VariableNames() const
{
    std::vector<std::string_view> names(table_.size());
    for (const auto& [name, slot] : variableIndex_)
        names[slot] = name;
    return names;
}

bool CSymbolStore::RegisterProcedure(std::string_view name, CAny* node, CSymbolStore* ownScope)
{
    const std::size_t slot = Find(procedureIndex_, name);
    if (slot != static_cast<std::size_t>(-1)) {
        ProcedureEntry& entry = procedures_[slot];
        if (entry.node)
            return false;
        entry.node = node;
        entry.scope = ownScope;
        return true;
    }
    procedureIndex_.emplace(std::string(name), procedures_.size());
    procedures_.push_back(ProcedureEntry{node, ownScope});
    return true;
}

CAny* CSymbolStore::FindProcedureHere(std::string_view name) const
{
    const std::size_t slot = Find(procedureIndex_, name);
    return slot == static_cast<std::size_t>(-1) ? nullptr : procedures_[slot].node;
}

CAny* CSymbolStore::FindProcedure(std::string_view name) const
{
    for (const CSymbolStore* scope = this; scope; scope = scope->enclosing_) {
        if (CAny* found = scope->FindProcedureHere(name))
            return found;
    }
    return nullptr;
}

CSymbolStore* CSymbolStore::ProcedureScope(std::string_view name) const
{
    const std::size_t slot = Find(procedureIndex_, name);
    if (slot == static_cast<std::size_t>(-1) || !procedures_[slot].node)
        return nullptr;
    return procedures_[slot].scope;
}

}  // namespace zov
