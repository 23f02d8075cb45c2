#include "engine/processes/CliProcess.h"

#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cctype>
#include <climits>
#include <functional>
#include <csignal>
#include <optional>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <system_error>
#include <utility>
#include <unistd.h>

namespace zov {

// ---------------------------------------------------------------------------------------------
// Pure layer

void CliByteQueue::Append(std::string_view raw, bool dropLineBreaks)
{
    if (head_ > 0 && head_ * 2 >= data_.size()) {
        data_.erase(0, head_);
        head_ = 0;
    }
    while (!raw.empty() && Size() < kMaxBytes) {
        const std::size_t room = kMaxBytes - Size();
        std::size_t plain = 0;
        while (plain < raw.size() && raw[plain] != '\r' && raw[plain] != '\n')
            ++plain;
        const std::size_t kept = std::min(plain, room);
        data_.append(raw.data(), kept);
        if (kept < plain) {
            dropped_ += raw.size() - kept;
            return;
        }
        raw.remove_prefix(plain);
        if (raw.empty())
            return;
        if (!dropLineBreaks && Size() + 2 <= kMaxBytes)
            data_.append(raw.front() == '\r' ? "\\r" : "\\n", 2);
        else if (!dropLineBreaks)
            ++dropped_;
        raw.remove_prefix(1);
    }
    dropped_ += raw.size();
}

std::size_t CliByteQueue::PopInto(std::string& into, std::size_t max)
{
    const std::size_t count = std::min(max, Size());
    into.append(data_, head_, count);
    Discard(count);
    return count;
}

void CliByteQueue::Discard(std::size_t count)
{
    head_ += std::min(count, Size());
    if (head_ == data_.size()) {
        data_.clear();
        head_ = 0;
    }
}

void CliByteQueue::Clear()
{
    data_.clear();
    head_ = 0;
    dropped_ = 0;
}

std::size_t FindTerminatorEnd(std::string_view data, std::string_view terminator, std::size_t from)
{
    if (from > data.size())
        return std::string_view::npos;
    const std::size_t at = data.find(terminator, from);
    return at == std::string_view::npos ? at : at + terminator.size();
}

std::string RemoveTerminators(std::string_view reply, std::string_view terminator)
{
    if (terminator.empty())
        return std::string(reply);
    std::string out;
    out.reserve(reply.size());
    std::size_t pos = 0;
    while (true) {
        const std::size_t at = reply.find(terminator, pos);
        if (at == std::string_view::npos)
            break;
        out.append(reply.substr(pos, at - pos));
        pos = at + terminator.size();
    }
    out.append(reply.substr(pos));
    return out;
}

std::string ReplaceFirst(std::string_view text, std::string_view pattern, std::string_view replacement,
                         std::size_t& searchFrom)
{
    searchFrom = std::min(searchFrom, text.size());
    const std::size_t at = text.find(pattern, searchFrom);
    if (at == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size() - pattern.size() + replacement.size());
    out.append(text.substr(0, at));
    out.append(replacement);
    out.append(text.substr(at + pattern.size()));
    searchFrom = at + replacement.size();
    return out;
}

std::string FillCommandTemplate(std::string_view commandTemplate, std::span<const std::string> args)
{
    std::string text(commandTemplate);
    if (args.empty())
        return text;
    text += '\n';
    std::size_t from = 0;
    for (const std::string& arg : args)
        text = ReplaceFirst(text, "%s", arg, from);
    return text;
}

std::size_t CountLinesSent(std::string_view text)
{
    return 1 + static_cast<std::size_t>(
                   std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

bool ReplyCollector::TakeFrom(CliByteQueue& queue)
{
    if (complete_)
        return true;
    const std::size_t t = terminator_.size();
    if (t == 0) {
        complete_ = true;
        return true;
    }
    const std::string_view incoming = queue.View();
    if (incoming.empty())
        return false;
    // The reply never holds a whole terminator, but may end with the start of one.
    std::size_t take = incoming.size();
    const std::size_t overlap = std::min(reply_.size(), t - 1);
    const std::size_t searchFrom = reply_.size() - overlap;
    std::string window = reply_.substr(searchFrom);
    window.append(incoming.substr(0, std::min(incoming.size(), t - 1)));
    const std::size_t inWindow = window.find(terminator_);
    if (inWindow != std::string::npos && inWindow < overlap) {
        take = inWindow + t - overlap;
        complete_ = true;
    } else {
        const std::size_t end = FindTerminatorEnd(incoming, terminator_);
        if (end != std::string_view::npos) {
            take = end;
            complete_ = true;
        }
    }
    if (reply_.size() + take > kMaxReplyBytes) {
        // Too long to keep: an ellipsis stands for what is dropped; the last bytes stay, as they
        // may hold the start of the terminator.
        std::string kept = "...";
        kept.append(reply_.substr(reply_.size() - std::min(reply_.size(), t)));
        reply_ = std::move(kept);
        overflowed_ = true;
    }
    queue.PopInto(reply_, take);
    return complete_;
}

// ---------------------------------------------------------------------------------------------
// One child process

namespace {

// Bytes read from one pipe in one round, so that a CLI that writes without end still lets the
// reader look at its deadline.
constexpr std::size_t kReadBudget = std::size_t{1} << 20;
constexpr int kStillActive = 259;

Clock::time_point DeadlineAfter(int seconds)
{
    return Clock::now() + std::chrono::seconds(std::max(seconds, 0));
}

}  // namespace

CCliProcess::CCliProcess(std::string program, bool detached) : program_(std::move(program)), detached_(detached) {}

CCliProcess::~CCliProcess()
{
    Terminate();
}

void CCliProcess::SetName(std::string name)
{
    std::lock_guard<std::mutex> hold(nameLock_);
    name_ = std::move(name);
}

std::string CCliProcess::Name() const
{
    std::lock_guard<std::mutex> hold(nameLock_);
    return name_;
}

int CCliProcess::ExitCode() const
{
    std::lock_guard<std::mutex> hold(processLock_);
    return exitCode_;
}

pid_t CCliProcess::ProcessId() const
{
    std::lock_guard<std::mutex> hold(processLock_);
    return pid_;
}

void CCliProcess::Start(std::string_view parameters)
{
    // The stop of the engine may come from another thread at any moment: under the life lock a
    // start either ends before the stop begins (and is stopped) or sees the stop and starts
    // nothing, and the watch thread is never made and joined at once.
    std::lock_guard<std::mutex> life(lifeLock_);
    if (running_.load())
        return;
    TerminateLocked();
    if (retired_ || NewProcessesRefused()) {
        started_ = false;
        std::lock_guard<std::mutex> hold(processLock_);
        exitCode_ = -1;
        return;
    }
    parameters_ = parameters;
    std::optional<SpawnedChild> child =
        SpawnChild(program_ + parameters_, detached_ ? ChildStreams::Detached : ChildStreams::CliPipes);
    if (!child) {
        started_ = false;
        std::lock_guard<std::mutex> hold(processLock_);
        exitCode_ = -1;
        return;
    }
    const pid_t pid = child->Pid;
    {
        std::lock_guard<std::mutex> hold(ioLock_);
        stdin_ = std::move(child->Stdin);
        stdoutPipe_ = std::move(child->Stdout);
        stderrPipe_ = std::move(child->Stderr);
        stdoutAtEnd_ = !stdoutPipe_.IsOpen();
        stderrAtEnd_ = !stderrPipe_.IsOpen();
        processFd_ = OpenProcessFd(pid);
        stdout_.Clear();
        stderr_.Clear();
        linesSent_ = 1;
        owedAnswers_ = 0;
        lateAnswers_ = 0;
        lastReplyOwes_ = 0;
        callDeadline_.reset();
        extraLines_ = ExtraLineAnswers::Unknown;
        // Made for a child that started only: a CLI or program that did not start keeps its slot
        // for the whole run, and must not hold a descriptor there.
        std::lock_guard<std::mutex> wake(wakeLock_);
        if (!wake_.IsOpen())
            wake_.Reset(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
        std::uint64_t pending = 0;
        if (wake_.IsOpen())
            while (::read(wake_.Get(), &pending, sizeof pending) > 0) {
            }
        interrupted_ = false;
    }
    {
        std::lock_guard<std::mutex> hold(processLock_);
        pid_ = pid;
        reaped_ = false;
        exitCode_ = kStillActive;
    }
    running_ = true;
    started_ = true;
    try {
        // The thread gets its process directly; nothing is handed over through shared slots.
        watcher_ = std::thread(&CCliProcess::WatchChild, this, pid);
    } catch (const std::system_error&) {
        WriteErr(lines::ErrWatchThread);
        started_ = false;
        running_ = false;
        {
            std::lock_guard<std::mutex> hold(processLock_);
            KillAndReap(pid);
            reaped_ = true;
            exitCode_ = -1;
            pid_ = 0;
        }
        std::lock_guard<std::mutex> hold(ioLock_);
        ClosePipes();
    }
}

void CCliProcess::WatchChild(pid_t pid)
{
    // Wait without reaping, so that the pid stays ours until the reaping below, which happens
    // under the same lock as any kill().
    siginfo_t info{};
    int rc = 0;
    do {
        rc = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
    } while (rc < 0 && errno == EINTR);
    std::lock_guard<std::mutex> hold(processLock_);
    if (!reaped_) {
        // A CLI's helpers end with it, however it ended: while the CLI is not reaped its pid
        // still names its group. A program of `exec` may leave a helper on purpose.
        if (!detached_)
            KillProcessGroup(pid);
        int status = 0;
        pid_t got = -1;
        do {
            got = ::waitpid(pid, &status, 0);
        } while (got < 0 && errno == EINTR);
        if (got == pid)
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else
            exitCode_ = 0;  // reaped elsewhere (SIGCHLD ignored): the code is lost
        reaped_ = true;
    }
    running_ = false;
    ended_.notify_all();
}

void CCliProcess::JoinWatcher()
{
    if (watcher_.joinable() && watcher_.get_id() != std::this_thread::get_id())
        watcher_.join();
}

void CCliProcess::ClosePipes()
{
    stdin_.Reset();
    stdoutPipe_.Reset();
    stderrPipe_.Reset();
    processFd_.Reset();
    stdoutAtEnd_ = true;
    stderrAtEnd_ = true;
}

void CCliProcess::CloseWake()
{
    std::lock_guard<std::mutex> wake(wakeLock_);
    wake_.Reset();
}

void CCliProcess::Interrupt()
{
    interrupted_ = true;
    std::lock_guard<std::mutex> wake(wakeLock_);
    if (wake_.IsOpen()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_.Get(), &one, sizeof one);
    }
}

void CCliProcess::Terminate()
{
    std::lock_guard<std::mutex> life(lifeLock_);
    retired_ = true;
    TerminateLocked();
}

void CCliProcess::TerminateLocked()
{
    Interrupt();
    {
        std::lock_guard<std::mutex> hold(processLock_);
        if (pid_ > 0 && !reaped_)
            KillProcessGroup(pid_);
    }
    JoinWatcher();
    {
        std::lock_guard<std::mutex> hold(processLock_);
        pid_ = 0;
    }
    running_ = false;
    std::lock_guard<std::mutex> hold(ioLock_);
    ClosePipes();
}

bool CCliProcess::ReleaseIfEnded()
{
    std::lock_guard<std::mutex> life(lifeLock_);
    if (running_.load() || !watcher_.joinable())
        return false;
    JoinWatcher();
    {
        std::lock_guard<std::mutex> hold(ioLock_);
        // What the CLI wrote before it ended can still be read by the script.
        ReadPipesLocked();
        ClosePipes();
        CloseWake();
    }
    return true;
}

void CCliProcess::Stop(int timeoutSec)
{
    CCliProcess* one[] = {this};
    StopAll(one, timeoutSec);
}

void CCliProcess::BeginStop()
{
    std::lock_guard<std::mutex> life(lifeLock_);
    retired_ = true;
    // A reader blocked on this CLI (the script, while the console ends the run) lets go.
    Interrupt();
    std::lock_guard<std::mutex> io(ioLock_);
    if (stdin_.IsOpen()) {
        ReadPipesLocked();
        stderr_.Clear();
        std::string line = settings_.ExitCommand;
        line += '\n';
        // Room for one line is there unless the CLI stopped reading; the forced end deals with
        // that one.
        [[maybe_unused]] const ssize_t written = ::write(stdin_.Get(), line.data(), line.size());
    }
}

bool CCliProcess::WaitForEnd(Clock::time_point deadline)
{
    std::lock_guard<std::mutex> life(lifeLock_);
    std::unique_lock<std::mutex> io(ioLock_);
    // Wait for the end, draining the pipes: a CLI that writes a farewell into a full pipe could
    // not end otherwise.
    while (running_.load() && processFd_.IsOpen()) {
        pollfd fds[3];
        nfds_t n = 0;
        fds[n++] = {processFd_.Get(), POLLIN, 0};
        if (!stdoutAtEnd_)
            fds[n++] = {stdoutPipe_.Get(), POLLIN, 0};
        if (!stderrAtEnd_)
            fds[n++] = {stderrPipe_.Get(), POLLIN, 0};
        const int rc = ::poll(fds, n, MillisecondsLeft(deadline));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc <= 0 || (fds[0].revents & POLLIN))
            break;
        ReadPipesLocked();
        stdout_.Clear();
        stderr_.Clear();
        // A CLI that writes without end always has data ready; the clock still rules.
        if (Clock::now() >= deadline)
            break;
    }
    if (!processFd_.IsOpen()) {
        std::unique_lock<std::mutex> hold(processLock_);
        ended_.wait_until(hold, deadline, [this] { return !running_.load(); });
    }
    bool ended = !running_.load();
    if (!ended && processFd_.IsOpen()) {
        pollfd exited{processFd_.Get(), POLLIN, 0};
        ended = ::poll(&exited, 1, 0) == 1;
    }
    return ended;
}

void CCliProcess::FinishStop(bool ended)
{
    std::lock_guard<std::mutex> life(lifeLock_);
    if (!ended) {
        WriteErr(lines::ErrCliForcedEnd, Name().c_str());
        TerminateLocked();
        return;
    }
    JoinWatcher();
    {
        std::lock_guard<std::mutex> hold(processLock_);
        pid_ = 0;
    }
    std::lock_guard<std::mutex> hold(ioLock_);
    ClosePipes();
}

void CCliProcess::StopAll(std::span<CCliProcess* const> clis, int timeoutSec,
                          const std::function<void(CCliProcess&, bool)>& report)
{
    // Every exit command goes out first, then one wait for all: a CLI that ignores its exit
    // command costs the window once, not once per CLI.
    for (CCliProcess* cli : clis)
        cli->BeginStop();
    const Clock::time_point deadline = DeadlineAfter(timeoutSec);
    std::vector<char> ended(clis.size(), 0);
    for (std::size_t i = 0; i < clis.size(); ++i)
        ended[i] = clis[i]->WaitForEnd(deadline) ? 1 : 0;
    for (std::size_t i = 0; i < clis.size(); ++i) {
        if (report)
            report(*clis[i], true);
        clis[i]->FinishStop(ended[i] != 0);
        if (report)
            report(*clis[i], false);
    }
}

std::size_t CCliProcess::DrainPipe(UniqueFd& fd, CliByteQueue& queue, bool& atEnd, std::size_t budget)
{
    char buffer[65536];
    std::size_t total = 0;
    while (total < budget && fd.IsOpen()) {
        const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
        if (got > 0) {
            queue.Append(std::string_view(buffer, static_cast<std::size_t>(got)), settings_.DropLineBreaks);
            total += static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        atEnd = true;
        break;
    }
    return total;
}

void CCliProcess::ReadPipesLocked()
{
    if (!stdoutAtEnd_)
        DrainPipe(stdoutPipe_, stdout_, stdoutAtEnd_, kReadBudget);
    if (!stderrAtEnd_)
        DrainPipe(stderrPipe_, stderr_, stderrAtEnd_, kReadBudget);
}

void CCliProcess::ReadPipes()
{
    std::lock_guard<std::mutex> hold(ioLock_);
    ReadPipesLocked();
}

std::size_t CCliProcess::PopStdout(std::string& into, std::size_t max)
{
    std::lock_guard<std::mutex> hold(ioLock_);
    return stdout_.PopInto(into, max);
}

std::size_t CCliProcess::PopStderr(std::string& into, std::size_t max)
{
    std::lock_guard<std::mutex> hold(ioLock_);
    return stderr_.PopInto(into, max);
}

std::size_t CCliProcess::StdoutSize() const
{
    std::lock_guard<std::mutex> hold(ioLock_);
    return stdout_.Size();
}

CCliProcess::WaitResult CCliProcess::WaitForPipes(Clock::time_point deadline, bool forWrite)
{
    if (interrupted_.load())
        return WaitResult::Ended;
    if (forWrite ? !stdin_.IsOpen() : (settings_.SyncMode == 0 ? stdoutAtEnd_ : stderrAtEnd_))
        return WaitResult::Ended;
    pollfd fds[4];
    nfds_t n = 0;
    if (!stdoutAtEnd_)
        fds[n++] = {stdoutPipe_.Get(), POLLIN, 0};
    if (!stderrAtEnd_)
        fds[n++] = {stderrPipe_.Get(), POLLIN, 0};
    if (forWrite)
        fds[n++] = {stdin_.Get(), POLLOUT, 0};
    const nfds_t wakeAt = n;
    if (wake_.IsOpen())
        fds[n++] = {wake_.Get(), POLLIN, 0};
    const int rc = ::poll(fds, n, MillisecondsLeft(deadline));
    if (rc < 0)
        return errno == EINTR ? WaitResult::Ready : WaitResult::Ended;
    if (rc == 0)
        return WaitResult::Deadline;
    if (wakeAt < n && (fds[wakeAt].revents & POLLIN)) {
        interrupted_ = true;
        return WaitResult::Ended;
    }
    return WaitResult::Ready;
}

bool CCliProcess::WriteBytes(std::string_view bytes, Clock::time_point deadline)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (!stdin_.IsOpen())
            return false;
        const ssize_t put = ::write(stdin_.Get(), bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (Clock::now() >= deadline || WaitForPipes(deadline, true) != WaitResult::Ready)
                return false;
            // The CLI may be blocked on its own full output pipe: empty it so it reads on.
            ReadPipesLocked();
            continue;
        }
        return false;  // EPIPE: the CLI has ended; failed writes are not reported
    }
    return true;
}

// Reads what has come and drops the sync stream up to the end of its first whole answer; false
// when no terminator is there yet (scanFrom then skips what was already searched).
bool CCliProcess::DiscardOneAnswer(std::size_t& scanFrom)
{
    ReadPipesLocked();
    CliByteQueue& queue = SyncQueue();
    const std::size_t end = FindTerminatorEnd(queue.View(), settings_.Terminator, scanFrom);
    if (end != std::string_view::npos) {
        queue.Discard(end);
        scanFrom = 0;
        return true;
    }
    const std::size_t t = settings_.Terminator.size();
    scanFrom = queue.Size() >= t ? queue.Size() - t + 1 : 0;
    return false;
}

void CCliProcess::ConsumeOwedAnswers(int timeoutSec)
{
    if (owedAnswers_ == 0)
        return;
    if (extraLines_ == ExtraLineAnswers::Silent) {
        owedAnswers_ = 0;
        return;
    }
    // Whatever reaches the sync stream before the next command is sent can only answer the
    // previous command's extra lines; waiting for it here is what makes the learning exact.
    // A CLI that answers them is never slowed (its answer follows the reply at once); one that
    // does not costs one wait, once.
    const Clock::time_point deadline = DeadlineAfter(std::max(timeoutSec, 1));
    std::size_t scanFrom = 0;
    while (owedAnswers_ > 0) {
        if (DiscardOneAnswer(scanFrom)) {
            --owedAnswers_;
            extraLines_ = ExtraLineAnswers::Answered;
            continue;
        }
        const WaitResult waited = Clock::now() >= deadline ? WaitResult::Deadline : WaitForPipes(deadline, false);
        if (waited == WaitResult::Ready)
            continue;
        if (waited == WaitResult::Deadline && extraLines_ == ExtraLineAnswers::Unknown)
            extraLines_ = ExtraLineAnswers::Silent;
        owedAnswers_ = 0;
    }
}

bool CCliProcess::SkipLateAnswers(Clock::time_point deadline)
{
    std::size_t scanFrom = 0;
    while (lateAnswers_ > 0) {
        if (settings_.Terminator.empty()) {
            lateAnswers_ = 0;
            break;
        }
        if (DiscardOneAnswer(scanFrom)) {
            --lateAnswers_;
            continue;
        }
        if (Clock::now() >= deadline || WaitForPipes(deadline, false) == WaitResult::Ended)
            return false;
    }
    return true;
}

void CCliProcess::Write(std::string_view text, int timeoutSec)
{
    std::lock_guard<std::mutex> hold(ioLock_);
    lateAnswers_ += std::exchange(lastReplyOwes_, 0);
    // A CLI answers in order: the answers still late come before this command's, so waiting
    // for them before it goes out costs nothing, and everything read until then is theirs, on
    // both streams. That wait is part of the call: its reply is read only for what is left of
    // the call's time, so that a CLI that never answers costs each call one time-out. It takes
    // at most half of that time, so that the command, which then goes out anyway, still has
    // the other half to be answered (its reply skips what is late as it comes).
    const Clock::time_point start = Clock::now();
    const Clock::duration whole = std::chrono::seconds(std::max(timeoutSec, 0));
    callDeadline_.reset();
    if (lateAnswers_ > 0)
        callDeadline_ = start + whole;
    const bool nothingLate = SkipLateAnswers(start + whole / 2);
    // The extra lines of a reply read whole are answered after it, so only once nothing is
    // late any more.
    if (nothingLate)
        ConsumeOwedAnswers(timeoutSec);
    ReadPipesLocked();
    // Nothing that came before the command goes out belongs to its reply: a reply that came
    // after its call stopped waiting must not become the next one, on either stream. The start
    // of an answer still late stays: its terminator is counted.
    if (settings_.SyncMode == 1 || nothingLate)
        stdout_.Clear();
    if (settings_.SyncMode == 0 || nothingLate)
        stderr_.Clear();
    std::string line(text);
    line += '\n';
    linesSent_ = CountLinesSent(text);
    WriteBytes(line, DeadlineAfter(std::max(timeoutSec, 1)));
}

CliReply CCliProcess::ReadReply(int timeoutSec)
{
    std::lock_guard<std::mutex> hold(ioLock_);
    CliReply reply;
    ReplyCollector collector(settings_.Terminator);
    // The first read after a command that waited for late answers ends with that command's time.
    const std::optional<Clock::time_point> callDeadline = std::exchange(callDeadline_, std::nullopt);
    if (timeoutSec >= 0) {
        const Clock::time_point deadline =
            std::min(DeadlineAfter(timeoutSec), callDeadline.value_or(Clock::time_point::max()));
        // Answers of earlier commands that timed out come first, each with its terminator: they
        // are skipped within this reply's own time, so a CLI that answers costs no extra wait.
        while (!collector.TakeFrom(SyncQueue()) || lateAnswers_ > 0) {
            if (collector.Complete()) {
                --lateAnswers_;
                collector = ReplyCollector(settings_.Terminator);
                if (settings_.SyncMode == 1) {
                    ReadPipesLocked();
                    stdout_.Clear();
                }
                continue;
            }
            ReadPipesLocked();
            if (collector.TakeFrom(SyncQueue()) && lateAnswers_ == 0)
                break;
            if (collector.Complete())
                continue;
            if (Clock::now() >= deadline)
                break;
            const WaitResult waited = WaitForPipes(deadline, false);
            if (waited == WaitResult::Ready)
                continue;
            // One last look: the end of the stream or the deadline may come with data.
            ReadPipesLocked();
            collector.TakeFrom(SyncQueue());
            reply.Interrupted = waited == WaitResult::Ended && interrupted_.load();
            break;
        }
        if (collector.Complete() && lateAnswers_ > 0) {
            --lateAnswers_;
            collector = ReplyCollector(settings_.Terminator);
        }
    }
    reply.TimedOut = !collector.Complete();
    if (reply.TimedOut) {
        // This command's answer is still to come, with one terminator per line sent (the extra
        // lines' only when the CLI is known to answer them); counted once the next command goes
        // out. Answers owed for earlier extra lines come before it: they stay owed too.
        lastReplyOwes_ = owedAnswers_ + 1 + (extraLines_ == ExtraLineAnswers::Answered ? linesSent_ - 1 : 0);
        owedAnswers_ = 0;
        // What came without a terminator is shown as before, even while an answer is still
        // late: a CLI that never answers cannot tell whose part it is.
        reply.SyncText = collector.Text();
    } else {
        lastReplyOwes_ = 0;
        owedAnswers_ += linesSent_ - 1;
        reply.SyncText = collector.Stripped();
    }
    linesSent_ = 1;
    ReadPipesLocked();
    // Only an answer is too long: what a call that timed out got is its partial reply.
    reply.TooLong = !reply.TimedOut && (collector.Overflowed() || SyncQueue().Dropped() > 0);
    if (settings_.SyncMode == 1) {
        reply.TooLong = reply.TooLong || (!reply.TimedOut && stdout_.Dropped() > 0);
        stdout_.PopInto(reply.Text, stdout_.Size());
        stdout_.Clear();
    } else {
        reply.Text = reply.SyncText;
    }
    return reply;
}

// ---------------------------------------------------------------------------------------------
// Tables

CliProcessTable CliTable;
CliProcessTable ExecTable;

int CliProcessTable::Add(std::shared_ptr<CCliProcess> process)
{
    std::lock_guard<std::mutex> hold(lock_);
    slots_.push_back(std::move(process));
    return static_cast<int>(slots_.size());
}

std::shared_ptr<CCliProcess> CliProcessTable::At(int index) const
{
    std::lock_guard<std::mutex> hold(lock_);
    if (!HoldsLocked(index))
        return nullptr;
    return slots_[static_cast<std::size_t>(index) - 1];
}

std::shared_ptr<CCliProcess> CliProcessTable::Empty(int index)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (!HoldsLocked(index))
        return nullptr;
    return std::move(slots_[static_cast<std::size_t>(index) - 1]);
}

std::shared_ptr<CCliProcess> CliProcessTable::Remove(int index)
{
    std::lock_guard<std::mutex> hold(lock_);
    if (!HoldsLocked(index))
        return nullptr;
    const auto at = slots_.begin() + (index - 1);
    std::shared_ptr<CCliProcess> process = std::move(*at);
    slots_.erase(at);
    return process;
}

std::vector<std::shared_ptr<CCliProcess>> CliProcessTable::RemoveAll()
{
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::shared_ptr<CCliProcess>> all;
    all.swap(slots_);
    return all;
}

std::vector<std::shared_ptr<CCliProcess>> CliProcessTable::Snapshot() const
{
    std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::shared_ptr<CCliProcess>> held;
    for (const std::shared_ptr<CCliProcess>& process : slots_)
        if (process)
            held.push_back(process);
    return held;
}

int CliProcessTable::Size() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return static_cast<int>(slots_.size());
}

void ReleaseEndedProcesses()
{
    for (CliProcessTable* table : {&CliTable, &ExecTable})
        for (const std::shared_ptr<CCliProcess>& process : table->Snapshot())
            process->ReleaseIfEnded();
}

}  // namespace zov
