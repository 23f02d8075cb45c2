// `getval` and `setval` with any name and value against variables of every type, in a global
// scope, a procedure p and its inner procedure q. Input: requests separated by '\n'; a request
// starting with '=' is a setval whose name ends at the first '\t' (the rest is the value).

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/tree/Node.h"
#include "engine/base/Output.h"
#include "engine/runtime/SymbolStore.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Declare(zov::CSymbolStore& scope, const char* name, zov::TypeCode type, zov::CValue value)
{
    zov::CVariable* variable = scope.Declare(name);
    variable->SetType(type);
    variable->Value() = std::move(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const zov::LineSink discard = [] {
        zov::SetLineSink([](zov::Stream, std::string_view) {});
        return zov::LineSink();
    }();
    (void)discard;

    zov::EngineState engine;
    zov::CDebugger debugger(engine);
    zov::CSymbolStore global;
    zov::CSymbolStore pScope(&global);
    zov::CSymbolStore qScope(&pScope);
    zov::CStatement pNode;
    zov::CStatement qNode;
    global.RegisterProcedure("p", &pNode, &pScope);
    pScope.RegisterProcedure("q", &qNode, &qScope);
    Declare(global, "i", zov::kTypeInteger, zov::CValue::Integer(-5, 2, true));
    Declare(global, "h", zov::kTypeInteger, zov::CValue::Integer(255, 16, true));
    Declare(global, "o", zov::kTypeInteger, zov::CValue::Integer(8, 8, true));
    Declare(global, "r", zov::kTypeReal, zov::CValue::Real(1e300));
    Declare(global, "b", zov::kTypeBoolean, zov::CValue::Boolean(true));
    Declare(global, "s", zov::kTypeString, zov::CValue::Text("a:b"));
    Declare(global, "c", zov::kTypeCli, zov::CValue::Cli(1));
    Declare(global, "v", zov::kTypeVoid, zov::CValue::Integer(7));
    Declare(pScope, "x", zov::kTypeString, zov::CValue());
    Declare(qScope, "y", zov::kTypeReal, zov::CValue::Real(-0.0));
    zov::CVariable* table = global.Declare("t");
    table->Allocate(3, zov::kTypeString, zov::CValue::Text("e"));

    debugger.BeginRun(global);
    zov::CDebugger::ScriptPause pause(debugger);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        const std::size_t end = input.find('\n');
        std::string_view request = input.substr(0, end);
        input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
        if (!request.empty() && request.front() == '=') {
            request.remove_prefix(1);
            const std::size_t tab = request.find('\t');
            const std::string name(request.substr(0, tab));
            const std::string value(tab == std::string_view::npos ? std::string_view() : request.substr(tab + 1));
            debugger.SetValue(name, value);
        } else {
            debugger.GetValue(std::string(request));
        }
    }
    return 0;
}
