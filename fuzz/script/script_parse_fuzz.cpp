// Arbitrary bytes as a script: scanning, parsing, the message of whatever error stops them, and
// the syntax tree of a text that parses (built, walked and freed).

#include "engine/tree/Node.h"
#include "engine/tree/ScriptAnalysis.h"
#include "engine/tree/TreeBuilder.h"
#include "../support/ScriptFuzz.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zov::CGrammarTable& table = zov::fuzz::ScriptGrammar(ZOV_FUZZ_TABLE);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zov::CScriptTree tree = zov::BuildScriptTree(table, text);
    if (tree.Root) {
        // Every parent link points at the node that holds the child.
        zov::fuzz::EveryNode(tree.Root.get(), [](const zov::CAny* node, const zov::CAny* parent) {
            if (parent && node->Parent() != parent)
                std::abort();
            return true;
        });
    } else if (tree.Error.empty() && size > 0 && data[0] != 0) {
        std::abort();  // a text that did not parse always has its message
    }
    return 0;
}
