// The statement `x = x + i` run through the real node base, variable nodes and values, with a
// minimal addition and assignment: the floor under what a counting loop of the script can cost.

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/ErrorList.h"
#include "engine/tree/expressions/IdDecl.h"
#include "engine/tree/expressions/IdUse.h"
#include "engine/tree/Node.h"
#include "engine/runtime/SymbolStore.h"
#include "engine/base/Value.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace zov;

class Add final : public CExpression {
public:
    JumpTarget Execute(CSymbolStore* scope, CValue& out, CDebugger& debugger) override
    {
        CValue a;
        CValue b;
        if (JumpTarget jump = Child(0)->Execute(scope, a, debugger))
            return jump;
        if (JumpTarget jump = Child(1)->Execute(scope, b, debugger))
            return jump;
        out.SetWord(WrapAdd(a.Word(), b.Word()));
        return nullptr;
    }
};

class Assign final : public CStatement {
public:
    // The value is analysed before the target is declared, so `x = x + i` reads the x before.
    int NameAnalysis(CSymbolStore* scope, CErrorList& errors) override
    {
        Child(1)->NameAnalysis(scope, errors);
        return Child(0)->NameAnalysis(scope, errors);
    }
    JumpTarget Execute(CSymbolStore* scope, CValue&, CDebugger& debugger) override
    {
        if (!ReportLine(debugger, Line()))
            return nullptr;
        CVariable& cells = static_cast<CIdDecl*>(Child(0))->Variable()->Storage();
        JumpTarget jump = Child(1)->Execute(scope, cells.Value(), debugger);
        CSymbolStore::Record(cells);
        return jump;
    }
};

class Constant final : public CExpression {
public:
    int TypeAnalysis(CSymbolStore*, TypeCode& type, CErrorList&, std::uint32_t) override
    {
        type = kTypeInteger;
        return kAnalysisDone;
    }
    JumpTarget Execute(CSymbolStore*, CValue& out, CDebugger&) override
    {
        out.SetWord(0);
        return nullptr;
    }
};

template <typename T>
T* AddNode(CAny& parent, unsigned line)
{
    auto node = std::make_unique<T>();
    T* raw = node.get();
    raw->SetPosition(static_cast<std::uint16_t>(line), 1);
    raw->SetParent(&parent);
    parent.AddChild(std::move(node));
    return raw;
}

CIdDecl* Declare(CAny& statement, const char* name)
{
    CIdDecl* decl = AddNode<CIdDecl>(statement, statement.Line());
    decl->SetVariableName(name);
    return decl;
}

CIdUse* Use(CAny& parent, const char* name)
{
    CIdUse* use = AddNode<CIdUse>(parent, parent.Line());
    use->SetVariableName(name);
    return use;
}

void CountingLoopStatement(benchmark::State& state)
{
    EngineState engine;
    engine.NotifyLines = false;
    CDebugger debugger(engine);
    CSymbolStore global;
    CErrorList errors;

    // x = 0, i = 0, then the body x = x + i on one line of its own.
    CAny root;
    for (const char* name : {"x", "i"}) {
        Assign* start = AddNode<Assign>(root, 1);
        Declare(*start, name);
        AddNode<Constant>(*start, 1);
    }
    Assign* body = AddNode<Assign>(root, 2);
    Declare(*body, "x");
    auto* sum = AddNode<Add>(*body, 2);
    Use(*sum, "x");
    Use(*sum, "i");
    TypeCode type = kTypeUndetermined;
    if (root.NameAnalysis(&global, errors) != kAnalysisDone ||
        root.TypeAnalysis(&global, type, errors, 0) != kAnalysisDone || !errors.Empty()) {
        state.SkipWithError("analysis failed");
        return;
    }
    CValue scratch;
    root.Execute(&global, scratch, debugger);
    CValue& i = global.FindVariable("i")->Value();

    std::int32_t k = 0;
    for (auto _ : state) {
        i.SetWord(++k);
        body->Execute(&global, scratch, debugger);
    }
    benchmark::DoNotOptimize(global.FindVariable("x")->Value().Word());
}
BENCHMARK(CountingLoopStatement);

// Name binding while a long script is analysed: each statement declares one of `names`
// variables and reads another.
void DeclareAndResolve(benchmark::State& state)
{
    const int names = static_cast<int>(state.range(0));
    std::vector<std::string> texts;
    for (int n = 0; n < names; ++n)
        texts.push_back("variable_" + std::to_string(n));
    for (auto _ : state) {
        CSymbolStore global;
        for (int line = 0; line < 10000; ++line) {
            benchmark::DoNotOptimize(global.Declare(texts[static_cast<std::size_t>(line % names)]));
            benchmark::DoNotOptimize(global.ResolveVariable(texts[static_cast<std::size_t>((line * 7) % names)]));
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(DeclareAndResolve)->Arg(10)->Arg(1000)->Arg(10000);

void CopyTextValue(benchmark::State& state)
{
    const CValue source = CValue::Text(std::string(static_cast<std::size_t>(state.range(0)), 'a'));
    CValue target;
    for (auto _ : state) {
        target = source;  // reuses the target's buffer after the first copy
        benchmark::DoNotOptimize(target.TextView().data());
    }
}
BENCHMARK(CopyTextValue)->Arg(8)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
