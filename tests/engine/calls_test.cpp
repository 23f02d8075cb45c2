// Calls of built-ins, CLI declarations and CLI functions from script text: the analysis
// messages, the argument texts a CLI receives, the CLI target and per-call time-out, the jump
// to ":TIMEOUT", and the name of a CLI in its echo lines.

#include "engine/tree/procedures/CallNode.h"
#include "CallTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace zov {
namespace {

using test::CallScript;
using test::Ones;
using test::TestCliLine;

// ---------------------------------------------------------------------------------------------
// Analysis messages: the first error of each script.

struct MessageCase {
    std::string script;
    std::string message;  // empty: the script is accepted
};

class CallMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(CallMessage, IsReportedAtAnalysis)
{
    const MessageCase& c = GetParam();
    CallScript script(R"(_reset() : "echo reset")"
                      "\n"
                      R"(&measure(&1) : "echo %s")"
                      "\n");
    const bool accepted = script.Analyse(c.script);
    EXPECT_EQ(script.SyntaxError(), "") << c.script;
    EXPECT_EQ(script.FirstError(), c.message) << c.script;
    EXPECT_EQ(accepted, c.message.empty()) << c.script;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CallMessage,
    testing::Values(MessageCase{"xyz(1)\n", "La fonction 'xyz' est inconnue"},
                    MessageCase{"x = Strsize(\"a\")\n", "La fonction 'Strsize' est inconnue"},
                    MessageCase{"pause()\n", "La fonction 'pause' prends 1 argument(s)"},
                    MessageCase{"killall(1)\n", "La fonction 'killall' ne prends pas d'argument"},
                    MessageCase{"killall()\n", ""},
                    MessageCase{"x = strextract(\"a\", \",\")\n", "La fonction 'strextract' prends 3 argument(s)"},
                    MessageCase{"x = min(1)\n", "La fonction prends entre 2 et 100 parametres"},
                    MessageCase{"x = min(" + Ones(101) + ")\n", "La fonction prends entre 2 et 100 parametres"},
                    MessageCase{"x = max(" + Ones(100) + ")\n", ""},
                    MessageCase{"x = waitsync(1)\n", "La fonction prends entre 2 et 100 parametres"},
                    // WantedSync keeps 32 values: the awaited ones and the time-out.
                    MessageCase{"x = waitsync(" + Ones(32) + ")\n", ""},
                    MessageCase{"x = waitsync(" + Ones(33) + ")\n", "La fonction prends entre 2 et 32 parametres"},
                    MessageCase{"x = run()\n", "La fonction 'run' 1 ou 2 arguments"},
                    MessageCase{"x = run(\"a\", 1, 2)\n", "La fonction 'run' 1 ou 2 arguments"},
                    MessageCase{"x = run(\"a\")\n", ""}, MessageCase{"trace(" + Ones(100) + ")\n", ""},
                    MessageCase{"trace(" + Ones(101) + ")\n", "La fonction prends que 100 paramètres maxi"},
                    MessageCase{"trace()\n", "La fonction prends que 100 paramètres maxi"},
                    MessageCase{"x = killall()\n", "La fonction ne retourne pas de valeur"},
                    MessageCase{"strsize(\"a\")\n", "La fonction retourne une valeur, la variable est manquant"},
                    MessageCase{"measure(1)\n", "La fonction retourne une valeur, la variable est manquant"},
                    MessageCase{"x = strsize(1)\n", "Type du parametre incorrect"},
                    MessageCase{"x = strleft(\"abc\", \"1\")\n", "Type du parametre incorrect"},
                    MessageCase{"ok(1)\n", "Type du parametre incorrect"},
                    // The condition form of ok, nok and warning: a boolean before the text.
                    MessageCase{"ok(false, \"x\")\n", ""}, MessageCase{"nok(false, \"x\", 2)\n", ""},
                    MessageCase{"warning(true, \"x\")\n", ""},
                    // A CLI function takes texts, numbers and booleans alike: no comparison.
                    MessageCase{"x = measure(\"7\")\n", ""},
                    MessageCase{"x = strsize(\"a\") on 1\n", "Type incorrect, variable CLI obligatoire"},
                    // min, max and abs take the type of their last argument; the run checks them.
                    MessageCase{"x = max(1, 2.5)\n", ""}, MessageCase{"x = abs(\"x\")\n", ""},
                    // Procedures are called with `call`, never as functions.
                    MessageCase{"proc square(n = 0)\nend\nx = square(3)\n", "La fonction 'square' est inconnue"}));

TEST(CallMessages, AnInterfaceFunctionNamedAsABuiltinIsNeverReached)
{
    CallScript script(R"(_trace(@1) : "echo %s")"
                      "\n");
    // The built-in trace takes 1 to 100 arguments; the interface's would take exactly one.
    ASSERT_TRUE(script.Analyse("trace(\"a\", \"b\")\n")) << script.FirstError();
    script.Run();
    EXPECT_EQ(script.Out(), "trc: 1:ab\n");
}

// ---------------------------------------------------------------------------------------------
// What a CLI receives for each argument.

struct ArgumentCase {
    CValue value;
    TypeCode type;
    std::string text;
};

TEST(CliArguments, AreSentAsTexts)
{
    const ArgumentCase cases[] = {
        {CValue::Text("a b"), kTypeString, "\"a b\""},
        {CValue::Text(""), kTypeString, "\"\""},
        {CValue{}, kTypeString, "\"\""},
        {CValue::Text("ab"), kTypeString, "ab"},
        {CValue::Text("a\tb"), kTypeString, "a\tb"},
        {CValue::Integer(7), kTypeInteger, "7"},
        {CValue::Integer(-7), kTypeInteger, "-7"},
        // The display base is not sent: 0xFF goes as 255.
        {CValue::Integer(255, 16, true), kTypeInteger, "255"},
        {CValue::Real(0.5), kTypeReal, "0.5"},
        {CValue::Real(1e20), kTypeReal, "1E+20"},
        {CValue::Boolean(true), kTypeBoolean, "1"},
        {CValue::Boolean(false), kTypeBoolean, "0"},
        {CValue::Cli(2), kTypeCli, ""},
    };
    for (const ArgumentCase& c : cases)
        EXPECT_EQ(CliArgumentText(c.value, c.type), c.text) << c.text;
}

TEST(CliArguments, ReachTheCliAsWritten)
{
    CallScript script(TestCliLine("t") + R"(@echo(@1) : "echo %s")"
                                         "\n"
                                         R"(@echo2(@1, @2) : "echo %s|%s")"
                                         "\n");
    const std::string out = script.Execute(
        "trace(echo(\"a b\") on (t()))\n"
        "trace(echo2(7, 0.5) on (t()))\n"
        "trace(echo(\"\") on (t()))\n"
        "trace(echo(true) on (t()))\n");
    EXPECT_EQ(out,
              "trc: 1:\"a b\"\n"
              "trc: 2:7|0.5\n"
              "trc: 3:\"\"\n"
              "trc: 4:1\n");
}

// ---------------------------------------------------------------------------------------------
// Return types of CLI functions, with and without parameters.

TEST(CliFunctions, GiveTheirReplyInTheirReturnType)
{
    CallScript script(TestCliLine("t") + R"(@text() : "echo hello")"
                                         "\n"
                                         R"(&number(@1) : "echo %s")"
                                         "\n"
                                         R"($real() : "echo 0.25")"
                                         "\n"
                                         R"(#yes(@1) : "echo %s")"
                                         "\n"
                                         R"(_quiet() : "echo nothing")"
                                         "\n");
    const std::string out = script.Execute(
        "trace(t())\n"
        "trace(text())\n"
        "trace(number(\"42\"))\n"
        "trace(real())\n"
        "trace(\"\", yes(1), yes(0))\n"
        "quiet()\n"
        "trace(\"end\")\n");
    EXPECT_EQ(out,
              "trc: 1:1\n"
              "trc: 2:hello\n"
              "trc: 3:42\n"
              "trc: 4:0.25\n"
              "trc: 5:truefalse\n"
              "trc: 7:end\n");
}

TEST(CliFunctions, WithoutTargetTalkToTheFirstCli)
{
    const std::string record = testing::TempDir() + "zov_calls_first_cli.txt";
    std::remove(record.c_str());
    CallScript script(TestCliLine("first", "--record " + record) + TestCliLine("second") +
                      R"(@echo(@1) : "echo %s")"
                      "\n");
    EXPECT_EQ(script.Execute("trace(first(), second())\ntrace(echo(\"one\"))\n"), "trc: 1:12\ntrc: 2:one\n");
    StopAllCliProcesses();
    std::ifstream file(record);
    const std::string received((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(received.substr(0, 9), "echo one\n");
    std::remove(record.c_str());
}

// ---------------------------------------------------------------------------------------------
// A CLI that did not start, and the reply time-out.

TEST(CliFunctions, OnAHandleOfZeroEndTheRun)
{
    CallScript script(
        "CLI missing : \"/nonexistent/zov-cli|>>|1|exit|1\"\n"
        R"(@echo(@1) : "echo %s")"
        "\n"
        R"(_reset() : "reset")"
        "\n");
    const std::string out = script.Execute(
        "trace(\"before\")\n"
        "trace(echo(\"x\") on (missing()))\n"
        "trace(\"after\")\n");
    EXPECT_EQ(out, "trc: 1:before\nerr: 002 : CLI non initialise\n");
    EXPECT_NE(script.Err().find("Erreur: Impossible d'executer le CLI ou le CLI est inexistant"), std::string::npos);

    CallScript statement(
        "CLI missing : \"/nonexistent/zov-cli|>>|1|exit|1\"\n"
        R"(_reset() : "reset")"
        "\n");
    EXPECT_EQ(statement.Execute("reset() on (missing())\ntrace(\"after\")\n"), "err: 001 : CLI non initialise\n");
}

TEST(CliFunctions, ATimeOutJumpsToTheTimeoutLabel)
{
    CallScript script(TestCliLine("t") + R"(_hang() : "hang")"
                                         "\n");
    const std::string out = script.Execute(
        "hang() on (t()) within 0\n"
        "trace(\"after\")\n"
        ":TIMEOUT\n"
        "trace(\"timeout\")\n");
    EXPECT_EQ(out, "out: (timeout)\ntrc: 4:timeout\n");
    EXPECT_FALSE(Engine().TimedOut.load());
}

TEST(CliFunctions, ATimeOutInsideAProcedureJumpsOutOfIt)
{
    CallScript script(TestCliLine("t") + R"(_hang() : "hang")"
                                         "\n");
    const std::string out = script.Execute(
        "h = t()\n"
        "proc wait()\n"
        "  hang() on h within 0\n"
        "  trace(\"rest of the procedure\")\n"
        "end\n"
        "call wait()\n"
        "trace(\"after the call\")\n"
        ":TIMEOUT\n"
        "trace(\"timeout\")\n");
    EXPECT_EQ(out, "out:[h] (timeout)\ntrc: 9:timeout\n");
}

// A with passes the jump of its body on, so a time-out inside it reaches the label too.
TEST(CliFunctions, ATimeOutInsideAWithBodyJumpsOutOfIt)
{
    CallScript script(TestCliLine("t") + R"(_hang() : "hang")"
                                         "\n");
    const std::string out = script.Execute(
        "h = t()\n"
        "with h\n"
        "  hang() on h within 0\n"
        "  trace(\"rest of the body\")\n"
        "end\n"
        "trace(\"after the with\")\n"
        ":TIMEOUT\n"
        "trace(\"timeout\")\n");
    EXPECT_EQ(out, "out:[h] (timeout)\ntrc: 8:timeout\n");
}

TEST(CliFunctions, ATimeOutWithoutLabelGoesOn)
{
    CallScript script(TestCliLine("t") + R"(@hang() : "hang")"
                                         "\n");
    const std::string out = script.Execute(
        "trace(\"[\", hang() on (t()) within 0, \"]\")\n"
        "trace(\"after\")\n");
    EXPECT_EQ(out, "out: (timeout)\ntrc: 1:[]\ntrc: 2:after\n");
    EXPECT_FALSE(Engine().TimedOut.load());
}

// ---------------------------------------------------------------------------------------------
// Handles in variables: the variable names the CLI in its echo lines.

TEST(CliHandles, TheVariableNamesItsCli)
{
    CallScript script(TestCliLine("t") + R"(_say(@1) : "err %s")"
                                         "\n"
                                         R"(@echo(@1) : "echo %s")"
                                         "\n"
                                         R"(_hang() : "hang")"
                                         "\n");
    const std::string out = script.Execute(
        "h = t()\n"
        "say(\"hello\") on h\n"
        "with h\n"
        "  say(\"again\")\n"
        "  r = echo(\"reply\")\n"
        "end\n"
        "say(\"unnamed\") on (t())\n"
        "hang() on h within 0\n"
        "trace(r, \" \", h)\n");
    EXPECT_EQ(out,
              "out:[h] hello\n"
              "out:[h] again\n"
              "out: unnamed\n"
              "out:[h] (timeout)\n"
              "trc: 9:reply 1\n");
}

TEST(CliHandles, AHandleNeverAssignedEndsTheRun)
{
    CallScript script(TestCliLine("t") + R"(@echo(@1) : "echo %s")"
                                         "\n");
    const std::string out = script.Execute(
        "h = t()\n"
        "if false then\n"
        "  g = t()\n"
        "end\n"
        "trace(echo(\"x\") on h)\n"
        "trace(echo(\"y\") on g)\n"
        "trace(\"after\")\n");
    EXPECT_EQ(out, "trc: 5:x\nerr: 006 : CLI non initialise\n");
}

TEST(CliHandles, ATimeOutPerCallTakesAVariable)
{
    CallScript script(TestCliLine("t") + R"(@late(@1) : "delay %s late")"
                                         "\n");
    const std::string out = script.Execute(
        "h = t()\n"
        "limit = 5\n"
        "trace(late(\"10\") on h within limit)\n");
    EXPECT_EQ(out, "trc: 3:late\n");
}

// The time-out of a call made inside another call's arguments is that inner call's alone: the
// outer call without `within` waits the CLI time-out.
TEST(CliHandles, ATimeOutPerCallStaysWithItsCall)
{
    CallScript script(TestCliLine("t") + R"(@echo(@1) : "echo %s")"
                                         "\n"
                                         R"(@fixed(@1) : "echo fixed")"
                                         "\n");
    const std::string out = script.Execute(
        "h = t()\n"
        "g = t()\n"
        "none = -2\n"
        "trace(fixed(echo(\"inner\") on g within none) on h)\n"
        "x = echo(\"y\") on g within none\n"
        "trace(fixed(2) on h)\n");
    EXPECT_EQ(out,
              "out:[g] (timeout)\n"
              "trc: 4:fixed\n"
              "out:[g] (timeout)\n"
              "trc: 6:fixed\n");
}

}  // namespace
}  // namespace zov
