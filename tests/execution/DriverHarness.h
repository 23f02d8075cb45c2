// A run driver with recording stand-ins around it, run on a headless call queue.
#pragma once

#include <string>
#include <vector>

#include "ide/execution/model/CallQueue.h"
#include "ide/execution/model/EngineDriver.h"
#include "ide/execution/model/RecordingSeams.h"

namespace zov::execution::test {

struct DriverHarness {
    DriverHarness() { driver.SetSendObserver(LogSends(log)); }
    EventLog log;
    RecordingHost host{log};
    RecordingInterfaces interfaces;
    RecordingSinks sinks{log, [](std::string_view text) { return "T(" + std::string(text) + ")"; }};
    LoggingPrompter prompter{log};
    CallQueue queue;
    EngineDriver driver{host,
                        interfaces,
                        sinks,
                        prompter,
                        [](std::string_view text) { return std::string(text); },
                        [this](std::function<void()> call) { queue.Post(std::move(call)); }};
    RecordingLink link;

    std::vector<std::string> Logged(std::string_view prefix) const { return log.Matching(prefix); }
};

}  // namespace zov::execution::test
