#include "common/PathUtils.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zov {
namespace {

namespace fs = std::filesystem;

struct PathCase {
    const char* base;
    const char* path;
    const char* expected;
};

TEST(MakeAbsolutePath, ResolvesAgainstTheBase)
{
    const PathCase cases[] = {
        {"/Tests/Projet", "..\\Scripts\\a.qzs", "/Tests/Scripts/a.qzs"},
        {"/Tests/Projet", "../Scripts/a.qzs", "/Tests/Scripts/a.qzs"},
        {"/Tests/Projet", "Scripts\\sub/a.qzs", "/Tests/Projet/Scripts/sub/a.qzs"},
        {"/P", "D:\\x.qzi", "D:\\x.qzi"},  // a drive form stands as it is
        {"/P", "d:/x.qzi", "d:/x.qzi"},
        {"/P", "../../../x", "/x"},  // ".." never pops the root
        {"/P", "", "/P"},
        {"/P/", "./a/./b", "/P/a/b"},
        {"/P//Q\\", "a", "/P/Q/a"},
        {"/", "x", "/x"},
        {"/", "..", "/"},
        {"/P", "/abs\\x/../y", "/abs/y"},                // an absolute path ignores the base
        {"C:\\Tests\\Projet", "..\\..\\..\\x", "C:/x"},  // nor the drive
        {"C:\\Tests\\Projet", "a.qzs", "C:/Tests/Projet/a.qzs"},
        {"", "a/b", "a/b"},
        {"rel", "../../x", "../x"},  // a relative base keeps the climb
        {"", "", ""},
        {"/P", "C:", "/P/C:"},  // not a drive form without its separator
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(MakeAbsolutePath(c.base, c.path), c.expected) << c.base << " + " << c.path;
}

TEST(MakeRelativePath, ClimbsFromTheBase)
{
    const PathCase cases[] = {
        {"/x/y", "/x/z/f.txt", "../z/f.txt"},
        {"/b/s", "/a/s/f", "../../a/s/f"},
        {"/x", "/x/f.txt", "f.txt"},
        {"/x/y", "/x", ".."},
        {"/x", "/x", ""},
        {"/x/", "/x", ""},
        {"/x/data", "/x/Data/f", "../Data/f"},  // names compare with case
        {"/P", "D:\\x", "D:\\x"},               // another root
        {"C:\\P", "D:\\x", "D:\\x"},
        {"C:\\P", "c:\\P\\x", "c:\\P\\x"},  // drive letters compare exactly
        {"C:\\P", "C:\\P\\x\\y.qzs", "x/y.qzs"},
        {"/a/b/c", "/d", "../../../d"},
        {"/", "/etc/f", "etc/f"},
        {"/x", "f.txt", "f.txt"},  // already relative
        {"rel", "/x/f", "/x/f"},   // nothing to be relative to
        {"/x/./y/..", "/x/z", "z"},
        {"/Tests/Projet", "/Tests/Projet\\Scripts\\a.qzs", "Scripts/a.qzs"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(MakeRelativePath(c.base, c.path), c.expected) << c.base << " -> " << c.path;
}

// What one makes relative, the other makes absolute again, however long the path.
TEST(MakeRelativePath, RoundTripsThroughMakeAbsolutePath)
{
    std::string deep = "/root";
    for (int i = 0; i < 200; ++i)
        deep += "/folder" + std::to_string(i);
    const std::string paths[] = {"/root/a/b.qzs", deep + "/f.qzs", "/other/x", "/root"};
    const std::string bases[] = {"/root", deep, "/root/a/b/c"};
    for (const std::string& base : bases) {
        for (const std::string& path : paths)
            EXPECT_EQ(MakeAbsolutePath(base, MakeRelativePath(base, path)), path) << base << " / " << path;
    }
    EXPECT_GT(MakeAbsolutePath(deep, "x").size(), 512u);
}

class PathFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("zov_path_utils_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        rootText_ = root_.string();
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (auto& entry : fs::recursive_directory_iterator(root_, ignored))
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root_, ignored);
    }
    std::string Write(const std::string& name)
    {
        const std::string path = rootText_ + "/" + name;
        std::ofstream(path) << "x";
        return path;
    }

    fs::path root_;
    std::string rootText_;
};

TEST_F(PathFiles, FileAndFolderTests)
{
    const std::string file = Write("f.txt");
    const std::string readOnly = Write("ro.txt");
    ::chmod(readOnly.c_str(), 0444);
    const std::string missing = rootText_ + "/none";
    ::symlink(file.c_str(), (rootText_ + "/link").c_str());

    struct Case {
        std::string path;
        bool folder, file, readOnly;
    };
    const Case cases[] = {
        {rootText_, true, false, false},
        {file, false, true, false},
        {readOnly, false, true, true},
        {missing, false, false, true},
        {rootText_ + "/link", false, true, false},  // a link stands for its target
        {"", false, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FolderExists(c.path), c.folder) << c.path;
        EXPECT_EQ(FileExists(c.path), c.file) << c.path;
        EXPECT_EQ(IsReadOnlyFile(c.path), c.readOnly) << c.path;
    }
}

// A folder that may not be entered does not count, and asking never moves the current folder.
TEST_F(PathFiles, FolderExistsNeedsEntryAndKeepsTheCurrentFolder)
{
    const std::string closed = rootText_ + "/closed";
    ASSERT_EQ(::mkdir(closed.c_str(), 0600), 0);
    const fs::path before = fs::current_path();
    EXPECT_TRUE(FolderExists(rootText_));
    EXPECT_EQ(fs::current_path(), before);
    if (::geteuid() == 0)
        GTEST_SKIP() << "root enters every folder";
    EXPECT_FALSE(FolderExists(closed));
}

TEST_F(PathFiles, CreateFolderPathMakesEveryParent)
{
    const std::string deep = rootText_ + "/a/b//c/";
    EXPECT_TRUE(CreateFolderPath(deep));
    EXPECT_TRUE(FolderExists(rootText_ + "/a/b/c"));
    // Existing folders: success, nothing touched.
    struct stat before {};
    ASSERT_EQ(::stat((rootText_ + "/a").c_str(), &before), 0);
    EXPECT_TRUE(CreateFolderPath(rootText_ + "/a/b"));
    struct stat after {};
    ASSERT_EQ(::stat((rootText_ + "/a").c_str(), &after), 0);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);

    EXPECT_FALSE(CreateFolderPath("/"));
    EXPECT_FALSE(CreateFolderPath("//"));
    EXPECT_FALSE(CreateFolderPath(""));
    EXPECT_FALSE(CreateFolderPath("C:\\"));
}

// A level that cannot be made (a file stands in its way) stops the walk: nothing below it is tried.
TEST_F(PathFiles, CreateFolderPathStopsAtTheFirstFailure)
{
    const std::string blocker = Write("blocker");
    EXPECT_FALSE(CreateFolderPath(blocker + "/x/y"));
    EXPECT_FALSE(fs::exists(blocker + "/x"));
    EXPECT_FALSE(CreateFolderPath(blocker));
}

TEST_F(PathFiles, CreateFolderPathRelativeToTheCurrentFolder)
{
    const fs::path before = fs::current_path();
    fs::current_path(root_);
    const bool made = CreateFolderPath("r1/r2");
    fs::current_path(before);
    EXPECT_TRUE(made);
    EXPECT_TRUE(FolderExists(rootText_ + "/r1/r2"));
}

struct CompactCase {
    int width;
    const char* path;
    const char* expected;
};

// One pixel per byte: a form fits when it is shorter than the width.
TEST(CompactPath, CutsFoldersFromTheEnd)
{
    const TextWidthMeasure perByte = [](std::string_view text) { return static_cast<int>(text.size()); };
    const CompactCase cases[] = {
        {22, "/Projets/Banc/Scripts/essai.qzs", "/Projets/../essai.qzs"},
        {32, "/Projets/Banc/Scripts/essai.qzs", "/Projets/Banc/Scripts/essai.qzs"},  // 31 < 32
        {31, "/Projets/Banc/Scripts/essai.qzs", "/Projets/Banc/../essai.qzs"},
        {21, "/Projets/Banc/Scripts/essai.qzs", "/../essai.qzs"},
        {10, "/Projets/Banc/Scripts/essai.qzs", "essai.qzs"},                       // "/../essai.qzs" is still too wide
        {9, "/Projets/Banc/Scripts/essai.qzs", "/Projets/Banc/Scripts/essai.qzs"},  // the name alone does not fit
        {14, "C:\\Projets\\Banc\\essai.qzs", "\\..\\essai.qzs"},
        {20, "C:\\Projets\\Banc\\essai.qzs", "C:\\..\\essai.qzs"},
        {3, "essai.qzs", "essai.qzs"},
        {5, "", ""},
    };
    for (const CompactCase& c : cases)
        EXPECT_EQ(CompactPath(c.width, perByte, c.path), c.expected) << c.width << " " << c.path;
}

// The measure decides, not the byte count: wide letters make a path shorten sooner.
TEST(CompactPath, UsesTheGivenMeasure)
{
    const TextWidthMeasure wideW = [](std::string_view text) {
        int width = 0;
        for (char c : text)
            width += c == 'W' ? 10 : 1;
        return width;
    };
    EXPECT_EQ(CompactPath(40, wideW, "/WWW/a/f"), "/WWW/a/f");
    EXPECT_EQ(CompactPath(12, wideW, "/WWW/a/f"), "/../f");
}

}  // namespace
}  // namespace zov
