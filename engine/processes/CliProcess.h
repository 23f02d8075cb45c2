#pragma once

// The CLIs a script drives: child processes whose three standard streams are pipes held by the
// engine. A command line goes in; the reply is read up to the CLI's reply terminator (on
// standard output in sync mode 0, on standard error otherwise) or until the time-out.
//
// All pipe reading and writing of one CLI happens on the thread that runs the script; another
// thread (the console's `exit`, a signal) may stop it at any time, which wakes a waiting
// reader at once.

#include "common/process/ProcessSpawn.h"
#include "engine/base/CliSettings.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zov {

// ---------------------------------------------------------------------------------------------
// The pure layer: byte queues, terminator search, templates. No process involved, so that it can
// be tested and fuzzed on its own.

// Bytes read from one pipe, waiting to be taken. Line breaks are translated on the way in:
// dropped, or written as the two characters "\r" / "\n".
class CliByteQueue {
public:
    // Growth stops here: a CLI that floods its pipe keeps being drained, but the excess is
    // dropped instead of exhausting the engine's memory.
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    void Append(std::string_view raw, bool dropLineBreaks);
    std::size_t Size() const { return data_.size() - head_; }
    bool Empty() const { return Size() == 0; }
    std::string_view View() const { return std::string_view(data_).substr(head_); }
    // Takes up to `max` bytes from the front and appends them to `into`; returns the count.
    std::size_t PopInto(std::string& into, std::size_t max);
    void Discard(std::size_t count);
    // Empties the queue and forgets what was dropped.
    void Clear();
    // Bytes dropped at the limit since the last Clear.
    std::size_t Dropped() const { return dropped_; }

private:
    std::string data_;
    std::size_t head_ = 0;
    std::size_t dropped_ = 0;
};

// Index just past the first occurrence of `terminator` in `data` at or after `from`, or npos.
// An empty terminator is found at once (at `from`).
std::size_t FindTerminatorEnd(std::string_view data, std::string_view terminator, std::size_t from = 0);

// Every occurrence of `terminator` removed (an empty terminator removes nothing).
std::string RemoveTerminators(std::string_view reply, std::string_view terminator);

// Replaces the first `pattern` found at or after `searchFrom` by `replacement` and moves
// `searchFrom` past the inserted text, so that a replacement that itself holds the pattern is
// never filled again. An empty pattern inserts at `searchFrom`; no match returns the text as is.
std::string ReplaceFirst(std::string_view text, std::string_view pattern, std::string_view replacement,
                         std::size_t& searchFrom);

// The command text of a CLI function call. Without arguments: the template itself. With
// arguments: the template and a line feed, each "%s" in order filled by one argument; surplus
// arguments are dropped, missing ones leave "%s".
std::string FillCommandTemplate(std::string_view commandTemplate, std::span<const std::string> args);

// How many lines a CLI reads from `text` followed by one line feed: every CR and every LF ends a
// line, as the CLI line reader counts them.
std::size_t CountLinesSent(std::string_view text);

// Collects one reply from a queue: bytes up to and including the first terminator. Kept across
// rounds of reading, so that the terminator is searched only in the bytes that are new.
class ReplyCollector {
public:
    static constexpr std::size_t kMaxReplyBytes = CliByteQueue::kMaxBytes;

    explicit ReplyCollector(std::string terminator) : terminator_(std::move(terminator)) {}
    // Moves bytes from `queue` into the reply; true once the terminator is in.
    bool TakeFrom(CliByteQueue& queue);
    bool Complete() const { return complete_; }
    const std::string& Text() const { return reply_; }
    // The reply with every terminator removed.
    std::string Stripped() const { return RemoveTerminators(reply_, terminator_); }
    // The reply went past kMaxReplyBytes: only its end is kept.
    bool Overflowed() const { return overflowed_; }

private:
    std::string terminator_;
    std::string reply_;
    bool complete_ = false;
    bool overflowed_ = false;
};

// ---------------------------------------------------------------------------------------------
// One child process.

// What a CLI does with the empty line that follows a command with parameters: the line
// protocol answers it with a terminator alone, which must never be taken for the end of the
// next reply. Learned from the first such command.
enum class ExtraLineAnswers { Unknown, Answered, Silent };

struct CliReply {
    std::string Text;      // what the script receives
    std::string SyncText;  // the sync stream's part: terminators removed, or partial on time-out
    bool TimedOut = false;
    bool Interrupted = false;  // the CLI was stopped by another thread while waiting
    bool TooLong = false;      // the reply went past the longest text: never given cut
};

class CCliProcess {
public:
    // `detached`: a program started by `exec`, with /dev/null as its three streams.
    explicit CCliProcess(std::string program, bool detached = false);
    ~CCliProcess();
    CCliProcess(const CCliProcess&) = delete;
    CCliProcess& operator=(const CCliProcess&) = delete;

    // Starts the child (an earlier one of this object is ended first); nothing while running.
    void Start(std::string_view parameters = {});
    bool Started() const { return started_.load(); }
    bool Running() const { return running_.load(); }
    // -1 when the process could not be created, 259 while it runs, else its exit status
    // (128 + signal number for a child ended by a signal).
    int ExitCode() const;
    pid_t ProcessId() const;

    // Reply settings; set before Start, read only by the thread that runs the script.
    void Apply(const CliSettings& settings) { settings_ = settings; }
    const CliSettings& Settings() const { return settings_; }
    // The name of the echo lines ("out:[h] ..."): given once the script's variable is known,
    // read by whichever thread stops the CLI.
    void SetName(std::string name);
    std::string Name() const;

    // Sends one command line (the text and a line feed). First the answers still owed for the
    // extra lines of the previous command are taken off the sync stream (and those of a command
    // that timed out, as far as they come within half of `timeoutSec`), then pending output is
    // read and both queues emptied, so that the reply read next starts clean. A CLI that does
    // not read its input is given until `timeoutSec` to make room.
    void Write(std::string_view text, int timeoutSec);

    // Reads the reply to the last command: up to the terminator or `timeoutSec` seconds (0:
    // one round of reading; negative: nothing is read). Both pipes are drained while waiting.
    // After a command that waited for late answers, the first read also ends `timeoutSec` after
    // that command was written: the call as a whole takes one time-out.
    CliReply ReadReply(int timeoutSec);

    // Moves what the pipes hold now into the queues, without waiting.
    void ReadPipes();
    std::size_t PopStdout(std::string& into, std::size_t max);
    std::size_t PopStderr(std::string& into, std::size_t max);
    std::size_t StdoutSize() const;

    // Sends the exit command and waits up to `timeoutSec` for the end; a CLI still running then
    // gets "[name] Terminaison forcee du CLI !" and is killed. Pipes closed, process reaped.
    // A stopped CLI never starts again.
    void Stop(int timeoutSec);
    // Stop for several CLIs at once: every exit command first, then one window of `timeoutSec`
    // for all of them. `report(cli, before)` runs around each CLI's last step, in order.
    static void StopAll(std::span<CCliProcess* const> clis, int timeoutSec,
                        const std::function<void(CCliProcess&, bool)>& report = {});
    // Kills the process (if any), reaps it and closes the three pipes; it never starts again.
    void Terminate();
    // Once the process has ended by itself: its watch thread joined, what its pipes still hold
    // read, its descriptors closed. True when it did so.
    bool ReleaseIfEnded();
    // Wakes a reader or writer of this CLI blocked on another thread; they give up at once.
    void Interrupt();

    ExtraLineAnswers ExtraLines() const { return extraLines_; }

private:
    enum class WaitResult { Ready, Deadline, Ended };
    // Waits for output on either pipe (or room on stdin when `forWrite`) until the deadline.
    // Ended: the sync stream is at its end or the CLI was interrupted.
    WaitResult WaitForPipes(Clock::time_point deadline, bool forWrite);
    std::size_t DrainPipe(UniqueFd& fd, CliByteQueue& queue, bool& atEnd, std::size_t budget);
    void ReadPipesLocked();
    bool DiscardOneAnswer(std::size_t& scanFrom);
    void ConsumeOwedAnswers(int timeoutSec);
    // Takes the late answers off the sync stream as they come, until `deadline`; true once
    // none is owed any more.
    bool SkipLateAnswers(Clock::time_point deadline);
    bool WriteBytes(std::string_view bytes, Clock::time_point deadline);
    void WatchChild(pid_t pid);
    void ClosePipes();
    void CloseWake();
    void JoinWatcher();
    void TerminateLocked();
    void BeginStop();
    bool WaitForEnd(Clock::time_point deadline);
    void FinishStop(bool ended);
    CliByteQueue& SyncQueue() { return settings_.SyncMode == 0 ? stdout_ : stderr_; }

    std::string program_;
    CliSettings settings_;
    mutable std::mutex nameLock_;
    std::string name_;
    std::string parameters_;
    bool detached_;

    // Serialises the start, the stop and the release of the process, so that a stop from
    // another thread never meets a start halfway; held by the thread doing one of them.
    std::mutex lifeLock_;
    bool retired_ = false;  // stopped or terminated: never started again

    std::atomic<bool> started_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> interrupted_{false};

    // Guards the pid, the exit code and the reaping, so that the watch thread's waitpid and
    // a kill() from Terminate can never meet on a pid the system has already reused.
    mutable std::mutex processLock_;
    std::condition_variable ended_;
    pid_t pid_ = 0;
    bool reaped_ = true;
    int exitCode_ = -1;
    std::thread watcher_;

    // Guards the pipes and the queues (the script's thread against a stop from elsewhere).
    mutable std::mutex ioLock_;
    UniqueFd stdin_;
    UniqueFd stdoutPipe_;
    UniqueFd stderrPipe_;
    UniqueFd processFd_;  // pidfd: readable once the child has ended
    // eventfd signalled by Interrupt, which runs without ioLock_: made by the first Start that
    // starts a child, closed once it has ended; wakeLock_ keeps Interrupt off a closed number.
    std::mutex wakeLock_;
    UniqueFd wake_;
    bool stdoutAtEnd_ = true;
    bool stderrAtEnd_ = true;
    CliByteQueue stdout_;
    CliByteQueue stderr_;

    std::size_t linesSent_ = 1;    // lines of the last command; each gets a terminator
    std::size_t owedAnswers_ = 0;  // terminators still to come for the extra lines of a reply read whole
    // Terminators that commands whose reply timed out still owe: the next replies skip that many
    // answers before their own. The last command's share is counted only once another command
    // goes out, as a second read of the same reply still waits for the same answer.
    std::size_t lateAnswers_ = 0;
    std::size_t lastReplyOwes_ = 0;
    // The end of the call whose command had to wait for late answers before it went out.
    std::optional<Clock::time_point> callDeadline_;
    ExtraLineAnswers extraLines_ = ExtraLineAnswers::Unknown;
};

// ---------------------------------------------------------------------------------------------
// The tables. A CLI's index is its 1-based position in `CliTable`; a stopped CLI leaves an
// empty slot so that indexes never move. `ExecTable` holds the programs of `exec`; `kill`
// closes the gap.

class CliProcessTable {
public:
    int Add(std::shared_ptr<CCliProcess> process);               // 1-based position
    std::shared_ptr<CCliProcess> At(int index) const;            // 1-based; null when empty/out of range
    std::shared_ptr<CCliProcess> Empty(int index);               // takes the process, leaves the slot
    std::shared_ptr<CCliProcess> Remove(int index);              // takes the process and the slot
    std::vector<std::shared_ptr<CCliProcess>> RemoveAll();       // empties the table
    std::vector<std::shared_ptr<CCliProcess>> Snapshot() const;  // the processes held now
    int Size() const;

private:
    // Whether a 1-based index names a slot; the lock is held by the caller.
    bool HoldsLocked(int index) const { return index >= 1 && static_cast<std::size_t>(index) <= slots_.size(); }

    mutable std::mutex lock_;
    std::vector<std::shared_ptr<CCliProcess>> slots_;
};

extern CliProcessTable CliTable;
extern CliProcessTable ExecTable;

// Every process of both tables that has ended by itself gives back its descriptors and its
// watch thread now, rather than at the end of the run: a script that starts many must not run
// out of them.
void ReleaseEndedProcesses();

}  // namespace zov
