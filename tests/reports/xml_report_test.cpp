// The two XML reports: the system's own result XML and the JUnit form, byte for byte against golden
// files, and every JUnit file checked against the common schema with xmllint.

#include "ide/reports/ReportWriter.h"
#include "tests/reports/ReportFixture.h"

namespace zov::reports::testing {
namespace {

// xmllint's verdict on a file; empty when the file is valid.
std::string SchemaProblems(const std::string& path)
{
    int status = 0;
    const std::string out = RunCommand(
        "xmllint --noout --schema " + Quoted((kData / "junit-10.xsd").string()) + " " + Quoted(path) + " 2>&1",
        &status);
    return status == 0 ? std::string() : out.empty() ? "xmllint failed" : out;
}

TEST_F(ReportTest, ResultXmlOfTheFixtureMatchesItsGoldenFile)
{
    ASSERT_TRUE(Writer().WriteResultXml(PathOf("r.xml"), 0, ""));
    ExpectGolden(ReadFile(PathOf("r.xml")), "report_v1_result.xml");
}

TEST_F(ReportTest, ResultXmlWithAStyleSheetCarriesTheInstructionOnTheFirstLine)
{
    ASSERT_TRUE(Writer().WriteResultXml(PathOf("r.xml"), 0, "zov.xsl"));
    const std::string bytes = ReadFile(PathOf("r.xml"));
    EXPECT_EQ(bytes.substr(0, bytes.find('\n')),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?><?xml-stylesheet href=\"zov.xsl\" type=\"text/xsl\"?>");
    ExpectGolden(bytes, "report_v1_result_xsl.xml");
}

TEST_F(ReportTest, ResultXmlWithoutResultsHoldsTheFrameWithZeroCounts)
{
    const auto text = Writer().ResultXmlText(2, "");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text,
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
              "<ZOVResult>\n"
              "    <Version>V3</Version>\n"
              "    <Resume Tests=\"0\" TestOK=\"0\" TestNOK=\"0\" Duration=\" 00:00:00\" />\n"
              "</ZOVResult>\n");
}

TEST_F(ReportTest, ResultXmlScriptsNameTheirLabelByValueAndTotalsAreNotWrapped)
{
    // 25:01:01 in all; the labels of OK, NOK and not tested.
    ProjectModel model;
    model.Versions.push_back(std::make_unique<CVersion>(CVersion{9, "V", ""}));
    CTestSet& set = *model.AddTestSet(*model.AddCampaign("C", kAddAtEnd, 0, nullptr), "S", kAddAtEnd, 0, 0, 0, nullptr);
    const std::pair<int, std::int64_t> values[] = {{1, 90000}, {0, 61}, {7, 0}};
    for (const auto& [value, duration] : values) {
        CTest& test = *model.AddTest(set, "t.qzs", "T" + std::to_string(value), kAddAtEnd, 0, nullptr, 0);
        model.SetResult(9, test.Id, value, "", UtcTime(2024, 1, 1, 13, 14, 15), duration);
    }
    shell::RecordingPrompter prompter;
    const auto text = CReportWriter(ReportHost{model, prompter}).ResultXmlText(0, "");
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("<Resume Tests=\"3\" TestOK=\"1\" TestNOK=\"1\" Duration=\" 25:01:01\" />"),
              std::string::npos);
    EXPECT_NE(text->find("<Script Name=\"T1\" Result=\"OK\" Duration=\"90000\" Time=\"13:14:15\" />"),
              std::string::npos);
    EXPECT_NE(text->find("<Script Name=\"T0\" Text=\"NOK\" Duration=\"61\" Time=\"13:14:15\" />"), std::string::npos);
    EXPECT_NE(text->find("<Script Name=\"T7\" Text=\"NT\" Time=\"13:14:15\" />"), std::string::npos);
    // Empty texts give no "Text" child.
    EXPECT_EQ(text->find("<Text"), std::string::npos);
}

TEST_F(ReportTest, JUnitReportsMatchTheirGoldenFilesAndTheSchema)
{
    const std::pair<int, const char*> cases[] = {
        {0, "report_v1_junit.xml"}, {1, "report_v2_junit.xml"}, {2, "report_none_junit.xml"}};
    for (const auto& [index, golden] : cases) {
        SCOPED_TRACE(golden);
        const std::string path = PathOf(golden);
        ASSERT_TRUE(Writer().WriteJUnitXml(path, index));
        ExpectGolden(ReadFile(path), golden);
        EXPECT_EQ(SchemaProblems(path), "");
    }
    EXPECT_EQ(ReadFile(PathOf("report_none_junit.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
              "<testsuites tests=\"0\" failures=\"0\" errors=\"0\" time=\"0\" />\n");
}

TEST_F(ReportTest, JUnitReportsOfHostileTextsStayValid)
{
    struct Case {
        const char* what;
        std::string text;
        std::string expectedMessage;  // the failure's message attribute as written
    };
    const Case cases[] = {
        {"markup", "& < > \" '", "message='&amp; &lt; &gt; &quot; &apos;'"},
        {"controls",
         std::string("a\x01\x1f"
                     "b\tc\nd\re"),
         "message=\"a\\x01\\x1Fb&#x09;c&#x0A;d&#x0D;e\""},
        {"beyond Latin-1", "€ ≠ 日本", "message=\"&#x20AC; &#x2260; &#x65E5;&#x672C;\""},
        {"empty", "", "message=\"\""},
        {"Windows-1252 bytes", "caf\xe9", "message=\"caf\xe9\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectModel model;
        model.Versions.push_back(std::make_unique<CVersion>(CVersion{1, c.text, c.text}));
        CCampaign& campaign = *model.AddCampaign(c.text, kAddAtEnd, 0, nullptr);
        CTestSet& set = *model.AddTestSet(campaign, c.text, kAddAtEnd, 0, 0, 0, nullptr);
        CTest& test = *model.AddTest(set, "t.qzs", c.text, kAddAtEnd, 0, nullptr, 0);
        model.SetResult(1, test.Id, 0, c.text, UtcTime(2024, 1, 1, 0, 0, 0), -5);
        shell::RecordingPrompter prompter;
        const std::string path = PathOf("hostile.xml");
        ASSERT_TRUE(CReportWriter(ReportHost{model, prompter}).WriteJUnitXml(path, 0));
        EXPECT_EQ(SchemaProblems(path), "");
        const std::string bytes = ReadFile(path);
        if (c.what != std::string("Windows-1252 bytes")) {
            EXPECT_NE(bytes.find(c.expectedMessage), std::string::npos) << bytes;
        }
        // A negative duration from a damaged file is written as 0.
        EXPECT_NE(bytes.find("time=\"0\""), std::string::npos);
        EXPECT_EQ(bytes.find("time=\"-"), std::string::npos);
    }
}

}  // namespace
}  // namespace zov::reports::testing
