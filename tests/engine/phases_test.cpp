// The engine phases in process: what Initialise leaves in the tables, what Analyse makes of
// the script text, how a failed phase stops the next, and how Execute hands the global scope
// back only after the debugger can no longer reach it.

#include "engine/runtime/Debugger.h"
#include "engine/console/EnginePhases.h"
#include "engine/runtime/EngineState.h"
#include "engine/runtime/FunctionTable.h"
#include "LineCapture.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace zov {
namespace {

namespace fs = std::filesystem;

GrammarFiles BuiltTables()
{
    const std::string bin = ZOV_BIN_DIR;
    return {bin + "/zov.cgt", bin + "/Function.cgt", bin + "/Interface.cgt"};
}

class PhasesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Engine().Reset();
        Engine().NotifyLines = false;
        Debugger().Reset();
        std::string pattern = (fs::temp_directory_path() / "zov-phases-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        ClearProcessHooks();
        Engine().Reset();
        Debugger().Reset();
        fs::remove_all(dir_);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path dir_;
    test::LineCapture capture;
};

TEST_F(PhasesTest, InitialiseFillsTheTablesAndPutsTheScriptParametersLast)
{
    Engine().SetParamValues("p1", "", "p3");
    const std::string interface =
        Write("i.qzi", ";comment\r\nCONST LIMIT : 40\r\n&add(@1, @2) : \"add %s %s\"\r\nCONST LIMIT : 50\r\nx\r\n");
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), interface));
    EXPECT_TRUE(engine.GrammarLoaded());
    EXPECT_TRUE(engine.Initialised());
    EXPECT_EQ(capture.Out(), "");

    CFunctionTable* functions = GetFunctionTable();
    ASSERT_NE(functions, nullptr);
    EXPECT_EQ(functions->GetCount(), kBuiltinCount + 1);
    EXPECT_EQ(functions->IndexOf("add"), kBuiltinCount);

    // Interface constants first (both LIMIT lines kept), then the parameters given, in order.
    const CMacroTable& macros = *engine.Macros();
    ASSERT_EQ(macros.Size(), 4u);
    EXPECT_EQ(macros.Entry(0).name, "LIMIT");
    EXPECT_EQ(macros.Entry(1).name, "LIMIT");
    EXPECT_EQ(macros.Entry(2).name, "%%1");
    EXPECT_EQ(macros.Entry(3).name, "%%3");
    EXPECT_EQ(macros.Find("LIMIT")->value, "40");
}

TEST_F(PhasesTest, AnInterfaceOfCommentsAndEmptyLinesInitialisesWithNoEntry)
{
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), Write("i.qzi", ";a\n\n;b\r\n\r\n")));
    EXPECT_EQ(engine.Macros()->Size(), 0u);
    EXPECT_EQ(GetFunctionTable()->GetCount(), kBuiltinCount);
}

TEST_F(PhasesTest, AFailedInitialisationRefusesTheAnalysisAndTheRun)
{
    CEngine engine;
    EXPECT_FALSE(engine.Initialise(BuiltTables(), Write("i.qzi", "CONST A : 1\nCONST B : 1 2\nCONST C : 2 3\n")));
    EXPECT_FALSE(engine.Initialised());
    EXPECT_NE(capture.Out().find("eng:-> Erreur: L'initialisation de l'interpreteur comporte des erreurs (2)\n"),
              std::string::npos);

    capture.Clear();
    EXPECT_FALSE(engine.Analyse(Write("s.qzs", "a = 1\n")));
    engine.Execute(Debugger());
    EXPECT_EQ(capture.Out(),
              "eng:*** Analyse...\n"
              "eng:-> Erreur: Impossible de demarrer l'analyse du script\n"
              "eng:-> Erreur: Execution impossible du script\n");
    EXPECT_FALSE(engine.ScriptLoaded());
}

TEST_F(PhasesTest, AMissingScriptGrammarStopsBeforeTheFunctionTable)
{
    GrammarFiles tables = BuiltTables();
    tables.script = (dir_ / "none.cgt").string();
    CFunctionTable* before = GetFunctionTable();
    CEngine engine;
    EXPECT_FALSE(engine.Initialise(tables, Write("i.qzi", "")));
    EXPECT_FALSE(engine.GrammarLoaded());
    EXPECT_EQ(capture.Out(), "eng:Impossible de lire le ficher (" + tables.script + ")\n");
    EXPECT_EQ(GetFunctionTable(), before);
}

TEST_F(PhasesTest, AnalyseJoinsLinesAndExpandsMacrosBeforeParsing)
{
    Engine().SetParamValues("LIMIT", "", "");
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), Write("i.qzi", "CONST LIMIT : 40\nCONST NAME : \"n\"\n")));
    ASSERT_TRUE(engine.Analyse(Write("s.qzs", "a = LIMIT + \\\r\n\t%%1\r\ns = \"LIMIT\"\r\nt = NAME")));
    EXPECT_TRUE(engine.Analysed());
    EXPECT_EQ(engine.ScriptText(), "a = 40 + 40\r\n\ns = \"LIMIT\"\r\nt = \"n\"\r\n");
    EXPECT_NE(engine.Root(), nullptr);
    EXPECT_NE(engine.GlobalScope(), nullptr);
    EXPECT_EQ(capture.Out(), "eng:*** Analyse...\n");
}

TEST_F(PhasesTest, AnalysisErrorsComeAsOneBlockAndTheScopeIsReleased)
{
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), Write("i.qzi", "")));
    EXPECT_FALSE(engine.Analyse(Write("s.qzs", "b = zz + 1\r\nc = yy\r\n")));
    EXPECT_FALSE(engine.Analysed());
    EXPECT_EQ(engine.GlobalScope(), nullptr);
    EXPECT_EQ(capture.Out(),
              "eng:*** Analyse...\n"
              "err: 001 : La variable 'zz' n'a pas ete initialisee\n"
              "err: 002 : La variable 'yy' n'a pas ete initialisee\n");
}

TEST_F(PhasesTest, ScanAndParseErrorsAreWrittenOneALine)
{
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), Write("i.qzi", "")));
    EXPECT_FALSE(engine.Analyse(Write("s.qzs", "a = 1\r\nb = %%1\r\n")));
    EXPECT_FALSE(engine.Analyse(Write("t.qzs", "if a == 1 then\r\n")));
    const std::string out = capture.Out();
    EXPECT_NE(out.find("\nerr: 2 : Erreur de syntaxe\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\nerr: 1 : Il manque un 'end' pour l'instruction 'if'\n"), std::string::npos) << out;
}

TEST_F(PhasesTest, ExecuteClosesVariableAccessBeforeReleasingTheScope)
{
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), Write("i.qzi", "")));
    ASSERT_TRUE(engine.Analyse(Write("s.qzs", "a = 0\r\nwhile a < 20000 do\r\n  a = a + 1\r\nend\r\n")));

    // `getval` arrives on its own thread during and after the run: it may be answered or
    // dropped, but never served from the scope once released (the sanitizers see that).
    std::atomic<bool> done{false};
    std::thread asker([&] {
        while (!done.load())
            Debugger().GetValue("a");
        for (int i = 0; i < 100; ++i)
            Debugger().GetValue("a");
    });
    engine.Execute(Debugger());
    done = true;
    asker.join();

    EXPECT_EQ(engine.GlobalScope(), nullptr);
    capture.Clear();
    Debugger().GetValue("a");
    EXPECT_EQ(capture.Out(), "");
}

TEST_F(PhasesTest, RunWritesTheVerdictOfAVerifyRunAndExecutesNothing)
{
    Engine().VerifyOnly = true;
    EXPECT_TRUE(RunEnginePhases(BuiltTables(), Write("i.qzi", ""), Write("s.qzs", "a = 1\n")));
    EXPECT_EQ(capture.Out(), "eng:*** Analyse...\neng: -> Verification du script ok\nvrf : 1\n");
    EXPECT_EQ(Engine().ScriptRunning.load(), 0);

    capture.Clear();
    EXPECT_FALSE(RunEnginePhases(BuiltTables(), Write("i.qzi", ""), Write("s.qzs", "a = b\n")));
    EXPECT_EQ(capture.Out(),
              "eng:*** Analyse...\n"
              "err: 001 : La variable 'b' n'a pas ete initialisee\n"
              "eng: -> Verification du script nok !\nvrf : 0\n");
}

TEST_F(PhasesTest, AVerifyRunWhoseInitialisationFailsStillGivesItsVerdict)
{
    Engine().VerifyOnly = true;
    const std::string missing = (dir_ / "missing.qzi").string();
    EXPECT_FALSE(RunEnginePhases(BuiltTables(), missing, Write("s.qzs", "a = 1\n")));
    EXPECT_EQ(capture.Out(), "eng:Impossible de lire le ficher (" + missing +
                                 ")\n"
                                 "eng: -> Verification du script nok !\nvrf : 0\n");
}

TEST_F(PhasesTest, RunStopsEveryCliAndExecProcessAfterTheScript)
{
    int clisStopped = 0;
    int execsKilled = 0;
    AddStopAllClisHook([&] { ++clisStopped; });
    AddKillAllExecsHook([&] { ++execsKilled; });

    EXPECT_TRUE(RunEnginePhases(BuiltTables(), Write("i.qzi", ""), Write("s.qzs", "a = 1\n")));
    EXPECT_EQ(Engine().ScriptRunning.load(), 1);
    EXPECT_EQ(capture.Out(), "eng:*** Analyse...\neng:*** Execution...\neng:*** Fin execution\n");
    EXPECT_EQ(clisStopped, 1);
    EXPECT_EQ(execsKilled, 1);

    // A failed analysis still ends the run the same way, after the refusal line.
    capture.Clear();
    EXPECT_FALSE(RunEnginePhases(BuiltTables(), Write("i.qzi", ""), Write("s.qzs", "a = b\n")));
    EXPECT_EQ(capture.Out(),
              "eng:*** Analyse...\n"
              "err: 001 : La variable 'b' n'a pas ete initialisee\n"
              "eng:-> Erreur: Execution impossible du script\n");
    EXPECT_EQ(clisStopped, 2);
    EXPECT_EQ(execsKilled, 2);
}

TEST_F(PhasesTest, AnEmptyScriptIsTheTextOfOneLineEndAndRunsNothing)
{
    CEngine engine;
    ASSERT_TRUE(engine.Initialise(BuiltTables(), Write("i.qzi", "")));
    ASSERT_TRUE(engine.Analyse(Write("s.qzs", "")));
    EXPECT_EQ(engine.ScriptText(), "\r\n");
    engine.Execute(Debugger());
    EXPECT_EQ(capture.Out(), "eng:*** Analyse...\neng:*** Execution...\neng:*** Fin execution\n");
}

TEST_F(PhasesTest, VerboseRunWritesTheMemoryLineAfterTheAnalysis)
{
    Engine().Verbose = true;
    Engine().VerifyOnly = true;
    EXPECT_TRUE(RunEnginePhases(BuiltTables(), Write("i.qzi", ""), Write("s.qzs", "a = 1\n")));
    const std::string out = capture.Out();
    const std::size_t end = out.find("eng:*** Fin analyse\neng: -> Memoire allouee pour le script : ");
    ASSERT_NE(end, std::string::npos) << out;
    EXPECT_NE(out.find(" Ko\neng: -> Verification du script ok\nvrf : 1\n", end), std::string::npos) << out;
}

}  // namespace
}  // namespace zov
