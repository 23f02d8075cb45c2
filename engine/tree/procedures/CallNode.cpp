#include "engine/tree/procedures/CallNode.h"

#include <cmath>
#include <utility>

#include "engine/runtime/Builtins.h"
#include "engine/runtime/CliCalls.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/tree/expressions/IdUse.h"
#include "engine/runtime/Label.h"
#include "engine/tree/statements/LabelStmt.h"
#include "engine/base/Output.h"
#include "engine/tree/procedures/ParameterList.h"
#include "engine/base/Messages.h"
#include "engine/runtime/SymbolStore.h"

namespace zov {

namespace {

struct InNodeName {
    std::string_view name;
    InNodeBuiltin builtin;
};

// In the order the engine has always compared them.
constexpr InNodeName kValueForm[] = {
    {"int2str", InNodeBuiltin::Int2Str},
    {"real2str", InNodeBuiltin::Real2Str},
    {"real2int", InNodeBuiltin::Real2Int},
    {"round", InNodeBuiltin::Round},
    {"sqrt", InNodeBuiltin::Sqrt},
    {"ceil", InNodeBuiltin::Ceil},
    {"floor", InNodeBuiltin::Floor},
    {"abs", InNodeBuiltin::Abs},
    {"elapsedtime", InNodeBuiltin::ElapsedTime},
    {"importdata", InNodeBuiltin::ImportData},
    {"waitsync", InNodeBuiltin::WaitSync},
    {"min", InNodeBuiltin::Min},
    {"max", InNodeBuiltin::Max},
};

constexpr InNodeName kStatementForm[] = {
    {"trace", InNodeBuiltin::Trace},
    {"ok", InNodeBuiltin::Ok},
    {"nok", InNodeBuiltin::Nok},
    {"warning", InNodeBuiltin::Warning},
};

// Built-ins that wait (a sleep, another program, a sync value, data from the IDE): the
// debugger answers getval and setval while they do.
bool IsBlockingBuiltin(std::string_view name)
{
    return name == "pause" || name == "run" || name == "exec" || name == "waitsync" || name == "importdata";
}

bool IsMessage(InNodeBuiltin builtin)
{
    return builtin == InNodeBuiltin::Ok || builtin == InNodeBuiltin::Nok || builtin == InNodeBuiltin::Warning;
}

std::string NamedFunctionMessage(std::string_view name, std::string_view tail)
{
    std::string text(callmsg::FunctionLead);
    text.append(" '").append(name).append("' ").append(tail);
    return text;
}

// Stores a handler's result into the call's value as the table does: by the return type, the
// other fields left as they were.
void StoreResult(TypeCode returnType, CValue& from, CValue& into)
{
    switch (returnType) {
    case kTypeVoid:
        break;
    case kTypeReal:
        into.SetReal(from.RealValue());
        break;
    case kTypeString:
        if (std::unique_ptr<std::string> text = from.TakeText())
            into.AdoptText(std::move(*text));
        else
            into.ClearText();
        break;
    default:
        into.SetWord(from.Word());
        break;
    }
}

// An integer a function returns is a plain decimal one, whatever base the receiving variable
// showed before (a variable that held 0xFF and receives strsize(...) must not print 0x2).
void PlainInteger(TypeCode returnType, CValue* valueOut)
{
    if (valueOut && (returnType == kTypeInteger || returnType == kTypeBoolean)) {
        valueOut->SetBase(kDefaultBase);
        valueOut->SetBased(false);
    }
}

// The context of a call from the script: its debugger, at the line it has reported last.
BuiltinContext ContextAtCurrentLine(CDebugger& debugger)
{
    return BuiltinContext{debugger, Engine(), SystemClock(), static_cast<int>(debugger.CurrentLine())};
}

TypeCode TypeAt(std::span<const TypeCode> types, std::size_t i)
{
    return i < types.size() ? types[i] : kTypeUndetermined;
}

}  // namespace

InNodeBuiltin FindInNodeBuiltin(std::string_view name, bool statementForm)
{
    if (statementForm) {
        for (const InNodeName& entry : kStatementForm)
            if (entry.name == name)
                return entry.builtin;
        return InNodeBuiltin::None;
    }
    for (const InNodeName& entry : kValueForm)
        if (entry.name == name)
            return entry.builtin;
    return InNodeBuiltin::None;
}

std::string CliArgumentText(const CValue& value, TypeCode type)
{
    switch (type) {
    case kTypeInteger:
        return std::to_string(value.Word());
    case kTypeReal:
        return RealToText(value.RealValue());
    case kTypeBoolean:
        return value.IsTrue() ? "1" : "0";
    case kTypeString: {
        const std::string_view text = value.TextView();
        if (text.empty())
            return "\"\"";
        if (text.find(' ') != std::string_view::npos) {
            std::string quoted;
            quoted.reserve(text.size() + 2);
            quoted.append(1, '"').append(text).append(1, '"');
            return quoted;
        }
        return std::string(text);
    }
    default:
        return std::string();
    }
}

JumpTarget FindTimeoutLabel(const CAny& node)
{
    const CAny* root = &node;
    while (root->Parent())
        root = root->Parent();
    std::vector<const CAny*> pending{root};
    while (!pending.empty()) {
        const CAny* current = pending.back();
        pending.pop_back();
        if (const auto* label = dynamic_cast<const CLabel*>(current)) {
            if (label->LabelName() == callmsg::TimeoutLabel) {
                if (auto* statement = dynamic_cast<CLabelStmt*>(label->Parent()))
                    return statement;
            }
            continue;
        }
        // Children pushed last first, so that the first label in the text is found first.
        for (std::size_t i = current->ChildCount(); i-- > 0;) {
            if (const CAny* child = current->Child(i))
                pending.push_back(child);
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------

const std::string& CCallSite::WrittenName(const CAny& node) const
{
    static const std::string none;
    const auto* name = dynamic_cast<const CIdUse*>(node.Child(0));
    return name ? name->VariableName() : none;
}

int CCallSite::NameAnalysis(CAny& node, CSymbolStore* scope, CErrorList& errors)
{
    arguments_ = dynamic_cast<CParameterList*>(node.Child(1));
    if (CAny* arguments = node.Child(1))
        arguments->NameAnalysis(scope, errors);
    if (CAny* target = node.Child(2))
        target->NameAnalysis(scope, errors);
    // The time-out part may name a variable too.
    if (CAny* timeout = node.Child(3))
        timeout->NameAnalysis(scope, errors);

    const std::string& name = WrittenName(node);
    table_ = GetFunctionTable();
    index_ = table_ ? table_->IndexOf(name) : -1;
    entry_ = table_ ? table_->GetEntry(index_) : nullptr;
    if (!entry_) {
        index_ = -1;
        node.AddError(errors, NamedFunctionMessage(name, callmsg::UnknownTail));
        return kAnalysisFailed;
    }
    inNode_ = FindInNodeBuiltin(entry_->Name, statementForm_);
    blocking_ = entry_->InterfaceFlag != 0 || IsBlockingBuiltin(entry_->Name);

    const std::size_t count = arguments_ ? arguments_->ArgumentCount() : 0;
    appendsRunLimit_ = !statementForm_ && entry_->Name == "run" && count == 1;
    if (!statementForm_) {
        if (entry_->Name == "waitsync" || entry_->Name == "min" || entry_->Name == "max") {
            if (count < 2 || count > kMaxCallArguments) {
                node.AddError(errors, callmsg::TwoToHundred);
                return kAnalysisFailed;
            }
            // WantedSync has 32 places: more values could not be kept.
            if (entry_->Name == "waitsync" && count > kMaxWaitSyncArguments) {
                node.AddError(errors, callmsg::TwoToThirtyTwo);
                return kAnalysisFailed;
            }
            return kAnalysisDone;
        }
        if (entry_->Name == "run") {
            if (count != 1 && count != 2) {
                node.AddError(errors, std::string(callmsg::FunctionLead) + " 'run' " + callmsg::RunCount);
                return kAnalysisFailed;
            }
            return kAnalysisDone;
        }
    } else if (inNode_ != InNodeBuiltin::None) {
        if (count < 1 || count > kMaxCallArguments) {
            node.AddError(errors, callmsg::MessageCount);
            return kAnalysisFailed;
        }
        return kAnalysisDone;
    }

    const int declared = entry_->ParamCount;
    if (count != static_cast<std::size_t>(declared)) {
        std::string text(callmsg::FunctionLead);
        text.append(" '").append(entry_->Name).append("' ");
        if (declared == 0)
            text.append(callmsg::NoArgument);
        else
            text.append(callmsg::Takes)
                .append(" ")
                .append(std::to_string(declared))
                .append(" ")
                .append(callmsg::ArgumentsTail);
        node.AddError(errors, text);
        return kAnalysisFailed;
    }
    return kAnalysisDone;
}

int CCallSite::TypeAnalysis(CAny& node, CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors,
                            std::uint32_t passThrough)
{
    typeOut = kTypeVoid;
    if (!entry_)
        return kAnalysisFailed;

    // The condition form of ok, nok and warning puts a boolean where the prototype has a text.
    const std::size_t count = arguments_ ? arguments_->ArgumentCount() : 0;
    const bool skip = entry_->InterfaceFlag != 0 || (IsMessage(inNode_) && count >= 2);
    TypeCode lastType = kTypeUndetermined;
    if (arguments_) {
        const std::span<const TypeCode> expected(entry_->ParamTypes.data(),
                                                 static_cast<std::size_t>(entry_->ParamCount));
        arguments_->CheckTypes(scope, lastType, errors, expected, skip);
    }
    if (CAny* timeout = node.Child(3)) {
        TypeCode timeoutType = kTypeUndetermined;
        timeout->TypeAnalysis(scope, timeoutType, errors, passThrough);
    }

    if (!statementForm_) {
        if (entry_->Name == "min" || entry_->Name == "max" || entry_->Name == "abs") {
            typeOut = count > 0 ? lastType : kTypeUndetermined;
            return kAnalysisDone;
        }
        if (CAny* target = node.Child(2)) {
            target->TypeAnalysis(scope, typeOut, errors, passThrough);
            if (typeOut != kTypeCli) {
                node.AddError(errors, stmtmsg::CliVariableRequired);
                return kAnalysisFailed;
            }
        }
        typeOut = entry_->ReturnType;
        if (typeOut == kTypeVoid) {
            node.AddError(errors, callmsg::NoValue);
            return kAnalysisFailed;
        }
        return kAnalysisDone;
    }

    if (CAny* target = node.Child(2)) {
        TypeCode targetType = kTypeUndetermined;
        target->TypeAnalysis(scope, targetType, errors, passThrough);
    }
    typeOut = entry_->ReturnType;
    if (typeOut != kTypeVoid) {
        node.AddError(errors, callmsg::ValueUnused);
        return kAnalysisFailed;
    }
    return kAnalysisDone;
}

JumpTarget CCallSite::Execute(CAny& node, CSymbolStore* scope, CValue* valueOut, CDebugger& debugger)
{
    if (statementForm_) {
        const CAny* name = node.Child(0);
        if (!debugger.ReportLine(name ? name->Line() : node.Line()))
            return nullptr;
    }
    EngineState& engine = Engine();
    engine.CallTimeout.store(-1, std::memory_order_relaxed);
    if (!entry_ || !arguments_)
        return nullptr;

    CArgumentFrame frame(*arguments_);
    if (JumpTarget jump = frame.Evaluate(scope, debugger))
        return jump;
    // An argument that ended the run (a call inside it failed) leaves nothing to call.
    if (debugger.Aborting())
        return nullptr;
    std::vector<CValue>& arguments = frame.Values();

    JumpTarget result = entry_->InterfaceFlag != 0
                            ? CallInterface(node, scope, valueOut, debugger, arguments, arguments_->Types(scope))
                            : CallBuiltin(node, scope, valueOut, debugger, arguments);

    if (!statementForm_ && entry_->CliDeclaration)
        NameStartedCli(node);
    // The argument texts are not needed any more.
    for (CValue& argument : arguments)
        if (argument.HasText())
            argument.ClearText();
    return result;
}

JumpTarget CCallSite::CallBuiltin(const CAny& node, CSymbolStore* scope, CValue* valueOut, CDebugger& debugger,
                                  std::vector<CValue>& arguments)
{
    if (appendsRunLimit_ && arguments.size() == 1)
        arguments.emplace_back(CValue::Integer(0));
    if (inNode_ != InNodeBuiltin::None) {
        CarryOut(node, valueOut, debugger, arguments, arguments_->Types(scope));
        return nullptr;
    }

    BuiltinContext context = ContextAtCurrentLine(debugger);
    if (!blocking_) {
        table_->Invoke(index_, arguments, valueOut, context);
    } else {
        CValue returned;
        {
            CDebugger::ScriptPause pause(debugger);
            table_->Invoke(index_, arguments, valueOut ? &returned : nullptr, context);
        }
        if (valueOut)
            StoreResult(entry_->ReturnType, returned, *valueOut);
    }
    PlainInteger(entry_->ReturnType, valueOut);
    return nullptr;
}

JumpTarget CCallSite::CallInterface(CAny& node, CSymbolStore* scope, CValue* valueOut, CDebugger& debugger,
                                    std::vector<CValue>& arguments, std::span<const TypeCode> types)
{
    EngineState& engine = Engine();
    // Command text, CLI index, then the argument texts. No text in front: the handler takes
    // the entry's own command text.
    std::vector<CValue> cliValues(2 + arguments.size());
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        // A text goes out between double quotes, and the line protocol has no escape for one
        // inside: sent, it would end the field there and the CLI would act on a cut value.
        if (TypeAt(types, i) == kTypeString && arguments[i].TextView().find('"') != std::string_view::npos) {
            RunTimeError(debugger,
                         FormatLine(exprmsg::QuoteInCliArgument, static_cast<int>(i + 1), entry_->Name.c_str()));
            return nullptr;
        }
        cliValues[2 + i].AdoptText(CliArgumentText(arguments[i], TypeAt(types, i)));
    }

    bool lacksCli = false;
    std::int32_t cliIndex = 1;
    if (CAny* target = node.Child(2)) {
        CValue handle;
        if (JumpTarget jump = target->Execute(scope, handle, debugger))
            return jump;
        cliIndex = handle.Word();
        lacksCli = cliIndex == 0;
    }
    cliValues[1] = CValue::Cli(cliIndex);
    // Set here, after every part of the call has been evaluated: a call inside the arguments or
    // the target leaves its own time-out behind, which is not this call's.
    std::int32_t callTimeout = -1;
    if (CAny* timeout = node.Child(3)) {
        CValue limit;
        if (JumpTarget jump = timeout->Execute(scope, limit, debugger))
            return jump;
        callTimeout = limit.Word();
    }
    engine.CallTimeout.store(callTimeout, std::memory_order_relaxed);

    JumpTarget result = nullptr;
    if (!lacksCli) {
        BuiltinContext context = ContextAtCurrentLine(debugger);
        CValue returned;
        {
            CDebugger::ScriptPause pause(debugger);
            table_->Invoke(index_, cliValues, valueOut ? &returned : nullptr, context);
        }
        if (valueOut) {
            StoreResult(entry_->ReturnType, returned, *valueOut);
            PlainInteger(entry_->ReturnType, valueOut);
        }
        if (engine.TimedOut.exchange(false)) {
            if (!timeoutSearched_) {
                timeoutTarget_ = FindTimeoutLabel(node);
                timeoutSearched_ = true;
            }
            result = timeoutTarget_;
        }
    }
    if (lacksCli)
        RunTimeError(debugger, stmtmsg::CliNotStarted);
    return result;
}

void CCallSite::CarryOut(const CAny& node, CValue* valueOut, CDebugger& debugger, std::vector<CValue>& arguments,
                         std::span<const TypeCode> types)
{
    CValue unused;
    CValue& out = valueOut ? *valueOut : unused;
    EngineState& engine = Engine();
    const CValue none;
    const CValue& first = arguments.empty() ? none : arguments[0];
    const TypeCode firstType = TypeAt(types, 0);
    BuiltinContext context = ContextAtCurrentLine(debugger);

    switch (inNode_) {
    case InNodeBuiltin::None:
        break;
    case InNodeBuiltin::Int2Str:
        out.AdoptText(firstType == kTypeInteger ? IntegerToText(first) : std::string());
        break;
    case InNodeBuiltin::Real2Str:
        out.AdoptText(firstType == kTypeReal ? RealToText(first.RealValue()) : std::string());
        break;
    case InNodeBuiltin::Real2Int:
        // Saturated: a real beyond the 32-bit range gives the nearest limit.
        out.SetWord(RealToIntSaturated(first.RealValue()));
        PlainInteger(kTypeInteger, &out);
        break;
    case InNodeBuiltin::Round:
        out.SetReal(RoundToDecimals(first.RealValue(), arguments.size() > 1 ? arguments[1].Word() : 0));
        break;
    case InNodeBuiltin::Sqrt:
        if (firstType == kTypeReal)
            out.SetReal(std::sqrt(first.RealValue()));
        else if (firstType == kTypeInteger)
            out.SetReal(std::sqrt(static_cast<double>(first.Word())));
        else
            RunTimeError(debugger, callmsg::InvalidType);
        break;
    case InNodeBuiltin::Ceil:
        out.SetReal(std::ceil(first.RealValue()));
        break;
    case InNodeBuiltin::Floor:
        out.SetReal(std::floor(first.RealValue()));
        break;
    case InNodeBuiltin::Abs:
        if (firstType == kTypeReal) {
            out.SetReal(std::fabs(first.RealValue()));
        } else if (firstType == kTypeInteger) {
            // The smallest integer has no opposite and stays as it is, as the arithmetic wraps.
            out.SetWord(AbsInteger(first.Word()));
        } else {
            RunTimeError(debugger, callmsg::InvalidType);
        }
        break;
    case InNodeBuiltin::ElapsedTime:
        out.SetReal(BuiltinElapsedTime(context, arguments).RealValue());
        break;
    case InNodeBuiltin::ImportData:
        out.AdoptText(firstType == kTypeString ? ImportData(engine, first.TextView(), &debugger) : std::string());
        break;
    case InNodeBuiltin::WaitSync: {
        const int count = static_cast<int>(arguments.size());
        for (int i = 0; i < count; ++i) {
            if (TypeAt(types, static_cast<std::size_t>(i)) == kTypeInteger)
                engine.SetWantedSync(i, arguments[static_cast<std::size_t>(i)].Word());
        }
        std::int32_t taken = -1;
        {
            CDebugger::ScriptPause pause(debugger);
            taken = WaitForWantedSync(engine, count);
        }
        out.SetWord(taken);
        PlainInteger(kTypeInteger, &out);
        break;
    }
    case InNodeBuiltin::Min:
    case InNodeBuiltin::Max: {
        if (firstType != kTypeInteger && firstType != kTypeReal) {
            RunTimeError(debugger, callmsg::InvalidType);
            break;
        }
        std::vector<std::int32_t> integers;
        std::vector<double> reals;
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (TypeAt(types, i) != firstType) {
                RunTimeError(debugger, callmsg::MixedTypes);
                out.SetWord(0);
                return;
            }
            if (firstType == kTypeInteger)
                integers.push_back(arguments[i].Word());
            else
                reals.push_back(arguments[i].RealValue());
        }
        const bool max = inNode_ == InNodeBuiltin::Max;
        if (firstType == kTypeInteger) {
            out.SetWord(max ? MaxOf(std::span<const std::int32_t>(integers))
                            : MinOf(std::span<const std::int32_t>(integers)));
            PlainInteger(kTypeInteger, &out);
        } else {
            out.SetReal(max ? MaxOf(std::span<const double>(reals)) : MinOf(std::span<const double>(reals)));
        }
        break;
    }
    case InNodeBuiltin::Trace:
    case InNodeBuiltin::Ok:
    case InNodeBuiltin::Nok:
    case InNodeBuiltin::Warning: {
        const ScriptMessage kind = inNode_ == InNodeBuiltin::Trace ? ScriptMessage::Trace
                                   : inNode_ == InNodeBuiltin::Ok  ? ScriptMessage::Ok
                                   : inNode_ == InNodeBuiltin::Nok ? ScriptMessage::Nok
                                                                   : ScriptMessage::Warning;
        // The line of the call itself: a procedure called in an argument has reported lines
        // of its own since this statement reported its line.
        if (const CAny* name = node.Child(0))
            context.Line = static_cast<int>(name->Line());
        WriteScriptMessage(kind, context, arguments, types);
        break;
    }
    }
}

void CCallSite::NameStartedCli(const CAny& node) const
{
    // The handle variable of `h = startdmm()` names the CLI in its echo lines: "out:[h] ...".
    const CAny* parent = node.Parent();
    if (!parent || parent->Child(1) != &node)
        return;
    const auto* declaration = dynamic_cast<const CIdDecl*>(parent->Child(0));
    if (!declaration)
        return;
    NameNewestCli(declaration->VariableName());
}

}  // namespace zov
