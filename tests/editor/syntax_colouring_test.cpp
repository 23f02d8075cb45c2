// Colouring one line: the effective colour of every character and the cookie handed on, for the
// script language's markers and for languages with block comments, two-character comments and
// two string delimiters; number literals; word characters.
#include "ide/editor/model/SyntaxColouring.h"
#include "tests/editor/SyntaxTestSupport.h"

#include <gtest/gtest.h>

namespace zov::editor {
namespace {

using test::ColourDigits;
using test::Language;

struct Case {
    const char* line;  // UTF-8
    std::uint32_t cookieIn;
    const char* colours;  // one hex digit per character
    std::uint32_t cookieOut;
};

void Check(const SyntaxColourer& colourer, const Case& c)
{
    const QString line = QString::fromUtf8(c.line);
    std::vector<ColourBlock> blocks;
    const std::uint32_t out = colourer.ColourLine(line, c.cookieIn, &blocks);
    EXPECT_EQ(ColourDigits(blocks, static_cast<int>(line.size())), c.colours) << c.line;
    EXPECT_EQ(out, c.cookieOut) << c.line;
    // The cookie-only pass of the lines above the visible ones must agree.
    EXPECT_EQ(colourer.ColourLine(line, c.cookieIn, nullptr), c.cookieOut) << c.line;
    for (std::size_t b = 1; b < blocks.size(); ++b)
        EXPECT_LE(blocks[b - 1].charIndex, blocks[b].charIndex) << c.line;
    EXPECT_LE(blocks.size(), static_cast<std::size_t>(3 * line.size() + 1)) << c.line;
}

TEST(ColourLine, ScriptLanguage)
{
    test::NamedSet names;
    const auto qzs = Language("[qzs]\n#comment=;\n#string=\"\nfor\nend\nif\n");
    const SyntaxColourer colourer(MarkersForLanguage(qzs.get()), &names.Set());
    const Case cases[] = {
        {"for x", 0, "66622", 0},
        {"for;end", 0, "666bbbb", 0},  // a keyword right before the comment marker
        {"Trace(\"a;b\") ; c", 0, "777772eeeee22bbb", 0},
        {"\"a\\\"b\" x", 0, "eeeeee22", 0},  // an escaped quote stays in the string
        {"\"abc\\", 0, "eeeee", Cookie_String},
        {"\"abc", 0, "eeee", 0},
        {"def\" for", Cookie_String, "eeee2666", 0},
        {"\"x", Cookie_String, "e2", 0},  // a quote at the start is never escaped
        {"", Cookie_String | Cookie_LineComment | Cookie_BlockComment, "", Cookie_BlockComment},
        {"", Cookie_String, "", 0},
        {"; note \\", 0, "bbbbbbbb", Cookie_LineComment},
        {"for", Cookie_LineComment, "bbb", 0},
        {"for \\", Cookie_LineComment, "bbbbb", Cookie_LineComment},
        {"  Greet  ", 0, "22aaaaa22", 0},
        {"Greet x", 0, "aaaaa22", 0},
        {"MAXV Cli1 0x1F 12a -5", 0, "9999288882cccc222222c", 0},
        {"x.for _for FOR for2", 0, "2222222222222222222", 0},
        {"\xC3\xA9t\xC3\xA9 for", 0, "2222666", 0},  // accented letters belong to words
        {"if(x)then", 0, "662222222", 0},
        {"/* for */", 0, "222666222", 0},  // no block comments in this language
    };
    for (const Case& c : cases)
        Check(colourer, c);
}

TEST(ColourLine, BlockCommentsTwoCharacterCommentAndTwoDelimiters)
{
    const auto c = Language("[c]\n#comment=//\n#string=\"\n#string='\n#comment_s=/*\n#comment_e=*/\nend\n");
    const SyntaxColourer colourer(MarkersForLanguage(c.get()));
    const Case cases[] = {
        {"/**/ foo", 0, "bbbb2222", 0},
        {"a /* b", 0, "22bbbb", Cookie_BlockComment},
        {"x */ end", Cookie_BlockComment, "bbbb2666", 0},
        {"", Cookie_BlockComment, "", Cookie_BlockComment},
        {"still", Cookie_BlockComment, "bbbbb", Cookie_BlockComment},
        {"end/*x*/end", 0, "666bbbbb666", 0},
        {"end//x", 0, "666bbb", 0},
        {"a/b", 0, "222", 0},
        {"'a\" end", 0, "eee2666", 0},     // either delimiter closes the string
        {"\"/*\" end", 0, "eeee2666", 0},  // a start marker inside a string is text
        {"end\"x", 0, "666ee", 0},
        {"/* \\", 0, "bbbb", Cookie_BlockComment},
    };
    for (const Case& cs : cases)
        Check(colourer, cs);
}

TEST(ColourLine, LanguageWithoutDelimitersOrComment)
{
    const auto bare = Language("[bare]\nfor\n");
    const SyntaxColourer colourer(MarkersForLanguage(bare.get()));
    EXPECT_TRUE(colourer.Markers().lineComment.isEmpty());
    EXPECT_TRUE(colourer.Markers().commentChar.isNull());
    Check(colourer, {"\"for\" ;x", 0, "26662222", 0});
    // A NUL character is no delimiter when the language has none.
    const QString withNul = QStringLiteral("a") + QChar(0) + QStringLiteral("for");
    std::vector<ColourBlock> blocks;
    EXPECT_EQ(colourer.ColourLine(withNul, 0, &blocks), 0U);
    EXPECT_EQ(ColourDigits(blocks, static_cast<int>(withNul.size())), "22666");
}

TEST(ColourLine, DefaultMarkersWithoutLanguage)
{
    const SyntaxColourer colourer;
    EXPECT_EQ(colourer.Markers().lineComment, ";");
    EXPECT_EQ(colourer.Markers().stringDelimiter1, u'"');
    EXPECT_TRUE(colourer.Markers().commentChar.isNull());
    const Case cases[] = {
        {"for 12 \"s\" ; c", 0, "2222cc2eee2bbb", 0},
    };
    for (const Case& c : cases)
        Check(colourer, c);
    const auto qzs = Language("[qzs]\n#comment=;\n");
    EXPECT_EQ(MarkersForLanguage(qzs.get()).commentChar, u';');
}

TEST(IsNumber, Literals)
{
    struct NumberCase {
        const char* text;
        bool number;
    };
    const NumberCase cases[] = {
        {"0x1F", true}, {"0xff", true}, {"0b101", true}, {"0o17", true}, {"0d9zz", true}, {"7", true},
        {"1.5", true},  {"1e-5", true}, {"0", true},     {"00", true},   {"0e1", true},   {"0x1G", false},
        {"0b2", false}, {"0o8", false}, {"12a", false},  {"0x", false},  {"-5", false},   {"", false},
        {"0dz", false}, {"x1", false},  {"0X1F", false}, {"1_0", false},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(IsNumber(QString::fromUtf8(c.text)), c.number) << c.text;
}

TEST(WordChars, UnicodeLettersDigitsUnderscoreAndPoint)
{
    for (const char16_t c : {u'a', u'Z', u'9', u'_', u'.', u'\u00e9', u'\u00c7', u'\u0416', u'\u0663'})
        EXPECT_TRUE(IsColourWordChar(QChar(c))) << int(c);
    for (const char16_t c : {u' ', u'\t', u'-', u'(', u'"', u';', u'\\', u'\u00a0', u'\u00a7'})
        EXPECT_FALSE(IsColourWordChar(QChar(c))) << int(c);
}

TEST(MacroCallName, WholeTrimmedLineOnly)
{
    test::NamedSet names;
    const SyntaxColourer colourer({}, &names.Set());
    EXPECT_EQ(colourer.MacroCallName(u"Greet"), "Greet");
    EXPECT_EQ(colourer.MacroCallName(u" \tGreet \t"), "Greet");
    EXPECT_EQ(colourer.MacroCallName(u"Greet x"), "");
    EXPECT_EQ(colourer.MacroCallName(u"greet"), "");
    EXPECT_EQ(colourer.MacroCallName(u"Trace"), "");
    EXPECT_EQ(colourer.MacroCallName(u""), "");
    EXPECT_EQ(SyntaxColourer().MacroCallName(u"Greet"), "");
}

}  // namespace
}  // namespace zov::editor
