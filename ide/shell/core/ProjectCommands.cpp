#include "ide/shell/core/ProjectCommands.h"

#include "common/AtomicFile.h"
#include "common/MessageText.h"
#include "common/PathUtils.h"
#include "ide/shell/core/TextFiles.h"

#include <filesystem>
#include <utility>

namespace zov::shell {

namespace {

constexpr const char* kCannotSave = "Impossible d'enregistrer le fichier:\n%s";
constexpr const char* kCannotLoad = "Impossible de charger le fichier:\n%s";

// Text-mode files of the temp folder: CR LF line ends whatever the text held.
std::string WithCrLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

}  // namespace

FileRequest ProjectFileRequest(const std::string& title, const Translate& translate)
{
    return {translate(title), translate("Fichier ZOV Projet|*.qzp|"), "*.qzp"};
}

ProjectCommands::ProjectCommands(ProjectHost& host, Prompter& prompter, const Settings& settings,
                                 std::string programFolder, std::string tempFolder, Translate translate)
    : host_(host),
      prompter_(prompter),
      settings_(settings),
      programFolder_(std::move(programFolder)),
      tempFolder_(std::move(tempFolder)),
      translate_(std::move(translate))
{}

std::string ProjectCommands::ProjectFolder() const
{
    return projectPath_.empty() ? std::string() : FolderOf(projectPath_);
}

void ProjectCommands::Tell(const std::string& pattern, const std::string& path)
{
    prompter_.Tell(FillMessage(translate_(pattern), path), PromptIcon::Warning);
}

int ProjectCommands::OpenProject(const std::string& path)
{
    if (!projectPath_.empty())
        host_.SaveInterfaces();
    if (!FileExists(path))
        return 0;
    host_.CloseAllDocuments();
    OnCloseProject();
    projectPath_ = path;
    host_.SetProjectToOpen(path);
    // A project file that does not load opens nothing: an empty "open" project would be written
    // over the file at close.
    if (!host_.LoadProject(path)) {
        projectPath_.clear();
        host_.SetProjectToOpen("");
        Tell(kCannotLoad, path);
        return 0;
    }
    LoadProjectInterfaces(host_.ProjectInterfacePath(), host_.InsertedInterfaces());
    host_.SetInterfaceProjectFolder(ProjectFolder());
    host_.ClearErrors();
    host_.ClearRuns();
    host_.ClearVariables();
    versionIndex_ = host_.VersionCount() - 1;
    host_.SelectVersion(versionIndex_);
    const std::string description = host_.ProjectDescription();
    if (!description.empty()) {
        const std::string file = tempFolder_ + "/" + SanitiseFileName(host_.ProjectName()) + ".txt";
        if (!WriteFileAtomically(file, WithCrLf(description))) {
            Tell(kCannotSave, file);
            return 1;
        }
        if (host_.OpenDocument(file))
            host_.LinkActiveViewToProjectItem();
    }
    return 1;
}

void ProjectCommands::LoadProjectInterfaces(const std::string& path, const std::vector<std::string>& inserted)
{
    interfacePath_ = path;
    host_.ClearInterfaces();
    if (path.empty())
        return;
    if (!FileExists(path) && !WriteFileAtomically(path, ";"))
        Tell(kCannotSave, path);
    host_.LoadInterface(path);
    const std::string projectFolder = ProjectFolder();
    for (const std::string& entry : inserted)
        if (const auto resolved = ResolveInsertedInterface(entry, programFolder_, projectFolder))
            host_.InsertInterface(*resolved);
    host_.RefreshInterfaceLists();
    host_.RefreshMacros();
}

void ProjectCommands::OnOpenProject()
{
    if (const auto path = prompter_.OpenFile(ProjectFileRequest("Charger", translate_)))
        OpenProjectAndRemember(*path);
}

void ProjectCommands::OpenProjectAndRemember(const std::string& path)
{
    if (OpenProject(path) != 1)
        return;
    host_.AddRecentProject(path);
    EnsureReportFolder();
    host_.RefillVersionCombo();
}

bool ProjectCommands::SaveProject()
{
    if (projectPath_.empty())
        return false;
    if (FileExists(interfacePath_) && FileExists(projectPath_)) {
        if (IsReadOnlyFile(interfacePath_)) {
            prompter_.Tell(translate_("Le fichier d'interface est en lecture seul !"), PromptIcon::Warning);
            return false;
        }
        if (IsReadOnlyFile(projectPath_)) {
            prompter_.Tell(translate_("Le fichier projet est en lecture seul !"), PromptIcon::Warning);
            return false;
        }
    }
    host_.SaveInterfaces();
    host_.CopyDataPaneToProject();
    const bool written = host_.WriteProjectFile(projectPath_);
    if (settings_.GetInt(SettingId::ImportAutoSave) != 0)
        host_.RewriteCsvFiles();
    host_.AddRecentProject(projectPath_);
    return written;
}

void ProjectCommands::OnSaveProjectAs()
{
    if (const auto path = prompter_.SaveFile(ProjectFileRequest("Enregistrer", translate_))) {
        projectPath_ = *path;
        SaveProject();
    }
}

void ProjectCommands::OnCloseProject()
{
    if (projectPath_.empty())
        return;
    if (prompter_.Ask(translate_("Enregistrer votre projet ?"), PromptIcon::Question, PromptButtons::YesNo) ==
        PromptAnswer::Yes)
        SaveProject();
    host_.CloseProjectInExplorer();
    host_.ClearErrors();
    host_.ClearRuns();
    host_.ClearVariables();
    host_.ClearTrace();
    projectPath_.clear();
    host_.SetProjectToOpen("");
    versionIndex_ = -1;
    host_.ClearProjectVersions();
    interfacePath_ = MakeAbsolutePath(programFolder_, settings_.GetString(SettingId::DefaultInterfacePath)) + "/" +
                     settings_.GetString(SettingId::DefaultInterface);
    host_.ClearInterfaces();
    host_.RemoveInsertedInterfaces();
    host_.LoadInterface(interfacePath_);
    host_.RefreshInterfaceLists();
    host_.ResetViewColours();
    host_.CloseAllDocuments();
    host_.RefillVersionCombo();
}

void ProjectCommands::NewProject(const NewProjectChoice& choice)
{
    OnCloseProject();
    if (choice.name.empty() || choice.folder.empty())
        return;
    if (!FolderExists(choice.folder))
        CreateFolderPath(choice.folder);
    const std::string interfaceName = choice.interfaceName.empty() ? choice.name + ".qzi" : choice.interfaceName;
    projectPath_ = host_.CreateProject(choice.name, choice.folder, interfaceName);
    if (projectPath_.empty())
        return;
    const std::string interfacePath = MakeAbsolutePath(choice.folder, interfaceName);
    LoadProjectInterfaces(interfacePath, {});
    host_.SetProjectToOpen(projectPath_);
    SaveProject();
    host_.AddRecentProject(projectPath_);
    host_.LoadProject(projectPath_);
    LoadProjectInterfaces(host_.ProjectInterfacePath(), host_.InsertedInterfaces());
    EnsureReportFolder();
}

void ProjectCommands::EnsureReportFolder()
{
    const std::string folder = ReportFolder(settings_, ProjectFolder());
    if (!folder.empty() && !FolderExists(folder))
        CreateFolderPath(folder);
}

void ProjectCommands::OnCreateReport()
{
    if (host_.VersionCount() == 0) {
        prompter_.Tell(translate_("Vous devez créer une version de l'application testée !"));
        return;
    }
    if (!host_.HasResults())
        return;
    ReportOptionValues options = ReadReportOptions(settings_);
    if (const auto choice = host_.RunReportDialog(options, versionIndex_)) {
        const ReportWriterKind kind = ChooseCommandReportWriter(choice->path, options.xmlFormat);
        if (kind != ReportWriterKind::None)
            host_.WriteReport(choice->path, kind, choice->version, options);
    }
    // Written back after "Annuler" too, as the dialog left them.
    WriteReportOptions(settings_, options);
}

void ProjectCommands::NewInterfaceFile(const std::string& folder, const std::string& name)
{
    std::string file = name;
    if (file.find(".qzi") == std::string::npos)
        file += ".qzi";
    const std::string path = folder + "/" + file;
    // The file may be an interface in use: replacing it needs a "Oui", and the default is "Non".
    if (std::filesystem::exists(path) &&
        prompter_.Ask(FillMessage(translate_("Le fichier %s existe déjà.\nVoulez-vous le remplacer ?"), path),
                      PromptIcon::Warning, PromptButtons::YesNo) != PromptAnswer::Yes)
        return;
    if (!WriteFileAtomically(path, ";\r\n"))
        Tell(kCannotSave, path);
}

void ProjectCommands::OnRunBatch()
{
    OnCloseProject();
    const FileRequest request{translate_("Charger"), translate_("Fichier batch ZOV|*.qzb|"), "*.qzb"};
    if (const auto path = prompter_.OpenFile(request))
        if (host_.LoadBatchFile(*path))
            host_.StartBatchTimer();
}

}  // namespace zov::shell
