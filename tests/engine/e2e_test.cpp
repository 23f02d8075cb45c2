// The real zovrun, started as the IDE starts it (its folder current, commands on standard
// input), running small scripts and interface files from tests/engine/e2e/. Standard output
// is compared line for line with golden files there; "{dir}" in a golden file stands for the
// fixture folder and "{kb}" for the working-set growth of the verbose memory line.

#include "EngineProcess.h"

#include "../support/FileText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace zov {
namespace {

namespace fs = std::filesystem;

const std::string kFixtures = std::string(ZOV_SOURCE_DIR) + "/tests/engine/e2e";
const std::string kBin = ZOV_BIN_DIR;

using zov::test::ReadFile;

std::string Golden(const std::string& name)
{
    std::string text = ReadFile(kFixtures + "/" + name);
    EXPECT_FALSE(text.empty()) << "golden file " << name;
    for (std::size_t at; (at = text.find("{dir}")) != std::string::npos;)
        text.replace(at, 5, kFixtures);
    return text;
}

std::string MaskMemoryLine(const std::string& out)
{
    static const std::regex memory("(Memoire allouee pour le script : )-?[0-9]+( Ko)");
    return std::regex_replace(out, memory, "$1{kb}$2");
}

struct Run {
    std::vector<std::string> flags;  // zovrun's own arguments, such as -v
    std::string before;              // console lines sent before `interpret`
    std::string interfaceFile;       // in the fixture folder, unless absolute
    std::string script;
    std::string params = "{}";
    std::string cwd = kBin;
};

std::string FixturePath(const std::string& name)
{
    return !name.empty() && name[0] == '/' ? name : kFixtures + "/" + name;
}

std::string InterpretLine(const Run& run)
{
    return "interpret -dicofn \"" + FixturePath(run.interfaceFile) + "\" -scriptfn \"" + FixturePath(run.script) +
           "\" -params " + run.params + "\n";
}

// zovrun with `cwd` as its current folder (the grammar tables are opened by bare name).
test::EngineProcess Start(const Run& run)
{
    std::vector<std::string> args{"-C", run.cwd, kBin + "/zovrun"};
    args.insert(args.end(), run.flags.begin(), run.flags.end());
    return test::EngineProcess(args, "/usr/bin/env");
}

test::ProcessResult RunToEnd(const Run& run)
{
    test::EngineProcess engine = Start(run);
    EXPECT_TRUE(engine.Started());
    engine.Send(run.before + InterpretLine(run));
    return engine.Finish();
}

void ExpectEndedAfterTheRun(const test::ProcessResult& result)
{
    EXPECT_FALSE(result.timedOut);
    EXPECT_TRUE(result.Exited());
    EXPECT_EQ(result.exitCode, 1);
}

// A folder holding the grammar tables but one.
class TablesWithout {
public:
    explicit TablesWithout(const std::string& missing)
    {
        std::string pattern = (fs::temp_directory_path() / "zov-e2e-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            dir_ = pattern;
        for (const char* table : {"zov.cgt", "Function.cgt", "Interface.cgt"})
            if (missing != table)
                fs::copy_file(kBin + "/" + table, dir_ / table);
    }
    ~TablesWithout() { fs::remove_all(dir_); }
    std::string Path() const { return dir_.string(); }

private:
    fs::path dir_;
};

struct GoldenCase {
    const char* name;  // the golden file is <name>.out
    Run run;
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name << " (" << c.run.script << ")";
}

class GoldenRunTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenRunTest, WritesExactlyTheGoldenLines)
{
    const GoldenCase& c = GetParam();
    const test::ProcessResult result = RunToEnd(c.run);
    ExpectEndedAfterTheRun(result);
    EXPECT_EQ(MaskMemoryLine(result.out), Golden(std::string(c.name) + ".out"));
    EXPECT_EQ(result.err, "");
}

const std::string kVerify = "verify -val 1\n";

INSTANTIATE_TEST_SUITE_P(
    Runs, GoldenRunTest,
    ::testing::Values(GoldenCase{"good", {{}, "", "basic.qzi", "good_crlf.qzs"}},
                      GoldenCase{"good", {{}, "", "basic.qzi", "good_lf.qzs"}},
                      GoldenCase{"good_verbose", {{"-v"}, "", "basic.qzi", "good_crlf.qzs"}},
                      GoldenCase{"good_quiet", {{}, "notifyline -val 0\n", "basic.qzi", "loops.qzs"}},
                      GoldenCase{"verify_ok", {{}, kVerify, "basic.qzi", "good_crlf.qzs"}},
                      GoldenCase{"verify_ok_verbose", {{"-v"}, kVerify, "basic.qzi", "good_lf.qzs"}},
                      GoldenCase{"verify_nok", {{}, kVerify, "basic.qzi", "undefined_variable.qzs"}},
                      GoldenCase{"verify_nok_initialisation", {{}, kVerify, "missing.qzi", "good_crlf.qzs"}},
                      GoldenCase{"verify_nok_refused_line", {{}, kVerify, "refused.qzi", "good_crlf.qzs"}},
                      GoldenCase{"missing_interface", {{}, "", "missing.qzi", "good_crlf.qzs"}},
                      GoldenCase{"missing_interface_verbose", {{"-v"}, "", "missing.qzi", "good_crlf.qzs"}},
                      // An empty name is the fixture folder itself: a folder is no interface file.
                      GoldenCase{"folder_interface", {{}, "", "", "good_crlf.qzs"}},
                      GoldenCase{"missing_script", {{}, "", "basic.qzi", "missing.qzs"}},
                      GoldenCase{"missing_script_verbose", {{"-v"}, "", "basic.qzi", "missing.qzs"}},
                      GoldenCase{"refused_line", {{}, "", "refused.qzi", "good_crlf.qzs"}},
                      GoldenCase{"refused_line_verbose", {{"-v"}, "", "refused.qzi", "good_crlf.qzs"}},
                      GoldenCase{"undefined_variable", {{}, "", "basic.qzi", "undefined_variable.qzs"}},
                      GoldenCase{"type_error", {{}, "", "basic.qzi", "type_error.qzs"}},
                      GoldenCase{"missing_end", {{}, "", "basic.qzi", "missing_end.qzs"}},
                      GoldenCase{"unknown_function", {{}, "", "basic.qzi", "unknown_function.qzs"}},
                      GoldenCase{"cli_run", {{}, "", "tools.qzi", "cli_run.qzs", "{7}"}},
                      GoldenCase{"cli_run_verbose", {{"-v"}, "", "tools.qzi", "cli_run.qzs", "{7}"}},
                      GoldenCase{"depth9", {{}, "notifyline -val 0\n", "deep.qzi", "depth9.qzs"}},
                      GoldenCase{"depth10", {{}, "", "deep.qzi", "depth10.qzs"}},
                      GoldenCase{"depth10", {{}, "", "deep.qzi", "self.qzs"}},
                      GoldenCase{"params_empty_first", {{}, kVerify, "basic.qzi", "params_first.qzs", "{;x}"}}),
    [](const ::testing::TestParamInfo<GoldenCase>& param) {
        return std::string(param.param.name) + "_" + std::to_string(param.index);
    });

TEST(EngineEndToEnd, ACrOnlyScriptRunsLikeItsCrLfTwin)
{
    const std::string crlf = ReadFile(kFixtures + "/good_crlf.qzs");
    std::string cr;
    for (std::size_t i = 0; i < crlf.size(); ++i)
        if (!(crlf[i] == '\n' && i > 0 && crlf[i - 1] == '\r'))
            cr += crlf[i];
    ASSERT_EQ(cr.find('\n'), std::string::npos);
    const fs::path script = fs::temp_directory_path() / ("zov-e2e-cr-" + std::to_string(::getpid()) + ".qzs");
    std::ofstream(script, std::ios::binary) << cr;

    const test::ProcessResult result = RunToEnd({{}, "", "basic.qzi", script.string()});
    fs::remove(script);
    ExpectEndedAfterTheRun(result);
    EXPECT_EQ(result.out, Golden("good.out"));
}

TEST(EngineEndToEnd, AMissingScriptGrammarEndsTheRunAfterItsReadingLine)
{
    TablesWithout tables("zov.cgt");
    const test::ProcessResult quiet = RunToEnd({{}, "", "basic.qzi", "good_crlf.qzs", "{}", tables.Path()});
    ExpectEndedAfterTheRun(quiet);
    EXPECT_EQ(quiet.out, "ZOV Engine - Initialisation\neng:Impossible de lire le ficher (zov.cgt)\n");

    const test::ProcessResult verbose = RunToEnd({{"-v"}, "", "basic.qzi", "good_crlf.qzs", "{}", tables.Path()});
    ExpectEndedAfterTheRun(verbose);
    EXPECT_EQ(verbose.out, Golden("missing_grammar_verbose.out"));
}

TEST(EngineEndToEnd, AMissingPrototypeGrammarFailsEveryBuiltinThenTheCount)
{
    TablesWithout tables("Function.cgt");
    const test::ProcessResult result = RunToEnd({{}, "", "basic.qzi", "good_crlf.qzs", "{}", tables.Path()});
    ExpectEndedAfterTheRun(result);
    std::string expected = "ZOV Engine - Initialisation\neng:Impossible de lire le ficher (Function.cgt)\n";
    for (int i = 0; i < 58; ++i)
        expected += "eng:-> Erreur: Impossible d'integrer une fonction\n";
    expected += "eng: Mauvaise initialisation des fonctions (0 - 58)\n";
    EXPECT_EQ(result.out, expected);
}

// Stops before the last line of the script, asks for each variable and lets the run end.
std::string ValuesAtLastLine(const Run& run, int lastLine, const std::vector<std::string>& names)
{
    test::EngineProcess engine = Start(run);
    const std::string stop = "cmd: bk : " + std::to_string(lastLine) + "\n";
    engine.Send("notifyline -val 0\nsetbkp -line " + std::to_string(lastLine) + " -state on\n" + InterpretLine(run));
    EXPECT_TRUE(engine.WaitForOutput(stop));
    for (const std::string& name : names) {
        engine.Send("getval -name " + name + "\n");
        EXPECT_TRUE(engine.WaitForOutput("cmd:val:" + name + ":")) << name;
    }
    engine.Send("continue\n");
    const test::ProcessResult result = engine.Finish();
    ExpectEndedAfterTheRun(result);
    return result.out;
}

TEST(EngineEndToEnd, MacrosAndParametersExpandBeforeTheScriptIsParsed)
{
    // LIMIT is defined twice (40, then 50): the first definition wins. C1 -> C2 -> C3 -> 7
    // is a chain of three. A constant expands inside an expression, not inside quotes; a
    // parameter whose value names a constant expands further; a continued line is joined.
    const std::string out = ValuesAtLastLine({{}, "", "basic.qzi", "macros.qzs", "{5;\"deux\";LIMIT}"}, 10,
                                             {"a", "e", "b", "s", "p", "q", "r", "t"});
    EXPECT_EQ(out, Golden("macros.out"));
}

}  // namespace
}  // namespace zov
