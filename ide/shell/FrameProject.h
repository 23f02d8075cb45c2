#pragma once
// The project side of the main frame: ProjectCommands over the real window (explorer, output
// bar, interface set, documents, version combo, recent list), the commands of the project,
// report, interface and batch menus, and the texts that are edited as documents: a macro body,
// a stored result, a description. The frame owns one.

#include "ide/shell/core/ProjectCommands.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace zov::interfaces {
struct MacroRecord;
}

namespace zov::shell {

class MainFrame;
class ScriptDocument;

// Writes one report of the open project; the frame's part that links the report writers fills it.
using ReportWriterCall = std::function<void(MainFrame& frame, const std::string& path, ReportWriterKind kind,
                                            int version, const ReportOptionValues& options)>;

class FrameProject final : public QObject, private ProjectHost {
    Q_OBJECT
public:
    explicit FrameProject(MainFrame& frame);
    ~FrameProject() override;

    // Puts the handlers of the project, report, interface and batch commands on the frame.
    void InstallCommands();
    void SetReportWriter(ReportWriterCall write) { writeReport_ = std::move(write); }

    ProjectCommands& Commands() { return *commands_; }
    const std::string& ProjectPath() const { return commands_->ProjectPath(); }
    // The batch file named by "Lancer...", read by the batch run when timer 1 starts it.
    const std::string& BatchFilePath() const { return batchFile_; }

    // ---- Texts edited as documents ----
    // The macro's body as "<name>.qzm", one statement per line; an inserted interface's macro is
    // read-only. Saving the document joins the lines into the record and saves its interface.
    ScriptDocument* OpenMacroFile(const interfaces::MacroRecord& record, bool readOnly);
    // Closes the open document of that macro of that interface (the interface file's path).
    void CloseMacroFile(const std::string& interfacePath, const std::string& name);
    // Closes the open documents of every interface's macro of that name.
    void CloseMacroFilesNamed(const std::string& name);
    // A stored result's text as "<temp>/<name>.qzr"; nothing is said when it cannot be written.
    ScriptDocument* OpenResultFile(const std::string& name, const std::string& text);
    // The description of the explorer's selected item (the project, a campaign or a test set).
    ScriptDocument* OpenItemDescription(int kind, std::uint32_t id);
    // Called by the row that shows a macro after its body changed through its document.
    void SetMacroChanged(std::function<void(const interfaces::MacroRecord&)> changed)
    {
        macroChanged_ = std::move(changed);
    }

private:
    // ProjectHost
    void CloseAllDocuments() override;
    bool OpenDocument(const std::string& path) override;
    void LinkActiveViewToProjectItem() override;
    void ResetViewColours() override {}
    bool LoadProject(const std::string& path) override;
    void CloseProjectInExplorer() override;
    std::string ProjectInterfacePath() override;
    std::vector<std::string> InsertedInterfaces() override;
    int VersionCount() override;
    bool HasResults() override;
    std::string ProjectName() override;
    std::string ProjectDescription() override;
    void ClearProjectVersions() override;
    std::string CreateProject(const std::string& name, const std::string& folder,
                              const std::string& interfaceName) override;
    void CopyDataPaneToProject() override;
    bool WriteProjectFile(const std::string& path) override;
    void RewriteCsvFiles() override;
    void ClearInterfaces() override;
    void RemoveInsertedInterfaces() override;
    bool LoadInterface(const std::string& path) override;
    bool InsertInterface(const std::string& path) override;
    bool SaveInterfaces() override;
    void SetInterfaceProjectFolder(const std::string& folder) override;
    void RefreshInterfaceLists() override;
    void RefreshMacros() override;
    void ClearErrors() override;
    void ClearRuns() override;
    void ClearVariables() override;
    void ClearTrace() override;
    void SelectVersion(int index) override;
    void RefillVersionCombo() override;
    void AddRecentProject(const std::string& path) override;
    void SetProjectToOpen(const std::string& path) override;
    std::optional<ReportChoice> RunReportDialog(ReportOptionValues& options, int versionIndex) override;
    void WriteReport(const std::string& path, ReportWriterKind kind, int version,
                     const ReportOptionValues& options) override;
    bool LoadBatchFile(const std::string& path) override;
    void StartBatchTimer() override;

    void OnNewProject();
    void OnNewInterface();
    void DocumentSaved(ScriptDocument& document);
    void DocumentClosed(const std::string& path);
    std::string Tr(const char* text) const;

    // What a document of the temp folder writes back to when it is saved.
    struct MacroLink {
        std::string interfacePath;  // main or inserted interface file, absolute
        std::string name;
    };
    struct DescriptionLink {
        int kind = -1;  // -1 project, 0 campaign, 1 test set
        std::uint32_t id = 0;
    };

    MainFrame& frame_;
    std::unique_ptr<ProjectCommands> commands_;
    ReportWriterCall writeReport_;
    std::function<void(const interfaces::MacroRecord&)> macroChanged_;
    std::string batchFile_;
    std::map<std::string, MacroLink> macros_;
    std::map<std::string, DescriptionLink> descriptions_;
};

}  // namespace zov::shell
