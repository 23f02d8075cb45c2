#include "engine/runtime/EngineState.h"

namespace zov {

EngineState::EngineState()
{
    Reset();
}

void EngineState::Reset()
{
    Verbose = false;
    CliTrace = false;
    ScriptRunning = 0;
    VerifyOnly = false;
    LineDelayMs = 0;
    NotifyLines = true;
    CliTimeoutSec = 5;
    CallTimeout = -1;
    TimedOut = false;
    InterpretStarted = false;
    std::lock_guard<std::mutex> hold(lock_);
    quitRequested_ = false;
    exitStatus_ = 1;
    dataReady_ = false;
    syncTable_.fill(kFreeSyncSlot);
    wantedSync_.fill(kFreeSyncSlot);
    for (std::string& p : paramValues_)
        p.clear();
    importName_.clear();
    importValue_.clear();
}

void EngineState::RequestQuit(int exitStatus)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (quitRequested_)
            return;
        exitStatus_ = exitStatus;
        quitRequested_ = true;
    }
    changed_.notify_all();
}

int EngineState::WaitForQuit()
{
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return quitRequested_.load(); });
    return exitStatus_;
}

bool EngineState::AddSync(int value)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        int freeSlot = -1;
        for (int i = 0; i < kSyncSlots; ++i) {
            if (syncTable_[i] == value)
                return false;
            if (syncTable_[i] == kFreeSyncSlot)
                freeSlot = i;
        }
        if (freeSlot < 0)
            return false;
        syncTable_[freeSlot] = value;
    }
    changed_.notify_all();
    return true;
}

std::optional<int> EngineState::TakeSyncLocked(std::span<const int> wanted)
{
    for (int& slot : syncTable_) {
        if (slot == kFreeSyncSlot)
            continue;
        for (const int w : wanted) {
            if (slot == w) {
                slot = kFreeSyncSlot;
                return w;
            }
        }
    }
    return std::nullopt;
}

std::optional<int> EngineState::TakeSync(std::span<const int> wanted)
{
    std::lock_guard<std::mutex> hold(lock_);
    return TakeSyncLocked(wanted);
}

std::optional<int> EngineState::WaitForSync(std::span<const int> wanted, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        if (auto taken = TakeSyncLocked(wanted))
            return taken;
        if (changed_.wait_until(hold, deadline) == std::cv_status::timeout)
            return TakeSyncLocked(wanted);
    }
}

std::array<int, kSyncSlots> EngineState::SyncTable() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return syncTable_;
}

void EngineState::SetWantedSync(int index, int value)
{
    if (index < 0 || index >= kSyncSlots)
        return;
    std::lock_guard<std::mutex> hold(lock_);
    wantedSync_[index] = value;
}

std::array<int, kSyncSlots> EngineState::WantedSync() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return wantedSync_;
}

void EngineState::SetParamValues(std::string_view p1, std::string_view p2, std::string_view p3)
{
    std::lock_guard<std::mutex> hold(lock_);
    paramValues_[0] = p1.substr(0, kParamMaxLength);
    paramValues_[1] = p2.substr(0, kParamMaxLength);
    paramValues_[2] = p3.substr(0, kParamMaxLength);
}

std::string EngineState::ParamValue(int index) const
{
    if (index < 0 || index >= kParamCount)
        return {};
    std::lock_guard<std::mutex> hold(lock_);
    return paramValues_[index];
}

void EngineState::SetImport(std::string_view name, std::string_view value)
{
    std::lock_guard<std::mutex> hold(lock_);
    importName_ = name.substr(0, kImportNameMaxLength);
    importValue_ = value.substr(0, kImportValueMaxLength);
}

std::string EngineState::ImportName() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return importName_;
}

std::string EngineState::ImportValue() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return importValue_;
}

void EngineState::SetDataReady()
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        dataReady_ = true;
    }
    changed_.notify_all();
}

void EngineState::ClearDataReady()
{
    std::lock_guard<std::mutex> hold(lock_);
    dataReady_ = false;
}

bool EngineState::WaitForDataReady(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> hold(lock_);
    return changed_.wait_for(hold, timeout, [this] { return dataReady_.load(); });
}

EngineState& Engine()
{
    // Never destroyed: detached threads (interpret, signals, CLI watchers) may still use it
    // while the process runs its exit handlers.
    static EngineState* state = new EngineState;
    return *state;
}

}  // namespace zov
