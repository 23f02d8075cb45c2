// Statements run from script text: loops, conditions, case, goto and labels, with, arrays, and
// the errors they report at analysis and at run time.

#include "ScriptRunner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace zov {
namespace {

using test::ScriptRunner;

// ---------------------------------------------------------------------------------------------
// Counting loops: n counts the passes, seq records the values the loop variable took.

struct ForCase {
    const char* header;  // "for ... do"
    const char* body;    // extra statements of the body
    std::int32_t passes;
    std::int32_t seq;
};

class ForLoop : public testing::TestWithParam<ForCase> {};

TEST_P(ForLoop, RunsItsPasses)
{
    const ForCase& c = GetParam();
    ScriptRunner script;
    script.Execute(std::string("n = 0\nseq = 0\n") + c.header + "\n  n = n + 1\n  seq = seq * 10 + i\n" + c.body +
                   "end\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("n"), c.passes);
    EXPECT_EQ(script.Word("seq"), c.seq);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ForLoop,
    testing::Values(ForCase{"for i = 5 to 1 do", "", 0, 0}, ForCase{"for i = 1 downto 5 do", "", 0, 0},
                    ForCase{"for i = 1 to 1 do", "", 1, 1}, ForCase{"for i = 1 to 4 do", "", 4, 1234},
                    ForCase{"for i = 5 downto 1 step 2 do", "", 3, 531},
                    ForCase{"for i = 1 to 9 step 3 do", "", 3, 147}, ForCase{"for i = 3 downto 1 do", "", 3, 321},
                    // Setting the loop variable to the end value stops after that pass.
                    ForCase{"for i = 1 to 5 do", "  i = 5\n", 1, 1},
                    // The body's change is where counting goes on from.
                    ForCase{"for i = 1 to 6 do", "  i = i + 1\n", 3, 135},
                    // Near the ends of the 32-bit range the loop stops instead of wrapping.
                    ForCase{"for i = 2147483646 to 2147483647 do", "  seq = 0\n", 2, 0},
                    ForCase{"for i = 0 - 2147483647 downto 0 - 2147483647 - 1 do", "  seq = 0\n", 2, 0},
                    ForCase{"for i = 2147483647 - 1 to 2147483647 step 5 do", "  seq = 0\n", 1, 0}));

TEST(ForLoop, LeavesTheVariableAtItsLastValue)
{
    ScriptRunner script;
    script.Execute("for i = 1 to 3 do\nend\nj = i\n");
    EXPECT_EQ(script.Word("j"), 3);
}

// Start, end and step are integers: a real or a text there would count from a value the
// script never gave (a real's word is 0), so the loop is refused at analysis, at the bound.
TEST(ForLoop, RefusesBoundsAndStepsThatAreNotIntegers)
{
    constexpr char kNotInteger[] = "Les bornes et le pas d'une boucle for doivent etre des entiers";
    for (const char* header : {"for i = 1.0 to 3 do", "for i = 1 to 3.0 do", "for i = 1 to 9 step 2.0 do",
                               "for i = \"a\" downto 1 do", "for i = 1 to 1 == 1 do"}) {
        ScriptRunner script;
        EXPECT_FALSE(script.Analyse(std::string("n = 0\n") + header + "\n  n = n + 1\nend\n")) << header;
        ASSERT_EQ(script.Errors().Errors().size(), 1u) << header;
        EXPECT_EQ(script.FirstError(), kNotInteger) << header;
        EXPECT_EQ(script.Errors().Errors()[0].line, 2u) << header;
    }
    // Integer expressions and variables are accepted.
    ScriptRunner script;
    script.Execute("e = 4\nn = 0\nfor i = e - 2 to e step (1 + 1) do\n  n = n + 1\nend\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("n"), 2);
}

TEST(ForLoop, EvaluatesItsBoundsOnce)
{
    ScriptRunner script;
    script.Execute("e = 3\nn = 0\nfor i = 1 to e do\n  e = 10\n  n = n + 1\nend\n");
    EXPECT_EQ(script.Word("n"), 3);
}

// ---------------------------------------------------------------------------------------------
// Conditions: only a low byte of exactly 1 is true for if and while; until ends on any
// non-zero low byte.

struct ConditionCase {
    const char* script;
    std::int32_t r;
};

class Condition : public testing::TestWithParam<ConditionCase> {};

TEST_P(Condition, DecidesAsTheLanguageSays)
{
    ScriptRunner script;
    script.Execute(std::string("r = 0\nx = 2\n") + GetParam().script);
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("r"), GetParam().r);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Condition,
    testing::Values(
        ConditionCase{"if x then\n  r = 1\nelse\n  r = 2\nend\n", 2},
        ConditionCase{"if x - 1 then\n  r = 1\nelse\n  r = 2\nend\n", 1},
        ConditionCase{"if x == 2 then\n  r = 1\nend\n", 1}, ConditionCase{"if x == 3 then\n  r = 1\nend\n", 0},
        ConditionCase{"while x do\n  r = r + 1\n  x = 0\nend\n", 0},
        ConditionCase{"while r < 5 do\n  r = r + 1\nend\n", 5}, ConditionCase{"while false do\n  r = 9\nend\n", 0},
        ConditionCase{"repeat\n  r = r + 1\nuntil x\n", 1}, ConditionCase{"repeat\n  r = r + 1\nuntil r == 4\n", 4},
        ConditionCase{"repeat\n  r = r + 1\nuntil true\n", 1},
        ConditionCase{"while r < 3 do\n  repeat\n    x = x + 1\n  until x > 3\n  r = r + 1\nend\nr = r * 100 + x\n",
                      306}));

// A real or a text has no low byte to read: as a condition it would always be false, and an
// `until` on it would never end. Refused at analysis, at the condition's line.
TEST(Condition, RealsAndTextsAreRefused)
{
    constexpr char kNotCondition[] = "La condition doit etre un booleen ou un entier";
    for (const char* text : {"if 1.0 then\n  r = 1\nend\n", "if \"1\" then\n  r = 1\nelse\n  r = 2\nend\n",
                             "while 2.5 * 1.0 do\n  r = 1\nend\n", "repeat\n  r = r + 1\nuntil 1.5\n",
                             "repeat\n  r = r + 1\nuntil \"x\" + \"y\"\n"}) {
        ScriptRunner script;
        EXPECT_FALSE(script.Analyse(std::string("r = 0\n") + text)) << text;
        ASSERT_EQ(script.Errors().Errors().size(), 1u) << text << script.FirstError();
        EXPECT_EQ(script.FirstError(), kNotCondition) << text;
        // The condition of if and while stands on the statement's line, that of until after
        // the body.
        EXPECT_EQ(script.Errors().Errors()[0].line, text[0] == 'r' ? 4u : 2u) << text;
    }
}

// ---------------------------------------------------------------------------------------------
// case: values, lists, ranges and else, on integers, texts and reals.

constexpr char kIntegerCase[] =
    "case s of\n"
    "  1: r = 1\n"
    "  2, 3, 5: r = 2\n"
    "  6 to 9: r = 3\n"
    "  -1: r = 4\n"
    "  11, 13 to 15: r = 5\n"
    "else\n"
    "  r = 9\n"
    "end\n";
constexpr char kTextCase[] =
    "case s of\n"
    "  \"a\" to \"c\": r = 1\n"
    "  \"z\", \"y\": r = 2\n"
    "  \"\": r = 3\n"
    "else\n"
    "  r = 9\n"
    "end\n";
// The last body holds an integer expression: the labels must still be compared as texts.
constexpr char kTextCaseIntegerBody[] =
    "case s of\n"
    "  \"abc\": r = 1\n"
    "  \"x\": r = 2 + 3\n"
    "end\n";
constexpr char kRealCase[] =
    "case s of\n"
    "  1.5: r = 1\n"
    "  2.5, 3.5: r = 2\n"
    "  4.0 to 5.0: r = 3\n"
    "end\n";

struct CaseCase {
    const char* statement;
    const char* selector;
    std::int32_t r;
};

class CaseStatement : public testing::TestWithParam<CaseCase> {};

TEST_P(CaseStatement, RunsTheFirstMatchingCase)
{
    ScriptRunner script;
    script.Execute(std::string("r = 0\ns = ") + GetParam().selector + "\n" + GetParam().statement);
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("r"), GetParam().r) << "selector " << GetParam().selector;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CaseStatement,
    testing::Values(CaseCase{kIntegerCase, "1", 1}, CaseCase{kIntegerCase, "2", 2}, CaseCase{kIntegerCase, "5", 2},
                    CaseCase{kIntegerCase, "4", 9}, CaseCase{kIntegerCase, "6", 3}, CaseCase{kIntegerCase, "9", 3},
                    CaseCase{kIntegerCase, "10", 9}, CaseCase{kIntegerCase, "0 - 1", 4},
                    CaseCase{kIntegerCase, "11", 5}, CaseCase{kIntegerCase, "14", 5}, CaseCase{kIntegerCase, "16", 9},
                    // A range of texts holds neither bound.
                    CaseCase{kTextCase, "\"b\"", 1}, CaseCase{kTextCase, "\"a\"", 9}, CaseCase{kTextCase, "\"c\"", 9},
                    CaseCase{kTextCase, "\"y\"", 2}, CaseCase{kTextCase, "\"\"", 3}, CaseCase{kTextCase, "\"B\"", 9},
                    CaseCase{kTextCaseIntegerBody, "\"abc\"", 1}, CaseCase{kTextCaseIntegerBody, "\"zzz\"", 0},
                    CaseCase{kTextCaseIntegerBody, "\"x\"", 5},
                    // Reals compare as reals, not as words that are all 0.
                    CaseCase{kRealCase, "1.5", 1}, CaseCase{kRealCase, "3.5", 2}, CaseCase{kRealCase, "4.5", 3},
                    CaseCase{kRealCase, "9.5", 0},
                    // Only the first matching case runs.
                    CaseCase{"case s of\n  2: r = r + 1\n  1, 2: r = r + 10\nelse\n  r = 100\nend\n", "2", 1}));

TEST(CaseStatement, RefusesALabelOfAnotherTypeThanTheSelector)
{
    ScriptRunner script;
    EXPECT_FALSE(script.Analyse("s = 1\ncase s of\n  \"a\": r = 1\nend\n"));
    EXPECT_EQ(script.FirstError(),
              "L'expression est non conforme car plusieurs types differents sont utilises dans l'expression");
    EXPECT_EQ(script.Errors().Errors()[0].line, 3u);
}

// ---------------------------------------------------------------------------------------------
// goto and labels.

struct JumpCase {
    const char* script;
    std::int32_t n;
};

class Jump : public testing::TestWithParam<JumpCase> {};

TEST_P(Jump, ResumesAtTheLabel)
{
    ScriptRunner script;
    script.Execute(GetParam().script);
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("n"), GetParam().n);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Jump,
    testing::Values(
        // Backward, then forward over a statement.
        JumpCase{"n = 0\n:AGAIN\nn = n + 1\nif n < 3 then\n  goto :AGAIN\nend\ngoto :DONE\nn = 100\n:DONE\n", 3},
        JumpCase{"n = 0\ngoto :TIMEOUT\nn = 1\n:TIMEOUT\n", 0},
        // Out of a loop body, out of nested loops, out of a case body.
        JumpCase{"n = 0\nfor i = 1 to 10 do\n  n = n + 1\n  if i == 4 then\n    goto :OUT\n  end\nend\nn = 100\n:OUT\n",
                 4},
        JumpCase{"n = 0\nwhile true do\n  repeat\n    n = n + 1\n    if n == 7 then\n      goto :OUT\n    end\n"
                 "  until false\nend\n:OUT\n",
                 7},
        JumpCase{"n = 0\ncase 2 of\n  2: goto :OUT\nend\nn = 1\n:OUT\n", 0},
        JumpCase{"n = 0\ncase 3 of\n  2: n = 5\nelse\n  goto :OUT\nend\nn = 1\n:OUT\n", 0},
        // Into the middle of a loop's list from inside it.
        JumpCase{"n = 0\nfor i = 1 to 3 do\n  goto :SKIP\n  n = n + 100\n  :SKIP\n  n = n + 1\nend\n", 3}));

// A missing label, or one inside a block that does not enclose the goto, cannot be reached: the
// run stops instead of ending as if it were complete.
class JumpNowhere : public testing::TestWithParam<const char*> {};

TEST_P(JumpNowhere, StopsTheRun)
{
    ScriptRunner script;
    script.Execute(GetParam());
    EXPECT_EQ(script.Out(), "err: 002 : Ce label n'existe pas\n");
    EXPECT_EQ(script.Word("n"), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, JumpNowhere,
                         testing::Values("n = 0\ngoto :NOWHERE\nn = 1\n",
                                         "n = 0\ngoto :IN\nif n == 1 then\n  :IN\n  n = 5\nend\nn = 7\n"));

TEST(Jump, DuplicateLabelIsReportedOnceAtTheSecond)
{
    ScriptRunner script;
    EXPECT_FALSE(script.Analyse("n = 0\n:TWICE\nn = 1\n:TWICE\n:OTHER\n"));
    ASSERT_EQ(script.Errors().GetAnalysisErrorCount(), 1u);
    EXPECT_EQ(script.FirstError(), "Ce label existe deja");
    EXPECT_EQ(script.Errors().Errors()[0].line, 4u);
}

TEST(Jump, LabelsOfAnEarlierScriptAreForgotten)
{
    ScriptRunner first;
    EXPECT_TRUE(first.Analyse(":ONE\n"));
    ScriptRunner second;
    EXPECT_TRUE(second.Analyse(":ONE\n"));
}

// ---------------------------------------------------------------------------------------------
// with.

TEST(With, RefusesATargetThatIsNotACli)
{
    ScriptRunner script;
    EXPECT_FALSE(script.Analyse("h = 1\nwith h\n  n = 1\nend\n"));
    EXPECT_EQ(script.FirstError(), "Type incorrect, variable CLI obligatoire");
}

// A handle of 0 is a CLI never started; the body's jump leaves the with. (The type error of an
// integer handle is ignored here to run the nodes without a CLI.)
TEST(With, PassesTheJumpOfItsBodyOn)
{
    ScriptRunner script;
    script.Analyse("n = 0\nh = 1\nwith h\n  goto :OUT\nend\nn = 1\n:OUT\n");
    script.Run();
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("n"), 0);
}

// An empty body is allowed, as for `if` and the loops, in each way a body can be empty.
TEST(With, AcceptsAnEmptyBody)
{
    for (const char* body : {"with h\nend\n", "with h & end\n", "with h\n\n; nothing yet\nend\n"}) {
        ScriptRunner script;
        script.Analyse(std::string("n = 0\nh = 1\n") + body + "n = 1\n");
        script.Run();
        EXPECT_EQ(script.Out(), "") << body;
        EXPECT_EQ(script.Word("n"), 1) << body;
    }
}

TEST(With, OnACliNeverStartedStopsTheRun)
{
    ScriptRunner script;
    script.Analyse("n = 0\nh = 0\nwith h\n  n = 1\nend\n");
    script.Run();
    EXPECT_EQ(script.Out(), "err: 003 : CLI non initialise\n");
    EXPECT_EQ(script.Word("n"), 0);
}

// ---------------------------------------------------------------------------------------------
// Assignments and arrays.

TEST(Assignment, ReadsTheEarlierValueOfItsTarget)
{
    ScriptRunner script;
    script.Execute("x = 1\nx = x + 1\ns = \"a\"\ns = s + \"b\"\n");
    EXPECT_EQ(script.Word("x"), 2);
    EXPECT_EQ(script.Text("s"), "ab");
}

// As `interpret` does: the unknown name is the only error, the type analysis never runs.
TEST(Assignment, ValueOfAnUnknownNameStopsTheAnalysisAtTheNames)
{
    ScriptRunner script;
    EXPECT_FALSE(script.Analyse("x = y\n"));
    ASSERT_EQ(script.Errors().GetAnalysisErrorCount(), 1u);
    EXPECT_EQ(script.Errors().Errors()[0].text, "La variable 'y' n'a pas ete initialisee");
}

TEST(Assignment, ANameTakesTheTypeOfEachNewValue)
{
    ScriptRunner script;
    script.Execute("x = 1\ny = x + 1\nx = \"text\"\nz = x + \"!\"\n");
    EXPECT_EQ(script.Word("y"), 2);
    EXPECT_EQ(script.Text("z"), "text!");
}

TEST(Arrays, ElementsAreWrittenAndRead)
{
    ScriptRunner script;
    script.Execute("dim a(3) = 7\na[1] = 2\nx = a[0] + a[1] + a[2]\ndim t(2) = \"\"\nt[1] = \"b\"\ny = t[1]\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("x"), 16);
    EXPECT_EQ(script.Text("y"), "b");
}

struct ArrayErrorCase {
    const char* script;
    const char* line;
};

class ArrayError : public testing::TestWithParam<ArrayErrorCase> {};

TEST_P(ArrayError, StopsTheRun)
{
    ScriptRunner script;
    script.Execute(GetParam().script);
    EXPECT_EQ(script.Out(), GetParam().line);
    EXPECT_TRUE(script.Debugger().Aborting());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArrayError,
    testing::Values(ArrayErrorCase{"dim a(3) = 0\na[0 - 1] = 5\n", "err: 002 : Copie de tableau non authorisee\n"},
                    ArrayErrorCase{"dim a(3) = 0\na[3] = 5\n", "err: 002 : Indice trop grand pour ce tableau\n"},
                    ArrayErrorCase{"dim a(3) = 0\nx = a[3]\n", "err: 002 : Indice trop grand pour ce tableau (3)\n"},
                    ArrayErrorCase{"a[0] = 1\n", "err: 001 : Le tableau n'est pas initialise\n"},
                    ArrayErrorCase{"dim a(3) = 0\na = 5\n", "err: 002 : Copie de tableau non authorisee\n"},
                    ArrayErrorCase{"dim a(100000000) = 0\n", "err: 001 : Taille de tableau trop grande\n"}));

// The value of an element is computed before it is stored: a procedure called by the expression
// may dim the array again, and the element then lives in the new table.
TEST(Arrays, AProcedureThatDimsTheArrayAgainWhileAnElementIsComputed)
{
    ScriptRunner script;
    script.Execute(
        "dim a(2) = \"x\"\n"
        "proc grow()\n"
        "  dim a(100000) = \"y\"\n"
        "  return \"a text longer than any short string buffer holds\"\n"
        "end\n"
        "a[1] = call grow()\n"
        "b = a[1]\n"
        "c = a[99999]\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Text("b"), "a text longer than any short string buffer holds");
    EXPECT_EQ(script.Text("c"), "y");
}

TEST(Arrays, AnElementThatTheExpressionDimsAwayStopsTheRun)
{
    ScriptRunner script;
    script.Execute(
        "dim a(5) = 0\n"
        "proc shrink()\n"
        "  dim a(1) = 3\n"
        "  return 7\n"
        "end\n"
        "a[3] = call shrink()\n"
        "after = 1\n");
    EXPECT_EQ(script.Out(), "err: 006 : Indice trop grand pour ce tableau\n");
    EXPECT_EQ(script.Word("after"), 0);
}

// An operator leaves the base and flag of its value out alone, so an element computed anew keeps
// them: a hexadecimal element stays an unsigned word for the modulo (4294967295 mod 10).
TEST(Arrays, AnElementKeepsItsBaseThroughAnOperator)
{
    ScriptRunner script;
    script.Execute("dim h(2) = 0xFFFFFFFF\nh[0] = h[0] + 0\nx = h[0] mod 10\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("x"), 5);
}

TEST(Arrays, AWholeArrayIsNotAValue)
{
    ScriptRunner script;
    EXPECT_FALSE(script.Analyse("dim a(3) = 0\na[0] = 1\nb = a\n"));
    EXPECT_EQ(script.FirstError(), "Copie de tableau non authorisee");
}

// The `dim` itself makes the name an array for the analysis: a whole array is refused even
// when no element has been named yet, instead of reading as 0 or an empty text at run time.
// Counts and indexes are integers: a real or a text there would be read as its word, 0, and
// quietly make one element or reach element 0. Refused at analysis, at the line of the fault.
TEST(Arrays, CountsAndIndexesThatAreNotIntegersAreRefused)
{
    constexpr char kCount[] = "La taille d'un tableau doit etre un entier";
    constexpr char kIndex[] = "L'indice d'un tableau doit etre un entier";
    struct Refused {
        const char* text;
        const char* message;
        unsigned line;
    };
    const Refused cases[] = {
        {"dim a(2.5) = 0\n", kCount, 1},
        {"dim a(\"3\") = 0\n", kCount, 1},
        {"dim a(1 == 1) = 0\n", kCount, 1},
        {"dim a(3) = 0\nx = a[1.5]\n", kIndex, 2},
        {"dim a(3) = 0\nx = a[\"1\"]\n", kIndex, 2},
        {"dim a(3) = 0\na[1.0] = 4\n", kIndex, 2},
        {"dim a(3) = \"t\"\na[true] = \"u\"\n", kIndex, 2},
    };
    for (const auto& c : cases) {
        ScriptRunner script;
        EXPECT_FALSE(script.Analyse(c.text)) << c.text;
        ASSERT_EQ(script.Errors().Errors().size(), 1u) << c.text << script.FirstError();
        EXPECT_EQ(script.FirstError(), c.message) << c.text;
        EXPECT_EQ(script.Errors().Errors()[0].line, c.line) << c.text;
    }
    // Integer expressions stay accepted for both.
    ScriptRunner script;
    script.Execute("n = 2\ndim a(n + 1) = 0\na[n] = 7\nx = a[n * 1]\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("x"), 7);
}

TEST(Arrays, AWholeArrayIsRefusedRightAfterItsDim)
{
    const std::pair<const char*, const char*> cases[] = {
        {"dim a(3) = 5\nb = a\n", "Copie de tableau non authorisee"},
        {"dim a(3) = \"t\"\nb = a\n", "Copie de tableau non authorisee"},
        {"dim a(3) = 5\nx = a + 1\n",
         "L'expression est non conforme car plusieurs types differents sont utilises dans l'expression"},
        {"dim a(3) = 5\nif a == 5 then\nend\n",
         "L'expression est non conforme car plusieurs types differents sont utilises dans l'expression"},
        {"dim a(3) = 5\nproc p()\n  x = 1\n  x = a\nend\n",
         "La variable 'a' est un tableau, l'utilisation est incorrecte."},
    };
    for (const auto& [text, message] : cases) {
        ScriptRunner script;
        EXPECT_FALSE(script.Analyse(text)) << text;
        EXPECT_EQ(script.FirstError(), message) << text;
    }
    // The elements stay values, and a name given a value before its dim keeps working until then.
    ScriptRunner script;
    script.Execute("dim a(3) = 5\nx = a[2] + 1\nn = 1\nm = n\ndim n(2) = 0\n");
    EXPECT_EQ(script.Out(), "");
    EXPECT_EQ(script.Word("x"), 6);
    EXPECT_EQ(script.Word("m"), 1);
}

// ---------------------------------------------------------------------------------------------
// Lines beyond 16 bits.

TEST(LongScript, RunTimeErrorNamesALineBeyond65535)
{
    std::string text = "x = 1\n";
    text.append(70000 - 2, '\n');
    text += "y = 1 / 0\n";  // line 70000
    ScriptRunner script;
    script.Execute(text);
    EXPECT_EQ(script.Out(), "err: 70000 : Division par 0\n");
}

}  // namespace
}  // namespace zov
