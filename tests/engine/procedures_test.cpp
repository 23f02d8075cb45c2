// Procedures from script text: parameters with defaults, return values, calls as statements
// and as values, recursion, and the errors of declarations and calls.

#include "CallTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace zov {
namespace {

using test::CallScript;

TEST(Procedures, ReturnTheirValueToACallUsedAsAValue)
{
    CallScript script;
    const std::string out = script.Execute(
        "proc square(n = 0)\n"
        "  r = n * n\n"
        "  return r\n"
        "end\n"
        "x = call square(7)\n"
        "y = call square(3) + call square(4)\n"
        "trace(x, \" \", y)\n");
    EXPECT_EQ(out, "trc: 7:49 25\n");
    EXPECT_EQ(script.Word("x"), 49);
}

TEST(Procedures, TakeTheDefaultsOfMissingArguments)
{
    CallScript script;
    const std::string out = script.Execute(
        "proc greet(name = \"world\", times = 1, loud = false)\n"
        "  trace(name, \" \", times, \" \", loud)\n"
        "end\n"
        "call greet()\n"
        "call greet(\"you\")\n"
        "call greet(\"them\", 3, true)\n"
        "call greet()\n");
    // Every call starts from the defaults, whatever the previous call gave.
    EXPECT_EQ(out,
              "trc: 2:world 1 false\n"
              "trc: 2:you 1 false\n"
              "trc: 2:them 3 true\n"
              "trc: 2:world 1 false\n");
}

TEST(Procedures, ReturnTheIntegerZeroWithoutReturnExpression)
{
    CallScript script;
    EXPECT_EQ(script.Execute("proc nothing()\nend\nx = call nothing()\ntrace(x + 1)\n"), "trc: 4:1\n");
}

TEST(Procedures, ReturnTextsAndReals)
{
    CallScript script;
    const std::string out = script.Execute(
        "proc label(n = 0)\n"
        "  s = \"n=\" + int2str(n)\n"
        "  return s\n"
        "end\n"
        "proc half(v = 0.0)\n"
        "  return v / 2.0\n"
        "end\n"
        "t = call label(5)\n"
        "h = call half(3.0)\n"
        "trace(t, \" \", h)\n");
    // The return part names a variable of the body: the body is analysed first.
    EXPECT_EQ(out, "trc: 10:n=5 1.5\n");
}

TEST(Procedures, ALoneParameterHasTheTypeOfItsDefault)
{
    // One parameter as well as several: a text default makes a text parameter.
    CallScript script;
    const std::string out = script.Execute(
        "proc shout(s = \"a\")\n"
        "  trace(s + \"!\")\n"
        "end\n"
        "proc half(r = 1.0)\n"
        "  trace(r / 2.0)\n"
        "end\n"
        "call shout(\"b\")\n"
        "call shout()\n"
        "call half(5.0)\n"
        "call shout(1)\n");
    EXPECT_EQ(out, "trc: 2:b!\ntrc: 2:a!\ntrc: 5:2.5\nerr: 001 : Type de parametre incorrect\n");
}

TEST(Procedures, CopyTheirArgumentsIn)
{
    CallScript script;
    const std::string out = script.Execute(
        "a = 5\n"
        "proc change(v = 0)\n"
        "  v = v + 100\n"
        "  return v\n"
        "end\n"
        "b = call change(a)\n"
        "trace(a, \" \", b)\n");
    EXPECT_EQ(out, "trc: 7:5 105\n");
}

TEST(Procedures, ParametersAreTheirOwnVariablesWhateverTheGlobalsAreCalled)
{
    // A parameter named as a global of the same type is still a variable of the procedure:
    // changing it, or passing the global itself, leaves the global as it was.
    CallScript script;
    const std::string out = script.Execute(
        "n = 5\n"
        "s = \"g\"\n"
        "proc p(n = 0, s = \"\")\n"
        "  n = n + 1\n"
        "  s = s + \"!\"\n"
        "  return n\n"
        "end\n"
        "r = call p(n, s)\n"
        "q = call p()\n"
        "trace(n, \" \", s, \" \", r, \" \", q)\n");
    EXPECT_EQ(out, "trc: 10:5 g 6 1\n");
    EXPECT_EQ(script.Word("n"), 5);
}

TEST(Procedures, AssignToAGlobalOfTheSameName)
{
    // A name the script already holds, assigned inside a procedure, is the script's variable:
    // that is how a procedure gives results other than its return value.
    CallScript script;
    const std::string out = script.Execute(
        "total = 1\n"
        "proc add(v = 0)\n"
        "  total = total + v\n"
        "  own = v\n"
        "end\n"
        "call add(10)\n"
        "call add(5)\n"
        "trace(total)\n");
    EXPECT_EQ(out, "trc: 8:16\n");
}

TEST(Procedures, AValueOfAnotherTypeMakesAVariableOfTheProcedure)
{
    // The global keeps its meaning after the procedure's declaration: the script's later
    // statements still read the integer.
    CallScript script;
    const std::string out = script.Execute(
        "n = 5\n"
        "proc p()\n"
        "  n = \"x\"\n"
        "  trace(n)\n"
        "end\n"
        "m = n + 1\n"
        "call p()\n"
        "trace(m, \" \", n)\n");
    EXPECT_EQ(out, "trc: 4:x\ntrc: 8:6 5\n");
}

TEST(Procedures, AnOuterArrayIsRefusedEvenAfterAnElementIsWritten)
{
    // Writing an element declares the name again in the procedure, on the outer cells: the
    // array is still the script's, and reading it in the procedure is refused as before.
    CallScript script;
    EXPECT_FALSE(
        script.Analyse("dim a(3) = 0\n"
                       "proc p()\n"
                       "  a[1] = 2\n"
                       "  x = a[1]\n"
                       "end\n"));
    EXPECT_EQ(script.FirstError(), "La variable 'a' est un tableau, l'utilisation est incorrecte.");
    CallScript local;
    EXPECT_EQ(local.Execute("proc p()\n"
                            "  dim b(2) = 0\n"
                            "  b[1] = 4\n"
                            "  trace(b[1])\n"
                            "end\n"
                            "call p()\n"),
              "trc: 4:4\n");
}

TEST(Procedures, ARunErrorAfterACallNamesTheCallersLine)
{
    // The procedure's lines are over when the error comes: the error names the line of the call.
    CallScript script;
    const std::string out = script.Execute(
        "dim t(2) = 0\n"
        "proc two()\n"
        "  x = 1\n"
        "  return 2\n"
        "end\n"
        "\n"
        "y = call two() + t[5]\n"
        "trace(\"after\")\n");
    EXPECT_EQ(out, "err: 007 : Indice trop grand pour ce tableau (5)\n");
}

TEST(Procedures, RecurseOnTheirOwnVariables)
{
    // One scope per procedure for the whole run: the product is carried down as an argument.
    CallScript script;
    const std::string out = script.Execute(
        "proc fact(n = 0, acc = 1)\n"
        "  if n > 1 then\n"
        "    call fact(n - 1, acc * n)\n"
        "  else\n"
        "    res = acc\n"
        "  end\n"
        "  return res\n"
        "end\n"
        "f = call fact(10)\n"
        "trace(f)\n"
        "trace(call fact(5))\n");
    // The trace line is the line of the trace, not the last line the procedure ran.
    EXPECT_EQ(out, "trc: 10:3628800\ntrc: 11:120\n");
}

TEST(Procedures, RecurseWithTheirResultInAnExpression)
{
    // The recursive call is analysed before the return part: it takes the type that the
    // returned variable already has. Every level shares the procedure's variables, so what is
    // read after the inner call returns is the inner call's: n is read before it.
    CallScript script;
    const std::string out = script.Execute(
        "proc fact(n = 0)\n"
        "  r = 1\n"
        "  if n > 1 then\n"
        "    r = n * call fact(n - 1)\n"
        "  end\n"
        "  return r\n"
        "end\n"
        "trace(call fact(6))\n"
        "proc name(n = 0)\n"
        "  s = \"\"\n"
        "  if n > 0 then\n"
        "    s = int2str(n) + call name(n - 1)\n"
        "  end\n"
        "  return s\n"
        "end\n"
        "trace(call name(4))\n");
    EXPECT_EQ(out, "trc: 8:720\ntrc: 16:4321\n");
}

TEST(Procedures, CalledInTheirOwnArgumentsKeepTheOuterArguments)
{
    // The inner call evaluates the same argument list while the outer call's values wait.
    CallScript script;
    const std::string out = script.Execute(
        "proc pair(a = 0, b = 0)\n"
        "  return a * 100 + b\n"
        "end\n"
        "trace(call pair(1, call pair(2, 3)))\n"
        "proc show(n = 0)\n"
        "  if n > 0 then\n"
        "    trace(n, \":\", call show(n - 1))\n"
        "  end\n"
        "  return n\n"
        "end\n"
        "x = call show(3)\n");
    // show: n is shared by every level, so after the inner calls it holds 0 when returned.
    EXPECT_EQ(out, "trc: 4:303\ntrc: 7:1:0\ntrc: 7:2:0\ntrc: 7:3:0\n");
}

TEST(Procedures, TheirVariablesAreReachedByTheDebuggerThroughTheirName)
{
    CallScript script;
    script.Execute("proc p(v = 0)\n  w = v * 2\nend\ncall p(21)\n");
    Debugger().BeginRun(script.Global());
    {
        // Answered at once while the script is parked, as during a wait.
        CDebugger::ScriptPause pause(Debugger());
        Debugger().GetValue("p|w");
        Debugger().GetValue("p|v");
    }
    Debugger().EndRun();
    const std::string out = script.Out();
    EXPECT_NE(out.find("cmd:val:p|w:"), std::string::npos) << out;
    EXPECT_NE(out.find(":42\n"), std::string::npos) << out;
    EXPECT_NE(out.find(":21\n"), std::string::npos) << out;
}

TEST(Procedures, AreNotRunWhenTheListReachesThem)
{
    CallScript script;
    const std::string out = script.Execute(
        "trace(\"a\")\n"
        "proc p()\n"
        "  trace(\"in p\")\n"
        "end\n"
        "trace(\"b\")\n"
        "call p()\n"
        "trace(\"c\")\n");
    EXPECT_EQ(out, "trc: 1:a\ntrc: 5:b\ntrc: 3:in p\ntrc: 7:c\n");
}

TEST(Procedures, KeepTheirLocalsFromOneCallToTheNext)
{
    CallScript script;
    const std::string out = script.Execute(
        "first = 0\n"
        "proc counter()\n"
        "  if first == 0 then\n"
        "    count = 0\n"
        "  end\n"
        "  count = count + 1\n"
        "  return count\n"
        "end\n"
        "a = call counter()\n"
        "first = 1\n"
        "b = call counter()\n"
        "trace(a, b)\n");
    EXPECT_EQ(out, "trc: 12:12\n");
}

TEST(Procedures, LeaveThroughAGotoToAnOuterLabel)
{
    CallScript script;
    const std::string out = script.Execute(
        "proc p()\n"
        "  trace(\"in\")\n"
        "  goto :out\n"
        "  trace(\"never\")\n"
        "end\n"
        "call p()\n"
        "trace(\"skipped\")\n"
        ":out\n"
        "trace(\"out\")\n");
    EXPECT_EQ(out, "trc: 2:in\ntrc: 9:out\n");
}

// ---------------------------------------------------------------------------------------------
// Errors.

struct ProcedureErrorCase {
    const char* script;
    const char* message;
};

class ProcedureAnalysisError : public testing::TestWithParam<ProcedureErrorCase> {};

TEST_P(ProcedureAnalysisError, IsReported)
{
    const ProcedureErrorCase& c = GetParam();
    CallScript script;
    EXPECT_FALSE(script.Analyse(c.script)) << c.script;
    EXPECT_EQ(script.SyntaxError(), "") << c.script;
    EXPECT_EQ(script.FirstError(), c.message) << c.script;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProcedureAnalysisError,
    testing::Values(ProcedureErrorCase{"call p()\nproc p()\nend\n",
                                       "La procedure n'existe pas ou a ete definie après l'appel"},
                    ProcedureErrorCase{"call q(1)\n", "La procedure n'existe pas ou a ete definie après l'appel"},
                    ProcedureErrorCase{"proc p()\nend\nproc p(a = 1)\nend\n", "La procedure 'p' a ete deja definie"}));

TEST(ProcedureErrors, TheSecondDeclarationIsTheOneReported)
{
    CallScript script;
    EXPECT_FALSE(script.Analyse("proc p()\nend\n\nproc p()\nend\n"));
    ASSERT_EQ(script.Errors().GetAnalysisErrorCount(), 1u);
    EXPECT_EQ(script.Errors().Errors()[0].line, 4u);
}

TEST(ProcedureErrors, ARecursionWithoutEndIsStopped)
{
    // Without a limit the stack would run out and the engine would end without a word.
    CallScript script;
    const std::string out = script.Execute(
        "proc down(n = 0)\n"
        "  if n > 0 then\n"
        "    call down(n - 1)\n"
        "  end\n"
        "end\n"
        "call down(4999)\n"
        "trace(\"deep enough\")\n"
        "call down(100000)\n"
        "trace(\"after\")\n");
    EXPECT_EQ(out, "trc: 7:deep enough\nerr: 003 : Trop d'appels de procedure imbriques\n");
}

struct ProcedureRunCase {
    const char* call;
    const char* out;
};

class ProcedureRunError : public testing::TestWithParam<ProcedureRunCase> {};

TEST_P(ProcedureRunError, EndsTheRun)
{
    const ProcedureRunCase& c = GetParam();
    CallScript script;
    const std::string out = script.Execute(std::string("proc p(a = 0, b = \"x\")\n"
                                                       "  trace(\"in p\")\n"
                                                       "end\n") +
                                           c.call + "\ntrace(\"after\")\n");
    EXPECT_EQ(out, c.out) << c.call;
}

INSTANTIATE_TEST_SUITE_P(Table, ProcedureRunError,
                         testing::Values(ProcedureRunCase{"call p(1, \"y\")", "trc: 2:in p\ntrc: 5:after\n"},
                                         ProcedureRunCase{"call p(1, \"y\", 3)",
                                                          "err: 001 : Nombre de parametres trop grand\n"},
                                         ProcedureRunCase{"call p(\"1\")", "err: 001 : Type de parametre incorrect\n"},
                                         ProcedureRunCase{"call p(1, 2)", "err: 001 : Type de parametre incorrect\n"},
                                         ProcedureRunCase{"call p(1.5)", "err: 001 : Type de parametre incorrect\n"}));

}  // namespace
}  // namespace zov
