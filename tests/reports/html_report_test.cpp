// The HTML report: Windows-1252 and CR LF, byte for byte against a golden file; escaping of the
// model's texts; header and footer files; the one atomic write.

#include "ide/reports/HtmlReport.h"
#include "ide/reports/ReportWriter.h"
#include "tests/reports/ReportFixture.h"

namespace zov::reports::testing {
namespace {

TEST_F(ReportTest, HtmlOfTheFixtureMatchesItsGoldenFile)
{
    ASSERT_TRUE(Writer().WriteHtml(PathOf("r.html"), 0, "", ""));
    const std::string bytes = ReadFile(PathOf("r.html"));
    ExpectGolden(bytes, "report_v1.html");
    EXPECT_NE(bytes.find(kHtmlSiteLink), std::string::npos);
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Le rapport a bien été sauvegardé"});
}

TEST_F(ReportTest, HtmlHeaderAndFooterFilesAreCopiedRawWithoutLineEnds)
{
    WriteFile(PathOf("header.html"), "<h1>Banc & co</h1>\r\n<p>caf\xe9</p>\r\n");
    WriteFile(PathOf("footer.html"), "<i>a</i>\n<i>b</i>");
    const auto text = Writer().HtmlText(2, PathOf("header.html"), PathOf("footer.html"));
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("<body>\r\n<h1>Banc & co</h1><p>caf\xe9</p><table"), std::string::npos);
    EXPECT_NE(text->find("<br>\r\n<i>a</i><i>b</i><br>\r\n<table"), std::string::npos);

    const auto missing = Writer().HtmlText(2, PathOf("none.html"), PathOf("none2.html"));
    const auto plain = Writer().HtmlText(2, "", "");
    ASSERT_TRUE(missing && plain);
    EXPECT_EQ(*missing, *plain);
}

TEST_F(ReportTest, HtmlCountsNegativeValuesButShowsNoRowForThem)
{
    CTest& extra = *model_.AddTest(*model_.Campaigns[2]->TestSets[0], "x.qzs", "Négatif", kAddAtEnd, 0, nullptr, 0);
    model_.SetResult(3, extra.Id, -1, "", 0, 4);
    const auto text = Writer().HtmlText(2, "", "");
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("238, 224);\">1</small><br></td>"), std::string::npos);
    EXPECT_EQ(text->find("N\xe9gatif"), std::string::npos);
    EXPECT_EQ(text->find("Vide"), std::string::npos);
}

TEST_F(ReportTest, HtmlSuccessRateRoundsAHalfUp)
{
    ProjectModel model;
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, "V", ""}));
    CTestSet& set = *model.AddTestSet(*model.AddCampaign("C", kAddAtEnd, 0, nullptr), "S", kAddAtEnd, 0, 0, 0, nullptr);
    for (int i = 0; i < 16; ++i) {
        CTest& test = *model.AddTest(set, "t.qzs", "T", kAddAtEnd, 0, nullptr, 0);
        model.SetResult(1, test.Id, i == 0 ? 1 : 0, "", 0, 0);
    }
    shell::RecordingPrompter prompter;
    const auto text = CReportWriter(ReportHost{model, prompter}).HtmlText(0, "", "");
    ASSERT_TRUE(text);
    EXPECT_NE(text->find(">6.3%</small><br></td>"), std::string::npos);
    EXPECT_EQ(FormatSuccessRate(0, 0), "0.0%");
    EXPECT_EQ(FormatSuccessRate(3, 1), "66.7%");
}

TEST_F(ReportTest, HtmlShadingRestartsAfterEachTestSetRow)
{
    ProjectModel model;
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, "V", ""}));
    CCampaign& campaign = *model.AddCampaign("C", kAddAtEnd, 0, nullptr);
    for (const int count : {3, 2}) {
        CTestSet& set = *model.AddTestSet(campaign, "S", kAddAtEnd, 0, 0, 0, nullptr);
        for (int i = 0; i < count; ++i) {
            CTest& test = *model.AddTest(set, "t.qzs", "T", kAddAtEnd, 0, nullptr, 0);
            model.SetResult(1, test.Id, 1, "", 0, 0);
        }
    }
    shell::RecordingPrompter prompter;
    const auto text = CReportWriter(ReportHost{model, prompter}).HtmlText(0, "", "");
    ASSERT_TRUE(text);
    std::string pattern;
    for (std::size_t at = text->find("<tr valign=\"top\">\r\n<td"); at != std::string::npos;
         at = text->find("<tr valign=\"top\">\r\n<td", at + 1)) {
        const std::string cell = text->substr(at + 19, 5);
        if (cell == "<td>T" || cell == "<td s") {
            pattern += cell == "<td>T" ? 'p' : 's';
        }
    }
    // The summary's value row comes first; then 3 rows, a set row, 2 rows.
    EXPECT_EQ(pattern,
              "ssps"
              "sp");
}

TEST_F(ReportTest, HtmlEscapesEveryTextOfTheModel)
{
    struct Case {
        std::string text;
        std::string written;
    };
    const Case cases[] = {
        {"<b>&\"x\"</b>", "&lt;b&gt;&amp;&quot;x&quot;&lt;/b&gt;"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"a&amp;b", "a&amp;amp;b"},
        {"é € ≠ 日", "\xe9 \x80 &#8800; &#26085;"},
        {"l'été", "l'\xe9t\xe9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HtmlText(c.text), c.written);
        ProjectModel model;
        model.Name = c.text;
        model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, c.text, c.text}));
        CCampaign& campaign = *model.AddCampaign(c.text, kAddAtEnd, 0, nullptr);
        CTestSet& set = *model.AddTestSet(campaign, c.text, kAddAtEnd, 0, 0, 0, nullptr);
        CTest& test = *model.AddTest(set, "t.qzs", c.text, kAddAtEnd, 0, nullptr, 0);
        model.SetResult(1, test.Id, 0, c.text, 0, 0);
        shell::RecordingPrompter prompter;
        const auto page = CReportWriter(ReportHost{model, prompter}).HtmlText(0, "", "");
        ASSERT_TRUE(page);
        if (c.text.find('<') != std::string::npos) {
            EXPECT_EQ(page->find(c.text), std::string::npos);
        }
        // Title, project, version (name and info), campaign, set, test and comment.
        std::size_t count = 0;
        for (std::size_t at = page->find(c.written); at != std::string::npos; at = page->find(c.written, at + 1)) {
            ++count;
        }
        EXPECT_EQ(count, 8u);
    }
}

TEST_F(ReportTest, HtmlThatCannotBeWrittenSaysSoOnceAndReportsTheFailure)
{
    const std::string path = PathOf("missing/r.html");
    EXPECT_FALSE(Writer().WriteHtml(path, 0, "", ""));
    EXPECT_EQ(prompter_.Texts(), (std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + path,
                                                           "Erreur lors de la sauvegarde du rapport !"}));
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace zov::reports::testing
