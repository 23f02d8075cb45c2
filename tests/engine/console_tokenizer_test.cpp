// The console's command-line syntax: tokens, arguments and the script parameters.

#include "engine/console/Console.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

struct TokenCase {
    const char* line;
    TokenList expected;
};

class Tokenizer : public ::testing::TestWithParam<TokenCase> {};

TEST_P(Tokenizer, SplitsTheLine)
{
    EXPECT_EQ(TokenizeCommandLine(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Tokenizer,
    ::testing::Values(
        TokenCase{"", {}}, TokenCase{"    ", {}}, TokenCase{"exit", {"exit"}}, TokenCase{"   help   ", {"help"}},
        TokenCase{"setbkp -line 12 -state on", {"setbkp", "-line", "12", "-state", "on"}},
        TokenCase{"SETBKP -LINE 12 -STATE ON", {"SETBKP", "-LINE", "12", "-STATE", "ON"}},
        // Quoted values lose their quotes and may hold blanks and dashes.
        TokenCase{"interpret -dicofn \"/a b/i.qzi\" -scriptfn \"/c-d/s.qzs\" -params {x}",
                  {"interpret", "-dicofn", "/a b/i.qzi", "-scriptfn", "/c-d/s.qzs", "-params", "{x}"}},
        // Braced values keep their braces, hold blanks and stop at the first '}'.
        TokenCase{"interpret -params {a b;c} -x", {"interpret", "-params", "{a b;c}", "-x", ""}},
        TokenCase{"interpret -params {a{b}c}", {"interpret", "-params", "{a{b}"}},
        // An unclosed quote or brace takes the rest of the line.
        TokenCase{"setval -name x -val \"open text -line 3", {"setval", "-name", "x", "-val", "open text -line 3"}},
        TokenCase{"interpret -params {a;b -line 3", {"interpret", "-params", "{a;b -line 3"}},
        // A name at the end of the line has an empty value.
        TokenCase{"setbkp -line", {"setbkp", "-line", ""}}, TokenCase{"setbkp -line   ", {"setbkp", "-line", ""}},
        // Text before a name is skipped; a bare value may begin with '-'.
        TokenCase{"sync junk -val -5 more", {"sync", "-val", "-5"}},
        // The value after a name is read whatever it looks like.
        TokenCase{"setbkp -line -state on", {"setbkp", "-line", "-state"}},
        TokenCase{"setval -name s -val \"\"", {"setval", "-name", "s", "-val", ""}},
        TokenCase{"sync -val \xE9t\xC3\xA9", {"sync", "-val", "\xE9t\xC3\xA9"}}));

TEST(Tokenizer, KeepsAtMostFortyNinePairs)
{
    std::string line = "setbkp";
    for (int i = 0; i < 60; ++i)
        line += " -n" + std::to_string(i) + " v" + std::to_string(i);
    const TokenList tokens = TokenizeCommandLine(line);
    ASSERT_EQ(tokens.size(), kMaxTokens);
    EXPECT_EQ(tokens[97], "-n48");
    EXPECT_EQ(tokens[98], "v48");
    EXPECT_EQ(tokens[99], "-n49");  // no slot left for its value
}

TEST(CommandArgs, NamesAreLowerCasedAndValuesKeepTheirCase)
{
    const CommandArgs a = BuildCommandArgs({"setbkp", "-LINE", "12", "-State", "on", "-NAME", "MyVar"});
    EXPECT_TRUE(a.Has(kLine));
    EXPECT_EQ(a.line, 12);
    EXPECT_TRUE(a.Has(kState));
    EXPECT_EQ(a.state, 1);
    EXPECT_TRUE(a.Has(kName));
    EXPECT_EQ(a.name, "MyVar");
    EXPECT_FALSE(a.Has(kVal));
    EXPECT_FALSE(a.Has(kDicofn));
}

struct StateCase {
    const char* value;
    bool present;
    std::uint16_t code;
};

class StateValue : public ::testing::TestWithParam<StateCase> {};

TEST_P(StateValue, IsOnOrOffExactly)
{
    const CommandArgs a = BuildCommandArgs({"setbkp", "-state", GetParam().value});
    EXPECT_EQ(a.Has(kState), GetParam().present);
    EXPECT_EQ(a.state, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Cases, StateValue,
                         ::testing::Values(StateCase{"on", true, 1}, StateCase{"off", true, 0},
                                           StateCase{"ON", false, 0}, StateCase{"Off", false, 0},
                                           StateCase{"", false, 0}, StateCase{"1", false, 0}));

TEST(CommandArgs, ARepeatedNameKeepsItsLastValue)
{
    const CommandArgs a = BuildCommandArgs({"setbkp", "-line", "1", "-line", "7", "-state", "on", "-state", "x"});
    EXPECT_EQ(a.line, 7);
    EXPECT_FALSE(a.Has(kState));
}

TEST(CommandArgs, UnknownNamesAreIgnoredAndANameWithoutValueEndsTheList)
{
    const CommandArgs a = BuildCommandArgs({"setdata", "-colour", "red", "-name", "n", "-val"});
    EXPECT_TRUE(a.Has(kName));
    EXPECT_FALSE(a.Has(kVal));
}

TEST(CommandArgs, LineIsADecimalConversion)
{
    EXPECT_EQ(BuildCommandArgs({"setbkp", "-line", "abc"}).line, 0);
    EXPECT_TRUE(BuildCommandArgs({"setbkp", "-line", "abc"}).Has(kLine));
    EXPECT_EQ(BuildCommandArgs({"setbkp", "-line", "42abc"}).line, 42);
    EXPECT_EQ(BuildCommandArgs({"setbkp", "-line", "-3"}).line, -3);
    EXPECT_EQ(BuildCommandArgs({"setbkp", "-line", "99999999999"}).line, 2147483647);
}

TEST(CommandWords, MatchExactlyAfterLowerCasing)
{
    EXPECT_EQ(FindCommand("exit"), 0);
    EXPECT_EQ(FindCommand("INTERPRET"), 3);
    EXPECT_EQ(FindCommand("Timeout"), 16);
    EXPECT_EQ(FindCommand("debugstep"), -1);
    EXPECT_EQ(FindCommand("exit2"), -1);
    EXPECT_EQ(FindCommand("-v"), -1);
    EXPECT_EQ(FindCommand(""), -1);
}

struct ParamsCase {
    std::string value;
    std::array<std::string, 3> expected;
};

class ScriptParams : public ::testing::TestWithParam<ParamsCase> {};

TEST_P(ScriptParams, SplitAtTheFirstTwoSemicolons)
{
    EXPECT_EQ(SplitScriptParams(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScriptParams,
    ::testing::Values(ParamsCase{"{}", {"", "", ""}}, ParamsCase{"", {"", "", ""}}, ParamsCase{"{", {"", "", ""}},
                      ParamsCase{"{x}", {"x", "", ""}}, ParamsCase{"{a;b}", {"a", "b", ""}},
                      ParamsCase{"{a;b;c;d}", {"a", "b", "c;d"}}, ParamsCase{"{;;}", {"", "", ""}},
                      ParamsCase{"{;b;}", {"", "b", ""}},
                      // The first and last characters go, whatever they are.
                      ParamsCase{"xyz", {"y", "", ""}},
                      ParamsCase{"{" + std::string(300, 'p') + ";q}", {std::string(255, 'p'), "q", ""}},
                      ParamsCase{"{a;b;" + std::string(300, 'r') + "}", {"a", "b", std::string(255, 'r')}}));

TEST(PathQuotes, AQuotedPathLosesItsFirstAndLastCharacters)
{
    EXPECT_EQ(StripPathQuotes("\"/a b/c.qzs\""), "/a b/c.qzs");
    EXPECT_EQ(StripPathQuotes("/a/c.qzs"), "/a/c.qzs");
    EXPECT_EQ(StripPathQuotes("\"x"), "");
    EXPECT_EQ(StripPathQuotes("\""), "");
    EXPECT_EQ(StripPathQuotes(""), "");
}

}  // namespace
}  // namespace zov
