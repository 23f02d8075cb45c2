// zov: the IDE. The only unit that links every folder of the IDE; each brings its part of the
// window through the seams of the shell, one line each in PlugFrameParts.

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
}

// Commands handled outside the frame, each object owned by the frame.
void PlugCommands(MainFrame& frame, ApplicationCore&)
{
    new zov::shell::FindInScripts(frame);
}

}  // namespace

int main(int argc, char** argv)
{
    zov::shell::ApplicationParts parts;
    parts.frameParts = PlugFrameParts;
    parts.frameReady = PlugCommands;
    return zov::shell::RunApplication(argc, argv, std::move(parts));
}
