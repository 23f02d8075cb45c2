// Feeds arbitrary engine output to the line dispatch, cut into chunks at arbitrary places, and
// checks what every reader relies on: the bytes are never lost (what is not dispatched waits
// whole in the pending text), a chunk cut never changes what is dispatched, and no command
// that goes back to the engine carries a line break of its own.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ide/execution/model/EngineDriver.h"
#include "ide/execution/model/RecordingSeams.h"

namespace {

using namespace zov::execution;

struct Run {
    EventLog log;
    RecordingHost host{log};
    RecordingInterfaces interfaces;
    RecordingSinks sinks{log};
    LoggingPrompter prompter{log};
    EngineDriver driver{
        host, interfaces, sinks, prompter, zov::shell::IdentityTranslate(), [](std::function<void()>) {}};
    RecordingLink link;
    RunRecord record;
    Run()
    {
        host.watched = {"x", "a:b"};
        host.data["N"] = "v\r\nexit";
        interfaces.definitions[1] = {1, "CLI c : \"c\""};
        host.settings.realTimeVariables = true;
        driver.AttachTranscript(&record, link, false);
    }
};

void CheckSent(const RecordingLink& link)
{
    for (const std::string& command : link.sent) {
        // A command ends with at most one "\n" (the runner adds the line's own).
        const std::string_view body = std::string_view(command).substr(0, command.size() ? command.size() - 1 : 0);
        if (body.find_first_of("\r\n") != std::string_view::npos)
            std::abort();
    }
}

std::vector<std::string> WithoutBoxes(const EventLog& log)
{
    std::vector<std::string> events;
    for (const std::string& event : log.Events())
        if (event.rfind("box ", 0) != 0)
            events.push_back(event);
    return events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    Run whole;
    whole.driver.FeedTranscript(bytes);

    // The same bytes in chunks cut by the input's own values.
    Run chunked;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t step = 1 + static_cast<unsigned char>(bytes[pos]) % 17;
        chunked.driver.FeedTranscript(bytes.substr(pos, step));
        pos += step;
    }
    // Boxes wait for the end of each fed chunk: they keep their own order, the rest keeps its.
    if (WithoutBoxes(whole.log) != WithoutBoxes(chunked.log) ||
        whole.log.Matching("box") != chunked.log.Matching("box"))
        std::abort();
    if (whole.driver.PendingText() != chunked.driver.PendingText())
        std::abort();
    // Dispatch stops only at a pause-free end: what waits is an unfinished line, or everything
    // from the point where the run stopped dispatching.
    const std::string_view pending = whole.driver.PendingText();
    if (pending.size() > bytes.size() || bytes.substr(bytes.size() - pending.size()) != pending)
        std::abort();
    if (whole.driver.IsRunning() || whole.driver.IsPaused()) {
        if (pending.find('\n') != std::string_view::npos)
            std::abort();
    }
    CheckSent(whole.link);
    CheckSent(chunked.link);
    whole.driver.OnLineTimer();
    return 0;
}
