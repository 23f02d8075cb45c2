// Dovrel's file operations without the command table, in a temporary folder per test.
#include "DovrelFiles.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>

namespace fs = std::filesystem;
using dovrel::CDovrelFiles;
using dovrel::OpenMode;

namespace {

using zov::test::ReadFile;
using zov::test::WriteFile;

int OpenDescriptors()
{
    int count = 0;
    DIR* folder = opendir("/proc/self/fd");
    while (readdir(folder) != nullptr)
        ++count;
    closedir(folder);
    return count;
}

class DovrelFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_SavedDir = fs::current_path();
        char pattern[] = "/tmp/dovrel-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_Dir = pattern;
    }
    void TearDown() override
    {
        fs::current_path(m_SavedDir);
        // Read-only folders made by a test must not keep the clean-up from removing them.
        for (const auto& entry : fs::recursive_directory_iterator(m_Dir)) {
            if (!entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        }
        fs::remove_all(m_Dir);
    }
    std::string P(const std::string& name) const { return (m_Dir / name).string(); }

    fs::path m_SavedDir;
    fs::path m_Dir;
    CDovrelFiles m_Files;
};

}  // namespace

TEST(DovrelText, UnescapeTurnsBackslashNRTIntoControlsAndKeepsOtherBackslashes)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {R"(a\nb)", "a\nb"},    {R"(\r\n)", "\r\n"}, {R"(x\ty)", "x\ty"}, {R"(c:\data)", R"(c:\data)"},
        {R"(end\)", R"(end\)"}, {R"(\\n)", "\\\n"},  {R"(\N)", R"(\N)"},  {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dovrel::Unescape(c.in), c.out) << c.in;
}

TEST(DovrelText, HexBothWays)
{
    EXPECT_EQ(dovrel::BytesToHex(std::string("\x00\x7f\x80\xff\n", 5)), "007f80ff0a");
    const struct {
        const char* in;
        std::string out;
    } cases[] = {
        {"00ff7F", std::string("\x00\xff\x7f", 3)},
        {"abc", "\xab"},  // odd last digit ignored
        {"zz41", std::string("\x00"
                             "A",
                             2)},  // a non-digit counts as 0
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dovrel::HexToBytes(c.in), c.out) << c.in;
}

TEST(DovrelText, MaskMatching)
{
    const struct {
        const char* mask;
        const char* name;
        bool match;
    } cases[] = {
        {"*.*", "README", true},
        {"*.*", "a.b.c", true},
        {"*", "x", true},
        {"*.txt", "a.txt", true},
        {"*.TXT", "a.txt", true},
        {"*.txt", "a.txt.bak", false},
        {"?.log", "c.log", true},
        {"?.log", "cc.log", false},
        {"a*b*c", "aXbYbZc", true},
        {"a*b", "ab", true},
        {"[ab].txt", "[ab].txt", true},
        {"[ab].txt", "a.txt", false},
        {"", "a", false},
        {"data_??.csv", "data_07.csv", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dovrel::MatchMask(c.mask, c.name), c.match) << c.mask << " ~ " << c.name;
}

TEST_F(DovrelFilesTest, TextRoundTripKeepsCrLfOnDiskAndLfForTheScript)
{
    EXPECT_EQ(m_Files.Open(P("t.txt"), OpenMode::WriteText).out, "1\n");
    EXPECT_EQ(m_Files.WriteLine(R"(a\tb\nc)").out, "");
    EXPECT_EQ(m_Files.WriteLine(R"(path c:\x)").out, "");
    // Each write is on disk before the file is closed.
    EXPECT_EQ(ReadFile(P("t.txt")), "a\tb\r\nc\r\npath c:\\x\r\n");
    m_Files.Close();

    EXPECT_EQ(m_Files.Open(P("t.txt"), OpenMode::ReadText).out, "1\n");
    EXPECT_EQ(m_Files.ReadLine().out, "a\tb\n");
    EXPECT_EQ(m_Files.ReadLine().out, "c\n");
    EXPECT_EQ(m_Files.ReadLine().out, "path c:\\x\n");
    EXPECT_EQ(m_Files.Eof().out, "0\n") << "the last line was read, but no read hit the end yet";
    EXPECT_EQ(m_Files.ReadLine().out, "");
    EXPECT_EQ(m_Files.Eof().out, "1\n");
}

TEST_F(DovrelFilesTest, HexDataThroughATextFileGetsItsLineEndsTranslated)
{
    ASSERT_EQ(m_Files.Open(P("t.txt"), OpenMode::WriteText).out, "1\n");
    m_Files.Write("410a420d0a");
    EXPECT_EQ(ReadFile(P("t.txt")), "A\r\nB\r\r\n");
    ASSERT_EQ(m_Files.Open(P("t.txt"), OpenMode::ReadText).out, "1\n");
    EXPECT_EQ(m_Files.Read(100).out, "410a420d0a\n");
    ASSERT_EQ(m_Files.Open(P("t.txt"), OpenMode::ReadBinary).out, "1\n");
    EXPECT_EQ(m_Files.Read(100).out, "410d0a420d0d0a\n");
}

TEST_F(DovrelFilesTest, TextReadTakesCrLfAndLfAndKeepsALoneCr)
{
    WriteFile(P("mixed.txt"), "dos\r\nunix\nold\rmac\r");
    ASSERT_EQ(m_Files.Open(P("mixed.txt"), OpenMode::ReadText).out, "1\n");
    EXPECT_EQ(m_Files.ReadLine().out, "dos\n");
    EXPECT_EQ(m_Files.ReadLine().out, "unix\n");
    EXPECT_EQ(m_Files.ReadLine().out, "old\rmac\r");
    EXPECT_EQ(m_Files.Eof().out, "1\n") << "a last line without line end hits the end";
}

TEST_F(DovrelFilesTest, BinaryRoundTripIsByteExact)
{
    ASSERT_EQ(m_Files.Open(P("b.bin"), OpenMode::WriteBinary).out, "1\n");
    EXPECT_EQ(m_Files.Write("00FF0a0d1a41").err, "");
    EXPECT_EQ(m_Files.Write("7").err, "") << "a lone digit writes nothing";
    EXPECT_EQ(ReadFile(P("b.bin")), std::string("\x00\xff\n\r\x1a"
                                                "A",
                                                6));

    ASSERT_EQ(m_Files.Open(P("b.bin"), OpenMode::ReadBinary).out, "1\n");
    EXPECT_EQ(m_Files.Read(0).out, "0\n");
    EXPECT_EQ(m_Files.Read(3).out, "00ff0a\n");
    EXPECT_EQ(m_Files.Eof().out, "0\n");
    EXPECT_EQ(m_Files.Read(100).out, "0d1a41\n");
    EXPECT_EQ(m_Files.Eof().out, "1\n");
    EXPECT_EQ(m_Files.Read(1).out, "0\n");
}

TEST_F(DovrelFilesTest, LongLineComesBackInPiecesOfTheBufferSize)
{
    const std::string line(10000, 'x');
    WriteFile(P("long.txt"), line + "\n");
    ASSERT_EQ(m_Files.Open(P("long.txt"), OpenMode::ReadText).out, "1\n");
    const std::string first = m_Files.ReadLine().out;
    EXPECT_EQ(first.size(), dovrel::kDataBufferSize - 1);
    EXPECT_EQ(first + m_Files.ReadLine().out, line + "\n");
}

TEST_F(DovrelFilesTest, CommandsWithoutFileReportIt)
{
    WriteFile(P("f"), "data");
    ASSERT_EQ(m_Files.Open(P("f"), OpenMode::ReadBinary).out, "1\n");
    EXPECT_EQ(m_Files.Close().err, "");
    EXPECT_FALSE(m_Files.HasFile());
    const dovrel::Reply replies[] = {
        m_Files.Eof(),        m_Files.FileSize(),     m_Files.ReadLine(),    m_Files.Read(1),
        m_Files.Read(100000), m_Files.WriteLine("x"), m_Files.WriteLine(""), m_Files.Write("00"),
        m_Files.SeekBegin(),  m_Files.SeekEnd(),      m_Files.Seek(1),       m_Files.Tell(),
    };
    for (const auto& reply : replies) {
        EXPECT_EQ(reply.out, "");
        EXPECT_EQ(reply.err, dovrel::kErrNoOpenFile);
    }
    EXPECT_EQ(m_Files.Close().err, "") << "close without file is silent";
}

TEST_F(DovrelFilesTest, ReadBeyondTheBufferAndEmptyWritesAreRefused)
{
    ASSERT_EQ(m_Files.Open(P("d"), OpenMode::WriteBinary).out, "1\n");
    EXPECT_EQ(m_Files.WriteLine("").err, dovrel::kErrEmptyData);
    EXPECT_EQ(m_Files.Write("").err, dovrel::kErrEmptyData);
    EXPECT_EQ(ReadFile(P("d")), "");
    WriteFile(P("big"), std::string(dovrel::kDataBufferSize + 10, 'z'));
    ASSERT_EQ(m_Files.Open(P("big"), OpenMode::ReadBinary).out, "1\n");
    const dovrel::Reply refused = m_Files.Read(dovrel::kDataBufferSize + 1);
    EXPECT_EQ(refused.err, dovrel::kErrBufferTooSmall);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(m_Files.Tell().out, "0") << "nothing read";
    EXPECT_EQ(m_Files.Read(dovrel::kDataBufferSize).out.size(), 2 * dovrel::kDataBufferSize + 1);
}

TEST_F(DovrelFilesTest, SeekTellAndFileSize)
{
    WriteFile(P("ten"), "0123456789");
    ASSERT_EQ(m_Files.Open(P("ten"), OpenMode::ReadBinary).out, "1\n");
    m_Files.Seek(4);
    EXPECT_EQ(m_Files.Tell().out, "4");
    EXPECT_EQ(m_Files.FileSize().out, "10");
    EXPECT_EQ(m_Files.Tell().out, "4") << "filesize keeps the position";
    EXPECT_EQ(m_Files.Read(2).out, "3435\n");
    m_Files.SeekEnd();
    EXPECT_EQ(m_Files.Tell().out, "10");
    EXPECT_EQ(m_Files.Read(1).out, "0\n");
    EXPECT_EQ(m_Files.Eof().out, "1\n");
    EXPECT_EQ(m_Files.FileSize().out, "10");
    EXPECT_EQ(m_Files.Eof().out, "1\n") << "filesize is no read: the end stays reached";
    m_Files.SeekBegin();
    EXPECT_EQ(m_Files.Eof().out, "0\n");
    EXPECT_EQ(m_Files.Tell().out, "0");
    m_Files.Seek(-5);
    EXPECT_EQ(m_Files.Tell().out, "0") << "a negative position leaves the file where it was";
}

TEST_F(DovrelFilesTest, SizeAndPositionPastFourGibibytes)
{
    const long long size = 5LL * 1024 * 1024 * 1024 + 3;
    {
        const int fd = open(P("sparse").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, size), 0);
        close(fd);
    }
    ASSERT_EQ(m_Files.Open(P("sparse"), OpenMode::ReadBinary).out, "1\n");
    EXPECT_EQ(m_Files.FileSize().out, "5368709123");
    m_Files.SeekEnd();
    EXPECT_EQ(m_Files.Tell().out, "5368709123");
}

TEST_F(DovrelFilesTest, OpeningClosesTheCurrentFileEvenWhenTheNewOpenFails)
{
    WriteFile(P("r"), "x");
    ASSERT_EQ(m_Files.Open(P("r"), OpenMode::ReadBinary).out, "1\n");
    const int before = OpenDescriptors();
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(m_Files.Open(P("r"), OpenMode::ReadText).out, "1\n");
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(m_Files.Open(P("missing/r"), OpenMode::ReadText).out, "0\n");
    EXPECT_FALSE(m_Files.HasFile());
    EXPECT_EQ(OpenDescriptors(), before - 1);
    EXPECT_EQ(m_Files.Tell().err, dovrel::kErrNoOpenFile);
}

TEST_F(DovrelFilesTest, CreateTruncatesAndFoldersAreNoFiles)
{
    WriteFile(P("old"), "previous content");
    ASSERT_EQ(m_Files.Open(P("old"), OpenMode::WriteText).out, "1\n");
    EXPECT_EQ(m_Files.FileSize().out, "0");
    fs::create_directory(P("dir"));
    for (const OpenMode mode : {OpenMode::ReadText, OpenMode::ReadBinary, OpenMode::WriteText, OpenMode::WriteBinary}) {
        EXPECT_EQ(m_Files.Open(P("dir"), mode).out, "0\n");
    }
    EXPECT_TRUE(fs::is_directory(P("dir")));
    EXPECT_EQ(CDovrelFiles::Exist(P("dir")).out, "0\n");
    EXPECT_EQ(CDovrelFiles::Exist(P("old")).out, "1\n");
    EXPECT_EQ(CDovrelFiles::Exist(P("nothing")).out, "0\n");
    EXPECT_EQ(CDovrelFiles::Exist("").out, "0\n");
}

TEST_F(DovrelFilesTest, FifoWithoutPeerDoesNotHang)
{
    ASSERT_EQ(mkfifo(P("pipe").c_str(), 0644), 0);
    EXPECT_EQ(m_Files.Open(P("pipe"), OpenMode::WriteBinary).out, "0\n");
    EXPECT_EQ(CDovrelFiles::Exist(P("pipe")).out, "1\n");
}

TEST_F(DovrelFilesTest, EraseRemovesFilesOnly)
{
    WriteFile(P("gone"), "x");
    fs::create_directory(P("keep"));
    EXPECT_EQ(CDovrelFiles::Erase(P("gone")).out, "1\n");
    EXPECT_FALSE(fs::exists(P("gone")));
    EXPECT_EQ(CDovrelFiles::Erase(P("gone")).out, "0\n");
    EXPECT_EQ(CDovrelFiles::Erase(P("keep")).out, "0\n");
    EXPECT_TRUE(fs::is_directory(P("keep")));
}

TEST_F(DovrelFilesTest, RenameRefusesAnExistingTarget)
{
    WriteFile(P("a"), "A");
    WriteFile(P("b"), "B");
    EXPECT_EQ(CDovrelFiles::Rename(P("a"), P("b")).out, "0\n");
    EXPECT_EQ(ReadFile(P("a")), "A");
    EXPECT_EQ(ReadFile(P("b")), "B");
    EXPECT_EQ(CDovrelFiles::Rename(P("a"), P("c")).out, "1\n");
    EXPECT_FALSE(fs::exists(P("a")));
    EXPECT_EQ(ReadFile(P("c")), "A");
    EXPECT_EQ(CDovrelFiles::Rename(P("a"), P("d")).out, "0\n");
    EXPECT_EQ(CDovrelFiles::Rename(P("c"), P("c")).out, "0\n");
    EXPECT_EQ(ReadFile(P("c")), "A");
}

TEST_F(DovrelFilesTest, RenameMovesAFileToAnotherFileSystem)
{
    char pattern[] = "/dev/shm/dovrel-other-XXXXXX";
    struct stat here {
    }, there{};
    if (mkdtemp(pattern) == nullptr)
        GTEST_SKIP() << "no second file system to move to";
    const fs::path other = pattern;
    ASSERT_EQ(stat(m_Dir.c_str(), &here), 0);
    ASSERT_EQ(stat(other.c_str(), &there), 0);
    if (here.st_dev == there.st_dev) {
        fs::remove_all(other);
        GTEST_SKIP() << "/dev/shm is on the same file system";
    }
    WriteFile(P("move"), "travels");
    WriteFile(other / "taken", "stays");
    EXPECT_EQ(CDovrelFiles::Rename(P("move"), (other / "taken").string()).out, "0\n");
    EXPECT_EQ(ReadFile(other / "taken"), "stays");
    EXPECT_EQ(CDovrelFiles::Rename(P("move"), (other / "moved").string()).out, "1\n");
    EXPECT_EQ(ReadFile(other / "moved"), "travels");
    EXPECT_FALSE(fs::exists(P("move")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(other))
        ++entries;
    EXPECT_EQ(entries, 2) << "no temporary file left";
    fs::remove_all(other);
}

TEST_F(DovrelFilesTest, CopyReplacesTheDestinationWhole)
{
    WriteFile(P("src"), std::string("first\0second", 12));
    WriteFile(P("dst"), "a much longer previous destination content");
    fs::permissions(P("src"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec);
    EXPECT_EQ(CDovrelFiles::Copy(P("src"), P("dst")).out, "");
    EXPECT_EQ(ReadFile(P("dst")), std::string("first\0second", 12));
    EXPECT_EQ(fs::status(P("dst")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec);
    CDovrelFiles::Copy(P("src"), P("new"));
    EXPECT_EQ(ReadFile(P("new")), ReadFile(P("src")));

    // Onto itself, from nowhere, into a folder: nothing changes and nothing is left behind.
    CDovrelFiles::Copy(P("src"), P("src"));
    EXPECT_EQ(ReadFile(P("src")), std::string("first\0second", 12));
    CDovrelFiles::Copy(P("nothing"), P("dst"));
    EXPECT_EQ(ReadFile(P("dst")), std::string("first\0second", 12));
    fs::create_directory(P("folder"));
    CDovrelFiles::Copy(P("src"), P("folder"));
    EXPECT_TRUE(fs::is_empty(P("folder")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_Dir))
        ++entries;
    EXPECT_EQ(entries, 4);  // src, dst, new, folder
}

// A link as destination is followed, as create follows it: the file it names gets the copy and
// the link stays a link.
TEST_F(DovrelFilesTest, CopyThroughASymbolicLinkFillsTheFileItNames)
{
    WriteFile(P("src"), "new content");
    fs::create_directory(P("sub"));
    WriteFile(P("sub/real"), "old");
    fs::create_symlink("sub/real", P("link"));
    fs::create_symlink("link", P("chain"));
    const struct {
        const char* destination;
        const char* content;
    } cases[] = {{"link", "new content"}, {"chain", "second"}};
    for (const auto& c : cases) {
        WriteFile(P("src"), c.content);
        EXPECT_EQ(CDovrelFiles::Copy(P("src"), P(c.destination)).out, "");
        EXPECT_TRUE(fs::is_symlink(P(c.destination))) << c.destination;
        EXPECT_EQ(ReadFile(P("sub/real")), c.content) << c.destination;
    }
    ASSERT_EQ(m_Files.Open(P("link"), OpenMode::WriteBinary).out, "1\n");
    m_Files.Write("6f6b");
    m_Files.Close();
    EXPECT_EQ(ReadFile(P("sub/real")), "ok") << "create writes through the link too";
    EXPECT_EQ(std::distance(fs::directory_iterator(m_Dir), fs::directory_iterator()), 4);  // src, sub, link, chain
    EXPECT_EQ(std::distance(fs::directory_iterator(P("sub")), fs::directory_iterator()), 1);
}

TEST_F(DovrelFilesTest, CopyKeepsAReadOnlyDestination)
{
    WriteFile(P("src"), "new");
    WriteFile(P("ro"), "protected");
    fs::permissions(P("ro"), fs::perms::owner_read);
    CDovrelFiles::Copy(P("src"), P("ro"));
    EXPECT_EQ(ReadFile(P("ro")), "protected");
}

TEST_F(DovrelFilesTest, PathsLongerThanOneHundredTwentyEightBytes)
{
    std::string nested = m_Dir.string();
    for (int i = 0; i < 12; ++i)
        nested += "/folder_with_a_rather_long_name_" + std::to_string(i);
    ASSERT_GT(nested.size(), 300u);
    EXPECT_EQ(CDovrelFiles::CreateDir(nested).out, "1\n");
    const std::string file = nested + "/file_with_a_long_name_too.txt";
    ASSERT_EQ(m_Files.Open(file, OpenMode::WriteText).out, "1\n");
    m_Files.WriteLine("deep");
    m_Files.Close();
    EXPECT_EQ(CDovrelFiles::Exist(file).out, "1\n");
    EXPECT_EQ(CDovrelFiles::Copy(file, file + ".copy").out, "");
    EXPECT_EQ(CDovrelFiles::Rename(file + ".copy", file + ".moved").out, "1\n");
    EXPECT_EQ(ReadFile(file + ".moved"), "deep\r\n");
    EXPECT_EQ(CDovrelFiles::Erase(file + ".moved").out, "1\n");
    EXPECT_EQ(CDovrelFiles::Exist(file + ".moved").out, "0\n");
}

TEST_F(DovrelFilesTest, FindFileListsPlainFilesSortedAndMoveIntoTheFolder)
{
    for (const char* name : {"b.txt", "A.txt", "c.log", "README", ".hidden.txt", "ro.txt", "pipe|name.txt"}) {
        WriteFile(P(name), "x");
    }
    fs::permissions(P("ro.txt"), fs::perms::owner_read);
    fs::create_symlink(P("b.txt"), P("link.txt"));
    fs::create_directory(P("sub.txt"));
    ASSERT_EQ(mkfifo(P("fifo.txt").c_str(), 0644), 0);

    const struct {
        const char* mask;
        const char* answer;
    } cases[] = {
        {"*.*", "A.txt|b.txt|c.log|README\n"},
        {"*", "A.txt|b.txt|c.log|README\n"},
        {"*.txt", "A.txt|b.txt\n"},
        {"?.LOG", "c.log\n"},
        {"*.none", "\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CDovrelFiles::FindFile(m_Dir.string(), c.mask).out, c.answer) << c.mask;
    }
    EXPECT_EQ(fs::current_path(), m_Dir);

    fs::create_directory(P("other"));
    EXPECT_EQ(CDovrelFiles::FindFile("other", "*.*").out, "\n") << "a relative path from the listed folder";
    EXPECT_EQ(fs::current_path(), m_Dir / "other");
    EXPECT_EQ(CDovrelFiles::FindFile(P("missing"), "*.*").out, "\n");
    EXPECT_EQ(fs::current_path(), m_Dir / "other") << "a failed change keeps the working folder";
}

TEST_F(DovrelFilesTest, FindDirListsPlainFoldersSorted)
{
    for (const char* name : {"zeta", "Alpha", "beta", ".git", "locked"})
        fs::create_directory(P(name));
    fs::permissions(P("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    fs::create_directory_symlink(P("zeta"), P("link"));
    WriteFile(P("file"), "x");
    EXPECT_EQ(CDovrelFiles::FindDir(m_Dir.string()).out, "Alpha|beta|zeta\n");
    EXPECT_EQ(CDovrelFiles::FindDir("zeta").out, "\n");
    EXPECT_EQ(CDovrelFiles::FindDir(P("file")).out, "\n");
}

TEST_F(DovrelFilesTest, CreateDirAnswersForTheFolderBeingThere)
{
    WriteFile(P("file"), "x");
    const struct {
        std::string path;
        const char* answer;
    } cases[] = {
        {P("one"), "1\n"},  {P("one"), "1\n"},      {P("a/b/c"), "1\n"}, {P("a/b/c"), "1\n"}, {P("a//b/d/"), "1\n"},
        {P("file"), "0\n"}, {P("file/x/y"), "0\n"}, {"", "0\n"},         {"/", "1\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDovrelFiles::CreateDir(c.path).out, c.answer) << c.path;
    EXPECT_TRUE(fs::is_directory(P("a/b/c")));
    EXPECT_TRUE(fs::is_directory(P("a/b/d")));
    EXPECT_FALSE(fs::exists(P("file/x")));
    fs::current_path(m_Dir);
    EXPECT_EQ(CDovrelFiles::CreateDir("rel/sub").out, "1\n");
    EXPECT_TRUE(fs::is_directory(P("rel/sub")));
}
