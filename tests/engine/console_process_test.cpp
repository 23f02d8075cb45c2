// The zovrun program as the IDE meets it: started with pipes, driven by console lines.

#include "EngineProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace zov::test {
namespace {

const std::string kInitialisation = "ZOV Engine - Initialisation\n";
// The tests run outside the folder of the grammar tables, so every run ends at the first one.
const std::string kRunWithoutTables = kInitialisation + "eng:Impossible de lire le ficher (zov.cgt)\n";

TEST(ConsoleProcess, ExitOnAFreshEngineEndsWithStatusZeroAndNoOutput)
{
    EngineProcess engine({});
    ASSERT_TRUE(engine.Started());
    engine.Send("exit\n");  // input stays open: the exit itself must end the process
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.Exited());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
}

TEST(ConsoleProcess, HelpFlagPrintsTheUsageTextAndRunsNothing)
{
    // The setbkp after -help would print a refusal if anything ran.
    EngineProcess engine({"-help", "|", "setbkp"});
    const ProcessResult r = engine.Finish();
    EXPECT_TRUE(r.Exited());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, ReadGolden("usage.txt"));
    EXPECT_EQ(r.err, "");
}

TEST(ConsoleProcess, VerboseFlagPrintsTheBannerAndEchoesConsoleLines)
{
    EngineProcess engine({"-v"});
    engine.Send("exit\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, ReadGolden("verbose_banner.txt") + "command: exit\n");
}

TEST(ConsoleProcess, HelpCommandListsTheSeventeenCommandsInTableOrder)
{
    EngineProcess engine({});
    engine.Send("help\nexit\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, ReadGolden("help.txt"));
}

TEST(ConsoleProcess, FlagAndCommandInOneArgumentPieceRunNothing)
{
    {
        EngineProcess engine({"-v", "|", "help"});
        engine.Send("exit\n");
        const ProcessResult r = engine.Finish();
        EXPECT_EQ(r.out, ReadGolden("verbose_banner.txt") + ReadGolden("help.txt") + "command: exit\n");
    }
    {
        EngineProcess engine({"-v", "help"});
        engine.Send("exit\n");
        const ProcessResult r = engine.Finish();
        EXPECT_EQ(r.out, ReadGolden("verbose_banner.txt") + "command: exit\n");
    }
}

TEST(ConsoleProcess, ShortLinesBlankLinesAndUnknownWordsProduceNothing)
{
    EngineProcess engine({});
    // "cls" clears a terminal only: on the IDE's pipe it writes nothing either.
    engine.Send("x\n\n   \ndebugstep -val 3\r\nHELPX\ncls\nexit\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
}

TEST(ConsoleProcess, CommandsInTheArgumentsRunBeforeTheConsole)
{
    EngineProcess engine({"setbkp", "-LINE", "3", "-STATE", "ON", "|", "setbkp", "-state", "on"});
    engine.Send("exit\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out,
              "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n"
              "eng: Le numero de la ligne est manquant dans l'appel de la commande.\n");
}

struct MissingParameterCase {
    const char* line;
    const char* expected;
};

class InterpretMissingParameter : public ::testing::TestWithParam<MissingParameterCase> {};

TEST_P(InterpretMissingParameter, PrintsItsLineAndEndsWithStatusOne)
{
    EngineProcess engine({});
    engine.Send(GetParam().line);  // input stays open: the end of the run ends the process
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.Exited());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InterpretMissingParameter,
    ::testing::Values(MissingParameterCase{"interpret -scriptfn s.qzs -params {}\n",
                                           "eng: Le fichier interface est manquant dans l'appel de la commande.\n"},
                      MissingParameterCase{"interpret\n",
                                           "eng: Le fichier interface est manquant dans l'appel de la commande.\n"},
                      MissingParameterCase{"interpret -dicofn i.qzi -params {}\n",
                                           "eng: Le fichier script est manquant dans l'appel de la commande.\n"},
                      MissingParameterCase{"interpret -dicofn i.qzi -scriptfn s.qzs\n",
                                           "eng: Les parametres du script sont manquant.\n"}));

TEST(ConsoleProcess, InterpretWithItsThreeParametersAnnouncesTheRunAndEndsWithStatusOne)
{
    EngineProcess engine({});
    engine.Send("interpret -dicofn \"/no/such/i.qzi\" -scriptfn \"/no/such/s.qzs\" -params {a;b}\n");
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, kRunWithoutTables);
}

TEST(ConsoleProcess, ASecondInterpretIsIgnored)
{
    EngineProcess engine({});
    engine.Send(
        "interpret -dicofn i -scriptfn s -params {}\ninterpret -dicofn i -scriptfn s -params {}\n"
        "interpret\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, kRunWithoutTables);
}

TEST(ConsoleProcess, InterpretInTheArgumentsRuns)
{
    EngineProcess engine({"-v", "|", "interpret", "-dicofn", "i", "-scriptfn", "s", "-params", "{x}"});
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, ReadGolden("verbose_banner.txt") + kInitialisation +
                         "eng:*** Initialisation...\neng:Lecture du fichier grammaire (zov.cgt)\n"
                         "eng:-> Erreur: Impossible de lire le ficher\n");
}

TEST(ConsoleProcess, ExitOvertakesNoLineQueuedBeforeIt)
{
    EngineProcess engine({});
    std::string lines;
    for (int i = 0; i < 200; ++i)
        lines += "setbkp -line " + std::to_string(i) + "\n";
    engine.Send(lines + "exit\nsetbkp\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    std::string expected;
    for (int i = 0; i < 200; ++i)
        expected += "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n";
    EXPECT_EQ(r.out, expected);
}

TEST(ConsoleProcess, AnOverlongLineIsCutAndTheEngineGoesOn)
{
    EngineProcess engine({});
    engine.Send("setbkp -line 3 -name " + std::string(300000, 'x') + "\nexit\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n");
}

// The arguments are joined into one command buffer of 100100 bytes and cut at '|' into at most
// 1000 pieces: what goes beyond is dropped, and the engine goes on.
TEST(ConsoleProcess, OverlongArgumentsAreCutToTheCommandBufferAndAThousandPieces)
{
    const std::string refusal =
        "eng: Le numero de la ligne est manquant dans l'appel de la commande.\n"
        "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n";
    {
        std::vector<std::string> args;
        for (int i = 0; i < 1200; ++i) {
            args.emplace_back("setbkp");
            args.emplace_back("|");
        }
        EngineProcess engine(args);
        engine.Send("exit\n");
        const ProcessResult r = engine.Finish();
        EXPECT_EQ(r.exitCode, 0);
        std::string expected;
        for (int i = 0; i < 1000; ++i)
            expected += refusal;
        EXPECT_EQ(r.out, expected);
    }
    {
        // 120000 bytes of value: the '|' and the command after them lie beyond the buffer.
        EngineProcess engine({"setbkp", "-name", std::string(60000, 'x'), std::string(60000, 'y'), "|", "setbkp"});
        engine.Send("exit\n");
        const ProcessResult r = engine.Finish();
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.out, refusal);
    }
}

TEST(ConsoleProcess, CarriageReturnsEndLinesAsLineFeedsDo)
{
    EngineProcess engine({});
    engine.Send("setbkp -line 1\r\nexit\r\n");
    const ProcessResult r = engine.Finish();
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n");
}

TEST(ConsoleProcess, AnUnfinishedLastLineRunsAtTheEndOfInput)
{
    EngineProcess engine({});
    engine.Send("exit");
    engine.CloseInput();
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
}

class EndingSignal : public ::testing::TestWithParam<int> {};

TEST_P(EndingSignal, EndsTheProcessWithTheSignalNumber)
{
    EngineProcess engine({});
    // The answer to this line shows that the engine has started and its signals are set.
    engine.Send("setbkp -line 1\n");
    ASSERT_TRUE(engine.WaitForOutput("eng: L'etat"));
    engine.Signal(GetParam());
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.Exited()) << "ended by signal " << r.signal;
    EXPECT_EQ(r.exitCode, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Signals, EndingSignal, ::testing::Values(SIGINT, SIGTERM, SIGHUP));

// With its input closed and no run started, nothing can ever reach the engine: it ends as a
// finished run does instead of waiting for ever.
TEST(ConsoleProcess, AtTheEndOfInputAnEngineWithoutARunEnds)
{
    EngineProcess engine({});
    engine.Send("setbkp -line 1\n");
    engine.CloseInput();
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(r.Exited());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n");
}

// SIGSEGV and SIGFPE are taken over by the sanitizers in their builds; SIGILL and SIGABRT
// show the same rule in every build: a fault signal is not turned into an ordinary end.
class FaultSignal : public ::testing::TestWithParam<int> {};

TEST_P(FaultSignal, KeepsItsDefaultAction)
{
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);  // inherited by the engine: no core file in the build folder
    EngineProcess engine({});
    engine.Send("setbkp -line 1\n");
    ASSERT_TRUE(engine.WaitForOutput("eng: L'etat"));
    engine.Signal(GetParam());
    const ProcessResult r = engine.Finish();
    EXPECT_FALSE(r.Exited());
    EXPECT_EQ(r.signal, GetParam());
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
INSTANTIATE_TEST_SUITE_P(Signals, FaultSignal, ::testing::Values(SIGILL, SIGABRT));
#else
// A SIGSEGV that the engine ignored would return to the faulting instruction for ever.
INSTANTIATE_TEST_SUITE_P(Signals, FaultSignal, ::testing::Values(SIGILL, SIGABRT, SIGSEGV, SIGFPE));
#endif

}  // namespace
}  // namespace zov::test
