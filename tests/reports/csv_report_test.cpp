// The CSV report: Windows-1252 and CR LF, byte for byte against golden files.

#include "ide/reports/CsvReport.h"
#include "ide/reports/ReportWriter.h"
#include "tests/reports/ReportFixture.h"

namespace zov::reports::testing {
namespace {

TEST_F(ReportTest, CsvOfTheFixtureMatchesItsGoldenFiles)
{
    ASSERT_TRUE(Writer().WriteCsv(PathOf("r.csv"), 0, ';', '"'));
    const std::string quoted = ReadFile(PathOf("r.csv"));
    ExpectGolden(quoted, "report_v1.csv");
    // The not-tested row, the doubled quotes and the Windows-1252 bytes.
    EXPECT_NE(quoted.find("\"Connexion\";\"Login\";\"D\xe9lai\";\"Aucun r\xe9sultat\";\" \"\r\n"), std::string::npos);
    EXPECT_NE(quoted.find(";\"NOK\";\"say \"\"hi\"\"\"\r\n"), std::string::npos);
    EXPECT_NE(quoted.find("\"Export \x80\""), std::string::npos);

    ASSERT_TRUE(Writer().WriteCsv(PathOf("n.csv"), 0, ',', 0));
    ExpectGolden(ReadFile(PathOf("n.csv")), "report_v1_noqual.csv");
    // Without a qualifier a field holding the separator is written unchanged.
    EXPECT_NE(ReadFile(PathOf("n.csv"))
                  .find(",OK,\xe9"
                        "crit, 3 lignes; fin\r\n"),
              std::string::npos);
}

TEST_F(ReportTest, CsvRowsFollowTheQualifier)
{
    struct Case {
        char separator;
        char qualifier;
        std::string field;
        std::string line;
    };
    const Case cases[] = {
        {';', '"', "timeout", "\"C\";\"S\";\"T1\";\"NOK\";\"timeout\"\r\n"},
        {';', 0, "timeout", "C;S;T1;NOK;timeout\r\n"},
        {'\t', '\'', "l'heure", "'C'\t'S'\t'T1'\t'NOK'\t'l''heure'\r\n"},
        {',', '"', "a \"b\"", "\"C\",\"S\",\"T1\",\"NOK\",\"a \"\"b\"\"\"\r\n"},
        {',', 0, "a \"b\", c", "C,S,T1,NOK,a \"b\", c\r\n"},
        {';', '"', "日本 ok", "\"C\";\"S\";\"T1\";\"NOK\";\"?? ok\"\r\n"},
    };
    for (const Case& c : cases) {
        CsvRowWriter writer(PathOf("rows.csv"), c.separator, c.qualifier);
        writer.WriteRow({"C", "S", "T1", "NOK", c.field});
        EXPECT_EQ(writer.Text(), c.line) << c.field;
    }
}

TEST_F(ReportTest, CsvWithoutResultsIsAnEmptyFile)
{
    WriteFile(PathOf("r.csv"), "old content");
    ASSERT_TRUE(Writer().WriteCsv(PathOf("r.csv"), 2, ';', '"'));
    EXPECT_EQ(ReadFile(PathOf("r.csv")), "");
}

TEST_F(ReportTest, CsvThatCannotBeWrittenSaysSoAndReportsTheFailure)
{
    const std::string path = PathOf("missing/r.csv");
    for (const bool batch : {false, true}) {
        prompter_ = shell::RecordingPrompter();
        EXPECT_FALSE(Writer(batch).WriteCsv(path, 0, ';', '"'));
        EXPECT_EQ(prompter_.Texts(), (std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + path,
                                                               "Erreur lors de la sauvegarde du rapport !"}));
        EXPECT_EQ(prompter_.Prompts().front().icon, shell::PromptIcon::Warning);
    }
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace zov::reports::testing
