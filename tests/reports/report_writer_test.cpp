// The writer's common ground: which results a report shows, the counts, the closing message, and
// the choice of the format from the path.

#include "ide/reports/ReportFormat.h"
#include "ide/reports/ReportWriter.h"
#include "ide/shell/core/Settings.h"
#include "tests/reports/ReportFixture.h"

namespace zov::reports::testing {
namespace {

using shell::PromptIcon;

std::vector<std::string> Visited(const ProjectModel& model, std::uint32_t versionId)
{
    std::vector<std::string> seen;
    ForEachReportedTest(model, versionId, [&seen](const ReportedTest& reported) {
        if (reported.firstOfCampaign) {
            seen.push_back("campaign " + reported.campaign.Name);
        }
        if (reported.firstOfTestSet) {
            seen.push_back("set " + reported.testSet.Name);
        }
        seen.push_back("test " + reported.test.Name);
    });
    return seen;
}

TEST_F(ReportTest, OnlyTestsWithAResultForTheVersionAreVisitedAndTheirParentsOpenOnce)
{
    EXPECT_EQ(Visited(model_, 1),
              (std::vector<std::string>{"campaign Connexion", "set Login", "test Mot de passe", "test Compte bloqué",
                                        "test Délai", "campaign Export €", "set CSV", "test Fichier"}));
    EXPECT_EQ(Visited(model_, 2),
              (std::vector<std::string>{"campaign Connexion", "set Login", "test Mot de passe", "set Logout",
                                        "test Sortie", "campaign Export €", "set CSV", "test Fichier"}));
    EXPECT_TRUE(Visited(model_, 3).empty());
}

TEST_F(ReportTest, ASetWhoseThirdTestAloneHasAResultAppearsOnceJustBeforeIt)
{
    CTestSet& set = *model_.AddTestSet(*model_.Campaigns[2], "Trois", kAddAtEnd, 0, 0, 0, nullptr);
    model_.AddTest(set, "a.qzs", "A", kAddAtEnd, 0, nullptr, 0);
    CTest& b = *model_.AddTest(set, "b.qzs", "B", kAddAtEnd, 0, nullptr, 0);
    CTest& c = *model_.AddTest(set, "c.qzs", "C", kAddAtEnd, 0, nullptr, 0);
    model_.EnsureResultList(b.Id);  // a list that holds nothing
    model_.SetResult(3, c.Id, 1, "", 0, 1);
    EXPECT_EQ(Visited(model_, 3), (std::vector<std::string>{"campaign Vide", "set Trois", "test C"}));
}

TEST_F(ReportTest, CountResultsCountsNotTestedInTestedOnlyAndAddsEveryDuration)
{
    const ResultCounts v1 = Writer().CountResults(0);
    EXPECT_EQ(v1.tested, 4);
    EXPECT_EQ(v1.ok, 2);
    EXPECT_EQ(v1.nok, 1);
    EXPECT_EQ(v1.duration, 12 + 3725 + 5 + 90000);
    const ResultCounts v3 = Writer().CountResults(2);
    EXPECT_EQ(v3.tested + v3.ok + v3.nok + v3.duration, 0);
    const ResultCounts outside = Writer().CountResults(7);
    EXPECT_EQ(outside.tested + outside.ok + outside.nok + outside.duration, 0);
}

TEST_F(ReportTest, ClosingMessagesGoThroughThePrompterAndBatchRunsKeepOnlyFailures)
{
    struct Case {
        bool batch;
        bool writable;
        std::vector<std::string> texts;
        PromptIcon icon;
    };
    const std::string cannot = "Impossible d'enregistrer le fichier:\n";
    const Case cases[] = {
        {false, true, {"Le rapport a bien été sauvegardé"}, PromptIcon::Information},
        {true, true, {}, PromptIcon::None},
        {false, false, {"Erreur lors de la sauvegarde du rapport !"}, PromptIcon::Warning},
        {true, false, {"Erreur lors de la sauvegarde du rapport !"}, PromptIcon::Warning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.batch ? "batch" : "interactive") + (c.writable ? " writable" : " missing folder"));
        const std::string path = c.writable ? PathOf("r.xml") : PathOf("missing/r.xml");
        shell::RecordingPrompter prompter;
        CReportWriter writer(ReportHost{model_, prompter, shell::IdentityTranslate(), c.batch});
        EXPECT_EQ(writer.WriteResultXml(path, 0, ""), c.writable);
        EXPECT_EQ(prompter.Texts(), c.texts);
        if (!c.texts.empty()) {
            EXPECT_EQ(prompter.Prompts().back().icon, c.icon);
        }
        EXPECT_EQ(fs::exists(path), c.writable);
    }
}

TEST_F(ReportTest, ClosingTextsAreTranslated)
{
    shell::RecordingPrompter prompter;
    const auto translate = [](std::string_view text) { return "<" + std::string(text) + ">"; };
    CReportWriter writer(ReportHost{model_, prompter, translate, false});
    ASSERT_TRUE(writer.WriteJUnitXml(PathOf("r.xml"), 0));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"<Le rapport a bien été sauvegardé>"});
}

TEST_F(ReportTest, EveryWriterRefusesAVersionIndexOutsideTheList)
{
    for (const int index : {-1, 3, 1000}) {
        SCOPED_TRACE(index);
        prompter_ = shell::RecordingPrompter();
        CReportWriter writer = Writer();
        EXPECT_FALSE(writer.WriteHtml(PathOf("r.html"), index, "", ""));
        EXPECT_FALSE(writer.WriteResultXml(PathOf("r.xml"), index, ""));
        EXPECT_FALSE(writer.WriteJUnitXml(PathOf("j.xml"), index));
        EXPECT_FALSE(writer.WriteCsv(PathOf("r.csv"), index, ';', '"'));
        EXPECT_FALSE(writer.WritePdf(PathOf("r.pdf"), index, "", 0));
        const std::string failed = "Erreur lors de la sauvegarde du rapport !";
        EXPECT_EQ(prompter_.Texts(),
                  (std::vector<std::string>{failed, failed, failed, failed,
                                            "Erreur lors de la sauvegarde du rapport (0x00001039) !"}));
        EXPECT_TRUE(fs::is_empty(dir_));
    }
}

TEST(ReportFormatTest, TheExtensionOfTheFileNameChoosesTheWriter)
{
    struct Case {
        const char* path;
        ReportFormat format;
    };
    const Case cases[] = {
        {"r.html", ReportFormat::Html},
        {"/a/r.HTM", ReportFormat::Html},
        {"/a.xml.d/r.pdf", ReportFormat::Pdf},
        {"/home/u/.xmlcache/r.pdf", ReportFormat::Pdf},
        {"r.xml", ReportFormat::Xml},
        {"R.Csv", ReportFormat::Csv},
        {"/a/r.html.txt", ReportFormat::None},
        {"/a/r", ReportFormat::None},
        {"/a.pdf/r", ReportFormat::None},
        {"rxml", ReportFormat::None},
        {"", ReportFormat::None},
        {"/a/.csv", ReportFormat::Csv},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseReportFormat(c.path), c.format) << c.path;
    }
}

TEST(ReportFormatTest, CsvCharactersOfThePreferencesAreNormalised)
{
    struct Case {
        int setting;
        char separator;
        char qualifier;
    };
    // 0 is what a never opened options page leaves: a NUL separator would be unreadable.
    const Case cases[] = {{0, ';', 0},     {'\t', '\t', '"'}, {',', ',', '"'},   {' ', ' ', '"'},
                          {';', ';', '"'}, {'"', ';', '"'},   {'\'', ';', '\''}, {'x', ';', '"'}};
    for (const Case& c : cases) {
        EXPECT_EQ(CsvSeparatorFromSetting(c.setting), c.separator) << c.setting;
        EXPECT_EQ(CsvQualifierFromSetting(c.setting), c.qualifier) << c.setting;
    }
}

TEST_F(ReportTest, WriteReportDispatchesByExtensionAndXmlFormat)
{
    ReportOptions interactive;
    interactive.xmlFormat = 0;
    ReportOptions junit = interactive;
    junit.xmlFormat = 1;
    const ReportOptions batch = BatchReportOptions();
    struct Case {
        const char* name;
        const ReportOptions* options;
        ReportOutcome outcome;
        const char* start;  // the file's first bytes
    };
    const Case cases[] = {
        {"a.xml", &interactive, ReportOutcome::Written,
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<ZOVResult>"},
        {"b.xml", &junit, ReportOutcome::Written, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<testsuites"},
        {"c.XML", &batch, ReportOutcome::Written, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<testsuites"},
        {"d.csv", &batch, ReportOutcome::Written, "\"Connexion\";\"Login\";"},
        {"e.HTM", &interactive, ReportOutcome::Written, "<html>\r\n"},
        {"f.html", &batch, ReportOutcome::Written, "<html>\r\n"},
        {"g.pdf", &batch, ReportOutcome::Written, "%PDF-"},
        {"h.txt", &interactive, ReportOutcome::NotWritten, nullptr},
    };
    CReportWriter writer = Writer(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(WriteReport(writer, PathOf(c.name), 0, *c.options), c.outcome);
        if (c.start) {
            EXPECT_EQ(ReadFile(PathOf(c.name)).rfind(c.start, 0), 0u);
        } else {
            EXPECT_FALSE(fs::exists(PathOf(c.name)));
        }
    }
    EXPECT_TRUE(prompter_.Texts().empty());
    EXPECT_EQ(WriteReport(writer, PathOf("none/r.csv"), 0, batch), ReportOutcome::Failed);
}

TEST_F(ReportTest, OptionsComeFromThePreferencesKeys)
{
    const fs::path ini = dir_ / "ZOV.ini";
    WriteFile(ini,
              "[Preferences]\r\nXML_FORMAT=1\r\nXML_XSL=zov.xsl\r\nCSV_Sep=44\r\nCSV_TxtChar=0\r\n"
              "PDF_Header=/h.jpg\r\nPDF_HeaderAlign=2\r\nHTML_Header=/h.html\r\nHTML_Footer=/f.html\r\n");
    const ReportOptions options = ReportOptionsFromSettings(shell::Settings(ini, dir_));
    EXPECT_EQ(options.xmlFormat, 1);
    EXPECT_EQ(options.styleSheetHref, "zov.xsl");
    EXPECT_EQ(options.csvSeparator, ',');
    EXPECT_EQ(options.csvQualifier, 0);
    EXPECT_EQ(options.pdfHeader, "/h.jpg");
    EXPECT_EQ(options.pdfHeaderAlign, 2);
    EXPECT_EQ(options.htmlHeader, "/h.html");
    EXPECT_EQ(options.htmlFooter, "/f.html");
}

}  // namespace
}  // namespace zov::reports::testing
