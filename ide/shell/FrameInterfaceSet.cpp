#include "ide/shell/FrameInterfaceSet.h"

#include "common/PathUtils.h"
#include "ide/shell/ShellPrompter.h"

namespace zov::shell {

namespace {

interfaces::InterfaceFolders FoldersOf(const ApplicationCore& application)
{
    interfaces::InterfaceFolders folders;
    folders.installFolder = application.GetProgramFolder().string();
    folders.engineFolder = MakeAbsolutePath(folders.installFolder, application.Values().enginePath);
    folders.tempFolder = application.GetTempFolder();
    return folders;
}

}  // namespace

FrameInterfaceSet::FrameInterfaceSet(const ApplicationCore& application)
    : set_(FoldersOf(application), ActivePrompterForward(), application.Translator())
{
    set_.LoadSyntaxFiles(application.GetSyntaxFilePattern());
}

FrameInterfaceSet::~FrameInterfaceSet() = default;

bool FrameInterfaceSet::Insert(const std::filesystem::path& path)
{
    return set_.InsertInterface(path.filename().string(), path.parent_path().string(), set_.InsertedCount(), 1);
}

bool FrameInterfaceSet::HasSyntaxLanguage(std::string_view name) const
{
    return set_.FindSyntaxLanguage(name) != nullptr;
}

std::vector<std::pair<std::string, std::string>> FrameInterfaceSet::SyntaxLanguages() const
{
    std::vector<std::pair<std::string, std::string>> languages;
    for (const auto& language : set_.SyntaxLanguages())
        languages.emplace_back(language->type, language->name);
    return languages;
}

}  // namespace zov::shell
