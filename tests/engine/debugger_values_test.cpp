// `getval` and `setval`: the scope a name selects, the exact "cmd:val:" lines, the conversions
// of `setval`, and when each request is served with respect to the running script.

#include "engine/console/Console.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "LineCapture.h"
#include "engine/tree/Node.h"
#include "engine/runtime/SymbolStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <string>
#include <thread>

namespace zov {
namespace {

using namespace std::chrono_literals;

// A global scope with a procedure p (own scope) holding a procedure q, as the analysis leaves
// them: variables declared, typed and given a value.
class DebuggerValues : public ::testing::Test {
protected:
    DebuggerValues()
    {
        engine.NotifyLines = false;
        global.RegisterProcedure("p", &pNode, &pScope);
        pScope.RegisterProcedure("q", &qNode, &qScope);
        debugger.BeginRun(global);
    }

    CVariable& Variable(CSymbolStore& scope, const char* name, TypeCode type)
    {
        CVariable* variable = scope.Declare(name);
        variable->SetType(type);
        return *variable;
    }
    CVariable& Integer(CSymbolStore& scope, const char* name, std::int32_t value, std::uint32_t base = 10,
                       bool based = false)
    {
        CVariable& variable = Variable(scope, name, kTypeInteger);
        variable.Value() = CValue::Integer(value, base, based);
        return variable;
    }

    // Asks as the IDE does while the script waits in a built-in: answered at once.
    std::string Get(const std::string& name)
    {
        lines.Clear();
        CDebugger::ScriptPause pause(debugger);
        debugger.GetValue(name);
        return lines.Out();
    }
    void Set(const std::string& name, const std::string& text)
    {
        CDebugger::ScriptPause pause(debugger);
        debugger.SetValue(name, text);
    }

    test::LineCapture lines;
    EngineState engine;
    CDebugger debugger{engine};
    CSymbolStore global;
    CSymbolStore pScope{&global};
    CSymbolStore qScope{&pScope};
    CStatement pNode;
    CStatement qNode;
};

struct KindCase {
    const char* label;
    CValue value;
    TypeCode type;
    std::string line;  // after "cmd:val:v:"
};

class GetValKinds : public DebuggerValues, public ::testing::WithParamInterface<KindCase> {};

TEST_P(GetValKinds, WritesTheKindAndTheExactValue)
{
    CVariable& variable = Variable(global, "v", GetParam().type);
    variable.Value() = GetParam().value;
    const std::string expected = GetParam().line.empty() ? "" : "cmd:val:v:" + GetParam().line + "\n";
    EXPECT_EQ(Get("v"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetValKinds,
    ::testing::Values(KindCase{"decimal", CValue::Integer(5), kTypeInteger, "0:5"},
                      KindCase{"negative", CValue::Integer(INT_MIN), kTypeInteger, "0:-2147483648"},
                      KindCase{"based_decimal", CValue::Integer(-12, 10, true), kTypeInteger, "1:-12"},
                      KindCase{"hex", CValue::Integer(255, 16, true), kTypeInteger, "2:0xFF"},
                      KindCase{"hex_negative", CValue::Integer(-1, 16, true), kTypeInteger, "2:0xFFFFFFFF"},
                      KindCase{"binary", CValue::Integer(5, 2, true), kTypeInteger, "3:0b101"},
                      KindCase{"binary_zero", CValue::Integer(0, 2, true), kTypeInteger, "3:0b0"},
                      KindCase{"binary_negative", CValue::Integer(INT_MIN, 2, true), kTypeInteger,
                               "3:0b10000000000000000000000000000000"},
                      KindCase{"octal", CValue::Integer(8, 8, true), kTypeInteger, "4:0o10"},
                      KindCase{"octal_negative", CValue::Integer(-1, 8, true), kTypeInteger, "4:0o37777777777"},
                      KindCase{"other_base", CValue::Integer(7, 3, true), kTypeInteger, "0:7"},
                      KindCase{"real", CValue::Real(2.5), kTypeReal, "5:2.5"},
                      KindCase{"real_fifteen_digits", CValue::Real(1.0 / 3.0), kTypeReal, "5:0.333333333333333"},
                      KindCase{"real_large", CValue::Real(1e20), kTypeReal, "5:1E+20"},
                      KindCase{"real_rounded", CValue::Real(123456789012345678.0), kTypeReal, "5:1.23456789012346E+17"},
                      KindCase{"real_small", CValue::Real(-1e-5), kTypeReal, "5:-1E-05"},
                      KindCase{"true", CValue::Boolean(true), kTypeBoolean, "6:true"},
                      KindCase{"false", CValue::Boolean(false), kTypeBoolean, "6:false"},
                      KindCase{"string_with_colon", CValue::Text("a:b:c"), kTypeString, "7:a:b:c"},
                      KindCase{"string_with_break", CValue::Text("one\ntwo"), kTypeString, "7:one\ntwo"},
                      KindCase{"string_empty", CValue::Text(""), kTypeString, "7:"},
                      KindCase{"string_absent", CValue(), kTypeString, "7:"},
                      KindCase{"void", CValue::Integer(0xAB), kTypeVoid, "2:00000000000000AB"},
                      KindCase{"cli_handle", CValue::Cli(2), kTypeCli, ""},
                      KindCase{"undetermined", CValue::Integer(1), kTypeUndetermined, ""}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(DebuggerValues, AWholeArrayAndAnUnknownNameGiveNoLine)
{
    CVariable& table = Variable(global, "t", kTypeInteger);
    ASSERT_EQ(table.Allocate(3, kTypeInteger, CValue::Integer(1)), ArrayAccess::Ok);
    EXPECT_EQ(Get("t"), "");
    EXPECT_EQ(Get("nothing"), "");
    EXPECT_EQ(Get(""), "");
    EXPECT_EQ(Get("p|"), "");
}

// A name declared again inside a procedure shares the outer variable, so the procedures' own
// variables here bear names that the global scope does not bind.
TEST_F(DebuggerValues, ABarPathSelectsTheProcedureScope)
{
    Integer(global, "g", 1);
    Integer(pScope, "x", 2);
    Integer(qScope, "z", 3);
    EXPECT_EQ(Get("g"), "cmd:val:g:0:1\n");
    EXPECT_EQ(Get("p|x"), "cmd:val:p|x:0:2\n");
    EXPECT_EQ(Get("p|q|z"), "cmd:val:p|q|z:0:3\n");
    // No procedure of that name: the scope stays where it is.
    EXPECT_EQ(Get("none|g"), "cmd:val:none|g:0:1\n");
    EXPECT_EQ(Get("none|x"), "");
    EXPECT_EQ(Get("p|none|x"), "cmd:val:p|none|x:0:2\n");
    EXPECT_EQ(Get("|g"), "cmd:val:|g:0:1\n");
    // q is a procedure of p, not of the global scope.
    EXPECT_EQ(Get("q|z"), "");
    // Only the selected scope's own table: no search outward, none inward.
    EXPECT_EQ(Get("p|g"), "");
    EXPECT_EQ(Get("x"), "");
    EXPECT_EQ(Get("p|z"), "");
    // Names are case-sensitive.
    EXPECT_EQ(Get("P|x"), "");
    EXPECT_EQ(Get("G"), "");
}

struct SetCase {
    const char* label;
    TypeCode type;
    CValue start;
    const char* text;
    std::string after;  // getval answer after "cmd:val:v:"
};

class SetValConversions : public DebuggerValues, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetValConversions, ChangeTheVariableByItsType)
{
    CVariable& variable = Variable(global, "v", GetParam().type);
    variable.Value() = GetParam().start;
    lines.Clear();
    Set("v", GetParam().text);
    EXPECT_EQ(lines.Out(), "");  // setval never writes
    EXPECT_EQ(Get("v"), "cmd:val:v:" + GetParam().after + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetValConversions,
    ::testing::Values(SetCase{"integer", kTypeInteger, CValue::Integer(1), "42", "0:42"},
                      SetCase{"integer_keeps_base", kTypeInteger, CValue::Integer(1, 16, true), "42", "2:0x2A"},
                      SetCase{"integer_signed", kTypeInteger, CValue::Integer(1), " -7x", "0:-7"},
                      SetCase{"integer_no_number", kTypeInteger, CValue::Integer(9), "abc", "0:0"},
                      SetCase{"integer_saturates", kTypeInteger, CValue::Integer(0), "99999999999", "0:2147483647"},
                      SetCase{"real", kTypeReal, CValue::Real(1.0), "2.5", "5:2.5"},
                      SetCase{"real_exponent", kTypeReal, CValue::Real(1.0), "-1e20", "5:-1E+20"},
                      SetCase{"real_no_number", kTypeReal, CValue::Real(1.0), "x", "5:0"},
                      SetCase{"boolean_true", kTypeBoolean, CValue::Boolean(false), "true", "6:true"},
                      SetCase{"boolean_false", kTypeBoolean, CValue::Boolean(true), "false", "6:false"},
                      SetCase{"boolean_upper_case", kTypeBoolean, CValue::Boolean(false), "TRUE", "6:false"},
                      SetCase{"boolean_digit", kTypeBoolean, CValue::Boolean(true), "0", "6:true"},
                      SetCase{"string", kTypeString, CValue::Text("old"), "new:text", "7:new:text"},
                      SetCase{"string_from_absent", kTypeString, CValue(), "x", "7:x"},
                      SetCase{"string_empty", kTypeString, CValue::Text("old"), "", "7:"}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(DebuggerValues, SetValReachesOnlyTheSelectedScope)
{
    CVariable& outer = Integer(global, "g", 1);
    CVariable& inner = Integer(pScope, "x", 2);
    Set("p|x", "20");
    EXPECT_EQ(outer.Value().Word(), 1);
    EXPECT_EQ(inner.Value().Word(), 20);
    Set("none|g", "10");
    EXPECT_EQ(outer.Value().Word(), 10);
    Set("p|g", "5");
    Set("x", "5");
    Set("missing", "5");
    Set("", "5");
    EXPECT_EQ(outer.Value().Word(), 10);
    EXPECT_EQ(inner.Value().Word(), 20);
}

TEST_F(DebuggerValues, SetValLeavesArraysAndCliHandlesAlone)
{
    CVariable& table = Variable(global, "t", kTypeInteger);
    ASSERT_EQ(table.Allocate(2, kTypeInteger, CValue::Integer(1)), ArrayAccess::Ok);
    CVariable& cli = Variable(global, "c", kTypeCli);
    cli.Value() = CValue::Cli(3);
    Set("t", "9");
    Set("c", "9");
    EXPECT_EQ(table.Element(0)->Word(), 1);
    EXPECT_EQ(table.Value().Word(), 0);
    EXPECT_EQ(cli.Value().Word(), 3);
}

// While the script runs (not parked), requests wait for the interpret thread's next line
// report: nothing is read or written under the script's feet.
TEST_F(DebuggerValues, WhileRunningRequestsAreServedAtTheNextLineReport)
{
    CVariable& x = Integer(global, "x", 1);
    debugger.SetValue("x", "7");
    debugger.GetValue("x");
    EXPECT_EQ(lines.Out(), "");
    EXPECT_EQ(x.Value().Word(), 1);

    EXPECT_TRUE(debugger.ReportLine(12));
    EXPECT_EQ(lines.Out(), "cmd:val:x:0:7\n");
    EXPECT_EQ(x.Value().Word(), 7);

    EXPECT_TRUE(debugger.ReportLine(13));
    EXPECT_EQ(lines.Out(), "cmd:val:x:0:7\n");
}

TEST_F(DebuggerValues, AStoppedScriptAnswersAtOnce)
{
    Integer(global, "x", 5);
    debugger.SetBreakpoint(3, kBreakpointOn);
    std::thread script([&] {
        debugger.ReportLine(3);
        debugger.ReportLine(4);
    });
    ASSERT_TRUE(debugger.WaitForStop(1, 10s));
    lines.Clear();
    debugger.SetValue("x", "6");
    debugger.GetValue("x");
    EXPECT_EQ(lines.Out(), "cmd:val:x:0:6\n");
    debugger.Continue();
    script.join();
}

TEST_F(DebuggerValues, NoAnswerOnceTheRunEndsOrAborts)
{
    CVariable& x = Integer(global, "x", 1);
    debugger.GetValue("x");  // queued, then dropped with the run
    debugger.EndRun();
    EXPECT_TRUE(debugger.ReportLine(1));
    EXPECT_EQ(Get("x"), "");
    Set("x", "3");
    EXPECT_EQ(x.Value().Word(), 1);

    debugger.BeginRun(global);
    debugger.SetAbort(true);
    EXPECT_EQ(Get("x"), "");
}

// The script rewrites a text on every statement while the IDE reads and writes it: each answer
// is a whole value the script or the IDE stored, never a torn or freed one.
TEST_F(DebuggerValues, RequestsAndTheRunningScriptNeverMeetOnAValue)
{
    CVariable& s = Variable(global, "s", kTypeString);
    s.Value().SetText("start");
    constexpr int kRequests = 2000;
    std::atomic<bool> done{false};

    std::thread script([&] {
        std::uint32_t line = 1;
        for (int i = 0; !done.load(); ++i) {
            debugger.ReportLine(line);
            line = line % 5 + 1;
            s.Value().SetText(std::string(static_cast<std::size_t>(i % 200), 'a'));
            if (i % 64 == 0) {
                CDebugger::ScriptPause pause(debugger);
                std::this_thread::yield();
            }
        }
        debugger.ReportLine(99);  // serves what is left
    });
    for (int i = 0; i < kRequests; ++i) {
        if (i % 3 == 0)
            debugger.SetValue("s", std::string(static_cast<std::size_t>(i % 300), 'b'));
        else
            debugger.GetValue("s");
    }
    done = true;
    script.join();

    const std::string out = lines.Out();
    std::size_t answers = 0;
    for (std::size_t at = 0; at < out.size();) {
        const std::size_t end = out.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = out.substr(at, end - at);
        ASSERT_EQ(line.rfind("cmd:val:s:7:", 0), 0u) << line;
        const std::string value = line.substr(12);
        EXPECT_TRUE(value.find_first_not_of('a') == std::string::npos ||
                    value.find_first_not_of('b') == std::string::npos)
            << value;
        ++answers;
        at = end + 1;
    }
    EXPECT_GT(answers, 0u);
}

// The console's handlers reach the one debugger while a script runs.
TEST(DebuggerConsole, GetvalAndSetvalThroughTheCommandLine)
{
    Engine().Reset();
    Debugger().Reset();
    test::LineCapture lines;
    CSymbolStore global;
    CVariable* flag = global.Declare("flag");
    flag->SetType(kTypeBoolean);
    flag->Value().SetBoolean(false);
    CVariable* text = global.Declare("text");
    text->SetType(kTypeString);
    text->Value().SetText("x");
    Debugger().BeginRun(global);
    {
        CDebugger::ScriptPause pause(Debugger());
        DispatchCommand("getval -name flag");  // no script running yet: refused
        Engine().ScriptRunning = 1;
        DispatchCommand("setval -name flag -val TRUE");
        DispatchCommand("getval -name flag");
        DispatchCommand("setval -name flag -val true");
        DispatchCommand("setval -name text -val \"a: b\"");
        DispatchCommand("GETVAL -NAME flag");
        DispatchCommand("getval -name text");
    }
    EXPECT_EQ(lines.Out(), "cmd:val:flag:6:false\ncmd:val:flag:6:true\ncmd:val:text:7:a: b\n");
    Debugger().Reset();
    Engine().Reset();
}

}  // namespace
}  // namespace zov
