// zov: the IDE. The only unit that links every folder of the IDE; each brings its part of the
// window through the seams of the shell, one line each in PlugFrameParts.

#include "ide/output/OutputBar.h"
#if ZOV_HAVE_REPORTS
#include "ide/reports/ReportWriter.h"
#endif
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
    parts.makeOutput = [&application](MainFrame&) {
        return zov::output::MakeOutputBar(application.Translator(), &application.GetSettings());
    };
    zov::scriptview::PlugScriptViews(parts, application);
}

// A batch entry's report, in the format its path names; the HTML one without the report options'
// header and footer, the CSV one with ";" and '"'.
bool WriteBatchReport(ApplicationCore& application, const zov::project::ProjectModel& project, const std::string& path,
                      ReportWriterKind kind, int versionIndex)
{
#if ZOV_HAVE_REPORTS
    zov::reports::CReportWriter writer(zov::reports::ReportHost(project, zov::shell::ActivePrompter(),
                                                                application.Translator(), true,
                                                                application.GetProgramFolder().string()));
    switch (kind) {
    case ReportWriterKind::Html:
        return writer.WriteHtml(path, versionIndex, "", "");
    case ReportWriterKind::JUnitXml:
        return writer.WriteJUnitXml(path, versionIndex);
    case ReportWriterKind::ResultXml:
        return writer.WriteResultXml(path, versionIndex, "");
    case ReportWriterKind::Csv:
        return writer.WriteCsv(path, versionIndex, ';', '"');
    case ReportWriterKind::Pdf:
        return writer.WritePdf(path, versionIndex, "", 0);
    case ReportWriterKind::None:
        break;
    }
#else
    (void)application, (void)project, (void)path, (void)kind, (void)versionIndex;
#endif
    return false;
}

// Commands handled outside the frame, each object owned by the frame.
void PlugCommands(MainFrame& frame, ApplicationCore& application)
{
    new zov::shell::FindInScripts(frame);
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
