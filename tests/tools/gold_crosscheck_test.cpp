// Every test grammar, compiled by our compiler, loads in an independent reader of the table
// format (@warfley/node-gold-engine) and accepts and rejects the same texts as our parser.

#include "GrammarTable.h"
#include "Parser.h"
#include "Scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/wait.h>

using namespace zov;

namespace {

// Empty texts are left out: our scanner refuses them by design, the other reader does not.
const std::map<std::string, std::vector<std::string>> Samples = {
    {"mini",
     {
         "a = 1\n",
         "a = 1",
         "\n\nx = (1 + 2) * y / 3.5 - \"text\"\n",
         "IF x THEN\n  y = 1\nELSE\n  y = 2\nEND\n",
         "while a do // loop\n  call f(1, b, \"c\")\nend\n",
         "for i = 1 to 10 do\n  repeat\n    x = x + 1\n  until x\nend\n",
         "case k of\nwhen 1:\n  a = 1\nwhen \"two\":\n  a = 2\nend\n",
         "call g()\n",
         "if x then\n  y = 1\n",
         "a = \n",
         "a = b c\n",
         "while a\n  b = 1\nend\n",
         "call f(1,)\n",
         "a = 1 // note\n// only a comment\n",
         "x = $\n",
         "end\n",
     }},
    {"proto",
     {
         "int f(char* a, void* b)",
         "void killall()",
         "double round(double val, int prec)",
         "Int f()",
         "void f(int)",
         "char * f()",
         "void f(int a,)",
         "bool\tok ( bool b )",
     }},
};

std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

bool OursAccepts(CGrammarTable& table, const std::string& text)
{
    CScanner* scanner = table.CreateScanner();
    if (!scanner->Tokenize(text))
        return false;
    CParser* parser = table.CreateParser();
    return parser->Parse(scanner->GetTokens()) != nullptr;
}

// The independent reader's verdict ("accept" or "reject") on each sample, or a failure.
::testing::AssertionResult IndependentVerdicts(const std::filesystem::path& table, const std::vector<std::string>& samples,
                                               std::vector<std::string>& verdicts)
{
    const std::filesystem::path modules = std::filesystem::path(ZOV_SOURCE_DIR) / "tools" / "node_modules";
    const std::filesystem::path script = std::filesystem::path(ZOV_SOURCE_DIR) / "tests" / "tools" / "gold_crosscheck.js";
    const std::filesystem::path json =
        std::filesystem::temp_directory_path() / ("zov-crosscheck-" + std::to_string(::getpid()) + ".json");
    {
        std::ofstream out(json, std::ios::binary);
        out << "[";
        for (size_t i = 0; i < samples.size(); ++i)
            out << (i ? ",\n" : "") << Quote(samples[i]);
        out << "]\n";
    }
    const std::string command = "node '" + script.string() + "' '" + modules.string() + "' '" + table.string() +
                                "' '" + json.string() + "' 2>&1";
    std::FILE* p = ::popen(command.c_str(), "r");
    if (!p)
        return ::testing::AssertionFailure() << "cannot start node";
    verdicts.clear();
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) {
        std::string line(buf);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        verdicts.push_back(line);
    }
    const int status = ::pclose(p);
    std::filesystem::remove(json);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return ::testing::AssertionFailure() << (verdicts.empty() ? std::string("no output") : verdicts.front());
    if (verdicts.size() != samples.size())
        return ::testing::AssertionFailure() << verdicts.size() << " verdicts for " << samples.size() << " samples";
    return ::testing::AssertionSuccess();
}

// Compares the two readers on every sample; both verdicts must occur, so that the check is not
// won by a reader that always agrees.
void ExpectSameVerdicts(const std::filesystem::path& table, const std::vector<std::string>& samples)
{
    std::vector<std::string> verdicts;
    ASSERT_TRUE(IndependentVerdicts(table, samples, verdicts));
    CGrammarTable ours;
    ASSERT_TRUE(ours.Load(table.string()));
    size_t accepted = 0;
    for (size_t i = 0; i < verdicts.size(); ++i) {
        const std::string& text = samples[i];
        const bool accepts = OursAccepts(ours, text);
        accepted += accepts;
        EXPECT_EQ(verdicts[i], accepts ? "accept" : "reject") << "text: " << Quote(text);
    }
    EXPECT_GT(accepted, 0u);
    EXPECT_LT(accepted, verdicts.size());
}

// Skips the test when the independent reader is not installed.
#define ZOV_NEED_INDEPENDENT_READER()                                                                           \
    do {                                                                                                        \
        const std::filesystem::path modules = std::filesystem::path(ZOV_SOURCE_DIR) / "tools" / "node_modules"; \
        if (!std::filesystem::exists(modules / "@warfley" / "node-gold-engine"))                                \
            GTEST_SKIP() << "tools/node_modules is missing: run scripts/setup.sh (npm ci in tools/)";           \
        if (std::system("node --version >/dev/null 2>&1") != 0)                                                 \
            GTEST_SKIP() << "node is not installed: run scripts/setup.sh to enable this check";                 \
    } while (0)

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(GoldCrossCheck, IndependentReaderAgreesOnEveryTestGrammar)
{
    ZOV_NEED_INDEPENDENT_READER();
    size_t grammars = 0;
    for (const auto& file : std::filesystem::directory_iterator(ZOV_TEST_GRAMMARS)) {
        if (file.path().extension() != ".cgt")
            continue;
        ++grammars;
        const std::string name = file.path().stem().string();
        SCOPED_TRACE(name);
        auto samples = Samples.find(name);
        ASSERT_NE(samples, Samples.end()) << "no sample texts for the test grammar " << name;
        ExpectSameVerdicts(file.path(), samples->second);
    }
    EXPECT_GE(grammars, 2u);
}

// The tables the engine reads, on the texts the engine's own tests feed them: the scripts of
// the script tests, the prototypes of built-ins, and each line of the interface files.
TEST(GoldCrossCheck, IndependentReaderAgreesOnTheEngineGrammars)
{
    ZOV_NEED_INDEPENDENT_READER();
    const std::filesystem::path bin(ZOV_BIN_DIR);
    const std::filesystem::path fixtures = std::filesystem::path(ZOV_SOURCE_DIR) / "tests" / "engine";

    std::vector<std::string> scripts;
    for (const char* folder : {"scripts", "scripts/bad"}) {
        for (const auto& file : std::filesystem::directory_iterator(fixtures / folder))
            if (file.path().extension() == ".qzs")
                scripts.push_back(ReadFile(file.path()));
    }
    ASSERT_GT(scripts.size(), 10u);
    {
        SCOPED_TRACE("zov.cgt");
        ExpectSameVerdicts(bin / "zov.cgt", scripts);
    }

    const std::vector<std::string> prototypes = {
        "void killall()",   "char* strextract(char* ch, char* str, int idx)", "bool strfind(char* str, char* ch)",
        "int exec(char* str)", "void f(int)",  "int f(char* a,)", "char* ()", "int f(char* a) x",
    };
    {
        SCOPED_TRACE("Function.cgt");
        ExpectSameVerdicts(bin / "Function.cgt", prototypes);
    }

    std::vector<std::string> interfaceLines;
    for (const auto& file : std::filesystem::directory_iterator(fixtures / "interfaces")) {
        std::istringstream in(ReadFile(file.path()));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (!line.empty())
                interfaceLines.push_back(line);
        }
    }
    ASSERT_GT(interfaceLines.size(), 5u);
    {
        SCOPED_TRACE("Interface.cgt");
        ExpectSameVerdicts(bin / "Interface.cgt", interfaceLines);
    }
}
