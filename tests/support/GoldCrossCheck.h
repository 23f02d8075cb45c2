#pragma once

// A compiled grammar table against an independent reader of the table format
// (@warfley/node-gold-engine, run by tests/tools/gold_crosscheck.js under node): both readers
// must accept and reject the same texts. Header-only, so that test programs linked against
// different libraries can all use it.

#include "engine/grammar/GrammarTable.h"
#include "engine/grammar/Parser.h"
#include "engine/grammar/Scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zov::test {

// `text` as a JSON string. Control bytes and every byte from 0x7F on are written as \u00XX, so
// that the other reader sees each byte as one character, as our scanner does, and a text that is
// not valid UTF-8 reaches it unchanged.
inline std::string JsonQuote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

inline std::filesystem::path IndependentReaderModules()
{
    return std::filesystem::path(ZOV_SOURCE_DIR) / "tools" / "node_modules";
}

// Why the independent reader cannot run on this machine, or empty when it can.
inline std::string IndependentReaderMissing()
{
    if (!std::filesystem::exists(IndependentReaderModules() / "@warfley" / "node-gold-engine"))
        return "tools/node_modules is missing: run scripts/setup.sh (npm ci in tools/) to enable this check";
    if (std::system("node --version >/dev/null 2>&1") != 0)
        return "node is not installed: run scripts/setup.sh to enable this check";
    return std::string();
}

// Skips the calling test when the independent reader is not installed.
#define ZOV_NEED_INDEPENDENT_READER()                                                 \
    do {                                                                              \
        const std::string zovReaderMissing = ::zov::test::IndependentReaderMissing(); \
        if (!zovReaderMissing.empty())                                                \
            GTEST_SKIP() << zovReaderMissing;                                         \
    } while (0)

// Our verdict: the text scans and parses with `table`.
inline bool OursAccepts(CGrammarTable& table, const std::string& text)
{
    CScanner* scanner = table.CreateScanner();
    if (!scanner->Tokenize(text))
        return false;
    return table.CreateParser()->Parse(scanner->GetTokens()) != nullptr;
}

// The independent reader's verdict ("accept" or "reject") on each sample, or a failure.
inline ::testing::AssertionResult IndependentVerdicts(const std::filesystem::path& table,
                                                      const std::vector<std::string>& samples,
                                                      std::vector<std::string>& verdicts)
{
    const std::filesystem::path script =
        std::filesystem::path(ZOV_SOURCE_DIR) / "tests" / "tools" / "gold_crosscheck.js";
    const std::filesystem::path json =
        std::filesystem::temp_directory_path() / ("zov-crosscheck-" + std::to_string(::getpid()) + ".json");
    {
        std::ofstream out(json, std::ios::binary);
        out << "[";
        for (size_t i = 0; i < samples.size(); ++i)
            out << (i ? ",\n" : "") << JsonQuote(samples[i]);
        out << "]\n";
    }
    const std::string command = "node '" + script.string() + "' '" + IndependentReaderModules().string() + "' '" +
                                table.string() + "' '" + json.string() + "' 2>&1";
    std::FILE* p = ::popen(command.c_str(), "r");
    if (!p) {
        std::filesystem::remove(json);
        return ::testing::AssertionFailure() << "cannot start node";
    }
    verdicts.clear();
    char buf[512];
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
inline void ExpectSameVerdicts(const std::filesystem::path& table, const std::vector<std::string>& samples)
{
    std::vector<std::string> verdicts;
    ASSERT_TRUE(IndependentVerdicts(table, samples, verdicts));
    CGrammarTable ours;
    ASSERT_TRUE(ours.Load(table.string()));
    size_t accepted = 0;
    for (size_t i = 0; i < verdicts.size(); ++i) {
        const bool accepts = OursAccepts(ours, samples[i]);
        accepted += accepts;
        EXPECT_EQ(verdicts[i], accepts ? "accept" : "reject") << "text: " << JsonQuote(samples[i]);
    }
    EXPECT_GT(accepted, 0u);
    EXPECT_LT(accepted, verdicts.size());
}

}  // namespace zov::test
