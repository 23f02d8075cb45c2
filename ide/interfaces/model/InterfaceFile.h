#pragma once
// The .qzi text: a positional reader that never rejects a line, and a writer whose layout the
// engine's grammar and older files rely on byte for byte. No file access here: InterfaceSet
// reads and writes the files; these functions work on texts so that tests and fuzzers reach them.

#include "ide/interfaces/model/InterfaceRecords.h"
#include "ide/shell/core/Translate.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zov::interfaces {

// The lines of a text as the engine counts them: CR LF, LF and a lone CR each end one line.
// A last line without a line end counts too; the line ends are not part of the lines.
std::vector<std::string_view> SplitInterfaceLines(std::string_view text);

// What one line declares, for the reader and for GetDefinitionAtLine.
DefinitionKind KindOfLine(std::string_view line);

// A record's position in the target of ParseInterfaceText: its kind and its index in that
// kind's list. The reader reports them in file order.
using RecordPlace = std::pair<DefinitionKind, std::size_t>;

// Appends the records of a decoded (UTF-8) interface text to `target`, in file order, each with
// the given interfaceIndex. Unknown and empty lines are skipped; a known line is cut by position
// whatever it holds. When `order` is given, every record read is listed there in file order.
void ParseInterfaceText(std::string_view text, int interfaceIndex, Interface& target,
                        std::vector<RecordPlace>* order = nullptr);

// The kind and trimmed name of the definition on one line (DefinitionKind::None and "" for any
// other line).
std::pair<DefinitionKind, std::string> ClassifyDefinitionLine(std::string_view line);

// What only the temporary interface writes differently: CLI paths resolved for the engine and
// the predefined folder constants replaced by the folders they stand for.
struct TempExpansion {
    // The path field to write for a CLI.
    std::function<std::string(const CliRecord&)> cliPath;
    // The folder a predefined value ("%%ZOVPATH%%" ...) stands for; nothing for other values.
    std::function<std::optional<std::string>(std::string_view value)> predefinedFolder;
};

// The character a return type is written with ("_" for a type outside 0..4).
char ReturnTypeCharacter(int returnType);

// Record lines as the file holds them, without their line end. A line break inside a field
// never reaches the file: it becomes a blank, or " & " in a macro body.
std::string FormatCliLine(const CliRecord& record, std::string_view path);
std::string FormatFunctionLine(const FunctionRecord& record);
std::string FormatConstantLine(const ConstantRecord& record);
std::string FormatMacroLine(const MacroRecord& record);

// The whole file: sections CLI, functions, constants, macros, each only when not empty, opened
// by a translated title comment; every line ends with CR LF; no record gives an empty text.
// `expansion` is given for the temporary interface only.
std::string FormatInterfaceText(const InterfaceView& source, const shell::Translate& translate,
                                const TempExpansion* expansion = nullptr);

}  // namespace zov::interfaces
