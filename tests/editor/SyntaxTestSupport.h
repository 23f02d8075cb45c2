// Helpers of the colouring tests: a set of interfaces holding a few names, and a line's colours
// written one hex digit per character, as the probe prints them.
#pragma once

#include "ide/editor/model/SyntaxColouring.h"
#include "ide/interfaces/model/InterfaceSet.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zov::editor::test {

inline std::string ColourDigits(const std::vector<ColourBlock>& blocks, int length)
{
    std::string digits;
    for (const int colour : EffectiveColours(blocks, length))
        digits.push_back("0123456789abcdef"[colour & 15]);
    return digits;
}

// Names of every kind: macro Greet, function Trace, CLI Cli1, constant MAXV.
class NamedSet {
public:
    NamedSet() : set_({"", "", ""}, prompter_)
    {
        set_.AddMacro("Greet", "Trace(\"hi\")", -1);
        set_.AddFunction("Trace", "trace", 1, 0, -1);
        set_.AddCli("Cli1", "cli1", "", 0, "", 0, 0, -1);
        set_.AddConstant("MAXV", "10", 0, -1);
    }
    interfaces::InterfaceSet& Set() { return set_; }

private:
    shell::RecordingPrompter prompter_;
    interfaces::InterfaceSet set_;
};

// A language parsed from the text of a syntax file.
inline std::unique_ptr<interfaces::SyntaxLanguage> Language(std::string_view stx)
{
    interfaces::SyntaxLanguageList list;
    interfaces::ParseSyntaxText(stx, list);
    return list.empty() ? nullptr : std::move(list.front());
}

}  // namespace zov::editor::test
