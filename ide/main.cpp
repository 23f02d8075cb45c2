// zov: the IDE. The only unit that links every folder of the IDE; each brings its part of the
// window through the seams of the shell, one line each in PlugFrameParts.

#include "ide/interfaces/FrameInterfaceCommands.h"
#include "ide/reports/ReportDispatch.h"
#include "ide/scriptview/ScriptViewParts.h"
#include "ide/shell/ApplicationObject.h"
#include "ide/shell/FindInScripts.h"
#include "ide/shell/FrameInterfaceSet.h"

namespace {

using zov::shell::ApplicationCore;
using zov::shell::FrameParts;
using zov::shell::MainFrame;

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

// Commands handled outside the frame, each object owned by the frame.
void PlugCommands(MainFrame& frame, ApplicationCore&)
{
    new zov::shell::FindInScripts(frame);
    zov::interfaces::InstallInterfaceCommands(frame);
}

}  // namespace

int main(int argc, char** argv)
{
    zov::shell::ApplicationParts parts;
    parts.frameParts = PlugFrameParts;
    parts.frameReady = PlugCommands;
    return zov::shell::RunApplication(argc, argv, std::move(parts));
}
