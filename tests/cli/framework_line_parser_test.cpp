// How a trimmed line becomes tokens: the command word, switch/value pairs, '@' pairs.
#include "MainCmd.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ParseCase {
    const char* name;
    std::string line;
    std::vector<std::string> tokens;
};

std::vector<std::string> Parse(const std::string& line, bool atEscapes = true)
{
    TCmdTokens tokens;
    CMainCmd::ParseCmdLine(line.c_str(), tokens, atEscapes);
    return {tokens.aToken, tokens.aToken + tokens.iCount};
}

class LineParser : public testing::TestWithParam<ParseCase> {};

TEST_P(LineParser, SplitsIntoTokens)
{
    EXPECT_EQ(Parse(GetParam().line), GetParam().tokens);
}

const ParseCase Cases[] = {
    {"pairs", "copy -src a -dst b", {"copy", "-src", "a", "-dst", "b"}},
    {"word_alone", "ver", {"ver"}},
    {"quoted_value_keeps_blanks", "open -file \"my file.txt\"", {"open", "-file", "my file.txt"}},
    {"unclosed_quote_runs_to_end", "open -file \"my file", {"open", "-file", "my file"}},
    {"empty_quoted_value", "cmd -a \"\" -b 2", {"cmd", "-a", "", "-b", "2"}},
    {"text_before_first_switch_ignored", "open x -file a", {"open", "-file", "a"}},
    {"text_after_value_ignored", "cmd -a 1 trailing words", {"cmd", "-a", "1"}},
    {"slash_question_is_token_one", "sin /?", {"sin", "/?"}},
    {"words_without_switch_are_one_token", "help some  words", {"help", "some  words"}},
    {"upper_case_help_is_a_switch", "sin -HELP", {"sin", "-HELP", ""}},
    {"switch_at_end_has_empty_value", "sin -v", {"sin", "-v", ""}},
    {"unquoted_value_may_start_with_dash", "seek -pos -5", {"seek", "-pos", "-5"}},
    {"dash_inside_quotes_is_value", "cmd -a \"x -b y\" -c 1", {"cmd", "-a", "x -b y", "-c", "1"}},
    // The search for the next switch starts after the closing quote, so a value ending in '-' does
    // not open a switch named by the quote.
    {"value_ending_in_dash", "cmd -a \"x-\" -b 1", {"cmd", "-a", "x-", "-b", "1"}},
    {"blanks_between_switch_and_value", "cmd -a    1", {"cmd", "-a", "1"}},
    {"at_pair_with_escapes", "write -buf x @name \"a\\rb\\nc\"", {"write", "-buf", "x", "@name", "a\rb\nc"}},
    {"at_pairs_chain", "cmd -a 1 @x 2 @y 3", {"cmd", "-a", "1", "@x", "2", "@y", "3"}},
    {"at_without_value", "cmd -a 1 @x", {"cmd", "-a", "1", "@x", ""}},
    {"at_escape_of_lone_backslash_kept", "cmd -a 1 @x a\\b\\", {"cmd", "-a", "1", "@x", "a\\b\\"}},
    {"empty_line_mark", "\n", {"\n"}},
    {"empty_text", "", {""}},
    {"high_bytes_pass_through", "echo -t \"caf\xc3\xa9 \xff\"", {"echo", "-t", "caf\xc3\xa9 \xff"}},
    {"tab_is_no_blank", "sin\t-v 1", {"sin\t-v", "1"}},
    // Eight switch/value tokens at most: the surplus pairs are dropped.
    {"fifth_pair_dropped", "cmd -a 1 -b 2 -c 3 -d 4 -e 5", {"cmd", "-a", "1", "-b", "2", "-c", "3", "-d", "4"}},
    {"surplus_at_pairs_dropped",
     "cmd -a 1 @x 2 @y 3 @z 4 @w 5 -b 6",
     {"cmd", "-a", "1", "@x", "2", "@y", "3", "@z", "4"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineParser, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<ParseCase>& param) { return param.param.name; });

TEST(LineParserEscapes, BuildWithoutEscapesKeepsBackslashes)
{
    EXPECT_EQ(Parse("write -buf x @name a\\rb\\nc", false),
              (std::vector<std::string>{"write", "-buf", "x", "@name", "a\\rb\\nc"}));
}

TEST(LineParserEscapes, SwitchValuesKeepBackslashes)
{
    EXPECT_EQ(Parse("write -buf a\\nb"), (std::vector<std::string>{"write", "-buf", "a\\nb"}));
}

TEST(LineParserLimits, HugeLineWithManySwitchesStaysBounded)
{
    std::string line = "cmd";
    for (int i = 0; i < 5000; ++i)
        line += " -s" + std::to_string(i) + " \"" + std::string(7, 'v') + "\" @a b";
    const std::vector<std::string> tokens = Parse(line);
    ASSERT_EQ(tokens.size(), static_cast<size_t>(MAX_CMD_LINE - 1));
    EXPECT_EQ(tokens[1], "-s0");
    EXPECT_EQ(tokens[4], "b");
    EXPECT_EQ(tokens[5], "-s1");
}

}  // namespace
