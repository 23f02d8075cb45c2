// The conversions between command-line text and the bytes of "ISO-8859-1" files.
#include "common/xml/XmlText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using zov::xml::CommentText;
using zov::xml::DropIncompleteUtf8Tail;
using zov::xml::EscapeAttribute;
using zov::xml::EscapeText;
using zov::xml::IsWritableName;
using zov::xml::PrepareXmlInput;

struct EscapeCase {
    const char* name;
    std::string input;
    std::string text;       // EscapeText
    std::string attribute;  // EscapeAttribute
};

class EscapeTest : public testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeTest, WritesLatin1WithReferencesWhereNeeded)
{
    EXPECT_EQ(EscapeText(GetParam().input), GetParam().text);
    EXPECT_EQ(EscapeAttribute(GetParam().input), GetParam().attribute);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeTest,
    testing::Values(EscapeCase{"Markup", "a&b <c> \"d\" 'e'", "a&amp;b &lt;c&gt; &quot;d&quot; &apos;e&apos;",
                               "a&amp;b &lt;c&gt; &quot;d&quot; &apos;e&apos;"},
                    // A user's "&#x41;" is text, not a reference to pass through.
                    EscapeCase{"ReferenceLookalike", "&#x41;", "&amp;#x41;", "&amp;#x41;"},
                    EscapeCase{"Utf8AccentsBecomeLatin1", "\xC3\xA9t\xC3\xA9", "\xE9t\xE9", "\xE9t\xE9"},
                    EscapeCase{"Windows1252ByteKept", "\xE9t\xE9", "\xE9t\xE9", "\xE9t\xE9"},
                    EscapeCase{"BeyondLatin1AsReference", "\xE2\x82\xAC 5 \xF0\x9F\x98\x80", "&#x20AC; 5 &#x1F600;",
                               "&#x20AC; 5 &#x1F600;"},
                    EscapeCase{"Windows1252EuroByte", "\x80", "&#x20AC;", "&#x20AC;"},
                    EscapeCase{"TabLfCrAsReferences", "a\tb\nc\rd", "a&#x09;b&#x0A;c&#x0D;d", "a&#x09;b&#x0A;c&#x0D;d"},
                    // XML cannot carry these at all, not even as references.
                    EscapeCase{"OtherControlsVisible",
                               "a\x01"
                               "b\x1F"
                               "c",
                               "a\\x01b\\x1Fc", "a\\x01b\\x1Fc"},
                    EscapeCase{"DelAndC1AsReferences", "\x7F\xC2\x85", "&#x7F;&#x85;", "&#x7F;&#x85;"},
                    EscapeCase{"NonCharacterVisible", "\xEF\xBF\xBF", "\\uFFFF", "\\uFFFF"},
                    // The reader folds runs of blanks and trims both ends of a text, but not of an attribute.
                    EscapeCase{"BlanksThatFoldingWouldLose", "  a  b ", "&#x20;&#x20;a &#x20;b&#x20;", "  a  b "},
                    EscapeCase{"SingleInnerBlankRaw", "a b", "a b", "a b"}, EscapeCase{"Empty", "", "", ""}),
    [](const testing::TestParamInfo<EscapeCase>& param) { return param.param.name; });

TEST(ElementText, BlanksAloneGoIntoACdataSection)
{
    const struct {
        std::string input;
        std::string written;
    } cases[] = {
        {" ", "<![CDATA[ ]]>"},
        {"  ", "<![CDATA[  ]]>"},
        {"\t", "<![CDATA[\t]]>"},
        {" \n\t ", "<![CDATA[ \n\t ]]>"},
        {"", ""},
        {" a ", "&#x20;a&#x20;"},
        {" \r", "&#x20;&#x0D;"},  // no CDATA can keep a carriage return
        {"\xC2\xA0", "\xA0"},     // a no-break space is no blank to the reader
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zov::xml::ElementText(c.input), c.written) << testing::PrintToString(c.input);
    }
}

TEST(CommentText, KeepsTheCommentOpenUntilItsEnd)
{
    EXPECT_EQ(CommentText("a--b"), "a- -b");
    EXPECT_EQ(CommentText("a---b"), "a- - -b");
    EXPECT_EQ(CommentText("end-"), "end- ");
    EXPECT_EQ(CommentText("x-->y"), "x- ->y");
}

TEST(CommentText, IsLatin1WithoutReferences)
{
    EXPECT_EQ(CommentText("caf\xC3\xA9 \xE2\x82\xAC <&>"), "caf\xE9 ? <&>");
    EXPECT_EQ(CommentText("a\x01"
                          "b\tc"),
              "a\\x01b\tc");
    EXPECT_EQ(CommentText("\xC2\x85"), "\\x85");
}

TEST(IsWritableName, AcceptsNamesTheReaderReadsBack)
{
    for (const char* name : {"a", "item", "_x", "ns:tag", "a-b.c_d9", "\xC3\xA9l\xC3\xA9ment",
                             "a\xC2\xB7"
                             "b"}) {
        EXPECT_TRUE(IsWritableName(name)) << name;
    }
}

TEST(IsWritableName, RefusesNamesThatBreakTheFile)
{
    for (const char* name : {"", "a b", "a<b", "a>b", "a&b", "a=b", "a\"b", "1abc", "-a", ".a", ":a", "a/b",
                             "a\xE2\x82\xAC", "\xC3\x97", "a\tb"}) {
        EXPECT_FALSE(IsWritableName(name)) << name;
    }
}

TEST(PrepareXmlInput, DecodesDeclaredLatin1AsWindows1252)
{
    const auto text = PrepareXmlInput("<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<a>\xE9\x80</a>");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\n<a>\xC3\xA9\xE2\x82\xAC</a>");
}

TEST(PrepareXmlInput, KeepsUtf8AndFallsBackPerByte)
{
    // Declared UTF-8: valid sequences stay, a stray byte is taken as Windows-1252.
    const auto declared = PrepareXmlInput("<?xml version='1.0' encoding='utf-8'?><a>\xC3\xA9\xE9</a>");
    ASSERT_TRUE(declared);
    EXPECT_EQ(*declared, "<?xml version='1.0' encoding='utf-8'?><a>\xC3\xA9\xC3\xA9</a>");
    // No declaration: the same rule.
    EXPECT_EQ(PrepareXmlInput("<a>\xC3\xA9</a>").value(), "<a>\xC3\xA9</a>");
    // A byte-order mark is dropped and means UTF-8.
    EXPECT_EQ(PrepareXmlInput("\xEF\xBB\xBF<a>\xC3\xA9</a>").value(), "<a>\xC3\xA9</a>");
}

TEST(PrepareXmlInput, NormalisesLineEnds)
{
    EXPECT_EQ(PrepareXmlInput("<a>\r\n1\r2\n</a>\r").value(), "<a>\n1\n2\n</a>\n");
}

TEST(PrepareXmlInput, RefusesZeroBytes)
{
    EXPECT_FALSE(PrepareXmlInput(std::string("<a>x\0y</a>", 10)));
}

TEST(DropIncompleteUtf8Tail, DropsOnlyACutSequence)
{
    EXPECT_EQ(DropIncompleteUtf8Tail("ab\xC3"), "ab");
    EXPECT_EQ(DropIncompleteUtf8Tail("ab\xE2\x82"), "ab");
    EXPECT_EQ(DropIncompleteUtf8Tail("ab\xF0\x9F\x98"), "ab");
    EXPECT_EQ(DropIncompleteUtf8Tail("ab\xC3\xA9"), "ab\xC3\xA9");
    EXPECT_EQ(DropIncompleteUtf8Tail("ab\xE2\x82\xAC"), "ab\xE2\x82\xAC");
    EXPECT_EQ(DropIncompleteUtf8Tail("abc"), "abc");
    EXPECT_EQ(DropIncompleteUtf8Tail(""), "");
}

}  // namespace

namespace {

TEST(RepairForParser, EscapesOnlyTheAmpersandsTheParserWouldDrop)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"<a>x&y &amp; &lt;&gt;&quot;&apos; &#65; &#x41;</a>",
         "<a>x&amp;y &amp; &lt;&gt;&quot;&apos; &#65; &#x41;</a>"},
        {"<a>end&</a>&", "<a>end&amp;</a>&amp;"},
        {"<a b=\"1&2\" c='3&amp;' d=4&5/>", "<a b=\"1&amp;2\" c='3&amp;' d=4&5/>"},
        {"<a b=\"x>&\">", "<a b=\"x>&amp;\">"},
        {"<!-- & --><![CDATA[ & ]]><?pi & ?><!x & >", "<!-- & --><![CDATA[ & ]]><?pi & ?><!x & >"},
        {"<!-- & never ends", "<!-- & never ends"},
        {"<!DOCTYPE r SYSTEM \"r.dtd\"><r/>", "<!DOCTYPE r SYSTEM \"r.dtd\"><r/>"},
        {"<!DOCTYPE r [<!ENTITY e \"]>\"><!-- ]> -->] ><r>&e;</r>", "<r>&amp;e;</r>"},
        {"<!DOCTYPE r [ never closed <r/>", "<!DOCTYPE r [ never closed <r/>"},
        {"< a & b>", "< a & b>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zov::xml::RepairForParser(c.in), c.out) << c.in;
    }
}

}  // namespace
