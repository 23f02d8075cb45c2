// The built-ins that talk to the IDE: verdict, warning, information and trace lines, sync
// values and `waitsync`, `exportdata`, and `importdata` answered by the console's `setdata`.

#include "engine/runtime/Builtins.h"
#include "engine/console/Console.h"
#include "engine/runtime/Debugger.h"
#include "engine/runtime/EngineState.h"
#include "LineCapture.h"
#include "engine/base/Output.h"
#include "engine/processes/ProcessRegistry.h"
#include "engine/runtime/SymbolStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zov {
namespace {

class BuiltinMessages : public testing::Test {
protected:
    void SetUp() override
    {
        ClearProcessHooks();
        AddStopAllClisHook([this] { ++clisStopped; });
        Engine().Reset();
    }
    void TearDown() override
    {
        ClearProcessHooks();
        Engine().Reset();
    }

    CDebugger debugger;
    std::atomic<int> clisStopped{0};
    test::LineCapture capture;
    BuiltinContext context{debugger, Engine(), SystemClock(), 12};

    CValue Call(const char* name, const std::vector<CValue>& args)
    {
        BuiltinHandler handler = FindBuiltinHandler(name);
        EXPECT_NE(handler, nullptr) << name;
        return handler ? handler(context, args) : CValue{};
    }
};

// ---------------------------------------------------------------------------------------------
// Lines of the table handlers

struct LineCase {
    const char* name;
    std::vector<CValue> args;
    const char* expected;
    bool ends;  // the run ends: CLIs stopped, abort flag set
};

class TableLines : public BuiltinMessages, public testing::WithParamInterface<LineCase> {};

TEST_P(TableLines, WriteTheirLine)
{
    const LineCase& c = GetParam();
    Call(c.name, c.args);
    EXPECT_EQ(capture.Out(), c.expected);
    EXPECT_EQ(capture.Err(), "");
    EXPECT_EQ(debugger.Aborting(), c.ends);
    EXPECT_EQ(clisStopped.load(), c.ends ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, TableLines,
    testing::Values(LineCase{"ok", {CValue::Text("all good")}, "cmd: ok : 12 : all good\n", true},
                    LineCase{"nok", {CValue::Text("bad")}, "cmd: nok : 12 : bad\n", true},
                    LineCase{"ok", {CValue{}}, "cmd: ok : 12 : \n", true},  // no text reads as empty
                    LineCase{"warning", {CValue::Text("careful")}, "cmd: wng : 12 : careful\n", false},
                    LineCase{"info", {CValue::Text("note")}, "cmd: inf : note\n", false},
                    LineCase{"info", {CValue{}}, "cmd: inf : \n", false},
                    LineCase{"trace", {CValue::Text("a"), CValue::Text("b")}, "trc: 12:ab\n", false},
                    LineCase{"sync", {CValue::Integer(-7)}, "syn: -7\n", false},
                    LineCase{"exportdata", {CValue::Text("name"), CValue::Text("v 1")}, "exp: name : v 1\n", false},
                    LineCase{"exportdata", {CValue{}, CValue{}}, "exp:  : \n", false},
                    LineCase{"pause", {CValue::Integer(0)}, "", false},
                    LineCase{"pause", {CValue::Integer(-100)}, "", false}));

// `ok` and `nok` wait for every CLI to end: the IDE's getval is answered while they do, not
// left queued for a line report that never comes.
TEST_F(BuiltinMessages, GetvalIsAnsweredWhileTheVerdictStopsTheClis)
{
    CSymbolStore global;
    CVariable* count = global.Declare("count");
    count->SetType(kTypeInteger);
    count->Value().SetWord(41);
    debugger.BeginRun(global);
    ClearProcessHooks();
    std::string seenDuringStop;
    AddStopAllClisHook([&] {
        debugger.GetValue("count");
        seenDuringStop = capture.Out();
    });
    for (const char* name : {"ok", "nok"}) {
        capture.Clear();
        debugger.SetAbort(false);
        Call(name, {CValue::Text("v")});
        EXPECT_EQ(seenDuringStop, std::string("cmd: ") + name + " : 12 : v\ncmd:val:count:0:41\n");
    }
    debugger.EndRun();
}

// ---------------------------------------------------------------------------------------------
// The statement form: pieces by type, condition first

struct MessageCase {
    ScriptMessage kind;
    std::vector<CValue> values;
    std::vector<TypeCode> types;
    const char* expected;
    bool ends;
};

class StatementForm : public BuiltinMessages, public testing::WithParamInterface<MessageCase> {};

TEST_P(StatementForm, JoinsPiecesAndHonoursTheCondition)
{
    const MessageCase& c = GetParam();
    WriteScriptMessage(c.kind, context, c.values, c.types);
    EXPECT_EQ(capture.Out(), c.expected);
    EXPECT_EQ(debugger.Aborting(), c.ends);
    EXPECT_EQ(clisStopped.load(), c.ends ? 1 : 0);
}

const CValue kTrue = CValue::Boolean(true);
const CValue kFalse = CValue::Boolean(false);

INSTANTIATE_TEST_SUITE_P(
    Builtins, StatementForm,
    testing::Values(
        MessageCase{ScriptMessage::Trace,
                    {CValue::Text("a"), CValue::Integer(1), CValue::Real(2.5), kTrue},
                    {kTypeString, kTypeInteger, kTypeReal, kTypeBoolean},
                    "trc: 12:a12.5true\n",
                    false},
        // A single boolean is a value, not a condition.
        MessageCase{ScriptMessage::Trace, {kTrue}, {kTypeBoolean}, "trc: 12:true\n", false},
        MessageCase{ScriptMessage::Trace, {kFalse, CValue::Text("x")}, {kTypeBoolean, kTypeString}, "", false},
        MessageCase{
            ScriptMessage::Trace, {kTrue, CValue::Text("x")}, {kTypeBoolean, kTypeString}, "trc: 12:x\n", false},
        // With a condition ok and nok only trace, and never end the run.
        MessageCase{ScriptMessage::Ok, {kFalse, CValue::Text("x")}, {kTypeBoolean, kTypeString}, "", false},
        MessageCase{ScriptMessage::Nok, {kTrue, CValue::Text("x")}, {kTypeBoolean, kTypeString}, "trc: 12:x\n", false},
        MessageCase{
            ScriptMessage::Warning, {kTrue, CValue::Text("w")}, {kTypeBoolean, kTypeString}, "trc: 12:w\n", false},
        MessageCase{ScriptMessage::Nok, {CValue::Text("x")}, {kTypeString}, "cmd: nok : 12 : x\n", true},
        MessageCase{ScriptMessage::Ok,
                    {CValue::Text("v="), CValue::Integer(3)},
                    {kTypeString, kTypeInteger},
                    "cmd: ok : 12 : v=3\n",
                    true},
        MessageCase{ScriptMessage::Warning, {CValue::Real(0.1)}, {kTypeReal}, "cmd: wng : 12 : 0.1\n", false},
        // Integers: signed decimal, or by their display base with prefix when based.
        MessageCase{ScriptMessage::Trace,
                    {CValue::Integer(-3), CValue::Integer(255, 16, true), CValue::Integer(5, 2, true),
                     CValue::Integer(8, 8, true), CValue::Integer(255, 16, false), CValue::Cli(2)},
                    {kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeInteger, kTypeCli},
                    "trc: 12:-30xFF0b1010o102552\n",
                    false},
        // A text without text and a type with no piece add nothing.
        MessageCase{ScriptMessage::Trace,
                    {CValue{}, CValue::Integer(4), CValue::Text("z")},
                    {kTypeString, kTypeVoid, kTypeString},
                    "trc: 12:z\n",
                    false}));

// ---------------------------------------------------------------------------------------------
// waitsync

TEST_F(BuiltinMessages, WaitsyncTakesAValuePostedBeforeAndFreesItsSlot)
{
    DispatchCommand("sync -val 4");
    EXPECT_EQ(Call("waitsync", {CValue::Integer(3), CValue::Integer(4), CValue::Integer(1000)}).Word(), 4);
    for (const int slot : Engine().SyncTable())
        EXPECT_EQ(slot, kFreeSyncSlot);
    EXPECT_EQ(Engine().WantedSync()[0], 3);
    EXPECT_EQ(Engine().WantedSync()[2], 1000);
}

TEST_F(BuiltinMessages, WaitsyncWakesWhenTheValueArrives)
{
    // A time-out far beyond any test: the wait must end through the wake-up of `sync`.
    std::thread console([] { DispatchCommand("sync -val 9"); });
    EXPECT_EQ(WaitForSyncValue(Engine(), std::vector<std::int32_t>{9}, 600000), 9);
    console.join();
}

TEST_F(BuiltinMessages, WaitsyncTimesOutWithMinusOneAndLeavesOtherValues)
{
    DispatchCommand("sync -val 3");
    EXPECT_EQ(Call("waitsync", {CValue::Integer(4), CValue::Integer(20)}).Word(), -1);
    EXPECT_EQ(Call("waitsync", {CValue::Integer(4), CValue::Integer(0)}).Word(), -1);
    EXPECT_EQ(Call("waitsync", {CValue::Integer(4), CValue::Integer(-5)}).Word(), -1);
    EXPECT_EQ(Engine().SyncTable()[kSyncSlots - 1], 3);
    EXPECT_EQ(Call("waitsync", {CValue::Integer(3), CValue::Integer(0)}).Word(), 3);
}

TEST_F(BuiltinMessages, WaitsyncSearchesSlotBySlotFromTheFirst)
{
    DispatchCommand("sync -val 7");  // highest free slot: 31
    DispatchCommand("sync -val 8");  // then 30, searched first
    EXPECT_EQ(Call("waitsync", {CValue::Integer(7), CValue::Integer(8), CValue::Integer(0)}).Word(), 8);
    EXPECT_EQ(Call("waitsync", {CValue::Integer(7), CValue::Integer(8), CValue::Integer(0)}).Word(), 7);
}

TEST_F(BuiltinMessages, WaitsyncFromWantedSyncReadsAtMostItsPlaces)
{
    Engine().SetWantedSync(0, 3);
    Engine().SetWantedSync(1, 4);
    Engine().SetWantedSync(2, 0);
    DispatchCommand("sync -val 4");
    EXPECT_EQ(WaitForWantedSync(Engine(), 3), 4);

    // More arguments than places: the 32nd place is the time-out.
    for (int i = 0; i < kSyncSlots; ++i)
        Engine().SetWantedSync(i, 100 + i);
    Engine().SetWantedSync(kSyncSlots - 1, 0);
    DispatchCommand("sync -val 130");
    EXPECT_EQ(WaitForWantedSync(Engine(), 40), 130);
    EXPECT_EQ(WaitForWantedSync(Engine(), 0), -1);
}

// ---------------------------------------------------------------------------------------------
// importdata and exportdata

// Plays the IDE: once the "imp:" line is out, sends `command` to the console from a thread of
// its own. Lines still reach the previous sink.
class ConsoleAnswer {
public:
    explicit ConsoleAnswer(std::string command) : command_(std::move(command))
    {
        previous_ = SetLineSink([this](Stream stream, std::string_view text) {
            if (previous_)
                previous_(stream, text);
            if (text.substr(0, 5) == "imp: ") {
                std::lock_guard<std::mutex> hold(lock_);
                requested_ = true;
                asked_.notify_all();
            }
        });
        console_ = std::thread([this] {
            std::unique_lock<std::mutex> hold(lock_);
            asked_.wait(hold, [this] { return requested_; });
            hold.unlock();
            DispatchCommand(command_);
        });
    }
    ~ConsoleAnswer()
    {
        console_.join();
        SetLineSink(std::move(previous_));
    }

private:
    std::string command_;
    LineSink previous_;
    std::mutex lock_;
    std::condition_variable asked_;
    bool requested_ = false;
    std::thread console_;
};

TEST_F(BuiltinMessages, ImportdataIsAnsweredBySetdata)
{
    Engine().CliTimeoutSec = 600;  // the answer must wake the wait, not its end
    CValue value;
    {
        // The name is not compared with the one asked for.
        ConsoleAnswer ide("setdata -name other -val \"21.5 C\"");
        value = Call("importdata", {CValue::Text("temperature")});
    }
    ASSERT_TRUE(value.HasText());
    EXPECT_EQ(value.TextView(), "21.5 C");
    EXPECT_EQ(capture.Out(), "imp: temperature\n");
    EXPECT_FALSE(Engine().DataReady());
}

TEST_F(BuiltinMessages, ImportdataKeepsTheLastValueWhenSetdataCarriesNone)
{
    Engine().SetImport("n", "kept");
    Engine().CliTimeoutSec = 600;
    ConsoleAnswer ide("setdata -name n");
    EXPECT_EQ(ImportData(Engine(), "n"), "kept");
}

TEST_F(BuiltinMessages, ImportdataIgnoresAnAnswerGivenBeforeItAsks)
{
    DispatchCommand("setdata -name early -val stale");
    Engine().CliTimeoutSec = 0;
    const CValue value = Call("importdata", {CValue::Text("x")});
    ASSERT_TRUE(value.HasText());
    EXPECT_EQ(value.TextView(), "");
    EXPECT_EQ(capture.Out(), "imp: x\n");
}

TEST_F(BuiltinMessages, ImportdataTimesOutWithAnEmptyText)
{
    Engine().CliTimeoutSec = -3;
    EXPECT_EQ(ImportData(Engine(), "y"), "");
    EXPECT_EQ(capture.Out(), "imp: y\n");
}

}  // namespace
}  // namespace zov
