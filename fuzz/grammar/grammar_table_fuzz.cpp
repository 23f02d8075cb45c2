// Arbitrary bytes as a grammar table file. A table that loads must also drive the scanner and
// the parser without harm, whatever its states say.

#include "engine/grammar/GrammarTable.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zov::CGrammarTable table;
    if (!table.ReadRecords(data, size))
        return 0;
    zov::CScanner* scanner = table.CreateScanner();
    static const char* const texts[] = {"a", "a b\n", "x = 1 + 2\n", "if a then\nend\n", "\x01\xff"};
    for (const char* text : texts) {
        if (!scanner->Tokenize(text))
            continue;
        zov::CParser* parser = table.CreateParser();
        parser->Parse(scanner->GetTokens());
    }
    return 0;
}
