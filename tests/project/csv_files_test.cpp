// The user's requirement and technical-fact CSV files: reading, rewriting in place, the dated
// export, and their reading when a project is loaded.
#include "ide/project/model/ProjectModel.h"
#include "tests/project/ProjectFixture.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include <algorithm>
#include <string>
#include <vector>

namespace zov::project::testing {
namespace {

// Campaign "Camp": S1 {T1, T2}, Both {Both, T4}; campaign "Autre": Seul {"A;B", "Dit \"x\""}.
struct Bench {
    ProjectModel model;
    CTestSet* s1 = nullptr;
    CTestSet* both = nullptr;
    CTest* t1 = nullptr;
    CTest* t2 = nullptr;
    CTest* bothTest = nullptr;
    CTest* t4 = nullptr;
    CTest* withSeparator = nullptr;
    CTest* withQuote = nullptr;

    Bench()
    {
        model.NewProject("P", "/nonexistent-zov", "");
        CCampaign& camp = *model.AddCampaign("Camp", kAddAtEnd, 0, nullptr);
        s1 = model.AddTestSet(camp, "S1", kAddAtEnd, 0, 0, 0, nullptr);
        t1 = model.AddTest(*s1, "t1.qzs", "T1", kAddAtEnd, 0, nullptr, 0);
        t2 = model.AddTest(*s1, "t2.qzs", "T2", kAddAtEnd, 0, nullptr, 0);
        both = model.AddTestSet(camp, "Both", kAddAtEnd, 0, 0, 0, nullptr);
        bothTest = model.AddTest(*both, "b.qzs", "Both", kAddAtEnd, 0, nullptr, 0);
        t4 = model.AddTest(*both, "t4.qzs", "T4", kAddAtEnd, 0, nullptr, 0);
        CCampaign& other = *model.AddCampaign("Autre", kAddAtEnd, 0, nullptr);
        CTestSet& alone = *model.AddTestSet(other, "Seul", kAddAtEnd, 0, 0, 0, nullptr);
        withSeparator = model.AddTest(alone, "ab.qzs", "A;B", kAddAtEnd, 0, nullptr, 0);
        withQuote = model.AddTest(alone, "q.qzs", "Dit \"x\"", kAddAtEnd, 0, nullptr, 0);
        for (CCsvImportSettings* settings : {&model.RequirementCsvSettings, &model.FactCsvSettings}) {
            settings->Separator = ';';
            settings->TextQualifier = '"';
            settings->FirstLine = 0;
        }
        model.RequirementCsvSettings.Columns = {1, 2, 3, 4, 0, 0, 0, 0};
        model.FactCsvSettings.Columns = {1, 2, 3, 0, 0, 0};
    }

    std::string LinkText(const CItemLink& link) const
    {
        if (link.Kind == kLinkTestSet) {
            const CTestSet* set = model.FindTestSetById(link.Id);
            return "set " + (set ? set->Name : "?");
        }
        const CTest* test = model.FindTestById(link.Id);
        return "test " + (test ? test->Name : "?");
    }
    std::string Links(const std::vector<CItemLink>& links) const
    {
        std::string text;
        for (const CItemLink& link : links) {
            text += (text.empty() ? "" : ",") + LinkText(link);
        }
        return text;
    }
    // "ID|Titre|Texte|links" per requirement, "ID|Titre|links" per fact.
    std::vector<std::string> Requirements() const
    {
        std::vector<std::string> rows;
        for (const auto& r : model.Requirements) {
            rows.push_back(r->ID + "|" + r->Titre + "|" + r->Texte + "|" + Links(r->Links));
        }
        return rows;
    }
    std::vector<std::string> Facts() const
    {
        std::vector<std::string> rows;
        for (const auto& f : model.TechFacts) {
            rows.push_back(f->ID + "|" + f->Titre + "|" + Links(f->Links));
        }
        return rows;
    }
};

struct ReadCase {
    const char* what;
    std::string bytes;
    bool requirements;
    char qualifier;
    int firstLine;
    int idColumn;
    std::vector<std::string> expected;
};

TEST(CsvReading, TableOfCases)
{
    const ReadCase cases[] = {
        {"a qualified Texte over three lines holds two line breaks",
         "\"R2\";\"Logout; forc\xc3\xa9\";\"l1\r\nl2\r\nl3\";\"T4/T2\"\r\n",
         true,
         '"',
         0,
         1,
         {"R2|Logout; forc\xc3\xa9|l1\nl2\nl3|test T4,test T2"}},
        {"an unclosed text runs to the end of the file", "R9;t;\"a\nb\n", true, '"', 0, 1, {"R9|t|a\nb|"}},
        {"ID column 0 loads no record", "R1;a;b;T1\r\nR2;c;d;T2\r\n", true, '"', 0, 0, {}},
        {"requirement IDs lose their quotes without a qualifier",
         "\"R1\";x;y;T1\r\n",
         true,
         0,
         0,
         1,
         {"R1|x|y|test T1"}},
        {"fact IDs keep them", "\"F1\";x;T1\r\n", false, 0, 0, 1, {"\"F1\"|x|test T1"}},
        {"a requirement ID of quotes alone is empty: no record",
         "\"\"\"\";x;y;T1\r\nR2;a;b;\r\n",
         true,
         0,
         0,
         1,
         {"R2|a|b|"}},
        {"set then test; a name both a set and a test is a set",
         "R1;t;x;S1/T2\r\nR2;t;x;both\r\n",
         true,
         0,
         0,
         1,
         {"R1|t|x|set S1,test T2", "R2|t|x|set Both"}},
        {"facts look names up as tests only",
         "F1;t;S1/T1\r\nF2;t;Both\r\n",
         false,
         0,
         0,
         1,
         {"F1|t|test T1", "F2|t|test Both"}},
        {"empty and unknown names are dropped", "R1;t;x;/T1//Nope/\r\n", true, 0, 0, 1, {"R1|t|x|test T1"}},
        {"lines without the separator and the first lines are skipped",
         "head1\r\nR0;h;h;T1\r\nno separator\r\n\r\nR1;t;x;T2\r\n",
         true,
         0,
         2,
         1,
         {"R1|t|x|test T2"}},
        {"a record with an empty ID is skipped", ";t;x;T1\r\nR1;t;x;T2", true, 0, 0, 1, {"R1|t|x|test T2"}},
        {"bytes that are not UTF-8 are Windows-1252",
         "R1;forc\xe9 \x80;x;\r\n",
         true,
         0,
         0,
         1,
         {"R1|forc\xc3\xa9 \xe2\x82\xac|x|"}},
        {"UTF-8 stays UTF-8", "R1;forc\xc3\xa9;x;\r\n", true, 0, 0, 1, {"R1|forc\xc3\xa9|x|"}},
        {"LF and CR end lines too",
         "R1;a;x;T1\nR2;b;x;T2\rR3;c;x;S1",
         true,
         0,
         0,
         1,
         {"R1|a|x|test T1", "R2|b|x|test T2", "R3|c|x|set S1"}},
        {"a doubled qualifier in Référence stands for one",
         "R1;t;x;\"A;B/Dit \"\"x\"\"\"\r\n",
         true,
         '"',
         0,
         1,
         {"R1|t|x|test A;B,test Dit \"x\""}},
    };
    for (const ReadCase& c : cases) {
        Bench bench;
        CCsvImportSettings& settings =
            c.requirements ? bench.model.RequirementCsvSettings : bench.model.FactCsvSettings;
        settings.TextQualifier = c.qualifier;
        settings.FirstLine = c.firstLine;
        settings.Columns[0] = c.idColumn;
        if (c.requirements) {
            bench.model.ReadRequirementsText(c.bytes);
            EXPECT_EQ(bench.Requirements(), c.expected) << c.what;
        } else {
            bench.model.ReadFactsText(c.bytes);
            EXPECT_EQ(bench.Facts(), c.expected) << c.what;
        }
    }
}

class CsvFileTest : public ProjectFolderTest {
protected:
    Bench bench;
    shell::RecordingPrompter prompter;

    void SetUp() override
    {
        ProjectFolderTest::SetUp();
        bench.model.Directory = Folder();
        bench.model.RequirementCsvSettings.FirstLine = 1;
    }
    // Loads the golden input exig.csv through a copy in the project folder.
    void LoadExig()
    {
        WriteBytes(m_dir / "exig.csv", ReadBytes(kData / "exig.csv"));
        ASSERT_TRUE(bench.model.LoadRequirementsCsv("exig.csv", prompter));
        ASSERT_EQ(bench.model.GetRequirementsFile(), PathOf("exig.csv"));
    }
};

TEST_F(CsvFileTest, LoadsTheGoldenInput)
{
    LoadExig();
    EXPECT_EQ(bench.Requirements(), (std::vector<std::string>{
                                        "R1|Login|Saisie|set S1",
                                        "R2|Logout; forc\xc3\xa9|ligne1\nligne2\nligne3|test T4,test T2",
                                        "R3|Trois|t3|",
                                        "R4|Quatre|t4|",
                                        "R5|Extra|e|test T1",
                                    }));
    EXPECT_TRUE(prompter.Prompts().empty());
}

TEST_F(CsvFileTest, AFailedReadSaysSoAndChangesNothing)
{
    LoadExig();
    const auto translate = [](std::string_view text) { return "<" + std::string(text) + ">"; };
    EXPECT_FALSE(bench.model.LoadRequirementsCsv("absent.csv", prompter, translate));
    bench.model.SetFactsFile(PathOf("faits.csv"));
    EXPECT_FALSE(bench.model.LoadFactsCsv(PathOf("absent.csv"), prompter, translate));
    EXPECT_EQ(bench.model.Requirements.size(), 5u);
    EXPECT_EQ(bench.model.GetRequirementsFile(), PathOf("exig.csv"));
    EXPECT_EQ(bench.model.GetFactsFile(), PathOf("faits.csv"));
    ASSERT_EQ(prompter.Prompts().size(), 2u);
    EXPECT_EQ(prompter.Prompts()[0].text, "<Impossible de charger le fichier:\n" + PathOf("absent.csv") + ">");
    EXPECT_EQ(prompter.Prompts()[1].text, "<Impossible de charge le fichier:\n" + PathOf("absent.csv") + ">");
    EXPECT_EQ(prompter.Prompts()[0].icon, shell::PromptIcon::Warning);
}

TEST_F(CsvFileTest, RewriteGivesTheGoldenFile)
{
    LoadExig();
    bench.model.Requirements[2]->Links.push_back({kLinkTest, bench.t1->Id});
    bench.model.SaveRequirementsCsv(prompter);
    EXPECT_TRUE(prompter.Prompts().empty());
    ExpectGolden(ReadBytes(m_dir / "exig.csv"), "exig_rewritten.csv");
    // Read back, the rewritten file gives the same list.
    const std::vector<std::string> before = bench.Requirements();
    ASSERT_TRUE(bench.model.LoadRequirementsCsv("exig.csv", prompter));
    EXPECT_EQ(bench.Requirements(), before);
}

struct RewriteCase {
    const char* what;
    std::string bytes;
    char qualifier;
    int linksColumn;
    std::vector<std::vector<std::string>> links;  // names per requirement, in list order
    std::string expected;
};

TEST_F(CsvFileTest, RewriteTableOfCases)
{
    const RewriteCase cases[] = {
        {"the old field is replaced, the fields after it stay",
         "R1;a;;x;y\r\nR2;b;old\r\n",
         0,
         3,
         {{"T1", "S1"}, {}},
         "R1;a;T1/S1;x;y\r\nR2;b;\r\n"},
        {"a column past the row's fields adds one more field", "R1;a;b\r\n", '"', 4, {{"T2"}}, "R1;a;b;T2\r\n"},
        {"a column further on is reached through empty fields", "R1;a\r\n", '"', 4, {{"T2"}}, "R1;a;;T2\r\n"},
        {"a column far beyond the row adds one field only", "R1;a\r\n", 0, 100000, {{"T2"}}, "R1;a;T2\r\n"},
        {"column 0 adds one more field", "R1;a\r\n", '"', 0, {{"T2"}}, "R1;a;T2\r\n"},
        {"column 1 replaces the first field whole", "R1;a;b\r\n", 0, 1, {{"T1"}}, "T1;a;b\r\n"},
        {"separators inside qualified text are not field ends",
         "\"R2\";\"Logout; forc\xc3\xa9\";\"l1\";\"T4/T2\";\"z\"\r\n",
         '"',
         4,
         {{"T1"}},
         "\"R2\";\"Logout; forc\xc3\xa9\";\"l1\";T1;\"z\"\r\n"},
        {"a link text holding the separator or the qualifier is qualified, the qualifier doubled",
         "R1;a;b;old\r\n",
         '"',
         4,
         {{"A;B", "Dit \"x\""}},
         "R1;a;b;\"A;B/Dit \"\"x\"\"\"\r\n"},
        {"without a qualifier the text stays bare", "R1;a;b;old\r\n", 0, 4, {{"Dit \"x\""}}, "R1;a;b;Dit \"x\"\r\n"},
        {"records beyond the list stay as they are",
         "R1;a;b;old\r\nR2;\"c\r\nd\";old\r\n",
         '"',
         4,
         {{"T1"}},
         "R1;a;b;T1\r\nR2;\"c\r\nd\";old\r\n"},
        {"lines without separator and records without ID stay in place",
         "x\r\n;a;b;old\r\nR1;a;b;old\r\n\r\n",
         '"',
         4,
         {{"T1"}},
         "x\r\n;a;b;old\r\nR1;a;b;T1\r\n\r\n"},
        {"a multi-line record becomes one line", "R1;\"a\r\nb\";x;old\r\n", '"', 4, {{"T1"}}, "R1;\"a\\nb\";x;T1\r\n"},
        {"LF line ends are kept", "R1;a;b;old\nR2;a;b;old", '"', 4, {{"T1"}, {"T2"}}, "R1;a;b;T1\nR2;a;b;T2\n"},
        {"Windows-1252 stays Windows-1252",
         "R1;\xe9t\xe9;b;old\r\n",
         '"',
         4,
         {{"\xc3\x89t\xc3\xa9"}},
         "R1;\xe9t\xe9;b;\xc9t\xe9\r\n"},
    };
    for (const RewriteCase& c : cases) {
        Bench local;
        CTestSet& extra = *local.model.AddTestSet(*local.model.Campaigns[1], "Extra", kAddAtEnd, 0, 0, 0, nullptr);
        local.model.AddTest(extra, "e.qzs", "\xc3\x89t\xc3\xa9", kAddAtEnd, 0, nullptr, 0);
        CCsvImportSettings& settings = local.model.RequirementCsvSettings;
        settings.TextQualifier = c.qualifier;
        settings.Columns[3] = c.linksColumn;
        for (const auto& names : c.links) {
            auto requirement = std::make_unique<CRequirement>();
            for (const std::string& name : names) {
                if (const std::uint32_t set = local.model.FindTestSetByPath(name)) {
                    requirement->Links.push_back({kLinkTestSet, set});
                } else {
                    requirement->Links.push_back({kLinkTest, local.model.FindTestByPath(name)});
                }
            }
            local.model.Requirements.push_back(std::move(requirement));
        }
        EXPECT_EQ(local.model.RewriteRequirementsText(c.bytes), c.expected) << c.what;
    }
}

TEST_F(CsvFileTest, RewriteSkipsLinksToDeletedTests)
{
    LoadExig();
    CTestSet& s1 = *bench.s1;
    bench.model.RemoveTest(s1, bench.t2);  // R2 linked T4 and T2
    bench.model.SaveRequirementsCsv(prompter);
    EXPECT_NE(ReadBytes(m_dir / "exig.csv").find("\"ligne1\\nligne2\\nligne3\";T4\r\n"), std::string::npos);
}

TEST_F(CsvFileTest, FactsRewriteTheirThirdColumn)
{
    WriteBytes(m_dir / "faits.csv", "F1;a;S1/T1;z\r\nF2;b;T2\r\n");
    ASSERT_TRUE(bench.model.LoadFactsCsv("faits.csv", prompter));
    bench.model.TechFacts[1]->Links.push_back({kLinkTest, bench.t4->Id});
    bench.model.SaveFactsCsv(prompter);
    EXPECT_EQ(ReadBytes(m_dir / "faits.csv"), "F1;a;T1;z\r\nF2;b;T2/T4\r\n");
}

// A write that fails half-way (here: the file size limit, which holds for root too) leaves the
// user's file as it was.
TEST_F(CsvFileTest, AFailedRewriteLeavesTheFileAndSaysSo)
{
    LoadExig();
    bench.model.Requirements[0]->Links.clear();
    const std::string before = ReadBytes(m_dir / "exig.csv");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bench.model.SaveRequirementsCsv(prompter);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadBytes(m_dir / "exig.csv"), before);
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + PathOf("exig.csv")}));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);  // no temporary left
}

TEST_F(CsvFileTest, RewriteOfAFileThatVanishedSaysSo)
{
    bench.model.SetRequirementsFile(PathOf("gone.csv"));
    bench.model.SetFactsFile(PathOf("gone2.csv"));
    bench.model.RequirementsChanged = 1;
    bench.model.FactsChanged = 1;
    bench.model.SaveProjectCsvFiles(prompter);
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{
                                    "Impossible d'enregistrer le fichier:\n" + PathOf("gone.csv"),
                                    "Impossible de charge le fichier:\n" + PathOf("gone2.csv"),
                                }));
    EXPECT_FALSE(fs::exists(m_dir / "gone.csv"));

    // Without a file of that kind there is nothing to rewrite and nothing to say.
    prompter = shell::RecordingPrompter();
    bench.model.ClearRequirementsFile();
    bench.model.ClearFactsFile();
    bench.model.SaveProjectCsvFiles(prompter);
    EXPECT_TRUE(prompter.Prompts().empty());
}

TEST_F(CsvFileTest, ProjectSaveRewritesOnlyTheChangedKinds)
{
    WriteBytes(m_dir / "exig.csv", "R1;a;b;old\r\n");
    WriteBytes(m_dir / "faits.csv", "F1;a;old\r\n");
    bench.model.RequirementCsvSettings.FirstLine = 0;
    bench.model.RequirementCsvSettings.TextQualifier = 0;
    bench.model.FactCsvSettings.TextQualifier = 0;
    ASSERT_TRUE(bench.model.LoadRequirementsCsv("exig.csv", prompter));
    ASSERT_TRUE(bench.model.LoadFactsCsv("faits.csv", prompter));
    bench.model.Requirements[0]->Links.push_back({kLinkTest, bench.t1->Id});
    bench.model.TechFacts[0]->Links.push_back({kLinkTest, bench.t1->Id});
    bench.model.RequirementsChanged = 1;
    bench.model.SaveProjectCsvFiles(prompter);
    EXPECT_EQ(ReadBytes(m_dir / "exig.csv"), "R1;a;b;T1\r\n");
    EXPECT_EQ(ReadBytes(m_dir / "faits.csv"), "F1;a;old\r\n");
    EXPECT_EQ(bench.model.RequirementsChanged, 1);  // the rewrite leaves the flags alone
}

TEST_F(CsvFileTest, ProjectLoadReadsItsCsvFilesAndAFailureLosesNothing)
{
    WriteBytes(m_dir / "exig.csv", ReadBytes(kData / "exig.csv"));
    ProjectModel& saved = bench.model;
    saved.Name = "P";
    saved.FilePath = PathOf("P.qzp");
    saved.SetRequirementsFile(PathOf("exig.csv"));
    saved.SetFactsFile(PathOf("faits.csv"));  // not there
    ASSERT_TRUE(saved.SaveProjectFile(PathOf("P.qzp")));

    ProjectModel loaded;
    ASSERT_TRUE(loaded.LoadProjectFile(PathOf("P.qzp"), prompter));
    ASSERT_EQ(loaded.Requirements.size(), 5u);
    EXPECT_EQ(loaded.Requirements[1]->Links.size(), 2u);
    EXPECT_EQ(loaded.GetRequirementsFile(), PathOf("exig.csv"));
    const std::vector<std::string> texts = prompter.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Impossible de charge le fichier:\n" + PathOf("faits.csv")),
              texts.end());
    // The facts file keeps its place and its settings in the project for the next save.
    EXPECT_EQ(loaded.GetFactsFile(), PathOf("faits.csv"));
    EXPECT_NE(loaded.ProjectFileText().find("<Filename>faits.csv</Filename>"), std::string::npos);
}

// ---- Dated export ----

class CsvExportTest : public CsvFileTest {
protected:
    void SetUp() override
    {
        CsvFileTest::SetUp();
        ProjectModel& m = bench.model;
        m.ResetCsvSettings();  // default headers and labels, every export column in order
        m.RequirementCsvSettings.TextQualifier = '"';
        m.RequirementCsvSettings.HasHeader = 1;
        m.FactCsvSettings.TextQualifier = '"';
        m.FactCsvSettings.HasHeader = 1;
        m.Versions.push_back(std::make_unique<CVersion>(CVersion{7, "V1", "premi\xc3\xa8re"}));
        m.Versions.push_back(std::make_unique<CVersion>(CVersion{8, "V2", ""}));
        m.SetResult(7, bench.t1->Id, 1, "", UtcTime(2024, 3, 5, 7, 8, 9), 10);
        m.SetResult(7, bench.t2->Id, 0, "", UtcTime(2024, 3, 5, 9, 0, 0), 10);
        m.SetResult(7, bench.bothTest->Id, 1, "", UtcTime(2024, 3, 4, 1, 0, 0), 10);
        m.SetResult(7, bench.t4->Id, 1, "", UtcTime(2024, 3, 4, 2, 0, 0), 10);
        m.SetResult(7, bench.withSeparator->Id, 2, "", UtcTime(2024, 3, 6, 0, 0, 0), 10);
        m.SetResult(8, bench.t2->Id, 1, "", UtcTime(2025, 1, 1, 0, 0, 0), 10);
        const auto add = [&m](const char* id, const char* title, const char* text, std::vector<CItemLink> links) {
            m.Requirements.push_back(std::make_unique<CRequirement>(CRequirement{id, title, text, std::move(links)}));
        };
        add("R1", "Set with a failure", "a\nb", {{kLinkTestSet, bench.s1->Id}});
        add("R2", "NOK then OK", "", {{kLinkTest, bench.t2->Id}, {kLinkTest, bench.t1->Id}});
        add("R3", "Set all OK", "\xc3\xa9t\xc3\xa9 \xe2\x82\xac \xe2\x9c\x93", {{kLinkTestSet, bench.both->Id}});
        add("R4", "No links", "", {});
        add("R5", "Other value", "", {{kLinkTest, bench.withSeparator->Id}, {kLinkTestSet, 999}});
        m.TechFacts.push_back(std::make_unique<CTechFact>(CTechFact{"F1", "one", {{kLinkTest, bench.t1->Id}}}));
        m.TechFacts.push_back(std::make_unique<CTechFact>(
            CTechFact{"F2", "two", {{kLinkTest, bench.t2->Id}, {kLinkTest, bench.t1->Id}, {kLinkTest, bench.t2->Id}}}));
        m.TechFacts.push_back(std::make_unique<CTechFact>(CTechFact{"F3", "set", {{kLinkTestSet, bench.s1->Id}}}));
    }
};

// NOK wins over OK, a set whose tests all passed is OK, a row without result has an empty Date
// without quotes, the Texte is on one line, FT lists the facts of each covered test.
TEST_F(CsvExportTest, RequirementsOfTheFirstVersionGiveTheGoldenFile)
{
    const std::string path = PathOf("exig_res_v1.csv");
    ASSERT_TRUE(bench.model.ExportRequirementsDated(path, 7, prompter));
    EXPECT_TRUE(prompter.Prompts().empty());
    ExpectGolden(ReadBytes(path), "exig_res_v1.csv");
}

TEST_F(CsvExportTest, FactsWriteSetNamesAloneAndCountTheirResults)
{
    bench.model.FactCsvSettings.HasHeader = 0;
    EXPECT_EQ(bench.model.FactsExportText(7),
              "\"F1\";\"one\";\"Camp/S1/T1\";\"OK\";\"2024/03/05 07:08:09\";\"V1\"\r\n"
              "\"F2\";\"two\";\"Camp/S1/T2/Camp/S1/T1/Camp/S1/T2\";\"NOK\";\"2024/03/05 09:00:00\";\"V1\"\r\n"
              "\"F3\";\"set\";\"S1\";\"NOK\";\"2024/03/05 09:00:00\";\"V1\"\r\n");
    EXPECT_EQ(bench.model.FactsExportText(8).rfind("\"F1\";\"one\";\"Camp/S1/T1\";\"Non test\xe9\";;\"V2\"\r\n", 0),
              0u);
}

struct ColumnsCase {
    const char* what;
    std::vector<int> columns;
    int header;
    char qualifier;
    std::string firstLines;  // the header line (when asked) and the row of R1
};

TEST_F(CsvExportTest, ColumnChoicesTable)
{
    const ColumnsCase cases[] = {
        {"columns 0 are skipped; the header is never qualified",
         {0, 1, 4, 0, 5, 0, 0, 0},
         1,
         '"',
         "ID;R\xe9"
         "f\xe9rence;R\xe9sultat\r\n\"R1\";\"Camp/S1\";\"NOK\"\r\n"},
        {"a Résultat before any Référence is untested",
         {5, 4, 0, 0, 0, 0, 0, 0},
         0,
         '"',
         "\"Non test\xe9\";\"Camp/S1\"\r\n"},
        {"kinds outside 1 to 8 add nothing", {9, 1, -2, 0, 0, 0, 0, 0}, 1, 0, "ID\r\nR1\r\n"},
        {"without qualifier nothing is quoted; the Texte keeps its break",
         {1, 3, 6, 0, 0, 0, 0, 0},
         0,
         0,
         "R1;a\\nb;2024/03/05 09:00:00\r\n"},
        {"every column 0 with the header: empty lines", {0, 0, 0, 0, 0, 0, 0, 0}, 1, '"', "\r\n\r\n\r\n\r\n\r\n\r\n"},
    };
    for (const ColumnsCase& c : cases) {
        CCsvImportSettings& settings = bench.model.RequirementCsvSettings;
        settings.ExportColumns = c.columns;
        settings.HasHeader = c.header;
        settings.TextQualifier = c.qualifier;
        const std::string text = bench.model.RequirementsExportText(7);
        EXPECT_EQ(text.substr(0, c.firstLines.size()), c.firstLines) << c.what;
    }
    bench.model.RequirementCsvSettings.OneLine = 0;
    bench.model.RequirementCsvSettings.ExportColumns = {3, 0, 0, 0, 0, 0, 0, 0};
    bench.model.RequirementCsvSettings.HasHeader = 0;
    EXPECT_EQ(bench.model.RequirementsExportText(7).substr(0, 7), "\"a\nb\"\r\n");
}

TEST_F(CsvExportTest, AFileThatCannotBeCreatedSaysSo)
{
    const std::string path = PathOf("missing/folder/x.csv");
    EXPECT_FALSE(bench.model.ExportRequirementsDated(path, 7, prompter));
    EXPECT_FALSE(bench.model.ExportFactsDated("", 7, prompter));
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + path,
                                                          "Impossible d'enregistrer le fichier:\n"}));
}

}  // namespace
}  // namespace zov::project::testing
