#include "ide/scriptview/ScriptViewParts.h"

#include "common/PathUtils.h"
#include "ide/editor/EditorCommands.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/interfaces/model/MacroText.h"
#include "ide/output/OutputBar.h"
#include "ide/scriptview/ZOVView.h"
#include "ide/shell/MainFrame.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/ObjectNames.h"
#include "ide/shell/ScriptDocument.h"
#include "ide/shell/core/CommandTable.h"
#include "ide/shell/core/DocumentRules.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>
#include <memory>

namespace zov::scriptview {

execution::ExecutionSettings FrameRunHost::Settings()
{
    execution::ExecutionSettings settings;
    settings.programFolder = application_.GetProgramFolder().string();
    settings.tempFolder = application_.GetTempFolder();
    const shell::ApplicationSettings& values = application_.Values();
    if (!values.engine.empty())
        settings.engine = values.engine;
    settings.enginePath = values.enginePath;
    settings.engineParams = values.engineParams;
    if (frame_ != nullptr) {
        const shell::FrameSettings& frame = frame_->Values();
        settings.showExecution = frame.showExecution != 0;
        settings.timeoutFunction = frame.timeoutFunction;
        settings.linePause = frame.linePauseMs;
    }
    return settings;
}

namespace {

output::OutputPaneBar* PaneBarOf(shell::MainFrame* frame)
{
    return frame != nullptr ? dynamic_cast<output::OutputPaneBar*>(&frame->Output()) : nullptr;
}

CZOVView* ViewOf(shell::ScriptDocument* document)
{
    auto* adapter = document != nullptr ? dynamic_cast<ScriptViewAdapter*>(document->View()) : nullptr;
    return adapter != nullptr ? adapter->View() : nullptr;
}

// The folder of the open project, "" while none is open.
std::string ProjectFolder(shell::MainFrame& frame)
{
    const std::string& project = frame.ProjectPath();
    return project.empty() ? std::string() : std::filesystem::path(project).parent_path().string();
}

}  // namespace

void FrameRunHost::SetDataValue(const std::string& name, const std::string& value)
{
    if (output::OutputPaneBar* bar = PaneBarOf(frame_))
        bar->m_tData->SetData(name, value, false);
}

std::string FrameRunHost::GetDataValue(const std::string& name)
{
    output::OutputPaneBar* bar = PaneBarOf(frame_);
    return bar != nullptr ? bar->m_tData->GetData(name) : std::string();
}

std::vector<std::string> FrameRunHost::WatchedNames()
{
    output::OutputPaneBar* bar = PaneBarOf(frame_);
    return bar != nullptr ? bar->m_tVar->Names() : std::vector<std::string>();
}

void FrameRunHost::AppendRunLog(const std::string& traceText, execution::RunRecord& record)
{
    // Only a test of the open project has a log; a script run alone has none.
    if (frame_ == nullptr || frame_->ProjectPath().empty() || record.testName.empty())
        return;
    project::ProjectModel& project = frame_->Explorer().Project();
    if (project.Directory.empty() || project.Name.empty())
        return;
    project.AppendRunLog(traceText, record.testName, 1);
}

shell::ScriptDocument* OpenScriptAtLine(shell::MainFrame& frame, const std::string& path, int line, bool errorMark)
{
    if (path.empty())
        return nullptr;
    const std::string folder = ProjectFolder(frame);
    shell::ScriptDocument* document = frame.OpenDocument(folder.empty() ? path : MakeAbsolutePath(folder, path));
    CZOVView* view = ViewOf(document);
    if (view != nullptr && line > 0)
        view->MarkLine(line, errorMark ? editor::LineFlag_Error : editor::LineFlag_Execution);
    return document;
}

bool SendSetValToActiveView(shell::MainFrame& frame, const std::string& name, const std::string& value)
{
    CZOVView* view = ViewOf(frame.ActiveDocument());
    if (view == nullptr)
        return false;
    view->Driver().SendSetVal(name, value);
    return true;
}

bool AnyScriptRunning(shell::MainFrame& frame)
{
    for (shell::ScriptDocument* document : frame.Documents()) {
        if (document->View() != nullptr && document->View()->IsRunning())
            return true;
    }
    return false;
}

std::string ProjectScriptOfRecord(shell::MainFrame& frame, const execution::RunRecord& record)
{
    const project::ProjectModel& project = frame.Explorer().Project();
    for (const auto& campaign : project.Campaigns) {
        if (campaign->Name != record.campaignName)
            continue;
        for (const auto& testSet : campaign->TestSets) {
            if (testSet->Name != record.testSetName)
                continue;
            for (const auto& test : testSet->Tests) {
                if (test->Name == record.testName && !test->File.empty())
                    return MakeAbsolutePath(project.Directory, test->File);
            }
        }
    }
    return {};
}

output::OutputContext FrameOutputContext(shell::MainFrame& frame, const shell::Translate& translate,
                                         OutputBarHooks hooks)
{
    output::OutputContext context;
    context.translate = translate;
    context.openScriptAtLine = [&frame](const std::string& path, int line, bool errorMark) {
        OpenScriptAtLine(frame, path, line, errorMark);
    };
    context.openTestScript = [&frame, scriptOf = std::move(hooks.scriptOfRecord)](execution::RunRecord& record) {
        const std::string path = scriptOf ? scriptOf(record) : ProjectScriptOfRecord(frame, record);
        if (!path.empty())
            OpenScriptAtLine(frame, path, record.resultLine, false);
    };
    context.campaignStepCurrent = std::move(hooks.campaignStepCurrent);
    context.scriptRunning = [&frame] { return AnyScriptRunning(frame); };
    context.sendSetVal = [&frame](const std::string& name, const std::string& value) {
        SendSetValToActiveView(frame, name, value);
    };
    return context;
}

void PlugOutputBar(shell::FrameParts& parts, shell::ApplicationCore& application, OutputBarHooks hooks)
{
    parts.makeOutput = [&application, hooks = std::move(hooks)](shell::MainFrame& frame) {
        return output::MakeOutputBar(FrameOutputContext(frame, application.Translator(), hooks),
                                     &application.GetSettings());
    };
}

PanesFactory OutputBarPanes()
{
    return [](shell::MainFrame& frame, const std::string& scriptPath) -> std::unique_ptr<execution::RunSinks> {
        auto* bar = dynamic_cast<output::OutputPaneBar*>(&frame.Output());
        if (bar == nullptr)
            return nullptr;
        return std::make_unique<output::PaneRunSinks>(
            *bar, output::ScriptEntry{std::string(shell::BaseFileName(scriptPath)), scriptPath});
    };
}

namespace {

// What the program's views share; it lives as long as the factory that holds it.
struct SharedRunParts {
    explicit SharedRunParts(shell::ApplicationCore& application) : host(application) {}
    FrameRunHost host;
    std::unique_ptr<InterfaceSetRun> interfaces;
    interfaces::InterfaceSet* set = nullptr;
    shell::MainFrame* commandsFrame = nullptr;
};

CZOVView* ActiveView(shell::MainFrame& frame)
{
    auto* adapter = dynamic_cast<ScriptViewAdapter*>(frame.GetActiveScriptView());
    return adapter != nullptr ? adapter->View() : nullptr;
}

// "Ajouter une variable...": the word at the caret of the active view is proposed; the name is
// watched for that view's run record, and its engine, when one runs, is asked for the value.
void AddVariableCommand(shell::MainFrame& frame)
{
    frame.AddCommandHandler(shell::command_ids::kAddVariable, [&frame] {
        auto* bar = dynamic_cast<output::OutputPaneBar*>(&frame.Output());
        if (bar == nullptr)
            return;
        CZOVView* view = ActiveView(frame);
        output::NewVariableDialog dialog(&frame);
        if (view != nullptr)
            dialog.SetName(view->SelectWordAtCaret().toStdString());
        if (shell::ActivePrompter().Exec(dialog) != QDialog::Accepted)
            return;
        const std::string name = dialog.Name();
        bar->m_tVar->AddVariable(name, view != nullptr ? view->GetRunRecord() : nullptr);
        if (view != nullptr && view->IsRunning())
            view->Driver().SendGetVal(name);
    });
}

// Each command calls a member of the active script view, or of a part of it, when one is active.
template <class Part>
void AddActiveViewCommands(shell::MainFrame& frame, std::initializer_list<std::pair<int, void (Part::*)()>> commands,
                           Part& (*partOf)(CZOVView&))
{
    for (const auto& command : commands) {
        const auto run = command.second;
        frame.AddCommandHandler(command.first, [&frame, run, partOf] {
            if (CZOVView* view = ActiveView(frame))
                (partOf(*view).*run)();
        });
    }
}

// The menus' breakpoint, bookmark and warning commands act on the active script view's lines.
void AddLineMarkCommands(shell::MainFrame& frame)
{
    using namespace shell::command_ids;
    using editor::CTextView;
    AddActiveViewCommands<CTextView>(frame,
                                     {
                                         {kToggleBreakpoint, &CTextView::ToggleBreakpoint},
                                         {kClearBreakpoints, &CTextView::ClearAllBreakpoints},
                                         {kToggleBookmark, &CTextView::ToggleBookmark},
                                         {kNextBookmark, &CTextView::NextBookmark},
                                         {kPreviousBookmark, &CTextView::PrevBookmark},
                                         {kClearBookmarks, &CTextView::ClearAllBookmarks},
                                         {kNextWarning, &CTextView::NextWarning},
                                         {kPreviousWarning, &CTextView::PrevWarning},
                                     },
                                     [](CZOVView& view) -> CTextView& { return view; });
}

void AddRunCommands(shell::MainFrame& frame)
{
    using namespace view_commands;
    for (const int id : {kRun, kVerify, kNextLine, kStop, kBreak, kFreeze}) {
        frame.AddCommandHandler(id, [&frame, id] {
            if (CZOVView* view = ActiveView(frame))
                view->ExecuteCommand(id);
        });
    }
}

// The window's accelerators take Ctrl+F, F3, Shift+F3, Ctrl+H, Ctrl+G and Ctrl+P before the view
// sees them: the window hands them back to the active view's own commands.
void AddEditorCommands(shell::MainFrame& frame)
{
    using namespace shell::command_ids;
    using editor::EditorCommands;
    AddActiveViewCommands<EditorCommands>(frame,
                                          {
                                              {kEditFind, &EditorCommands::Find},
                                              {kEditFindNext, &EditorCommands::FindNext},
                                              {kEditFindPrevious, &EditorCommands::FindPrevious},
                                              {kEditReplace, &EditorCommands::Replace},
                                              {kGoToLine, &EditorCommands::GoToLine},
                                              {kFilePrint, &EditorCommands::Print},
                                              {kFilePrintPreview, &EditorCommands::PrintPreview},
                                              {kFilePageSetup, &EditorCommands::PageSetup},
                                          },
                                          [](CZOVView& view) -> EditorCommands& { return view.Commands(); });
}

// "Nom de la macro": the name of the macro made from a selection.
std::optional<std::string> AskMacroName(const shell::Translate& translate)
{
    const auto tr = [&translate](std::string_view text) { return QString::fromStdString(translate(text)); };
    QDialog dialog;
    shell::SetControlId(dialog, 8815);
    dialog.setWindowTitle(tr("Nom de la macro"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("Nom :"), &dialog));
    auto* name = new QLineEdit(&dialog);
    shell::SetControlId(*name, 8816);
    layout->addWidget(name);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("Annuler"), QDialogButtonBox::RejectRole);
    shell::SetControlId(*ok, 1);
    shell::SetControlId(*cancel, 2);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (shell::ActivePrompter().Exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return name->text().toStdString();
}

// What the editor asks of the interface set: the functions to insert, the names a macro may
// take, the macro made from a selection (into the main interface, then every list and view
// sees it).
editor::EditorServices EditorServicesOf(interfaces::InterfaceSet& set, shell::MainFrame& frame,
                                        const shell::Translate& translate)
{
    editor::EditorServices services;
    services.functionAt = [&set](int index) -> std::optional<editor::FunctionSkeleton> {
        const auto& functions = set.All().functions.Records();
        if (index < 0 || index >= static_cast<int>(functions.size()))
            return std::nullopt;
        return editor::FunctionSkeleton{QString::fromStdString(functions[index]->name), functions[index]->paramCount};
    };
    services.isMacroName = [&set](const std::string& name) { return set.IsMacroName(name); };
    services.isNameFree = [&set](const std::string& name) { return set.IsNameFree(name); };
    services.isMacroOrConstant = [&set](const std::string& word) {
        return !word.empty() && (set.IsMacroName(word) || set.All().constants.Find(word) != nullptr);
    };
    services.editConstantOrMacro = [&frame](const std::string&) {
        if (QAction* command = frame.Command(view_commands::kEditConstantOrMacro);
            command != nullptr && command->isEnabled())
            command->trigger();
    };
    services.askMacroName = [translate] { return AskMacroName(translate); };
    services.applyMacroText = [&set, &frame](const std::string& name, const std::string& body) {
        if (set.AddMacro(name, interfaces::FoldMacroText(body), -1) == nullptr)
            return false;
        frame.Explorer().RefreshInterfaceLists();
        frame.RefreshAllViews();
        return true;
    };
    services.expandMacro = [&set](const std::string& name, int depth) { return set.ExpandMacro(name, depth); };
    return services;
}

}  // namespace

void PlugScriptViews(shell::FrameParts& parts, shell::ApplicationCore& application, PanesFactory makePanes)
{
    auto shared = std::make_shared<SharedRunParts>(application);
    parts.makeView = [shared, makePanes, &application](shell::ScriptDocument& document, shell::MainFrame& frame) {
        shared->host.AttachFrame(&frame);
        if (shared->commandsFrame != &frame) {
            shared->commandsFrame = &frame;
            AddRunCommands(frame);
            AddVariableCommand(frame);
            AddLineMarkCommands(frame);
            AddEditorCommands(frame);
        }
        interfaces::InterfaceSet* set = frame.Interfaces().Model();
        if (set != shared->set) {
            shared->set = set;
            shared->interfaces = set != nullptr ? std::make_unique<InterfaceSetRun>(*set) : nullptr;
        }
        ScriptViewServices services;
        auto viewHost = std::make_unique<ViewRunHost>(shared->host, [&frame] { return frame.RunEvents(); });
        services.host = viewHost.get();
        services.interfaces = shared->interfaces.get();
        services.prompter = &shell::ActivePrompter();
        services.translate = application.Translator();
        services.settings = &frame.GetSettings();
        if (set != nullptr) {
            services.names = set;
            services.expandMacro = [set](const std::string& name, int depth) { return set->ExpandMacro(name, depth); };
            services.findLanguage = [set](const std::string& name) { return set->FindSyntaxLanguage(name); };
        }
        if (makePanes) {
            services.makePanes = [makePanes, &frame](const std::string& scriptPath) {
                return makePanes(frame, scriptPath);
            };
        }
        services.forwardCommand = [&frame](int id) {
            if (QAction* command = frame.Command(id); command != nullptr && command->isEnabled())
                command->trigger();
        };
        auto adapter = std::make_unique<ScriptViewAdapter>(document, std::move(services));
        viewHost->SetView(adapter.get());
        adapter->SetRunHost(std::move(viewHost));
        if (CZOVView* view = adapter->View()) {
            view->SetTranslate(application.Translator());
            if (set != nullptr)
                view->SetServices(EditorServicesOf(*set, frame, application.Translator()));
        }
        return std::unique_ptr<shell::IScriptView>(std::move(adapter));
    };
}

}  // namespace zov::scriptview
