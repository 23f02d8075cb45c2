// Runs from the script view, end to end with the zovrun of the build: keys F5, Shift+F5, F6 and
// Esc, the title's running mark, the execution line at a breakpoint, the read-only buffer, the
// copy of a script with unfolded macros, and the system trace of a start.
#include "tests/scriptview/gui/ScriptViewHarness.h"

#include "ide/editor/model/MacroFolding.h"
#include "ide/interfaces/model/MacroText.h"
#include "ide/shell/ShellPrompter.h"

#include <sys/wait.h>

namespace zov::scriptview::test {
namespace {

using namespace view_commands;

constexpr const char* kScript = "x = 1\ny = 2\ntrace(42)\nok(\"fin\")\n";

TEST_F(ScriptViewTest, BreakpointPausesStepAndContinueEndTheRun)
{
    CZOVView& view = Open("real.qzs", kScript);
    SetBreakpoint(2);
    QSignalSpy paused(&view, &CZOVView::RunPaused);
    QSignalSpy ended(&view, &CZOVView::RunEnded);

    Key(Qt::Key_F5);
    EXPECT_TRUE(view.IsRunning());
    EXPECT_TRUE(ReadOnly());
    EXPECT_EQ(Title(), "#real.qzs");
    // The system trace of a start, before anything of the engine.
    const Events traces = Logged("trace system");
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0], "trace system - " + std::string(46, '*'));
    EXPECT_EQ(traces[1], "trace system - Exécution (\"" + (root_ / "real.qzs").string() + "\")\\n");

    ASSERT_TRUE(WaitFor(paused));
    EXPECT_EQ(paused.takeFirst().at(0).toInt(), 2);
    EXPECT_EQ(ExecutionLine(), 2);
    EXPECT_EQ(Title(), "real.qzs");
    EXPECT_TRUE(ReadOnly());
    EXPECT_EQ(view.IsCommandEnabled(kNextLine), true);
    EXPECT_EQ(view.IsCommandEnabled(kBreak), false);

    // F6 steps to the next line, where the engine waits again.
    Key(Qt::Key_F6);
    EXPECT_EQ(Title(), "#real.qzs");
    ASSERT_TRUE(WaitFor(paused));
    EXPECT_EQ(paused.takeFirst().at(0).toInt(), 3);
    EXPECT_EQ(ExecutionLine(), 3);

    // F5 while paused sends the breakpoints again and continues to the end.
    log.Clear();
    Key(Qt::Key_F5);
    const Events sent = Logged("send");
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent[0], "send resetbkp\\n\\n");
    EXPECT_EQ(sent[1], "send setbkp -line 2 -state on\\n\\n");
    EXPECT_EQ(sent[2], "send continue\\n\\n");
    ASSERT_TRUE(WaitFor(ended));
    EXPECT_EQ(Logged("trace script"), Events{"trace script 3 42"});
    EXPECT_FALSE(view.IsRunning());
    EXPECT_FALSE(ReadOnly());
    EXPECT_EQ(Title(), "real.qzs");
    EXPECT_EQ(ExecutionLine(), 0);
    EXPECT_EQ(host.ended, 1);
}

TEST_F(ScriptViewTest, EscapeWhilePausedStopsTheRunAsStopped)
{
    execution::RunRecord record{.testName = "t"};
    CZOVView& view = Open("real.qzs", kScript);
    view.SetRunRecord(&record);
    SetBreakpoint(1);
    QSignalSpy paused(&view, &CZOVView::RunPaused);
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(paused));

    Key(Qt::Key_Escape);
    EXPECT_EQ(record.resultCode, execution::kResultStopped);
    EXPECT_FALSE(record.toRun);
    EXPECT_EQ(panes.runs.Find(record)->result, " Arrêté");
    EXPECT_FALSE(Logged("send exit").empty());
    EXPECT_EQ(host.stopped, 1);
    EXPECT_EQ(Title(), "real.qzs");
    ASSERT_TRUE(WaitFor(ended));
    // The end of the engine keeps the stop.
    EXPECT_EQ(record.resultCode, execution::kResultStopped);
    EXPECT_FALSE(view.IsRunning());
    EXPECT_FALSE(ReadOnly());
}

TEST_F(ScriptViewTest, ShiftF5VerifiesWithoutRunning)
{
    execution::RunRecord record{.testName = "t"};
    CZOVView& view = Open("real.qzs", kScript);
    view.SetRunRecord(&record);
    SetBreakpoint(2);
    QSignalSpy paused(&view, &CZOVView::RunPaused);
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_TRUE(host.verifyFlag);
    ASSERT_TRUE(WaitFor(ended));
    EXPECT_EQ(paused.count(), 0);
    EXPECT_EQ(record.resultCode, execution::kResultVerified);
    EXPECT_EQ(panes.runs.Find(record)->result, " Vérifié");
    EXPECT_TRUE(Logged("trace script").empty());
    EXPECT_FALSE(Logged("send verify -val 1").empty());
}

TEST_F(ScriptViewTest, EditsWaitUntilTheRunEnds)
{
    CZOVView& view = Open("real.qzs", kScript);
    SetBreakpoint(1);
    QSignalSpy paused(&view, &CZOVView::RunPaused);
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(paused));
    view.SetCursorPos({0, 3});
    QTest::keyClicks(&view, QStringLiteral("zz"));
    EXPECT_EQ(document_->Buffer().GetLine(3), QStringLiteral("ok(\"fin\")"));
    view.StopScript();
    ASSERT_TRUE(WaitFor(ended));
    QTest::keyClicks(&view, QStringLiteral("zz"));
    EXPECT_EQ(document_->Buffer().GetLine(3), QStringLiteral("zzok(\"fin\")"));
}

// A script whose macro call is unfolded runs from a copy in the temporary folder that holds the
// body; the script's own file keeps the call.
TEST_F(ScriptViewTest, UnfoldedMacrosRunFromACopyInTheTemporaryFolder)
{
    auto& ui = shell::ActivePrompter();
    interfaces::InterfaceSet set({ZOV_BIN_DIR, "", tempDir_.string()}, ui);
    set.AddMacro("TRACER", interfaces::FoldMacroText("trace(7)\r\n"), -1);
    ScriptViewServices services;
    services.names = &set;
    services.expandMacro = [&set](const std::string& name, int depth) { return set.ExpandMacro(name, depth); };
    CZOVView& view = Open("m.qzs", "x = 1\nTRACER\nok(\"fin\")\n", services);
    editor::CTextBuffer& buffer = document_->Buffer();
    ASSERT_TRUE(buffer.HasMacroName(1));
    buffer.SetFoldState(1, editor::Fold_OneLevel);
    ASSERT_TRUE(editor::ExpandMacroLine(buffer, 1, false, services.expandMacro));
    ASSERT_TRUE(editor::HasMacroBlocks(buffer));
    SetBreakpoint(3);
    const std::string copy = (tempDir_ / "m.qzs.000").string();
    EXPECT_EQ(view.RunPath(), copy);

    QSignalSpy paused(&view, &CZOVView::RunPaused);
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(paused));
    EXPECT_EQ(paused.takeFirst().at(0).toInt(), 3);
    const Events interpret = Logged("send interpret");
    ASSERT_EQ(interpret.size(), 1u);
    EXPECT_NE(interpret[0].find("-scriptfn \"" + copy + "\""), std::string::npos) << interpret[0];
    EXPECT_NE(zov::test::ReadFile(copy).find("trace(7)"), std::string::npos);
    EXPECT_EQ(zov::test::ReadFile(root_ / "m.qzs"), "x = 1\nTRACER\nok(\"fin\")\n");
    // The view still shows the body, and the breakpoint is where it was.
    EXPECT_TRUE(buffer.IsUnfolded(1));
    EXPECT_NE(buffer.GetLineFlags(2) & editor::LineFlag_Breakpoint, 0u);
    view.StopScript();
    ASSERT_TRUE(WaitFor(ended));
    EXPECT_EQ(Logged("trace script"), Events{"trace script 2 7"});
}

// Closing the window in the middle of a run ends its engine; nothing of the run comes back.
TEST_F(ScriptViewTest, ClosingAPausedViewEndsItsEngine)
{
    CZOVView& view = Open("real.qzs", kScript);
    SetBreakpoint(1);
    QSignalSpy paused(&view, &CZOVView::RunPaused);
    Key(Qt::Key_F5);
    ASSERT_TRUE(WaitFor(paused));
    const execution::EngineProcess* runner = view.Driver().Runner();
    ASSERT_NE(runner, nullptr);
    const int pid = runner->Pid();
    ASSERT_GT(pid, 0);
    delete &view;
    EXPECT_EQ(document_->View()->IsRunning(), false);
    // The engine was waited for: its process id names no child of ours any more.
    EXPECT_EQ(::waitpid(pid, nullptr, WNOHANG), -1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(Logged("ended").empty());
}

}  // namespace
}  // namespace zov::scriptview::test
