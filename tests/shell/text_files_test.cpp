#include "ide/shell/core/TextFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace zov::shell {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(MacroBody, SplitsAtUnquotedAmpersands)
{
    struct Case {
        std::string body;
        Lines lines;
    };
    const Case cases[] = {
        {R"(x = "a & b" & y = 2)", {R"(x = "a & b")", "y = 2"}},
        {"", {}},
        {"a&b", {"a", "b"}},
        {"a &b& c", {"a", "b", "c"}},
        {"a  &  b", {"a ", " b"}},
        {"single", {"single"}},
        {"a & ", {"a", ""}},
        {R"(s = "un "" & " & t)", {R"(s = "un "" & ")", "t"}},
        {R"(open = "a & b)", {R"(open = "a & b)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitMacroBody(c.body), c.lines) << c.body;
}

TEST(MacroBody, StoredBodiesSurviveOpenAndSave)
{
    for (const std::string body : {R"(x = "a & b" & y = 2)", "a & b & c", "", "call(1)", R"(m = "&")"})
        EXPECT_EQ(JoinMacroLines(SplitMacroBody(body)), body);
    // A hand-written body keeps every character; only the spacing around "&" is normalised.
    EXPECT_EQ(JoinMacroLines(SplitMacroBody("a&b")), "a & b");
}

TEST(MacroBody, FileTextHasCrLfBetweenLinesAndNoFinalLineEnd)
{
    EXPECT_EQ(MacroFileText(R"(x = "a & b" & y = 2)"), "x = \"a & b\"\r\ny = 2");
    EXPECT_EQ(MacroFileText(""), "");
    EXPECT_EQ(MacroFileText("one"), "one");
}

TEST(TempFileNames, NamesCannotLeaveTheTempFolder)
{
    struct Case {
        std::string name;
        std::string safe;
    };
    const Case cases[] = {
        {"Ouvrir", "Ouvrir"},      {"../x", ".._x"}, {"a\\b", "a_b"}, {"..", "_"}, {".", "_"}, {"", "_"},
        {"tab\there", "tab_here"}, {"été", "été"},   {"a.b", "a.b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SanitiseFileName(c.name), c.safe) << c.name;
    EXPECT_EQ(ResultFilePath("/tmp/z", "../../etc/x"), "/tmp/z/.._.._etc_x.qzr");
}

TEST(TempFileNames, SameMacroNameOfTwoInterfacesGetsTwoFilesWithOneTitle)
{
    const std::string main = MacroFilePath("/tmp/z", "/p/main.qzi", "Init");
    const std::string inserted = MacroFilePath("/tmp/z", "/lib/common.qzi", "Init");
    EXPECT_NE(main, inserted);
    EXPECT_EQ(fs::path(main).filename(), "Init.qzm");
    EXPECT_EQ(fs::path(inserted).filename(), "Init.qzm");
    EXPECT_EQ(main, MacroFilePath("/tmp/z", "/p/main.qzi", "Init"));
    EXPECT_EQ(fs::path(main).parent_path().parent_path(), "/tmp/z/macros");
}

TEST(TempFileNames, DescriptionPrefersTheProjectFoldersFile)
{
    const fs::path root = fs::temp_directory_path() / ("zov_text_files_" + std::to_string(::getpid()));
    fs::create_directories(root / "project");
    std::ofstream(root / "project" / "Lot 1.txt") << "x";
    const DescriptionFile existing =
        DescriptionFilePath((root / "project").string(), (root / "temp").string(), "Lot 1");
    EXPECT_TRUE(existing.inProjectFolder);
    EXPECT_EQ(existing.path, (root / "project" / "Lot 1.txt").string());
    const DescriptionFile temp = DescriptionFilePath((root / "project").string(), (root / "temp").string(), "Lot 2");
    EXPECT_FALSE(temp.inProjectFolder);
    EXPECT_EQ(temp.path, (root / "temp" / "Lot 2.txt").string());
    fs::remove_all(root);
}

TEST(InsertedInterfaces, ResolveLikeTheProjectLoads)
{
    struct Case {
        std::string entry;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {"#lib/old.qzi", std::nullopt},
        {"", std::nullopt},
        {"{zov}\\Interfaces\\std.qzi", "/opt/zov/Interfaces/std.qzi"},
        {"{zov}/std.qzi", "/opt/zov/std.qzi"},
        {"/abs/x.qzi", "/abs/x.qzi"},
        {"C:\\lib\\x.qzi", "C:\\lib\\x.qzi"},
        {"lib\\x.qzi", "/w/proj/lib/x.qzi"},
        {"../shared/x.qzi", "/w/shared/x.qzi"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveInsertedInterface(c.entry, "/opt/zov", "/w/proj"), c.path) << c.entry;
}

}  // namespace
}  // namespace zov::shell
