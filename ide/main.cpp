// zov: the IDE. The only unit that links every folder of the IDE; each brings its part of the
// window through the seams of the shell, one line each in PlugFrameParts.

#include "ide/interfaces/FrameInterfaceCommands.h"
#include "ide/reports/ReportDispatch.h"
#include "ide/scriptview/ScriptViewParts.h"
#include "ide/shell/ApplicationObject.h"
#include "ide/shell/FindInScripts.h"
#include "ide/shell/FrameCampaign.h"
#include "ide/shell/FrameInterfaceSet.h"
#include "ide/shell/ShellPrompter.h"

namespace {

using zov::shell::ApplicationCore;
using zov::shell::FrameParts;
using zov::shell::MainFrame;
using zov::shell::ReportWriterKind;

void PlugFrameParts(FrameParts& parts, ApplicationCore& application)
{
    parts.makeInterfaces = [&application](MainFrame&) {
        return std::make_unique<zov::shell::FrameInterfaceSet>(application);
    };
    // The output bar's calls into the window; the campaign's state joins them once it is there.
    zov::scriptview::PlugOutputBar(parts, application);
    zov::scriptview::PlugScriptViews(parts, application);
    parts.writeReport = [&application](MainFrame& frame, const std::string& path, zov::shell::ReportWriterKind kind,
                                       int version, const zov::shell::ReportOptionValues& options) {
        zov::reports::CReportWriter writer(zov::reports::ReportHost(
            frame.Explorer().Project(), zov::shell::ActivePrompter(), application.Translator(), frame.BatchMode(),
            application.GetProgramFolder().string(), application.VersionText()));
        zov::reports::WriteReportOfKind(writer, path, kind, version, options);
    };
}

// A batch entry's report, in the format its path names; the HTML one without the report options'
// header and footer, the CSV one with ";" and '"'.
bool WriteBatchReport(ApplicationCore& application, const zov::project::ProjectModel& project, const std::string& path,
                      ReportWriterKind kind, int versionIndex)
{
    zov::reports::CReportWriter writer(zov::reports::ReportHost(project, zov::shell::ActivePrompter(),
                                                                application.Translator(), true,
                                                                application.GetProgramFolder().string(),
                                                                application.VersionText()));
    zov::shell::ReportOptionValues options;
    options.csvSeparator = ';';
    options.csvQualifier = '"';
    return zov::reports::WriteReportOfKind(writer, path, kind, versionIndex, options);
}

// Commands handled outside the frame, each object owned by the frame.
void PlugCommands(MainFrame& frame, ApplicationCore& application)
{
    new zov::shell::FindInScripts(frame);
    zov::interfaces::InstallInterfaceCommands(frame);
    new zov::shell::FrameCampaign(
        frame,
        [&application](const zov::project::ProjectModel& project, const std::string& path, ReportWriterKind kind,
                       int versionIndex) { return WriteBatchReport(application, project, path, kind, versionIndex); });
}

}  // namespace

int main(int argc, char** argv)
{
    zov::shell::ApplicationParts parts;
    parts.frameParts = PlugFrameParts;
    parts.frameReady = PlugCommands;
    return zov::shell::RunApplication(argc, argv, std::move(parts));
}
