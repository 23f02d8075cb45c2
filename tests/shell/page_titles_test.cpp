#include "ide/shell/core/PageTitles.h"

#include <gtest/gtest.h>

namespace zov::shell {
namespace {

TEST(PageTitles, SplitsAtTheFirstUnescapedDoubleColon)
{
    const struct {
        const char* title;
        const char* head;
        const char* rest;  // nullptr: a leaf
    } cases[] = {
        {"Générale", "Générale", nullptr},
        {"A::x", "A", "x"},
        {"A::B::x", "A", "B::x"},
        {R"(a\::b)", "a::b", nullptr},
        {R"(a\\::b)", R"(a\)", "b"},
        {R"(a\\\::b)", R"(a\::b)", nullptr},
        {R"(\\)", R"(\)", nullptr},
        {R"(x\y)", R"(x\y)", nullptr},
        {"::x", "", "x"},
        {"A::", "A", ""},
        {"a:b", "a:b", nullptr},
        {"", "", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        const PageTitleSplit split = SplitPageTitle(c.title);
        EXPECT_EQ(split.head, c.head);
        if (c.rest == nullptr)
            EXPECT_FALSE(split.rest.has_value());
        else
            EXPECT_EQ(split.rest, std::optional<std::string>(c.rest));
    }
}

TEST(PageTitles, PathUnescapesEveryName)
{
    EXPECT_EQ(PageTitlePath(R"(A::b\::c::d)"), (std::vector<std::string>{"A", "b::c", "d"}));
    EXPECT_EQ(PageTitlePath("Traces"), (std::vector<std::string>{"Traces"}));
}

}  // namespace
}  // namespace zov::shell
