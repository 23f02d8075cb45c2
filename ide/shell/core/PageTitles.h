#pragma once
// Titles of the pages of a tree property sheet describe where a page sits in the tree: "A::x"
// places page "x" under a node "A". A "::" that belongs to a name is written "\::", and a
// backslash before it "\\".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::shell {

struct PageTitleSplit {
    std::string head;                 // the first name, unescaped
    std::optional<std::string> rest;  // what follows the first "::" that is not escaped, as written
};

// Splits at the first "::" preceded by an even number of backslashes.
PageTitleSplit SplitPageTitle(std::string_view title);

// Every name of the title's path, unescaped: "A::b\::c" gives "A", "b::c".
std::vector<std::string> PageTitlePath(std::string_view title);

}  // namespace zov::shell
