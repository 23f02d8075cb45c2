#pragma once

// The arguments of a call, one expression per argument in order. Running the list evaluates
// every argument into a value of its own, which the call then hands on.

#include <cstddef>
#include <span>
#include <vector>

#include "engine/base/Messages.h"
#include "engine/tree/Node.h"

namespace zov {

class CParameterList final : public CAny {
public:
    CParameterList() = default;

    std::size_t ArgumentCount() const { return ChildCount(); }

    // Reserves one value per argument, then the default walk.
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override;

    // Analyses every argument in order; unless `skip`, an argument whose expected type (by
    // position) is neither undetermined nor "any" and differs from the argument's type gets
    // "Type du parametre incorrect" at the list's place, and the check ends there. Arguments
    // beyond `expected` are not compared. Always Done; `typeOut` ends with the last argument's
    // type.
    int CheckTypes(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::span<const TypeCode> expected,
                   bool skip);

    // Evaluates every argument into `values`, in order. An argument that yields a jump target
    // (a CLI time-out inside it that found its label) ends the evaluation and is handed up.
    JumpTarget Evaluate(CSymbolStore* scope, std::vector<CValue>& values, CDebugger& debugger);
    // Evaluate into Values().
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

    // What the last Execute produced: one value per argument; the call may change them.
    std::vector<CValue>& Values() { return values_; }
    // The type of each argument. Types are settled once the analysis is over, so they are
    // learned once, at the first run, with a scratch error list.
    std::span<const TypeCode> Types(CSymbolStore* scope)
    {
        if (!typesKnown_)
            LearnTypes(scope);
        return types_;
    }

private:
    friend class CArgumentFrame;
    void LearnTypes(CSymbolStore* scope);

    std::vector<CValue> values_;
    bool inUse_ = false;
    std::vector<TypeCode> types_;
    bool typesKnown_ = false;
};

// The arguments of one call in progress. The list's own values serve the call, unless a call
// of the same list is already in progress further up (a procedure called in one of its own
// arguments, recursion): that call's values must survive, so this one gets values of its own.
class CArgumentFrame {
public:
    explicit CArgumentFrame(CParameterList& list) : list_(list), nested_(list.inUse_) { list.inUse_ = true; }
    ~CArgumentFrame()
    {
        if (!nested_)
            list_.inUse_ = false;
    }
    CArgumentFrame(const CArgumentFrame&) = delete;
    CArgumentFrame& operator=(const CArgumentFrame&) = delete;

    JumpTarget Evaluate(CSymbolStore* scope, CDebugger& debugger) { return list_.Evaluate(scope, Values(), debugger); }
    std::vector<CValue>& Values() { return nested_ ? own_ : list_.values_; }

private:
    CParameterList& list_;
    bool nested_;
    std::vector<CValue> own_;
};

}  // namespace zov
