#include "ide/shell/core/DocumentRules.h"

namespace zov::shell {

std::string_view BaseFileName(std::string_view path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ContainingFolder(std::string_view path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash);
}

std::string_view FileExtension(std::string_view path)
{
    const std::string_view name = BaseFileName(path);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(dot + 1);
}

std::string TitleWithModified(std::string_view title, bool modified)
{
    const bool marked = !title.empty() && title.front() == '*';
    if (modified && !marked)
        return "*" + std::string(title);
    if (!modified && marked)
        return std::string(title.substr(1));
    return std::string(title);
}

bool IsMacroDocument(std::string_view path)
{
    return FileExtension(path) == "qzm";
}

bool CanSaveDocument(std::string_view path)
{
    return !path.empty();
}

bool CanSaveDocumentAs(std::string_view path)
{
    return !IsMacroDocument(path);
}

}  // namespace zov::shell
