// The lines of each project file that the development environments rely on.
#include "generator/core/Generator.h"

#include "GeneratorTestSupport.h"
#include "../support/ChildProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace zov::vantoro;
using zov::test::ReadFile;
using zov::vantoro::test::DemoSettings;
using zov::vantoro::test::ScratchFolder;

struct PinnedCase {
    int projectType;
    std::string file;
    std::vector<std::string> lines;
};

const std::string kGuid = "{624CCC24-6C1C-488F-BD93-2BB9566F3716}";

const PinnedCase kCases[] = {
    {kVisualCpp2008Express,
     "N.sln",
     {"Microsoft Visual Studio Solution File, Format Version 10.00", "# Visual C++ Express 2008",
      "Project(\"{8BC9CEB8-8B4A-11D0-8D11-00A0C91BC942}\") = \"N\", \"N.vcproj\", \"" + kGuid + "\"",
      "\t\t" + kGuid + ".Debug|Win32.ActiveCfg = Debug|Win32",
      "\t\t" + kGuid + ".Release|Win32.Build.0 = Release|Win32"}},
    {kVisualCpp2008Express,
     "N.vcproj",
     {"<?xml version=\"1.0\" encoding=\"Windows-1252\"?>", "\tVersion=\"9,00\"", "\tName=\"N\"",
      "\tRootNamespace=\"N\"", "\tKeyword=\"Win32Proj\"", "\tProjectGUID=\"" + kGuid + "\"",
      "\t\t\tName=\"Fichiers sources\"", "\t\t\tName=\"Fichiers d&apos;en-t\xEAte\"",
      "\t\t\tName=\"Fichiers de ressources\"", "\t\t\t\tPreprocessorDefinitions=\"WIN32;_DEBUG;_CONSOLE\"",
      "\t\t\t\tPreprocessorDefinitions=\"WIN32;NDEBUG;_CONSOLE\"", "\t\t\t\tSubSystem=\"1\"",
      "\t\t\tCharacterSet=\"1\""}},
    {kVisualCpp6,
     "N.dsw",
     {"Microsoft Developer Studio Workspace File, Format Version 6.00",
      "Project: \"N\"=\".\\N.dsp\" - Package Owner=<4>"}},
    {kVisualCpp6,
     "N.dsp",
     {"# Microsoft Developer Studio Project File - Name=\"N\" - Package Owner=<4>",
      "# TARGTYPE \"Win32 (x86) Application\" 0x0101", "CFG=N - Win32 Debug",
      "!MESSAGE \"N - Win32 Release\" (based on \"Win32 (x86) Application\")",
      "!MESSAGE \"N - Win32 Debug\" (based on \"Win32 (x86) Application\")", "!IF  \"$(CFG)\" == \"N - Win32 Release\"",
      "# Name \"N - Win32 Debug\"", "# Begin Group \"Main Files\"", "# Begin Group \"User Files\"",
      "SOURCE=.\\NewCmd.cpp"}},
    {kDevCpp5,
     "N.dev",
     {"[Project]", "FileName=N.dev", "Name=N", "UnitCount=8", "Type=1", "IsCpp=1", "[Unit8]", "FileName=strfunc.h",
      "[VersionInfo]", "Major=0", "Minor=1", "Release=1", "Build=1", "LanguageID=1033", "CharsetID=1252"}},
};

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

TEST(ProjectFilesTest, HoldTheirPinnedLines)
{
    for (const PinnedCase& c : kCases) {
        ScratchFolder scratch;
        GeneratorSettings settings = DemoSettings(scratch.path(), c.projectType);
        settings.cliName = "N";
        ASSERT_TRUE(GenerateProject(settings).ok);
        const std::vector<std::string> lines = Lines(ReadFile(scratch.path() / c.file));
        for (const std::string& pinned : c.lines)
            EXPECT_NE(std::find(lines.begin(), lines.end(), pinned), lines.end()) << c.file << ": " << pinned;
    }
}

TEST(ProjectFilesTest, TheDevProjectListsTheEightUnitsInOrder)
{
    ScratchFolder scratch;
    ASSERT_TRUE(GenerateProject(DemoSettings(scratch.path(), kDevCpp5)).ok);
    std::vector<std::string> units;
    for (const std::string& line : Lines(ReadFile(scratch.path() / "Demo.dev"))) {
        if (line.rfind("FileName=", 0) == 0)
            units.push_back(line.substr(9));
    }
    EXPECT_EQ(units, (std::vector<std::string>{"Demo.dev", "main.cpp", "main.h", "MainCmd.cpp", "MainCmd.h",
                                               "NewCmd.cpp", "NewCmd.h", "strfunc.cpp", "strfunc.h"}));
}

// xmllint reads the project as the development environment would, in the encoding it declares.
TEST(ProjectFilesTest, TheVcprojIsWellFormedWhateverTheName)
{
    if (!fs::exists("/usr/bin/xmllint"))
        GTEST_SKIP() << "xmllint is not installed";
    for (const std::string name : {"N", "A&B <\"x'>", "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC", "ctl\x01name"}) {
        ScratchFolder scratch;
        GeneratorSettings settings = DemoSettings(scratch.path(), kVisualCpp2008Express);
        settings.cliName = name;
        ASSERT_TRUE(GenerateProject(settings).ok);
        const fs::path vcproj = scratch.path() / (name + ".vcproj");
        zov::test::ChildProcess lint("/usr/bin/xmllint", {"--noout", vcproj.string()});
        const zov::test::ProcessResult result = lint.Finish();
        EXPECT_EQ(result.exitCode, 0) << name << "\n" << result.err;
        EXPECT_EQ(result.err, "") << name;
    }
}

TEST(ProjectFilesTest, TheVcprojCarriesTheNameInWindows1252)
{
    ScratchFolder scratch;
    GeneratorSettings settings = DemoSettings(scratch.path(), kVisualCpp2008Express);
    settings.cliName = "Caf\xC3\xA9&\xE6\x97\xA5";
    ASSERT_TRUE(GenerateProject(settings).ok);
    const std::vector<std::string> lines = Lines(ReadFile(scratch.path() / (settings.cliName + ".vcproj")));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\tName=\"Caf\xE9&amp;&#x65E5;\""), lines.end());
    // The solution names the project file as it is called on disk.
    const std::string sln = ReadFile(scratch.path() / (settings.cliName + ".sln"));
    EXPECT_NE(sln.find("\"" + settings.cliName + ".vcproj\""), std::string::npos);
}

}  // namespace
