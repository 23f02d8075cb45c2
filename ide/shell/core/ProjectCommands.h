#pragma once
// The main frame's operations on the project as a whole: open, load its interfaces, save, save
// as, close, new; the report command; a new interface file; the batch "Lancer...". The explorer,
// the interface set, the panes, the documents and the report writers are reached through
// ProjectHost, so the rules run without a window.

#include "ide/shell/core/Prompter.h"
#include "ide/shell/core/ReportChoice.h"
#include "ide/shell/core/Settings.h"
#include "ide/shell/core/Translate.h"

#include <optional>
#include <string>
#include <vector>

namespace zov::shell {

class ProjectHost {
public:
    virtual ~ProjectHost() = default;

    // Documents: "&Fermer tout" with its questions; opening one file as a document.
    virtual void CloseAllDocuments() = 0;
    virtual bool OpenDocument(const std::string& path) = 0;
    // The active view shows the project item's description and writes it back on save.
    virtual void LinkActiveViewToProjectItem() = 0;
    virtual void ResetViewColours() = 0;

    // The explorer and its project model.
    virtual bool LoadProject(const std::string& path) = 0;
    virtual void CloseProjectInExplorer() = 0;
    virtual std::string ProjectInterfacePath() = 0;  // absolute
    virtual std::vector<std::string> InsertedInterfaces() = 0;
    virtual int VersionCount() = 0;
    virtual bool HasResults() = 0;
    virtual std::string ProjectName() = 0;
    virtual std::string ProjectDescription() = 0;
    virtual void ClearProjectVersions() = 0;
    // The campaign tree makes a new project; its file path.
    virtual std::string CreateProject(const std::string& name, const std::string& folder,
                                      const std::string& interfaceName) = 0;
    virtual void CopyDataPaneToProject() = 0;
    virtual bool WriteProjectFile(const std::string& path) = 0;
    virtual void RewriteCsvFiles() = 0;

    // The interface set.
    virtual void ClearInterfaces() = 0;
    virtual void RemoveInsertedInterfaces() = 0;
    virtual bool LoadInterface(const std::string& path) = 0;
    virtual bool InsertInterface(const std::string& path) = 0;
    virtual bool SaveInterfaces() = 0;
    virtual void SetInterfaceProjectFolder(const std::string& folder) = 0;
    virtual void RefreshInterfaceLists() = 0;
    // Every script view refreshes its macro folding.
    virtual void RefreshMacros() = 0;

    // Panes, version combo, recent list, the application's pending project.
    virtual void ClearErrors() = 0;
    virtual void ClearRuns() = 0;
    virtual void ClearVariables() = 0;
    virtual void ClearTrace() = 0;
    virtual void SelectVersion(int index) = 0;
    virtual void RefillVersionCombo() = 0;
    virtual void AddRecentProject(const std::string& path) = 0;
    virtual void SetProjectToOpen(const std::string& path) = 0;

    // The report dialog, preset with the options and the version; the chosen path and version on OK.
    struct ReportChoice {
        std::string path;
        int version = -1;
    };
    virtual std::optional<ReportChoice> RunReportDialog(ReportOptionValues& options, int versionIndex) = 0;
    virtual void WriteReport(const std::string& path, ReportWriterKind kind, int version,
                             const ReportOptionValues& options) = 0;

    // The batch file named by the user, then the start-up timer that begins the run.
    virtual bool LoadBatchFile(const std::string& path) = 0;
    virtual void StartBatchTimer() = 0;
};

struct NewProjectChoice {
    std::string name;
    std::string folder;
    std::string interfaceName;
};

class ProjectCommands {
public:
    ProjectCommands(ProjectHost& host, Prompter& prompter, const Settings& settings, std::string programFolder,
                    std::string tempFolder, Translate translate = IdentityTranslate());

    // 1 when opened; 0 when the file does not exist or could not be loaded (nothing is open then).
    int OpenProject(const std::string& path);
    void LoadProjectInterfaces(const std::string& path, const std::vector<std::string>& inserted);
    // "Ouvrir...", a recent project, the pending project: open, then recent list and report folder.
    void OnOpenProject();
    void OpenProjectAndRemember(const std::string& path);
    bool SaveProject();
    void OnSaveProjectAs();
    void OnCloseProject();
    void NewProject(const NewProjectChoice& choice);
    void EnsureReportFolder();

    // "Créer un rapport...".
    void OnCreateReport();
    // "Nouvelle..." of the interface menu: the file the dialog named, holding one comment line.
    void NewInterfaceFile(const std::string& folder, const std::string& name);
    // "Lancer..." of the batch menu.
    void OnRunBatch();

    const std::string& ProjectPath() const { return projectPath_; }
    const std::string& InterfacePath() const { return interfacePath_; }
    int VersionIndex() const { return versionIndex_; }
    void SetVersionIndex(int index) { versionIndex_ = index; }
    std::string ProjectFolder() const;

private:
    void Tell(const std::string& pattern, const std::string& path = {});

    ProjectHost& host_;
    Prompter& prompter_;
    const Settings& settings_;
    std::string programFolder_;
    std::string tempFolder_;
    Translate translate_;
    std::string projectPath_;
    std::string interfacePath_;
    int versionIndex_ = -1;
};

// The project file dialogs' request ("Charger" to open, "Enregistrer" to save).
FileRequest ProjectFileRequest(const std::string& title, const Translate& translate);

}  // namespace zov::shell
