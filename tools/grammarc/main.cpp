// zovgrammarc: compiles a grammar source into a compiled grammar table (version 1).
//   zovgrammarc <grammar> -o <table>
// Exit status 0 on success; 1 when the grammar has errors, conflicts or ambiguities, which are
// listed on standard error; 2 on a usage error.

#include "Grammar.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string input;
    std::string output;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc)
            output = argv[++i];
        else if (argv[i][0] != '-' && input.empty())
            input = argv[i];
        else {
            input.clear();
            break;
        }
    }
    if (input.empty() || output.empty()) {
        std::fprintf(stderr, "usage: zovgrammarc <grammar> -o <table.cgt>\n");
        return 2;
    }
    grammarc::Grammar grammar;
    grammarc::Tables tables;
    if (!grammarc::ReadGrammar(input, grammar))
        return 1;
    // Both builders run so that one pass lists the scanner and the parser problems together.
    const bool scannerOk = grammarc::BuildScanner(grammar, tables);
    const bool parserOk = grammarc::BuildParser(grammar, tables);
    if (!scannerOk || !parserOk) {
        std::fprintf(stderr, "%s: no table written\n", input.c_str());
        return 1;
    }
    return grammarc::WriteTables(output, grammar, tables) ? 0 : 1;
}
