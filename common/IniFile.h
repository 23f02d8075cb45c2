// Settings files with the semantics of the Windows profile functions, which the settings
// files of every program rely on: "[section]" headers and "key=value" lines, section and key
// names matched without regard to case, values trimmed and stripped of one pair of enclosing
// quotes on read, a write that changes only the line concerned, nothing cached between calls.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov {

// One settings text in memory, line by line, so that an update rewrites only the line it
// changes and keeps every other byte (comments, blank lines, spacing, line ends) as it was.
// Works on UTF-8 text; IniFile decodes the file before handing it over.
class IniDocument {
public:
    explicit IniDocument(std::string_view text = {});

    // The value of the first matching key in the first matching section, trimmed and with one
    // pair of enclosing double or single quotes removed; nothing when the key is absent.
    // A line without '=' is a key with an empty value, as the profile functions read it.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Replaces the value in place, or adds "key=value" after the last non-blank line of the
    // section, or adds the section at the end of the text. A value that a read would alter
    // (outer blanks, enclosing quotes) is written between double quotes so that it reads back
    // as given. Refuses (false, text unchanged) names and values that would break the line
    // structure: line ends anywhere, an empty key, '=' in a key or a key that opens with '[',
    // ']' in a section name.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Remove one key line, or a whole section (header and lines up to the next header).
    // False when there was nothing to remove.
    bool RemoveKey(std::string_view section, std::string_view key);
    bool RemoveSection(std::string_view section);

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

    std::string Text() const;

private:
    struct Line {
        std::string text;
        std::string end;  // "\r\n", "\n", "\r" or "" for a last line without an end
    };
    struct Parsed {
        enum class Kind { Other, Header, Key } kind = Kind::Other;
        std::string name;       // section name or key name, trimmed
        size_t valueStart = 0;  // Key: index in the line's text where the value begins
        bool hasEquals = false;
    };

    static Parsed ParseLine(std::string_view text);
    // [first line after the header, one past the last line) of the first matching section.
    std::optional<std::pair<size_t, size_t>> FindSection(std::string_view section) const;
    std::optional<size_t> FindKey(size_t first, size_t last, std::string_view key) const;
    void EnsureLastLineEnded();

    std::string bom_;
    std::vector<Line> lines_;
    std::string newLine_ = "\n";
};

// A settings file on disk. Every call reads the file afresh (another program may have changed
// it); every write goes to a temporary file in the same folder, renamed over the old one once
// completely written, so that a crash never leaves half a file. The text is read character by
// character: valid UTF-8 sequences as UTF-8, every other byte as its Windows-1252 character, so
// that a file holding both (lines written here beside lines written by a Windows program) keeps
// every character; a write then stores the whole file in UTF-8.
class IniFile {
public:
    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& Path() const { return path_; }

    std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue = {}) const;
    // An absent or empty value gives the default; otherwise the leading decimal number of the
    // value (optional sign, wrapping like a 32-bit integer), 0 when it does not start with one.
    int GetInt(std::string_view section, std::string_view key, int defaultValue) const;

    // False when the names or the value are refused (see IniDocument::Set) or the file cannot be
    // read or written; the file is then unchanged. A missing file is created, its folder is not.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value) const;
    bool WriteInt(std::string_view section, std::string_view key, int value) const;
    bool DeleteKey(std::string_view section, std::string_view key) const;
    bool DeleteSection(std::string_view section) const;

    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    // Nothing when something is at the path that cannot be read (a folder, a file without read
    // permission, a read error): a write must then leave it alone instead of replacing it with a file
    // that holds only the key it sets. A missing file is an empty document.
    std::optional<IniDocument> Load() const;
    bool Store(const IniDocument& document) const;

    std::filesystem::path path_;
};

// The leading decimal number of a text as GetInt reads it (exposed for the fuzz target and tests).
int ParseProfileInt(std::string_view text, int defaultValue);

}  // namespace zov
