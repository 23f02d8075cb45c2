#include "common/MessageText.h"

#include <gtest/gtest.h>

namespace zov {
namespace {

// Only the first "%s" takes the value; the value itself is never read as a pattern.
TEST(MessageText, FillsTheFirstPlaceOnly)
{
    struct Case {
        const char* pattern;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"Impossible de charger le fichier:\n%s", "/a b/c.qzp", "Impossible de charger le fichier:\n/a b/c.qzp"},
        {"%s et %s", "x", "x et %s"},
        {"Sans place", "x", "Sans place"},
        {"%s", "100%s", "100%s"},
        {"fin %", "x", "fin %"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FillMessage(c.pattern, c.value), c.expected) << c.pattern;
    }
}

}  // namespace
}  // namespace zov
