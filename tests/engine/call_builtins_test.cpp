// The built-ins a call node carries out itself, from script text: conversions, numbers, min and
// max, waitsync and importdata, and the text-output procedures trace, ok, nok and warning with
// their condition form.

#include "CallTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace zov {
namespace {

using test::CallScript;

// ---------------------------------------------------------------------------------------------
// Value results, seen through trace.

struct ValueCase {
    const char* expression;
    const char* text;  // what trace writes for it
};

class InNodeValue : public testing::TestWithParam<ValueCase> {};

TEST_P(InNodeValue, Gives)
{
    const ValueCase& c = GetParam();
    CallScript script;
    EXPECT_EQ(script.Execute(std::string("trace(") + c.expression + ")\n"), std::string("trc: 1:") + c.text + "\n")
        << c.expression;
}

INSTANTIATE_TEST_SUITE_P(
    Table, InNodeValue,
    testing::Values(
        // int2str: a based literal by its base without prefix, any other integer in signed decimal.
        ValueCase{"int2str(0xFF)", "FF"}, ValueCase{"int2str(0b101)", "101"}, ValueCase{"int2str(0b0)", "0"},
        ValueCase{"int2str(0o17)", "17"}, ValueCase{"int2str(255)", "255"}, ValueCase{"int2str(-3)", "-3"},
        ValueCase{"int2str(0xFFFFFFFF)", "FFFFFFFF"},
        ValueCase{"int2str(0b11111111111111111111111111111111)", "11111111111111111111111111111111"},
        ValueCase{"real2str(0.1)", "0.1"}, ValueCase{"real2str(2.5e20)", "2.5E+20"},
        // real2int truncates toward zero and saturates beyond the 32-bit range.
        ValueCase{"real2int(-2.7)", "-2"}, ValueCase{"real2int(2.7)", "2"}, ValueCase{"real2int(1.0e10)", "2147483647"},
        ValueCase{"real2int(-1.0e10)", "-2147483648"}, ValueCase{"round(3.14159, 2)", "3.14"},
        ValueCase{"sqrt(16)", "4"}, ValueCase{"sqrt(2.25)", "1.5"}, ValueCase{"ceil(2.1)", "3"},
        ValueCase{"floor(2.9)", "2"}, ValueCase{"floor(-2.1)", "-3"}, ValueCase{"abs(-3)", "3"},
        ValueCase{"abs(-2.5)", "2.5"}, ValueCase{"abs(0)", "0"},
        // The smallest integer has no opposite: it stays as it is, as the arithmetic wraps.
        ValueCase{"abs(-2147483647 - 1)", "-2147483648"}, ValueCase{"max(3, 9, 4)", "9"},
        ValueCase{"min(3, 9, 4)", "3"}, ValueCase{"min(2.5, 1.5)", "1.5"}, ValueCase{"max(-1.5, -0.5)", "-0.5"},
        ValueCase{"max(7, 7)", "7"},
        // Through the table.
        ValueCase{"strsize(\"abc\")", "3"}, ValueCase{"strupper(\"abc\")", "ABC"}, ValueCase{"bool2str(true)", "true"},
        ValueCase{"int2hex(255)", "000000ff"}));

// ---------------------------------------------------------------------------------------------
// Run-time errors of the built-ins in the node.

struct ErrorCase {
    const char* expression;
    const char* message;
};

class InNodeError : public testing::TestWithParam<ErrorCase> {};

TEST_P(InNodeError, EndsTheRun)
{
    const ErrorCase& c = GetParam();
    CallScript script;
    const std::string out =
        script.Execute(std::string("trace(\"before\")\nx = ") + c.expression + "\ntrace(\"after\")\n");
    EXPECT_EQ(out, std::string("trc: 1:before\nerr: 002 : ") + c.message + "\n") << c.expression;
}

INSTANTIATE_TEST_SUITE_P(Table, InNodeError,
                         testing::Values(ErrorCase{"abs(\"x\")", "Type invalide pour cette fonction"},
                                         ErrorCase{"abs(true)", "Type invalide pour cette fonction"},
                                         ErrorCase{"sqrt(true)", "Type invalide pour cette fonction"},
                                         ErrorCase{"sqrt(\"4\")", "Type invalide pour cette fonction"},
                                         ErrorCase{"max(1, 2.5)", "Les parametres ne sont pas tous du meme type"},
                                         ErrorCase{"min(1.5, 2)", "Les parametres ne sont pas tous du meme type"},
                                         ErrorCase{"min(\"a\", \"b\")", "Type invalide pour cette fonction"},
                                         ErrorCase{"max(true, false)", "Type invalide pour cette fonction"},
                                         // Past the longest text, as a join past it: never an
                                         // empty text that the script would take for a result.
                                         ErrorCase{"strrepeat(\"ab\", 2147483647)", "Chaine de caracteres trop longue"},
                                         ErrorCase{"strrepeat(\"0123456789abcdef\", 4194305)",
                                                   "Chaine de caracteres trop longue"},
                                         ErrorCase{"strreplace(strrepeat(\"a\", 1048576), \"a\", "
                                                   "strrepeat(\"b\", 100))",
                                                   "Chaine de caracteres trop longue"},
                                         // Every built-in that makes text keeps to the one limit.
                                         ErrorCase{"str2hex(strrepeat(\"0123456789abcdef\", 2097153))",
                                                   "Chaine de caracteres trop longue"}));

// The longest text itself is made.
TEST(InNodeValue, TheLongestTextIsMade)
{
    CallScript script;
    EXPECT_EQ(script.Execute("trace(strsize(strrepeat(\"0123456789abcdef\", 4194304)))\n"), "trc: 1:67108864\n");
}

// ---------------------------------------------------------------------------------------------
// trace, ok, nok and warning.

struct MessageCase {
    const char* script;
    const char* out;
};

class ScriptMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(ScriptMessages, Write)
{
    const MessageCase& c = GetParam();
    CallScript script;
    EXPECT_EQ(script.Execute(c.script), c.out) << c.script;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptMessages,
    testing::Values(MessageCase{"trace(\"a\", 1, 2.5, true)\n", "trc: 1:a12.5true\n"},
                    MessageCase{"trace(0xFF, \" \", 0b101, \" \", 0o17, \" \", -3)\n", "trc: 1:0xFF 0b101 0o17 -3\n"},
                    MessageCase{"trace(1.0e20, \" \", 0.1)\n", "trc: 1:1E+20 0.1\n"},
                    // A single boolean is a value, not a condition.
                    MessageCase{"trace(true)\n", "trc: 1:true\n"}, MessageCase{"trace(false)\n", "trc: 1:false\n"},
                    MessageCase{"trace(1 == 1, \"holds\")\ntrace(1 == 2, \"fails\")\n", "trc: 1:holds\n"},
                    MessageCase{"ok(\"fine\")\ntrace(\"after\")\n", "cmd: ok : 1 : fine\n"},
                    MessageCase{"nok(\"bad\")\ntrace(\"after\")\n", "cmd: nok : 1 : bad\n"},
                    MessageCase{"warning(\"careful\")\ntrace(\"after\")\n", "cmd: wng : 1 : careful\ntrc: 2:after\n"},
                    // The condition form writes a trace line when it holds, and nothing else: the run goes on.
                    MessageCase{"ok(false, \"x\")\ntrace(\"after\")\n", "trc: 2:after\n"},
                    MessageCase{"ok(true, \"x\")\ntrace(\"after\")\n", "trc: 1:x\ntrc: 2:after\n"},
                    MessageCase{"nok(1 > 2, \"x\")\nnok(2 > 1, \"y\", 3)\ntrace(\"after\")\n",
                                "trc: 2:y3\ntrc: 3:after\n"},
                    MessageCase{"warning(true, \"w\")\n", "trc: 1:w\n"},
                    MessageCase{"s = \"abc\"\ntrace(s, strsize(s))\ntrace(s)\n", "trc: 2:abc3\ntrc: 3:abc\n"}));

TEST(ScriptMessages, TraceTakesAHundredArguments)
{
    std::string arguments;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        arguments += i == 0 ? "\"x\"" : ", \"x\"";
        expected += "x";
    }
    CallScript script;
    EXPECT_EQ(script.Execute("trace(" + arguments + ")\n"), "trc: 1:" + expected + "\n");
}

TEST(ScriptMessages, ALongTraceIsWrittenWhole)
{
    std::string ten;
    for (int i = 0; i < 100; ++i)
        ten += "0123456789";
    CallScript script;
    const std::string out = script.Execute("s = strrepeat(\"0123456789\", 100)\ntrace(s, s, \"|\")\n");
    EXPECT_EQ(out, "trc: 2:" + ten + ten + "|\n");
}

// ---------------------------------------------------------------------------------------------
// Waits.

TEST(InNodeWaits, WaitSyncTakesAPostedValue)
{
    CallScript script;
    ASSERT_TRUE(script.Analyse("x = waitsync(3, 4, 2000)\ny = waitsync(5, 0)\ntrace(x, \" \", y)\n"));
    Engine().AddSync(4);
    script.Run();
    // 4 was posted: taken and freed; 5 never comes and the time-out of 0 gives up at once.
    EXPECT_EQ(script.Out(), "trc: 3:4 -1\n");
    for (int slot : Engine().SyncTable())
        EXPECT_NE(slot, 4);
}

TEST(InNodeWaits, WaitSyncStoresItsValuesInWantedSync)
{
    CallScript script;
    ASSERT_TRUE(script.Analyse("x = waitsync(11, 12, 13, 0)\n"));
    script.Run();
    const auto wanted = Engine().WantedSync();
    EXPECT_EQ(wanted[0], 11);
    EXPECT_EQ(wanted[1], 12);
    EXPECT_EQ(wanted[2], 13);
    EXPECT_EQ(wanted[3], 0);
}

TEST(InNodeWaits, ImportDataGivesTheDataSentForIt)
{
    CallScript script;
    ASSERT_TRUE(script.Analyse("d = importdata(\"volts\")\ntrace(\"[\", d, \"]\")\n"));
    Engine().CliTimeoutSec = 5;
    std::thread sender([&script] {
        // Sent once the script has asked for it (polled, with a deadline).
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (script.Out().find("imp: volts") == std::string::npos && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Engine().SetImport("volts", "12.5");
        Engine().SetDataReady();
    });
    script.Run();
    sender.join();
    EXPECT_EQ(script.Out(), "imp: volts\ntrc: 2:[12.5]\n");
}

}  // namespace
}  // namespace zov
