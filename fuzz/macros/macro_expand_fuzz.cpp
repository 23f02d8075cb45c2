// Scripts and macro values are user text: joining and expansion must stay within the text and
// its bound, keep the line count, and leave a text without macro names as it was.
//
// Input: a macro name on the first line and its value on the second join a small fixed table;
// everything after is the script text.

#include "engine/input/MacroTable.h"
#include "engine/base/Output.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kFuzzBound = std::size_t{1} << 20;

zov::CMacroTable MakeTable(std::string_view& input)
{
    zov::CMacroTable table;
    const std::size_t nameEnd = input.find('\n');
    if (nameEnd != std::string_view::npos && nameEnd <= 32) {
        const std::size_t valueEnd = input.find('\n', nameEnd + 1);
        if (valueEnd != std::string_view::npos) {
            table.Add(input.substr(0, nameEnd), input.substr(nameEnd + 1, valueEnd - nameEnd - 1),
                      zov::kMacroKindMacro);
            input.remove_prefix(valueEnd + 1);
        }
    }
    table.Add("N", "5", zov::kMacroKindConstant);
    table.Add("A", "B+N", zov::kMacroKindConstant);
    table.Add("B", "(A)", zov::kMacroKindConstant);
    table.Add("Q", "\"N\" & N", zov::kMacroKindMacro);
    table.Add("%%1", "\\\r\n\t", zov::kMacroKindConstant);
    table.Add("N", "6", zov::kMacroKindConstant);
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool silenced = [] {
        zov::SetLineSink([](zov::Stream, std::string_view) {});
        return true;
    }();
    (void)silenced;

    std::string_view input(reinterpret_cast<const char*>(data), size);
    const zov::CMacroTable table = MakeTable(input);

    const std::string joined = zov::JoinContinuedLines(input);
    if (joined.size() > input.size())
        __builtin_trap();
    if (std::count(joined.begin(), joined.end(), '\n') != std::count(input.begin(), input.end(), '\n'))
        __builtin_trap();

    bool changed = true;
    const auto same = zov::ExpandMacros(zov::CMacroTable{}, joined, changed, kFuzzBound);
    if (!same || changed || *same != joined)
        __builtin_trap();

    const auto once = zov::ExpandMacros(table, joined, changed, kFuzzBound);
    // The length counted before a pass is built is the length built, or nothing past the bound.
    const std::optional<std::size_t> counted = zov::ExpandedSize(table, joined, kFuzzBound);
    if (!once) {
        if (changed || counted)
            __builtin_trap();
    } else if (once->size() > kFuzzBound || (!changed && *once != joined) || counted != once->size()) {
        __builtin_trap();
    }

    std::string text = joined;
    zov::RunMacroPasses(table, text, kFuzzBound);
    if (text.size() > kFuzzBound)
        __builtin_trap();
    return 0;
}
