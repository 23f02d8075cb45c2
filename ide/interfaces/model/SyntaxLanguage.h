#pragma once
// The languages the editor colours by: one record per section of a ".stx" syntax file, its
// markers and its keywords. The set of interfaces owns the list (see InterfaceSet); this unit
// holds the record and the reader of the file format.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zov::interfaces {

struct SyntaxLanguage {
    std::string name;
    std::string type;  // read and kept; nothing acts on it
    // In file order; a keyword is compared whole and case-sensitively, so "end " (trailing
    // blank) never matches a word.
    std::vector<std::string> keywords;
    // The first character of each "#string" value, 0 for none (code points: the file is
    // decoded before it is read).
    char32_t stringDelimiter1 = 0;
    char32_t stringDelimiter2 = 0;
    std::string lineComment;
    std::string blockCommentStart;
    std::string blockCommentEnd;

    void AddKeyword(std::string keyword);
    bool HasKeyword(std::string_view word) const { return keywordIndex_.contains(word); }

private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    std::unordered_set<std::string, Hash, std::equal_to<>> keywordIndex_;
};

using SyntaxLanguageList = std::vector<std::unique_ptr<SyntaxLanguage>>;

// Appends the sections of one syntax file's text (UTF-8, or Windows-1252 when it is not valid
// UTF-8). Lines before the first section header belong to no language; nothing is ever refused.
void ParseSyntaxText(std::string_view bytes, SyntaxLanguageList& languages);

// The files a pattern such as "/opt/zov/*.stx" names, in the order they are read: the folder's
// "zov.stx" first (when it exists), then the other matches sorted by name.
std::vector<std::string> SyntaxFilesInOrder(const std::string& pattern);

}  // namespace zov::interfaces
