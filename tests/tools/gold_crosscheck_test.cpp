// Every test grammar, compiled by our compiler, loads in an independent reader of the table
// format (@warfley/node-gold-engine) and accepts and rejects the same texts as our parser.

#include "GrammarTable.h"
#include "Parser.h"
#include "Scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
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

}  // namespace

TEST(GoldCrossCheck, IndependentReaderAgreesOnEveryTestGrammar)
{
    const std::filesystem::path modules = std::filesystem::path(ZOV_SOURCE_DIR) / "tools" / "node_modules";
    if (!std::filesystem::exists(modules / "@warfley" / "node-gold-engine"))
        GTEST_SKIP() << "tools/node_modules is missing: run scripts/setup.sh (npm ci in tools/) to enable this check";
    if (std::system("node --version >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "node is not installed: run scripts/setup.sh to enable this check";

    const std::filesystem::path script = std::filesystem::path(ZOV_SOURCE_DIR) / "tests" / "tools" / "gold_crosscheck.js";
    size_t grammars = 0;
    for (const auto& file : std::filesystem::directory_iterator(ZOV_TEST_GRAMMARS)) {
        if (file.path().extension() != ".cgt")
            continue;
        ++grammars;
        const std::string name = file.path().stem().string();
        SCOPED_TRACE(name);
        auto samples = Samples.find(name);
        ASSERT_NE(samples, Samples.end()) << "no sample texts for the test grammar " << name;

        const std::filesystem::path json =
            std::filesystem::temp_directory_path() / ("zov-crosscheck-" + std::to_string(::getpid()) + ".json");
        {
            std::ofstream out(json, std::ios::binary);
            out << "[";
            for (size_t i = 0; i < samples->second.size(); ++i)
                out << (i ? ",\n" : "") << Quote(samples->second[i]);
            out << "]\n";
        }
        const std::string command = "node '" + script.string() + "' '" + modules.string() + "' '" +
                                    file.path().string() + "' '" + json.string() + "' 2>&1";
        std::FILE* p = ::popen(command.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::vector<std::string> verdicts;
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) {
            std::string line(buf);
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            verdicts.push_back(line);
        }
        const int status = ::pclose(p);
        std::filesystem::remove(json);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (verdicts.empty() ? std::string("no output") : verdicts.front());
        ASSERT_EQ(verdicts.size(), samples->second.size());

        CGrammarTable table;
        ASSERT_TRUE(table.Load(file.path().string()));
        size_t accepted = 0;
        for (size_t i = 0; i < verdicts.size(); ++i) {
            const std::string& text = samples->second[i];
            const bool ours = OursAccepts(table, text);
            accepted += ours;
            EXPECT_EQ(verdicts[i], ours ? "accept" : "reject") << "text: " << Quote(text);
        }
        // Both verdicts occur, so that the check is not won by a reader that always agrees.
        EXPECT_GT(accepted, 0u);
        EXPECT_LT(accepted, verdicts.size());
    }
    EXPECT_GE(grammars, 2u);
}
