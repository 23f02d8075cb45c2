// Cost of the line report that every statement makes before it runs.
// With notifyline off it must stay a few loads and compares: no output, no system call, no
// lock (the "writes" counter must read 0). With notifyline on it is one write per report,
// here to /dev/null.

#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "engine/base/Output.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Counts the lines handed to the writer; optionally writes them to a descriptor.
class CountingSink {
public:
    explicit CountingSink(int fd = -1) : fd_(fd)
    {
        previous_ = zov::SetLineSink([this](zov::Stream, std::string_view text) {
            ++writes_;
            if (fd_ >= 0)
                zov::WriteAll(fd_, text);
        });
    }
    ~CountingSink() { zov::SetLineSink(std::move(previous_)); }
    std::uint64_t Writes() const { return writes_; }

private:
    int fd_;
    std::uint64_t writes_ = 0;
    zov::LineSink previous_;
};

// Statements spread over eight lines, each a new line (the breakpoint lookup is taken).
void ReportNotifyOffNewLines(benchmark::State& state)
{
    zov::EngineState engine;
    engine.NotifyLines = false;
    zov::CDebugger debugger(engine);
    debugger.SetBreakpoint(5000, zov::kBreakpointOn);  // a breakpoint elsewhere
    CountingSink sink;
    std::uint32_t line = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(debugger.ReportLine(line));
        line = (line & 7u) + 1u;
    }
    state.counters["writes"] = static_cast<double>(sink.Writes());
    state.SetItemsProcessed(state.iterations());
    if (sink.Writes() != 0) {
        std::fprintf(stderr, "notifyline off wrote %llu lines\n", static_cast<unsigned long long>(sink.Writes()));
        std::abort();
    }
}
BENCHMARK(ReportNotifyOffNewLines);

// A loop on one line: the line is not entered afresh.
void ReportNotifyOffSameLine(benchmark::State& state)
{
    zov::EngineState engine;
    engine.NotifyLines = false;
    zov::CDebugger debugger(engine);
    CountingSink sink;
    for (auto _ : state)
        benchmark::DoNotOptimize(debugger.ReportLine(42));
    state.counters["writes"] = static_cast<double>(sink.Writes());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReportNotifyOffSameLine);

// One "cmd: run" line per report, written to /dev/null.
void ReportNotifyOn(benchmark::State& state)
{
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (devNull < 0) {
        state.SkipWithError("cannot open /dev/null");
        return;
    }
    {
        zov::EngineState engine;
        engine.NotifyLines = true;
        zov::CDebugger debugger(engine);
        CountingSink sink(devNull);
        std::uint32_t line = 1;
        for (auto _ : state) {
            benchmark::DoNotOptimize(debugger.ReportLine(line));
            line = (line & 7u) + 1u;
        }
        state.counters["writes"] = static_cast<double>(sink.Writes());
        state.SetItemsProcessed(state.iterations());
    }
    ::close(devNull);
}
BENCHMARK(ReportNotifyOn);

}  // namespace

BENCHMARK_MAIN();
