#include "common/IniFile.h"

#include "common/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using zov::IniDocument;
using zov::IniFile;

class TempFolder : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("zov_ini_" + std::to_string(::getpid()) + "_" +
                                               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path WriteFixture(const std::string& name, const std::string& bytes)
    {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Contents(const fs::path& path) { return zov::ReadWholeFile(path).value_or("<missing>"); }

    fs::path folder_;
};

TEST(IniDocumentRead, LookupRules)
{
    const IniDocument doc(
        "top=outside any section\n"
        "[Window]\n"
        "Position = 10,20 \n"
        "\tSize=\t300,150\n"
        "Quoted=\"  padded  \"\n"
        "Single='x'\n"
        "Unbalanced=\"x'\n"
        "Twice=\"\"a\"\"\n"
        "Empty=\n"
        "Bare\n"
        "eq=a=b\n"
        "position=second occurrence\n"
        "[ spaced ] ; comment\n"
        "k=v\n"
        "[window]\n"
        "Hidden=in the duplicate section\n");
    struct Case {
        const char* section;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"Window", "Position", "10,20"},
        {"WINDOW", "position", "10,20"},  // case-insensitive names, first key wins
        {"Window", "size", "300,150"},
        {"Window", "Quoted", "  padded  "},  // one pair of quotes removed, inside kept
        {"Window", "Single", "x"},
        {"Window", "Unbalanced", "\"x'"},
        {"Window", "Twice", "\"a\""},  // only one pair goes
        {"Window", "Empty", ""},
        {"Window", "Bare", ""},  // a line without '=' is a key with no value
        {"Window", "eq", "a=b"},
        {" window ", " SIZE ", "300,150"},
        {"spaced", "k", "v"},
        {"Window", "Hidden", std::nullopt},  // only the first matching section counts
        {"Window", "top", std::nullopt},
        {"", "top", std::nullopt},
        {"Missing", "k", std::nullopt},
        {"Window", "Missing", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(doc.Get(c.section, c.key), c.value) << c.section << "/" << c.key;
    }
}

TEST(IniDocumentRead, ReadsEveryLineEndStyle)
{
    for (const char* end : {"\n", "\r\n", "\r"}) {
        const std::string e = end;
        const IniDocument doc("[a]" + e + "x=1" + e + "[b]" + e + "y=2");
        EXPECT_EQ(doc.Get("a", "x"), "1") << testing::PrintToString(e);
        EXPECT_EQ(doc.Get("b", "y"), "2") << testing::PrintToString(e);
    }
}

TEST(IniDocumentWrite, UpdatesInPlaceAndKeepsEverythingElse)
{
    IniDocument doc("; settings\n[One]\n  Key = old ; not a comment\nOther=1\n\n[Two]\nKey=2\n");
    ASSERT_TRUE(doc.Set("ONE", "key", "new"));
    EXPECT_EQ(doc.Text(), "; settings\n[One]\n  Key = new\nOther=1\n\n[Two]\nKey=2\n");
}

TEST(IniDocumentWrite, NewKeyGoesAtTheEndOfItsSection)
{
    IniDocument doc("[One]\na=1\n\n\n[Two]\nb=2\n");
    ASSERT_TRUE(doc.Set("one", "c", "3"));
    ASSERT_TRUE(doc.Set("Two", "d", "4"));
    EXPECT_EQ(doc.Text(), "[One]\na=1\nc=3\n\n\n[Two]\nb=2\nd=4\n");
}

TEST(IniDocumentWrite, NewSectionGoesAtTheEndOfTheText)
{
    IniDocument doc("[One]\na=1");  // no final line end
    ASSERT_TRUE(doc.Set("Two", "b", "2"));
    EXPECT_EQ(doc.Text(), "[One]\na=1\n\n[Two]\nb=2\n");
    IniDocument empty;
    ASSERT_TRUE(empty.Set("WAITDLG", "POSITION", "-1,-1"));
    EXPECT_EQ(empty.Text(), "[WAITDLG]\nPOSITION=-1,-1\n");
}

TEST(IniDocumentWrite, KeepsTheLineEndsOfTheText)
{
    IniDocument doc("[One]\r\na=1\r\n");
    ASSERT_TRUE(doc.Set("One", "b", "2"));
    ASSERT_TRUE(doc.Set("Two", "c", "3"));
    EXPECT_EQ(doc.Text(), "[One]\r\na=1\r\nb=2\r\n\r\n[Two]\r\nc=3\r\n");
}

TEST(IniDocumentWrite, KeepsAByteOrderMark)
{
    IniDocument doc("\xEF\xBB\xBF[One]\na=1\n");
    EXPECT_EQ(doc.Get("One", "a"), "1");
    ASSERT_TRUE(doc.Set("One", "a", "2"));
    EXPECT_EQ(doc.Text(), "\xEF\xBB\xBF[One]\na=2\n");
}

TEST(IniDocumentWrite, EveryValueReadsBackAsWritten)
{
    for (const std::string value :
         {"", " lead", "trail\t", "\"quoted\"", "'single'", "\"", "a \"mid\" b", "x=y", "\"\""}) {
        IniDocument doc;
        ASSERT_TRUE(doc.Set("s", "k", value));
        EXPECT_EQ(IniDocument(doc.Text()).Get("s", "k"), value) << doc.Text();
    }
}

TEST(IniDocumentWrite, RefusesWhatWouldBreakTheFile)
{
    const std::string original = "[s]\nk=1\n";
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"s", "k", "two\nlines"}, {"s", "k", "cr\r"}, {"s\n[t]", "k", "v"}, {"s]x", "k", "v"}, {"s", "", "v"},
        {"s", "  ", "v"},         {"s", "a=b", "v"},  {"s", "[t]", "v"},    {"s", "k\n", "v"},
    };
    for (const Case& c : cases) {
        IniDocument doc(original);
        EXPECT_FALSE(doc.Set(c.section, c.key, c.value)) << c.section << "/" << c.key << "/" << c.value;
        EXPECT_EQ(doc.Text(), original);
    }
}

TEST(IniDocumentWrite, RemovesKeysAndSections)
{
    IniDocument doc("[a]\nx=1\ny=2\n[b]\nz=3\n[c]\n");
    EXPECT_TRUE(doc.RemoveKey("A", "X"));
    EXPECT_FALSE(doc.RemoveKey("a", "x"));
    EXPECT_TRUE(doc.RemoveSection("b"));
    EXPECT_FALSE(doc.RemoveSection("b"));
    EXPECT_EQ(doc.Text(), "[a]\ny=2\n[c]\n");
    EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(doc.KeyNames("a"), (std::vector<std::string>{"y"}));
}

TEST(ProfileInt, ReadsTheLeadingNumber)
{
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {
        {"42", 42},    {" -7 ", -7},       {"+3", 3},
        {"12abc", 12}, {"abc", 0},         {"", 99},
        {"-", 0},      {"4294967295", -1}, {"2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(zov::ParseProfileInt(c.text, 99), c.value) << c.text;
    }
}

TEST_F(TempFolder, MissingFileGivesDefaultsAndIsCreatedByAWrite)
{
    const IniFile ini(folder_ / "Brunox.ini");
    EXPECT_EQ(ini.GetString("ASKDLG", "POSITION", "-1,-1"), "-1,-1");
    EXPECT_EQ(ini.GetInt("ASKDLG", "WIDTH", -1), -1);
    ASSERT_TRUE(ini.WriteString("ASKDLG", "POSITION", "10,20"));
    ASSERT_TRUE(ini.WriteInt("ASKDLG", "WIDTH", -5));
    EXPECT_EQ(Contents(ini.Path()), "[ASKDLG]\nPOSITION=10,20\nWIDTH=-5\n");
    EXPECT_EQ(ini.GetInt("askdlg", "width", 0), -5);
}

TEST_F(TempFolder, NothingIsCachedBetweenCalls)
{
    const fs::path path = WriteFixture("a.ini", "[s]\nk=1\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.GetString("s", "k"), "1");
    WriteFixture("a.ini", "[s]\nk=2\n");  // another program changes the file
    EXPECT_EQ(ini.GetString("s", "k"), "2");
    ASSERT_TRUE(ini.WriteString("s", "other", "x"));
    EXPECT_EQ(Contents(path), "[s]\nk=2\nother=x\n");
}

TEST_F(TempFolder, WindowsFileKeepsItsLineEndsAndReadsItsAccents)
{
    const fs::path path = WriteFixture("ZOV.ini",
                                       "[Preferences]\r\nLanguage=Fran\xE7"
                                       "ais\r\n");
    const IniFile ini(path);
    EXPECT_EQ(ini.GetString("preferences", "language"),
              "Fran\xC3\xA7"
              "ais");
    ASSERT_TRUE(ini.WriteInt("Preferences", "FontSize", 10));
    // The rewrite stores the file in UTF-8 as a whole; it reads back the same.
    EXPECT_EQ(Contents(path),
              "[Preferences]\r\nLanguage=Fran\xC3\xA7"
              "ais\r\nFontSize=10\r\n");
    EXPECT_EQ(ini.GetString("preferences", "language"),
              "Fran\xC3\xA7"
              "ais");
}

// A file written here in UTF-8 and then given a line by a Windows program holds both encodings:
// each character is read as what it is, and a write keeps every one of them.
TEST_F(TempFolder, FileMixingUtf8AndWindows1252KeepsEveryCharacter)
{
    const fs::path path = WriteFixture("ZOV.ini",
                                       "[Preferences]\nLanguage=Fran\xC3\xA7"
                                       "ais\n"
                                       "Folder=C:\\R\xE9sultats\nEuro=\xE2\x82\xAC \x80\n");
    const IniFile ini(path);
    struct Case {
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"Language",
         "Fran\xC3\xA7"
         "ais"},                                // UTF-8 stays as it is
        {"Folder", "C:\\R\xC3\xA9sultats"},     // a Windows-1252 byte beside it
        {"Euro", "\xE2\x82\xAC \xE2\x82\xAC"},  // the same character in both encodings
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ini.GetString("Preferences", c.key), c.value) << c.key;
    }
    ASSERT_TRUE(ini.WriteInt("Preferences", "FontSize", 10));
    EXPECT_EQ(Contents(path),
              "[Preferences]\nLanguage=Fran\xC3\xA7"
              "ais\nFolder=C:\\R\xC3\xA9sultats\n"
              "Euro=\xE2\x82\xAC \xE2\x82\xAC\nFontSize=10\n");
    for (const Case& c : cases) {
        EXPECT_EQ(ini.GetString("Preferences", c.key), c.value) << c.key << " after a write";
    }
}

// Something at the path that cannot be read gives the defaults, without ending the program, and
// a write leaves it as it is instead of putting a file with one key in its place.
TEST_F(TempFolder, WhatCannotBeReadGivesDefaultsAndIsNeverReplaced)
{
    const fs::path folder = folder_ / "folder.ini";
    fs::create_directory(folder);
    const fs::path fifo = folder_ / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path locked = WriteFixture("locked.ini", "[s]\nk=1\nother=2\n");
    fs::permissions(locked, fs::perms::owner_write);
    std::vector<fs::path> paths = {folder, fifo};
    if (::access(locked.c_str(), R_OK) != 0) {
        paths.push_back(locked);  // a user without the right to read it (not the superuser)
    }
    for (const fs::path& path : paths) {
        const IniFile ini(path);
        EXPECT_EQ(ini.GetString("s", "k", "default"), "default") << path;
        EXPECT_EQ(ini.GetInt("s", "k", 7), 7) << path;
        EXPECT_TRUE(ini.SectionNames().empty()) << path;
        EXPECT_FALSE(ini.WriteString("s", "k", "2")) << path;
        EXPECT_FALSE(ini.DeleteKey("s", "other")) << path;
        EXPECT_FALSE(ini.DeleteSection("s")) << path;
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_TRUE(fs::is_fifo(fifo));
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Contents(locked), "[s]\nk=1\nother=2\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 3) << "no temporary file left";
}

TEST_F(TempFolder, RefusedWriteLeavesTheFileUntouched)
{
    const fs::path path = WriteFixture("a.ini", "[s]\r\nk=1");
    const IniFile ini(path);
    EXPECT_FALSE(ini.WriteString("s", "k", "a\nb"));
    EXPECT_FALSE(ini.DeleteKey("s", "absent"));
    EXPECT_EQ(Contents(path), "[s]\r\nk=1");
}

TEST_F(TempFolder, WriteIntoMissingFolderFailsCleanly)
{
    const IniFile ini(folder_ / "no" / "such" / "a.ini");
    EXPECT_FALSE(ini.WriteString("s", "k", "v"));
    EXPECT_FALSE(fs::exists(folder_ / "no"));
}

TEST_F(TempFolder, WriteKeepsPermissionsAndLeavesNoTemporaryFile)
{
    const fs::path path = WriteFixture("a.ini", "[s]\nk=1\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(IniFile(path).WriteString("s", "k", "2"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(TempFolder, WriteThroughASymbolicLinkReplacesItsTarget)
{
    const fs::path target = WriteFixture("real.ini", "[s]\nk=1\n");
    fs::create_symlink(target, folder_ / "link.ini");
    ASSERT_TRUE(IniFile(folder_ / "link.ini").WriteString("s", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(folder_ / "link.ini"));
    EXPECT_EQ(Contents(target), "[s]\nk=2\n");
}

TEST_F(TempFolder, ConcurrentWritersLoseNoKey)
{
    const IniFile ini(folder_ / "a.ini");
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([&ini, t] {
            for (int i = 0; i < 25; ++i) {
                ini.WriteInt("s" + std::to_string(t), "k" + std::to_string(i), i);
            }
        });
    }
    for (auto& writer : writers) {
        writer.join();
    }
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(ini.KeyNames("s" + std::to_string(t)).size(), 25u);
    }
}

}  // namespace
