// The project file: the golden Banc.qzp, the writer's rules, the reader's cases, and the save and
// load protocol (backup, atomic write, recovery, failures that change nothing).
#include "ProjectFixture.h"

#include "ide/project/model/ProjectModel.h"
#include "ide/shell/core/Prompter.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

using namespace zov::project;
using namespace zov::project::testing;
using zov::shell::RecordingPrompter;

const char* const kInterfaceMissing = "L'interface du projet n'est pas présente !";
const char* const kBackupMessage =
    "Le projet n'a pas été correctement sauvegardé.\nChargement de la dernière sauvegarde ...";

class ProjectFileTest : public ProjectFolderTest {
protected:
    // Reads a project file text as if it were F/P.qzp.
    std::optional<ProjectModel> Read(const std::string& bytes)
    {
        return ProjectModel::ReadProjectText(bytes, PathOf("P.qzp"), prompter);
    }
    static std::string Project(const std::string& children)
    {
        return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<ZOVProject>" + children + "</ZOVProject>\n";
    }
    RecordingPrompter prompter;
};

TEST_F(ProjectFileTest, TheFixtureWritesTheGoldenFile)
{
    ProjectModel model;
    FillBanc(model, Folder());
    ExpectGolden(model.ProjectFileText(), "Banc.qzp");
}

TEST_F(ProjectFileTest, AnEmptyProjectWritesOnlyTheIdentity)
{
    ProjectModel model;
    model.NewProject("", Folder(), "");
    EXPECT_EQ(model.ProjectFileText(),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
              "<ZOVProject>\n"
              "    <QZPVersion>1.0</QZPVersion>\n"
              "    <Name />\n"
              "    <Text />\n"
              "    <Interface />\n"
              "</ZOVProject>\n");
}

TEST_F(ProjectFileTest, WriterRulesForResultsTextsParamsAndCsvBlocks)
{
    ProjectModel model;
    model.NewProject("P", Folder(), "");
    CCampaign& campaign = *model.AddCampaign("C", kAddAtEnd, 0, nullptr);
    CTestSet& set = *model.AddTestSet(campaign, "S", kAddAtEnd, 0, 0, 0, nullptr);
    set.Params = "a;";
    model.AddTest(set, "t.qzs", "T", kAddAtEnd, 0, nullptr, 0);
    const std::string text = model.ProjectFileText();
    EXPECT_NE(text.find("    <MainResult />\n"), std::string::npos) << "lists without results";
    EXPECT_EQ(text.find("<Text>"), std::string::npos) << "empty campaign and list texts are left out";
    EXPECT_NE(text.find("            <Param>a</Param>\n            <Param />\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("<Requirement>"), std::string::npos);
    EXPECT_EQ(text.find("<Bug>"), std::string::npos);

    model.RemoveResultList(1);
    EXPECT_EQ(model.ProjectFileText().find("MainResult"), std::string::npos) << "no list at all";

    model.SetFactsFile(PathOf("faits.csv"));
    const std::string withFacts = model.ProjectFileText();
    EXPECT_EQ(withFacts.find("<Requirement>"), std::string::npos);
    const size_t bug = withFacts.find("<Bug>");
    ASSERT_NE(bug, std::string::npos);
    const std::string block = withFacts.substr(bug, withFacts.find("</Bug>") - bug);
    size_t cols = 0, heads = 0;
    for (size_t at = 0; (at = block.find("<Col>", at)) != std::string::npos; ++at)
        ++cols;
    for (size_t at = 0; (at = block.find("<Head>", at)) != std::string::npos; ++at)
        ++heads;
    EXPECT_EQ(cols, 6u);
    EXPECT_EQ(heads, 6u);
    EXPECT_NE(block.find("<Filename>faits.csv</Filename>"), std::string::npos) << block;
}

TEST_F(ProjectFileTest, ReaderCases)
{
    WriteBytes(PathOf("I.qzi"), "");
    const std::string interface = "<Interface>I.qzi</Interface>";
    struct Case {
        const char* name;
        std::string children;
        std::function<void(const ProjectModel&)> check;
    };
    const Case cases[] = {
        {"mode 1 depends",
         "<Campaign><List><Mode>1</Mode><Depends>0</Depends></List><List><Mode>2</Mode><Depends>1</Depends></List>"
         "<List><Depends>yes</Depends></List></Campaign>",
         [](const ProjectModel& m) {
             EXPECT_EQ(m.Campaigns[0]->TestSets[0]->Depends, 1);
             EXPECT_EQ(m.Campaigns[0]->TestSets[1]->Depends, 1);
             EXPECT_EQ(m.Campaigns[0]->TestSets[2]->Depends, 0);
         }},
        {"params joined",
         "<Campaign><List><Param></Param><Param>b</Param><Script><Param>a</Param><Param/><Param>c</Param></Script>"
         "</List></Campaign>",
         [](const ProjectModel& m) {
             EXPECT_EQ(m.Campaigns[0]->TestSets[0]->Params, "b");
             EXPECT_EQ(m.Campaigns[0]->TestSets[0]->Tests[0]->Params, "a;;c");
         }},
        {"refs move the counter", "<Campaign><Ref>5</Ref></Campaign><Campaign><Ref>2</Ref></Campaign><Campaign/>",
         [](const ProjectModel& m) {
             EXPECT_EQ(m.Campaigns[0]->Id, 5u);
             EXPECT_EQ(m.Campaigns[1]->Id, 2u);
             EXPECT_EQ(m.Campaigns[2]->Id, 7u);
             EXPECT_EQ(m.NextCampaignId, 8u);
         }},
        {"no refs", "<Campaign><List><Script/><Script/><Script/></List><List/></Campaign>",
         [](const ProjectModel& m) {
             const auto& tests = m.Campaigns[0]->TestSets[0]->Tests;
             EXPECT_EQ(tests[0]->Id, 1u);
             EXPECT_EQ(tests[1]->Id, 2u);
             EXPECT_EQ(tests[2]->Id, 3u);
             EXPECT_EQ(m.Campaigns[0]->TestSets[1]->Id, 2u);
             EXPECT_EQ(m.NextTestId, 4u);
             EXPECT_NE(m.FindResultList(3), nullptr);
         }},
        {"relative interface resolved", interface,
         [this](const ProjectModel& m) { EXPECT_EQ(m.InterfacePath, PathOf("I.qzi")); }},
        {"line 300", "<Requirement><Filename>r.csv</Filename><Line>300</Line></Requirement>",
         [this](const ProjectModel& m) {
             EXPECT_EQ(m.RequirementCsvSettings.FirstLine, 300);
             EXPECT_EQ(m.GetRequirementsFile(), PathOf("r.csv"));
         }},
        {"extra col and head ignored",
         "<Bug><Col>6</Col><Col>5</Col><Col>4</Col><Col>3</Col><Col>2</Col><Col>1</Col><Col>9</Col>"
         "<Head>a</Head><Head>b</Head><Head>c</Head><Head>d</Head><Head>e</Head><Head>f</Head><Head>g</Head></Bug>",
         [](const ProjectModel& m) {
             EXPECT_EQ(m.FactCsvSettings.Columns, std::vector<int>({6, 5, 4, 3, 2, 1}));
             EXPECT_EQ(m.FactCsvSettings.Headers, std::vector<std::string>({"a", "b", "c", "d", "e", "f"}));
         }},
        {"empty numbers and foreign elements",
         "<Foreign><Campaign><Name>no</Name></Campaign></Foreign><Requirement><Col/><Col>7</Col><Header/></Requirement>"
         "<Campaign><Ref/><Name>yes</Name><Unknown>1</Unknown><List><Mode/></List></Campaign>",
         [](const ProjectModel& m) {
             ASSERT_EQ(m.Campaigns.size(), 1u);
             EXPECT_EQ(m.Campaigns[0]->Name, "yes");
             EXPECT_EQ(m.Campaigns[0]->Id, 0u);
             EXPECT_EQ(m.Campaigns[0]->TestSets[0]->Mode, 0);
             EXPECT_EQ(m.RequirementCsvSettings.Columns[0], 0);
             EXPECT_EQ(m.RequirementCsvSettings.Columns[1], 7);
             EXPECT_EQ(m.RequirementCsvSettings.HasHeader, 0);
         }},
        {"csv block defaults and labels",
         "<Requirement><Separator>44</Separator><String>-94</String><OneLine>1</OneLine></Requirement>",
         [](const ProjectModel& m) {
             EXPECT_EQ(m.RequirementCsvSettings.Separator, ',');
             EXPECT_EQ(static_cast<unsigned char>(m.RequirementCsvSettings.TextQualifier), 0xA2);
             EXPECT_EQ(m.RequirementCsvSettings.OneLine, 1);
             EXPECT_EQ(m.FactCsvSettings.OneLine, 1) << "a missing block keeps the reset values";
             EXPECT_EQ(m.FactCsvSettings.Headers[2], "Référence");
             EXPECT_EQ(m.GetRequirementsFile(), "");
         }},
        {"data pairs", "<Data name=\"a\" value=\"1\"/><Data value=\"2\"/><Data name=\"c\"/>",
         [](const ProjectModel& m) {
             EXPECT_EQ(m.DataNames, std::vector<std::string>({"a", "", "c"}));
             EXPECT_EQ(m.DataValues, std::vector<std::string>({"1", "2", ""}));
         }},
        {"versions", "<Version><Name>V1</Name><Ref>4</Ref></Version><Version><Info>i</Info></Version>",
         [](const ProjectModel& m) {
             ASSERT_EQ(m.Versions.size(), 2u);
             EXPECT_EQ(m.Versions[0]->Id, 4u);
             EXPECT_EQ(m.Versions[1]->Id, 0u);
             EXPECT_EQ(m.Versions[1]->Info, "i");
             EXPECT_EQ(m.GetVersionName(4), "V1");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string children =
            c.children.find("<Interface>") == std::string::npos ? interface + c.children : c.children;
        const std::optional<ProjectModel> model = Read(Project(children));
        ASSERT_TRUE(model);
        c.check(*model);
    }
    EXPECT_TRUE(prompter.Prompts().empty());
}

TEST_F(ProjectFileTest, DrivePathsStayAndMissingInterfacesAreAnnounced)
{
    // A drive form is absolute: kept as it stands, and found as a file of that very name.
    const std::string drive = "C:\\x\\y.qzi";
    const std::string cwd = fs::current_path();
    fs::current_path(m_dir);
    WriteBytes(m_dir / drive, "");
    const auto kept = Read(Project("<Interface>" + drive + "</Interface>"));
    fs::current_path(cwd);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->InterfacePath, drive);
    EXPECT_TRUE(prompter.Prompts().empty());

    const auto missing = Read(Project("<Name>N</Name><Interface>absent.qzi</Interface><Campaign/>"));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->InterfacePath, "");
    EXPECT_EQ(missing->Name, "N");
    EXPECT_EQ(missing->Campaigns.size(), 1u) << "the load goes on";
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>({kInterfaceMissing}));
}

TEST_F(ProjectFileTest, LineEndsAndEncodingReadTheSame)
{
    WriteBytes(PathOf("I.qzi"), "");
    const std::string lf = Project("\n<Interface>I.qzi</Interface>\n<Text>Prix \x80 5</Text>\n<Name>Caf\xE9</Name>\n");
    std::string crlf;
    for (char c : lf) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    const auto a = Read(lf);
    const auto b = Read(crlf);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->Text, "Prix € 5");
    EXPECT_EQ(a->Name, "Café");
    EXPECT_EQ(a->ProjectFileText(), b->ProjectFileText());
}

TEST_F(ProjectFileTest, NotAProjectReadsAsNothing)
{
    for (const std::string& bytes : {std::string(), std::string("<ZOVBatch/>"), std::string("<ZOVProject>"),
                                    std::string("garbage"), std::string("<a/>\0<b/>", 9)}) {
        EXPECT_FALSE(Read(bytes)) << bytes;
    }
}

TEST_F(ProjectFileTest, GoldenFileLoadsAndRoundTripsToTheSameBytes)
{
    WriteBytes(PathOf("Banc.qzp"), ReadBytes(kData / "Banc.qzp"));
    WriteBytes(PathOf("Pupitre.qzi"), "");
    // The CSV files the project names, read with it (a missing one would be announced).
    WriteBytes(PathOf("exigences.csv"), "ID;Titre;Texte;FT\r\n\"E1\";\"Un\";\"x\";\"F1\"\r\n");
    WriteBytes(PathOf("faits.csv"), "F1,Fait,Mesure\r\n");
    ProjectModel model;
    ASSERT_TRUE(model.LoadProjectFile(PathOf("Banc.qzp"), prompter));
    EXPECT_TRUE(prompter.Prompts().empty());
    ASSERT_EQ(model.Requirements.size(), 1u);
    EXPECT_EQ(model.Requirements[0]->Titre, "Un");
    EXPECT_TRUE(model.Requirements[0]->Links.empty());  // this project reads no Référence column
    ASSERT_EQ(model.TechFacts.size(), 1u);
    EXPECT_EQ(model.TechFacts[0]->Links.size(), 1u);
    EXPECT_EQ(model.Name, "Banc");
    EXPECT_EQ(model.Directory, Folder());
    EXPECT_EQ(model.InterfacePath, PathOf("Pupitre.qzi"));
    EXPECT_EQ(model.Text, "Banc d'essai & <réglages> à 5 €");
    EXPECT_EQ(model.DataValues[1], "9 600 \"bauds\"");
    EXPECT_EQ(model.GetRequirementsExportFile(), PathOf("export/exigences.csv"));
    EXPECT_EQ(model.RequirementCsvSettings.TextQualifier, '"');
    EXPECT_EQ(model.FactCsvSettings.Separator, ',');
    ASSERT_EQ(model.Campaigns.size(), 2u);
    EXPECT_EQ(model.Campaigns[0]->TestSets[0]->Params, "a;");
    EXPECT_EQ(model.FindTestByPath("Campagne/Ens/Fond"), 2u);
    const CTestResult* result = model.FindResult(1, 1);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->Info, "ok & <fin>");
    EXPECT_EQ(result->StartTime, UtcTime(2024, 3, 5, 7, 8, 9));
    EXPECT_EQ(result->Duration, 3725);
    EXPECT_EQ(model.FindResult(2, 1)->Duration, 90000);
    EXPECT_EQ(model.ProjectFileText(), ReadBytes(kData / "Banc.qzp"));
}

TEST_F(ProjectFileTest, ResultsFileWinsOverTheProjectsOwn)
{
    WriteBytes(PathOf("Banc.qzp"), ReadBytes(kData / "Banc.qzp"));
    WriteBytes(PathOf("Pupitre.qzi"), "");
    WriteBytes(PathOf("Banc.res"),
               "<ZOVProject><MainResult><Script><Ref>3</Ref><Result><VersionRef>2</VersionRef>"
               "<Value>1</Value></Result></Script></MainResult></ZOVProject>");
    ProjectModel model;
    ASSERT_TRUE(model.LoadProjectFile(PathOf("Banc.qzp"), prompter));
    EXPECT_EQ(model.FindResult(1, 1), nullptr);
    ASSERT_NE(model.FindResult(3, 2), nullptr);
    EXPECT_EQ(model.FindResult(3, 2)->Value, 1);

    // An unreadable results file leaves the project's own results in place.
    WriteBytes(PathOf("Banc.res"), "<ZOVProject><MainResult>");
    ProjectModel again;
    ASSERT_TRUE(again.LoadProjectFile(PathOf("Banc.qzp"), prompter));
    ASSERT_NE(again.FindResult(1, 1), nullptr);
}

TEST_F(ProjectFileTest, SaveKeepsNoBackupAndDropsTheResultsFile)
{
    ProjectModel model;
    FillBanc(model, Folder());
    WriteBytes(PathOf("Banc.qzp"), "old");
    WriteBytes(PathOf("Banc.res"), "results");
    ASSERT_TRUE(model.SaveProjectFile(PathOf("Banc.qzp")));
    EXPECT_EQ(ReadBytes(PathOf("Banc.qzp")), ReadBytes(kData / "Banc.qzp"));
    EXPECT_FALSE(fs::exists(PathOf("Banc.qzp.bak")));
    EXPECT_FALSE(fs::exists(PathOf("Banc.res")));
}

TEST_F(ProjectFileTest, AFailedSaveKeepsTheBackupTheResultsAndTheFile)
{
    ProjectModel model;
    FillBanc(model, Folder());
    WriteBytes(PathOf("Banc.qzp"), "old");
    WriteBytes(PathOf("Banc.res"), "results");
    int writes = 0;
    const auto failsOnTheProject = [&](const std::string& path, std::string_view bytes) {
        ++writes;
        if (path == PathOf("Banc.qzp")) {
            return false;
        }
        WriteBytes(path, std::string(bytes));
        return true;
    };
    EXPECT_FALSE(model.SaveProjectFile(PathOf("Banc.qzp"), failsOnTheProject));
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(ReadBytes(PathOf("Banc.qzp")), "old");
    EXPECT_EQ(ReadBytes(PathOf("Banc.qzp.bak")), "old");
    EXPECT_EQ(ReadBytes(PathOf("Banc.res")), "results");

    // A backup that cannot be made stops the save before the file is touched.
    fs::remove(PathOf("Banc.qzp.bak"));
    EXPECT_FALSE(model.SaveProjectFile(PathOf("Banc.qzp"), [](const std::string&, std::string_view) { return false; }));
    EXPECT_EQ(ReadBytes(PathOf("Banc.qzp")), "old");
    EXPECT_TRUE(fs::exists(PathOf("Banc.res")));
}

// Makes the folder refuse new files: its write bits off, and for root (whom permissions do not
// bind) the immutable flag where the file system has one.
bool MakeFolderReadOnly(const fs::path& folder, bool readOnly)
{
    const auto setWriteBits = [&] {
        std::error_code error;
        fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        readOnly ? fs::perm_options::remove : fs::perm_options::add, error);
        return !error;
    };
    if (::geteuid() != 0) {
        return setWriteBits();
    }
    // The flag goes on after the bits and comes off before them: an immutable folder keeps its mode.
    if (readOnly && !setWriteBits()) {
        return false;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = readOnly ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done && (readOnly || setWriteBits());
}

TEST_F(ProjectFileTest, AReadOnlyFolderFailsTheSave)
{
    ProjectModel model;
    FillBanc(model, Folder());
    WriteBytes(PathOf("Banc.qzp"), "old");
    WriteBytes(PathOf("Banc.res"), "results");
    if (!MakeFolderReadOnly(m_dir, true)) {
        MakeFolderReadOnly(m_dir, false);
        GTEST_SKIP() << "this file system cannot make the folder read-only for root";
    }
    const bool saved = model.SaveProjectFile(PathOf("Banc.qzp"));
    ASSERT_TRUE(MakeFolderReadOnly(m_dir, false));
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(PathOf("Banc.qzp")), "old");
    EXPECT_TRUE(fs::exists(PathOf("Banc.res")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 3) << "no temporary file left";
}

TEST_F(ProjectFileTest, AFailedLoadChangesNothing)
{
    ProjectModel model;
    FillBanc(model, Folder());
    const std::string before = model.ProjectFileText();
    WriteBytes(PathOf("broken.qzp"), "<ZOVProject><Name>x</Name>");
    WriteBytes(PathOf("other.qzp"), "<ZOVBatch/>");
    for (const char* name : {"broken.qzp", "other.qzp", "missing.qzp"}) {
        EXPECT_FALSE(model.LoadProjectFile(PathOf(name), prompter)) << name;
        EXPECT_EQ(model.ProjectFileText(), before) << name;
        EXPECT_EQ(model.FilePath, PathOf("Banc.qzp")) << name;
    }
    EXPECT_EQ(ReadBytes(PathOf("broken.qzp")), "<ZOVProject><Name>x</Name>");
    EXPECT_TRUE(prompter.Prompts().empty());
}

TEST_F(ProjectFileTest, ABackupThatParsesIsRecoveredAndOneThatDoesNotIsLeftAlone)
{
    WriteBytes(PathOf("Pupitre.qzi"), "");
    WriteBytes(PathOf("P.qzp"), Project("<Name>ancien</Name><Interface>Pupitre.qzi</Interface>"));
    WriteBytes(PathOf("P.qzp.bak"), Project("<Name>sauvegarde</Name><Interface>Pupitre.qzi</Interface>"));
    ProjectModel model;
    ASSERT_TRUE(model.LoadProjectFile(PathOf("P.qzp"), prompter));
    EXPECT_EQ(model.Name, "sauvegarde");
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>({kBackupMessage}));
    EXPECT_FALSE(fs::exists(PathOf("P.qzp.bak")));
    EXPECT_NE(ReadBytes(PathOf("P.qzp")).find("sauvegarde"), std::string::npos);

    // Half a file, or another kind of file: both files stay as they are and the project loads.
    for (const std::string& backup : {std::string("<ZOVProject><Name>demi"), std::string("<ZOVBatch/>")}) {
        RecordingPrompter quiet;
        WriteBytes(PathOf("P.qzp.bak"), backup);
        ASSERT_TRUE(model.LoadProjectFile(PathOf("P.qzp"), quiet));
        EXPECT_EQ(model.Name, "sauvegarde");
        EXPECT_TRUE(quiet.Prompts().empty());
        EXPECT_EQ(ReadBytes(PathOf("P.qzp.bak")), backup);
    }
}

TEST_F(ProjectFileTest, LoadStartsFreshDataPairsAndCsvDialect)
{
    WriteBytes(PathOf("Pupitre.qzi"), "");
    WriteBytes(PathOf("P.qzp"), Project("<Name>P</Name><Interface>Pupitre.qzi</Interface>"));
    ProjectModel model;
    FillBanc(model, Folder());
    ASSERT_TRUE(model.LoadProjectFile(PathOf("P.qzp"), prompter));
    EXPECT_TRUE(model.DataNames.empty());
    EXPECT_EQ(model.GetRequirementsExportFile(), "");
    EXPECT_EQ(model.FactCsvSettings.Separator, ';');
    EXPECT_EQ(model.RequirementCsvSettings.TextQualifier, 0);
    EXPECT_EQ(model.RequirementCsvSettings.FirstLine, 0);
    EXPECT_TRUE(model.Campaigns.empty());
    EXPECT_TRUE(model.Results().empty());
}

TEST_F(ProjectFileTest, AnUnreadableCsvKeepsItsBlock)
{
    // The CSV files are read after the load by their own code; the project keeps their paths and
    // settings whether or not they can be read, so the next save writes the same blocks.
    WriteBytes(PathOf("Banc.qzp"), ReadBytes(kData / "Banc.qzp"));
    WriteBytes(PathOf("Pupitre.qzi"), "");
    ProjectModel model;
    ASSERT_TRUE(model.LoadProjectFile(PathOf("Banc.qzp"), prompter));
    EXPECT_FALSE(fs::exists(PathOf("exigences.csv")));
    EXPECT_EQ(model.GetRequirementsFile(), PathOf("exigences.csv"));
    EXPECT_EQ(model.GetFactsFile(), PathOf("faits.csv"));
}

}  // namespace
