#pragma once
// The language table: the French texts of the IDE and their translations, read from a language
// file ("*.lgn" in the program folder), and the language's help file, tips file and name.
// Language file, one entry a line, lines trimmed:
//   ; comment
//   $HELP = ZOV_en.chm          special values $HELP, $TIPS, $LANGUAGE (name in any case)
//   Fichier = File              key = text; "\t" stands for a TAB in both; a later "=" is text

#include "ide/shell/core/Translate.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zov::shell {

class LanguageTable {
public:
    // Replaces the entries by those of the file. False when it cannot be read: the table is then
    // left as it was. Lines of any length; UTF-8 and Windows-1252 characters both read.
    bool LoadLanguageFile(const std::filesystem::path& path);
    // The same from the file's bytes.
    void LoadText(std::string_view bytes);

    // The translation of a text: the text trimmed is the key; a text whose only ":" ends it is
    // looked up without it and translated with " :" after it. A text without translation (or
    // whose translation is empty) is given back as it came, untrimmed.
    std::string Lookup(std::string_view text) const;

    // CRC-32 (the reflected polynomial 0xEDB88320) of the key's UTF-8 bytes.
    static std::uint32_t HashKey(std::string_view key);

    std::size_t EntryCount() const { return entries_.size(); }
    const std::string& HelpFile() const { return helpFile_; }
    const std::string& TipsFile() const { return tipsFile_; }
    const std::string& LanguageName() const { return languageName_; }

private:
    struct Entry {
        std::string key;
        std::string text;
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return HashKey(key); }
    };
    struct KeyEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const { return a == b; }
    };

    void ReadLine(std::string_view line);

    std::vector<Entry> entries_;  // file order, duplicates kept
    // Key to the first entry with a translation: a later duplicate never hides it.
    std::unordered_map<std::string, std::size_t, KeyHash, KeyEqual> index_;
    std::string helpFile_;
    std::string tipsFile_;
    std::string languageName_;
};

// The text in the user's language: through the table when there is one and the text is not
// empty, else the text itself.
std::string TranslateText(const LanguageTable* table, std::string_view text);

// The translation seam for the headless cores; the table must outlive the function object.
Translate TranslateWith(const LanguageTable* table);

}  // namespace zov::shell
