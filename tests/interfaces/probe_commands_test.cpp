// zovprobe's interface commands end to end: what they print and the files they leave.

#include "tests/support/ChildProcess.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

const std::string kProbe = std::string(ZOV_BIN_DIR) + "/zovprobe";
const std::string kDemo = std::string(ZOV_SOURCE_DIR) + "/examples/demo/demo.qzi";

class ProbeInterfaces : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("zov-iprobe-" + std::to_string(::getpid()) + "-" +
                                            testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "out");
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Put(const std::string& name, const std::string& text)
    {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        test::WriteFile(path, text);
        return path.string();
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    static test::ProcessResult Probe(const std::vector<std::string>& args)
    {
        test::ChildProcess probe(kProbe, args);
        return probe.Finish();
    }

    fs::path dir_;
};

TEST_F(ProbeInterfaces, RoundTripInPlaceKeepsTheDemoByteForByte)
{
    const std::string demo = test::ReadFile(kDemo);
    const std::string path = Put("demo.qzi", demo);
    const test::ProcessResult result = Probe({"qzi-roundtrip", path, path});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(test::ReadFile(path), demo);
    EXPECT_FALSE(fs::exists(path + ".bak"));
}

TEST_F(ProbeInterfaces, RoundTripTellsAboutTheRestoredBackupAndDuplicates)
{
    const std::string path = Put("main.qzi", "broken");
    Put("main.qzi.bak", "CONST A : 1\nCONST A : 2\nMACRO M : {x\r\n");
    const std::string out = Path("out/copy.qzi");
    const test::ProcessResult result = Probe({"qzi-roundtrip", path, out});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(
        result.out,
        "MSG: Le fichier d'interface n'a pas été correctement sauvegardé.\nChargement de la dernière sauvegarde ...\n"
        "CONST:A dupliquée\n");
    EXPECT_EQ(test::ReadFile(out),
              ";Liste des constantes\r\nCONST A : 1\r\nCONST A : 2\r\n\r\n\r\n;Liste des macros\r\nMACRO M : {}\r\n");
    EXPECT_FALSE(fs::exists(path + ".bak"));
}

TEST_F(ProbeInterfaces, RoundTripOfAMissingFile)
{
    const std::string missing = Path("none.qzi");
    const test::ProcessResult result = Probe({"qzi-roundtrip", missing, Path("out/x.qzi")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "FILE:" + missing + " non présent\n");
    EXPECT_FALSE(fs::exists(Path("out/x.qzi")));
}

TEST_F(ProbeInterfaces, TempFromMainAndInsertedInterfacesThenLines)
{
    Put("proj/tool", "");
    const std::string main =
        Put("proj/main.qzi", "CLI t : \"tool|>>|1|exit|1|0\"\r\nCONST P : \"%%PROJECTPATH%%\"\r\n");
    Put("lib/a.qzi", "CONST P : \"other\"\r\nMACRO M : {a & b}\r\n");
    const std::string out = Path("out/Temp.qzi");
    const test::ProcessResult result =
        Probe({"qzi-temp", "--install", Path("prog"), "--engine", Path("prog"), "--project", Path("proj"), "--main",
               main, "--insert", Path("lib"), "a.qzi", "--insert", Path("lib"), "missing.qzi", out});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "CONST:P dupliquée\nFILE:" + Path("lib/missing.qzi") + " non présent\n");
    EXPECT_EQ(test::ReadFile(out),
              ";Liste des CLI\r\nCLI t : \"../proj/tool|>>|1|exit|1|0\"\r\n\r\n\r\n"
              ";Liste des constantes\r\nCONST P : \"" +
                  Path("proj") +
                  "\"\r\n\r\n\r\n"
                  ";Liste des macros\r\nMACRO M : {a & b}\r\n");

    struct Expected {
        const char* line;
        const char* printed;
    };
    for (const Expected& e : {Expected{"1", "0 \n"}, Expected{"2", "1 t\n"}, Expected{"6", "3 P\n"},
                              Expected{"10", "4 M\n"}, Expected{"11", "0 \n"}}) {
        const test::ProcessResult line = Probe({"qzi-line", out, e.line});
        EXPECT_EQ(line.exitCode, 0);
        EXPECT_EQ(line.out, e.printed) << e.line;
    }
}

TEST_F(ProbeInterfaces, ExpandMacroPrintsLines)
{
    const std::string path = Put("m.qzi", "MACRO A : {x = 1 &   B}\r\nMACRO B : {y = \"p & q\" & z = 2}\r\n");
    EXPECT_EQ(Probe({"expand-macro", path, "A", "1"}).out, "x = 1\n  B\n");
    EXPECT_EQ(Probe({"expand-macro", path, "A", "2"}).out, "x = 1\n  y = \"p & q\"\n  z = 2\n");
    EXPECT_EQ(Probe({"expand-macro", path, "none", "2"}).out, "");
}

}  // namespace
}  // namespace zov
