// The engine's output lines: formatting and the one writer shared by every thread.

#include "LineCapture.h"
#include "engine/base/Output.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <unistd.h>
#include <thread>
#include <vector>

namespace zov {
namespace {

TEST(FormatLine, PointerIsUpperCaseHexOfPointerWidth)
{
    const void* p = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0xABCDEF));
    const std::string expected = "cmd:val:v:2:" + std::string(2 * sizeof(void*) - 6, '0') + "ABCDEF\n";
    EXPECT_EQ(FormatLine(lines::CmdValVoid, "v", p), expected);
    EXPECT_EQ(FormatLine("%p", static_cast<void*>(nullptr)), std::string(2 * sizeof(void*), '0'));
}

TEST(FormatLine, ProducesTheDocumentedLines)
{
    EXPECT_EQ(FormatLine(lines::ErrLine, 7, "Symbole introuvable"), "err: 007 : Symbole introuvable\n");
    EXPECT_EQ(FormatLine(lines::ErrLineIndex, 1234, "Indice", -2), "err: 1234 : Indice (-2)\n");
    EXPECT_EQ(FormatLine(lines::EngInterfaceLineError, 3, "CONST x"), "eng:-> Erreur: ligne 00003 texte=CONST x\n");
    EXPECT_EQ(FormatLine(lines::CmdValHex, "p|x", 255), "cmd:val:p|x:2:0xFF\n");
    EXPECT_EQ(FormatLine(lines::CmdValOctal, "x", 8), "cmd:val:x:4:0o10\n");
    EXPECT_EQ(FormatLine(lines::CmdValReal, "r", 0.1), "cmd:val:r:5:0.1\n");
    EXPECT_EQ(FormatLine(lines::CmdValReal, "r", 1e20), "cmd:val:r:5:1E+20\n");
    EXPECT_EQ(FormatLine(lines::CmdValReal, "r", 1.0 / 3), "cmd:val:r:5:0.333333333333333\n");
    EXPECT_EQ(FormatLine(lines::CmdValString, "s", "a:b\nc"), "cmd:val:s:7:a:b\nc\n");
    EXPECT_EQ(FormatLine(lines::Trace, 12, "x"), "trc: 12:x\n");
    EXPECT_EQ(FormatLine(lines::OutNamedTimeout, "cli", "part"), "out:[cli] (timeout) part\n");
    EXPECT_EQ(FormatLine(lines::ErrCliForcedEnd, "cli"), "[cli] Terminaison forcee du CLI !\n");
}

TEST(FormatLine, HandlesWidthsLengthsAndOddSpecs)
{
    EXPECT_EQ(FormatLine("%5s|%-4d|%*d|%.2f|%%|%c", "ab", 7, 3, 9, 1.005, 'z'), "   ab|7   |  9|1.00|%|z");
    EXPECT_EQ(FormatLine("%lld %lu %zu %hhd", -1LL, 2UL, static_cast<std::size_t>(3), 300), "-1 2 3 44");
    EXPECT_EQ(FormatLine(std::string(1000, 'x').append("%d").c_str(), 1), std::string(1000, 'x') + "1");
    EXPECT_EQ(FormatLine("%s", std::string(5000, 'y').c_str()), std::string(5000, 'y'));
}

TEST(FormatLine, RefusesPercentNAndKeepsATrailingPercent)
{
    // Literal formats only: a "%n" would write through a pointer.
    const char* withN = "a%nb";
    const char* trailing = "50%";
    EXPECT_EQ(FormatLine(withN), "a%nb");
    EXPECT_EQ(FormatLine(trailing), "50%");
}

TEST(Writer, SendsEachLineToItsStream)
{
    test::LineCapture capture;
    WriteOut(lines::CmdBreakpoint, 12);
    WriteErr(lines::ErrCliMissing);
    WriteText(Stream::Out, "vrf : 1\n");
    EXPECT_EQ(capture.Out(), "cmd: bk : 12\nvrf : 1\n");
    EXPECT_EQ(capture.Err(), "Erreur: CLI inexistant\n");
}

TEST(Writer, LinesFromManyThreadsOnBothStreamsNeverInterleave)
{
    // The sink writes each line in two halves with a yield between: only the writer's lock
    // keeps another thread's line out of the middle.
    std::mutex recordLock;
    std::string record;
    const LineSink previous = SetLineSink([&](Stream stream, std::string_view text) {
        const std::size_t half = text.size() / 2;
        {
            std::lock_guard<std::mutex> hold(recordLock);
            record += stream == Stream::Out ? 'O' : 'E';
            record.append(text.substr(0, half));
        }
        sched_yield();
        std::lock_guard<std::mutex> hold(recordLock);
        record.append(text.substr(half));
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            const std::string body(200, static_cast<char>('a' + t));
            for (int i = 0; i < 200; ++i) {
                if (i % 2)
                    WriteOut("trc: %d:%s\n", t, body.c_str());
                else
                    WriteErr("[%d] %s\n", t, body.c_str());
            }
        });
    }
    for (std::thread& th : threads)
        th.join();
    SetLineSink(previous);

    std::size_t count = 0;
    std::size_t at = 0;
    while (at < record.size()) {
        const std::size_t end = record.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = record.substr(at, end - at);
        const int t = line[line.size() - 1] - 'a';
        const std::string body(200, static_cast<char>('a' + t));
        const std::string expectedOut = "Otrc: " + std::to_string(t) + ":" + body;
        const std::string expectedErr = "E[" + std::to_string(t) + "] " + body;
        ASSERT_TRUE(line == expectedOut || line == expectedErr) << "split line: " << line;
        ++count;
        at = end + 1;
    }
    EXPECT_EQ(count, 8u * 200u);
}

// The IDE, or a shell, may give the engine a non-blocking pipe. Once the pipe is full the
// writer waits for the reader: nothing is dropped and no line is cut.
TEST(Writer, AFullNonBlockingPipeDelaysTheTextInsteadOfDroppingIt)
{
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC), 0);
    ASSERT_EQ(fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK), 0);
    std::string text;
    for (int i = 0; text.size() < 1024 * 1024; ++i)
        text += "trc: " + std::to_string(i) + ":" + std::string(100, 'x') + "\n";

    const auto previous = signal(SIGPIPE, SIG_IGN);
    bool written = false;
    std::thread writer([&] {
        written = WriteAll(fds[1], text);  // far more than a pipe holds
        close(fds[1]);
    });
    std::string received;
    char buffer[65536];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ADD_FAILURE() << "read: " << std::strerror(errno);
            break;
        }
        received.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);  // a writer still waiting then fails instead of waiting for ever
    writer.join();
    signal(SIGPIPE, previous);
    EXPECT_TRUE(written);
    EXPECT_EQ(received.size(), text.size());
    EXPECT_TRUE(received == text);
}

TEST(Writer, AClosedPipeIsReportedAsAFailure)
{
    int fds[2];
    ASSERT_EQ(pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
    close(fds[0]);
    const auto previous = signal(SIGPIPE, SIG_IGN);
    EXPECT_FALSE(WriteAll(fds[1], "cmd: bk : 1\n"));
    signal(SIGPIPE, previous);
    close(fds[1]);
}

TEST(LineNames, EachTaggedLineIsOneLine)
{
    const char* const oneLiners[] = {lines::CommandEcho,
                                     lines::EngMissingInterface,
                                     lines::EngMissingScript,
                                     lines::EngMissingParams,
                                     lines::EngMissingLine,
                                     lines::EngMissingState,
                                     lines::EngInitStart,
                                     lines::EngReadGrammar,
                                     lines::EngStepSuccess,
                                     lines::EngCannotReadVerbose,
                                     lines::EngCannotRead,
                                     lines::EngCannotAddFunction,
                                     lines::EngBadFunctionInit,
                                     lines::EngReadInterface,
                                     lines::EngInterfaceLineError,
                                     lines::EngInitErrors,
                                     lines::EngInitEnd,
                                     lines::EngAnalyseStart,
                                     lines::EngAnalyseRefused,
                                     lines::EngReadScript,
                                     lines::EngScriptSize,
                                     lines::EngLineTooLong,
                                     lines::EngBufferSize,
                                     lines::EngJoinLines,
                                     lines::EngMacros,
                                     lines::EngExpandedSize,
                                     lines::EngMacroTooDeep,
                                     lines::EngBuildTree,
                                     lines::EngEmptyTree,
                                     lines::EngNameAnalysis,
                                     lines::EngTypeAnalysis,
                                     lines::EngTypeAnalysisFailed,
                                     lines::EngAnalyseEnd,
                                     lines::EngScriptMemory,
                                     lines::EngVerifyOk,
                                     lines::VrfOk,
                                     lines::EngVerifyNok,
                                     lines::VrfNok,
                                     lines::EngExecuteStart,
                                     lines::EngExecuteRefused,
                                     lines::EngExecuteEnd,
                                     lines::EngNullNameAnalysis,
                                     lines::EngNullTypeAnalysis,
                                     lines::ErrScriptTooLarge,
                                     lines::ErrScriptNoMemory,
                                     lines::ErrLine,
                                     lines::ErrLineIndex,
                                     lines::CmdBreakpoint,
                                     lines::CmdRun,
                                     lines::CmdValDecimal,
                                     lines::CmdValBasedDecimal,
                                     lines::CmdValHex,
                                     lines::CmdValVoid,
                                     lines::CmdValBinary,
                                     lines::CmdValOctal,
                                     lines::CmdValReal,
                                     lines::CmdValTrue,
                                     lines::CmdValFalse,
                                     lines::CmdValString,
                                     lines::CmdOk,
                                     lines::CmdNok,
                                     lines::CmdWarning,
                                     lines::CmdInfo,
                                     lines::Trace,
                                     lines::SyncSent,
                                     lines::ExportData,
                                     lines::ImportRequest,
                                     lines::OutNamed,
                                     lines::OutUnnamed,
                                     lines::OutNamedTimeout,
                                     lines::OutUnnamedTimeout,
                                     lines::OutNamedTimeoutEmpty,
                                     lines::OutUnnamedTimeoutEmpty,
                                     lines::EngCliDebugStart,
                                     lines::EngCliDebugIn,
                                     lines::EngCliDebugOut,
                                     lines::EngCliStopping,
                                     lines::EngCliStopped,
                                     lines::ErrCliCannotStart,
                                     lines::ErrCliMissing,
                                     lines::ErrCliCannotStop,
                                     lines::ErrProcessCannotEnd,
                                     lines::ErrWatchThread,
                                     lines::ErrCliForcedEnd,
                                     lines::EngineInitialisation};
    for (const char* line : oneLiners) {
        const std::string_view text(line);
        EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    }
}

}  // namespace
}  // namespace zov
