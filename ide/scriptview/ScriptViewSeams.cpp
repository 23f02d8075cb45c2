#include "ide/scriptview/ScriptViewSeams.h"

#include "ide/interfaces/model/InterfaceSet.h"

#include <utility>

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

shell::IRunEvents* ViewRunHost::Events() const
{
    return view_ != nullptr && events_ ? events_() : nullptr;
}

int ViewRunHost::CountRunningScript(bool starting)
{
    if (shell::IRunEvents* events = Events())
        return events->CountRunningScript(starting);
    return shared_.CountRunningScript(starting);
}

void ViewRunHost::ScriptEnded(execution::RunRecord* record)
{
    // The campaign's ticket belongs to this run only: a later run by hand quotes none.
    const std::optional<shell::RunTicket> ticket = std::exchange(ticket_, std::nullopt);
    if (shell::IRunEvents* events = Events())
        events->ScriptEnded(*view_, record, ticket);
    else
        shared_.ScriptEnded(record);
}

void ViewRunHost::UserStopped()
{
    if (shell::IRunEvents* events = Events())
        events->UserStopped(*view_, ticket_);
    else
        shared_.UserStopped();
}

void ViewRunHost::SyncBroadcast(int n, execution::RunRecord* record)
{
    if (shell::IRunEvents* events = Events())
        events->SyncBroadcast(*view_, n);
    else
        shared_.SyncBroadcast(n, record);
}

void ViewRunHost::OnScriptError()
{
    if (shell::IRunEvents* events = Events())
        events->ScriptError(*view_, ticket_);
    else
        shared_.OnScriptError();
}

}  // namespace zov::scriptview
