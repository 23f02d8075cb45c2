// Pirrow's document: writing a file element by element, reading it back with the navigation
// commands, the answers of each side, and the failures.
#include "PirrowXml.h"
#include "common/xml/XmlDepth.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using pirrow::PirrowXml;
using pirrow::Reply;

using zov::test::ReadFile;
using zov::test::WriteFile;

const fs::path kData = fs::path(ZOV_SOURCE_DIR) / "tests/pirrow/data";

class DocumentTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "pirrow-doc-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string PathOf(const std::string& name) const { return (m_dir / name).string(); }

    // The document the golden file holds.
    void WriteSample(PirrowXml& xml, const std::string& path)
    {
        ASSERT_EQ(xml.Create(path), Reply::Yes);
        ASSERT_EQ(xml.Root("catalog"), Reply::Yes);
        ASSERT_EQ(xml.NewComment("made by a test -- twice-"), Reply::Yes);
        ASSERT_EQ(xml.NewTag("item", "a&b <c>"), Reply::Yes);
        ASSERT_EQ(xml.SetAttrib("id", "1"), Reply::Yes);
        ASSERT_EQ(xml.SetAttrib("note", "say \"hi\" & 'bye'"), Reply::Yes);
        ASSERT_EQ(xml.PushTag(), Reply::Yes);
        ASSERT_EQ(xml.NewChildTag("sub", "s1"), Reply::Yes);
        ASSERT_EQ(xml.NewTag("sub", "s2"), Reply::Yes);
        ASSERT_EQ(xml.PopTag(), Reply::Yes);
        ASSERT_EQ(xml.NewTag("item", "caf\xC3\xA9 \xE2\x82\xAC  5"), Reply::Yes);
        ASSERT_EQ(xml.SetAttrib("id", "2"), Reply::Yes);
        ASSERT_EQ(xml.NewTag("empty", ""), Reply::Yes);
    }

    fs::path m_dir;
};

TEST_F(DocumentTest, WritesTheGoldenFile)
{
    PirrowXml xml;
    WriteSample(xml, PathOf("out.xml"));
    EXPECT_EQ(xml.Close(), std::nullopt);
    EXPECT_EQ(ReadFile(PathOf("out.xml")), ReadFile(kData / "written.xml"));
    EXPECT_FALSE(xml.IsWriting());
}

TEST_F(DocumentTest, ReadsBackWhatItWrote)
{
    PirrowXml xml;
    WriteSample(xml, PathOf("out.xml"));
    ASSERT_EQ(xml.Close(), std::nullopt);

    ASSERT_EQ(xml.Read(PathOf("out.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("catalog"), Reply::Yes);
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "a&b <c>");
    EXPECT_EQ(xml.GetAttrib("id"), "1");
    EXPECT_EQ(xml.GetAttrib("note"), "say \"hi\" & 'bye'");
    ASSERT_EQ(xml.ChildTag("sub"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "s1");
    ASSERT_EQ(xml.NextTag("sub"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "s2");
    EXPECT_EQ(xml.NextTag("sub"), Reply::No);
    EXPECT_EQ(xml.GetValue(), "s2") << "a failed nexttag keeps the current node";

    ASSERT_EQ(xml.FirstTag("item"), Reply::No) << "searched among the children of the first item";
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes) << "no current node: searched under the root again";
    ASSERT_EQ(xml.NextTag("item"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "caf\xC3\xA9 \xE2\x82\xAC  5");
    EXPECT_EQ(xml.GetAttrib("id"), "2");
    // The current node stays: its parent, the root, is searched.
    ASSERT_EQ(xml.FirstTag("empty"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "");
}

// Every value written reads back as it was, blanks included: a text of blanks alone, which the reader
// would drop, and such a text beside a child element.
TEST_F(DocumentTest, ValuesOfBlanksReadBackAsWritten)
{
    const std::string values[] = {" ", "  ", "\t", " \t\n ", "  a  b ", "\ta\t", "a\nb", "]]>", "", "x"};
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("blanks.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    for (const std::string& value : values) {
        ASSERT_EQ(xml.NewTag("v", value), Reply::Yes);
        ASSERT_EQ(xml.SetAttrib("a", value), Reply::Yes);
    }
    ASSERT_EQ(xml.PushTag(), Reply::Yes);
    ASSERT_EQ(xml.NewChildTag("child", "  "), Reply::Yes);  // under the last v: text, then a child
    ASSERT_EQ(xml.PopTag(), Reply::Yes);
    ASSERT_EQ(xml.Close(), std::nullopt);

    ASSERT_EQ(xml.Read(PathOf("blanks.xml")), Reply::Yes) << ReadFile(PathOf("blanks.xml"));
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    bool first = true;
    for (const std::string& value : values) {
        ASSERT_EQ(first ? xml.FirstTag("v") : xml.NextTag("v"), Reply::Yes) << testing::PrintToString(value);
        first = false;
        EXPECT_EQ(xml.GetValue(), value) << testing::PrintToString(value);
        EXPECT_EQ(xml.GetAttrib("a"), value) << testing::PrintToString(value);
    }
    ASSERT_EQ(xml.ChildTag("child"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "  ");
}

TEST_F(DocumentTest, PushAndPopComeBackToTheSavedParent)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Read((kData / "catalog.xml").string()), Reply::Yes);
    ASSERT_EQ(xml.Root("catalog"), Reply::Yes);
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);
    ASSERT_EQ(xml.PushTag(), Reply::Yes);  // saves catalog, the parent of the first item
    ASSERT_EQ(xml.ChildTag("sub"), Reply::Yes);
    ASSERT_EQ(xml.PushTag(), Reply::Yes);  // saves the first item
    ASSERT_EQ(xml.NextTag("sub"), Reply::Yes);
    EXPECT_EQ(xml.GetAttrib("name"), "deux");

    ASSERT_EQ(xml.PopTag(), Reply::Yes);  // back to the first item: current node and parent
    EXPECT_EQ(xml.GetAttrib("id"), "1");
    ASSERT_EQ(xml.FirstTag("sub"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "s1");

    ASSERT_EQ(xml.PopTag(), Reply::Yes);  // back to catalog
    EXPECT_EQ(xml.GetAttrib("version"), "2");
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);
    ASSERT_EQ(xml.NextTag("item"), Reply::Yes);
    EXPECT_EQ(xml.GetAttrib("id"), "2");

    // An empty stack leaves no current node, and still answers 1.
    ASSERT_EQ(xml.PopTag(), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "");
    EXPECT_EQ(xml.GetAttrib("version"), "2") << "without a current node, attributes of the selected root";
    EXPECT_EQ(xml.ChildTag("item"), Reply::No);
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);
    EXPECT_EQ(xml.GetAttrib("id"), "1");
}

TEST_F(DocumentTest, ReadsAWindowsFileAsUtf8)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Read((kData / "catalog.xml").string()), Reply::Yes);
    ASSERT_EQ(xml.Root("catalog"), Reply::Yes);
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "first");
    ASSERT_EQ(xml.NextTag("item"), Reply::Yes);
    // 0xE9 and 0x80 as Windows-1252, and a reference beyond Latin-1 kept whole.
    EXPECT_EQ(xml.GetValue(), "caf\xC3\xA9 \xE2\x82\xAC \xE2\x82\xAC & <ok>");
    ASSERT_EQ(xml.NextTag("item"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "") << "an element without text";
    EXPECT_EQ(xml.NextTag("item"), Reply::No);
    EXPECT_EQ(xml.GetAttrib("id"), "3");
    EXPECT_EQ(xml.GetAttrib("missing"), "");
}

TEST_F(DocumentTest, FailedSearchesAnswerNo)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Read((kData / "catalog.xml").string()), Reply::Yes);
    EXPECT_EQ(xml.FirstTag("item"), Reply::No) << "no selected root yet";
    EXPECT_EQ(xml.Root("nothing"), Reply::No);
    EXPECT_EQ(xml.FirstTag("item"), Reply::No);
    ASSERT_EQ(xml.Root("catalog"), Reply::Yes);
    EXPECT_EQ(xml.FirstTag("nothing"), Reply::No);
    EXPECT_EQ(xml.GetValue(), "");
    EXPECT_EQ(xml.NextTag("item"), Reply::No) << "no current node";
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);
    EXPECT_EQ(xml.ChildTag("nothing"), Reply::No);
    EXPECT_EQ(xml.GetValue(), "") << "a failed childtag leaves no current node";
}

// What each command answers on the side it does not belong to, and with no document at all.
TEST_F(DocumentTest, WrongSideAnswers)
{
    struct Case {
        const char* command;
        Reply neither, reading, writing;
    };
    PirrowXml none;
    PirrowXml reading;
    ASSERT_EQ(reading.Read((kData / "catalog.xml").string()), Reply::Yes);
    PirrowXml writing;
    ASSERT_EQ(writing.Create(PathOf("w.xml")), Reply::Yes);  // no root: no current parent yet

    const auto run = [](PirrowXml& xml, const std::string& command) {
        if (command == "firsttag")
            return xml.FirstTag("item");
        if (command == "nexttag")
            return xml.NextTag("item");
        if (command == "childtag")
            return xml.ChildTag("item");
        if (command == "newtag")
            return xml.NewTag("item", "v");
        if (command == "newchildtag")
            return xml.NewChildTag("item", "v");
        if (command == "newcomment")
            return xml.NewComment("c");
        if (command == "setattrib")
            return xml.SetAttrib("id", "v");
        if (command == "pushtag")
            return xml.PushTag();
        return xml.PopTag();
    };
    const Case cases[] = {
        {"firsttag", Reply::Silent, Reply::No, Reply::Silent},
        {"nexttag", Reply::Silent, Reply::No, Reply::Silent},
        {"childtag", Reply::No, Reply::No, Reply::No},
        {"newtag", Reply::Silent, Reply::Silent, Reply::No},
        {"newchildtag", Reply::Silent, Reply::Silent, Reply::No},
        {"newcomment", Reply::Silent, Reply::Silent, Reply::No},
        {"setattrib", Reply::No, Reply::No, Reply::No},
        {"pushtag", Reply::No, Reply::Yes, Reply::No},
        {"poptag", Reply::No, Reply::Yes, Reply::No},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(none, c.command), c.neither) << c.command;
        EXPECT_EQ(run(reading, c.command), c.reading) << c.command;
        EXPECT_EQ(run(writing, c.command), c.writing) << c.command;
    }
    EXPECT_EQ(none.Root("catalog"), Reply::No);
    EXPECT_EQ(none.GetValue(), "");
    EXPECT_EQ(none.GetAttrib("id"), "");
    EXPECT_EQ(writing.GetValue(), "");
    EXPECT_EQ(writing.GetAttrib("id"), "");
    EXPECT_EQ(none.Close(), std::nullopt);
}

TEST_F(DocumentTest, CreateWhileReadingWritesOnlyTheNewDocument)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Read((kData / "catalog.xml").string()), Reply::Yes);
    ASSERT_EQ(xml.Root("catalog"), Reply::Yes);
    ASSERT_EQ(xml.FirstTag("item"), Reply::Yes);

    ASSERT_EQ(xml.Create(PathOf("new.xml")), Reply::Yes);
    EXPECT_FALSE(xml.IsReading());
    EXPECT_EQ(xml.FirstTag("item"), Reply::Silent) << "the read navigation is gone";
    EXPECT_EQ(xml.GetValue(), "");
    ASSERT_EQ(xml.Root("fresh"), Reply::Yes);
    ASSERT_EQ(xml.NewTag("a", "1"), Reply::Yes);
    ASSERT_EQ(xml.Close(), std::nullopt);
    EXPECT_EQ(ReadFile(PathOf("new.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<fresh>\n    <a>1</a>\n</fresh>\n");
}

TEST_F(DocumentTest, ReadDiscardsAnUnsavedDocument)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("never.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    ASSERT_EQ(xml.Read((kData / "catalog.xml").string()), Reply::Yes);
    EXPECT_FALSE(xml.IsWriting());
    EXPECT_EQ(xml.Close(), std::nullopt);
    EXPECT_FALSE(fs::exists(PathOf("never.xml")));
}

TEST_F(DocumentTest, ASaveThatFailsIsReportedAndLeavesNoFile)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("missing/out.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    const auto failure = xml.Close();
    ASSERT_TRUE(failure);
    EXPECT_EQ(*failure, "No such file or directory");
    EXPECT_FALSE(xml.IsWriting());

    // A folder in the way: refused, the folder untouched, no temporary file left beside it.
    fs::create_directory(PathOf("taken"));
    ASSERT_EQ(xml.Create(PathOf("taken")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    EXPECT_TRUE(xml.Close());
    EXPECT_TRUE(fs::is_directory(PathOf("taken")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(DocumentTest, ASaveReplacesTheFileAndKeepsItsPermissions)
{
    WriteFile(PathOf("out.xml"), "old content");
    ASSERT_EQ(chmod(PathOf("out.xml").c_str(), 0640), 0);
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("out.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    ASSERT_EQ(xml.Close(), std::nullopt);
    EXPECT_EQ(ReadFile(PathOf("out.xml")), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r />\n");
    struct stat info {};
    ASSERT_EQ(stat(PathOf("out.xml").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(DocumentTest, ASaveFollowsALinkAndTakesLongNames)
{
    WriteFile(PathOf("real.xml"), "old");
    fs::create_symlink("real.xml", PathOf("link.xml"));
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("link.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    ASSERT_EQ(xml.Close(), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(PathOf("link.xml")));
    EXPECT_EQ(ReadFile(PathOf("real.xml")), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r />\n");

    const std::string longName = std::string(250, 'n') + ".xml";  // the longest name a folder takes
    ASSERT_EQ(xml.Create(PathOf(longName)), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    EXPECT_EQ(xml.Close(), std::nullopt);
    EXPECT_TRUE(fs::exists(PathOf(longName)));
}

TEST_F(DocumentTest, FilesThatCannotBeReadAnswerNo)
{
    fs::create_directory(PathOf("folder"));
    WriteFile(PathOf("empty.xml"), "");
    WriteFile(PathOf("broken.xml"), "<a><b></a>");
    WriteFile(PathOf("zero.xml"), std::string("<a>\0</a>", 8));
    for (const char* name : {"missing.xml", "folder", "empty.xml", "broken.xml", "zero.xml"}) {
        PirrowXml xml;
        EXPECT_EQ(xml.Read(PathOf(name)), Reply::No) << name;
        EXPECT_FALSE(xml.IsReading()) << name;
        EXPECT_EQ(xml.Root("a"), Reply::No) << name;
    }
}

TEST_F(DocumentTest, NamesThatWouldBreakTheFileAreRefused)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("out.xml")), Reply::Yes);
    EXPECT_EQ(xml.Root("my root"), Reply::No);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    EXPECT_EQ(xml.NewTag("a<b", "v"), Reply::No);
    EXPECT_EQ(xml.SetAttrib("id", "v"), Reply::No) << "no element yet";
    ASSERT_EQ(xml.NewTag("\xC3\xA9l\xC3\xA9ment", "v"), Reply::Yes);
    EXPECT_EQ(xml.NewChildTag("1st", "v"), Reply::No);
    EXPECT_EQ(xml.SetAttrib("a b", "v"), Reply::No);
    EXPECT_EQ(xml.Render(),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r>\n    <\xE9l\xE9ment>v</\xE9l\xE9ment>\n</r>\n");
}

TEST_F(DocumentTest, ControlCharactersNeverReachTheFileRaw)
{
    PirrowXml xml;
    ASSERT_EQ(xml.Create(PathOf("out.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    ASSERT_EQ(xml.NewTag("t",
                         "a\x01"
                         "b\tc\x1B"),
              Reply::Yes);
    ASSERT_EQ(xml.SetAttrib("k", "\x02"), Reply::Yes);
    ASSERT_EQ(xml.NewComment("x\x03y"), Reply::Yes);
    ASSERT_EQ(xml.Close(), std::nullopt);
    const std::string bytes = ReadFile(PathOf("out.xml"));
    for (const char c : bytes) {
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << static_cast<int>(c);
    }
    ASSERT_EQ(xml.Read(PathOf("out.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    ASSERT_EQ(xml.FirstTag("t"), Reply::Yes);
    EXPECT_EQ(xml.GetValue(), "a\\x01b\tc\\x1B");
    EXPECT_EQ(xml.GetAttrib("k"), "\\x02");
}

TEST_F(DocumentTest, DeepNestingIsRefusedNotOverflowed)
{
    const auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "<a>";
        for (int i = 0; i < depth; ++i)
            text += "</a>";
        return text;
    };
    PirrowXml xml;
    EXPECT_EQ(xml.Load(nested(PirrowXml::kMaxDepth)), Reply::Yes);
    EXPECT_EQ(xml.Load(nested(PirrowXml::kMaxDepth + 1)), Reply::No);
    EXPECT_EQ(xml.Load(nested(1000000)), Reply::No);

    ASSERT_EQ(xml.Create(PathOf("deep.xml")), Reply::Yes);
    ASSERT_EQ(xml.Root("a"), Reply::Yes);
    ASSERT_EQ(xml.NewTag("a", ""), Reply::Yes);
    int levels = 2;
    while (xml.NewChildTag("a", "") == Reply::Yes) {
        ++levels;
    }
    EXPECT_EQ(levels, PirrowXml::kMaxDepth);
    ASSERT_EQ(xml.Close(), std::nullopt);
    EXPECT_EQ(xml.Read(PathOf("deep.xml")), Reply::Yes) << "what is written can be read";
}

// A file whose element has more attributes than the limit is unreadable, as any other; one at the
// limit is read whole, its last attribute found.
TEST_F(DocumentTest, AnElementWithTooManyAttributesIsRefused)
{
    const auto element = [](int attributes) {
        std::string text = "<r";
        for (int i = 0; i < attributes; ++i)
            text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
        return text + "/>";
    };
    PirrowXml xml;
    ASSERT_EQ(xml.Load(element(zov::xml::kMaxAttributesPerElement)), Reply::Yes);
    ASSERT_EQ(xml.Root("r"), Reply::Yes);
    EXPECT_EQ(xml.GetAttrib("a" + std::to_string(zov::xml::kMaxAttributesPerElement - 1)),
              std::to_string(zov::xml::kMaxAttributesPerElement - 1));
    EXPECT_EQ(xml.Load(element(zov::xml::kMaxAttributesPerElement + 1)), Reply::No);
    EXPECT_EQ(xml.Load(element(200000)), Reply::No);
}

}  // namespace
