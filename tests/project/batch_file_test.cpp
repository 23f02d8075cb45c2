// The batch file: the golden nightly.qzb, the reader's cases and the project peek.
#include "ProjectFixture.h"

#include "ide/project/model/BatchFile.h"

namespace {

using namespace zov::project;
using namespace zov::project::testing;

class BatchFileTest : public ProjectFolderTest {};

BatchEntries Nightly()
{
    BatchEntries entries;
    entries.push_back(std::make_unique<CBatchEntry>(
        CBatchEntry{"/bancs/Banc.qzp", "nightly", "V2", "/rapports/nuit.html", 3, "/usr/bin/enregistreur", "-q"}));
    entries.push_back(std::make_unique<CBatchEntry>(CBatchEntry{"Réglages & essais.qzp", "", "", "", 0, "", ""}));
    return entries;
}

TEST_F(BatchFileTest, WritesTheGoldenFileAndReadsItBackWithEmptyTexts)
{
    const BatchEntries entries = Nightly();
    ASSERT_TRUE(WriteBatchFile(PathOf("nightly.qzb"), 1, entries));
    ExpectGolden(ReadBytes(PathOf("nightly.qzb")), "nightly.qzb");

    Batch batch;
    batch.Hide = 7;
    ASSERT_TRUE(batch.Read(PathOf("nightly.qzb")));
    EXPECT_EQ(batch.Path, PathOf("nightly.qzb"));
    EXPECT_EQ(batch.Hide, 1);
    ASSERT_EQ(batch.Entries.size(), 2u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const CBatchEntry& a = *entries[i];
        const CBatchEntry& b = *batch.Entries[i];
        EXPECT_EQ(std::tie(a.Filename, a.Name, a.Version, a.Report, a.Repeat, a.Program, a.ProgramParam),
                  std::tie(b.Filename, b.Name, b.Version, b.Report, b.Repeat, b.Program, b.ProgramParam));
    }
}

TEST_F(BatchFileTest, ReaderCases)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool read;
        int hide;  // starting from 5
        size_t entries;
        int repeat;  // of the last entry
    };
    const Case cases[] = {
        {"hide 1", "<ZOVBatch><Options><Hide>1</Hide></Options></ZOVBatch>", true, 1, 0, 0},
        {"hide 2", "<ZOVBatch><Options><Hide>2</Hide></Options></ZOVBatch>", true, 0, 0, 0},
        {"empty hide", "<ZOVBatch><Options><Hide/></Options></ZOVBatch>", true, 0, 0, 0},
        {"no options", "<ZOVBatch><Project><Repeat>4</Repeat></Project></ZOVBatch>", true, 5, 1, 4},
        {"no repeat", "<ZOVBatch><Project><Filename>a</Filename></Project></ZOVBatch>", true, 5, 1, 0},
        {"bad repeat", "<ZOVBatch><Project><Repeat>x</Repeat></Project><Project/></ZOVBatch>", true, 5, 2, 0},
        {"other root", "<ZOVProject/>", false, 5, 0, 0},
        {"broken", "<ZOVBatch><Project>", false, 5, 0, 0},
        {"empty", "", false, 5, 0, 0},
    };
    for (const Case& c : cases) {
        int hide = 5;
        BatchEntries entries;
        entries.push_back(std::make_unique<CBatchEntry>());  // already there: stays in front
        EXPECT_EQ(ReadBatchText(c.bytes, hide, entries), c.read) << c.name;
        EXPECT_EQ(hide, c.hide) << c.name;
        ASSERT_EQ(entries.size(), c.entries + 1) << c.name;
        EXPECT_EQ(entries.back()->Repeat, c.repeat) << c.name;
    }
}

TEST_F(BatchFileTest, AFailedWriteIsReportedAndKeepsTheOldFile)
{
    WriteBytes(PathOf("b.qzb"), "old");
    EXPECT_FALSE(WriteBatchFile(PathOf("missing/b.qzb"), 0, Nightly()));
    fs::create_directory(PathOf("folder.qzb"));
    EXPECT_FALSE(WriteBatchFile(PathOf("folder.qzb"), 0, Nightly()));
    EXPECT_EQ(ReadBytes(PathOf("b.qzb")), "old");
    Batch batch;
    EXPECT_FALSE(batch.Read(PathOf("missing.qzb")));
    EXPECT_EQ(batch.Path, PathOf("missing.qzb"));
}

TEST_F(BatchFileTest, ReadProjectVersionsPeeksIntoTheProject)
{
    WriteBytes(PathOf("Banc.qzp"), ReadBytes(kData / "Banc.qzp"));
    std::string name;
    std::vector<std::string> configs, versions;
    ASSERT_TRUE(ReadProjectVersions(PathOf("Banc.qzp"), name, configs, versions));
    EXPECT_EQ(name, "Banc");
    EXPECT_EQ(configs, std::vector<std::string>({"nightly=1;2"}));
    EXPECT_EQ(versions, std::vector<std::string>({"V1", "V2"}));

    WriteBytes(PathOf("v.qzp"),
               "<ZOVProject><Version><Ref>1</Ref></Version><Version><Name>B</Name></Version>"
               "<RunConfig/></ZOVProject>");
    name = "x";
    configs.clear();
    versions.clear();
    ASSERT_TRUE(ReadProjectVersions(PathOf("v.qzp"), name, configs, versions));
    EXPECT_EQ(name, "");
    EXPECT_EQ(versions, std::vector<std::string>({"", "B"}));
    EXPECT_EQ(configs, std::vector<std::string>({""}));

    WriteBytes(PathOf("other.qzp"), "<Other/>");
    versions.clear();
    EXPECT_TRUE(ReadProjectVersions(PathOf("other.qzp"), name, configs, versions));
    EXPECT_TRUE(versions.empty());
    EXPECT_FALSE(ReadProjectVersions(PathOf("none.qzp"), name, configs, versions));
}

}  // namespace
