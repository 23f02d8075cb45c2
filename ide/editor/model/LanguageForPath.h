#pragma once
// Which kind of document a file opens as, and which syntax language colours it: decided once,
// from the path, when the document is opened.

#include <string_view>

namespace zov::interfaces {
class InterfaceSet;
struct SyntaxLanguage;
}  // namespace zov::interfaces

namespace zov::editor {

enum DocumentKind : int {
    DocumentKind_Script = 1,  // ".qzs"
    DocumentKind_Macro = 2,   // ".qzm", a macro body written to the temporary folder
    DocumentKind_Text = 3,    // ".qzr" or ".txt": a result or description text
    DocumentKind_Other = 4,   // coloured by the language its extension names
};

struct DocumentLanguage {
    DocumentKind kind = DocumentKind_Other;
    // The language to colour with; none for texts, and none for a script or macro when the
    // "qzs" language is missing (the view keeps its default markers).
    const interfaces::SyntaxLanguage* language = nullptr;
    // A file of another kind whose extension names no language is not opened.
    bool refused = false;
};

// The path is searched as a whole, case-sensitively, for ".qzs", ".qzm", ".qzr" and ".txt" in
// that order; any other file is coloured by the language named after its file name's extension.
DocumentLanguage LanguageForPath(std::string_view path, const interfaces::InterfaceSet& languages);

}  // namespace zov::editor
