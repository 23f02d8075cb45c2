#include "common/AsciiCase.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

// Bytes of UTF-8 and Windows-1252 letters are never folded, whatever the locale.
TEST(AsciiCase, OnlyAsciiLettersFold)
{
    EXPECT_EQ(ToLowerAscii("SetBKP -LINE \xC9"), "setbkp -line \xC9");
    EXPECT_EQ(ToLowerAscii("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89");
    EXPECT_EQ(ToUpperAscii("quarnel_\xC3\xA9tat z{"), "QUARNEL_\xC3\xA9TAT Z{");
    EXPECT_TRUE(EqualsIgnoringAsciiCase("Preferences", "PREFERENCES"));
    EXPECT_FALSE(EqualsIgnoringAsciiCase("\xC9t\xE9", "\xE9t\xE9"));
    EXPECT_TRUE(StartsWithIgnoringAsciiCase("CLI quarnel", "cli "));
    EXPECT_FALSE(StartsWithIgnoringAsciiCase("CL", "cli"));
}

}  // namespace
}  // namespace zov
