#pragma once
// The IDE's own window messages keep their numbers (the engine runner, the views and the frame
// agree on them); each is a direct call, a signal or a queued call here.

namespace zov::shell {

enum class UserMessage {
    CampaignStep = 0x464,
    EngineEnded = 0x465,
    EngineOutput = 0x466,
    RefreshMacros = 0x467,
    VersionChosen = 0x468,
    ScriptEnded = 0x469,
    UserStop = 0x46a,
    SyncBroadcast = 0x46b,
    OpenPendingProject = 0x46c,
    TrayNotify = 0x46e,
};

}  // namespace zov::shell
