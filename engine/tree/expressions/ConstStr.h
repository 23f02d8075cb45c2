#pragma once

// A string literal. The tree keeps the text as written between the quotes, backslashes
// included; escapes are replaced each time the literal is evaluated.

#include <string>
#include <string_view>

#include "engine/tree/Node.h"

namespace zov {

class CConstStr final : public CExpression {
public:
    CConstStr() = default;

    // From the literal's image: both quotes dropped, nothing else changed.
    void SetFromImage(std::string_view image);
    const std::string& Text() const { return text_; }

    // The value of a literal: \n \r \t \b as usual, \0 ends the text, a backslash before any
    // other character gives that character, a lone backslash at the end is dropped.
    static std::string ReplaceEscapes(std::string_view written);

    int TypeAnalysis(CSymbolStore* scope, TypeCode& typeOut, CErrorList& errors, std::uint32_t passThrough) override;
    JumpTarget Execute(CSymbolStore* scope, CValue& valueOut, CDebugger& debugger) override;

private:
    std::string text_;
};

}  // namespace zov
