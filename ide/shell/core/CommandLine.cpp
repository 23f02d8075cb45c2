#include "ide/shell/core/CommandLine.h"

#include "common/AsciiCase.h"
#include "common/PathUtils.h"

namespace zov::shell {
namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && EqualsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

}  // namespace

StartupRequest ClassifyCommandLine(const std::vector<std::string>& args, std::string_view lastProject,
                                   const std::filesystem::path& currentFolder)
{
    std::string line;
    for (const std::string& arg : args) {
        if (!line.empty())
            line += ' ';
        line += arg;
    }
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"')
        line = line.substr(1, line.size() - 2);

    StartupRequest request;
    if (line.empty()) {
        request.path = std::string(lastProject);
        request.fromLastProject = true;
        request.kind = request.path.empty() ? StartupKind::None : StartupKind::Project;
    } else {
        request.path = line.front() == '/' ? line : (currentFolder / line).lexically_normal().string();
        if (EndsWithIgnoringCase(line, ".qzb"))
            request.kind = StartupKind::Batch;
        else if (EndsWithIgnoringCase(line, ".qzp"))
            request.kind = StartupKind::Project;
        else
            request.kind = StartupKind::Document;
    }
    // The batch reader reports a batch file it cannot read; the rest is dropped quietly.
    if (request.kind != StartupKind::Batch && !request.path.empty() && !FileExists(request.path))
        request.kind = StartupKind::None;
    if (request.kind == StartupKind::None)
        request.path.clear();
    return request;
}

}  // namespace zov::shell
