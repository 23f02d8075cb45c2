#include "ide/shell/core/ReportChoice.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;

TEST(ReportChoice, CommandTakesTheFirstExtensionFoundAnywhere)
{
    struct Case {
        std::string path;
        int xmlFormat;
        ReportWriterKind kind;
    };
    const Case cases[] = {
        {"/r/r.html", 0, ReportWriterKind::Html},         {"/r/r.htm", 0, ReportWriterKind::Html},
        {"/r/a.xml.pdf", 0, ReportWriterKind::ResultXml}, {"/r/a.xml", 1, ReportWriterKind::JUnitXml},
        {"/r/a.xml", 2, ReportWriterKind::ResultXml},     {"/r.csv/a.pdf", 0, ReportWriterKind::Csv},
        {"/r/a.pdf", 0, ReportWriterKind::Pdf},           {"/r/a.txt", 0, ReportWriterKind::None},
        {"/r/a.HTML", 0, ReportWriterKind::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseCommandReportWriter(c.path, c.xmlFormat), c.kind) << c.path;
}

TEST(ReportChoice, BatchWantsHtmlWithItsLAndXmlAsJUnit)
{
    struct Case {
        std::string path;
        ReportWriterKind kind;
    };
    const Case cases[] = {
        {"/r/r.html", ReportWriterKind::Html},    {"/r/r.htm", ReportWriterKind::None},
        {"/r/a.xml", ReportWriterKind::JUnitXml}, {"/r/a.csv", ReportWriterKind::Csv},
        {"/r/a.pdf", ReportWriterKind::Pdf},      {"/r/a.html.csv", ReportWriterKind::Html},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseBatchReportWriter(c.path), c.kind) << c.path;
}

class ReportSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_report_choice_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    Settings Make() const { return Settings(root_ / "ZOV.ini", root_); }
    fs::path root_;
};

TEST_F(ReportSettings, NineKeysWrittenBackWithCharacterCodesAsSignedBytes)
{
    const Settings settings = Make();
    ReportOptionValues values = ReadReportOptions(settings);
    EXPECT_EQ(values.reportExt, "xml");
    EXPECT_EQ(values.csvSeparator, 0);
    values.csvSeparator = ';';
    values.csvQualifier = '"';
    values.htmlHeader = "/h/head.html";
    values.xmlFormat = 1;
    ASSERT_TRUE(WriteReportOptions(settings, values));
    const auto text = ReadWholeFile(root_ / "ZOV.ini");
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("CSV_Sep=59"), std::string::npos) << *text;
    EXPECT_NE(text->find("CSV_TxtChar=34"), std::string::npos) << *text;
    for (const char* key : {"HTML_Header=/h/head.html", "HTML_Footer=", "PDF_Header=", "PDF_HeaderAlign=0",
                            "XML_XSL=", "XML_FORMAT=1", "ReportExt=xml"})
        EXPECT_NE(text->find(key), std::string::npos) << key;
    // A byte above 127 is stored as its signed value and reads back as the same byte.
    values.csvSeparator = static_cast<char>(0xA7);
    ASSERT_TRUE(WriteReportOptions(settings, values));
    EXPECT_EQ(settings.GetInt(SettingId::CsvSep), -89);
    EXPECT_EQ(ReadReportOptions(settings).csvSeparator, static_cast<char>(0xA7));
}

TEST_F(ReportSettings, ReportFolderRules)
{
    const Settings settings = Make();
    EXPECT_EQ(ReportFolder(settings, "/w/p"), "/w/p");
    settings.WriteString(SettingId::ReportPath, "Rapports");
    EXPECT_EQ(ReportFolder(settings, "/w/p"), "/w/p/Rapports");
    settings.WriteString(SettingId::ReportPath, "/srv/rapports");
    settings.WriteInt(SettingId::FixReportPath, 1);
    EXPECT_EQ(ReportFolder(settings, "/w/p"), "/srv/rapports");
}

}  // namespace
}  // namespace zov::shell
