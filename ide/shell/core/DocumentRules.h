#pragma once
// What the script document decides from its file name alone: its kind and syntax language, its
// title while modified, which save commands it allows and what its close must remove.

#include <string>
#include <string_view>

namespace zov::shell {

enum class DocumentKind {
    None = 0,     // not opened
    Script = 1,   // ".qzs"
    Macro = 2,    // ".qzm", a macro body written to the temporary folder
    Text = 3,     // ".qzr" result or ".txt" description
    Other = 4,    // another syntax language, named by the extension
    Project = 5,  // ".qzp": opens the project instead of a text
};

struct DocumentType {
    DocumentKind kind = DocumentKind::None;
    std::string language;  // syntax language name, "" for none
};

// By the file's own extension (after the last "." of the last path element), compared exactly.
// `hasLanguage` tells whether a syntax language of that name exists; an unknown extension, or
// none at all, gives DocumentKind::None.
template <typename HasLanguage>
DocumentType DocumentTypeOf(std::string_view path, HasLanguage&& hasLanguage);

// The extension of the file name ("" when it has none): the text after the last "." of the
// part after the last "/" or "\".
std::string_view FileExtension(std::string_view path);

// The text after the last "/" or "\" (the whole path when it has neither).
std::string_view BaseFileName(std::string_view path);

// The folder of a file, the path up to (not including) its last "/" or "\"; "" without one.
std::string_view ContainingFolder(std::string_view path);

// A modified document's title carries one leading "*".
std::string TitleWithModified(std::string_view title, bool modified);

// Save needs a path; save-as is refused for a macro body, whose file lives in the temporary
// folder under a name the frame chose.
bool CanSaveDocument(std::string_view path);
bool CanSaveDocumentAs(std::string_view path);

// A macro body's file is deleted when its document closes.
bool IsMacroDocument(std::string_view path);

template <typename HasLanguage>
DocumentType DocumentTypeOf(std::string_view path, HasLanguage&& hasLanguage)
{
    const std::string_view extension = FileExtension(path);
    if (extension == "qzs")
        return {DocumentKind::Script, "qzs"};
    if (extension == "qzm")
        return {DocumentKind::Macro, "qzs"};
    if (extension == "qzr" || extension == "txt")
        return {DocumentKind::Text, {}};
    if (extension == "qzp")
        return {DocumentKind::Project, {}};
    if (!extension.empty() && hasLanguage(extension))
        return {DocumentKind::Other, std::string(extension)};
    return {};
}

}  // namespace zov::shell
