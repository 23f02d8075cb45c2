// The dovrel program through its real process: every test feeds whole lines on standard input,
// in a temporary working folder, and compares standard output and standard error byte for byte.
#include "tests/cli/CliProcess.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;
using ProcessResult = zovtest::CliResult;

namespace {

const std::string kProgram = std::string(ZOV_BIN_DIR) + "/dovrel";
const std::string kBanner = "Dovrel 1.3\nZOV file access\n";
const std::string kNoFile = "@_Error [No open file]\n";

using zov::test::ReadFile;
using zov::test::WriteFile;

// n markers, as n answered lines leave them (the first one answers the start).
std::string Markers(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += ">>";
    return text;
}

class DovrelProcessTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(access(kProgram.c_str(), X_OK), 0) << kProgram << " is not built";
        char pattern[] = "/tmp/dovrel-process-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Dir = pattern;
    }
    void TearDown() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(m_Dir)) {
            if (!entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(m_Dir);
    }
    ProcessResult Run(const std::string& input, const std::vector<std::string>& args = {}) const
    {
        ProcessResult result = zovtest::RunCli(kProgram, args, input, m_Dir.string());
        EXPECT_FALSE(result.timedOut);
        return result;
    }
    std::string P(const std::string& name) const { return (m_Dir / name).string(); }

    fs::path m_Dir;
};

}  // namespace

TEST_F(DovrelProcessTest, BannerVersionAndExit)
{
    const ProcessResult r = Run("ver\nexit\nver\n");
    EXPECT_EQ(r.out, kBanner + "Version : 1.3\n");
    EXPECT_EQ(r.err, Markers(2)) << "exit answers with no marker and ends the program";
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(DovrelProcessTest, HelpListsBuiltInsThenFileCommandsAligned)
{
    const ProcessResult r = Run("help\n");
    EXPECT_EQ(r.out, kBanner + R"( 
 help      View this screen
 exit      Exit the program
 cls       Clear the screen
 ver       View the version
 open      Open text file
 openbin   Open binary file
 create    Create text file
 createbin Create binary file
 eof       Test if end of then current file
 filesize  Get size of file
 readline  Read line of text
 read      Read data ofthe active file
 writeline Write line of text
 write     Write data
 seekbegin Seek file at the beginning
 seekend   Seek file at the end
 seek      Seek file at position
 tell      Get current seek position
 close     Close current active file
 exist     Check if the file exist
 erase     Erase file
 rename    Rename file name
 copy      Copy a file
 findfile  Find all the files in path according to a mask
 finddir   Find all the subpath in a path
 createdir Create path and subpath

)");
    EXPECT_EQ(r.err, Markers(2));
}

TEST_F(DovrelProcessTest, HelpOfOneCommand)
{
    const struct {
        const char* line;
        const char* out;
    } cases[] = {
        {"read -help",
         "read : Read data ofthe active file\n\n read  -size (unsigned long)\n\n -size  Size of data\n\n"},
        {"write /?",
         "write : Write data\n\n write  -buf (string) -size (unsigned long)\n\n -buf   data buffer\n -size  Size of "
         "data\n\n"},
        {"rename -help",
         "rename : Rename file name\n\n rename  -old (string) -new (string)\n\n -old  Old file name\n -new  New file "
         "name\n\n"},
        {"seek /?", "seek : Seek file at position\n\n seek  -pos (long)\n\n -pos  Seek position\n\n"},
        {"eof /?", "eof : Test if end of then current file\n\n eof \n\n"},
        {"FindDir -help",
         "finddir : Find all the subpath in a path\n\n finddir  -path (string)\n\n -path  Finding path\n\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult r = Run(std::string(c.line) + "\n");
        EXPECT_EQ(r.out, kBanner + c.out) << c.line;
        EXPECT_EQ(r.err, Markers(2)) << c.line;
    }
}

TEST_F(DovrelProcessTest, UnknownCommandsAndWrongParameters)
{
    const ProcessResult r =
        Run("delete -file x\nopen\nopen -name x\nread -HELP\nrename -old a -old b\ncopy -src a\n\n");
    EXPECT_EQ(r.out, kBanner);
    EXPECT_EQ(r.err,
              ">>Command not found !\n>>Wrong parameters!\n>>Wrong parameters!\n>>Wrong parameters!\n>>"
              "Wrong parameters!\n>>Wrong parameters!\n>>>>");
    EXPECT_EQ(r.exitCode, 0) << "the end of input ends the program";
}

TEST_F(DovrelProcessTest, PiecesOnTheCommandLineRunBeforeInput)
{
    const ProcessResult r =
        Run("exist -file made/deeper\n", {"createdir", "-path", "made/deeper|exist", "-file", "made|ver"});
    EXPECT_EQ(r.out, kBanner + "\n" + "1\n" + "0\n" + "Version : 1.3\n" + "0\n");
    EXPECT_EQ(r.err, Markers(5));
    EXPECT_TRUE(fs::is_directory(P("made/deeper")));
}

TEST_F(DovrelProcessTest, TextRoundTrip)
{
    const ProcessResult r =
        Run("create -file \"notes file.txt\"\n"
            "writeline -buf \"first line\\nsecond\\tcolumn\"\n"
            "writeline -buf C:\\data\\x\n"
            "writeline -buf \"\"\n"
            "writeline -buf\n"
            "close\n"
            "open -file \"notes file.txt\"\n"
            "readline\nreadline\nreadline\n"
            "eof\n"
            "readline\n"
            "eof\n"
            "close\n"
            "eof\n");
    EXPECT_EQ(ReadFile(P("notes file.txt")), "first line\r\nsecond\tcolumn\r\nC:\\data\\x\r\n");
    EXPECT_EQ(r.out, kBanner + "1\n" + "1\n" + "first line\n" + "second\tcolumn\n" + "C:\\data\\x\n" + "0\n" + "1\n");
    EXPECT_EQ(r.err,
              Markers(4) + "@_Error [Empty data]\n>>" + "@_Error [Empty data]\n>>" + Markers(9) + kNoFile + ">>");
}

// A line longer than the write buffer is refused whole, never written cut; the longest that fits
// is written as it is.
TEST_F(DovrelProcessTest, LineLongerThanTheBufferIsRefusedNotCut)
{
    const std::string longest(8195, 'a');
    const ProcessResult r =
        Run("create -file long.txt\nwriteline -buf " + longest + "b\nwriteline -buf " + longest + "\nclose\n");
    EXPECT_EQ(ReadFile(P("long.txt")), longest + "\r\n");
    EXPECT_EQ(r.out, kBanner + "1\n");
    EXPECT_EQ(r.err, Markers(2) + "Wrong parameters!\n>>" + Markers(2));
}

TEST_F(DovrelProcessTest, BinaryRoundTripSeekTellAndSize)
{
    const ProcessResult r =
        Run("createbin -file data.bin\n"
            "write -buf 00FF0d0a411A -size 6\n"
            "close\n"
            "openbin -file data.bin\n"
            "read -size 2\n"
            "read -size 8196\n"
            "read -size 1\n"
            "eof\n"
            "read -size 8197\n"
            "seek -pos 1\n"
            "tell\n"
            "filesize\n"
            "tell\n"
            "read -size 0\n"
            "seekend\n"
            "tell\n"
            "seekbegin\n"
            "eof\n"
            "tell\n"
            "write -buf \"\" -size 0\n");
    EXPECT_EQ(ReadFile(P("data.bin")), std::string("\x00\xff\r\nA\x1a", 6));
    EXPECT_EQ(r.out, kBanner + "1\n" + "1\n" + "00ff\n" + "0d0a411a\n" + "0\n" + "1\n" + "1" + "6" + "1" + "0\n" + "6" +
                         "0\n" + "0");
    EXPECT_EQ(r.err, Markers(9) + "@_Error [Buffer to small]\n>>" + Markers(10) + "@_Error [Empty data]\n>>");
}

TEST_F(DovrelProcessTest, EveryFileCommandWithoutFileReportsIt)
{
    const char* lines[] = {
        "eof",       "filesize", "readline",    "read -size 1", "writeline -buf x", "write -buf 00 -size 1",
        "seekbegin", "seekend",  "seek -pos 0", "tell"};
    std::string input = "openbin -file missing\n";
    std::string err = Markers(2);
    for (const char* line : lines) {
        input += std::string(line) + "\n";
        err += kNoFile + ">>";
    }
    input += "close\n";
    err += ">>";
    const ProcessResult r = Run(input);
    EXPECT_EQ(r.out, kBanner + "0\n");
    EXPECT_EQ(r.err, err);
}

TEST_F(DovrelProcessTest, OpeningAnotherFileClosesTheCurrentOne)
{
    const ProcessResult r =
        Run("create -file a.txt\nwriteline -buf alpha\ncreate -file b.txt\nopen -file a.txt\nreadline\n");
    EXPECT_EQ(r.out, kBanner + "1\n1\n1\nalpha\n");
    EXPECT_EQ(r.err, Markers(6));
}

TEST_F(DovrelProcessTest, EndOfInputClosesTheFile)
{
    const ProcessResult r = Run("create -file last.txt\nwriteline -buf kept\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(ReadFile(P("last.txt")), "kept\r\n");
}

TEST_F(DovrelProcessTest, ExistEraseRenameCopy)
{
    WriteFile(P("src.txt"), "payload");
    WriteFile(P("taken.txt"), "other");
    fs::create_directory(P("folder"));
    const ProcessResult r =
        Run("exist -file src.txt\n"
            "exist -file folder\n"
            "exist -file none\n"
            "copy -src src.txt -dst taken.txt\n"
            "COPY -SRC src.txt -DST copy.txt\n"
            "rename -old copy.txt -new taken.txt\n"
            "rename -old copy.txt -new moved.txt\n"
            "rename -old copy.txt -new moved2.txt\n"
            "erase -file folder\n"
            "erase -file moved.txt\n"
            "erase -file moved.txt\n");
    EXPECT_EQ(r.out, kBanner + "1\n0\n0\n" + "0\n1\n0\n" + "0\n1\n0\n");
    EXPECT_EQ(r.err, Markers(12));
    EXPECT_EQ(ReadFile(P("taken.txt")), "payload");
    EXPECT_TRUE(fs::is_directory(P("folder")));
    EXPECT_FALSE(fs::exists(P("moved.txt")));
}

// Names longer than 128 bytes and bytes above 0x7F reach the file system whole.
TEST_F(DovrelProcessTest, LongAndAccentedPaths)
{
    std::string deep = "r\xC3\xA9sultats";
    for (int i = 0; i < 8; ++i)
        deep += "/dossier_au_nom_plut\xC3\xB4t_long_" + std::to_string(i);
    ASSERT_GT(deep.size(), 200u);
    const std::string file = deep +
                             "/donn\xC3\xA9"
                             "es.txt";
    const ProcessResult r =
        Run("createdir -path " + deep + "\ncreate -file " + file + "\nwriteline -buf \xC3\xA9t\xC3\xA9\n" +
            "close\ncopy -src " + file + " -dst " + file + ".bak\nexist -file " + file + ".bak\n");
    EXPECT_EQ(r.out, kBanner + "1\n1\n1\n");
    EXPECT_EQ(r.err, Markers(7));
    EXPECT_EQ(ReadFile(m_Dir / (file + ".bak")), "\xC3\xA9t\xC3\xA9\r\n");
}

TEST_F(DovrelProcessTest, FindFileAndFindDirListSortedPlainEntriesAndMoveThere)
{
    fs::create_directory(P("in"));
    for (const char* name : {"b.txt", "A.txt", "c.log", ".hidden.txt", "ro.txt"})
        WriteFile(P(std::string("in/") + name), name);
    fs::permissions(P("in/ro.txt"), fs::perms::owner_read);
    fs::create_symlink(P("in/b.txt"), P("in/link.txt"));
    for (const char* name : {"in/sub", "in/Other", "in/.cache", "in/locked"})
        fs::create_directory(P(name));
    fs::permissions(P("in/locked"), fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_directory_symlink(P("in/sub"), P("in/sublink"));

    const ProcessResult r =
        Run("findfile -path nowhere -mask *.*\n"
            "findfile -path in -mask *.*\n"
            "findfile -path . -mask *.TXT\n"
            "findfile -path . -mask ?.log\n"
            "findfile -path . -mask *.csv\n"
            "open -file A.txt\n"
            "readline\n"
            "finddir -path .\n"
            "finddir -path sub\n");
    EXPECT_EQ(r.out, kBanner + "\n" + "A.txt|b.txt|c.log\n" + "A.txt|b.txt\n" + "c.log\n" + "\n" + "1\n" + "A.txt" +
                         "Other|sub\n" + "\n");
    EXPECT_EQ(r.err, Markers(10));
}

TEST_F(DovrelProcessTest, CreateDirIsTheSameWhetherTheFolderExistedOrNot)
{
    WriteFile(P("plain"), "x");
    const ProcessResult r =
        Run("createdir -path a/b/c\ncreatedir -path a/b/c\ncreatedir -path a\ncreatedir -path plain\n"
            "createdir -path plain/x\ncreatedir -path \"with blank/inner\"\n");
    EXPECT_EQ(r.out, kBanner + "1\n1\n1\n0\n0\n1\n");
    EXPECT_EQ(r.err, Markers(7));
    EXPECT_TRUE(fs::is_directory(P("a/b/c")));
    EXPECT_TRUE(fs::is_directory(P("with blank/inner")));
}

// Scripts written on Windows separate folders with "\\": every path switch takes it as "/" does.
TEST_F(DovrelProcessTest, BackslashSeparatesFolders)
{
    const ProcessResult r =
        Run("createdir -path x1\\y1\n"
            "create -file \"x1\\y1\\a b.txt\"\nwriteline -buf one\nclose\n"
            "open -file \"x1\\y1\\a b.txt\"\nreadline\nclose\n"
            "exist -file x1\\y1\\a\n"
            "copy -src \"x1\\y1\\a b.txt\" -dst x1\\c.txt\n"
            "rename -old x1\\c.txt -new x1\\d.txt\n"
            "finddir -path x1\n"
            "erase -file ..\\x1\\d.txt\n");
    EXPECT_EQ(r.out, kBanner + "1\n1\n1\none\n0\n1\ny1\n1\n");
    EXPECT_TRUE(fs::is_directory(P("x1/y1")));
    EXPECT_FALSE(fs::exists(P("x1\\y1")));
    EXPECT_EQ(ReadFile(P("x1/y1/a b.txt")), "one\r\n");
    EXPECT_FALSE(fs::exists(P("x1/d.txt")));
}

// Hex data with anything but hex digits is refused whole (the file keeps what it had) instead
// of being written as zeros; a seek before the start is refused and the position stays.
TEST_F(DovrelProcessTest, BadHexAndNegativeSeekAreRefusedNotGuessed)
{
    const ProcessResult r =
        Run("createbin -file data.bin\n"
            "write -buf 4142 -size 2\n"
            "write -buf zz41 -size 2\n"
            "write -buf \"43 44\" -size 2\n"
            "write -buf 0x45 -size 1\n"
            "write -buf 4G -size 1\n"
            "seek -pos 1\n"
            "seek -pos -1\n"
            "tell\n"
            "write -buf 5a -size 1\n"
            "seek -pos 4\n"
            "write -buf 59 -size 1\n"
            "close\n");
    EXPECT_EQ(ReadFile(P("data.bin")), std::string("AZ\0\0Y", 5));
    EXPECT_EQ(r.out, kBanner + "1\n" + "1");
    const std::string refused = "Wrong parameters!\n>>";
    EXPECT_EQ(r.err, Markers(3) + refused + refused + refused + refused + ">>" + refused + Markers(5));
}

// Reading a file opened for writing, or writing one opened for reading, reports the failure
// instead of answering as if at the end of the file, or as if written.
TEST_F(DovrelProcessTest, ReadsAndWritesOnTheWrongSideReportTheFailure)
{
    WriteFile(P("in.txt"), "kept\r\n");
    const ProcessResult r =
        Run("open -file in.txt\n"
            "writeline -buf lost\n"
            "write -buf 41 -size 1\n"
            "readline\n"
            "create -file out.txt\n"
            "readline\n"
            "read -size 4\n"
            "writeline -buf written\n");
    EXPECT_EQ(ReadFile(P("in.txt")), "kept\r\n");
    EXPECT_EQ(ReadFile(P("out.txt")), "written\r\n");
    EXPECT_EQ(r.out, kBanner + "1\n" + "kept\n" + "1\n");
    EXPECT_EQ(r.err, Markers(2) + "@_Error [Write failed]\n>>" + "@_Error [Write failed]\n>>" + Markers(2) +
                         "@_Error [Read failed]\n>>" + "@_Error [Read failed]\n>>" + ">>");
}

// copy answers nothing on standard output, but a copy that did not happen says so on standard
// error; the destination is left as it was.
TEST_F(DovrelProcessTest, CopyThatDidNotHappenIsReported)
{
    WriteFile(P("src.txt"), "payload");
    WriteFile(P("locked.txt"), "old");
    fs::permissions(P("locked.txt"), fs::perms::owner_read);
    fs::create_directory(P("folder"));
    const ProcessResult r =
        Run("copy -src missing.txt -dst new.txt\n"
            "copy -src src.txt -dst locked.txt\n"
            "copy -src src.txt -dst folder\n"
            "copy -src folder -dst new.txt\n"
            "copy -src src.txt -dst src.txt\n"
            "copy -src src.txt -dst new.txt\n");
    const std::string failed = "@_Error [Copy failed]\n>>";
    EXPECT_EQ(r.out, kBanner);
    EXPECT_EQ(r.err, Markers(1) + failed + failed + failed + failed + Markers(2));
    EXPECT_EQ(ReadFile(P("locked.txt")), "old");
    EXPECT_EQ(ReadFile(P("src.txt")), "payload");
    EXPECT_EQ(ReadFile(P("new.txt")), "payload");
}
