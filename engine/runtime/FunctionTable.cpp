#include "engine/runtime/FunctionTable.h"

#include "engine/runtime/BuiltinsArgs.h"
#include "engine/base/Output.h"
#include "engine/grammar/Parser.h"
#include "engine/runtime/ProcessBuiltins.h"
#include "engine/grammar/Scanner.h"
#include "engine/input/ScriptLoader.h"
#include "engine/grammar/SyntaxMessages.h"

#include <atomic>
#include <mutex>

namespace zov {

using namespace line_tree;

namespace {

// The process built-ins have typed signatures of their own; these adapt them to the table.
CValue HandlerExec(BuiltinContext&, std::span<const CValue> args)
{
    const std::optional<std::string_view> command = builtin_args::Text(args, 0);
    return CValue::Integer(BuiltinExec(command.value_or(std::string_view())));
}

CValue HandlerKill(BuiltinContext&, std::span<const CValue> args)
{
    BuiltinKill(builtin_args::Word(args, 0));
    return CValue{};
}

CValue HandlerKillAll(BuiltinContext&, std::span<const CValue>)
{
    BuiltinKillAll();
    return CValue{};
}

CValue HandlerRun(BuiltinContext&, std::span<const CValue> args)
{
    std::optional<std::string> output = BuiltinRun(builtin_args::Text(args, 0), builtin_args::Word(args, 1));
    if (!output)
        return builtin_args::NoText();
    return builtin_args::TextResult(std::move(*output));
}

// The type terminal of a type node (a reduction whose child 0 is the terminal).
const CTerminal* TypeTerminal(const CGrammarSymbol* typeNode)
{
    const CReduction* node = AsReduction(typeNode);
    return node ? AsTerminal(ChildAt(*node, 0)) : nullptr;
}

std::mutex installLock;
std::vector<std::unique_ptr<CFunctionTable>> installedTables;
std::atomic<CFunctionTable*> currentTable{nullptr};

}  // namespace

namespace line_tree {

const CReduction* AsReduction(const CGrammarSymbol* symbol)
{
    return symbol && symbol->Kind == 0 ? static_cast<const CReduction*>(symbol) : nullptr;
}

const CTerminal* AsTerminal(const CGrammarSymbol* symbol)
{
    return symbol && symbol->Kind == 1 ? static_cast<const CTerminal*>(symbol) : nullptr;
}

const CGrammarSymbol* ChildAt(const CReduction& node, std::size_t index)
{
    return index < node.Children.size() ? node.Children[index].get() : nullptr;
}

bool ReadParamTypes(const CReduction* list, CFunctionEntry& entry,
                    std::optional<TypeCode> (*typeOf)(const CGrammarSymbol* parameter))
{
    while (list && !list->Children.empty()) {
        const std::optional<TypeCode> type = typeOf(ChildAt(*list, 0));
        if (!type)
            break;
        if (entry.ParamCount == kMaxFunctionParams)
            return false;
        entry.ParamTypes[static_cast<size_t>(entry.ParamCount++)] = *type;
        list = list->Children.size() == 4 ? AsReduction(ChildAt(*list, 3)) : nullptr;
    }
    return true;
}

}  // namespace line_tree

TypeCode TypeCodeFromName(std::string_view symbolName)
{
    if (symbolName == "int")
        return kTypeInteger;
    if (symbolName == "double")
        return kTypeReal;
    if (symbolName == "bool")
        return kTypeBoolean;
    if (symbolName == "char*")
        return kTypeString;
    if (symbolName == "void")
        return kTypeVoid;
    if (symbolName == "void*")
        return kTypeAny;
    return kTypeUndetermined;
}

bool CFunctionTable::LoadGrammar(const std::string& fileName)
{
    loaded_ = LoadGrammarFile(*this, fileName);
    return loaded_;
}

int CFunctionTable::AddBuiltin(BuiltinHandler handler, std::string_view prototype)
{
    if (!loaded_) {
        WriteOut(lines::EngCannotAddFunction);
        return 1;
    }
    CScanner* scanner = CreateScanner();
    if (!scanner->Tokenize(prototype)) {
        WriteScriptErrors(scanner->GetErrors());
        return 1;
    }
    CParser* parser = CreateParser();
    const CReduction* root = parser->Parse(scanner->GetTokens());
    if (!root) {
        WriteScriptErrors(parser->GetErrors());
        return 1;
    }

    // The tree as the prototype grammar gives it: type, name, '(', parameter list, ')'. A table
    // of another language may accept the text with another shape; that is refused too.
    CFunctionEntry entry;
    entry.Builtin = handler;
    const CTerminal* returnType = TypeTerminal(ChildAt(*root, 0));
    const CTerminal* name = AsTerminal(ChildAt(*root, 1));
    const CReduction* list = AsReduction(ChildAt(*root, 3));
    if (!returnType || !name || !list) {
        WriteOut(lines::EngCannotAddFunction);
        return 1;
    }
    entry.ReturnType = TypeCodeFromName(returnType->SymbolName);
    entry.Name = name->Image;
    const auto parameterType = [](const CGrammarSymbol* typeNode) -> std::optional<TypeCode> {
        const CTerminal* type = TypeTerminal(typeNode);
        return type ? std::optional<TypeCode>(TypeCodeFromName(type->SymbolName)) : std::nullopt;
    };
    if (!ReadParamTypes(list, entry, parameterType)) {
        WriteOut(lines::EngCannotAddFunction);
        return 1;
    }
    Add(std::move(entry));
    return 0;
}

void CFunctionTable::Add(CFunctionEntry entry)
{
    entries_.push_back(std::make_unique<CFunctionEntry>(std::move(entry)));
    first_.try_emplace(entries_.back()->Name, static_cast<int>(entries_.size() - 1));
}

int CFunctionTable::IndexOf(std::string_view name) const
{
    const auto found = first_.find(name);
    return found == first_.end() ? -1 : found->second;
}

const CFunctionEntry* CFunctionTable::GetEntry(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return entries_[static_cast<size_t>(index)].get();
}

TypeCode CFunctionTable::GetReturnType(int index) const
{
    const CFunctionEntry* entry = GetEntry(index);
    return entry ? entry->ReturnType : kTypeUndetermined;
}

int CFunctionTable::GetParamCount(int index) const
{
    const CFunctionEntry* entry = GetEntry(index);
    return entry ? entry->ParamCount : 0;
}

std::span<const TypeCode> CFunctionTable::GetParamTypes(int index) const
{
    const CFunctionEntry* entry = GetEntry(index);
    if (!entry)
        return {};
    return std::span<const TypeCode>(entry->ParamTypes.data(), static_cast<size_t>(entry->ParamCount));
}

bool CFunctionTable::Invoke(int index, std::span<const CValue> args, CValue* result, BuiltinContext& context) const
{
    const CFunctionEntry* entry = GetEntry(index);
    if (!entry)
        return false;
    CValue returned;
    if (entry->Interface)
        returned = entry->Interface(*entry, args);
    else if (entry->Builtin)
        returned = entry->Builtin(context, args);
    else
        return false;
    if (!result)
        return true;
    switch (entry->ReturnType) {
    case kTypeVoid:
        break;
    case kTypeReal:
        result->SetReal(returned.RealValue());
        break;
    case kTypeString:
        if (returned.HasText())
            result->AdoptText(std::string(returned.TextView()));
        else
            result->ClearText();
        break;
    default:
        result->SetWord(returned.Word());
        break;
    }
    return true;
}

const std::array<BuiltinPrototype, kBuiltinCount> BuiltinTable = {{
    {"void pause(int timeout)", &BuiltinPause},
    {"void ok(char* str)", &BuiltinOk},
    {"void nok(char* str)", &BuiltinNok},
    {"void warning(char* str)", &BuiltinWarning},
    {"void info(char* str)", &BuiltinInfo},
    {"int exec(char* str)", &HandlerExec},
    {"void kill(int index)", &HandlerKill},
    {"void killall()", &HandlerKillAll},
    {"char* strlower(char* str)", &BuiltinStrLower},
    {"char* strupper(char* str)", &BuiltinStrUpper},
    {"int strsize(char* str)", &BuiltinStrSize},
    {"bool strfind(char* str, char* ch)", &BuiltinStrFind},
    {"int strcount(char* ch, char* str)", &BuiltinStrCount},
    {"char* strextract(char* ch, char* str, int idx)", &BuiltinStrExtract},
    {"int strpos(char* str, char* ch)", &BuiltinStrPos},
    {"char* strleft(char* str, int pos)", &BuiltinStrLeft},
    {"char* strright(char* str, int pos)", &BuiltinStrRight},
    {"char* strcopy(char* str, int pos, int l)", &BuiltinStrCopy},
    {"char* strreplace(char* str, char* ch1, char* ch2)", &BuiltinStrReplace},
    {"char* strtrim(char* str)", &BuiltinStrTrim},
    {"char* strreverse(char* str)", &BuiltinStrReverse},
    {"char* strrepeat(char* str, int nb)", &BuiltinStrRepeat},
    {"char* strregular(char* str, char* exp)", &BuiltinNoResult},
    {"double time()", &BuiltinTime},
    {"double elapsedtime(double fStart)", &BuiltinElapsedTime},
    {"void trace(void* p1, void* p2, void* p3, void* p4, void* p5)", &BuiltinTrace},
    {"int str2int(char* str)", &BuiltinStr2Int},
    {"double str2real(char* str)", &BuiltinStr2Real},
    {"bool str2bool(char* str)", &BuiltinStr2Bool},
    {"char* int2str(int i)", &BuiltinNoResult},
    {"char* real2str(double f)", &BuiltinNoResult},
    {"char* bool2str(bool b)", &BuiltinBool2Str},
    {"bool int2bool(int i)", &BuiltinInt2Bool},
    {"char* date()", &BuiltinDate},
    {"char* dateDMY()", &BuiltinDateDMY},
    {"char* dateMDY()", &BuiltinDateMDY},
    {"char* hour()", &BuiltinHour},
    {"int hex2int(char* s)", &BuiltinHex2Int},
    {"char* int2hex(int p)", &BuiltinInt2Hex},
    {"char* str2hex(char* p)", &BuiltinStr2Hex},
    {"char* hex2str(char* p)", &BuiltinHex2Str},
    {"char* run(char* p, int pp)", &HandlerRun},
    {"double int2real(int i)", &BuiltinInt2Real},
    {"int real2int(double f)", &BuiltinReal2Int},
    {"double round(double val, int prec)", &BuiltinRound},
    {"double sqrt(void* val)", &BuiltinRealZero},
    {"double ceil(double val)", &BuiltinRealZero},
    {"double floor(double val)", &BuiltinRealZero},
    {"void* abs(void* val)", &BuiltinNoResult},
    {"int endianlong(int i)", &BuiltinEndianLong},
    {"int endianshort(int i)", &BuiltinEndianShort},
    {"int random(int min, int max)", &BuiltinRandom},
    {"int waitsync(void* tIndex)", &BuiltinWaitSync},
    {"void sync(int i)", &BuiltinSync},
    {"void exportdata(char* name, char* data)", &BuiltinExportData},
    {"char* importdata(char* name)", &BuiltinImportData},
    {"void* min(void* val1, void* val2)", &BuiltinMinInteger},
    {"void* max(void* val1, void* val2)", &BuiltinMaxInteger},
}};

bool RegisterBuiltins(CFunctionTable& table)
{
    for (const BuiltinPrototype& row : BuiltinTable)
        table.AddBuiltin(row.Handler, row.Prototype);
    if (table.GetCount() != kBuiltinCount) {
        WriteOut(lines::EngBadFunctionInit, table.GetCount(), kBuiltinCount);
        return false;
    }
    return true;
}

CFunctionTable* GetFunctionTable()
{
    return currentTable.load();
}

CFunctionTable* InstallFunctionTable(std::unique_ptr<CFunctionTable> table)
{
    std::lock_guard<std::mutex> hold(installLock);
    CFunctionTable* installed = table.get();
    installedTables.push_back(std::move(table));
    currentTable.store(installed);
    return installed;
}

}  // namespace zov
