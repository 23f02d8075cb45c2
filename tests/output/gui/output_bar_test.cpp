#include "ide/output/OutputBar.h"
#include "ide/execution/model/RecordingSeams.h"
#include "ide/shell/ObjectNames.h"
#include "tests/output/gui/OutputTestSupport.h"

#include <QAction>
#include <QTextBlock>

#include <filesystem>
#include <fstream>
#include <QScrollBar>
#include <QToolBar>

#include <gtest/gtest.h>

namespace zov::output {
namespace {


using OutputBarTest = testing::PaneTest;

TEST_F(OutputBarTest, TabsToolbarsAndTheDisabledStop)
{
    OutputPaneBar bar(context);
    QTabWidget& tabs = bar.Tabs();
    const char* captions[] = {"Traces", "Erreurs", "Exécution", "Variables", "Données", "Recherche dans les scripts"};
    const int pages[] = {0x7110, 0x7114, 0x7111, 0x7112, 0x7113, 0x7115};
    ASSERT_EQ(tabs.count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(tabs.tabText(i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(tabs.widget(i)->objectName(), shell::ControlName(pages[i]));
    }
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(tabs.objectName(), "c36865");

    // Each page: its toolbar's commands and tooltips, in order; check buttons toggle.
    struct Expected {
        int command;
        const char* tooltip;
        bool check;
    };
    const std::vector<std::vector<Expected>> toolbars = {
        {{32985, "Enregistre", false}, {57633, "Supprime", false}, {38502, "Fige", true}},
        {{38700, "Supprime", false}},
        {{32810, "Charge le script", false}, {38500, "Supprime", false}, {32809, "Résultats du test", false}},
        {{32879, "Ajoute", false}, {32880, "Supprime", false}, {8900, "Affiche en temps réel", true}},
        {{38600, "Ajoute", false}, {38601, "Supprime", false}},
        {{32791, "Recherche une chaine", false},
         {38501, "Arrêt", false},
         {38504, "Suivant", false},
         {38505, "Précédant", false},
         {38506, "Supprime", false}},
    };
    for (int page = 0; page < 6; ++page) {
        auto* toolbar = tabs.widget(page)->findChild<QToolBar*>();
        ASSERT_NE(toolbar, nullptr);
        const QList<QAction*> actions = toolbar->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(toolbars[page].size())) << page;
        for (std::size_t i = 0; i < toolbars[page].size(); ++i) {
            const Expected& expected = toolbars[page][i];
            EXPECT_EQ(shell::CommandId(*actions[i]), expected.command);
            EXPECT_EQ(actions[i]->toolTip(), QString::fromUtf8(expected.tooltip));
            EXPECT_TRUE(actions[i]->text().isEmpty());
            EXPECT_EQ(actions[i]->isCheckable(), expected.check);
        }
    }
    EXPECT_FALSE(bar.Command(38501)->isEnabled());
    EXPECT_TRUE(bar.Command(38504)->isEnabled());
}

TEST_F(OutputBarTest, RunsButtonsFollowTheListAndTheFrame)
{
    bool running = false, stepCurrent = false;
    context.scriptRunning = [&] { return running; };
    context.campaignStepCurrent = [&] { return stepCurrent; };
    OutputPaneBar bar(context);
    EXPECT_FALSE(bar.Command(32809)->isEnabled()) << "no runs, no results";
    PaneRunSinks sinks(bar, {"s.qzs", "/w/s.qzs"});
    execution::RunRecord record;
    running = true;
    sinks.AddRun(record);
    EXPECT_TRUE(bar.Command(32809)->isEnabled());
    EXPECT_FALSE(bar.Command(38500)->isEnabled()) << "not while a script runs";
    running = false;
    stepCurrent = true;
    bar.UpdateCommandStates();
    EXPECT_TRUE(bar.Command(38500)->isEnabled());
    EXPECT_FALSE(bar.Command(32810)->isEnabled()) << "not during a campaign step";
    stepCurrent = false;
    prompter.record.Queue(shell::PromptAnswer::Yes);
    bar.Command(38500)->trigger();
    EXPECT_FALSE(bar.Command(32809)->isEnabled());
    EXPECT_TRUE(bar.Command(32810)->isEnabled());
}

TEST_F(OutputBarTest, CaptionsAndTooltipsFollowTheLanguage)
{
    context.translate = [](std::string_view text) { return "EN " + std::string(text); };
    OutputPaneBar bar(context);
    EXPECT_EQ(bar.Tabs().tabText(0), "EN Traces");
    EXPECT_EQ(bar.Tabs().tabText(5), "EN Recherche dans les scripts");
    EXPECT_EQ(bar.Command(38502)->toolTip(), "EN Fige");
    EXPECT_EQ(bar.m_tExecution->horizontalHeaderItem(5)->text(), "#");
    EXPECT_EQ(bar.m_tExecution->horizontalHeaderItem(6)->text(), "EN Résultat");
}

TEST_F(OutputBarTest, CommandsReachTheirPanesOrTheFrame)
{
    OutputPaneBar bar(context);
    bar.m_tFind->AddResult("r", "a.qzs:4");
    bar.Command(38504)->trigger();
    EXPECT_EQ(calls, std::vector<std::string>{"open a.qzs:4"});
    bar.Command(38506)->trigger();
    EXPECT_EQ(bar.m_tFind->count(), 0);

    bar.Command(38502)->trigger();
    EXPECT_TRUE(bar.m_tTrace->IsFrozen());
    bar.Command(38502)->trigger();
    EXPECT_FALSE(bar.m_tTrace->IsFrozen());

    bar.Command(32879)->trigger();
    bar.Command(32791)->trigger();
    EXPECT_EQ(calls, (std::vector<std::string>{"open a.qzs:4", "command 32879", "command 32791"}));
    EXPECT_FALSE(bar.HandleCommand(12345));

    bar.m_tError->AddError("1: x", nullptr);
    bar.Command(38700)->trigger();
    EXPECT_EQ(bar.m_tError->rowCount(), 0);
}

TEST_F(OutputBarTest, RunSinksFeedThePanesAndForwardTheMarks)
{
    OutputPaneBar bar(context);
    execution::EventLog log;
    execution::RecordingSinks view(log);
    PaneRunSinks sinks(bar, {"s.qzs", "/w/s.qzs"}, &view);
    execution::RunRecord record;
    record.testName = "T";
    EXPECT_EQ(sinks.Trace(execution::TraceCategory::Script, 2, 5, "hi"), "hi\n");
    sinks.AddRun(record);
    sinks.AddError("7: bad", &record);
    bar.m_tVar->AddVariable("v", &record);
    sinks.UpdateVariable("v", "1", 0, &record);
    sinks.SetExecutionLine(9);
    EXPECT_EQ(bar.m_tTrace->TextLineCount(), 1);
    EXPECT_EQ(bar.m_tExecution->rowCount(), 1);
    EXPECT_EQ(bar.m_tError->GetItemText(0, 0), " s.qzs");
    EXPECT_EQ(bar.m_tVar->GetItemText(0, 2), "1");
    EXPECT_EQ(log.Matching("mark execution"), std::vector<std::string>{"mark execution 9 on"});
    emit bar.m_tError->cellDoubleClicked(0, 0);
    EXPECT_EQ(calls, std::vector<std::string>{"open /w/s.qzs:7 mark"});
    sinks.ClearErrors();
    EXPECT_EQ(bar.m_tError->rowCount(), 0);
}

TEST_F(OutputBarTest, ClearIsEnabledWithTracesAndLoadingAScriptShowsItsTraces)
{
    OutputPaneBar bar(context);
    bar.Widget().resize(600, 200);
    bar.Widget().show();
    EXPECT_FALSE(bar.Command(57633)->isEnabled());
    PaneRunSinks sinks(bar, {"s.qzs", "/w/s.qzs"});
    execution::RunRecord first, second;
    first.testName = "first";
    second.testName = "second";
    sinks.AddRun(first);
    for (int i = 0; i < 40; ++i)
        sinks.Trace(execution::TraceCategory::Script, 1, -1, "a" + std::to_string(i));
    sinks.AddRun(second);
    for (int i = 0; i < 200; ++i)
        sinks.Trace(execution::TraceCategory::Script, 2, -1, "b" + std::to_string(i));
    bar.m_tTrace->Flush();
    EXPECT_TRUE(bar.Command(57633)->isEnabled());

    bar.m_tExecution->SelectOnly(bar.m_tExecution->RowOf(second));
    bar.Command(32810)->trigger();
    EXPECT_EQ(calls, std::vector<std::string>{"test second"});
    EXPECT_EQ(bar.m_tTrace->verticalScrollBar()->value(), 40) << "the run's first trace line at the top";

    prompter.record.Queue(shell::PromptAnswer::Yes);
    bar.Command(57633)->trigger();
    EXPECT_FALSE(bar.Command(57633)->isEnabled());
    EXPECT_FALSE(bar.m_tTrace->ScrollToRun(&second)) << "clearing forgets where runs began";
}

TEST_F(OutputBarTest, FactoryGivesTheFrameItsBar)
{
    std::unique_ptr<shell::IOutputBar> bar = MakeOutputBar(shell::IdentityTranslate());
    ASSERT_NE(bar->TracePane(), nullptr);
    bar->ShowTab(kTabFind);
    EXPECT_EQ(static_cast<QTabWidget&>(bar->Widget()).currentIndex(), kTabFind);
    bar->AddFindLine("found");
    EXPECT_EQ(static_cast<OutputPaneBar&>(*bar).m_tFind->count(), 1);
    bar->ShowTab(17);
    EXPECT_EQ(static_cast<QTabWidget&>(bar->Widget()).currentIndex(), kTabFind);

    // With the settings: the trace options and colours of ZOV.ini.
    const auto folder = std::filesystem::temp_directory_path() / ("zov-bar-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    {
        std::ofstream ini(folder / "ZOV.ini");
        ini << "[Preferences]\nMaxLines=50\nTraceCLI=0\nTraceClr0=255\n";
    }
    const shell::Settings settings(folder / "ZOV.ini", folder);
    auto configured = MakeOutputBar(shell::IdentityTranslate(), &settings);
    auto& trace = *static_cast<OutputPaneBar&>(*configured).m_tTrace;
    EXPECT_EQ(trace.Options().maxLines, 50);
    EXPECT_FALSE(trace.Options().cli);
    EXPECT_TRUE(trace.Options().script);
    trace.TraceSystem(1, "red");
    trace.Flush();
    const QTextBlock block = trace.document()->firstBlock();
    EXPECT_EQ((--block.end()).fragment().charFormat().foreground().color(), QColor(255, 0, 0));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zov::output
