// The nesting scan that guards the parser's recursion: it must never find less depth than the
// parser then builds, and markup inside comments, CDATA, quotes and declarations must not count.
#include "XmlDepth.h"

#include <tinyxml.h>

#include <gtest/gtest.h>

#include <algorithm>
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
};

class ElementDepthTest : public testing::TestWithParam<DepthCase> {};

TEST_P(ElementDepthTest, FollowsTheParser)
{
    const DepthCase& c = GetParam();
    const std::optional<int> depth = pirrow::ElementDepth(c.text);
    EXPECT_EQ(depth, c.depth);
    TiXmlDocument document;
    document.Parse(c.text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (depth) {
        EXPECT_EQ(TreeDepth(&document), *depth);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElementDepthTest,
    testing::Values(
        DepthCase{"Flat", "<a/>", 1},
        DepthCase{"Nested", "<a><b/><c><d>x</d></c></a>", 3},
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
        DepthCase{"UnclosedCommentEndsTheScan", "<a><b><!-- <c><d><e>", 2}),
    [](const testing::TestParamInfo<DepthCase>& param) { return param.param.name; });

TEST(ElementDepth, LongFlatDocumentsAreShallow)
{
    std::string text = "<r>";
    for (int i = 0; i < 100000; ++i) {
        text += "<item id=\"1\">v</item>";
    }
    text += "</r>";
    EXPECT_EQ(pirrow::ElementDepth(text), 2);
}

} // namespace
