#pragma once
// Every definition the IDE knows at one time: the main interface (the project's interface file
// or the default one), the interfaces inserted into it, and four set-wide lists in which each
// name is held once (the first definition read wins: main interface, then inserted ones in
// order). The engine sees only the winners, through the temporary interface Temp.qzi.

#include "ide/interfaces/model/DefinitionList.h"
#include "ide/interfaces/model/InterfaceFile.h"
#include "ide/interfaces/model/InterfaceRecords.h"
#include "ide/interfaces/model/SyntaxLanguage.h"
#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/Translate.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zov::interfaces {

// What the shell knows and the set needs.
struct InterfaceFolders {
    std::string installFolder;  // program folder: "%%ZOVPATH%%"
    // The engine's working folder, from which the temporary interface names the CLIs that sit
    // beside their interface file; empty means the program folder.
    std::string engineFolder;
    std::string tempFolder;  // the instance's temporary folder, home of Temp.qzi
};

// Where the set-wide lists stand after a definition is added or removed.
struct AllDefinitions {
    DefinitionList<CliRecord> clis;
    DefinitionList<ConstantRecord> constants;
    DefinitionList<FunctionRecord> functions;
    DefinitionList<MacroRecord> macros;
};

// The definition on line `line` (from 1) of an interface file, as the engine counts lines;
// DefinitionKind::None when the line declares nothing, does not exist or the file is unreadable.
std::pair<DefinitionKind, std::string> ReadDefinitionAtLine(const std::string& path, int line);

class InterfaceSet {
public:
    InterfaceSet(InterfaceFolders folders, shell::Prompter& prompter,
                 shell::Translate translate = shell::IdentityTranslate());
    InterfaceSet(const InterfaceSet&) = delete;
    InterfaceSet& operator=(const InterfaceSet&) = delete;

    // Life cycle.
    void Clear();
    void RemoveInsertedInterfaces();
    void SetProjectFolder(const std::string& folder) { projectFolder_ = folder; }
    std::string GetTempInterfacePath() const { return tempInterfacePath_; }
    // Frees the records of one interface, first taking them out of the set-wide lists.
    void ClearInterface(Interface& target);

    // Files. Load is called while the set-wide lists are empty (after Clear or
    // RemoveInsertedInterfaces, or on a new set).
    bool Load(const std::string& path);
    // The main interface with its ".bak" copy, then every inserted interface open for editing.
    // True when every write succeeded.
    bool Save();
    bool WriteTempInterface();
    bool SaveInterfaceByPath(const std::string& path);
    bool InsertInterface(const std::string& fileName, const std::string& folder, int interfaceIndex, int editFlag);
    std::pair<DefinitionKind, std::string> GetDefinitionAtLine(int line) const;
    bool ParseInterfaceFile(const std::string& path, Interface& target, int interfaceIndex);
    // Writes one interface file whole (temp file + rename); a failure is told to the user.
    bool WriteInterfaceFile(const std::string& path, const InterfaceView& source, bool expand);

    // Inserted interfaces.
    Interface* GetInsertedInterface(int index);
    const Interface* GetInsertedInterface(int index) const;
    int InsertedCount() const { return static_cast<int>(insertedInterfaces_.size()); }
    const std::vector<std::string>& InsertedPaths() const { return insertedPaths_; }
    bool IsInterfaceEditable(int index) const;
    void SetInterfaceEditable(int index, int value);

    // Look-ups by name: a record of the kind, other than `exclude`, bears the name.
    bool FindOtherCli(const CliRecord* exclude, std::string_view name) const;
    bool FindOtherFunction(const FunctionRecord* exclude, std::string_view name) const;
    bool FindOtherConstant(const ConstantRecord* exclude, std::string_view name) const;
    bool FindOtherMacro(const MacroRecord* exclude, std::string_view name) const;
    // No constant, function or CLI bears the name (macros are not looked at).
    bool IsNameFree(std::string_view name) const;
    bool IsMacroName(std::string_view name) const;

    // Look-ups by word for the colouring: a name of exactly the first n characters of `text`.
    bool FindFunctionPrefix(std::string_view text, std::size_t n) const;
    bool FindCliPrefix(std::string_view text, std::size_t n) const;
    bool FindConstantPrefix(std::string_view text, std::size_t n) const;

    // Adding and removing. Adds do not check names (callers ask the look-ups first); the owner
    // is the main interface for -1, else that inserted interface, which must exist.
    CliRecord* AddCli(const std::string& name, const std::string& path, const std::string& syncMessage, int syncMode,
                      const std::string& stopMessage, int stripLineBreaks, int stripQuotes, int interfaceIndex);
    FunctionRecord* AddFunction(const std::string& name, const std::string& command, int paramCount, int returnType,
                                int interfaceIndex);
    ConstantRecord* AddConstant(const std::string& name, const std::string& value, int type, int interfaceIndex);
    MacroRecord* AddMacro(const std::string& name, const std::string& body, int interfaceIndex);
    // A hidden definition of the same name in a later interface does not take the removed one's
    // place in the set-wide list.
    bool RemoveCli(const CliRecord* record);
    bool RemoveFunction(const FunctionRecord* record);
    bool RemoveConstant(const ConstantRecord* record);
    bool RemoveMacro(const MacroRecord* record);
    // After a record was renamed in place.
    void NamesChanged();

    // Syntax languages. Loading replaces the list (an empty pattern keeps it): "zov.stx" of the
    // pattern's folder first, then the other matches by name, so that its sections win over
    // others of the same name. Unreadable files are skipped without a word.
    void LoadSyntaxFiles(const std::string& pattern);
    // Appends the languages of one file; false when it cannot be read.
    bool ReadSyntaxFile(const std::string& path);
    // The first language of that exact name (case-sensitive), or none.
    const SyntaxLanguage* FindSyntaxLanguage(std::string_view name) const;
    // One of the language's keywords is exactly the first `length` characters of `text`.
    bool IsLanguageKeyword(const SyntaxLanguage* language, std::string_view text, std::size_t length) const;
    const SyntaxLanguageList& SyntaxLanguages() const { return syntaxLanguages_; }

    // The set-wide macro laid out on lines, macros inside it expanded over depth - 1 passes.
    std::string ExpandMacro(std::string_view name, int depth) const;

    // State.
    const Interface& MainInterface() const { return mainInterface_; }
    Interface& MainInterface() { return mainInterface_; }
    const AllDefinitions& All() const { return all_; }
    const std::string& MainPath() const { return mainPath_; }
    const std::string& CurrentPath() const { return currentPath_; }
    const std::string& ProjectFolder() const { return projectFolder_; }
    const std::vector<std::string>& LoadErrors() const { return loadErrors_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // Where written files go: WriteFileAtomically unless replaced (tests put a failing disk here).
    using FileWriter = std::function<bool(const std::string& path, std::string_view bytes)>;
    void SetFileWriter(FileWriter writer) { writer_ = std::move(writer); }

    // What the predefined constants stand for in the temporary interface.
    const std::string& WindowsFolder() const { return windowsFolder_; }
    const std::string& SystemFolder() const { return systemFolder_; }
    const std::string& TempConstantFolder() const { return tempConstantFolder_; }

private:
    Interface* Owner(int interfaceIndex);
    InterfaceView AllDefinitionsView() const;
    std::string TempCliPath(const CliRecord& record) const;
    std::optional<std::string> PredefinedFolder(std::string_view value) const;
    void TellWriteFailure(const std::string& path);

    InterfaceFolders folders_;
    shell::Prompter& prompter_;
    shell::Translate translate_;
    FileWriter writer_;

    std::string projectFolder_;
    std::string windowsFolder_;
    std::string systemFolder_;
    std::string tempConstantFolder_;
    std::string mainPath_;
    std::string tempInterfacePath_;
    std::string currentPath_;
    Interface mainInterface_;
    std::vector<std::unique_ptr<Interface>> insertedInterfaces_;
    std::vector<std::string> insertedPaths_;
    AllDefinitions all_;
    std::vector<std::string> loadErrors_;
    SyntaxLanguageList syntaxLanguages_;
    bool modified_ = false;
};

}  // namespace zov::interfaces
