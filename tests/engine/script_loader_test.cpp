// Loading a script file: bytes kept, the line-length limit, the closing line end, the lines
// written while loading.

#include "engine/runtime/EngineState.h"
#include "LineCapture.h"
#include "engine/base/Output.h"
#include "engine/input/ScriptLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace zov {
namespace {

class ScriptLoaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zov-loader-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        Engine().Verbose = false;
        std::filesystem::remove_all(dir_);
    }

    std::string Write(const std::string& bytes, const char* name = "script.qzs")
    {
        const std::filesystem::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    std::filesystem::path dir_;
    test::LineCapture capture;
};

struct LoadCase {
    const char* what;
    std::string file;
    std::string text;
};

class LoadedTextTest : public ScriptLoaderTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(LoadedTextTest, GivesTheTextEndedByCrLf)
{
    const LoadCase& c = GetParam();
    const auto text = LoadScriptFile(Write(c.file));
    ASSERT_TRUE(text) << c.what;
    EXPECT_EQ(*text, c.text) << c.what;
    EXPECT_EQ(capture.Out(), "") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadedTextTest,
    ::testing::Values(
        LoadCase{"an empty file", "", "\r\n"},
        LoadCase{"line ends kept as they are", "a\r\nb\nc\r\n", "a\r\nb\nc\r\n\r\n"},
        LoadCase{"a last line without its line end", "a\r\nend", "a\r\nend\r\n"},
        LoadCase{"trailing blanks of a last line without line end", "a  \r\nend   ", "a  \r\nend\r\n"},
        LoadCase{"a last line of blanks", "a\r\n   ", "a\r\n\r\n"},
        LoadCase{"a last line of one blank", "a\r\n ", "a\r\n \r\n"},
        LoadCase{"trailing TABs stay", "end\t", "end\t\r\n"},
        LoadCase{"UTF-8 and Windows-1252 bytes pass unchanged", "s = \"\xc3\xa9t\xe9\"\r\n",
                 "s = \"\xc3\xa9t\xe9\"\r\n\r\n"},
        LoadCase{"9997 characters and CR LF", std::string(9997, 'x') + "\r\n", std::string(9997, 'x') + "\r\n\r\n"},
        LoadCase{"9998 characters and LF", std::string(9998, 'x') + "\n", std::string(9998, 'x') + "\n\r\n"},
        LoadCase{"9999 characters without line end", std::string(9999, 'x'), std::string(9999, 'x') + "\r\n"},
        LoadCase{"CR line ends become CR LF", "a\rb\r", "a\r\nb\r\n\r\n"},
        LoadCase{"CR, LF and CR LF in one file", "a\rb\nc\r\n\rd  ", "a\r\nb\nc\r\n\r\nd\r\n"},
        LoadCase{"9997 characters and a lone CR", std::string(9997, 'x') + "\r", std::string(9997, 'x') + "\r\n\r\n"}),
    [](const ::testing::TestParamInfo<LoadCase>& param) { return "case" + std::to_string(param.index); });

TEST_F(ScriptLoaderTest, ALineOfTenThousandCharactersWithItsLineEndIsRefused)
{
    for (const std::string& file : {std::string(9998, 'x') + "\r\n", std::string(9999, 'x') + "\n",
                                    "a\r\n" + std::string(10000, 'x'), "a\r\n" + std::string(70000, 'x') + "\r\nb"}) {
        capture.Clear();
        EXPECT_FALSE(LoadScriptFile(Write(file))) << file.size();
        // Written also without -v.
        EXPECT_EQ(capture.Out(), "eng:-> Erreur: La ligne comporte trop de caracteres\n") << file.size();
    }
}

TEST_F(ScriptLoaderTest, LineLengthsAreCountedAcrossReadChunks)
{
    // Short lines up to just before the first 64 KiB, then a long line that straddles it.
    std::string head;
    while (head.size() < 65536 - 100)
        head += "x = 1\r\n";
    const std::string accepted = head + std::string(9997, 'y') + "\r\nend\r\n";
    const auto text = LoadScriptFile(Write(accepted));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, accepted + "\r\n");

    EXPECT_FALSE(LoadScriptFile(Write(head + std::string(9998, 'y') + "\r\nend\r\n")));
    EXPECT_EQ(capture.Out(), lines::EngLineTooLong);
}

TEST_F(ScriptLoaderTest, ALineEndedByALoneCrCountsTowardsTheLineLimit)
{
    EXPECT_FALSE(LoadScriptFile(Write("a\r" + std::string(9998, 'x') + "\rb")));
    EXPECT_EQ(capture.Out(), lines::EngLineTooLong);
}

TEST_F(ScriptLoaderTest, ACrAtTheEndOfAReadChunkIsJudgedByTheNextByte)
{
    // Lines of 16 bytes put a CR at the last byte of the first 64 KiB read.
    std::string crLines;
    for (int i = 0; i < 4096; ++i)
        crLines += "xxxxxxxxxxxxxxx\r";
    ASSERT_EQ(crLines[65535], '\r');
    std::string expected;
    for (int i = 0; i < 4096; ++i)
        expected += "xxxxxxxxxxxxxxx\r\n";

    // Followed by a LF in the next chunk: the pair stays one line end.
    const auto pair = LoadScriptFile(Write(crLines + "\nend"));
    ASSERT_TRUE(pair);
    EXPECT_EQ(*pair, expected + "end\r\n");

    // Followed by anything else: the CR alone ends its line.
    const auto lone = LoadScriptFile(Write(crLines + "end"));
    ASSERT_TRUE(lone);
    EXPECT_EQ(*lone, expected + "end\r\n");
    EXPECT_EQ(std::count(lone->begin(), lone->end(), '\n'), 4097);
}

TEST_F(ScriptLoaderTest, VerboseWritesTheFileAndTextSizes)
{
    Engine().Verbose = true;
    const auto text = LoadScriptFile(Write("end  "));
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "end\r\n");
    EXPECT_EQ(capture.Out(), "eng:-> Taille du script: 5 octects\neng:-> Taille du buffer: 5 octects\n");

    capture.Clear();
    EXPECT_FALSE(LoadScriptFile(Write(std::string(9998, 'x') + "\r\n")));
    EXPECT_EQ(capture.Out(), "eng:-> Taille du script: 10000 octects\n" + std::string(lines::EngLineTooLong));
}

TEST_F(ScriptLoaderTest, AFileThatCannotBeReadGivesNoTextAndNoLine)
{
    Engine().Verbose = true;
    EXPECT_FALSE(LoadScriptFile((dir_ / "missing.qzs").string()));
    EXPECT_FALSE(LoadScriptFile(dir_.string()));
    EXPECT_EQ(capture.Out(), "");
}

TEST_F(ScriptLoaderTest, AZeroByteRefusesTheScriptRatherThanCuttingIt)
{
    // A script saved as UTF-16 is full of zero bytes; the scanner would stop at the first.
    EXPECT_FALSE(LoadScriptFile(Write(std::string("e\0n\0d\0\r\0\n\0", 10))));
    EXPECT_EQ(capture.Out(), "eng:-> Erreur: Le script contient un caractere nul\n");
}

}  // namespace
}  // namespace zov
