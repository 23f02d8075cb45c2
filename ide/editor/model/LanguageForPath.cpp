#include "ide/editor/model/LanguageForPath.h"

#include "ide/interfaces/model/InterfaceSet.h"

namespace zov::editor {

DocumentLanguage LanguageForPath(std::string_view path, const interfaces::InterfaceSet& languages)
{
    const auto contains = [&](std::string_view text) { return path.find(text) != std::string_view::npos; };
    if (contains(".qzs"))
        return {DocumentKind_Script, languages.FindSyntaxLanguage("qzs"), false};
    if (contains(".qzm"))
        return {DocumentKind_Macro, languages.FindSyntaxLanguage("qzs"), false};
    if (contains(".qzr") || contains(".txt"))
        return {DocumentKind_Text, nullptr, false};
    // The extension of the file name: a point in a folder's name is no extension.
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    const interfaces::SyntaxLanguage* language =
        dot == std::string_view::npos ? nullptr : languages.FindSyntaxLanguage(name.substr(dot + 1));
    return {DocumentKind_Other, language, language == nullptr};
}

}  // namespace zov::editor
