// The console commands as the reader thread runs them: their effect on the engine state and
// the debugger, and the lines they write.

#include "engine/console/Console.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "LineCapture.h"
#include "engine/processes/ProcessRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>

namespace zov {
namespace {

const char kMissingLine[] = "eng: Le numero de la ligne est manquant dans l'appel de la commande.\n";
const char kMissingState[] = "eng: L'etat du point d'arrêt est manquant dans l'appel de la commande.\n";

class ConsoleCommands : public ::testing::Test {
protected:
    ConsoleCommands()
    {
        Engine().Reset();
        Debugger().Reset();
        ClearProcessHooks();
    }
    ~ConsoleCommands() override
    {
        ClearProcessHooks();
        Engine().Reset();
        Debugger().Reset();
    }

    test::LineCapture lines;
};

constexpr char kLineOutOfRange[] = "eng: Le numero de la ligne du point d'arret doit etre entre 1 et 10000.\n";

struct SetBkpCase {
    const char* line;
    std::string output;
    int breakpointLine;   // line to look at afterwards (0: none)
    std::uint16_t state;  // its expected state
};

class SetBkp : public ConsoleCommands, public ::testing::WithParamInterface<SetBkpCase> {};

TEST_P(SetBkp, StoresTheStateOrNamesWhatIsMissing)
{
    Debugger().SetBreakpoint(12, 77);  // a state "on"/"off" would overwrite; a refusal keeps
    DispatchCommand(GetParam().line);
    EXPECT_EQ(lines.Out(), GetParam().output);
    if (GetParam().breakpointLine) {
        EXPECT_EQ(Debugger().Breakpoint(GetParam().breakpointLine), GetParam().state);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SetBkp,
                         ::testing::Values(SetBkpCase{"setbkp -line 12 -state on", "", 12, 256},
                                           SetBkpCase{"setbkp -line 12 -state off", "", 12, 0},
                                           SetBkpCase{"SETBKP -LINE 12 -STATE on", "", 12, 256},
                                           SetBkpCase{"setbkp -line 10000 -state on", "", 10000, 256},
                                           SetBkpCase{"setbkp -line 12 -state ON", kMissingState, 12, 77},
                                           SetBkpCase{"setbkp -state on", kMissingLine, 12, 77},
                                           SetBkpCase{"setbkp -line 12", kMissingState, 12, 77},
                                           SetBkpCase{"setbkp", std::string(kMissingLine) + kMissingState, 12, 77},
                                           SetBkpCase{"setbkp -line -state on", kMissingState, 12, 77},
                                           // A line outside the stored range is said, not ignored.
                                           SetBkpCase{"setbkp -line 10001 -state on", kLineOutOfRange, 10000, 0},
                                           SetBkpCase{"setbkp -line 0 -state on", kLineOutOfRange, 1, 0},
                                           SetBkpCase{"setbkp -line 10001 -state off", kLineOutOfRange, 12, 77}));

TEST_F(ConsoleCommands, ResetBkpClearsEveryLine)
{
    DispatchCommand("setbkp -line 1 -state on");
    DispatchCommand("setbkp -line 10000 -state on");
    DispatchCommand("resetbkp");
    EXPECT_EQ(Debugger().Breakpoint(1), 0);
    EXPECT_EQ(Debugger().Breakpoint(10000), 0);
    EXPECT_EQ(lines.Out(), "");
}

TEST_F(ConsoleCommands, SyncFillsTheHighestFreeSlotAndStoresAValueOnce)
{
    DispatchCommand("sync -val 7");
    DispatchCommand("sync -val 7");
    DispatchCommand("sync -val 9");
    DispatchCommand("sync");           // no value: nothing
    DispatchCommand("sync -val abc");  // no number reads as 0
    const auto table = Engine().SyncTable();
    EXPECT_EQ(table[31], 7);
    EXPECT_EQ(table[30], 9);
    EXPECT_EQ(table[29], 0);
    EXPECT_EQ(table[28], kFreeSyncSlot);
    EXPECT_EQ(std::count(table.begin(), table.end(), 7), 1);
    EXPECT_EQ(lines.Out(), "");
}

TEST_F(ConsoleCommands, SyncOnAFullTableChangesNothing)
{
    for (int v = 100; v < 100 + kSyncSlots; ++v)
        DispatchCommand("sync -val " + std::to_string(v));
    const auto before = Engine().SyncTable();
    EXPECT_EQ(std::count(before.begin(), before.end(), kFreeSyncSlot), 0);
    DispatchCommand("sync -val 5");
    EXPECT_EQ(Engine().SyncTable(), before);
}

struct SetDataCase {
    std::string line;
    std::string name;
    std::string value;
};

class SetData : public ConsoleCommands, public ::testing::WithParamInterface<SetDataCase> {};

TEST_P(SetData, StoresTheDatumAndAlwaysSetsDataReady)
{
    Engine().SetImport("old", "previous");
    DispatchCommand(GetParam().line);
    EXPECT_TRUE(Engine().DataReady());
    EXPECT_EQ(Engine().ImportName(), GetParam().name);
    EXPECT_EQ(Engine().ImportValue(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetData,
    ::testing::Values(SetDataCase{"setdata -name temp -val \"21,5 C\"", "temp", "21,5 C"},
                      SetDataCase{"setdata -name temp", "old", "previous"},
                      SetDataCase{"setdata -val 3", "old", "previous"}, SetDataCase{"setdata", "old", "previous"},
                      SetDataCase{"setdata -name " + std::string(70, 'n') + " -val " + std::string(600, 'v'),
                                  std::string(64, 'n'), std::string(512, 'v')}));

struct FlagCase {
    const char* line;
    std::function<bool()> holds;
};

class FlagCommand : public ConsoleCommands, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagCommand, SetsItsField)
{
    DispatchCommand(GetParam().line);
    EXPECT_TRUE(GetParam().holds()) << GetParam().line;
    EXPECT_EQ(lines.Out(), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, FlagCommand,
                         ::testing::Values(FlagCase{"speed -val 250", [] { return Engine().LineDelayMs == 250; }},
                                           FlagCase{"speed", [] { return Engine().LineDelayMs == 0; }},
                                           FlagCase{"speed -val x", [] { return Engine().LineDelayMs == 0; }},
                                           FlagCase{"notifyline -val 0", [] { return !Engine().NotifyLines; }},
                                           FlagCase{"notifyline -val 2", [] { return Engine().NotifyLines.load(); }},
                                           FlagCase{"notifyline -val off", [] { return !Engine().NotifyLines; }},
                                           FlagCase{"notifyline", [] { return Engine().NotifyLines.load(); }},
                                           FlagCase{"verify -val 1", [] { return Engine().VerifyOnly.load(); }},
                                           FlagCase{"verify -val 2", [] { return !Engine().VerifyOnly; }},
                                           FlagCase{"VERIFY -VAL 1", [] { return Engine().VerifyOnly.load(); }},
                                           FlagCase{"timeout -val 12", [] { return Engine().CliTimeoutSec == 12; }},
                                           FlagCase{"timeout", [] { return Engine().CliTimeoutSec == 5; }},
                                           FlagCase{"timeout -val -1", [] { return Engine().CliTimeoutSec == -1; }}));

TEST_F(ConsoleCommands, DebuggerCommandsWaitForARunningScript)
{
    DispatchCommand("next");
    EXPECT_FALSE(Debugger().Stepping());
    EXPECT_TRUE(Debugger().Waiting());
    DispatchCommand("break");
    EXPECT_FALSE(Debugger().Stepping());

    Engine().ScriptRunning = 1;
    DispatchCommand("next");
    EXPECT_TRUE(Debugger().Stepping());
    EXPECT_FALSE(Debugger().Waiting());
    DispatchCommand("continue");
    EXPECT_FALSE(Debugger().Stepping());
    DispatchCommand("break");
    EXPECT_TRUE(Debugger().Stepping());
    EXPECT_EQ(lines.Out(), "");
}

TEST_F(ConsoleCommands, HelpAndClsAreRefusedWhileAScriptRuns)
{
    Engine().ScriptRunning = 1;
    DispatchCommand("help");
    DispatchCommand("cls");
    EXPECT_EQ(lines.Out(), "");
    Engine().ScriptRunning = 0;
    DispatchCommand("help");
    EXPECT_EQ(lines.Out(), HelpListing());
}

TEST_F(ConsoleCommands, HelpListsEveryCommandWithItsParameters)
{
    const std::string help = HelpListing();
    EXPECT_EQ(help.rfind(" \n {exit}\n", 0), 0u);
    EXPECT_NE(help.find(" {interpret}\n -Description: function d'interpretation de script.\n -Parametres: \n"
                        " \t[-dicofn]: Specifie le fichier dictionnaire\n"
                        " \t[-scriptfn]: Specifie le fichier script\n"
                        " \t[-params]: Specifie les parametres externes du script\n\n\n {setbkp}\n"),
              std::string::npos);
    std::size_t blocks = 0;
    for (std::size_t at = help.find(" {"); at != std::string::npos; at = help.find(" {", at + 1))
        ++blocks;
    EXPECT_EQ(blocks, 17u);
}

TEST_F(ConsoleCommands, ExitEndsExecProgramsAndAsksForStatusZero)
{
    std::atomic<int> killed{0};
    AddKillAllExecsHook([&] { ++killed; });
    DispatchCommand("EXIT");
    EXPECT_EQ(killed, 1);
    EXPECT_TRUE(Engine().QuitRequested());
    EXPECT_EQ(Engine().WaitForQuit(), 0);
    EXPECT_EQ(lines.Out(), "");
}

// The tests run outside the folder of the grammar tables, so every run ends at the first one.
const std::string kRunWithoutTables = "ZOV Engine - Initialisation\neng:Impossible de lire le ficher (zov.cgt)\n";

struct InterpretCase {
    const char* line;
    std::string output;
    std::array<std::string, 3> params;
};

class Interpret : public ConsoleCommands, public ::testing::WithParamInterface<InterpretCase> {};

TEST_P(Interpret, ChecksItsParametersThenEndsTheRun)
{
    DispatchCommand(GetParam().line);
    EXPECT_EQ(Engine().WaitForQuit(), 1);
    EXPECT_EQ(lines.Out(), GetParam().output);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Engine().ParamValue(i), GetParam().params[static_cast<std::size_t>(i)]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Interpret,
    ::testing::Values(
        InterpretCase{"interpret -scriptfn s -params {a}",
                      "eng: Le fichier interface est manquant dans l'appel de la commande.\n",
                      {}},
        InterpretCase{"interpret -dicofn i -params {a}",
                      "eng: Le fichier script est manquant dans l'appel de la commande.\n",
                      {}},
        InterpretCase{"interpret -dicofn i -scriptfn s", "eng: Les parametres du script sont manquant.\n", {}},
        InterpretCase{
            "interpret -dicofn \"i 1\" -scriptfn \"s 1\" -params {a;b;c;d}", kRunWithoutTables, {"a", "b", "c;d"}},
        InterpretCase{"interpret -dicofn i -scriptfn s -params {}", kRunWithoutTables, {}}));

TEST_F(ConsoleCommands, ASecondInterpretIsIgnored)
{
    DispatchCommand("interpret -dicofn i -scriptfn s -params {first}");
    EXPECT_EQ(Engine().WaitForQuit(), 1);
    DispatchCommand("interpret -dicofn i -scriptfn s -params {second}");
    DispatchCommand("interpret");
    EXPECT_EQ(lines.Out(), kRunWithoutTables);
    EXPECT_EQ(Engine().ParamValue(0), "first");
}

TEST_F(ConsoleCommands, GetValAndSetValBeforeInterpretWriteNothing)
{
    DispatchCommand("getval -name x");
    DispatchCommand("setval -name x -val 3");
    EXPECT_EQ(lines.Out(), "");
}

}  // namespace
}  // namespace zov

namespace zov {
namespace {

class EndOfProcess : public ::testing::TestWithParam<int> {};

TEST_P(EndOfProcess, StopsEveryCliThenEndsWithTheStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ClearProcessHooks();
            AddStopAllClisHook([] { WriteAll(2, "every CLI stopped\n"); });
            OnSignal(GetParam());
        },
        ::testing::ExitedWithCode(GetParam()), "every CLI stopped");
}

INSTANTIATE_TEST_SUITE_P(Statuses, EndOfProcess, ::testing::Values(0, 1, 2, 15));

}  // namespace
}  // namespace zov
