#include "ide/interfaces/model/InterfaceSet.h"

#include "common/AtomicFile.h"
#include "common/PathUtils.h"
#include "common/TextCodec.h"
#include "common/process/ProcessSpawn.h"
#include "common/MessageText.h"
#include "ide/interfaces/model/MacroText.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zov::interfaces {

namespace {

constexpr std::string_view kBackupRestored =
    "Le fichier d'interface n'a pas été correctement sauvegardé.\nChargement de la dernière sauvegarde ...";
constexpr std::string_view kCannotSave = "Impossible d'enregistrer le fichier:\n%s";

// The system's temporary folder, where "%%TEMP%%" points.
std::string SystemTempFolder()
{
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// The folder part of a file path, up to its last separator ("/" or "\"), exclusive.
std::string FolderOf(const std::string& path)
{
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool SamePath(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

bool EndsWithExe(std::string_view name)
{
    if (name.size() < 4)
        return false;
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return tail == ".exe";
}

template <class Record>
bool RemoveOwned(std::vector<std::unique_ptr<Record>>& owned, const Record* record)
{
    for (auto it = owned.begin(); it != owned.end(); ++it) {
        if (it->get() == record) {
            owned.erase(it);
            return true;
        }
    }
    return false;
}

}  // namespace

std::pair<DefinitionKind, std::string> ReadDefinitionAtLine(const std::string& path, int line)
{
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes || line < 1)
        return {DefinitionKind::None, {}};
    const std::string text = DecodeText(*bytes);
    const std::vector<std::string_view> lines = SplitInterfaceLines(text);
    if (static_cast<std::size_t>(line) > lines.size())
        return {DefinitionKind::None, {}};
    return ClassifyDefinitionLine(lines[static_cast<std::size_t>(line) - 1]);
}

InterfaceSet::InterfaceSet(InterfaceFolders folders, shell::Prompter& prompter, shell::Translate translate)
    : folders_(std::move(folders)),
      prompter_(prompter),
      translate_(translate ? std::move(translate) : shell::IdentityTranslate()),
      writer_([](const std::string& path, std::string_view bytes) { return WriteFileAtomically(path, bytes); }),
      windowsFolder_("/"),
      systemFolder_("/usr/bin"),
      tempConstantFolder_(SystemTempFolder())
{
    if (folders_.engineFolder.empty())
        folders_.engineFolder = folders_.installFolder;
    tempInterfacePath_ = folders_.tempFolder + "/Temp.qzi";
}

void InterfaceSet::Clear()
{
    all_.clis.Clear();
    all_.constants.Clear();
    all_.functions.Clear();
    all_.macros.Clear();
    mainInterface_.ClearRecords();
    insertedInterfaces_.clear();
    insertedPaths_.clear();
}

void InterfaceSet::RemoveInsertedInterfaces()
{
    all_.clis.Clear();
    all_.constants.Clear();
    all_.functions.Clear();
    all_.macros.Clear();
    insertedPaths_.clear();
    insertedInterfaces_.clear();
    currentPath_ = mainPath_;
}

void InterfaceSet::ClearInterface(Interface& target)
{
    all_.clis.RemoveAll(target.clis);
    all_.constants.RemoveAll(target.constants);
    all_.functions.RemoveAll(target.functions);
    all_.macros.RemoveAll(target.macros);
    target.ClearRecords();
}

bool InterfaceSet::ParseInterfaceFile(const std::string& path, Interface& target, int interfaceIndex)
{
    loadErrors_.clear();
    ClearInterface(target);
    if (path.empty() || path.front() == '(')
        return false;
    const std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        loadErrors_.push_back("FILE:" + path + " " + translate_("non présent"));
        return false;
    }
    std::vector<RecordPlace> order;
    ParseInterfaceText(DecodeText(*bytes), interfaceIndex, target, &order);

    const auto enter = [&](auto& list, auto* record, std::string_view tag, std::string_view duplicate) {
        if (list.Find(record->name)) {
            loadErrors_.push_back(std::string(tag) + record->name + " " + translate_(duplicate));
        } else {
            list.Append(record);
        }
    };
    for (const auto& [kind, index] : order) {
        switch (kind) {
        case DefinitionKind::Cli:
            enter(all_.clis, target.clis[index].get(), "CLI:", "dupliqué");
            break;
        case DefinitionKind::Function:
            enter(all_.functions, target.functions[index].get(), "FUNCT:", "dupliquée");
            break;
        case DefinitionKind::Constant:
            enter(all_.constants, target.constants[index].get(), "CONST:", "dupliquée");
            break;
        case DefinitionKind::Macro:
            enter(all_.macros, target.macros[index].get(), "MACRO:", "dupliquée");
            break;
        case DefinitionKind::None:
            break;
        }
    }
    return true;
}

bool InterfaceSet::Load(const std::string& path)
{
    ClearInterface(mainInterface_);
    mainPath_.clear();
    currentPath_.clear();

    const std::string backup = path + ".bak";
    if (!path.empty() && path.front() != '(' && FileExists(backup)) {
        // A save stopped before its write was complete: the copy is the last good content.
        prompter_.Ask(translate_(kBackupRestored), shell::PromptIcon::None, shell::PromptButtons::Ok);
        std::error_code error;
        std::filesystem::copy_file(backup, path, std::filesystem::copy_options::overwrite_existing, error);
        if (!error)
            std::filesystem::remove(backup, error);
    }

    const bool read = ParseInterfaceFile(path, mainInterface_, -1);
    if (read) {
        mainPath_ = path;
        currentPath_ = path;
        mainInterface_.editFlag = 1;
    }
    modified_ = false;
    return read;
}

void InterfaceSet::TellWriteFailure(const std::string& path)
{
    prompter_.Ask(FillMessage(translate_(kCannotSave), path), shell::PromptIcon::Warning, shell::PromptButtons::Ok);
}

bool InterfaceSet::WriteInterfaceFile(const std::string& path, const InterfaceView& source, bool expand)
{
    std::string text;
    if (expand) {
        const TempExpansion expansion{
            [this](const CliRecord& record) { return TempCliPath(record); },
            [this](std::string_view value) { return PredefinedFolder(value); },
        };
        text = FormatInterfaceText(source, translate_, &expansion);
    } else {
        text = FormatInterfaceText(source, translate_);
    }
    if (path.empty() || !writer_(path, text)) {
        TellWriteFailure(path);
        return false;
    }
    return true;
}

bool InterfaceSet::Save()
{
    bool saved = true;
    // With no interface file and nothing to keep there is nothing to write: no message.
    if (!mainPath_.empty() || !mainInterface_.Empty()) {
        const std::string backup = mainPath_ + ".bak";
        std::error_code error;
        const bool backedUp =
            !mainPath_.empty() &&
            std::filesystem::copy_file(mainPath_, backup, std::filesystem::copy_options::overwrite_existing, error) &&
            !error;
        if (WriteInterfaceFile(mainPath_, ViewOf(mainInterface_), false)) {
            if (backedUp)
                std::filesystem::remove(backup, error);
        } else {
            // The copy stays: the next Load restores it.
            saved = false;
        }
    }
    for (std::size_t i = 0; i < insertedInterfaces_.size(); ++i) {
        if (insertedInterfaces_[i]->editFlag != 0 &&
            !WriteInterfaceFile(insertedPaths_[i], ViewOf(*insertedInterfaces_[i]), false))
            saved = false;
    }
    if (saved)
        modified_ = false;
    return saved;
}

bool InterfaceSet::WriteTempInterface()
{
    // The temporary interface is no saved state: the user's unsaved edits stay marked modified.
    const InterfaceView source = insertedInterfaces_.empty() ? ViewOf(mainInterface_) : AllDefinitionsView();
    return WriteInterfaceFile(tempInterfacePath_, source, true);
}

bool InterfaceSet::SaveInterfaceByPath(const std::string& path)
{
    for (std::size_t i = 0; i < insertedPaths_.size(); ++i) {
        if (!SamePath(insertedPaths_[i], path))
            continue;
        if (!WriteInterfaceFile(insertedPaths_[i], ViewOf(*insertedInterfaces_[i]), false))
            return false;
        modified_ = false;
        return true;
    }
    return false;
}

bool InterfaceSet::InsertInterface(const std::string& fileName, const std::string& folder, int interfaceIndex,
                                   int editFlag)
{
    // The resolved path is kept, so that Save writes where Load read and the CLIs beside the
    // file are found, also for a fileName given as an absolute path.
    const bool unread = fileName.empty() || fileName.front() == '(';
    const std::string path = unread ? fileName : MakeAbsolutePath(folder, fileName);
    insertedPaths_.push_back(path);
    insertedInterfaces_.push_back(std::make_unique<Interface>());
    Interface& target = *insertedInterfaces_.back();
    const bool read = ParseInterfaceFile(path, target, interfaceIndex);
    target.editFlag = editFlag;
    return read;
}

std::pair<DefinitionKind, std::string> InterfaceSet::GetDefinitionAtLine(int line) const
{
    return ReadDefinitionAtLine(tempInterfacePath_, line);
}

Interface* InterfaceSet::GetInsertedInterface(int index)
{
    if (index < 0 || index >= static_cast<int>(insertedPaths_.size()) || index >= InsertedCount())
        return nullptr;
    return insertedInterfaces_[static_cast<std::size_t>(index)].get();
}

const Interface* InterfaceSet::GetInsertedInterface(int index) const
{
    return const_cast<InterfaceSet*>(this)->GetInsertedInterface(index);
}

bool InterfaceSet::IsInterfaceEditable(int index) const
{
    const Interface* target = GetInsertedInterface(index);
    return target && target->editFlag != 0;
}

void InterfaceSet::SetInterfaceEditable(int index, int value)
{
    if (Interface* target = GetInsertedInterface(index))
        target->editFlag = value;
}

bool InterfaceSet::FindOtherCli(const CliRecord* exclude, std::string_view name) const
{
    return all_.clis.HasOther(exclude, name);
}

bool InterfaceSet::FindOtherFunction(const FunctionRecord* exclude, std::string_view name) const
{
    return all_.functions.HasOther(exclude, name);
}

bool InterfaceSet::FindOtherConstant(const ConstantRecord* exclude, std::string_view name) const
{
    return all_.constants.HasOther(exclude, name);
}

bool InterfaceSet::FindOtherMacro(const MacroRecord* exclude, std::string_view name) const
{
    return all_.macros.HasOther(exclude, name);
}

bool InterfaceSet::IsNameFree(std::string_view name) const
{
    return !all_.constants.Find(name) && !all_.functions.Find(name) && !all_.clis.Find(name);
}

bool InterfaceSet::IsMacroName(std::string_view name) const
{
    return !name.empty() && all_.macros.Find(name);
}

bool InterfaceSet::FindFunctionPrefix(std::string_view text, std::size_t n) const
{
    return n > 0 && n <= text.size() && all_.functions.Find(text.substr(0, n));
}

bool InterfaceSet::FindCliPrefix(std::string_view text, std::size_t n) const
{
    return n > 0 && n <= text.size() && all_.clis.Find(text.substr(0, n));
}

bool InterfaceSet::FindConstantPrefix(std::string_view text, std::size_t n) const
{
    return n <= text.size() && all_.constants.Find(text.substr(0, n));
}

Interface* InterfaceSet::Owner(int interfaceIndex)
{
    return interfaceIndex == -1 ? &mainInterface_ : GetInsertedInterface(interfaceIndex);
}

CliRecord* InterfaceSet::AddCli(const std::string& name, const std::string& path, const std::string& syncMessage,
                                int syncMode, const std::string& stopMessage, int stripLineBreaks, int stripQuotes,
                                int interfaceIndex)
{
    Interface* owner = Owner(interfaceIndex);
    if (!owner)
        return nullptr;
    auto record = std::make_unique<CliRecord>(
        CliRecord{name, path, syncMessage, syncMode, stopMessage, stripLineBreaks, stripQuotes, interfaceIndex});
    CliRecord* added = record.get();
    owner->clis.push_back(std::move(record));
    all_.clis.Append(added);
    modified_ = true;
    return added;
}

FunctionRecord* InterfaceSet::AddFunction(const std::string& name, const std::string& command, int paramCount,
                                          int returnType, int interfaceIndex)
{
    Interface* owner = Owner(interfaceIndex);
    if (!owner)
        return nullptr;
    auto record =
        std::make_unique<FunctionRecord>(FunctionRecord{name, command, returnType, paramCount, interfaceIndex});
    FunctionRecord* added = record.get();
    owner->functions.push_back(std::move(record));
    all_.functions.Append(added);
    modified_ = true;
    return added;
}

ConstantRecord* InterfaceSet::AddConstant(const std::string& name, const std::string& value, int type,
                                          int interfaceIndex)
{
    Interface* owner = Owner(interfaceIndex);
    if (!owner)
        return nullptr;
    auto record = std::make_unique<ConstantRecord>(ConstantRecord{name, value, type, interfaceIndex});
    ConstantRecord* added = record.get();
    owner->constants.push_back(std::move(record));
    all_.constants.Append(added);
    modified_ = true;
    return added;
}

MacroRecord* InterfaceSet::AddMacro(const std::string& name, const std::string& body, int interfaceIndex)
{
    Interface* owner = Owner(interfaceIndex);
    if (!owner)
        return nullptr;
    auto record = std::make_unique<MacroRecord>(MacroRecord{name, body, interfaceIndex});
    MacroRecord* added = record.get();
    owner->macros.push_back(std::move(record));
    all_.macros.Append(added);
    modified_ = true;
    return added;
}

bool InterfaceSet::RemoveCli(const CliRecord* record)
{
    all_.clis.Remove(record);
    Interface* owner = record ? Owner(record->interfaceIndex) : nullptr;
    if (!owner || !RemoveOwned(owner->clis, record))
        return false;
    modified_ = true;
    return true;
}

bool InterfaceSet::RemoveFunction(const FunctionRecord* record)
{
    all_.functions.Remove(record);
    Interface* owner = record ? Owner(record->interfaceIndex) : nullptr;
    if (!owner || !RemoveOwned(owner->functions, record))
        return false;
    modified_ = true;
    return true;
}

bool InterfaceSet::RemoveConstant(const ConstantRecord* record)
{
    all_.constants.Remove(record);
    Interface* owner = record ? Owner(record->interfaceIndex) : nullptr;
    if (!owner || !RemoveOwned(owner->constants, record))
        return false;
    modified_ = true;
    return true;
}

bool InterfaceSet::RemoveMacro(const MacroRecord* record)
{
    all_.macros.Remove(record);
    Interface* owner = record ? Owner(record->interfaceIndex) : nullptr;
    if (!owner || !RemoveOwned(owner->macros, record))
        return false;
    modified_ = true;
    return true;
}

void InterfaceSet::NamesChanged()
{
    all_.clis.Reindex();
    all_.constants.Reindex();
    all_.functions.Reindex();
    all_.macros.Reindex();
}

std::string InterfaceSet::ExpandMacro(std::string_view name, int depth) const
{
    const std::vector<MacroRecord*>& records = all_.macros.Records();
    return ExpandMacroText(std::vector<const MacroRecord*>(records.begin(), records.end()), name, depth);
}

InterfaceView InterfaceSet::AllDefinitionsView() const
{
    InterfaceView view;
    view.clis.assign(all_.clis.Records().begin(), all_.clis.Records().end());
    view.constants.assign(all_.constants.Records().begin(), all_.constants.Records().end());
    view.functions.assign(all_.functions.Records().begin(), all_.functions.Records().end());
    view.macros.assign(all_.macros.Records().begin(), all_.macros.Records().end());
    return view;
}

// A CLI named by a bare program name that sits beside its interface file is given to the engine
// by a path from the engine's working folder. Any other name is left for the engine to find
// (its own folder or PATH), and a file beside the engine keeps its bare name.
std::string InterfaceSet::TempCliPath(const CliRecord& record) const
{
    const std::string& path = record.path;
    if (path.find_first_of("/\\") != std::string::npos)
        return path;
    std::string home;
    if (record.interfaceIndex == -1)
        home = currentPath_;
    else if (record.interfaceIndex >= 0 && record.interfaceIndex < static_cast<int>(insertedPaths_.size()))
        home = insertedPaths_[static_cast<std::size_t>(record.interfaceIndex)];
    const std::string folder = FolderOf(home);
    if (folder.empty())
        return path;
    const std::vector<std::string> words = SplitCommandLine(path);
    if (words.empty())
        return path;
    const std::string& program = words.front();
    const bool beside = FileExists(folder + "/" + program) ||
                        (EndsWithExe(program) && FileExists(folder + "/" + program.substr(0, program.size() - 4)));
    if (!beside)
        return path;
    const std::string relative = MakeRelativePath(folders_.engineFolder, folder);
    if (relative.empty())
        return path;
    if (path.front() == '"')
        return "\"" + relative + "/" + path.substr(1);
    return relative + "/" + path;
}

std::optional<std::string> InterfaceSet::PredefinedFolder(std::string_view value) const
{
    if (value == "%%ZOVPATH%%")
        return folders_.installFolder;
    if (value == "%%PROJECTPATH%%")
        return projectFolder_;
    if (value == "%%WINDOWS%%")
        return windowsFolder_;
    if (value == "%%SYSTEM%%")
        return systemFolder_;
    if (value == "%%TEMP%%")
        return tempConstantFolder_;
    return std::nullopt;
}

void InterfaceSet::LoadSyntaxFiles(const std::string& pattern)
{
    if (pattern.empty())
        return;
    syntaxLanguages_.clear();
    for (const std::string& path : SyntaxFilesInOrder(pattern))
        ReadSyntaxFile(path);
}

bool InterfaceSet::ReadSyntaxFile(const std::string& path)
{
    const auto bytes = ReadWholeFile(path);
    if (!bytes)
        return false;
    ParseSyntaxText(*bytes, syntaxLanguages_);
    return true;
}

const SyntaxLanguage* InterfaceSet::FindSyntaxLanguage(std::string_view name) const
{
    for (const auto& language : syntaxLanguages_) {
        if (language->name == name)
            return language.get();
    }
    return nullptr;
}

bool InterfaceSet::IsLanguageKeyword(const SyntaxLanguage* language, std::string_view text, std::size_t length) const
{
    return language != nullptr && length <= text.size() && language->HasKeyword(text.substr(0, length));
}

}  // namespace zov::interfaces
