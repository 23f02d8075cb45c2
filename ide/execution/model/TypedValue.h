#pragma once

// The value dialog's typed parser: checks a value typed for a watched variable against the kind
// the engine reported for it, and gives the text to show and the text to send with "setval".

#include <string>
#include <string_view>

namespace zov::execution {

// Kinds as the engine reports them in "cmd:val" answers.
enum ValueKind : int {
    kKindInteger = 0,
    kKindInteger2 = 1,
    kKindHex = 2,
    kKindBinary = 3,
    kKindOctal = 4,
    kKindReal = 5,
    kKindBoolean = 6,
    kKindString = 7,
};

// Shown (translated) when a value fails its kind; the dialog then stays open.
inline constexpr std::string_view kInvalidValueText = "Valeur incorrecte !";

struct TypedValue {
    bool ok = false;
    std::string stored;  // the text the dialog and the variables pane show
    std::string sent;    // the text sent to the engine: decimal for kinds 0 to 4
};

// Parses `typed` (trimmed of blanks first) by `kind`. A line break inside the value is refused:
// it would end the console command that carries it.
TypedValue ParseTypedValue(int kind, std::string_view typed);

// A value that goes out on one console line: every CR and LF becomes a blank.
std::string OneLineValue(std::string_view value);

}  // namespace zov::execution
