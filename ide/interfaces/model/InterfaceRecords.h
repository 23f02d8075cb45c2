#pragma once
// The four kinds of definitions an interface file declares, and one interface file in memory.
// Every record is owned by exactly one Interface; the set-wide lists of InterfaceSet only point
// to records. interfaceIndex names the owner: -1 the main interface, n inserted interface n.

#include <memory>
#include <string>
#include <vector>

namespace zov::interfaces {

// A CLI program that scripts start and talk to over pipes.
struct CliRecord {
    std::string name;
    // Program command line; a bare file name (no separator) is relative to the folder of the
    // owning interface file.
    std::string path;
    std::string syncMessage;
    int syncMode = 0;  // 0 standard output, 1 standard error
    std::string stopMessage = "exit";
    int stripLineBreaks = 1;
    int stripQuotes = 0;
    int interfaceIndex = -1;
};

// A command template sent to a CLI. Argument placeholders are held as "%%" ("%s" in the file).
struct FunctionRecord {
    std::string name;
    std::string command;
    int returnType = 0;  // 0 none, 1 boolean, 2 string, 3 integer, 4 real
    int paramCount = 0;
    int interfaceIndex = -1;
};

enum ConstantType { StringConstant = 0, NumberConstant = 1, BooleanConstant = 2, PredefinedConstant = 3 };

struct ConstantRecord {
    std::string name;
    std::string value;  // without the quotes of the file
    int type = StringConstant;
    int interfaceIndex = -1;
};

// The body is one line: the macro's statements joined by " & ".
struct MacroRecord {
    std::string name;
    std::string body;
    int interfaceIndex = -1;
};

// Kinds as GetDefinitionAtLine reports them.
enum class DefinitionKind { None = 0, Cli = 1, Function = 2, Constant = 3, Macro = 4 };

// One interface file in memory: the records it owns, in file (or insertion) order.
struct Interface {
    std::vector<std::unique_ptr<CliRecord>> clis;
    std::vector<std::unique_ptr<ConstantRecord>> constants;
    std::vector<std::unique_ptr<FunctionRecord>> functions;
    std::vector<std::unique_ptr<MacroRecord>> macros;
    // 1 while the interface may be edited and is written by Save.
    int editFlag = 0;

    bool Empty() const { return clis.empty() && constants.empty() && functions.empty() && macros.empty(); }
    void ClearRecords()
    {
        clis.clear();
        constants.clear();
        functions.clear();
        macros.clear();
    }
};

// The records a writer walks, borrowed from an Interface or from the set-wide lists.
struct InterfaceView {
    std::vector<const CliRecord*> clis;
    std::vector<const ConstantRecord*> constants;
    std::vector<const FunctionRecord*> functions;
    std::vector<const MacroRecord*> macros;
};

InterfaceView ViewOf(const Interface& source);

}  // namespace zov::interfaces
