#pragma once

// The engine's process-wide settings and flags. Console commands write them from the reader
// thread while the script reads them on its own thread: scalars are atomics, the tables and
// texts sit behind one lock and are reached only through the functions below.

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zov {

inline constexpr int kSyncSlots = 32;
inline constexpr int kFreeSyncSlot = -1;
inline constexpr int kParamCount = 3;
inline constexpr std::size_t kParamMaxLength = 255;
inline constexpr std::size_t kImportNameMaxLength = 64;
inline constexpr std::size_t kImportValueMaxLength = 512;

class EngineState {
public:
    EngineState();
    EngineState(const EngineState&) = delete;
    EngineState& operator=(const EngineState&) = delete;

    // Back to the start values (tests, and `main` before anything runs).
    void Reset();

    std::atomic<bool> Verbose{false};
    std::atomic<bool> CliTrace{false};
    std::atomic<int> ScriptRunning{0};
    std::atomic<bool> VerifyOnly{false};
    std::atomic<int> LineDelayMs{0};
    std::atomic<bool> NotifyLines{true};
    std::atomic<int> CliTimeoutSec{5};
    std::atomic<int> CallTimeout{-1};
    std::atomic<bool> TimedOut{false};
    // Set by the first `interpret`; a later one is ignored, since it would rebuild the
    // engine's tables under the running script.
    std::atomic<bool> InterpretStarted{false};

    // End of the process. The first request wins and wakes WaitForQuit at once.
    void RequestQuit(int exitStatus);
    bool QuitRequested() const { return quitRequested_.load(); }
    // Blocks until a quit is requested; returns the exit status asked for.
    int WaitForQuit();

    // `sync`: stores the value in the free slot with the highest index, unless a slot holds
    // it already or none is free. Returns true when it was stored.
    bool AddSync(int value);
    // Searches the slots from the first, each against `wanted` in order; the first equal pair
    // frees its slot and gives its value.
    std::optional<int> TakeSync(std::span<const int> wanted);
    // TakeSync, waiting for `sync` commands until the deadline.
    std::optional<int> WaitForSync(std::span<const int> wanted, std::chrono::milliseconds timeout);
    std::array<int, kSyncSlots> SyncTable() const;

    void SetWantedSync(int index, int value);  // indexes outside 0..31 are ignored
    std::array<int, kSyncSlots> WantedSync() const;

    // Script parameters %%1..%%3 (index 0..2), each cut to 255 characters.
    void SetParamValues(std::string_view p1, std::string_view p2, std::string_view p3);
    std::string ParamValue(int index) const;

    // `setdata`: both texts cut to 64 and 512 characters.
    void SetImport(std::string_view name, std::string_view value);
    std::string ImportName() const;
    std::string ImportValue() const;

    // DataReady: set by `setdata` (with or without a datum), cleared by the script.
    void SetDataReady();
    void ClearDataReady();
    bool DataReady() const { return dataReady_.load(); }
    // Waits until DataReady is set or the time is up; returns whether it was set.
    bool WaitForDataReady(std::chrono::milliseconds timeout);

private:
    std::optional<int> TakeSyncLocked(std::span<const int> wanted);

    std::atomic<bool> quitRequested_{false};
    std::atomic<int> exitStatus_{1};
    std::atomic<bool> dataReady_{false};

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::array<int, kSyncSlots> syncTable_{};
    std::array<int, kSyncSlots> wantedSync_{};
    std::array<std::string, kParamCount> paramValues_;
    std::string importName_;
    std::string importValue_;
};

// The one engine state of the process.
EngineState& Engine();

}  // namespace zov
