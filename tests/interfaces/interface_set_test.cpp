// The interface set: first definition wins across main and inserted interfaces, the load-error
// lines, look-ups, adds and removes, and the life-cycle calls.

#include "ide/interfaces/model/InterfaceSet.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace zov::interfaces {
namespace {

namespace fs = std::filesystem;

class InterfaceSetTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zov-iset-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        test::WriteFile(path, text);
        return path.string();
    }

    InterfaceFolders Folders() const { return {dir_.string(), dir_.string(), (dir_ / "tmp").string()}; }

    fs::path dir_;
    shell::RecordingPrompter prompter_;
};

TEST_F(InterfaceSetTest, FirstDefinitionWinsAndEachDuplicateIsOneLine)
{
    const std::string main =
        Put("main.qzi", "CLI c : \"c|>>|1\"\r\n&f() : \"f\"\r\nCONST K : 1\r\nMACRO M : {x}\r\nCONST K : 2\r\n");
    Put("ins/a.qzi", "CLI c : \"other|>>|1\"\r\n&f() : \"g\"\r\nCONST K : 3\r\nMACRO M : {y}\r\nCONST L : 4\r\n");
    const shell::Translate tag = [](std::string_view text) { return "<" + std::string(text) + ">"; };
    InterfaceSet set(Folders(), prompter_, tag);

    ASSERT_TRUE(set.Load(main));
    EXPECT_EQ(set.LoadErrors(), std::vector<std::string>{"CONST:K <dupliquée>"});
    ASSERT_TRUE(set.InsertInterface("a.qzi", (dir_ / "ins").string(), 0, 0));
    // Only the last read's lines, in file order.
    EXPECT_EQ(set.LoadErrors(), (std::vector<std::string>{"CLI:c <dupliqué>", "FUNCT:f <dupliquée>",
                                                          "CONST:K <dupliquée>", "MACRO:M <dupliquée>"}));

    EXPECT_EQ(set.All().constants.Find("K")->value, "1");
    EXPECT_EQ(set.All().constants.Find("L")->interfaceIndex, 0);
    EXPECT_EQ(set.All().clis.Find("c")->path, "c");
    // Both owners keep their own records.
    EXPECT_EQ(set.MainInterface().constants.size(), 2u);
    EXPECT_EQ(set.GetInsertedInterface(0)->constants.size(), 2u);
}

TEST_F(InterfaceSetTest, MissingFileGivesOneLineAndNoMainPath)
{
    InterfaceSet set(Folders(), prompter_);
    const std::string missing = (dir_ / "none.qzi").string();
    EXPECT_FALSE(set.Load(missing));
    EXPECT_EQ(set.LoadErrors(), std::vector<std::string>{"FILE:" + missing + " non présent"});
    EXPECT_EQ(set.MainPath(), "");
    EXPECT_TRUE(prompter_.Prompts().empty());
    // Empty paths and "(none)" are not read and give no line.
    EXPECT_FALSE(set.Load(""));
    EXPECT_TRUE(set.LoadErrors().empty());
    EXPECT_FALSE(set.InsertInterface("(aucune)", dir_.string(), 0, 0));
    EXPECT_TRUE(set.LoadErrors().empty());
}

TEST_F(InterfaceSetTest, RemovingTheWinnerDoesNotPromoteTheHiddenOne)
{
    Put("main.qzi", "CONST K : 1\r\n");
    Put("a.qzi", "CONST K : 2\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load((dir_ / "main.qzi").string());
    set.InsertInterface("a.qzi", dir_.string(), 0, 1);
    ConstantRecord* winner = set.All().constants.Find("K");
    ASSERT_NE(winner, nullptr);
    EXPECT_TRUE(set.RemoveConstant(winner));
    EXPECT_EQ(set.All().constants.Find("K"), nullptr);
    EXPECT_FALSE(set.FindOtherConstant(nullptr, "K"));
    EXPECT_EQ(set.GetInsertedInterface(0)->constants.size(), 1u);
    EXPECT_TRUE(set.Modified());
}

TEST_F(InterfaceSetTest, LookUps)
{
    InterfaceSet set(Folders(), prompter_);
    CliRecord* a = set.AddCli("a", "a", ">>", 1, "exit", 1, 0, -1);
    set.AddCli("abc", "abc", ">>", 1, "exit", 1, 0, -1);
    set.AddFunction("", "noname", 0, 0, -1);
    set.AddConstant("", "v", NumberConstant, -1);
    MacroRecord* m = set.AddMacro("M", "x", -1);

    EXPECT_TRUE(set.FindCliPrefix("ab", 1));
    EXPECT_FALSE(set.FindCliPrefix("ab", 2));
    EXPECT_TRUE(set.FindCliPrefix("abcdef", 3));
    EXPECT_FALSE(set.FindCliPrefix("ab", 5));
    // Empty names never match a zero-length word, except for constants.
    EXPECT_FALSE(set.FindFunctionPrefix("x", 0));
    EXPECT_TRUE(set.FindConstantPrefix("x", 0));

    EXPECT_TRUE(set.FindOtherCli(nullptr, "a"));
    EXPECT_FALSE(set.FindOtherCli(a, "a"));
    EXPECT_FALSE(set.FindOtherMacro(m, "M"));
    EXPECT_TRUE(set.IsNameFree("M"));  // macros are not looked at
    EXPECT_FALSE(set.IsNameFree("a"));
    EXPECT_TRUE(set.IsMacroName("M"));
    EXPECT_FALSE(set.IsMacroName(""));

    // A rename in place is found under the new name once the set is told.
    a->name = "renamed";
    set.NamesChanged();
    EXPECT_TRUE(set.FindOtherCli(nullptr, "renamed"));
    EXPECT_FALSE(set.FindOtherCli(nullptr, "a"));
    EXPECT_TRUE(set.RemoveCli(a));
    EXPECT_FALSE(set.FindOtherCli(nullptr, "renamed"));
}

TEST_F(InterfaceSetTest, OutOfRangeInsertedIndexes)
{
    InterfaceSet set(Folders(), prompter_);
    Put("a.qzi", "CONST K : 2\r\n");
    set.InsertInterface("a.qzi", dir_.string(), 0, 0);
    for (const int index : {-2, -1, 1, 99}) {
        EXPECT_EQ(set.GetInsertedInterface(index), nullptr) << index;
        EXPECT_FALSE(set.IsInterfaceEditable(index)) << index;
        set.SetInterfaceEditable(index, 1);
    }
    EXPECT_FALSE(set.IsInterfaceEditable(0));
    set.SetInterfaceEditable(0, 1);
    EXPECT_TRUE(set.IsInterfaceEditable(0));
}

TEST_F(InterfaceSetTest, RemoveOfARecordNotOwnedReturnsFalse)
{
    InterfaceSet set(Folders(), prompter_);
    set.AddMacro("M", "x", -1);
    const MacroRecord stranger{"M", "x", -1};
    EXPECT_FALSE(set.RemoveMacro(&stranger));
    EXPECT_EQ(set.MainInterface().macros.size(), 1u);
}

TEST_F(InterfaceSetTest, AfterRemoveInsertedInterfacesEveryLookUpFailsUntilLoad)
{
    const std::string main = Put("main.qzi", "CONST K : 1\r\nCLI c : \"c|>>|1\"\r\n");
    Put("a.qzi", "CONST L : 2\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(main);
    set.InsertInterface("a.qzi", dir_.string(), 0, 0);
    set.RemoveInsertedInterfaces();
    EXPECT_EQ(set.InsertedCount(), 0);
    EXPECT_FALSE(set.FindOtherConstant(nullptr, "K"));
    EXPECT_FALSE(set.FindOtherCli(nullptr, "c"));
    EXPECT_EQ(set.CurrentPath(), main);
    set.Load(main);
    EXPECT_TRUE(set.FindOtherConstant(nullptr, "K"));
    EXPECT_EQ(set.MainInterface().constants.size(), 1u);
}

// A reload without Clear first: the old records leave the set-wide lists before they are freed.
TEST_F(InterfaceSetTest, ReloadReplacesTheMainRecordsInTheSetWideLists)
{
    const std::string main = Put("main.qzi", "CONST K : 1\r\nMACRO M : {x}\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(main);
    Put("main.qzi", "CONST K : 2\r\n");
    set.Load(main);
    EXPECT_TRUE(set.LoadErrors().empty());
    ASSERT_NE(set.All().constants.Find("K"), nullptr);
    EXPECT_EQ(set.All().constants.Find("K")->value, "2");
    EXPECT_EQ(set.All().constants.Size(), 1u);
    EXPECT_TRUE(set.All().macros.Empty());
}

TEST_F(InterfaceSetTest, ClearEmptiesEverythingButPathsAndErrors)
{
    const std::string main = Put("main.qzi", "CONST K : 1\r\nCONST K : 1\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(main);
    set.Clear();
    EXPECT_TRUE(set.MainInterface().Empty());
    EXPECT_TRUE(set.All().constants.Empty());
    EXPECT_EQ(set.MainPath(), main);
    EXPECT_EQ(set.LoadErrors().size(), 1u);
}

TEST_F(InterfaceSetTest, InsertedFileNameGivenAbsoluteIsStoredResolved)
{
    const std::string other = Put("elsewhere/b.qzi", "CONST B : 1\r\n");
    InterfaceSet set(Folders(), prompter_);
    ASSERT_TRUE(set.InsertInterface(other, (dir_ / "project").string(), 0, 1));
    EXPECT_EQ(set.InsertedPaths().front(), other);
    set.AddConstant("C", "2", NumberConstant, 0);
    // Saved where it was read from, found by its path however it is spelt.
    ASSERT_TRUE(set.SaveInterfaceByPath((dir_ / "elsewhere" / "." / "b.qzi").string()));
    EXPECT_EQ(test::ReadFile(other), ";Liste des constantes\r\nCONST B : 1\r\nCONST C : 2\r\n\r\n\r\n");
    EXPECT_FALSE(set.SaveInterfaceByPath((dir_ / "b.qzi").string()));
}

TEST_F(InterfaceSetTest, ExpandMacroUsesTheSetWideList)
{
    const std::string main = Put("main.qzi", "MACRO A : {    B & x}\r\nMACRO B : {one & two}\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(main);
    EXPECT_EQ(set.ExpandMacro("A", 1), "    B\nx");
    EXPECT_EQ(set.ExpandMacro("A", 2), "    one\n    two\nx");
    EXPECT_EQ(set.ExpandMacro("none", 10), "");
}

}  // namespace
}  // namespace zov::interfaces
