// Saving and loading interface files: the ".bak" copy that protects the main interface, what a
// failed write keeps, and when the set counts as modified.

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

const std::string kDemo = std::string(ZOV_SOURCE_DIR) + "/examples/demo/demo.qzi";
const std::string kRestored =
    "Le fichier d'interface n'a pas été correctement sauvegardé.\nChargement de la dernière sauvegarde ...";

class InterfaceSaveTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zov-isave-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "tmp");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        test::WriteFile(path, text);
        return path.string();
    }

    InterfaceFolders Folders() const { return {dir_.string(), dir_.string(), (dir_ / "tmp").string()}; }

    fs::path dir_;
    shell::RecordingPrompter prompter_;
};

TEST_F(InterfaceSaveTest, DemoSavedUnchangedIsByteIdenticalAndLeavesNoBackup)
{
    const std::string demo = test::ReadFile(kDemo);
    const std::string path = Put("demo.qzi", demo);
    InterfaceSet set(Folders(), prompter_);
    ASSERT_TRUE(set.Load(path));
    EXPECT_TRUE(set.LoadErrors().empty());
    ASSERT_TRUE(set.Save());
    EXPECT_EQ(test::ReadFile(path), demo);
    EXPECT_FALSE(fs::exists(path + ".bak"));
    EXPECT_TRUE(prompter_.Prompts().empty());
}

TEST_F(InterfaceSaveTest, BackupFoundByLoadIsRestoredAndTheUserTold)
{
    const std::string path = Put("main.qzi", "CONST HALF");
    Put("main.qzi.bak", "CONST WHOLE : 1\r\n");
    const shell::Translate tag = [](std::string_view text) { return "<" + std::string(text) + ">"; };
    InterfaceSet set(Folders(), prompter_, tag);
    ASSERT_TRUE(set.Load(path));
    ASSERT_EQ(prompter_.Prompts().size(), 1u);
    EXPECT_EQ(prompter_.Prompts()[0].text, "<" + kRestored + ">");
    EXPECT_EQ(prompter_.Prompts()[0].buttons, shell::PromptButtons::Ok);
    EXPECT_EQ(test::ReadFile(path), "CONST WHOLE : 1\r\n");
    EXPECT_FALSE(fs::exists(path + ".bak"));
    ASSERT_EQ(set.MainInterface().constants.size(), 1u);
    EXPECT_EQ(set.MainInterface().constants[0]->name, "WHOLE");
}

// A write that fails leaves the file as it was and keeps its copy, so that nothing is lost; the
// user is told which file.
TEST_F(InterfaceSaveTest, FailedWriteKeepsFileAndBackupAndSaysSo)
{
    const std::string path = Put("main.qzi", "CONST A : 1\r\n");
    InterfaceSet set(Folders(), prompter_);
    ASSERT_TRUE(set.Load(path));
    set.AddConstant("B", "2", NumberConstant, -1);
    set.SetFileWriter([](const std::string&, std::string_view) { return false; });
    EXPECT_FALSE(set.Save());
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Impossible d'enregistrer le fichier:\n" + path});
    EXPECT_EQ(prompter_.Prompts()[0].icon, shell::PromptIcon::Warning);
    EXPECT_EQ(test::ReadFile(path), "CONST A : 1\r\n");
    EXPECT_EQ(test::ReadFile(path + ".bak"), "CONST A : 1\r\n");
    EXPECT_TRUE(set.Modified());
}

TEST_F(InterfaceSaveTest, NoMainFileAndNothingToKeepSavesSilently)
{
    InterfaceSet set(Folders(), prompter_);
    set.Load((dir_ / "missing.qzi").string());
    EXPECT_TRUE(set.Save());
    EXPECT_TRUE(prompter_.Prompts().empty());
    // Records without a file to hold them: the user is told.
    set.AddConstant("A", "1", NumberConstant, -1);
    EXPECT_FALSE(set.Save());
    EXPECT_EQ(prompter_.Texts(), std::vector<std::string>{"Impossible d'enregistrer le fichier:\n"});
}

TEST_F(InterfaceSaveTest, TempInterfaceDoesNotCountAsSaved)
{
    const std::string path = Put("main.qzi", "CONST A : 1\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(path);
    EXPECT_FALSE(set.Modified());
    set.AddConstant("B", "2", NumberConstant, -1);
    ASSERT_TRUE(set.WriteTempInterface());
    EXPECT_TRUE(set.Modified());
    ASSERT_TRUE(set.Save());
    EXPECT_FALSE(set.Modified());
}

TEST_F(InterfaceSaveTest, OnlyInsertedInterfacesOpenForEditingAreWritten)
{
    const std::string main = Put("main.qzi", "");
    const std::string a = Put("a.qzi", "CONST A : 1\n");
    const std::string b = Put("b.qzi", "CONST B : 1\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(main);
    set.InsertInterface("a.qzi", dir_.string(), 0, 1);
    set.InsertInterface("b.qzi", dir_.string(), 1, 0);
    ASSERT_TRUE(set.Save());
    EXPECT_EQ(test::ReadFile(main), "");
    EXPECT_EQ(test::ReadFile(a), ";Liste des constantes\r\nCONST A : 1\r\n\r\n\r\n");
    EXPECT_EQ(test::ReadFile(b), "CONST B : 1\n");
    EXPECT_FALSE(fs::exists(a + ".bak"));
    EXPECT_FALSE(fs::exists(main + ".bak"));
}

// Files made on Windows: Windows-1252 bytes read as their characters, saved back in UTF-8.
TEST_F(InterfaceSaveTest, Windows1252FileIsSavedAsUtf8)
{
    const std::string path = Put("main.qzi", "CONST T : \"\xE9t\xE9\"\r\n");
    InterfaceSet set(Folders(), prompter_);
    set.Load(path);
    ASSERT_EQ(set.MainInterface().constants.size(), 1u);
    EXPECT_EQ(set.MainInterface().constants[0]->value, "été");
    set.Save();
    EXPECT_EQ(test::ReadFile(path), ";Liste des constantes\r\nCONST T : \"été\"\r\n\r\n\r\n");
}

}  // namespace
}  // namespace zov::interfaces
