#pragma once

// The interface file: which CLIs a script may start and with which settings, which commands
// each CLI understands (typed script functions filled from a command template), and the text
// constants and macros of the script. Each line is parsed on its own with the interface
// grammar and applied by CFunctionTable::ReadInterfaceLine (FunctionTable.h).

#include "engine/runtime/FunctionTable.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zov {

class CMacroTable;

// A line this long or longer (line end not counted) is refused whole: it is an error line, not
// two lines.
inline constexpr std::size_t kMaxInterfaceLine = 10000;

// Type code of a CLI function's type marker, by the marker's symbol name: "&" 1 (int), "$" 2
// (double), "#" 3 (bool), "@" 4 (text), "_" 5 (void); any other name 0.
TypeCode InterfaceTypeCode(std::string_view markerName);

struct CliHandlerEntry {
    std::string_view Name;
    InterfaceHandler Handler;
};

// The eleven handlers interface entries are bound to, by name: StartCLI, CmdFunction0,
// CmdFunction0_0, ... CmdFunction4_0.
extern const std::array<CliHandlerEntry, 11> CliHandlerTable;

// Index in CliHandlerTable of the handler of that exact name, or -1.
int FindCliHandler(std::string_view name);

// The handler name of a CLI function by its return type and parameter count: int
// "CmdFunction3", double "CmdFunction4", bool "CmdFunction2", text "CmdFunction1", void
// "CmdFunction0", with "_0" when it has no parameter; "error_CmdFunctionX_<count>" (which no
// handler bears) for any other type.
std::string CliHandlerName(TypeCode returnType, int paramCount);

// The settings text of a CLI declaration (without its quotes): "program|terminator|sync
// mode|exit command|line-break flag[|strip-quotes flag]". Nothing when it has fewer than five
// fields.
struct CliDeclarationSettings {
    std::string CommandLine;
    CliSettings Settings;
};
std::optional<CliDeclarationSettings> ParseCliSettings(std::string_view text);

// The body of a MACRO line (without its braces): cut into pieces at each '&' outside double
// quotes (empty pieces vanish), a piece dropped when it holds a ';' outside double quotes
// before its last character, the rest joined again with '&'.
std::string FilterMacroBody(std::string_view body);

// Splits the text of an interface file into numbered lines as the reader applies them. Line
// ends are LF, CR LF or CR; a line is handed over without its line end. Fed in pieces of any
// size; a line of kMaxInterfaceLine characters or more keeps only its first kMaxInterfaceLine
// characters and is marked too long, so memory stays bounded whatever the file holds.
class InterfaceLineSplitter {
public:
    using LineHandler = std::function<void(int lineNumber, std::string_view text, bool tooLong)>;

    explicit InterfaceLineSplitter(LineHandler handler) : handler_(std::move(handler)) {}
    void Feed(std::string_view bytes);
    // Hands over a last line that has no line end.
    void Finish();

private:
    void EndLine();

    LineHandler handler_;
    std::string line_;
    bool tooLong_ = false;
    bool afterCr_ = false;
    bool pending_ = false;  // characters (or an empty line's end) since the last line end
    int lineNumber_ = 0;
};

// Applies the lines of an interface file's text to the tables: lines that start with ';' and
// lines of at most one character are skipped; a line too long is refused; every other line
// goes to ReadInterfaceLine. Each refused line counts and, when Verbose, gets its
// "eng:-> Erreur: ligne" line. Returns the number of refused lines.
int ReadInterfaceText(CFunctionTable& table, CMacroTable& macros, std::string_view text);

// The same for the file at `path`, read in binary mode, after the verbose "eng: Lecture du
// fichier d'interface" line. A file that cannot be opened gets the reading-failure line and
// gives -1.
int ReadInterfaceFile(CFunctionTable& table, CMacroTable& macros, const std::string& path);

}  // namespace zov
