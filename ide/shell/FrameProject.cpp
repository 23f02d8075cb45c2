#include "ide/shell/FrameProject.h"

#include "common/AtomicFile.h"
#include "common/MessageText.h"
#include "common/PathUtils.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/project/model/BatchFile.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ThemedDialog.h"
#include "ide/shell/core/TextFiles.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>

namespace zov::shell {
namespace {

using namespace command_ids;

constexpr const char* kCannotSave = "Impossible d'enregistrer le fichier:\n%s";
constexpr int kStartupTimerMs = 1000;

// The name, folder and interface file of a new project.
class NewProjectDialog final : public ThemedDialogBase {
public:
    NewProjectDialog(QWidget* parent, const Translate& translate) : ThemedDialogBase(parent)
    {
        const auto tr = [&translate](const char* text) { return QString::fromStdString(translate(text)); };
        setWindowTitle(tr("Nouveau projet"));
        auto* layout = new QFormLayout(this);
        name = new QLineEdit;
        name->setObjectName(QStringLiteral("name"));
        folder = new QLineEdit;
        folder->setObjectName(QStringLiteral("folder"));
        interfaceName = new QLineEdit;
        interfaceName->setObjectName(QStringLiteral("interface"));
        interfaceName->setPlaceholderText(tr("<nom>.qzi"));
        // The folder is typed or chosen; a missing one is made when the project is created.
        auto* browse = new QToolButton;
        browse->setObjectName(QStringLiteral("browse"));
        browse->setText(QStringLiteral("..."));
        const QString browseTitle = tr("Répertoire :");
        connect(browse, &QToolButton::clicked, this, [this, browseTitle] {
            if (const auto chosen =
                    ActivePrompter().BrowseFolder(browseTitle.toStdString(), folder->text().toStdString()))
                folder->setText(QString::fromStdString(*chosen));
        });
        auto* folderRow = new QHBoxLayout;
        folderRow->addWidget(folder, 1);
        folderRow->addWidget(browse);
        layout->addRow(tr("Nom :"), name);
        layout->addRow(tr("Répertoire :"), folderRow);
        layout->addRow(tr("Interface :"), interfaceName);
        setMinimumWidth(460);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
        buttons->button(QDialogButtonBox::Cancel)->setText(tr("Annuler"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addRow(buttons);
    }

    QLineEdit* name;
    QLineEdit* folder;
    QLineEdit* interfaceName;
};

// The lines of a saved text, without the empty line that a final line end leaves.
std::vector<std::string> BufferLines(const editor::CTextBuffer& buffer)
{
    std::vector<std::string> lines;
    for (int i = 0; i < buffer.GetLineCount(); ++i)
        lines.push_back(buffer.GetLine(i).toStdString());
    while (lines.size() > 1 && lines.back().empty())
        lines.pop_back();
    if (lines.size() == 1 && lines.front().empty())
        lines.clear();
    return lines;
}

// Text-mode files of the temp folder: CR LF line ends.
std::string WithCrLf(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (text[i] == '\n' || text[i] == '\r')
            out += "\r\n";
        else
            out += text[i];
    }
    return out;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return a == b || std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

interfaces::MacroRecord* FindMacro(interfaces::Interface& owner, const std::string& name)
{
    for (const auto& record : owner.macros) {
        if (record->name == name)
            return record.get();
    }
    return nullptr;
}

}  // namespace

FrameProject::FrameProject(MainFrame& frame)
    : QObject(&frame),
      frame_(frame),
      commands_(std::make_unique<ProjectCommands>(
          static_cast<ProjectHost&>(*this), ActivePrompterForward(), frame.GetSettings(), frame.Application().GetProgramFolder().string(),
          frame.GetTempFolder(), frame.Application().Translator()))
{
    connect(&frame_, &MainFrame::DocumentSaved, this, [this](ScriptDocument* document) { DocumentSaved(*document); });
    connect(&frame_, &MainFrame::DocumentClosed, this,
            [this](const QString& path) { DocumentClosed(path.toStdString()); });
}

FrameProject::~FrameProject() = default;

std::string FrameProject::Tr(const char* text) const
{
    return frame_.Application().TranslateText(text);
}

void FrameProject::InstallCommands()
{
    frame_.AddCommandHandler(kOpenProject, [this] { commands_->OnOpenProject(); });
    frame_.AddCommandHandler(kSaveProject, [this] { commands_->SaveProject(); });
    frame_.AddCommandHandler(kSaveProjectAs, [this] { commands_->OnSaveProjectAs(); });
    frame_.AddCommandHandler(kCloseProject, [this] { commands_->OnCloseProject(); });
    frame_.AddCommandHandler(kNewProject, [this] { OnNewProject(); });
    frame_.AddCommandHandler(kCreateReport, [this] { commands_->OnCreateReport(); });
    frame_.AddCommandHandler(kNewInterface, [this] { OnNewInterface(); });
    frame_.AddCommandHandler(kRunBatch, [this] { commands_->OnRunBatch(); });
    frame_.AddCommandHandler(kDescription, [this] {
        const int kind = frame_.Explorer().SelectedItemKind();
        // The stand-in explorer selects nothing: the project itself then.
        if (kind < 0 && !ProjectPath().empty())
            OpenItemDescription(-1, 0);
    });
}

// ---- ProjectHost ----

void FrameProject::CloseAllDocuments()
{
    frame_.CloseAll(false);
}

bool FrameProject::OpenDocument(const std::string& path)
{
    return frame_.OpenDocument(path) != nullptr;
}

void FrameProject::LinkActiveViewToProjectItem()
{
    if (ScriptDocument* document = frame_.ActiveDocument())
        descriptions_[document->Path()] = DescriptionLink{-1, 0};
}

bool FrameProject::LoadProject(const std::string& path)
{
    IExplorerBar& explorer = frame_.Explorer();
    if (!explorer.LoadProject(path))
        return false;
    // The project's saved data go to the data pane, kept with the project at its next save.
    const project::ProjectModel& model = explorer.Project();
    const std::size_t pairs = std::min(model.DataNames.size(), model.DataValues.size());
    for (std::size_t i = 0; i < pairs; ++i)
        frame_.Output().SetData(model.DataNames[i], model.DataValues[i], true);
    return true;
}

void FrameProject::CopyDataPaneToProject()
{
    project::ProjectModel& model = frame_.Explorer().Project();
    frame_.Output().GetProjectData(model.DataNames, model.DataValues);
}

void FrameProject::CloseProjectInExplorer()
{
    frame_.Explorer().CloseProject();
    frame_.Output().ClearProjectData();
}

std::string FrameProject::ProjectInterfacePath()
{
    return frame_.Explorer().Project().InterfacePath;
}

std::vector<std::string> FrameProject::InsertedInterfaces()
{
    return frame_.Explorer().Project().InsertedInterfaces;
}

int FrameProject::VersionCount()
{
    return static_cast<int>(frame_.Explorer().Project().Versions.size());
}

bool FrameProject::HasResults()
{
    for (const auto& list : frame_.Explorer().Project().Results()) {
        if (!list->Results.empty())
            return true;
    }
    return false;
}

std::string FrameProject::ProjectName()
{
    return frame_.Explorer().Project().Name;
}

std::string FrameProject::ProjectDescription()
{
    return frame_.Explorer().Project().Text;
}

void FrameProject::ClearProjectVersions()
{
    frame_.Explorer().Project().Versions.clear();
    frame_.SetVersionIndex(-1);
}

std::string FrameProject::CreateProject(const std::string& name, const std::string& folder,
                                        const std::string& interfaceName)
{
    project::ProjectModel& model = frame_.Explorer().Project();
    model.NewProject(name, folder, interfaceName, frame_.Application().Translator());
    return model.FilePath;
}

bool FrameProject::WriteProjectFile(const std::string& path)
{
    project::ProjectModel& model = frame_.Explorer().Project();
    if (!model.SaveProjectFile(path)) {
        ActivePrompter().Tell(FillMessage(Tr(kCannotSave), path), PromptIcon::Warning);
        return false;
    }
    return true;
}

void FrameProject::RewriteCsvFiles()
{
    frame_.Explorer().Project().SaveProjectCsvFiles(ActivePrompter(), frame_.Application().Translator());
}

void FrameProject::ClearInterfaces()
{
    frame_.Interfaces().Clear();
}

void FrameProject::RemoveInsertedInterfaces()
{
    frame_.Interfaces().RemoveInserted();
}

bool FrameProject::LoadInterface(const std::string& path)
{
    return frame_.Interfaces().Load(path);
}

bool FrameProject::InsertInterface(const std::string& path)
{
    return frame_.Interfaces().Insert(path);
}

bool FrameProject::SaveInterfaces()
{
    return frame_.Interfaces().Save();
}

void FrameProject::SetInterfaceProjectFolder(const std::string& folder)
{
    frame_.Interfaces().SetProjectFolder(folder);
}

void FrameProject::RefreshInterfaceLists()
{
    frame_.Explorer().RefreshInterfaceLists();
}

void FrameProject::RefreshMacros()
{
    frame_.RefreshAllViews();
}

void FrameProject::ClearErrors()
{
    frame_.Output().ClearErrors();
}

void FrameProject::ClearRuns()
{
    frame_.Output().ClearRuns();
}

void FrameProject::ClearVariables()
{
    frame_.Output().ClearVariables();
}

void FrameProject::ClearTrace()
{
    frame_.Output().ClearTrace();
}

void FrameProject::SelectVersion(int index)
{
    frame_.SetVersionIndex(index);
}

void FrameProject::RefillVersionCombo()
{
    frame_.FillVersionCombo();
}

void FrameProject::AddRecentProject(const std::string& path)
{
    frame_.AddRecentProject(path);
}

void FrameProject::SetProjectToOpen(const std::string&)
{
    // The frame's pending path is taken by its queued open; the open project's path is the
    // commands' own, which the close of the window keeps as the last project.
}

std::optional<ProjectHost::ReportChoice> FrameProject::RunReportDialog(ReportOptionValues& options, int versionIndex)
{
    FileRequest request;
    request.title = Tr("Créer un rapport");
    request.filter = Tr("Rapport HTML") + "|*.html|" + Tr("Rapport XML") + "|*.xml|" + Tr("Rapport CSV") +
                     "|*.csv|" + Tr("Rapport PDF") + "|*.pdf|";
    const std::string folder = ReportFolder(frame_.GetSettings(), commands_->ProjectFolder());
    request.initialPath = (folder.empty() ? std::string() : folder + "/") + ProjectName() + "." + options.reportExt;
    const auto path = ActivePrompter().SaveFile(request);
    if (!path)
        return std::nullopt;
    return ReportChoice{*path, versionIndex};
}

void FrameProject::WriteReport(const std::string& path, ReportWriterKind kind, int version,
                               const ReportOptionValues& options)
{
    if (writeReport_)
        writeReport_(frame_, path, kind, version, options);
}

bool FrameProject::LoadBatchFile(const std::string& path)
{
    project::Batch batch;
    if (!batch.Read(path)) {
        // An unreadable batch would run no entry and end the program at once: it is only told.
        ActivePrompter().Tell(FillMessage(Tr("Impossible de charger le fichier:\n%s"), path), PromptIcon::Warning);
        return false;
    }
    batchFile_ = path;
    frame_.BatchFile() = std::move(batch);
    if (frame_.BatchFile().Hide != 0)
        frame_.showMinimized();
    return true;
}

void FrameProject::StartBatchTimer()
{
    frame_.SetBatchMode(true);
    QTimer::singleShot(kStartupTimerMs, &frame_, &MainFrame::RunStartupTasks);
}

// ---- Commands of the frame's own ----

void FrameProject::OnNewProject()
{
    NewProjectDialog dialog(&frame_, frame_.Application().Translator());
    dialog.folder->setText(QString::fromStdString(commands_->ProjectFolder()));
    if (ActivePrompter().Exec(dialog) != QDialog::Accepted)
        return;
    commands_->NewProject({dialog.name->text().trimmed().toStdString(), dialog.folder->text().trimmed().toStdString(),
                           dialog.interfaceName->text().trimmed().toStdString()});
    frame_.FillVersionCombo();
}

void FrameProject::OnNewInterface()
{
    std::string folder = commands_->ProjectFolder();
    if (folder.empty())
        folder = std::filesystem::current_path().string();
    FileRequest request;
    request.title = Tr("Nouvelle interface");
    request.filter = Tr("Fichier ZOV Interface") + "|*.qzi|";
    request.initialPath = folder + "/*.qzi";
    const auto path = ActivePrompter().SaveFile(request);
    if (!path)
        return;
    const std::filesystem::path chosen(*path);
    commands_->NewInterfaceFile(chosen.parent_path().string(), chosen.filename().string());
}

// ---- Texts edited as documents ----

ScriptDocument* FrameProject::OpenMacroFile(const interfaces::MacroRecord& record, bool readOnly)
{
    std::string interfacePath = commands_->InterfacePath();
    if (interfaces::InterfaceSet* set = frame_.Interfaces().Model()) {
        interfacePath = set->MainPath();
        if (record.interfaceIndex >= 0 && record.interfaceIndex < set->InsertedCount())
            interfacePath = set->InsertedPaths()[static_cast<std::size_t>(record.interfaceIndex)];
    }
    const std::string path = MacroFilePath(frame_.GetTempFolder(), interfacePath, record.name);
    // A macro already open keeps its window and whatever was typed there.
    for (ScriptDocument* open : frame_.Documents()) {
        if (open->Path() == path)
            return frame_.OpenDocument(path);
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (!WriteFileAtomically(path, MacroFileText(record.body))) {
        ActivePrompter().Tell(FillMessage(Tr(kCannotSave), path), PromptIcon::Warning);
        return nullptr;
    }
    ScriptDocument* document = frame_.OpenDocument(path);
    if (document == nullptr)
        return nullptr;
    macros_[document->Path()] = MacroLink{interfacePath, record.name};
    if (readOnly) {
        document->Buffer().SetReadOnly(true);
        if (document->View() != nullptr)
            document->View()->PullTextFromBuffer();
    }
    return document;
}

void FrameProject::CloseMacroFile(const std::string& interfacePath, const std::string& name)
{
    const std::string path = MacroFilePath(frame_.GetTempFolder(), interfacePath, name);
    for (ScriptDocument* document : frame_.Documents()) {
        if (document->Path() == path)
            frame_.CloseDocument(*document, false);
    }
}

void FrameProject::CloseMacroFilesNamed(const std::string& name)
{
    std::vector<std::string> paths;
    for (const auto& [path, link] : macros_) {
        if (link.name == name)
            paths.push_back(path);
    }
    for (ScriptDocument* document : frame_.Documents()) {
        if (std::find(paths.begin(), paths.end(), document->Path()) != paths.end())
            frame_.CloseDocument(*document, false);
    }
}

ScriptDocument* FrameProject::OpenResultFile(const std::string& name, const std::string& text)
{
    const std::string path = ResultFilePath(frame_.GetTempFolder(), name);
    if (!WriteFileAtomically(path, WithCrLf(text)))
        return nullptr;
    return frame_.OpenDocument(path);
}

ScriptDocument* FrameProject::OpenItemDescription(int kind, std::uint32_t id)
{
    project::ProjectModel& model = frame_.Explorer().Project();
    std::string name;
    std::string text;
    if (kind == -1) {
        name = model.Name;
        text = model.Text;
    } else if (kind == 0 || kind == 1) {
        for (const auto& campaign : model.Campaigns) {
            if (kind == 0 && campaign->Id == id) {
                name = campaign->Name;
                text = campaign->Text;
            }
            for (const auto& set : campaign->TestSets) {
                if (kind == 1 && set->Id == id) {
                    name = set->Name;
                    text = set->Text;
                }
            }
        }
        if (name.empty())
            return nullptr;
    } else {
        return nullptr;
    }
    const DescriptionFile file = DescriptionFilePath(commands_->ProjectFolder(), frame_.GetTempFolder(), name);
    if (!file.inProjectFolder && !WriteFileAtomically(file.path, WithCrLf(text)))
        return nullptr;
    ScriptDocument* document = frame_.OpenDocument(file.path);
    if (document != nullptr)
        descriptions_[document->Path()] = DescriptionLink{kind, id};
    return document;
}

void FrameProject::DocumentSaved(ScriptDocument& document)
{
    if (const auto macro = macros_.find(document.Path()); macro != macros_.end()) {
        interfaces::InterfaceSet* set = frame_.Interfaces().Model();
        if (set == nullptr)
            return;
        const MacroLink link = macro->second;
        interfaces::Interface* owner = nullptr;
        bool inserted = false;
        if (SamePath(set->MainPath(), link.interfacePath)) {
            owner = &set->MainInterface();
        } else {
            for (int i = 0; i < set->InsertedCount(); ++i) {
                if (SamePath(set->InsertedPaths()[static_cast<std::size_t>(i)], link.interfacePath)) {
                    owner = set->GetInsertedInterface(i);
                    inserted = true;
                }
            }
        }
        interfaces::MacroRecord* record = owner == nullptr ? nullptr : FindMacro(*owner, link.name);
        // The interface was closed or the macro deleted meanwhile: the text reached no record.
        if (record == nullptr) {
            ActivePrompter().Tell(FillMessage(Tr(kCannotSave), link.interfacePath), PromptIcon::Warning);
            return;
        }
        record->body = JoinMacroLines(BufferLines(document.Buffer()));
        set->SetModified(true);
        // An inserted interface is written where it was read from, not under the project.
        if (inserted)
            set->SaveInterfaceByPath(link.interfacePath);
        else
            set->Save();
        if (macroChanged_)
            macroChanged_(*record);
        return;
    }
    if (const auto description = descriptions_.find(document.Path()); description != descriptions_.end()) {
        std::string text;
        const std::vector<std::string> lines = BufferLines(document.Buffer());
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i > 0 ? "\r\n" : "") + lines[i];
        project::ProjectModel& model = frame_.Explorer().Project();
        const DescriptionLink link = description->second;
        if (link.kind == -1)
            model.Text = text;
        for (const auto& campaign : model.Campaigns) {
            if (link.kind == 0 && campaign->Id == link.id)
                campaign->Text = text;
            for (const auto& set : campaign->TestSets) {
                if (link.kind == 1 && set->Id == link.id)
                    set->Text = text;
            }
        }
    }
}

void FrameProject::DocumentClosed(const std::string& path)
{
    macros_.erase(path);
    descriptions_.erase(path);
}

}  // namespace zov::shell
