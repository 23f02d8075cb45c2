// Arbitrary bytes as an interface file: split into lines and applied to a fresh function table
// and macro table, with the verbose lines on; then the same bytes as one settings text and one
// macro body. Fresh tables each run keep the leak check meaningful.

#include "engine/runtime/EngineState.h"
#include "engine/runtime/FunctionTable.h"
#include "engine/input/InterfaceLines.h"
#include "engine/input/MacroTable.h"
#include "engine/base/Output.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<zov::CFunctionTable> NewTable()
{
    auto table = std::make_unique<zov::CFunctionTable>();
    if (!table->LoadGrammar(ZOV_FUZZ_TABLE)) {
        std::fprintf(stderr, "cannot load %s\n", ZOV_FUZZ_TABLE);
        std::abort();
    }
    return table;
}

bool Prepare()
{
    zov::SetLineSink([](zov::Stream, std::string_view) {});
    zov::Engine().Verbose = true;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = Prepare();
    (void)prepared;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::unique_ptr<zov::CFunctionTable> fresh = NewTable();
    zov::CFunctionTable& table = *fresh;
    zov::CMacroTable macros;
    const int refused = zov::ReadInterfaceText(table, macros, text);
    if (refused < 0)
        std::abort();
    for (int i = 0; i < table.GetCount(); ++i) {
        const zov::CFunctionEntry* entry = table.GetEntry(i);
        if (!entry->Interface || entry->ParamCount > zov::kMaxFunctionParams || table.IndexOf(entry->Name) > i)
            std::abort();
    }

    (void)zov::ParseCliSettings(text);
    if (zov::FilterMacroBody(text).size() > text.size())
        std::abort();
    return 0;
}
