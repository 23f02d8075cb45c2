#include "ide/shell/core/RecentLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zov::shell {
namespace {

using Paths = std::vector<std::string>;

RecentList Filled(const Paths& paths)
{
    RecentList list;
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        list.Add(*it);
    return list;
}

TEST(RecentList, AddKeepsMostRecentFirstWithoutDuplicates)
{
    struct Case {
        const char* name;
        Paths before;
        std::string added;
        Paths after;
    };
    const Case cases[] = {
        {"empty list", {}, "/p/a.qzp", {"/p/a.qzp"}},
        {"absent, room left", {"/b", "/c"}, "/a", {"/a", "/b", "/c"}},
        {"found in the middle moves to the front", {"/a", "/b", "/c"}, "/b", {"/b", "/a", "/c"}},
        {"found last of a full list", {"/1", "/2", "/3", "/4", "/5"}, "/5", {"/5", "/1", "/2", "/3", "/4"}},
        {"absent from a full list drops the oldest",
         {"/1", "/2", "/3", "/4", "/5"},
         "/6",
         {"/6", "/1", "/2", "/3", "/4"}},
        {"case counts", {"/P/a.qzp"}, "/p/a.qzp", {"/p/a.qzp", "/P/a.qzp"}},
        {"already first", {"/a", "/b"}, "/a", {"/a", "/b"}},
    };
    for (const Case& c : cases) {
        RecentList list = Filled(c.before);
        ASSERT_EQ(list.Entries(), c.before) << c.name;
        list.Add(c.added);
        EXPECT_EQ(list.Entries(), c.after) << c.name;
    }
}

}  // namespace
}  // namespace zov::shell
