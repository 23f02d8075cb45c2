#include "common/TextCodec.h"

#include <gtest/gtest.h>

namespace {

using zov::DecodeText;
using zov::FitsWindows1252;
using zov::IsValidUtf8;
using zov::Utf8ToWindows1252;
using zov::Windows1252ToUtf8;

TEST(TextCodec, Utf8Validity)
{
    struct Case {
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"plain ascii", true},
        {"Pr\xC3\xA9"
         "f\xC3\xA9rences",
         true},
        {"\xE2\x82\xAC", true},       // euro sign
        {"\xF0\x9F\x98\x80", true},   // beyond the basic plane
        {"\xE9t\xE9", false},         // Windows-1252 accents
        {"\xC3", false},              // truncated sequence
        {"\xC0\xAF", false},          // overlong '/'
        {"\xE0\x80\xAF", false},      // overlong, three bytes
        {"\xED\xA0\x80", false},      // surrogate
        {"\xF4\x90\x80\x80", false},  // above U+10FFFF
        {"\x80", false},              // lone continuation byte
        {"\xC3\xA9\xFF", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
    }
}

TEST(TextCodec, DecodesValidUtf8Unchanged)
{
    const std::string text = "Probl\xC3\xA8me \xE2\x82\xAC";
    EXPECT_EQ(DecodeText(text), text);
}

TEST(TextCodec, DecodesEverythingElseAsWindows1252)
{
    EXPECT_EQ(DecodeText("Pr\xE9"
                         "f\xE9rences"),
              "Pr\xC3\xA9"
              "f\xC3\xA9rences");
    EXPECT_EQ(DecodeText("\x80 \x9C \xFF"), "\xE2\x82\xAC \xC5\x93 \xC3\xBF");
    // One foreign byte makes the whole text Windows-1252, valid-looking pairs included.
    EXPECT_EQ(DecodeText("\xC3\xA9\xE9"), "\xC3\x83\xC2\xA9\xC3\xA9");
}

TEST(TextCodec, UndefinedWindows1252BytesAreKept)
{
    const std::string decoded = Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D");
    EXPECT_TRUE(IsValidUtf8(decoded));
    EXPECT_EQ(Utf8ToWindows1252(decoded), "\x81\x8D\x8F\x90\x9D");
}

TEST(TextCodec, EveryByteRoundTripsThroughWindows1252)
{
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::string decoded = Windows1252ToUtf8(all);
    ASSERT_TRUE(IsValidUtf8(decoded));
    EXPECT_TRUE(FitsWindows1252(decoded));
    EXPECT_EQ(Utf8ToWindows1252(decoded), all);
}

TEST(TextCodec, CharactersOutsideWindows1252AreReplaced)
{
    EXPECT_EQ(Utf8ToWindows1252("a\xE2\x88\x9E"
                                "b"),
              "a?b");  // infinity sign
    EXPECT_EQ(Utf8ToWindows1252("\xF0\x9F\x98\x80", '_'), "_");
    EXPECT_EQ(Utf8ToWindows1252("x\xC3"), "x?");  // broken input never crashes
    EXPECT_FALSE(FitsWindows1252("\xE2\x88\x9E"));
    EXPECT_TRUE(FitsWindows1252("\xC3\xA9\xE2\x82\xAC"));
}

TEST(TextCodec, CharacterByCharacterKeepsValidSequencesBesideStrayBytes)
{
    // "é" in UTF-8, a stray 0xE9 (é in Windows-1252), a cut sequence, the euro sign in both forms.
    const std::string text =
        "\xC3\xA9\xE9\xE2\x82"
        "a\xE2\x82\xAC\x80";
    const char32_t expected[] = {0xE9, 0xE9, 0xE2, 0x201A, 'a', 0x20AC, 0x20AC};
    size_t pos = 0;
    std::string again;
    for (const char32_t code : expected) {
        ASSERT_LT(pos, text.size());
        EXPECT_EQ(zov::NextChar(text, pos), code);
        zov::AppendUtf8(again, code);
    }
    EXPECT_EQ(pos, text.size());
    EXPECT_EQ(again,
              "\xC3\xA9\xC3\xA9\xC3\xA2\xE2\x80\x9A"
              "a\xE2\x82\xAC\xE2\x82\xAC");
    EXPECT_EQ(zov::Windows1252Char(0x81), char32_t{0x81});
    EXPECT_EQ(zov::Windows1252Char(0x9F), char32_t{0x178});
}

}  // namespace
