// Arbitrary bytes as a text of the small statement test grammar: scanning, parsing and the
// messages of whatever error stops them.

#include "engine/grammar/GrammarTable.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"
#include "engine/grammar/SyntaxMessages.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

zov::CGrammarTable& Table()
{
    static zov::CGrammarTable* table = [] {
        auto* t = new zov::CGrammarTable;
        if (!t->Load(ZOV_FUZZ_TABLE)) {
            std::fprintf(stderr, "cannot load %s\n", ZOV_FUZZ_TABLE);
            std::abort();
        }
        return t;
    }();
    return *table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zov::CGrammarTable& table = Table();
    zov::CScanner* scanner = table.CreateScanner();
    zov::CScriptMessages messages;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!scanner->Tokenize(text)) {
        for (const auto& e : scanner->GetErrors())
            (void)messages.FormatScriptError(e);
        return 0;
    }
    zov::CParser* parser = table.CreateParser();
    parser->Parse(scanner->GetTokens());
    for (const auto& e : parser->GetErrors()) {
        (void)messages.FormatScriptError(e);
        (void)messages.FormatInterfaceError(e, 3);
    }
    return 0;
}
