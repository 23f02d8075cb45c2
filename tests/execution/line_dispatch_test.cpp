// The engine's lines as the dispatch reads them: tags in order, bodies by position or by colon,
// untagged lines, lines cut across chunks, the "cmd" words and every edge the reader must take.
#include <gtest/gtest.h>

#include "DriverHarness.h"

namespace zov::execution {
namespace {

using Events = std::vector<std::string>;

class Dispatch : public ::testing::Test, public test::DriverHarness {
protected:
    void Attach(RunRecord* r, bool verify = false) { driver.AttachTranscript(r, link, verify); }
    RunRecord record{.testName = "t1"};
};

TEST_F(Dispatch, EachTagGoesWhereItBelongs)
{
    const struct {
        const char* line;
        Events events;
    } cases[] = {
        {"out:[cli] hello  ", {"trace cli - [cli] hello"}},
        {"out: plain", {"trace cli - plain"}},
        {"trc: 14:text here", {"trace script 14 text here"}},
        {"trc: no colon", {"trace script 0 no colon"}},
        {"trc: 3:a:b", {"trace script 3 a:b"}},
        {"eng:*** Analyse...", {"trace interp - *** Analyse..."}},
        {"err: 12 :  Erreur de syntaxe", {"error  t1|  12 |   Erreur de syntaxe"}},
        {"err: 12 :Il manque un 'end'", {"error  t1|  12 | Il manque un 'end'"}},
        {"err: Le script est trop grand, taille > 2 Go", {"error  t1| |  Le script est trop grand, taille > 2 Go"}},
        {"syn: 7", {"sync 7"}},
        {"exp: N : V", {"data N=V"}},
        {"exp: N : a:b ", {"data N=a:b"}},
        {"cmd:val:a|b:3:42", {"var a:b 3 42"}},
        {"cmd:val:s:7:x : y", {"var s 7 x : y"}},
        {"cmd: inf : quelque chose", {}},
        {"cmd: autre : 1", {}},
        {"zzz untagged", {"trace system - zzz untagged"}},  // last tag 4 at the start
    };
    for (const auto& c : cases) {
        log.Clear();
        Attach(&record);
        driver.FeedTranscript(std::string(c.line) + "\n");
        EXPECT_EQ(log.Events(), c.events) << c.line;
    }
}

TEST_F(Dispatch, UntaggedLinesContinueTheLastTag)
{
    Attach(&record);
    driver.FeedTranscript(
        "out: a\r\nsuite cli\ntrc: 2:b\nsuite script\neng:c\nsuite interp\nerr: 4 : d\nsuite err\n"
        "cmd: run : 5\nencore err\n");
    EXPECT_EQ(Logged("trace"), (Events{"trace cli - a", "trace cli - suite cli", "trace script 2 b",
                                       "trace script - suite script", "trace interp - c", "trace interp - suite interp",
                                       "trace script - suite err", "trace script - encore err"}));
    // The run's log keeps the script and CLI traces, never the interpreter's.
    EXPECT_EQ(driver.RunTraceText(), "a\nsuite cli\nb\nsuite script\nsuite err\nencore err\n");
}

TEST_F(Dispatch, LineWithoutItsLineFeedWaits)
{
    Attach(&record);
    driver.FeedTranscript("trc: 1:first\ntrc: 2:sec");
    EXPECT_EQ(Logged("trace"), Events{"trace script 1 first"});
    EXPECT_EQ(driver.PendingText(), "trc: 2:sec");
    driver.FeedTranscript("ond\n");
    EXPECT_EQ(Logged("trace"), (Events{"trace script 1 first", "trace script 2 second"}));
    EXPECT_EQ(driver.PendingText(), "");
}

TEST_F(Dispatch, VerdictsAndWarningsWriteTheRecord)
{
    Attach(&record);
    driver.FeedTranscript("cmd: wng : 5 : attention\ncmd: wng : 5 : encore\ncmd: ok : 12 : T\n");
    EXPECT_EQ(record.resultCode, kResultOk);
    EXPECT_EQ(record.resultLine, 12);
    EXPECT_EQ(record.resultText, "T");
    EXPECT_EQ(record.warnings, (std::vector<std::string>{"attention", "encore"}));
    EXPECT_EQ(Logged("mark"), (Events{"mark warning 5 on", "mark warning 5 off"}));  // toggled

    driver.FeedTranscript("cmd: nok : x7 : pas bon : du tout\n");
    EXPECT_EQ(record.resultCode, kResultNok);
    EXPECT_EQ(record.resultLine, 0);  // atoi of "x7"
    EXPECT_EQ(record.resultText, "pas bon : du tout");
}

TEST_F(Dispatch, ErrorSetsCodeFiveAndTellsTheMainFrame)
{
    record.toRun = true;
    Attach(&record);
    driver.FeedTranscript("err: 003 : Symbole introuvable\n");
    EXPECT_EQ(record.resultCode, kResultError);
    EXPECT_FALSE(record.toRun);
    EXPECT_TRUE(driver.HasError());
    EXPECT_EQ(host.scriptErrors, 1);
}

TEST_F(Dispatch, VerificationResult)
{
    const struct {
        const char* line;
        int code;
    } cases[] = {{"vrf : 1", kResultVerified}, {"vrf : 0", kResultVerifyError}, {"vrf : x", kResultVerifyError}};
    for (const auto& c : cases) {
        RunRecord r{.testName = "v", .resultLine = 9, .resultText = "old"};
        Attach(&r, true);
        driver.FeedTranscript(std::string(c.line) + "\n");
        EXPECT_EQ(r.resultCode, c.code) << c.line;
        EXPECT_EQ(r.resultLine, 1);
        EXPECT_EQ(r.resultText, "");
    }
}

TEST_F(Dispatch, WithoutRecordNoRecordChangesAndNoMarks)
{
    Attach(nullptr);
    driver.FeedTranscript("syn: 3\nvrf : 1\ncmd: ok : 1 : a\ncmd: nok : 1 : b\ncmd: wng : 2 : c\n");
    EXPECT_TRUE(Logged("sync").empty());
    EXPECT_TRUE(Logged("mark").empty());
}

TEST_F(Dispatch, ImportAnswersWithTheStoredValueOnOneLine)
{
    host.data["N"] = "line1\r\nexit";
    Attach(&record);
    driver.FeedTranscript("imp: N\nimp: absent\n");
    EXPECT_EQ(Logged("send"),
              (Events{"send setdata -name N -val \"line1  exit\"\\n\\n", "send setdata -name absent -val \"\"\\n\\n"}));
}

TEST_F(Dispatch, BreakpointPausesMarksAndAsksForWatchedVariables)
{
    host.watched = {"x", "a:b"};
    host.settings.showExecution = true;
    Attach(&record);
    driver.FeedTranscript("cmd: bk : 7\n");
    EXPECT_TRUE(driver.IsPaused());
    EXPECT_FALSE(driver.IsRunning());
    EXPECT_EQ(sinks.executionLine, 7);
    EXPECT_EQ(Logged("send"), (Events{"send getval -name x\\n", "send getval -name a|b\\n"}));
    EXPECT_EQ(Logged("paused"), Events{"paused 7"});
    // Paused, lines are still dispatched (the getval answers come now).
    driver.FeedTranscript("cmd:val:x:0:1\n");
    EXPECT_EQ(Logged("var"), Events{"var x 0 1"});
}

TEST_F(Dispatch, BreakpointAtLineZeroMarksNothing)
{
    Attach(&record);
    driver.FeedTranscript("cmd: bk : zz\n");
    EXPECT_TRUE(driver.IsPaused());
    EXPECT_TRUE(Logged("mark").empty());
}

TEST_F(Dispatch, RunLinesWaitForTheTimer)
{
    host.settings.showExecution = true;
    Attach(&record);
    driver.FeedTranscript("cmd: run : 3\ncmd: run : 4\n");
    EXPECT_TRUE(Logged("mark").empty());
    driver.OnLineTimer();
    EXPECT_EQ(Logged("mark"), Events{"mark execution 4 on"});
    driver.OnLineTimer();  // nothing new
    EXPECT_EQ(Logged("mark").size(), 1u);
}

TEST_F(Dispatch, RunLinesIgnoredInVerificationOrWithoutDisplay)
{
    host.settings.showExecution = false;
    Attach(&record);
    driver.FeedTranscript("cmd: run : 3\n");
    driver.OnLineTimer();
    host.settings.showExecution = true;
    Attach(&record, true);
    driver.FeedTranscript("cmd: run : 5\n");
    driver.OnLineTimer();
    EXPECT_TRUE(Logged("mark").empty());
}

TEST_F(Dispatch, RealTimeVariablesAskAtEveryLine)
{
    host.settings.showExecution = false;
    host.settings.realTimeVariables = true;
    host.watched = {"v"};
    Attach(&record);
    driver.FeedTranscript("cmd: run : 3\ncmd: run : 3\n");
    EXPECT_EQ(Logged("send").size(), 2u);
}

TEST_F(Dispatch, InterfaceErrorQueuesABoxWithTheDefinition)
{
    interfaces.definitions[3] = {2, "$sin(@1) : \"sin -v %s\""};
    interfaces.definitions[4] = {9, "???"};
    Attach(&record);
    driver.FeedTranscript("dpb: 3 : Fonction inconnue\ndpb: 4:x\ndpb: sans deux-points\n");
    EXPECT_EQ(Logged("box"),
              (Events{"box Erreur dans l'interface : Fonction inconnue\\r\\n-> Function : $sin(@1) : \"sin -v %s\"",
                      "box Erreur dans l'interface : x\\r\\n-> Type inconnu : ???", "box Erreur dans l'interface"}));
    EXPECT_TRUE(driver.HasError());
    EXPECT_EQ(record.resultCode, kResultNotRun);  // an interface error is no verdict
}

TEST_F(Dispatch, KindWordsOfInterfaceErrors)
{
    const char* words[] = {"Type inconnu", "CLI", "Function", "Constante", "Macro", "Type inconnu"};
    for (int kind = 0; kind <= 5; ++kind) {
        log.Clear();
        interfaces.definitions[1] = {kind, "d"};
        Attach(&record);
        driver.FeedTranscript("dpb: 1 : m\n");
        EXPECT_EQ(Logged("box"),
                  Events{std::string("box Erreur dans l'interface : m\\r\\n-> ") + words[kind] + " : d"});
    }
}

TEST_F(Dispatch, NothingIsDispatchedOnceTheRunIsNeitherRunningNorPaused)
{
    Attach(&record);
    driver.FeedTranscript("cmd: ok : 1 : a\n");
    driver.StopScript();  // after the verdict: sends nothing
    EXPECT_TRUE(Logged("send").empty());
    driver.DetachTranscript();
    RecordingLink other;
    driver.AttachTranscript(&record, other, false);
    record.resultCode = kResultRunning;
    driver.StopScript();
    EXPECT_EQ(Logged("send"), Events{"send exit\\n\\n"});
    EXPECT_EQ(record.resultCode, kResultStopped);
    EXPECT_EQ(host.stopped, 1);
    driver.FeedTranscript("trc: 1:late\n");
    EXPECT_TRUE(Logged("trace").empty());
    EXPECT_EQ(driver.PendingText(), "trc: 1:late\n");
}

TEST_F(Dispatch, CommandLinesEchoedByTheEngineAreUntagged)
{
    Attach(&record);
    driver.FeedTranscript("eng:x\ncommand: getval -name x\n[cli] Terminaison forcee du CLI !\n");
    EXPECT_EQ(Logged("trace"), (Events{"trace interp - x", "trace interp - command: getval -name x",
                                       "trace interp - [cli] Terminaison forcee du CLI !"}));
}

TEST(ErrorRow, SplitsAtTheFirstColon)
{
    RunRecord r{.testName = "t"};
    const ErrorRow a = SplitErrorText(" 12 : msg : more\r", &r);
    EXPECT_EQ(a.entry, " t");
    EXPECT_EQ(a.line, "  12 ");
    EXPECT_EQ(a.message, "  msg : more");
    const ErrorRow b = SplitErrorText("no colon", nullptr);
    EXPECT_EQ(b.entry, " ");
    EXPECT_EQ(b.line, " ");
    EXPECT_EQ(b.message, " no colon");
}

}  // namespace
}  // namespace zov::execution
