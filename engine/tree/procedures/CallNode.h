#pragma once

// What the two call nodes share: a function called as a value (CFunctionCall) and one called
// as a statement (CFunctionProc). Both find the function by name in the function table, check
// the number and types of the arguments against its entry, and at run time either carry the
// function out themselves (the built-ins that need reals, lists of values or the argument
// types), or call the table: a built-in with the argument values, a CLI declaration or a CLI
// function with the arguments turned into texts behind the command text and the CLI index.
//
// Children of both nodes: 0 the function name (a CIdUse that is never bound as a variable),
// 1 the arguments (CParameterList), 2 the CLI target when there is one, 3 the time-out part
// when there is one.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"

namespace zov {

class CFunctionTable;
class CParameterList;
struct CFunctionEntry;

// Most arguments a call may have.
inline constexpr std::size_t kMaxCallArguments = 100;
// Most arguments of `waitsync`: the awaited values and the time-out fill the 32 places the
// engine keeps for them.
inline constexpr std::size_t kMaxWaitSyncArguments = 32;

// The built-ins a call node carries out itself, found by name once at the analysis.
enum class InNodeBuiltin : std::uint8_t {
    None,
    // Value form.
    Int2Str,
    Real2Str,
    Real2Int,
    Round,
    Sqrt,
    Ceil,
    Floor,
    Abs,
    ElapsedTime,
    ImportData,
    WaitSync,
    Min,
    Max,
    // Statement form.
    Trace,
    Ok,
    Nok,
    Warning,
};

// The built-in of `name` that the call node of that form carries out itself, or None.
InNodeBuiltin FindInNodeBuiltin(std::string_view name, bool statementForm);

// The text a CLI receives for one argument: an integer in decimal, a real "%.15G", a boolean
// 1 or 0, a text as it is, framed in double quotes when it holds a blank, and "" when empty;
// any other type an empty text.
std::string CliArgumentText(const CValue& value, TypeCode type);

// The statement that holds the label ":TIMEOUT" in the tree of `node`, or null.
JumpTarget FindTimeoutLabel(const CAny& node);

class CCallSite {
public:
    explicit CCallSite(bool statementForm) : statementForm_(statementForm) {}

    // Finds the function, stores its index and checks the argument count.
    int NameAnalysis(CAny& node, CSymbolStore* scope, CErrorList& errors);
    // The argument types against the entry's parameters, then the rules of each form.
    int TypeAnalysis(CAny& node, CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough);
    // One call; `valueOut` is null for the statement form.
    JumpTarget Execute(CAny& node, CSymbolStore* scope, CValue* valueOut, CDebugger& debugger);

    // The position of the function in the table, -1 before a successful name analysis.
    int FunctionIndex() const { return index_; }
    const std::string& WrittenName(const CAny& node) const;

private:
    JumpTarget CallInterface(CAny& node, CSymbolStore* scope, CValue* valueOut, CDebugger& debugger,
                             std::vector<CValue>& arguments, std::span<const TypeCode> types);
    JumpTarget CallBuiltin(const CAny& node, CSymbolStore* scope, CValue* valueOut, CDebugger& debugger,
                           std::vector<CValue>& arguments);
    void CarryOut(const CAny& node, CValue* valueOut, CDebugger& debugger, std::vector<CValue>& arguments,
                  std::span<const TypeCode> types);
    void NameStartedCli(const CAny& node) const;

    bool statementForm_;
    const CFunctionTable* table_ = nullptr;
    const CFunctionEntry* entry_ = nullptr;
    int index_ = -1;
    InNodeBuiltin inNode_ = InNodeBuiltin::None;
    bool blocking_ = false;         // the call waits (a CLI, a sleep, a sync): getval is served meanwhile
    bool appendsRunLimit_ = false;  // `run` with its program only gets a time limit of 0
    CParameterList* arguments_ = nullptr;
    JumpTarget timeoutTarget_ = nullptr;
    bool timeoutSearched_ = false;
};

}  // namespace zov
