// The temporary interface Temp.qzi: what expansion writes for the engine, which records it holds,
// and the real zovrun as the judge that it reads what we write; GetDefinitionAtLine maps the
// engine's line numbers back to definitions.

#include "ide/interfaces/model/InterfaceSet.h"
#include "ide/interfaces/model/MacroText.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace zov::interfaces {
namespace {

namespace fs = std::filesystem;

const std::string kBin = ZOV_BIN_DIR;
const std::string kDemo = std::string(ZOV_SOURCE_DIR) + "/examples/demo/demo.qzi";

class TempInterfaceTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zov-itemp-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        for (const char* sub : {"prog", "engine", "proj", "other", "tmp"})
            fs::create_directories(dir_ / sub);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        test::WriteFile(path, text);
        return path.string();
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Temp() const { return test::ReadFile(dir_ / "tmp" / "Temp.qzi"); }

    fs::path dir_;
    shell::RecordingPrompter prompter_;
};

// A bare program name beside its interface file is named from the engine's working folder; a
// program found elsewhere by the engine (its folder, PATH), a path, and a program beside an
// interface in the engine's own folder are written as they stand.
TEST_F(TempInterfaceTest, CliPathsFromTheEngineFolder)
{
    Put("proj/tool", "");
    Put("prog/near", "");
    Put("other/itool", "");
    const std::string main = Put("proj/main.qzi",
                                 "CLI a : \"tool|>>|1|exit|1|0\"\r\n"
                                 "CLI b : \"tool.exe -x 1|>>|1|exit|1|0\"\r\n"
                                 "CLI c : \"quarnel|>>|1|exit|1|0\"\r\n"
                                 "CLI d : \"sub/tool|>>|1|exit|1|0\"\r\n"
                                 "CLI e : \"..\\tool|>>|1|exit|1|0\"\r\n"
                                 "CLI f : \"\\\"tool\\\" -q|>>|1|exit|1|0\"\r\n");
    Put("other/ins.qzi", "CLI i : \"itool|>>|1|exit|1|0\"\r\nCLI a : \"hidden|>>|1|exit|1|0\"\r\n");
    InterfaceSet set({Path("prog"), Path("engine"), Path("tmp")}, prompter_);
    ASSERT_TRUE(set.Load(main));
    ASSERT_TRUE(set.InsertInterface("ins.qzi", Path("other"), 0, 0));
    ASSERT_TRUE(set.WriteTempInterface());
    EXPECT_EQ(Temp(),
              ";Liste des CLI\r\n"
              "CLI a : \"../proj/tool|>>|1|exit|1|0\"\r\n"
              "CLI b : \"../proj/tool.exe -x 1|>>|1|exit|1|0\"\r\n"
              "CLI c : \"quarnel|>>|1|exit|1|0\"\r\n"
              "CLI d : \"sub/tool|>>|1|exit|1|0\"\r\n"
              "CLI e : \"..\\tool|>>|1|exit|1|0\"\r\n"
              "CLI f : \"\\\"tool\\\" -q|>>|1|exit|1|0\"\r\n"
              "CLI i : \"../other/itool|>>|1|exit|1|0\"\r\n\r\n\r\n");
    // The saved interface keeps the names as the user gave them.
    set.SetInterfaceEditable(0, 0);
    ASSERT_TRUE(set.Save());
    EXPECT_NE(test::ReadFile(main).find("CLI a : \"tool|>>|1|exit|1|0\""), std::string::npos);
}

TEST_F(TempInterfaceTest, InterfaceInTheEngineFolderKeepsBareNames)
{
    Put("prog/tool", "");
    const std::string main = Put("prog/main.qzi", "CLI a : \"tool|>>|1|exit|1|0\"\r\n");
    InterfaceSet set({Path("prog"), "", Path("tmp")}, prompter_);
    set.Load(main);
    ASSERT_TRUE(set.WriteTempInterface());
    EXPECT_EQ(Temp(), ";Liste des CLI\r\nCLI a : \"tool|>>|1|exit|1|0\"\r\n\r\n\r\n");
}

TEST_F(TempInterfaceTest, PredefinedConstantsBecomeTheirFolders)
{
    const std::string main = Put("proj/main.qzi",
                                 "CONST Z : \"%%ZOVPATH%%\"\r\nCONST P : \"%%PROJECTPATH%%\"\r\n"
                                 "CONST W : \"%%WINDOWS%%\"\r\nCONST S : \"%%SYSTEM%%\"\r\nCONST T : \"%%TEMP%%\"\r\n"
                                 "CONST O : \"%%OTHER%%\"\r\nCONST E : \"\"\r\nCONST Q : \"%%ZOVPATH%%/x\"\r\n");
    InterfaceSet set({Path("prog"), "", Path("tmp")}, prompter_);
    set.Load(main);
    set.SetProjectFolder("C:\\Bench\\Proj");
    ASSERT_TRUE(set.WriteTempInterface());
    EXPECT_EQ(Temp(),
              ";Liste des constantes\r\n"
              "CONST Z : \"" +
                  Path("prog") +
                  "\"\r\n"
                  "CONST P : \"C:\\\\Bench\\\\Proj\"\r\n"
                  "CONST W : \"/\"\r\nCONST S : \"/usr/bin\"\r\n"
                  "CONST T : \"" +
                  set.TempConstantFolder() +
                  "\"\r\n"
                  "CONST O : \"%%OTHER%%\"\r\nCONST E : \"\"\r\nCONST Q : \"%%ZOVPATH%%/x\"\r\n\r\n\r\n");
    const char* tmpdir = std::getenv("TMPDIR");
    EXPECT_EQ(set.TempConstantFolder(), tmpdir && *tmpdir ? fs::path(tmpdir).string() : "/tmp");
}

TEST_F(TempInterfaceTest, MainInterfaceAloneOrTheWinnersOfTheWholeSet)
{
    const std::string main = Put("proj/main.qzi", "CONST K : 1\r\nCONST K : 2\r\n");
    Put("other/a.qzi", "CONST K : 3\r\nCONST L : 4\r\n");
    InterfaceSet set({Path("prog"), "", Path("tmp")}, prompter_);
    set.Load(main);
    ASSERT_TRUE(set.WriteTempInterface());
    // No interface inserted: the main interface as it is, duplicates included.
    EXPECT_EQ(Temp(), ";Liste des constantes\r\nCONST K : 1\r\nCONST K : 2\r\n\r\n\r\n");
    set.InsertInterface("a.qzi", Path("other"), 0, 0);
    ASSERT_TRUE(set.WriteTempInterface());
    EXPECT_EQ(Temp(), ";Liste des constantes\r\nCONST K : 1\r\nCONST L : 4\r\n\r\n\r\n");
}

// zovrun, started as the IDE starts it (its own folder as working folder), on Temp.qzi.
test::ProcessResult RunEngine(const std::string& interfaceFile, const std::string& script)
{
    test::ChildProcess engine(kBin + "/zovrun", {}, kBin);
    engine.Send("interpret -dicofn \"" + interfaceFile + "\" -scriptfn \"" + script + "\" -params {}\n");
    return engine.Finish(false);
}

std::vector<std::string> DpbLines(const std::string& out)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < out.size();) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        const std::string line = out.substr(start, end - start);
        if (line.starts_with("dpb:"))
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

TEST_F(TempInterfaceTest, TheEngineReadsEveryLineWeWrite)
{
    const std::string main = Put("proj/main.qzi", test::ReadFile(kDemo));
    const std::string script = Put("proj/run.qzs", "a = PI\r\nb = DEMO_TITLE\r\nc = ZP\r\n");
    InterfaceSet set({Path("prog"), "", Path("tmp")}, prompter_);
    ASSERT_TRUE(set.Load(main));
    set.SetProjectFolder(Path("proj"));
    for (const char* value : {"%%ZOVPATH%%", "%%PROJECTPATH%%", "%%WINDOWS%%", "%%SYSTEM%%", "%%TEMP%%"})
        set.AddConstant(std::string("Z") + value[2], value, PredefinedConstant, -1);
    set.AddConstant("EMPTY", "", StringConstant, -1);
    set.AddMacro("INIT", FoldMacroText("x = 1\r\ny = \"a & b\"\r\n"), -1);
    set.AddFunction("twice", "twice %% %%", 2, 3, -1);
    ASSERT_TRUE(set.WriteTempInterface());

    const test::ProcessResult result = RunEngine(set.GetTempInterfacePath(), script);
    EXPECT_TRUE(DpbLines(result.out).empty()) << result.out;
    EXPECT_EQ(result.out.find("Erreur"), std::string::npos) << result.out;
}

// A line the engine refuses is reported by its number in Temp.qzi, and that number names the
// definition on it.
TEST_F(TempInterfaceTest, RefusedLineIsNamedByGetDefinitionAtLine)
{
    const std::string main = Put("proj/main.qzi", "CONST A : 1\r\n");
    const std::string script = Put("proj/run.qzs", "a = 1\r\n");
    InterfaceSet set({Path("prog"), "", Path("tmp")}, prompter_);
    set.Load(main);
    set.AddConstant("my const", "2", NumberConstant, -1);
    set.AddMacro("M", "x = 1", -1);
    ASSERT_TRUE(set.WriteTempInterface());

    const test::ProcessResult result = RunEngine(set.GetTempInterfacePath(), script);
    const std::vector<std::string> dpb = DpbLines(result.out);
    ASSERT_EQ(dpb.size(), 1u) << result.out;
    const int line = std::atoi(dpb[0].c_str() + 4);
    EXPECT_EQ(line, 3);
    EXPECT_EQ(set.GetDefinitionAtLine(line), std::make_pair(DefinitionKind::Constant, std::string("my const")));

    struct Expected {
        int line;
        DefinitionKind kind;
        const char* name;
    };
    for (const Expected& e : {Expected{1, DefinitionKind::None, ""}, Expected{2, DefinitionKind::Constant, "A"},
                              Expected{4, DefinitionKind::None, ""}, Expected{6, DefinitionKind::None, ""},
                              Expected{7, DefinitionKind::Macro, "M"}, Expected{8, DefinitionKind::None, ""},
                              Expected{0, DefinitionKind::None, ""}, Expected{-3, DefinitionKind::None, ""}})
        EXPECT_EQ(set.GetDefinitionAtLine(e.line), std::make_pair(e.kind, std::string(e.name))) << e.line;
}

TEST(DefinitionAtLine, CountsLinesAsTheEngineDoes)
{
    const fs::path file = fs::temp_directory_path() / ("zov-iline-" + std::to_string(::getpid()) + ".qzi");
    test::WriteFile(file, "x\rCONST A : 1\nCLI c : \"c|>>|1\"\r\n\r\n&f(@1) : \"f\"");
    EXPECT_EQ(ReadDefinitionAtLine(file.string(), 2), std::make_pair(DefinitionKind::Constant, std::string("A")));
    EXPECT_EQ(ReadDefinitionAtLine(file.string(), 3), std::make_pair(DefinitionKind::Cli, std::string("c")));
    EXPECT_EQ(ReadDefinitionAtLine(file.string(), 5), std::make_pair(DefinitionKind::Function, std::string("f")));
    fs::remove(file);
    EXPECT_EQ(ReadDefinitionAtLine(file.string(), 2), std::make_pair(DefinitionKind::None, std::string()));
}

}  // namespace
}  // namespace zov::interfaces
