// The pirrow program through its real process: standard output and standard error byte for byte.
#include "tests/cli/CliProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using zovtest::BinPath;
using zovtest::RunCli;

const std::string kBanner = "Pirrow 0.7\nZOV test bench - XML files\n";
const fs::path kData = fs::path(ZOV_SOURCE_DIR) / "tests/pirrow/data";

std::string Markers(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += ">>";
    }
    return text;
}

std::string Slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PirrowProcess : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "pirrow-proc-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { fs::remove_all(m_dir); }

    zovtest::CliResult Run(const std::string& input, const std::vector<std::string>& args = {})
    {
        return RunCli(BinPath("pirrow"), args, input, m_dir.string());
    }

    fs::path m_dir;
};

TEST_F(PirrowProcess, BannerMarkerAndVersion)
{
    const auto result = Run("ver\n");
    EXPECT_EQ(result.out, kBanner + "Version : 0.7\n");
    EXPECT_EQ(result.err, Markers(2));
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(PirrowProcess, HelpListsTheCommandsAligned)
{
    const auto result = Run("help\nexit\nver\n");
    EXPECT_EQ(result.out, kBanner +
                              " \n"
                              " help        View this screen\n"
                              " exit        Exit the program\n"
                              " cls         Clear the screen\n"
                              " ver         View the version\n"
                              " read        Read XML file\n"
                              " create      Create XML file\n"
                              " close       Close XML file\n"
                              " root        Select 'root' tag\n"
                              " firsttag    Select first tag\n"
                              " newtag      Create a new tag\n"
                              " newcomment  Create a new comment\n"
                              " newchildtag Create a new child tag\n"
                              " childtag    Select child tag\n"
                              " pushtag     Push current tag\n"
                              " poptag      Pop last tag\n"
                              " nexttag     Select next tag\n"
                              " getvalue    Read tag value\n"
                              " getattrib   Read attribute value\n"
                              " setattrib   Set attribute value\n"
                              "\n");
    EXPECT_EQ(result.err, Markers(2)) << "exit writes no marker and ends before ver";
    EXPECT_EQ(result.exitCode, 0);
}

TEST_F(PirrowProcess, CommandHelpWithAndWithoutSwitches)
{
    const auto result = Run("newtag -help\nclose /?\nnewcomment /?\n");
    EXPECT_EQ(result.out, kBanner +
                              "newtag : Create a new tag\n"
                              "\n newtag  -name (string) -val (string)\n"
                              "\n"
                              " -name  Tag name\n"
                              " -val   Tag value\n"
                              "\n"
                              "close : Close XML file\n"
                              "\n close \n"
                              "\n"
                              "newcomment : Create a new comment\n"
                              "\n newcomment  -txt (string)\n"
                              "\n"
                              " -txt  Comment test\n"
                              "\n");
    EXPECT_EQ(result.err, Markers(4));
}

TEST_F(PirrowProcess, UnknownCommandAndWrongParameters)
{
    const auto result = Run("open -file a.xml\nnewtag -name a\n\n");
    EXPECT_EQ(result.out, kBanner);
    EXPECT_EQ(result.err, ">>Command not found !\n>>Wrong parameters!\n>>>>");
}

TEST_F(PirrowProcess, WritesThenReadsADocument)
{
    const auto written =
        Run("create -file out.xml\n"
            "root -name catalog\n"
            "newcomment -txt \"made by a test -- twice-\"\n"
            "newtag -name item -val \"a&b <c>\"\n"
            "setattrib -name id -val 1\n"
            "setattrib -name note -val \"say 'bye' & <go>\"\n"
            "pushtag\n"
            "newchildtag -name sub -val s1\n"
            "newtag -name sub -val s2\n"
            "poptag\n"
            "newtag -name item -val \"caf\xC3\xA9 \xE2\x82\xAC  5\"\n"
            "setattrib -name id -val 2\n"
            "close\n");
    EXPECT_EQ(written.out, kBanner + "1\n1\n1\n1\n1\n1\n1\n1\n1\n1\n1\n1\n");
    EXPECT_EQ(written.err, Markers(14));
    EXPECT_EQ(Slurp(m_dir / "out.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n"
              "<catalog>\n"
              "    <!--made by a test - - twice- -->\n"
              "    <item id=\"1\" note=\"say &apos;bye&apos; &amp; &lt;go&gt;\">a&amp;b &lt;c&gt;\n"
              "        <sub>s1</sub>\n"
              "        <sub>s2</sub>\n"
              "    </item>\n"
              "    <item id=\"2\">caf\xE9 &#x20AC; &#x20;5</item>\n"
              "</catalog>\n");

    const auto read =
        Run("read -file out.xml\n"
            "root -name catalog\n"
            "getattrib -name id\n"
            "firsttag -name item\n"
            "getvalue\n"
            "getattrib -name note\n"
            "pushtag\n"
            "childtag -name sub\n"
            "getvalue\n"
            "nexttag\n"
            "getvalue\n"
            "nexttag\n"
            "getvalue\n"
            "poptag\n"
            "firsttag -name item\n"
            "nexttag\n"
            "getvalue\n"
            "getattrib -name id\n"
            "nexttag\n"
            "close\n"
            "getvalue\n");
    EXPECT_EQ(read.out, kBanner +
                            "1\n"                            // read
                            "1\n"                            // root
                            "\n"                             // the root has no id
                            "1\n"                            // firsttag item
                            "a&b <c>\n"                      // getvalue
                            "say 'bye' & <go>\n"             // getattrib note
                            "1\n"                            // pushtag: saves catalog
                            "1\n"                            // childtag sub
                            "s1\n"                           //
                            "1\n"                            // nexttag: the second sub
                            "s2\n"                           //
                            "0\n"                            // nexttag: no third sub
                            "s2\n"                           // the current node stays
                            "1\n"                            // poptag: back at catalog
                            "1\n"                            // firsttag item
                            "1\n"                            // nexttag item
                            "caf\xC3\xA9 \xE2\x82\xAC  5\n"  // as written, in UTF-8
                            "2\n"                            //
                            "0\n"                            // no third item
                            "\n");                           // closed: no current element
    EXPECT_EQ(read.err, Markers(22));
}

TEST_F(PirrowProcess, WrongSideCommands)
{
    fs::copy_file(kData / "catalog.xml", m_dir / "in.xml");
    // Reading: the writing commands are silent except setattrib; writing: the reading ones.
    const auto result =
        Run("read -file in.xml\n"
            "newtag -name a -val b\n"
            "newchildtag -name a -val b\n"
            "newcomment -txt c\n"
            "setattrib -name a -val b\n"
            "create -file out.xml\n"
            "root -name r\n"
            "firsttag -name a\n"
            "nexttag\n"
            "childtag -name a\n"
            "getvalue\n"
            "getattrib -name a\n"
            "close\n"
            "root -name r\n"
            "pushtag\n"
            "poptag\n");
    EXPECT_EQ(result.out, kBanner +
                              "1\n"    // read
                              "0\n"    // setattrib: no element written
                              "1\n"    // create
                              "1\n"    // root
                              "0\n"    // childtag
                              "\n"     // getvalue
                              "\n"     // getattrib
                              "0\n"    // root with no document
                              "0\n"    // pushtag
                              "0\n");  // poptag
    EXPECT_EQ(result.err, Markers(17));
    EXPECT_EQ(Slurp(m_dir / "out.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r />\n")
        << "nothing of the document read reaches the new file";
}

// A comment holds at most 63 bytes; a longer one is refused whole instead of being cut.
TEST_F(PirrowProcess, CommentOfMoreThan63BytesIsRefused)
{
    const std::string fits(63, 'c');
    const std::string accented = std::string(62, 'd') + "\xC3\xA9";  // 64 bytes as typed
    const auto result = Run("create -file out.xml\nroot -name r\nnewcomment -txt " + fits + "x" + "\nnewcomment -txt " +
                            accented + "\nnewcomment -txt " + fits + "\nclose\n");
    EXPECT_EQ(result.out, kBanner + "1\n1\n1\n");
    EXPECT_EQ(result.err, ">>>>>>Wrong parameters!\n>>Wrong parameters!\n>>>>>>");
    EXPECT_EQ(Slurp(m_dir / "out.xml"),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r>\n    <!--" + fits + "-->\n</r>\n");
}

TEST_F(PirrowProcess, AFailedSaveIsReportedOnStandardError)
{
    const auto result = Run("create -file missing/out.xml\nroot -name r\nclose\nver\n");
    EXPECT_EQ(result.out, kBanner + "1\n1\nVersion : 0.7\n");
    EXPECT_EQ(result.err, ">>>>>>Cannot save XML file missing/out.xml: No such file or directory\n>>>>");
    EXPECT_FALSE(fs::exists(m_dir / "missing"));
}

TEST_F(PirrowProcess, OnlyCloseSavesTheDocument)
{
    const auto exited = Run("create -file exit.xml\nroot -name r\nexit\n");
    EXPECT_EQ(exited.out, kBanner + "1\n1\n");
    EXPECT_EQ(exited.err, Markers(3));
    EXPECT_EQ(exited.exitCode, 0);
    const auto ended = Run("create -file end.xml\nroot -name r\n");
    EXPECT_EQ(ended.exitCode, 0);
    EXPECT_FALSE(fs::exists(m_dir / "exit.xml"));
    EXPECT_FALSE(fs::exists(m_dir / "end.xml"));
}

TEST_F(PirrowProcess, ArgumentsArePiecesOfTheirOwn)
{
    fs::copy_file(kData / "catalog.xml", m_dir / "in.xml");
    const auto result =
        Run("getvalue\n", {"read", "-file", "in.xml|root", "-name", "catalog|firsttag", "-name", "item|getvalue"});
    EXPECT_EQ(result.out, kBanner + "\n1\n1\n1\nfirst\nfirst\n");
    EXPECT_EQ(result.err, Markers(6));
}

TEST_F(PirrowProcess, ReadingAMissingOrBrokenFileAnswersZero)
{
    std::ofstream(m_dir / "broken.xml") << "<a><b></a>";
    const auto result = Run("read -file missing.xml\nread -file broken.xml\nroot -name a\n");
    EXPECT_EQ(result.out, kBanner + "0\n0\n0\n");
    EXPECT_EQ(result.err, Markers(4));
}

}  // namespace

namespace {

// A file with '&' that start no reference the parser knows, and a document type with an internal
// subset: every value reads as the file holds it, and the root after the subset is found.
TEST_F(PirrowProcess, LooseAmpersandsAndAnInternalSubsetLoseNothing)
{
    fs::copy_file(kData / "loose_ampersands.xml", m_dir / "in.xml");
    const auto result =
        Run("read -file in.xml\nroot -name bench\n"
            "getattrib -name site\ngetattrib -name plain\ngetattrib -name quoted\n"
            "firsttag -name unit\ngetvalue\nnexttag\ngetvalue\nnexttag\ngetvalue\nnexttag\ngetvalue\n"
            "nexttag\n");
    EXPECT_EQ(result.out, kBanner +
                              "1\n1\n"
                              "R&D\n"
                              "R&D\n"
                              "x & y\n"
                              "1\nAT&T\n"
                              "1\na & b < A\xC3\xA9\n"
                              "1\nx&amp;y\n"  // CDATA: as it stands
                              "1\n&maker;\n"  // a declared entity is not expanded, but kept
                              "0\n");
    EXPECT_EQ(result.err, Markers(15));
}

// A value that fills its buffer exactly keeps its last byte, even one that is no complete UTF-8
// sequence (a Windows-1252 letter typed as one byte).
TEST_F(PirrowProcess, AValueThatFillsItsBufferKeepsItsLastByte)
{
    const std::string comment = std::string(62, 'c') + "\xE9";
    const std::string value = std::string(4094, 'v') + "\xE9";
    const auto result = Run("create -file out.xml\nroot -name r\nnewcomment -txt " + comment +
                            "\nnewtag -name t -val " + value + "\nclose\n");
    EXPECT_EQ(result.out, kBanner + "1\n1\n1\n1\n");
    EXPECT_EQ(result.err, Markers(6));
    EXPECT_EQ(Slurp(m_dir / "out.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<r>\n    <!--" + comment +
                                            "-->\n    <t>" + value + "</t>\n</r>\n");
}

}  // namespace
