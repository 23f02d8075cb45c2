#include "generator/core/Substitution.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace zov::vantoro;

PlaceholderValues Values()
{
    return {"Tool", "quit", ">>", "stderr", "ACME", "2.3"};
}

struct LineCase {
    const char* name;
    PlaceholderValues values;
    std::string line;
    Escaping escaping;
    std::string expected;
};

class SubstituteLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SubstituteLineTest, ReplacesAsExpected)
{
    const LineCase& c = GetParam();
    EXPECT_EQ(SubstituteLine(c.line, c.values, c.escaping), c.expected);
}

PlaceholderValues With(std::string PlaceholderValues::*field, std::string value)
{
    PlaceholderValues values = Values();
    values.*field = std::move(value);
    return values;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SubstituteLineTest,
    ::testing::Values(
        LineCase{"all_six", Values(), "%%CLI%% %%EXIT%% %%SYNCHRO%% %%INTERFACE%% %%COPYRIGHT%% %%VERSION%%",
                 Escaping::None, "Tool quit >> stderr ACME 2.3"},
        LineCase{"every_occurrence", Values(), "%%CLI%%-%%CLI%%%%CLI%%", Escaping::None, "Tool-ToolTool"},
        LineCase{"nothing_to_do", Values(), "plain % text %% here", Escaping::None, "plain % text %% here"},
        // A value holding a later placeholder is replaced again (the order is CLI, EXIT, SYNCHRO,
        // INTERFACE, COPYRIGHT, VERSION); an earlier one stays as typed.
        LineCase{"name_becomes_the_version", With(&PlaceholderValues::cliName, "%%VERSION%%"), "[%%CLI%%]",
                 Escaping::None, "[2.3]"},
        LineCase{"version_keeps_an_earlier_placeholder", With(&PlaceholderValues::version, "%%CLI%%"), "%%VERSION%%",
                 Escaping::None, "%%CLI%%"},
        LineCase{"value_holding_its_own_placeholder", With(&PlaceholderValues::cliName, "a%%CLI%%b"), "%%CLI%%/%%CLI%%",
                 Escaping::None, "a%%CLI%%b/a%%CLI%%b"},
        LineCase{"string_literal_escaped", With(&PlaceholderValues::synchroMessage, "say \"hi\" \\o/"),
                 "#define SYNCHRO \"%%SYNCHRO%%\"", Escaping::CString, "#define SYNCHRO \"say \\\"hi\\\" \\\\o/\""},
        LineCase{"chain_escapes_the_later_value", With(&PlaceholderValues::cliName, "%%VERSION%%"), "\"%%CLI%%\"",
                 Escaping::CString, "\"2.3\""},
        LineCase{"xml_name_escaped", With(&PlaceholderValues::cliName, "A&B <\"x'>"), "Name=\"%%CLI%%\"",
                 Escaping::XmlWindows1252, "Name=\"A&amp;B &lt;&quot;x&apos;&gt;\""}),
    [](const ::testing::TestParamInfo<LineCase>& param) { return std::string(param.param.name); });

struct EscapeCase {
    std::string value;
    std::string expected;
};

TEST(EscapeForCStringTest, EscapesWhatWouldEndOrBreakTheLiteral)
{
    const EscapeCase cases[] = {
        {"plain", "plain"},
        {"a\\b", "a\\\\b"},
        {"\"", "\\\""},
        {"line\r\nend", "line\\r\\nend"},
        {std::string("tab\tnul") + '\x01', "tab\\011nul\\001"},
        {"?\?=?\?/", "?\\?=?\\?/"},      // no trigraph can form
        {"caf\xC3\xA9", "caf\xC3\xA9"},  // UTF-8 passes as it is
        {"", ""},
    };
    for (const EscapeCase& c : cases)
        EXPECT_EQ(EscapeForCString(c.value), c.expected) << c.value;
}

TEST(EscapeForXmlWindows1252Test, KeepsWhatTheCodePageHoldsAndReferencesTheRest)
{
    const EscapeCase cases[] = {
        {"Outil", "Outil"},
        {"&", "&amp;"},
        {"\xC3\xA9t\xC3\xA9", "\xC3\xA9t\xC3\xA9"},  // é stays a character
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},            // so does the euro sign (0x80)
        {"\xE6\x97\xA5", "&#x65E5;"},                // a character the code page lacks
        {"\xF0\x9F\x98\x80", "&#x1F600;"},
        {std::string("a") + '\x01' + "b", "a?b"},  // no control character in XML 1.0
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},        // Windows-1252 bytes read as such
    };
    for (const EscapeCase& c : cases)
        EXPECT_EQ(EscapeForXmlWindows1252(c.value), c.expected) << c.value;
}

TEST(RenderTemplateTest, WritesEveryLineWithCrLf)
{
    const PlaceholderValues values = Values();
    EXPECT_EQ(RenderTemplate("a\nb\n", values, Escaping::None), "a\r\nb\r\n");
    EXPECT_EQ(RenderTemplate("a\n\nb", values, Escaping::None), "a\r\n\r\nb\r\n");  // last line without its end
    EXPECT_EQ(RenderTemplate("a\r\nb\r\n", values, Escaping::None), "a\r\nb\r\n");
    EXPECT_EQ(RenderTemplate("", values, Escaping::None), "");
}

// A value with line breaks cannot leave a bare CR or LF in a file written with CR LF.
TEST(RenderTemplateTest, LineBreaksInAValueBecomeCrLf)
{
    PlaceholderValues values = Values();
    values.cliName = "one\ntwo\rthree\r\nfour";
    EXPECT_EQ(RenderTemplate("[%%CLI%%]\n", values, Escaping::None), "[one\r\ntwo\r\nthree\r\nfour]\r\n");
    EXPECT_EQ(RenderTemplate("\"%%CLI%%\"\n", values, Escaping::CString), "\"one\\ntwo\\rthree\\r\\nfour\"\r\n");
}

TEST(RenderTemplateTest, TheXmlTemplateIsWrittenInWindows1252)
{
    PlaceholderValues values = Values();
    values.cliName = "\xC3\xA9\xE6\x97\xA5";
    EXPECT_EQ(RenderTemplate("<a n=\"%%CLI%%\">\xC3\xAA</a>\n", values, Escaping::XmlWindows1252),
              "<a n=\"\xE9&#x65E5;\">\xEA</a>\r\n");
}

}  // namespace
