// The nesting scan that guards the parser's recursion: it must never find less depth than the
// parser then builds, and markup inside comments, CDATA, quotes and declarations must not count.
#include "common/xml/XmlDepth.h"
#include "common/xml/XmlText.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

int TreeDepth(const TiXmlNode* node)
{
    int deepest = 0;
    for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling()) {
        deepest = std::max(deepest, TreeDepth(child));
    }
    return deepest + (node->ToElement() ? 1 : 0);
}

struct DepthCase {
    const char* name;
    std::string text;
    std::optional<int> depth;
    // Where the parser swallows the rest of the text the scan may count more than it builds.
    bool exact = true;
};

int ParsedDepth(const std::string& text)
{
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return TreeDepth(&document);
}

class ElementDepthTest : public testing::TestWithParam<DepthCase> {};

TEST_P(ElementDepthTest, FollowsTheParser)
{
    const DepthCase& c = GetParam();
    const std::optional<int> depth = zov::xml::ElementDepth(c.text);
    EXPECT_EQ(depth, c.depth);
    if (depth) {
        if (c.exact) {
            EXPECT_EQ(ParsedDepth(c.text), *depth);
        } else {
            EXPECT_GE(*depth, ParsedDepth(c.text));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElementDepthTest,
    testing::Values(DepthCase{"Flat", "<a/>", 1}, DepthCase{"Nested", "<a><b/><c><d>x</d></c></a>", 3},
                    DepthCase{"EmptyElementWithAttributes", "<a><b x='1' y=\"2\" z=3/></a>", 2},
                    DepthCase{"CommentHidesMarkup", "<a><!-- <b><c><d> --></a>", 1},
                    DepthCase{"CdataHidesMarkup", "<a><![CDATA[<b><c></b>]]></a>", 1},
                    DepthCase{"QuotedValueHidesMarkup", "<a t=\"></a><b>\" u='<c>'><d/></a>", 2},
                    DepthCase{"DeclarationValueHidesMarkup", "<?xml version=\"></a>\" ?><a><b></b></a>", 2},
                    DepthCase{"UnknownTags", "<!DOCTYPE a><a><?pi x?><b></b></a>", 2},
                    DepthCase{"LessThanBlankIsUnknown", "<a>< b>c</a>", 1},
                    DepthCase{"EndTagAtTopLevelIsUnknown", "</x><a><b/></a>", 2},
                    DepthCase{"NonAsciiNameStart", "<\xC3\xA9><\xC3\xA9/></\xC3\xA9>", 2},
                    DepthCase{"UnclosedTagRunsToTheEnd", "<a><b><c", std::nullopt},
                    DepthCase{"AttributeWithoutValue", "<a b><c/></a>", std::nullopt},
                    DepthCase{"UnclosedQuote", "<a b='1><c/></a>", std::nullopt},
                    DepthCase{"QuoteInBareValue", "<a b=x'y><c/></a>", std::nullopt},
                    DepthCase{"SlashWithoutGreater", "<a/ ><b/>", std::nullopt},
                    // The parser builds nothing after these; the scan counts every opening in the rest.
                    DepthCase{"UnclosedCommentCountsTheRest", "<a><b><!-- <c></c><d></d>", 4, false},
                    DepthCase{"UnclosedCdataCountsTheRest", "<a><![CDATA[ <b></b><c>", 3, false},
                    DepthCase{"UnclosedUnknownCountsTheRest", "<a><!DOCTYPE <b", 2, false},
                    DepthCase{"UnclosedEndTagCountsTheRest", "<a><b></b <c>", 2, false},
                    DepthCase{"UnclosedDeclarationCountsTheRest", "<a/><?xml version='1' <b <c", 2, false},
                    DepthCase{"UnreadableDeclarationCountsTheRest", "<a/><?xml version><b><c/></b>", 2, false},
                    // A character reference runs to the first ';' whose digits lead back to its 'x' or '#',
                    // taking any markup in between as part of it.
                    DepthCase{"HexReferenceHidesCommentOpening", "<a>&#x<!--&#x1;<b><c/></b></a>", 3},
                    DepthCase{"HexReferenceHidesEndTag", "<a>&#x</a>x1;<b><c/></b></a>", 3},
                    DepthCase{"DecimalReferenceHidesUnknownTag", "<a>&#<#;<b/></a>", 2},
                    DepthCase{"DecimalReferenceHidesEndTag", "<a>&#</a>#12;<b><c/></b></a>", 3},
                    DepthCase{"ReferenceHidesClosingQuote", "<a t=\"&#x\" u=\"x1;\"><b/></a>", 2},
                    DepthCase{"ReferenceHidesDeclarationQuote", "<?xml version=\"&#x\" ?>x1;\"?><a><b/></a>", 2},
                    DepthCase{"ReferenceWithoutDigitsIsText", "<a>&#x1g;<b/></a>", 2, false},
                    DepthCase{"ReferenceWithoutSemicolonIsText", "<a>&#x<b/></a>", 2, false},
                    DepthCase{"NamedEntities", "<a>&lt;&amp;&gt;&quot;&apos;<b/></a>", 2},
                    DepthCase{"BlankBeforeName", "<a><\xEF\xBB\xBF b c='>'/></a>", 2}),
    [](const testing::TestParamInfo<DepthCase>& param) { return param.param.name; });

// Found by fuzzing: a reference in text reached past "<!--" to the ';' of a later reference, so the
// parser never saw the comment that made the scan stop, and it went on nesting elements.
TEST(ElementDepth, ReferenceAcrossUnclosedCommentFromFuzzing)
{
    std::ifstream file(std::string(ZOV_SOURCE_DIR) + "/tests/xml/data/depth_reference_across_comment.xml",
                       std::ios::binary);
    ASSERT_TRUE(file);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const std::optional<std::string> text = zov::xml::PrepareXmlInput(bytes);
    ASSERT_TRUE(text);
    const std::optional<int> depth = zov::xml::ElementDepth(*text);
    ASSERT_TRUE(depth);
    EXPECT_GE(*depth, ParsedDepth(*text));
    EXPECT_GT(ParsedDepth(*text), 4);
}

// Many references sharing one far ';' that none of them can reach, and many unclosed openings:
// each is looked at once, so the scan stays linear (a quadratic one would take minutes here).
TEST(ElementDepth, RepeatedUnreadableReferencesStayLinear)
{
    std::string text = "<a>";
    for (int i = 0; i < 200000; ++i) {
        text += "&#x";
    }
    text += "g1;</a>";
    EXPECT_EQ(zov::xml::ElementDepth(text), 1);
    std::string comments = "<a>";
    for (int i = 0; i < 200000; ++i) {
        comments += "<!--";
    }
    EXPECT_EQ(zov::xml::ElementDepth(comments), 1);
}

TEST(ElementDepth, LongFlatDocumentsAreShallow)
{
    std::string text = "<r>";
    for (int i = 0; i < 100000; ++i) {
        text += "<item id=\"1\">v</item>";
    }
    text += "</r>";
    EXPECT_EQ(zov::xml::ElementDepth(text), 2);
}

// The parser's time grows with the square of an element's attribute count: an element with more
// than the limit is refused, quickly, whatever the file's size (200 000 attributes would take the
// parser minutes). Up to the limit the text is read as before.
TEST(ElementDepth, AnElementWithTooManyAttributesIsRefused)
{
    const auto element = [](int attributes, const char* close) {
        std::string text = "<r><e";
        for (int i = 0; i < attributes; ++i) {
            text += " a" + std::to_string(i) + "=\"v\"";
        }
        return text + close + "</r>";
    };
    const int limit = zov::xml::kMaxAttributesPerElement;
    EXPECT_EQ(zov::xml::ElementDepth(element(limit, "/>")), 2);
    EXPECT_EQ(zov::xml::ElementDepth(element(limit, "></e>")), 2);
    EXPECT_EQ(zov::xml::ElementDepth(element(limit + 1, "/>")), std::nullopt);
    EXPECT_EQ(zov::xml::ElementDepth(element(limit + 1, "></e>")), std::nullopt);
    EXPECT_EQ(zov::xml::ElementDepth(element(200000, "/>")), std::nullopt);
    // Attributes spread over many elements are no concern.
    std::string many = "<r>";
    for (int i = 0; i < 3 * limit; ++i) {
        many += "<e a=\"1\" b=\"2\"/>";
    }
    EXPECT_EQ(zov::xml::ElementDepth(many + "</r>"), 2);
}

}  // namespace
