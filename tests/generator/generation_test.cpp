#include "generator/core/Generator.h"

#include "GeneratorTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace zov::vantoro;
using zov::test::ReadFile;
using zov::test::WriteFile;
using zov::vantoro::test::DemoSettings;
using zov::vantoro::test::FileNames;
using zov::vantoro::test::ScratchFolder;

const std::set<std::string> kSources = {"main.cpp",   "main.h",   "MainCmd.cpp", "MainCmd.h",
                                        "NewCmd.cpp", "NewCmd.h", "strfunc.cpp", "strfunc.h"};

struct FileSetCase {
    int projectType;
    std::set<std::string> projectFiles;
};

class FileSetTest : public ::testing::TestWithParam<FileSetCase> {};

TEST_P(FileSetTest, WritesTheProjectFilesOfItsTypeAndTheEightSources)
{
    ScratchFolder scratch;
    const FileSetCase& c = GetParam();
    const GenerationResult result = GenerateProject(DemoSettings(scratch.path(), c.projectType));
    ASSERT_TRUE(result.ok) << result.failedPath;

    std::set<std::string> expected = kSources;
    expected.insert(c.projectFiles.begin(), c.projectFiles.end());
    EXPECT_EQ(FileNames(scratch.path()), expected);
    EXPECT_EQ(result.writtenFiles.size(), expected.size());
}

INSTANTIATE_TEST_SUITE_P(Types, FileSetTest,
                         ::testing::Values(FileSetCase{kVisualCpp6, {"Demo.dsp", "Demo.dsw"}},
                                           FileSetCase{kVisualCpp2008Express, {"Demo.vcproj", "Demo.sln"}},
                                           FileSetCase{kDevCpp5, {"Demo.dev"}}));

TEST(PlanFilesTest, ProjectFilesComeFirstThenTheSourcesInTheirOrder)
{
    const std::vector<PlannedFile> files = PlanFiles(kVisualCpp2008Express, "Tool");
    std::vector<std::string> names;
    for (const PlannedFile& file : files)
        names.push_back(file.fileName);
    EXPECT_EQ(names, (std::vector<std::string>{"Tool.vcproj", "Tool.sln", "main.cpp", "main.h", "MainCmd.cpp",
                                               "MainCmd.h", "NewCmd.cpp", "NewCmd.h", "strfunc.cpp", "strfunc.h"}));
}

// Every file of every type: CR LF after every line, nothing else, and no placeholder left behind.
TEST(GenerationTest, EveryFileEndsItsLinesWithCrLfAndHoldsNoPlaceholder)
{
    for (int type : {kVisualCpp6, kVisualCpp2008Express, kDevCpp5}) {
        for (int stream : {0, 1}) {
            ScratchFolder scratch;
            GeneratorSettings settings = DemoSettings(scratch.path(), type);
            settings.synchroStream = stream;
            ASSERT_TRUE(GenerateProject(settings).ok);
            for (const auto& entry : fs::directory_iterator(scratch.path())) {
                const std::string bytes = ReadFile(entry.path());
                const std::string name = entry.path().filename().string();
                SCOPED_TRACE(name + " type " + std::to_string(type));
                ASSERT_GE(bytes.size(), 2u);
                EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
                for (size_t i = 0; i < bytes.size(); ++i) {
                    if (bytes[i] == '\n') {
                        ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
                    }
                    if (bytes[i] == '\r') {
                        ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
                    }
                }
                EXPECT_FALSE(std::regex_search(bytes, std::regex("%%[A-Z]+%%")));
            }
        }
    }
}

TEST(GenerationTest, CreatesTheMissingFoldersOfTheTarget)
{
    ScratchFolder scratch;
    const fs::path target = scratch.path() / "a" / "b c" / "d";
    const GenerationResult result = GenerateProject(DemoSettings(target, kDevCpp5));
    ASSERT_TRUE(result.ok) << result.failedPath;
    EXPECT_TRUE(fs::is_regular_file(target / "Demo.dev"));
    EXPECT_TRUE(fs::is_regular_file(target / "strfunc.h"));
}

TEST(GenerationTest, OverwritesExistingFilesWithoutAsking)
{
    ScratchFolder scratch;
    WriteFile(scratch.path() / "main.h", "old content that is longer than nothing\n");
    WriteFile(scratch.path() / "Demo.dev", "[Old]\n");
    ASSERT_TRUE(GenerateProject(DemoSettings(scratch.path(), kDevCpp5)).ok);
    EXPECT_EQ(
        ReadFile(scratch.path() / "main.h"),
        RenderTemplate(TemplateText(TemplateId::MainH), ValuesOf(DemoSettings(scratch.path())), Escaping::CString));
    EXPECT_EQ(ReadFile(scratch.path() / "Demo.dev").rfind("[Project]\r\n", 0), 0u);
}

// A user's own test.tmp in the target folder is neither truncated nor deleted, and none is made.
TEST(GenerationTest, NeverTouchesTestTmp)
{
    ScratchFolder scratch;
    const std::string mine = "the user's own notes\n";
    WriteFile(scratch.path() / "test.tmp", mine);
    const auto before = fs::last_write_time(scratch.path() / "test.tmp");
    ASSERT_TRUE(GenerateProject(DemoSettings(scratch.path())).ok);
    EXPECT_EQ(ReadFile(scratch.path() / "test.tmp"), mine);
    EXPECT_EQ(fs::last_write_time(scratch.path() / "test.tmp"), before);

    ScratchFolder empty;
    ASSERT_TRUE(GenerateProject(DemoSettings(empty.path(), kVisualCpp2008Express)).ok);
    EXPECT_FALSE(fs::exists(empty.path() / "test.tmp"));
    // Nothing else is left behind either: only the ten files of the type.
    EXPECT_EQ(FileNames(empty.path()).size(), 10u);
}

TEST(GenerationTest, AFolderThatCannotBeMadeIsNamedAndNothingIsWritten)
{
    ScratchFolder scratch;
    WriteFile(scratch.path() / "blocker", "a file where a folder should go");
    const fs::path target = scratch.path() / "blocker" / "project";
    const GenerationResult result = GenerateProject(DemoSettings(target));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedPath, target.string());
    EXPECT_TRUE(result.writtenFiles.empty());
}

// A file that cannot be written stops the generation there; what stood there before is kept.
TEST(GenerationTest, AFileThatCannotBeWrittenIsNamedAndStopsTheGeneration)
{
    ScratchFolder scratch;
    fs::create_directories(scratch.path() / "MainCmd.cpp" / "inside");
    WriteFile(scratch.path() / "NewCmd.h", "kept\n");
    const GenerationResult result = GenerateProject(DemoSettings(scratch.path(), kDevCpp5));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failedPath, (scratch.path() / "MainCmd.cpp").string());
    EXPECT_EQ(result.writtenFiles.size(), 3u);  // Demo.dev, main.cpp, main.h
    EXPECT_EQ(ReadFile(scratch.path() / "NewCmd.h"), "kept\n");
    EXPECT_TRUE(fs::is_directory(scratch.path() / "MainCmd.cpp" / "inside"));
}

TEST(MakeDirTreeTest, TheRootIsNeverCreatedButFilesMayStillGoThere)
{
    EXPECT_FALSE(MakeDirTree("/"));
    EXPECT_FALSE(MakeDirTree(""));
    ScratchFolder scratch;
    EXPECT_TRUE(MakeDirTree(scratch.path() / "x" / "y"));
    EXPECT_TRUE(MakeDirTree(scratch.path() / "x" / "y"));  // already there
    EXPECT_TRUE(fs::is_directory(scratch.path() / "x" / "y"));
}

TEST(SynchroStreamWordTest, ZeroIsStandardErrorAnythingElseStandardOutput)
{
    EXPECT_EQ(SynchroStreamWord(0), "stderr");
    EXPECT_EQ(SynchroStreamWord(1), "stdout");
    EXPECT_EQ(SynchroStreamWord(7), "stdout");
}

TEST(GeneratorSettingsTest, DefaultsAreTheDialogs)
{
    const GeneratorSettings settings;
    EXPECT_EQ(settings.copyright, "<my name>");
    EXPECT_EQ(settings.version, "1.0");
    EXPECT_EQ(settings.synchroMessage, ">>");
    EXPECT_EQ(settings.synchroStream, 0);
    EXPECT_EQ(settings.exitMessage, "exit");
    EXPECT_EQ(settings.projectType, kVisualCpp6);
}

}  // namespace
