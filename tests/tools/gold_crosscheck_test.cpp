// Every test grammar, compiled by our compiler, loads in an independent reader of the table
// format (@warfley/node-gold-engine) and accepts and rejects the same texts as our parser.

#include "../support/GoldCrossCheck.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <sys/wait.h>

using namespace zov;
using namespace zov::test;

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
        "void killall()",
        "char* strextract(char* ch, char* str, int idx)",
        "bool strfind(char* str, char* ch)",
        "int exec(char* str)",
        "void f(int)",
        "int f(char* a,)",
        "char* ()",
        "int f(char* a) x",
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
