// Find in the buffer: whole word and case rules, both directions, block limits and one wrap.
#include "ide/editor/model/TextSearch.h"
#include "tests/editor/BufferTestSupport.h"

using namespace zov::editor;
using zov::editor::test::Fill;

namespace {

struct Case {
    const char16_t* what;
    TextPosition start;
    unsigned flags;
    bool wrap;
    bool found;
    TextPosition at;
};

void Check(const CTextBuffer& buffer, const Case& c)
{
    TextPosition at{-9, -9};
    const bool found = FindText(buffer, QStringView(c.what), c.start, c.flags, c.wrap, at);
    EXPECT_EQ(found, c.found);
    if (c.found && found) {
        EXPECT_EQ(at, c.at);
    }
}

}  // namespace

TEST(TextSearch, WholeWordAndCaseRules)
{
    CTextBuffer buffer;
    Fill(buffer, "ab_c ab\r\nxabc ABC");
    const Case cases[] = {
        {u"ab", {0, 0}, Find_WholeWord, false, true, {5, 0}},  // ab_c is not the word ab
        {u"ab", {0, 0}, 0, false, true, {0, 0}},
        {u"ABC", {0, 0}, 0, false, true, {1, 1}},  // without match case
        {u"ABC", {0, 0}, Find_MatchCase, false, true, {5, 1}},
        {u"abc", {0, 0}, Find_MatchCase | Find_WholeWord, false, false, {}},
        {u"abc", {0, 0}, Find_WholeWord, false, true, {5, 1}},
        {u"", {0, 0}, 0, true, false, {}},
        {u"c\r\nx", {0, 0}, 0, true, false, {}},  // never across a line end
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.what).toStdString() + " flags " + std::to_string(c.flags));
        Check(buffer, c);
    }
}

TEST(TextSearch, DirectionsAndOneWrap)
{
    CTextBuffer buffer;
    Fill(buffer, "x.x.x\r\n..\r\nx");
    const Case cases[] = {
        {u"x", {0, 0}, 0, false, true, {0, 0}},  // a match may begin at the start
        {u"x", {1, 0}, 0, false, true, {2, 0}},       {u"x", {5, 0}, 0, false, true, {0, 2}},
        {u"x", {1, 2}, 0, false, false, {}},          {u"x", {1, 2}, 0, true, true, {0, 0}},  // wrapped
        {u"x", {4, 0}, Find_Up, false, true, {2, 0}},  // the nearest before the start
        {u"x", {2, 0}, Find_Up, false, true, {0, 0}}, {u"x", {0, 0}, Find_Up, false, false, {}},
        {u"x", {0, 0}, Find_Up, true, true, {0, 2}},  // wrapped to the end
        {u"x", {1, 1}, Find_Up, false, true, {4, 0}}, {u"x", {1, 2}, Find_Up, false, true, {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.start.charIndex) + "," + std::to_string(c.start.line) + " flags " +
                     std::to_string(c.flags));
        Check(buffer, c);
    }
}

TEST(TextSearch, WrapOnALineOfItsOwnFindsTheOnlyMatchAgain)
{
    CTextBuffer buffer;
    Fill(buffer, "abc abc");
    TextPosition at;
    ASSERT_TRUE(FindText(buffer, u"abc", {5, 0}, 0, true, at));
    EXPECT_EQ(at, (TextPosition{0, 0}));
    ASSERT_TRUE(FindText(buffer, u"abc", {1, 0}, Find_Up, true, at));
    EXPECT_EQ(at, (TextPosition{0, 0}));
    ASSERT_TRUE(FindText(buffer, u"abc", {0, 0}, Find_Up, true, at));
    EXPECT_EQ(at, (TextPosition{4, 0}));
}

TEST(TextSearch, BlockLimitsTheMatches)
{
    CTextBuffer buffer;
    Fill(buffer, "ab ab\r\nab ab\r\nab ab");
    TextPosition at;
    // Block from (3, 0) to (4, 2): the match at (3, 2) would end past it.
    ASSERT_TRUE(FindTextInBlock(buffer, u"ab", {0, 0}, {3, 0}, {4, 2}, 0, false, at));
    EXPECT_EQ(at, (TextPosition{3, 0}));
    ASSERT_TRUE(FindTextInBlock(buffer, u"ab", {4, 1}, {3, 0}, {4, 2}, 0, false, at));
    EXPECT_EQ(at, (TextPosition{0, 2}));
    ASSERT_TRUE(FindTextInBlock(buffer, u"ab", {1, 2}, {3, 0}, {4, 2}, 0, true, at));
    EXPECT_EQ(at, (TextPosition{3, 0}));
    ASSERT_TRUE(FindTextInBlock(buffer, u"ab", {9, 9}, {3, 0}, {4, 2}, Find_Up, false, at));
    EXPECT_EQ(at, (TextPosition{0, 2}));
    EXPECT_FALSE(FindTextInBlock(buffer, u"ab", {0, 0}, {4, 2}, {3, 0}, 0, true, at));  // reversed block
}

TEST(TextSearch, InLineRejectedWholeWordOccurrenceResumesAfterItsFirstCharacter)
{
    EXPECT_EQ(FindInLine(u"aaa aa", u"aa", 0, 100, 100, Find_WholeWord), 4);
    EXPECT_EQ(FindInLine(u"aaa aa", u"aa", 0, 100, 100, Find_WholeWord | Find_Up), 4);
    EXPECT_EQ(FindInLine(u"aaa aa", u"aa", 0, 100, 100, Find_Up), 4);
    EXPECT_EQ(FindInLine(u"aaa aa", u"aa", 0, 4, 100, Find_Up), 1);
    EXPECT_EQ(FindInLine(u"aaa aa", u"aa", 0, 100, 5, 0), 0);
    EXPECT_EQ(FindInLine(u"été", u"ÉTÉ", 0, 100, 100, 0), 0);
}

TEST(TextSearch, WordCharacters)
{
    for (QChar c : QString("azAZ09_")) {
        EXPECT_TRUE(IsWordChar(c)) << int(c.unicode());
    }
    for (QChar c : QString(" .-\t\"(é")) {
        EXPECT_FALSE(IsWordChar(c)) << int(c.unicode());
    }
}
