#include "ide/output/TracePane.h"
#include "tests/output/gui/OutputTestSupport.h"

#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zov::output {
namespace {

using execution::TraceCategory;

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TracePaneTest : public testing::PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        context.translate = [](std::string_view text) {
            return text == "moteur prêt" ? std::string("engine ready") : std::string(text);
        };
        pane = std::make_unique<CTraceView>(context);
        folder =
            std::filesystem::temp_directory_path() / ("zov-trace-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        pane.reset();
        std::filesystem::remove_all(folder);
    }

    // Colour (as COLORREF) of the character at `column` of shown line `line`.
    std::uint32_t ColourAt(int line, int column)
    {
        pane->Flush();
        const QTextBlock block = pane->document()->findBlockByNumber(line);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position() - block.position();
            if (column >= start && column < start + fragment.length()) {
                const QColor c = fragment.charFormat().foreground().color();
                return static_cast<std::uint32_t>(c.red() | (c.green() << 8) | (c.blue() << 16));
            }
        }
        return 0xFFFFFFFF;
    }

    std::unique_ptr<CTraceView> pane;
    std::filesystem::path folder;
};

TEST_F(TracePaneTest, LinesCarryStampRunAndCategoryColours)
{
    const std::uint32_t clr[4] = {0x0000FF, 0x00FF00, 0xFF0000, 0x123456};
    pane->SetColours(clr);
    pane->TraceSystem(3, "system");
    pane->TraceScriptLine(3, 14, "script");
    pane->TraceInterpreter(3, "moteur prêt");
    pane->TraceCli(3, "cli");
    const auto lines = pane->ShownLines();
    ASSERT_EQ(lines.size(), 4u);
    const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d \\(3\\) ");
    for (const std::string& line : lines)
        EXPECT_TRUE(stamp.match(QString::fromStdString(line)).hasMatch()) << line;
    EXPECT_EQ(lines[0].substr(17), "system");
    EXPECT_EQ(lines[1].substr(17), "[0014] script");
    EXPECT_EQ(lines[2].substr(17), "engine ready");
    EXPECT_EQ(lines[3].substr(17), "cli");
    // Stamp and run number black; the text in its category colour, with the crossing of
    // TraceClr1 (interpreter) and TraceClr2 (script).
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(ColourAt(line, 0), 0u) << line;
        EXPECT_EQ(ColourAt(line, 15), 0u) << line;
    }
    EXPECT_EQ(ColourAt(0, 17), 0x0000FFu);
    EXPECT_EQ(ColourAt(1, 17), 0xFF0000u);
    EXPECT_EQ(ColourAt(2, 17), 0x00FF00u);
    EXPECT_EQ(ColourAt(3, 17), 0x123456u);
    // Only script and CLI traces make the report text.
    EXPECT_EQ(pane->ReportText(), "script\ncli\n");
}

TEST_F(TracePaneTest, HiddenCategoriesAndLineBreakModes)
{
    TraceOptions options;
    options.cli = false;
    pane->SetOptions(options);
    EXPECT_EQ(pane->TraceCli(1, "hidden"), "");
    EXPECT_EQ(pane->TraceScript(1, "a\\nb"), "a\nb\n");
    options.oneLine = true;
    pane->SetOptions(options);
    EXPECT_EQ(pane->TraceScript(1, "c\\nd"), "c\\nd\n");
    const auto lines = pane->ShownLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(17), "a");
    EXPECT_EQ(lines[1].substr(17), "b");
    EXPECT_EQ(lines[2].substr(17), "c\\nd");
    EXPECT_EQ(pane->ReportText(), "a\nb\nc\\nd\n");
}

TEST_F(TracePaneTest, TrimsWholeHundredsPastTheLimit)
{
    TraceOptions options;
    options.maxLines = 10000;
    pane->SetOptions(options);
    for (int i = 1; i <= 10100; ++i)
        pane->TraceSystem(1, "line " + std::to_string(i));
    EXPECT_EQ(pane->TextLineCount(), 10100);
    pane->TraceSystem(1, "line 10101");
    EXPECT_EQ(pane->TextLineCount(), 10001);
    const auto lines = pane->ShownLines();
    EXPECT_EQ(lines.front().substr(17), "line 101");
    EXPECT_EQ(lines.back().substr(17), "line 10101");
    // Traces that arrive in one slice are trimmed together, still by hundreds.
    for (int i = 10102; i <= 10350; ++i)
        pane->TraceSystem(1, "line " + std::to_string(i));
    EXPECT_EQ(pane->TextLineCount(), 10050);
}

TEST_F(TracePaneTest, ABurstKeepsWhatTraceByTraceTrimmingKeeps)
{
    // Traces that arrive while the event loop is held up (the end of a run) are inserted together;
    // the pane still ends as if each had been trimmed on arrival.
    TraceOptions options;
    options.maxLines = 100;
    pane->SetOptions(options);
    for (int i = 1; i <= 150; ++i)
        pane->TraceSystem(1, "t" + std::to_string(i));
    EXPECT_EQ(pane->TextLineCount(), 150);
    for (int i = 151; i <= 1187; ++i)
        pane->TraceSystem(1, "t" + std::to_string(i));
    // One by one: 101 + (1187 - 101) % 100 lines, the last ones.
    const auto lines = pane->ShownLines();
    ASSERT_EQ(lines.size(), 187u);
    EXPECT_EQ(lines.front().substr(17), "t1001");
    EXPECT_EQ(lines.back().substr(17), "t1187");

    pane->ClearTraces();
    for (int i = 1; i <= 1000; ++i)
        pane->TraceSystem(1, "u" + std::to_string(i));
    const auto fresh = pane->ShownLines();
    ASSERT_EQ(fresh.size(), 200u);
    EXPECT_EQ(fresh.front().substr(17), "u801");
}

TEST_F(TracePaneTest, ClearAsksFirst)
{
    pane->OnClear();
    EXPECT_TRUE(prompter.record.Prompts().empty()) << "an empty pane asks nothing";
    pane->TraceSystem(1, "x");
    prompter.record.Queue(shell::PromptAnswer::No);
    pane->OnClear();
    EXPECT_EQ(pane->TextLineCount(), 1);
    prompter.record.Queue(shell::PromptAnswer::Yes);
    pane->OnClear();
    EXPECT_FALSE(pane->HasTraces());
    EXPECT_EQ(prompter.record.Texts(),
              (std::vector<std::string>{"Effacer toutes les traces ?", "Effacer toutes les traces ?"}));
}

TEST_F(TracePaneTest, SavesTextCsvAndRtfWithoutCuttingLongLines)
{
    const std::string longText(5000, 'z');
    pane->TraceSystem(2, "start");
    pane->TraceScriptLine(2, 7, "value; 3");
    pane->TraceCli(2, longText);
    ASSERT_TRUE(pane->SaveCurrent((folder / "t.csv").string()));
    ASSERT_TRUE(pane->SaveCurrent((folder / "t.txt").string()));
    ASSERT_TRUE(pane->SaveCurrent((folder / "t.RTF").string()));

    const auto shown = pane->ShownLines();
    const std::string csv = ReadFile(folder / "t.csv");
    const std::string stamp0 = shown[0].substr(0, 12), stamp1 = shown[1].substr(0, 12), stamp2 = shown[2].substr(0, 12);
    EXPECT_EQ(csv, stamp0 + ";2;;start\n" + stamp1 + ";2;7;value; 3\n" + stamp2 + ";2;;" + longText + "\n");
    EXPECT_EQ(ReadFile(folder / "t.txt"), shown[0] + "\n" + shown[1] + "\n" + shown[2] + "\n");
    const std::string rtf = ReadFile(folder / "t.RTF");
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    // Black, then the default colours of the system (0xFF0000 is blue), script and CLI traces.
    EXPECT_NE(rtf.find("{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red64\\green128\\blue128;"
                       "\\red128\\green128\\blue64;}"),
              std::string::npos);
    EXPECT_NE(rtf.find(longText + "\\par"), std::string::npos);
}

TEST_F(TracePaneTest, UnwritableSaveSaysSoAndKeepsTheContinuousSave)
{
    const std::string continuous = (folder / "live.txt").string();
    ASSERT_TRUE(pane->StartContinuousSave(continuous));
    const std::string bad = (folder / "missing" / "t.csv").string();
    EXPECT_FALSE(pane->SaveCurrent(bad));
    EXPECT_EQ(prompter.record.Texts(), std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + bad});
    EXPECT_EQ(pane->ContinuousSavePath(), continuous);
    // A good one-time save ends the continuous one.
    EXPECT_TRUE(pane->SaveCurrent((folder / "ok.txt").string()));
    EXPECT_TRUE(pane->ContinuousSavePath().empty());
}

TEST_F(TracePaneTest, ContinuousSaveAppendsUntilCleared)
{
    const auto path = folder / "live.txt";
    {
        std::ofstream(path) << "kept\n";
    }
    ASSERT_TRUE(pane->StartContinuousSave(path.string()));
    pane->TraceScript(4, "one\\ntwo");
    pane->TraceScriptLine(4, 12, "three");
    const std::string saved = ReadFile(path);
    const QRegularExpression format(
        "^kept\\n\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\(4\\) one\\\\ntwo\\n"
        "\\d\\d:\\d\\d:\\d\\d\\.\\d{3} \\(4\\) \\[0012\\] three\\n$");
    EXPECT_TRUE(format.match(QString::fromStdString(saved)).hasMatch()) << saved;
    pane->ClearTraces();
    pane->TraceScript(4, "after");
    EXPECT_EQ(ReadFile(path), saved);
}

TEST_F(TracePaneTest, SaveDialogChoosesTheKindOfSave)
{
    pane->TraceSystem(1, "x");
    const std::string path = (folder / "Sortie.txt").string();
    prompter.record.Queue(shell::PromptAnswer::Ok, path);
    prompter.onExec = [](QDialog& dialog) {
        auto& save = static_cast<SaveTracesDialog&>(dialog);
        save.SetPath("stale");
        save.SetMode(1);
        EXPECT_TRUE(save.Path().isEmpty()) << "changing the kind empties the path";
        save.Browse();
        return int(QDialog::Accepted);
    };
    pane->OnSave();
    EXPECT_EQ(prompter.record.Prompts().back().kind, shell::PromptKind::Save);
    EXPECT_EQ(pane->ContinuousSavePath(), path);
    EXPECT_TRUE(std::filesystem::exists(path));

    prompter.onExec = nullptr;  // cancelled: nothing changes
    pane->OnSave();
    EXPECT_EQ(pane->ContinuousSavePath(), path);
}

TEST_F(TracePaneTest, FrozenPaneStopsFollowingTheEnd)
{
    pane->resize(400, 200);
    pane->show();
    for (int i = 0; i < 200; ++i)
        pane->TraceSystem(1, "l" + std::to_string(i));
    pane->Flush();
    QScrollBar* bar = pane->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    pane->OnFreeze(true);
    bar->setValue(10);
    for (int i = 0; i < 50; ++i)
        pane->TraceSystem(1, "m" + std::to_string(i));
    pane->Flush();
    EXPECT_EQ(bar->value(), 10);
    pane->OnFreeze(false);
    pane->TraceSystem(1, "end");
    pane->Flush();
    EXPECT_EQ(bar->value(), bar->maximum());
}

}  // namespace
}  // namespace zov::output
