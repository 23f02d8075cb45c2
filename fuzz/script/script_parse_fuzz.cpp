// Arbitrary bytes as a script: scanning, parsing, the message of whatever error stops them, and
// the syntax tree of a text that parses (built, walked and freed).

#include "GrammarTable.h"
#include "Node.h"
#include "Output.h"
#include "TreeBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

zov::CGrammarTable& Table()
{
    static zov::CGrammarTable* table = [] {
        auto* t = new zov::CGrammarTable;
        if (!t->Load(ZOV_FUZZ_TABLE)) {
            std::fprintf(stderr, "cannot load %s\n", ZOV_FUZZ_TABLE);
            std::abort();
        }
        // The builder's messages would flood the fuzzer's output.
        zov::SetLineSink([](zov::Stream, std::string_view) {});
        return t;
    }();
    return *table;
}

// Every parent link points at the node that holds the child.
void CheckLinks(const zov::CAny* root)
{
    std::vector<const zov::CAny*> pending{root};
    while (!pending.empty()) {
        const zov::CAny* node = pending.back();
        pending.pop_back();
        for (size_t i = 0; i < node->ChildCount(); ++i) {
            const zov::CAny* child = node->Child(i);
            if (!child)
                continue;
            if (child->Parent() != node)
                std::abort();
            pending.push_back(child);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zov::CGrammarTable& table = Table();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    zov::CScriptTree tree = zov::BuildScriptTree(table, text);
    if (tree.Root)
        CheckLinks(tree.Root.get());
    else if (tree.Error.empty() && size > 0 && data[0] != 0)
        std::abort();  // a text that did not parse always has its message
    return 0;
}
