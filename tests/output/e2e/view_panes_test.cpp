// The output bar behind a script view, with the zovrun of the build: a trace-heavy run fills the
// trace pane up to its limit and ends with the last trace; an engine error lands in the error
// pane with the view's script, and opening it asks for the script's line with the error mark.
#include "ide/output/OutputBar.h"
#include "tests/output/gui/OutputTestSupport.h"
#include "tests/scriptview/gui/ScriptViewHarness.h"

namespace zov::scriptview::test {
namespace {

class ViewPanesTest : public ScriptViewTest {
protected:
    void SetUp() override
    {
        ScriptViewTest::SetUp();
        output::OutputContext context = output::testing::MakeContext(outputPrompter, calls);
        bar = std::make_unique<output::OutputPaneBar>(context);
    }
    void TearDown() override
    {
        ScriptViewTest::TearDown();
        sinks.reset();
        bar.reset();
    }
    CZOVView& OpenWithPanes(const std::string& name, const std::string& text)
    {
        sinks = std::make_unique<output::PaneRunSinks>(*bar, output::ScriptEntry{name, (root_ / name).string()});
        ScriptViewServices services;
        services.panes = sinks.get();
        return Open(name, text, std::move(services));
    }

    output::testing::PanePrompter outputPrompter;
    std::vector<std::string> calls;
    std::unique_ptr<output::OutputPaneBar> bar;
    std::unique_ptr<output::PaneRunSinks> sinks;
};

TEST_F(ViewPanesTest, TraceHeavyRunEndsWithTheLastTraceInAFullPane)
{
    CZOVView& view = OpenWithPanes("many.qzs",
                                   "for i = 1 to 12000 do\n"
                                   "  trace(\"line number \", i, \" of the trace stream\")\n"
                                   "end\n");
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5);
    for (int turns = 0; ended.count() == 0 && turns < 300; ++turns)
        ended.wait(100);
    ASSERT_EQ(ended.count(), 1);
    output::CTraceView& trace = *bar->m_tTrace;
    const int lines = trace.TextLineCount();
    EXPECT_GE(lines, 10001);
    EXPECT_LE(lines, 10100);
    const auto shown = trace.ShownLines();
    // The run's start in black and blue, then its traces; the last one is the last of the loop.
    bool sawLast = false;
    for (auto line = shown.rbegin(); line != shown.rend() && line - shown.rbegin() < 5; ++line)
        sawLast = sawLast || line->find("[0002] line number 12000 of the trace stream") != std::string::npos;
    EXPECT_TRUE(sawLast) << shown.back();
}

TEST_F(ViewPanesTest, EngineErrorsNameTheViewsScript)
{
    CZOVView& view = OpenWithPanes("broken.qzs", "x = 1\nif x then\n");
    QSignalSpy ended(&view, &CZOVView::RunEnded);
    Key(Qt::Key_F5, Qt::ShiftModifier);
    for (int turns = 0; ended.count() == 0 && turns < 100; ++turns)
        ended.wait(100);
    ASSERT_EQ(ended.count(), 1);
    output::CErrorView& errors = *bar->m_tError;
    ASSERT_GE(errors.rowCount(), 1);
    EXPECT_EQ(errors.GetItemText(0, 0), " broken.qzs");
    ASSERT_TRUE(errors.OpenRow(0));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].rfind("open " + (root_ / "broken.qzs").string() + ":", 0), 0u) << calls[0];
    EXPECT_EQ(calls[0].substr(calls[0].size() - 5), " mark");
}

}  // namespace
}  // namespace zov::scriptview::test
