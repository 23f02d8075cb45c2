#include "ide/interfaces/FrameInterfaceCommands.h"

#include "common/PathUtils.h"
#include "ide/interfaces/InterfaceFileDialogs.h"
#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/shell/MainFrame.h"

namespace zov::interfaces {
namespace {

using namespace shell::command_ids;

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

InterfaceFolders FoldersOf(shell::MainFrame& frame)
{
    InterfaceFolders folders;
    folders.installFolder = frame.Application().GetProgramFolder().string();
    folders.engineFolder = MakeAbsolutePath(folders.installFolder, frame.Application().Values().enginePath);
    folders.tempFolder = frame.GetTempFolder();
    return folders;
}

// The project's entries through the insert dialog; on OK the set is saved and the project's
// interfaces are loaded again, and what went wrong on the way is shown.
void InsertInterfaces(shell::MainFrame& frame)
{
    project::ProjectModel& model = frame.Explorer().Project();
    shell::ProjectCommands& commands = frame.ProjectSide().Commands();
    QStringList names;
    for (const std::string& entry : model.InsertedInterfaces)
        names.push_back(FromUtf8(entry));
    QStringList configurations;
    for (const std::string& configuration : model.InterfaceConfigs)
        configurations.push_back(FromUtf8(configuration));
    InsertInterfacesDialog dialog(names, QString(), FromUtf8(commands.ProjectFolder()),
                                  FromUtf8(frame.Application().GetProgramFolder().string()), configurations, &frame);
    if (shell::ActivePrompter().Exec(dialog) != QDialog::Accepted)
        return;
    model.InsertedInterfaces.clear();
    for (qsizetype i = 0; i < dialog.names.size(); ++i) {
        const bool active = static_cast<std::size_t>(i) < dialog.ticks.size() && dialog.ticks[static_cast<std::size_t>(i)] == 1;
        model.InsertedInterfaces.push_back((active ? "" : "#") + dialog.names[i].toStdString());
    }
    model.InterfaceConfigs.clear();
    for (const QString& configuration : dialog.configurations)
        model.InterfaceConfigs.push_back(configuration.toStdString());
    frame.Interfaces().Save();
    commands.LoadProjectInterfaces(commands.InterfacePath(), model.InsertedInterfaces);
    InterfaceSet* set = frame.Interfaces().Model();
    if (set != nullptr && !set->LoadErrors().empty()) {
        QStringList inserted;
        for (const std::string& path : set->InsertedPaths())
            inserted.push_back(FromUtf8(path));
        QStringList errors;
        for (const std::string& error : set->LoadErrors())
            errors.push_back(FromUtf8(error));
        InsertionErrorDialog errorsDialog(inserted, errors, &frame);
        shell::ActivePrompter().Exec(errorsDialog);
    }
}

}  // namespace

void FrameInterfaceHost::OpenMacroFile(MacroRecord& record)
{
    frame_.ProjectSide().OpenMacroFile(record, false);
}

void FrameInterfaceHost::ShowMacroReadOnly(const MacroRecord& record)
{
    frame_.ProjectSide().OpenMacroFile(record, true);
}

void FrameInterfaceHost::CloseMacroFile(const std::string& name)
{
    frame_.ProjectSide().CloseMacroFilesNamed(name);
}

void FrameInterfaceHost::InterfacesChanged()
{
    frame_.RefreshAllViews();
}

std::string FrameInterfaceHost::EngineFolder() const
{
    return FoldersOf(frame_).engineFolder;
}

void InstallInterfaceCommands(shell::MainFrame& frame)
{
    frame.AddCommandHandler(kInsertInterfaces, [&frame] { InsertInterfaces(frame); });
    frame.AddCommandHandler(kEditInterface, [&frame] {
        InterfaceSet* set = frame.Interfaces().Model();
        if (set != nullptr && EditInsertedInterfaces(*set, &frame, shell::ActivePrompter()))
            frame.Explorer().RefreshInterfaceLists();
    });
    frame.AddCommandHandler(kCopyInterfaces, [&frame] {
        CopyInterfacesDialog dialog(FoldersOf(frame), &frame);
        shell::ActivePrompter().Exec(dialog);
    });
}

}  // namespace zov::interfaces
