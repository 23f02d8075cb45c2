#include "ide/shell/core/PageTitles.h"

namespace zov::shell {
namespace {

std::string UnescapeName(std::string_view text)
{
    std::string name;
    name.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            name += '\\';
            ++i;
        } else if (text.substr(i, 3) == "\\::") {
            name += "::";
            i += 2;
        } else {
            name += text[i];
        }
    }
    return name;
}

}  // namespace

PageTitleSplit SplitPageTitle(std::string_view title)
{
    std::size_t backslashes = 0;
    for (std::size_t i = 0; i + 1 < title.size(); ++i) {
        if (title[i] == ':' && title[i + 1] == ':' && backslashes % 2 == 0)
            return {UnescapeName(title.substr(0, i)), std::string(title.substr(i + 2))};
        backslashes = title[i] == '\\' ? backslashes + 1 : 0;
    }
    return {UnescapeName(title), std::nullopt};
}

std::vector<std::string> PageTitlePath(std::string_view title)
{
    std::vector<std::string> names;
    std::string remaining(title);
    for (;;) {
        PageTitleSplit split = SplitPageTitle(remaining);
        names.push_back(std::move(split.head));
        if (!split.rest)
            return names;
        remaining = std::move(*split.rest);
    }
}

}  // namespace zov::shell
