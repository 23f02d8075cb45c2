#include "ide/scriptview/ScriptViewSeams.h"

#include "ide/interfaces/model/InterfaceSet.h"

namespace zov::scriptview {

bool InterfaceSetRun::HasInterface()
{
    return !set_.CurrentPath().empty();
}

bool InterfaceSetRun::WriteTempInterface(const std::string&)
{
    // The set writes where it keeps its own temporary file, which the run then names.
    return set_.WriteTempInterface();
}

execution::InterfaceDefinition InterfaceSetRun::DefinitionAtLine(int line)
{
    auto [kind, text] = set_.GetDefinitionAtLine(line);
    return {static_cast<int>(kind), std::move(text)};
}

std::string QuietPanes::Trace(execution::TraceCategory, int, int, std::string_view text)
{
    std::string kept(text);
    if (kept.empty() || kept.back() != '\n')
        kept += '\n';
    return kept;
}

int PlainRunHost::CountRunningScript(bool starting)
{
    running_ = starting ? running_ + 1 : std::max(running_ - 1, 0);
    return running_;
}

}  // namespace zov::scriptview
