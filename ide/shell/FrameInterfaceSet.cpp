#include "ide/shell/FrameInterfaceSet.h"

#include "common/PathUtils.h"
#include "ide/shell/ShellPrompter.h"

namespace zov::shell {

class FrameInterfaceSet::ActivePrompterForward final : public Prompter {
public:
    PromptAnswer Ask(const std::string& text, PromptIcon icon, PromptButtons buttons) override
    {
        return ActivePrompter().Ask(text, icon, buttons);
    }
    std::optional<std::string> OpenFile(const FileRequest& request) override
    {
        return ActivePrompter().OpenFile(request);
    }
    std::optional<std::string> SaveFile(const FileRequest& request) override
    {
        return ActivePrompter().SaveFile(request);
    }
    std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialFolder) override
    {
        return ActivePrompter().BrowseFolder(title, initialFolder);
    }
    std::optional<std::uint32_t> ChooseColour(const std::string& title, std::uint32_t initial) override
    {
        return ActivePrompter().ChooseColour(title, initial);
    }
    void Beep() override { ActivePrompter().Beep(); }
};

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
    : prompter_(std::make_unique<ActivePrompterForward>()),
      set_(FoldersOf(application), *prompter_, application.Translator())
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
